// TGraphicControl: a control without a window. Its parent paints it, in its own WM_PAINT, with
// a canvas on the parent's DC whose origin is the control's top-left; Paint draws it.
#pragma once

#include "platform/forms/TCanvas.h"
#include "platform/forms/TControl.h"

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* owner) : TControl(owner) {}
  // Valid while painting.
  TCanvas* Canvas() { return &canvas_; }
  void Dispatch(void* message) override;

 protected:
  virtual void Paint() {}

 private:
  TCanvas canvas_;
};
