// TCustomRadioGroup and TRadioGroup: the radio group with 8-bit items (see TCustomRadioGroupOf).
#pragma once

#include "platform/forms/TCustomRadioGroupOf.h"
#include "platform/forms/TGroupBox.h"
#include "platform/forms/TGroupButton.h"
#include "platform/rtl/TStringList.h"

// The items of a radio group; a layout lists them as Items.Strings.
class TRadioGroupStrings : public TStringList {
 public:
  void DefineProperties(TFiler* filer) override;
};

class TCustomRadioGroup
    : public TCustomRadioGroupOf<TCustomRadioGroup, TCustomGroupBox, TGroupButton, TRadioGroupStrings> {
 public:
  explicit TCustomRadioGroup(TComponent* owner) : TCustomRadioGroupOf(owner) {}
  ~TCustomRadioGroup() override { DeleteButtons(); }
  TStrings* Items() { return &items_; }
  void SetItems(TStrings* value) { items_.Assign(value); }
};

class TRadioGroup : public TCustomRadioGroup {
 public:
  explicit TRadioGroup(TComponent* owner) : TCustomRadioGroup(owner) {}
};
