#include "platform/forms/TCustomActionList.h"

#include <algorithm>

#include "platform/forms/ShortCuts.h"
#include "platform/forms/TCustomAction.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

TCustomActionList::TCustomActionList(TComponent* owner) : TComponent(owner) {}

TCustomActionList::~TCustomActionList() {
  // The actions go with their list, whoever owns them.
  while (!actions_.empty()) delete actions_.back();
}

TContainedAction* TCustomActionList::Actions(int index) const {
  if (index < 0 || index >= ActionCount())
    throw EListError("List index out of bounds (%d)", {TVarRec(index)});
  return actions_[static_cast<std::size_t>(index)];
}

int TCustomActionList::IndexOfAction(const TContainedAction* action) const {
  auto it = std::find(actions_.begin(), actions_.end(), action);
  return it == actions_.end() ? -1 : static_cast<int>(it - actions_.begin());
}

void TCustomActionList::AddAction(TContainedAction* action) {
  actions_.push_back(action);
  action->actionList_ = this;
  Change();
}

void TCustomActionList::RemoveAction(TContainedAction* action) {
  auto it = std::find(actions_.begin(), actions_.end(), action);
  if (it == actions_.end()) return;
  actions_.erase(it);
  action->actionList_ = nullptr;
  if (!(ComponentState() & csDestroying)) Change();
}

void TCustomActionList::Change() {
  if (OnChange) OnChange(this);
}

bool TCustomActionList::ExecuteAction(TBasicAction* action) {
  bool handled = false;
  if (OnExecute) OnExecute(action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* action) {
  bool handled = false;
  if (OnUpdate) OnUpdate(action, handled);
  return handled;
}

bool TCustomActionList::IsShortCut(TWMKey& message) {
  TShortCut chord = ShortCut(message.CharCode, KeyDataToShiftState(message.KeyData));
  if (chord == scNone) return false;
  // An action the chord's handling frees leaves the list; walk a copy and skip the gone ones.
  for (TContainedAction* action : std::vector<TContainedAction*>(actions_)) {
    if (IndexOfAction(action) < 0) continue;
    auto* custom = dynamic_cast<TCustomAction*>(action);
    if (!custom || custom->ShortCut() != chord) continue;
    // Disabled ones are passed over: the next action with the chord may take it.
    if (custom->HandleShortCut()) return true;
  }
  return false;
}

void TCustomActionList::UpdateActions() {
  for (TContainedAction* action : std::vector<TContainedAction*>(actions_))
    if (IndexOfAction(action) >= 0) action->Update();
}

void TCustomActionList::GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) {
  for (TContainedAction* action : actions_)
    if (action->Owner() == root) proc(action);
}
