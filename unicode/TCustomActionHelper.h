// The wide caption and hint of one wide-aware action, owned by the action. While a set is under
// way the action still reads its old text; its links are handed the new one.
#pragma once

#include "platform/forms/TComponent.h"
#include "platform/forms/TCustomAction.h"
#include "platform/rtl/WideString.h"

// Marks an action as wide-aware.
class IUcAction {
 public:
  virtual ~IUcAction() = default;
};

class TCustomActionHelper : public TComponent {
 public:
  explicit TCustomActionHelper(TCustomAction* action) : TComponent(action), action_(action) {}
  TCustomAction* Action() const { return action_; }

  // One wide text of the action (its caption or its hint) while and after it is set.
  struct WideText {
    WideString wide;
    bool beingSet = false;
    WideString previous;
    AnsiString newAnsi;
  };
  WideText Caption;
  WideText Hint;

  // The action's helper, made on first need when `create` is set.
  static TCustomActionHelper* Of(TCustomAction* action, bool create);

 private:
  TCustomAction* action_;
};
