// TGroupButton: one radio button of a radio group (see TGroupButtonOf).
#pragma once

#include "platform/forms/TGroupButtonOf.h"
#include "platform/forms/TRadioButton.h"

class TCustomRadioGroup;

class TGroupButton : public TGroupButtonOf<TCustomRadioGroup, TRadioButton> {
 public:
  using TGroupButtonOf::TGroupButtonOf;
};
