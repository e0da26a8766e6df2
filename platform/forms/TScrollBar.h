// TScrollBar: the form library's scroll bar over the system "SCROLLBAR" class. The bar reports
// arrows, page clicks and thumb drags to its parent, which reflects them back as CN_HSCROLL or
// CN_VSCROLL; the control works out the new position, offers it to OnScroll (which may change
// it) and then moves to it, firing OnChange when it moved.
#pragma once

#include "platform/forms/TWinControl.h"

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode {
  scLineUp,
  scLineDown,
  scPageUp,
  scPageDown,
  scPosition,
  scTrack,
  scTop,
  scBottom,
  scEndScroll
};
using TScrollEvent = std::function<void(TObject* sender, TScrollCode scrollCode, int& scrollPos)>;

class TScrollBar : public TWinControl {
 public:
  explicit TScrollBar(TComponent* owner);

  TScrollBarKind Kind() const { return kind_; }
  // Turns the bar: width and height swap and the window is made again.
  void SetKind(TScrollBarKind value);
  int Min() const { return min_; }
  void SetMin(int value);
  int Max() const { return max_; }
  void SetMax(int value);
  int Position() const { return position_; }
  void SetPosition(int value);
  int PageSize() const { return pageSize_; }
  // Limited to the range's length.
  void SetPageSize(int value);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int value) { smallChange_ = value; }
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int value) { largeChange_ = value; }
  // Sets position and range at once; the position is limited to the range. A range whose
  // maximum is below its minimum raises EInvalidOperation.
  void SetParams(int position, int min, int max);

  void Dispatch(void* message) override;

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Loaded() override;
  virtual void Change();
  virtual void Scroll(TScrollCode scrollCode, int& scrollPos);

 private:
  void DoScroll(TMessage& message);
  void SendPage();

  TScrollBarKind kind_ = sbHorizontal;
  int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
  int smallChange_ = 1, largeChange_ = 1;
};
