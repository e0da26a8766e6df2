// TTimer: OnTimer every Interval milliseconds while Enabled, through a utility window of its
// own and the window system's timers (on the fake clock in tests). Changing Enabled or Interval
// restarts it; Interval 0 stops it. An exception from OnTimer goes to the application.
#pragma once

#include "platform/forms/TComponent.h"
#include "platform/win/Win.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  unsigned Interval() const { return interval_; }
  void SetInterval(unsigned value);
  TNotifyEvent OnTimer;
  void Loaded() override;

 private:
  void UpdateTimer();
  void WndProc(TMessage& message);

  bool enabled_ = true;
  unsigned interval_ = 1000;
  HWND window_ = nullptr;
};
