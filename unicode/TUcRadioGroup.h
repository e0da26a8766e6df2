// The radio group of the layer: a Unicode group box showing one Unicode radio button per item of
// its wide Items (see TCustomRadioGroupOf).
#pragma once

#include "platform/forms/TCustomRadioGroupOf.h"
#include "unicode/TUcGroupBox.h"
#include "unicode/TUcGroupButton.h"
#include "unicode/TUcStringList.h"

class TUcCustomRadioGroup
    : public TCustomRadioGroupOf<TUcCustomRadioGroup, TUcCustomGroupBox, TUcGroupButton, TUcStringList> {
 public:
  explicit TUcCustomRadioGroup(TComponent* owner) : TCustomRadioGroupOf(owner) {}
  ~TUcCustomRadioGroup() override { DeleteButtons(); }
  TUcStringList* Items() { return &items_; }
  void SetItems(TWideStrings* value) { items_.Assign(value); }
};

class TUcRadioGroup : public TUcCustomRadioGroup {
 public:
  explicit TUcRadioGroup(TComponent* owner) : TUcCustomRadioGroup(owner) {}
};
