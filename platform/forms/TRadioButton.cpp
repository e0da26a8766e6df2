#include "platform/forms/TRadioButton.h"

#include <vector>

TRadioButton::TRadioButton(TComponent* owner) : TButtonControl(owner) {
  SetBounds(0, 0, 113, 17);
  TabStop = false;
}

void TRadioButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= BS_RADIOBUTTON;
  if (alignment_ == taLeftJustify) p.Style |= BS_LEFTTEXT;
}

void TRadioButton::CreateWnd() {
  TButtonControl::CreateWnd();
  SendMessageA(Handle(), BM_SETCHECK, checked_ ? BST_CHECKED : BST_UNCHECKED, 0);
}

void TRadioButton::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  RecreateWnd();
}

void TRadioButton::SetChecked(bool value) {
  if (checked_ == value) return;
  checked_ = value;
  // Only the checked button of a group is a tab stop.
  TabStop = value;
  if (HandleAllocated()) SendMessageA(handle_, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
  if (!value) return;
  if (TWinControl* parent = Parent()) {
    std::vector<TRadioButton*> siblings;
    for (int i = 0; i < parent->ControlCount(); ++i)
      if (auto* r = dynamic_cast<TRadioButton*>(parent->Controls(i)); r && r != this) siblings.push_back(r);
    for (TRadioButton* r : siblings) r->SetChecked(false);
  }
  Changed();
  if (!ClicksDisabled()) Click();
}

void TRadioButton::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case CN_COMMAND:
      if (ClicksDisabled()) return;
      if (HIWORD(m.WParam) == BN_CLICKED) SetChecked(true);
      if (HIWORD(m.WParam) == BN_DOUBLECLICKED) DblClick();
      return;
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<unsigned>(m.WParam), Caption()) && CanFocus()) {
        SetFocus();
        m.Result = 1;
        return;
      }
      break;
    default:
      break;
  }
  TButtonControl::Dispatch(message);
}
