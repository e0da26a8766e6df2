// TControlScrollBar: one of the two window scroll bars of a scrolling container (scroll box,
// frame). Range is the extent of the content; the bar shows while it is Visible and the range
// is longer than the client area, and moving Position scrolls the container's children.
#pragma once

#include "platform/forms/TScrollBar.h"

class TScrollingWinControl;

enum TScrollBarStyle { ssRegular, ssFlat, ssHotTrack };

class TControlScrollBar : public TPersistent {
 public:
  TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind) : control_(control), kind_(kind) {}

  TScrollBarKind Kind() const { return kind_; }
  // Pixels moved by a click on an arrow.
  int Increment() const { return increment_; }
  void SetIncrement(int value);
  int Position() const { return position_; }
  // Limited to 0 .. Range - client size; scrolls the children by the difference.
  void SetPosition(int value);
  int Range() const { return range_; }
  // Setting the range by hand ends automatic ranges (AutoScroll).
  void SetRange(int value);
  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  // Flat and hot-tracking bars are drawn as ordinary ones.
  TScrollBarStyle Style() const { return style_; }
  void SetStyle(TScrollBarStyle value) { style_ = value; }
  // Whether dragging the thumb scrolls at once or only where it is dropped.
  bool Tracking() const { return tracking_; }
  void SetTracking(bool value) { tracking_ = value; }
  // Shown now: visible and the range longer than the client area.
  bool IsScrollBarVisible() const { return shown_; }
  // How far the position may go.
  int CalcRange() const { return calcRange_; }
  void Assign(TPersistent* source) override;

 private:
  friend class TScrollingWinControl;
  void SetAutoRange(int value) { range_ = std::max(value, 0); }
  // Sends range, page and position to the window's bar after the client size is known.
  void Apply(int clientSize);
  void ScrollMessage(TMessage& message);

  TScrollingWinControl* control_;
  TScrollBarKind kind_;
  int increment_ = 8;
  int position_ = 0;
  int range_ = 0;
  int calcRange_ = 0;
  int page_ = 0;
  bool visible_ = true;
  bool tracking_ = false;
  bool shown_ = false;
  TScrollBarStyle style_ = ssRegular;
};
