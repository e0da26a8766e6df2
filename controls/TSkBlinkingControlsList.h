// The one blink timer that blinking controls share: every half second it flips between on and off
// and sends the new state (message 0xB3E9, 0 on and 1 off) to each listed control that answers
// 0xB3E8 with 1. Made on first use; freed once no control is listed. A listed control that is
// freed leaves the list by itself.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/TControl.h"
#include "platform/forms/TTimer.h"

constexpr UINT CM_SKBLINKQUERY = 0xB3E8, CM_SKBLINKSTATE = 0xB3E9;

class TSkBlinkingControlsList : public TObject {
 public:
  TSkBlinkingControlsList();
  ~TSkBlinkingControlsList() override;
  void Add(TControl* control);
  void Remove(TControl* control);
  virtual int GetCount() const { return static_cast<int>(controls_.size()); }
  bool BlinkOn() const { return on_; }
  unsigned IntervalOn = 500, IntervalOff = 500;

 private:
  class TWatcher;  // hears listed controls being freed
  void Tick();
  bool on_ = false;
  std::unique_ptr<TTimer> timer_;
  std::vector<TControl*> controls_;
  std::unique_ptr<TWatcher> watcher_;
};

TSkBlinkingControlsList* BlinkingControlsList();
// Frees the shared list when it holds no control; true when it was freed (or never made).
bool FreeBlinkingControlsListIfEmpty();
