// A radio group written once for both kinds of text: a group box (`GroupBox`) that shows one
// `Button` per item of its `Items`, arranged in Columns (1 to 16), and keeps the chosen one as
// ItemIndex (-1: none). A click on a button sets ItemIndex and fires OnClick; setting ItemIndex in
// code checks the button without OnClick. While a layout is read, ItemIndex is kept as read and
// applied once the buttons exist; an index the items cannot show checks nothing.
// `Group` is the radio group class itself, the one its buttons are made for; its destructor calls
// DeleteButtons, so that the buttons leave a group that is still of that class.
#pragma once

#include <algorithm>
#include <functional>
#include <vector>

#include "platform/forms/GroupButtonLayout.h"

template <class Group, class GroupBox, class Button, class Items>
class TCustomRadioGroupOf : public GroupBox {
 public:
  explicit TCustomRadioGroupOf(TComponent* owner) : GroupBox(owner) {
    this->ControlStyle = csSetCaption | csDoubleClicks;
    items_.OnChange = [this](TObject* sender) { ItemsChange(sender); };
  }
  ~TCustomRadioGroupOf() override { items_.OnChange = nullptr; }
  int ItemIndex() const { return itemIndex_; }
  void SetItemIndex(int value) {
    if (Reading()) {
      itemIndex_ = value;
      return;
    }
    value = std::clamp(value, -1, ButtonCount() - 1);
    if (value == itemIndex_) return;
    if (const int old = CheckedButtonIndex(itemIndex_, ButtonCount()); old >= 0)
      buttons_[size_t(old)]->SetCheckedProp(false);
    itemIndex_ = value;
    if (itemIndex_ >= 0) Check(itemIndex_);
  }
  int Columns() const { return columns_; }
  void SetColumns(int value) {
    value = std::clamp(value, 1, 16);
    if (value == columns_) return;
    columns_ = value;
    ArrangeButtons();
    this->Invalidate();
  }
  int ButtonCount() const { return int(buttons_.size()); }
  Button* Buttons(int index) const { return static_cast<Button*>(buttons_.at(size_t(index))); }
  void Loaded() override {
    GroupBox::Loaded();
    UpdateButtons();
  }
  void Dispatch(void* message) override {
    auto& m = *static_cast<TMessage*>(message);
    GroupBox::Dispatch(message);
    switch (m.Msg) {
      case CM_ENABLEDCHANGED:
        for (ButtonOf* b : buttons_) b->SetEnabled(this->Enabled());
        break;
      case CM_FONTCHANGED:
      case WM_SIZE:
        ArrangeButtons();
        break;
      default:
        break;
    }
  }
  // The buttons are the group's own making: none is written with a layout.
  void GetChildren(const std::function<void(TComponent*)>&, TComponent*) override {}
  // Nothing to flip: the buttons are placed by the group.
  void FlipChildren(bool /*allLevels*/) {}

 protected:
  // A button joins and leaves the group itself (see TGroupButtonOf).
  using ButtonOf = typename Button::TGroupButtonOf;
  friend ButtonOf;
  virtual bool CanModify() { return true; }
  void ButtonClick(TObject* sender) {
    if (updating_) return;
    auto it = std::find(buttons_.begin(), buttons_.end(), sender);
    itemIndex_ = it == buttons_.end() ? -1 : int(it - buttons_.begin());
    this->Changed();
    this->Click();
  }
  void ItemsChange(TObject*) {
    if (!Reading() && itemIndex_ >= items_.Count()) itemIndex_ = items_.Count() - 1;
    UpdateButtons();
  }
  void UpdateButtons() {
    SetButtonCount(items_.Count());
    for (int i = 0; i < ButtonCount(); ++i) buttons_[size_t(i)]->SetCaption(items_[i]);
    // A stored index may be beyond the items: then no button is checked.
    if (const int checked = CheckedButtonIndex(itemIndex_, ButtonCount()); checked >= 0) Check(checked);
    ArrangeButtons();
    this->Invalidate();
  }
  void ArrangeButtons() {
    if (Reading()) return;
    ArrangeGroupButtons(this, std::vector<TWinControl*>(buttons_.begin(), buttons_.end()), columns_);
  }
  void DeleteButtons() { SetButtonCount(0); }

  Items items_;

 private:
  void SetButtonCount(int count) {
    while (int(buttons_.size()) < count) new Button(static_cast<Group*>(this));
    while (int(buttons_.size()) > count) delete buttons_.back();
  }
  // Checks a button as the group's own choice, which is no click.
  void Check(int index) {
    updating_ = true;
    buttons_[size_t(index)]->SetCheckedProp(true);
    updating_ = false;
  }
  bool Reading() const { return (this->ComponentState() & csReading) != 0; }

  std::vector<ButtonOf*> buttons_;
  int itemIndex_ = -1;
  int columns_ = 1;
  bool updating_ = false;
};
