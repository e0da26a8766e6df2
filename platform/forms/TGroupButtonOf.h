// A radio group's button written once for both kinds of text: one `RadioButton` of a `Group`
// (a TCustomRadioGroupOf), made and placed by the group. Its click becomes the group's choice, but
// only when the group lets the choice change; its keys go on to the group.
#pragma once

#include <vector>

#include "platform/controls/Controls.h"
#include "platform/forms/TApplication.h"

template <class Group, class RadioButton>
class TGroupButtonOf : public RadioButton {
 public:
  explicit TGroupButtonOf(Group* group) : RadioButton(group), group_(group) {
    group->buttons_.push_back(this);
    this->SetVisible(false);
    this->SetEnabled(group->Enabled());
    this->SetParentShowHint(false);
    this->OnClick = [group](TObject* sender) { group->ButtonClick(sender); };
    this->SetParent(group);
  }
  ~TGroupButtonOf() override { std::erase(group_->buttons_, this); }

  void Dispatch(void* message) override {
    auto& m = *static_cast<TMessage*>(message);
    if (m.Msg == CN_COMMAND) {
      if (inClick_) return;
      inClick_ = true;
      try {
        const WORD code = HIWORD(m.WParam);
        if ((code == BN_CLICKED || code == BN_DOUBLECLICKED) && group_->CanModify())
          RadioButton::Dispatch(message);
      } catch (...) {
        Application->HandleException(this);
      }
      inClick_ = false;
      return;
    }
    RadioButton::Dispatch(message);
  }

 protected:
  bool KeyPress(char& key) override {
    RadioButton::KeyPress(key);
    group_->KeyPress(key);
    if ((key == '\b' || key == ' ') && !group_->CanModify()) key = 0;
    return key == 0;
  }
  bool KeyDown(WORD& key, TShiftState shift) override {
    bool handled = RadioButton::KeyDown(key, shift);
    return group_->KeyDown(key, shift) || handled;
  }

 private:
  Group* group_;
  bool inClick_ = false;
};
