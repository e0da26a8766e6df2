// TCustomControl: a windowed control that paints itself on a canvas in Paint.
#pragma once

#include "platform/forms/TCanvas.h"
#include "platform/forms/TWinControl.h"

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* owner) : TWinControl(owner) {}
  // Valid while painting.
  TCanvas* Canvas() { return &canvas_; }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC dc) override;

 private:
  TCanvas canvas_;
};
