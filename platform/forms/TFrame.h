// TFrame: the frame layouts and frame classes derive from; every property lives in TCustomFrame.
#pragma once

#include "platform/forms/TCustomFrame.h"

class TFrame : public TCustomFrame {
 public:
  explicit TFrame(TComponent* owner) : TCustomFrame(owner) {}
};
