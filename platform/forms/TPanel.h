// TPanel: the panel layouts create; every property lives in TCustomPanel.
#pragma once

#include "platform/forms/TCustomPanel.h"

class TPanel : public TCustomPanel {
 public:
  explicit TPanel(TComponent* owner) : TCustomPanel(owner) {}
};
