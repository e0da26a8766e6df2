// TSplitter: a windowless bar between a control aligned to an edge and the rest of its parent;
// dragging it resizes that control, keeping both sides at least MinSize.
#pragma once

#include "platform/forms/TGraphicControl.h"

using TCanResizeEvent = std::function<void(TObject* sender, int& newSize, bool& accept)>;

class TSplitter : public TGraphicControl {
 public:
  explicit TSplitter(TComponent* owner);
  int MinSize() const { return minSize_; }
  void SetMinSize(int value) { minSize_ = value < 1 ? 1 : value; }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool value);
  // The control the splitter resizes: the one aligned to the same edge, next to it.
  TControl* FindResizeControl() const;

  TCanResizeEvent OnCanResize;
  TNotifyEvent OnMoved;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

 private:
  bool Horizontal() const { return Align() == alTop || Align() == alBottom; }
  int Room() const;

  int minSize_ = 30;
  bool beveled_ = false;
  TControl* control_ = nullptr;
  int downPos_ = 0, startSize_ = 0;
  bool moved_ = false;
};
