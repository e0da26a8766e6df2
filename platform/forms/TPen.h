// TPen: colour, width, style and mix of the lines a canvas draws.
#pragma once

#include "platform/forms/TColor.h"
#include "platform/forms/TGraphicsObject.h"
#include "platform/gdi/OwnedGdiObject.h"

enum TPenStyle { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
enum TPenMode {
  pmBlack,
  pmWhite,
  pmNop,
  pmNot,
  pmCopy,
  pmNotCopy,
  pmMergePenNot,
  pmMaskPenNot,
  pmMergeNotPen,
  pmMaskNotPen,
  pmMerge,
  pmNotMerge,
  pmMask,
  pmNotMask,
  pmXor,
  pmNotXor
};

class TPen : public TGraphicsObject {
 public:
  ~TPen() override;
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  int Width() const { return width_; }
  void SetWidth(int value);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle value);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode value);
  // The R2_* mix of the mode.
  int Rop2() const;
  HPEN Handle();
  void Assign(TPersistent* source) override;

 private:
  // Drops the handle for a new one and tells the user of the change.
  void Renew();
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
  OwnedGdiObject<HPEN> handle_;
};
