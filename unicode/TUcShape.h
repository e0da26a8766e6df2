// The form library's shape with a UTF-16 hint shown in the wide hint window.
#pragma once

#include "platform/forms/TShape.h"
#include "unicode/TUcControlMembers.h"

class TUcShape : public TUcGraphicMembers<TShape> {
 public:
  explicit TUcShape(TComponent* owner) : TUcGraphicMembers(owner) {}
};
