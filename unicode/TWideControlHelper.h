// The wide shadows of one control: its UTF-16 caption and hint, valid while their 8-bit forms
// still equal the control's 8-bit text and hint. Made on first need, freed with the control.
#pragma once

#include "platform/forms/TControl.h"
#include "unicode/TWideComponentHelper.h"

class TWideControlHelper : public TWideComponentHelper {
 public:
  TWideControlHelper(TControl* control, TComponentList* list)
      : TWideComponentHelper(control, list), control_(control) {}
  TControl* Control() const { return control_; }
  WideString WideCaption;
  WideString WideHint;

 private:
  TControl* control_;
};
