#include "platform/forms/TControlCanvas.h"

#include "platform/forms/TWinControl.h"
#include "platform/win/WindowDC.h"

TControlCanvas::TControlCanvas(TWinControl* control) : control_(control) {}

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
  if (!control_ || !control_->HandleAllocated()) return;
  windowDc_ = std::make_unique<WindowDC>(control_->Handle());
  SetHandle(*windowDc_);
}

void TControlCanvas::FreeHandle() {
  if (!windowDc_) return;
  // Taken out first: the DC goes back to the window when this scope ends, after the canvas let go.
  std::unique_ptr<WindowDC> dc = std::move(windowDc_);
  if (dc_ == dc->Get()) SetHandle(nullptr);
}
