// TShape: a windowless rectangle, square, rounded rectangle or square, ellipse or circle drawn
// with its own pen and brush; squares and circles are centred in the control.
#pragma once

#include "platform/forms/TGraphicControl.h"

enum TShapeType { stRectangle, stSquare, stRoundRect, stRoundSquare, stEllipse, stCircle };

class TShape : public TGraphicControl {
 public:
  explicit TShape(TComponent* owner);
  TShapeType Shape() const { return shape_; }
  void SetShape(TShapeType value);
  TPen* Pen() { return &pen_; }
  TBrush* Brush() { return &brush_; }

 protected:
  void Paint() override;

 private:
  TShapeType shape_ = stRectangle;
  TPen pen_;
  TBrush brush_;
};
