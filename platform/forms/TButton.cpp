#include "platform/forms/TButton.h"

TButton::TButton(TComponent* owner) : TButtonControl(owner) { SetBounds(0, 0, 75, 25); }

void TButton::CreateParams(TCreateParams& p) {
  TButtonControl::CreateParams(p);
  CreateSubClass(p, "BUTTON");
  p.Style |= default_ ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TButton::CreateWnd() {
  TButtonControl::CreateWnd();
  active_ = default_;
  showsDefault_ = default_;
}

void TButton::SetDefault(bool value) {
  if (default_ == value) return;
  default_ = value;
  if (HandleAllocated()) UpdateActive(FindControl(GetFocus()));
}

void TButton::UpdateActive(TWinControl* focused) {
  if (dynamic_cast<TButton*>(focused))
    active_ = focused == this;
  else
    active_ = default_;
  SetButtonStyle(active_);
}

void TButton::SetButtonStyle(bool isDefault) {
  if (isDefault == showsDefault_) return;
  showsDefault_ = isDefault;
  if (HandleAllocated()) SendMessageA(handle_, BM_SETSTYLE, isDefault ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON, 1);
}

void TButton::Click() {
  if (TCustomForm* form = GetParentForm(this)) form->ModalResult = modalResult_;
  TButtonControl::Click();
}

void TButton::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case CN_COMMAND:
      if (ClicksDisabled()) return;
      if (HIWORD(m.WParam) == BN_CLICKED) Click();
      return;
    case CM_DIALOGKEY: {
      const bool plain =
          GetKeyState(VK_SHIFT) >= 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0;
      if (((m.WParam == VK_RETURN && active_) || (m.WParam == VK_ESCAPE && cancel_)) && plain && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    }
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<unsigned>(m.WParam), Caption()) && CanFocus()) {
        Click();
        m.Result = 1;
        return;
      }
      break;
    case CM_FOCUSCHANGED:
      UpdateActive(reinterpret_cast<TWinControl*>(m.LParam));
      break;
    default:
      break;
  }
  TButtonControl::Dispatch(message);
}
