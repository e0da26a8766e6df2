// The form library's bevel with a UTF-16 hint shown in the wide hint window.
#pragma once

#include "platform/forms/TBevel.h"
#include "unicode/TUcControlMembers.h"

class TUcBevel : public TUcGraphicMembers<TBevel> {
 public:
  explicit TUcBevel(TComponent* owner) : TUcGraphicMembers(owner) {}
};
