// The form library's paint box with a UTF-16 hint shown in the wide hint window.
#pragma once

#include "platform/forms/TPaintBox.h"
#include "unicode/TUcControlMembers.h"

class TUcPaintBox : public TUcGraphicMembers<TPaintBox> {
 public:
  explicit TUcPaintBox(TComponent* owner) : TUcGraphicMembers(owner) {}
};
