// TCustomActionList and TActionList: the actions of a form, in order. The list answers key
// chords (IsShortCut: the first of its actions with the chord that is enabled after its update
// runs), and its OnExecute and OnUpdate see each of its actions first. Freeing the list frees its
// actions. In a layout the actions are written inside the list.
#pragma once

#include <vector>

#include "platform/forms/TContainedAction.h"
#include "platform/forms/TWMKey.h"

using TActionEvent = std::function<void(TBasicAction* action, bool& handled)>;

class TCustomActionList : public TComponent {
 public:
  explicit TCustomActionList(TComponent* owner);
  ~TCustomActionList() override;

  int ActionCount() const { return static_cast<int>(actions_.size()); }
  // Raises EListError for an index outside the list.
  TContainedAction* Actions(int index) const;
  int IndexOfAction(const TContainedAction* action) const;

  // Runs OnExecute / OnUpdate for `action`; true when the handler says it handled it.
  bool ExecuteAction(TBasicAction* action) override;
  bool UpdateAction(TBasicAction* action) override;
  // True when an action of the list took the chord of a key message.
  virtual bool IsShortCut(TWMKey& message);
  // Updates every action of the list (idle time).
  void UpdateActions();

  void GetChildren(const std::function<void(TComponent*)>& proc, TComponent* root) override;

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

 protected:
  friend class TContainedAction;
  void AddAction(TContainedAction* action);
  void RemoveAction(TContainedAction* action);
  virtual void Change();

 private:
  std::vector<TContainedAction*> actions_;
};

class TActionList : public TCustomActionList {
 public:
  explicit TActionList(TComponent* owner) : TCustomActionList(owner) {}
};
