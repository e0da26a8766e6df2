// The hint action that carries the application's wide hint.
#pragma once

#include "platform/forms/THintAction.h"
#include "unicode/TUcAction.h"

class TUcHintAction : public TUcActionOf<THintAction> {
 public:
  explicit TUcHintAction(TComponent* owner) : TUcActionOf(owner) {}
};
