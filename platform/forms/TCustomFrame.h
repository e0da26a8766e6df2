// TCustomFrame: a scrolling container that is its own layout root, like a form without a
// window frame of its own: a frame class made in code reads the layout registered under its
// class name, with the frame as owner of the controls in it.
#pragma once

#include "platform/forms/TScrollingWinControl.h"

class TCustomFrame : public TScrollingWinControl {
 public:
  explicit TCustomFrame(TComponent* owner);
  void AfterConstruction() override;
};
