#include "platform/forms/TTimer.h"

#include "platform/rtl/Exceptions.h"

void ApplicationHandleException(TObject* sender);

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  window_ = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TTimer::~TTimer() {
  enabled_ = false;
  if (window_) {
    KillTimer(window_, 1);
    DeallocateHWnd(window_);
  }
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
