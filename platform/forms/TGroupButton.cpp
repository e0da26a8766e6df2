#include "platform/forms/TGroupButton.h"

#include "platform/forms/TApplication.h"
#include "platform/forms/TRadioGroup.h"

TGroupButton::TGroupButton(TCustomRadioGroup* group) : TRadioButton(group), group_(group) {
  group->buttons_.push_back(this);
  SetVisible(false);
  SetEnabled(group->Enabled());
  SetParentShowHint(false);
  OnClick = [group](TObject* sender) { group->ButtonClick(sender); };
  SetParent(group);
}

TGroupButton::~TGroupButton() { std::erase(group_->buttons_, this); }

void TGroupButton::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CN_COMMAND) {
    if (inClick_) return;
    inClick_ = true;
    try {
      const WORD code = HIWORD(m.WParam);
      if ((code == BN_CLICKED || code == BN_DOUBLECLICKED) && group_->CanModify())
        TRadioButton::Dispatch(message);
    } catch (...) {
      Application->HandleException(this);
    }
    inClick_ = false;
    return;
  }
  TRadioButton::Dispatch(message);
}

bool TGroupButton::KeyPress(char& key) {
  TRadioButton::KeyPress(key);
  group_->KeyPress(key);
  if ((key == '\b' || key == ' ') && !group_->CanModify()) key = 0;
  return key == 0;
}

bool TGroupButton::KeyDown(WORD& key, TShiftState shift) {
  bool handled = TRadioButton::KeyDown(key, shift);
  return group_->KeyDown(key, shift) || handled;
}
