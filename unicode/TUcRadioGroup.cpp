#include "unicode/TUcRadioGroup.h"

#include <algorithm>

#include "platform/forms/GroupButtonLayout.h"
#include "unicode/TUcGroupButton.h"

TUcCustomRadioGroup::TUcCustomRadioGroup(TComponent* owner) : TUcCustomGroupBox(owner) {
  ControlStyle = csSetCaption | csDoubleClicks;
  items_.OnChange = [this](TObject* sender) { ItemsChange(sender); };
}

TUcCustomRadioGroup::~TUcCustomRadioGroup() {
  SetButtonCount(0);
  items_.OnChange = nullptr;
}

void TUcCustomRadioGroup::SetButtonCount(int count) {
  while (int(buttons_.size()) < count) new TUcGroupButton(this);
  while (int(buttons_.size()) > count) delete buttons_.back();
}

void TUcCustomRadioGroup::UpdateButtons() {
  SetButtonCount(items_.Count());
  for (int i = 0; i < ButtonCount(); ++i) buttons_[size_t(i)]->SetCaption(items_[i]);
  // A stored index may be beyond the items: then no button is checked.
  if (const int checked = CheckedButtonIndex(itemIndex_, ButtonCount()); checked >= 0) {
    updating_ = true;
    buttons_[size_t(checked)]->SetCheckedProp(true);
    updating_ = false;
  }
  ArrangeButtons();
  Invalidate();
}

void TUcCustomRadioGroup::ItemsChange(TObject*) {
  if (!Reading() && itemIndex_ >= items_.Count()) itemIndex_ = items_.Count() - 1;
  UpdateButtons();
}

void TUcCustomRadioGroup::SetItemIndex(int value) {
  if (Reading()) {
    itemIndex_ = value;
    return;
  }
  value = std::clamp(value, -1, ButtonCount() - 1);
  if (value == itemIndex_) return;
  if (const int old = CheckedButtonIndex(itemIndex_, ButtonCount()); old >= 0)
    buttons_[size_t(old)]->SetCheckedProp(false);
  itemIndex_ = value;
  if (itemIndex_ >= 0) {
    updating_ = true;
    buttons_[size_t(itemIndex_)]->SetCheckedProp(true);
    updating_ = false;
  }
}

void TUcCustomRadioGroup::SetColumns(int value) {
  value = std::clamp(value, 1, 16);
  if (value == columns_) return;
  columns_ = value;
  ArrangeButtons();
  Invalidate();
}

void TUcCustomRadioGroup::ButtonClick(TObject* sender) {
  if (updating_) return;
  auto it = std::find(buttons_.begin(), buttons_.end(), sender);
  itemIndex_ = it == buttons_.end() ? -1 : int(it - buttons_.begin());
  Changed();
  Click();
}

void TUcCustomRadioGroup::Loaded() {
  TUcCustomGroupBox::Loaded();
  UpdateButtons();
}

void TUcCustomRadioGroup::ArrangeButtons() {
  if (Reading()) return;
  ArrangeGroupButtons(this, std::vector<TWinControl*>(buttons_.begin(), buttons_.end()), columns_);
}

void TUcCustomRadioGroup::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}

void TUcCustomRadioGroup::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  TUcCustomGroupBox::Dispatch(message);
  switch (m.Msg) {
    case CM_ENABLEDCHANGED:
      for (TUcGroupButton* b : buttons_) b->SetEnabled(Enabled());
      break;
    case CM_FONTCHANGED:
    case WM_SIZE:
      ArrangeButtons();
      break;
    default:
      break;
  }
}
