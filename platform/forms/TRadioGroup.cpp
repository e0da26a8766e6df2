#include "platform/forms/TRadioGroup.h"

#include <algorithm>

#include "platform/forms/GroupButtonLayout.h"
#include "platform/forms/StringsProperty.h"
#include "platform/forms/TGroupButton.h"

void TRadioGroupStrings::DefineProperties(TFiler* filer) { DefineStringsProperty(this, filer); }

TCustomRadioGroup::TCustomRadioGroup(TComponent* owner) : TCustomGroupBox(owner) {
  ControlStyle = csSetCaption | csDoubleClicks;
  items_.OnChange = [this](TObject* sender) { ItemsChange(sender); };
}

TCustomRadioGroup::~TCustomRadioGroup() {
  SetButtonCount(0);
  items_.OnChange = nullptr;
}

void TCustomRadioGroup::SetButtonCount(int count) {
  while (int(buttons_.size()) < count) new TGroupButton(this);
  while (int(buttons_.size()) > count) delete buttons_.back();
}

void TCustomRadioGroup::UpdateButtons() {
  SetButtonCount(items_.Count());
  for (int i = 0; i < ButtonCount(); ++i) buttons_[size_t(i)]->SetTextProp(items_[i]);
  // A stored index may be beyond the items: then no button is checked.
  if (const int checked = CheckedButtonIndex(itemIndex_, ButtonCount()); checked >= 0) {
    updating_ = true;
    buttons_[size_t(checked)]->SetCheckedProp(true);
    updating_ = false;
  }
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ItemsChange(TObject*) {
  if (!Reading() && itemIndex_ >= items_.Count()) itemIndex_ = items_.Count() - 1;
  UpdateButtons();
}

void TCustomRadioGroup::SetItemIndex(int value) {
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

void TCustomRadioGroup::SetColumns(int value) {
  value = std::clamp(value, 1, 16);
  if (value == columns_) return;
  columns_ = value;
  ArrangeButtons();
  Invalidate();
}

void TCustomRadioGroup::ButtonClick(TObject* sender) {
  if (updating_) return;
  auto it = std::find(buttons_.begin(), buttons_.end(), sender);
  itemIndex_ = it == buttons_.end() ? -1 : int(it - buttons_.begin());
  Changed();
  Click();
}

void TCustomRadioGroup::Loaded() {
  TCustomGroupBox::Loaded();
  UpdateButtons();
}

void TCustomRadioGroup::ArrangeButtons() {
  if (Reading()) return;
  ArrangeGroupButtons(this, std::vector<TWinControl*>(buttons_.begin(), buttons_.end()), columns_);
}

void TCustomRadioGroup::GetChildren(const std::function<void(TComponent*)>&, TComponent*) {}

void TCustomRadioGroup::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  TCustomGroupBox::Dispatch(message);
  switch (m.Msg) {
    case CM_ENABLEDCHANGED:
      for (TGroupButton* b : buttons_) b->SetEnabled(Enabled());
      break;
    case CM_FONTCHANGED:
    case WM_SIZE:
      ArrangeButtons();
      break;
    default:
      break;
  }
}
