// One Unicode radio button of a radio group of the layer (see TGroupButtonOf).
#pragma once

#include "platform/forms/TGroupButtonOf.h"
#include "unicode/TUcRadioButton.h"

class TUcCustomRadioGroup;

class TUcGroupButton : public TGroupButtonOf<TUcCustomRadioGroup, TUcRadioButton> {
 public:
  using TGroupButtonOf::TGroupButtonOf;
};
