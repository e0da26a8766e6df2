// TControlBar: the control bar layouts create; every property lives in TCustomControlBar.
#pragma once

#include "platform/forms/TCustomControlBar.h"

class TControlBar : public TCustomControlBar {
 public:
  explicit TControlBar(TComponent* owner) : TCustomControlBar(owner) {}
};
