// TLabel: the label layouts create; every property lives in TCustomLabel.
#pragma once

#include "platform/forms/TCustomLabel.h"

class TLabel : public TCustomLabel {
 public:
  explicit TLabel(TComponent* owner) : TCustomLabel(owner) {}
};
