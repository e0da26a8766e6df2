// TFrameBox: the warning that a message already holds as many slides as it may. OK and the
// close button close it (2).
#pragma once

#include "editor/TOneButtonBox.h"

class TFrameBox : public TOneButtonBox {
 public:
  using TOneButtonBox::TOneButtonBox;

  TUcLabel* Box_Label = nullptr;

 protected:
  void Loaded() override;
};

// The instance start-up makes (never shown; every use makes a box of its own).
extern TFrameBox* FrameBox;
