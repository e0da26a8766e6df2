#include "unicode/TUcGroupButton.h"

#include "platform/forms/TApplication.h"
#include "unicode/TUcRadioGroup.h"

TUcGroupButton::TUcGroupButton(TUcCustomRadioGroup* group) : TUcRadioButton(group), group_(group) {
  group->buttons_.push_back(this);
  SetVisible(false);
  SetEnabled(group->Enabled());
  SetParentShowHint(false);
  OnClick = [group](TObject* sender) { group->ButtonClick(sender); };
  SetParent(group);
}

TUcGroupButton::~TUcGroupButton() { std::erase(group_->buttons_, this); }

void TUcGroupButton::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CN_COMMAND) {
    if (inClick_) return;
    inClick_ = true;
    try {
      const WORD code = HIWORD(m.WParam);
      if ((code == BN_CLICKED || code == BN_DOUBLECLICKED) && group_->CanModify())
        TUcRadioButton::Dispatch(message);
    } catch (...) {
      Application->HandleException(this);
    }
    inClick_ = false;
    return;
  }
  TUcRadioButton::Dispatch(message);
}

bool TUcGroupButton::KeyPress(char& key) {
  TUcRadioButton::KeyPress(key);
  group_->KeyPress(key);
  if ((key == '\b' || key == ' ') && !group_->CanModify()) key = 0;
  return key == 0;
}

bool TUcGroupButton::KeyDown(WORD& key, TShiftState shift) {
  bool handled = TUcRadioButton::KeyDown(key, shift);
  return group_->KeyDown(key, shift) || handled;
}
