#include "unicode/TWinControlTrap.h"

#include "platform/rtl/ScopeExit.h"
#include "unicode/UcControls.h"
#include "unicode/UcPlatformFlags.h"

TWinControlTrap::TWinControlTrap(TWinControl* control) : TComponent(nullptr), control_(control) {
  controlProc_ = MakeObjectInstance([this](TMessage& m) {
    if (control_) control_->MainWndProc(m);
  });
  rawProc_ = MakeObjectInstance([this](TMessage& m) { RawWindowProc(m); });
  defaultProc_ = MakeObjectInstance([this](TMessage& m) { DefaultWindowProc(m); });
  control->FreeNotification(this);
}

TWinControlTrap::~TWinControlTrap() {
  // A window that outlives its control keeps no procedure of this trap.
  if (handle_ && IsWindow(handle_)) {
    const WNDPROC installed(GetWindowLongPtrW(handle_, GWL_WNDPROC));
    if (installed == rawProc_ || installed == controlProc_)
      SetWindowLongPtrW(handle_, GWL_WNDPROC, static_cast<LONG_PTR>(WNDPROC(&DefWindowProcW)));
  }
  if (control_) {
    control_->RemoveFreeNotification(this);
    if (control_->DefWndProc == defaultProc_) control_->DefWndProc = previousDefProc_;
    if (control_->WindowProc == OwnMessageProc()) control_->WindowProc = previousMessageProc_;
  }
  FreeObjectInstance(defaultProc_);
  FreeObjectInstance(rawProc_);
  FreeObjectInstance(controlProc_);
}

void TWinControlTrap::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (component != control_ || operation != opRemove) return;
  control_ = nullptr;
  if (nesting_ > 0)
    destroyPending_ = true;
  else
    delete this;
}

void TWinControlTrap::Attach(HWND window, const WideString& caption) {
  handle_ = window;
  previousWndProc_ = WNDPROC(GetWindowLongPtrW(window, GWL_WNDPROC));
  previousDefProc_ = control_->DefWndProc;
  SetWindowLongPtrW(window, GWL_WNDPROC, static_cast<LONG_PTR>(rawProc_));
  control_->DefWndProc = defaultProc_;
  HookMessageProc();
  UcControl_SetText(control_, UcControl_GetStoredText(control_, caption));
}

void TWinControlTrap::Detach() {
  if (!control_) return;
  const bool destroying = control_->ComponentState() & csDestroying;
  if (!destroying) UcControl_SetStoredText(control_, UcControl_GetText(control_));
  if (control_->WindowProc == OwnMessageProc()) control_->WindowProc = previousMessageProc_;
  control_->DefWndProc = previousDefProc_;
  if (handle_ && IsWindow(handle_))
    SetWindowLongPtrW(handle_, GWL_WNDPROC, static_cast<LONG_PTR>(previousWndProc_));
  if (hostWindow_)
    destroyPending_ = true;
  else if (!destroying)
    unicode::AddDetachedTrap(this);
}

void TWinControlTrap::HookMessageProc() {
  if (IsMessageProcInChain()) return;
  previousMessageProc_ = control_->WindowProc;
  control_->WindowProc = OwnMessageProc();
}

bool TWinControlTrap::IsMessageProcInChain() {
  if (control_->WindowProc == TWndMethodValue::Of<TControl, &TControl::WndProc>(control_)) return false;
  if (control_->WindowProc == OwnMessageProc()) return true;
  // Someone else stands in front: a null message through the chain tells whether it reaches us.
  nullProbe_ = true;
  nullSeen_ = false;
  TMessage probe{WM_NULL, 0, 0, 0};
  control_->WindowProc(probe);
  nullProbe_ = false;
  return nullSeen_;
}

void TWinControlTrap::RawWindowProc(TMessage& m) {
  if (!control_) {
    // The control is gone: the window keeps working without it. After the layer's shut-down
    // a living control still gets its messages (nothing is swallowed).
    m.Result = CallWindowProcW(WNDPROC(&DefWindowProcW), handle_, m.Msg, m.WParam, m.LParam);
    return;
  }
  ++nesting_;
  // The trap whose window went while it was busy goes with the outermost message.
  const platform::ScopeExit leave([this] {
    if (--nesting_ == 0 && destroyPending_) delete this;
  });
  const HWND window = handle_;
  lastRawMessage_ = m.Msg;
  m.Result = CallWindowProcW(previousWndProc_, window, m.Msg, m.WParam, m.LParam);
}

void TWinControlTrap::MessageProc(TMessage& m) {
  if (nullProbe_ && m.Msg == WM_NULL) nullSeen_ = true;
  if (!control_->HandleAllocated()) {
    control_->WndProc(m);
    return;
  }
  const bool fromWindows = lastRawMessage_ != 0;
  lastRawMessage_ = 0;
  if (m.Msg == CM_HINTSHOW) ProcessCMHintShowMsg(m);
  if (IsTextMessage(m.Msg) && !fromWindows) {
    // The form library asks in 8 bits: the system converts for the UTF-16 window.
    m.Result = SendMessageA(handle_, m.Msg, m.WParam, m.LParam);
  } else {
    if (m.Msg == WM_CHAR) MakeWMCharMsgSafeForAnsi(m);
    previousMessageProc_(m);
  }
  if (m.Msg == UC_WM_DESTROY()) Detach();
}

void TWinControlTrap::DefaultWindowProc(TMessage& m) {
  switch (m.Msg) {
    case WM_NOTIFYFORMAT: {
      const HWND from = reinterpret_cast<HWND>(m.WParam);
      TWinControl* creating = unicode::WindowBeingCreated();
      const bool wide =
          Win32PlatformIsUnicode() &&
          (IsWindowUnicode(from) || (creating && creating->HandleAllocated() && creating->Handle() == from));
      m.Result = wide ? NFR_UNICODE : NFR_ANSI;
      return;
    }
    case WM_CHAR:
      RestoreWMCharMsg(m);
      break;
    case WM_IME_CHAR:
      if (!Win32PlatformIsXP()) {
        m.Result = SendMessageW(handle_, WM_CHAR, m.WParam, m.LParam);
        return;
      }
      break;
    case WM_DESTROY: {
      // Detach gives the default procedure back; this message still goes to the one it had.
      const WNDPROC previous = previousDefProc_;
      Detach();
      m.Result = CallWindowProcW(previous, handle_, m.Msg, m.WParam, m.LParam);
      return;
    }
    default:
      break;
  }
  m.Result = CallWindowProcW(previousDefProc_, handle_, m.Msg, m.WParam, m.LParam);
}
