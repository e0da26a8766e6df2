#include "platform/forms/TPen.h"

#include <utility>

#include "platform/gdi/Gdi.h"

TPen::~TPen() = default;

void TPen::Renew() {
  // The canvas selects a new handle when told of the change; only then is the replaced one free
  // to be deleted (a selected object is not).
  OwnedGdiObject<HPEN> replaced(std::move(handle_));
  Changed();
}

void TPen::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  Renew();
}
void TPen::SetWidth(int value) {
  if (width_ == value || value < 0) return;
  width_ = value;
  Renew();
}
void TPen::SetStyle(TPenStyle value) {
  if (style_ == value) return;
  style_ = value;
  Renew();
}
void TPen::SetMode(TPenMode value) {
  if (mode_ == value) return;
  mode_ = value;
  Changed();
}

int TPen::Rop2() const {
  static const int mixes[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                              R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                              R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                              R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
  return mixes[mode_];
}

HPEN TPen::Handle() {
  if (!handle_) {
    static const UINT styles[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                  PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    handle_.Reset(CreatePen(static_cast<int>(styles[style_]), width_, ColorToRGB(color_)));
  }
  return handle_;
}

void TPen::Assign(TPersistent* source) {
  if (auto* pen = dynamic_cast<TPen*>(source)) {
    color_ = pen->color_;
    width_ = pen->width_;
    style_ = pen->style_;
    mode_ = pen->mode_;
    Renew();
    return;
  }
  TPersistent::Assign(source);
}
