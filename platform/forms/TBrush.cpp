#include "platform/forms/TBrush.h"

#include <utility>

#include "platform/gdi/Gdi.h"

TBrush::~TBrush() = default;

void TBrush::Renew() {
  // The canvas selects a new handle when told of the change; only then is the replaced one free
  // to be deleted (a selected object is not).
  OwnedGdiObject<HBRUSH> replaced(std::move(handle_));
  Changed();
}

void TBrush::SetColor(TColor value) {
  if (color_ == value) return;
  color_ = value;
  // Classic rule: choosing a colour for a clear brush makes it solid again.
  if (style_ == bsClear) style_ = bsSolid;
  Renew();
}

void TBrush::SetStyle(TBrushStyle value) {
  if (style_ == value) return;
  style_ = value;
  Renew();
}

HBRUSH TBrush::Handle() {
  if (!handle_) {
    LOGBRUSH lb{BS_SOLID, ColorToRGB(color_), 0};
    if (style_ == bsClear) {
      lb.lbStyle = BS_NULL;
    } else if (style_ != bsSolid) {
      lb.lbStyle = BS_HATCHED;
      lb.lbHatch = static_cast<ULONG_PTR>(style_ - bsHorizontal);
    }
    handle_.Reset(CreateBrushIndirect(&lb));
  }
  return handle_;
}

void TBrush::Assign(TPersistent* source) {
  if (auto* brush = dynamic_cast<TBrush*>(source)) {
    color_ = brush->color_;
    style_ = brush->style_;
    Renew();
    return;
  }
  TPersistent::Assign(source);
}
