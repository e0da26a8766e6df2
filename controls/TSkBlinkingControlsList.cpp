#include "controls/TSkBlinkingControlsList.h"

#include <algorithm>

namespace {
TSkBlinkingControlsList* shared = nullptr;
}

TSkBlinkingControlsList::TSkBlinkingControlsList() : timer_(std::make_unique<TTimer>(nullptr)) {
  timer_->SetInterval(IntervalOff);
  timer_->OnTimer = [this](TObject*) { Tick(); };
  timer_->SetEnabled(true);
}

TSkBlinkingControlsList::~TSkBlinkingControlsList() { timer_.reset(); }

void TSkBlinkingControlsList::Add(TControl* control) {
  if (std::find(controls_.begin(), controls_.end(), control) == controls_.end()) controls_.push_back(control);
}

void TSkBlinkingControlsList::Remove(TControl* control) {
  controls_.erase(std::remove(controls_.begin(), controls_.end(), control), controls_.end());
}

void TSkBlinkingControlsList::Tick() {
  on_ = !on_;
  timer_->SetInterval(on_ ? IntervalOn : IntervalOff);
  for (TControl* c : std::vector<TControl*>(controls_))
    if (c->Perform(CM_SKBLINKQUERY, 0, 0) == 1) c->Perform(CM_SKBLINKSTATE, on_ ? 0 : 1, 0);
}

TSkBlinkingControlsList* BlinkingControlsList() {
  if (!shared) shared = new TSkBlinkingControlsList();
  return shared;
}

bool FreeBlinkingControlsListIfEmpty() {
  if (shared && shared->GetCount() > 0) return false;
  delete shared;
  shared = nullptr;
  return true;
}
