// TBrush: the colour and style a canvas fills with; bsClear also makes text transparent.
#pragma once

#include "platform/forms/TColor.h"
#include "platform/forms/TGraphicsObject.h"
#include "platform/gdi/OwnedGdiObject.h"

enum TBrushStyle {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

class TBrush : public TGraphicsObject {
 public:
  ~TBrush() override;
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle value);
  HBRUSH Handle();
  void Assign(TPersistent* source) override;

 private:
  // Drops the handle for a new one and tells the user of the change.
  void Renew();
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  OwnedGdiObject<HBRUSH> handle_;
};
