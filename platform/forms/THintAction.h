// THintAction: the action that carries the application's hint to whoever handles it, when the
// application has no OnHint of its own. Handlers recognise it by its exact class.
#pragma once

#include "platform/forms/TCustomAction.h"

class THintAction : public TCustomAction {
 public:
  explicit THintAction(TComponent* owner) : TCustomAction(owner) {}
};
