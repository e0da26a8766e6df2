// One Unicode radio button of a radio group of the layer, made and placed by the group. Its
// click becomes the group's choice, but only when the group lets the choice change; its keys go
// on to the group.
#pragma once

#include "unicode/TUcRadioButton.h"

class TUcCustomRadioGroup;

class TUcGroupButton : public TUcRadioButton {
 public:
  explicit TUcGroupButton(TUcCustomRadioGroup* group);
  ~TUcGroupButton() override;
  void Dispatch(void* message) override;

 protected:
  bool KeyPress(char& key) override;
  bool KeyDown(WORD& key, TShiftState shift) override;

 private:
  TUcCustomRadioGroup* group_;
  bool inClick_ = false;
};
