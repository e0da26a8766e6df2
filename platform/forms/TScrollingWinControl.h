// TScrollingWinControl: a container whose children may reach beyond its client area, with a
// horizontal and a vertical TControlScrollBar. With AutoScroll the ranges follow the children's
// extent; scrolling moves every child (aligned ones too) by the change of position. The scroll
// box and frames are built on it.
#pragma once

#include "platform/forms/TControlScrollBar.h"
#include "platform/forms/TWinControl.h"

class TScrollingWinControl : public TWinControl {
 public:
  explicit TScrollingWinControl(TComponent* owner);
  ~TScrollingWinControl() override;

  TControlScrollBar* HorzScrollBar() { return &horz_; }
  TControlScrollBar* VertScrollBar() { return &vert_; }
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value);
  // Moves every child by (dx, dy) and repaints.
  void ScrollBy(int dx, int dy);
  // Scrolls until `control`, a child, is wholly in view (as far as it fits).
  void ScrollInView(TControl* control);

  RECT ClientRect() const override;
  void Dispatch(void* message) override;

 protected:
  friend class TControlScrollBar;
  void CreateParams(TCreateParams& params) override;
  void AdjustClientRect(RECT& rect) override;
  void AlignControls(RECT& rect) override;
  // The width of the edge the window system draws inside the bounds (0 without a border).
  virtual int BorderEdge() const { return 0; }
  // Works out which bars show and hands them their ranges; true when a bar appeared or went
  // (the client area changed).
  bool UpdateScrollBars();

 private:
  void CalcAutoRange();
  void ShowBars(bool horz, bool vert);

  TControlScrollBar horz_{this, sbHorizontal};
  TControlScrollBar vert_{this, sbVertical};
  bool autoScroll_ = true;
  bool scrolling_ = false;
  bool updatingBars_ = false;
};
