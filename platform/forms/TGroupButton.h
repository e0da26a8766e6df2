// TGroupButton: one radio button of a radio group, made and placed by the group. Its click
// becomes the group's choice, but only when the group lets the choice change; its keys go on
// to the group.
#pragma once

#include "platform/forms/TRadioButton.h"

class TCustomRadioGroup;

class TGroupButton : public TRadioButton {
 public:
  explicit TGroupButton(TCustomRadioGroup* group);
  ~TGroupButton() override;
  void Dispatch(void* message) override;

 protected:
  bool KeyPress(char& key) override;
  bool KeyDown(WORD& key, TShiftState shift) override;

 private:
  TCustomRadioGroup* group_;
  bool inClick_ = false;
};
