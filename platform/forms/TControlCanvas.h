// TControlCanvas: the canvas of a windowed control. While the control paints it draws on the
// paint DC; asked for a handle at any other time it takes a DC of the control's window, which
// it gives back at FreeHandle (before painting and when the window goes).
#pragma once

#include <memory>

#include "platform/forms/TCanvas.h"
#include "platform/win/WinTypes.h"

class TWinControl;
class WindowDC;

class TControlCanvas : public TCanvas {
 public:
  explicit TControlCanvas(TWinControl* control);
  ~TControlCanvas() override;
  void FreeHandle();

 protected:
  void CreateHandle() override;

 private:
  TWinControl* control_;
  std::unique_ptr<WindowDC> windowDc_;
};
