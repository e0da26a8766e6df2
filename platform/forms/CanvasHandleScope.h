// A canvas drawing on a DC it does not own for one scope (a paint, a measurement, an owner-drawn
// item): the handle is set on entry and taken back on every way out, so the objects the canvas
// selected into the DC are deselected even when the drawing raises.
#pragma once

#include "platform/forms/TCanvas.h"
#include "platform/rtl/ScopeExit.h"

class CanvasHandleScope {
 public:
  CanvasHandleScope(TCanvas& canvas, HDC dc) : canvas_(canvas) { canvas_.SetHandle(dc); }
  ~CanvasHandleScope() noexcept(false) {
    auto release = [this] { canvas_.SetHandle(nullptr); };
    platform::RunUndo(release, uncaught_);
  }
  CanvasHandleScope(const CanvasHandleScope&) = delete;
  CanvasHandleScope& operator=(const CanvasHandleScope&) = delete;

 private:
  TCanvas& canvas_;
  int uncaught_ = std::uncaught_exceptions();
};
