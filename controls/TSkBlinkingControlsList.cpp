#include "controls/TSkBlinkingControlsList.h"

#include <algorithm>

namespace {
TSkBlinkingControlsList* shared = nullptr;
}

class TSkBlinkingControlsList::TWatcher : public TComponent {
 public:
  explicit TWatcher(TSkBlinkingControlsList* list) : TComponent(nullptr), list_(list) {}

 protected:
  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    auto& c = list_->controls_;
    // The control is half gone by now: compare addresses as components, never as controls.
    c.erase(std::remove_if(c.begin(), c.end(),
                           [component](TControl* x) { return static_cast<TComponent*>(x) == component; }),
            c.end());
  }

 private:
  TSkBlinkingControlsList* list_;
};

TSkBlinkingControlsList::TSkBlinkingControlsList()
    : timer_(std::make_unique<TTimer>(nullptr)), watcher_(std::make_unique<TWatcher>(this)) {
  timer_->SetInterval(IntervalOff);
  timer_->OnTimer = [this](TObject*) { Tick(); };
  timer_->SetEnabled(true);
}

TSkBlinkingControlsList::~TSkBlinkingControlsList() {
  timer_.reset();
  for (TControl* c : std::vector<TControl*>(controls_)) Remove(c);
}

void TSkBlinkingControlsList::Add(TControl* control) {
  if (!control || std::find(controls_.begin(), controls_.end(), control) != controls_.end()) return;
  controls_.push_back(control);
  control->FreeNotification(watcher_.get());
}

void TSkBlinkingControlsList::Remove(TControl* control) {
  const auto at = std::find(controls_.begin(), controls_.end(), control);
  if (at == controls_.end()) return;
  controls_.erase(at);
  control->RemoveFreeNotification(watcher_.get());
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
