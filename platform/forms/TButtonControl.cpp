#include "platform/forms/TButtonControl.h"

#include "platform/forms/TButtonActionLink.h"
#include "platform/forms/TCustomAction.h"
#include "platform/rtl/ScopeExit.h"

TButtonControl::TButtonControl(TComponent* owner) : TWinControl(owner) {
  ControlStyle = csSetCaption | csDoubleClicks;
  SetColor(clBtnFace);
  TabStop = true;
}

void TButtonControl::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  RecreateWnd();
}

void TButtonControl::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  if (wordWrap_) p.Style |= BS_MULTILINE;
}

void TButtonControl::WndProc(TMessage& m) {
  if ((m.Msg == WM_LBUTTONDOWN || m.Msg == WM_LBUTTONDBLCLK) && HandleAllocated() && !Focused()) {
    // Focusing by a press must not click (a radio button would check itself).
    clicksDisabled_ = true;
    ::SetFocus(handle_);
    clicksDisabled_ = false;
    if (!Focused()) return;
  }
  TWinControl::WndProc(m);
}

void TButtonControl::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CN_COMMAND && clicksDisabled_) return;
  if (AnswerColorQuestion(m)) return;
  TWinControl::Dispatch(message);
}

TActionLinkClass TButtonControl::GetActionLinkClass() const { return ActionLinkClassOf<TButtonActionLink>(); }

void TButtonControl::ActionChange(TObject* sender, bool checkDefaults) {
  TWinControl::ActionChange(sender, checkDefaults);
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action) return;
  if (!checkDefaults || !Checked()) {
    // Taking the action's state is no click of the user's.
    clicksDisabled_ = true;
    platform::ScopeExit restore([&] { clicksDisabled_ = false; });
    SetChecked(action->Checked());
  }
}
