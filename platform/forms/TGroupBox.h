// TCustomGroupBox and TGroupBox: a frame with a caption that holds other controls (radio
// buttons in it form one group). It paints itself: an etched frame whose top runs through the
// middle of the caption line, and the caption over it 8 pixels from the left. Its children sit
// inside the frame, below the caption. The Unicode group box derives from TCustomGroupBox and
// paints its caption in UTF-16.
#pragma once

#include "platform/forms/ControlTypes.h"
#include "platform/forms/TCustomControl.h"

class TCustomGroupBox : public TCustomControl {
 public:
  explicit TCustomGroupBox(TComponent* owner);

  void Dispatch(void* message) override;

 protected:
  void Paint() override;
  void AlignControls(RECT& rect) override;
  // Focuses the first child that takes the focus.
  void SelectFirst();
  // The height of a caption line in the control's font.
  int CaptionHeight();
};

class TGroupBox : public TCustomGroupBox {
 public:
  explicit TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
};
