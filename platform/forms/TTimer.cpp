#include "platform/forms/TTimer.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Program.h"

void ApplicationHandleException(TObject* sender);

namespace {
const char kUtilClass[] = "TPUtilWindow";
}

HWND AllocateHWnd(WNDPROC method) {
  WNDCLASSA wc{};
  if (!GetClassInfoA(HInstance, kUtilClass, &wc)) {
    wc.lpfnWndProc = WNDPROC(&DefWindowProcA);
    wc.hInstance = HInstance;
    wc.lpszClassName = kUtilClass;
    RegisterClassA(&wc);
  }
  HWND h = CreateWindowExA(WS_EX_TOOLWINDOW, kUtilClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, HInstance, nullptr);
  if (h && method) SetWindowLongPtrA(h, GWL_WNDPROC, static_cast<LONG_PTR>(method));
  return h;
}

void DeallocateHWnd(HWND window) {
  if (window) DestroyWindow(window);
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  instance_ = MakeObjectInstance([this](TMessage& m) { WndProc(m); });
  window_ = AllocateHWnd(instance_);
}

TTimer::~TTimer() {
  enabled_ = false;
  if (window_) {
    KillTimer(window_, 1);
    DeallocateHWnd(window_);
  }
  FreeObjectInstance(instance_);
}

void TTimer::UpdateTimer() {
  if (!window_) return;
  KillTimer(window_, 1);
  if (ComponentState() & csLoading) return;
  if (enabled_ && interval_ > 0) SetTimer(window_, 1, interval_, nullptr);
}

void TTimer::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  UpdateTimer();
}

void TTimer::SetInterval(unsigned value) {
  if (interval_ == value) return;
  interval_ = value;
  UpdateTimer();
}

void TTimer::Loaded() {
  TComponent::Loaded();
  UpdateTimer();
}

void TTimer::WndProc(TMessage& m) {
  if (m.Msg == WM_TIMER) {
    try {
      if (enabled_ && OnTimer) OnTimer(this);
    } catch (...) {
      ApplicationHandleException(this);
    }
    m.Result = 0;
    return;
  }
  m.Result = DefWindowProcA(window_, m.Msg, m.WParam, m.LParam);
}
