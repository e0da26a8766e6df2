// The form library's splitter with a UTF-16 hint shown in the wide hint window.
#pragma once

#include "platform/forms/TSplitter.h"
#include "unicode/TUcControlMembers.h"

class TUcSplitter : public TUcGraphicMembers<TSplitter> {
 public:
  explicit TUcSplitter(TComponent* owner) : TUcGraphicMembers(owner) {}
};
