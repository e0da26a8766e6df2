#include "platform/forms/TControlCanvas.h"

#include "platform/forms/TWinControl.h"

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::CreateHandle() {
  if (!control_ || !control_->HandleAllocated()) return;
  window_ = control_->Handle();
  windowDc_ = GetDC(window_);
  SetHandle(windowDc_);
}

void TControlCanvas::FreeHandle() {
  if (!windowDc_) return;
  HDC dc = windowDc_;
  windowDc_ = nullptr;
  if (dc_ == dc) SetHandle(nullptr);
  ReleaseDC(window_, dc);
  window_ = nullptr;
}
