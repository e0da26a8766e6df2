#include "controls/TQvBackImage.h"

#include <string>
#include <utility>
#include <vector>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TWinControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"

TQvBackImage::TQvBackImage(TComponent* owner)
    : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
  picture_->OnChange = [this](TObject*) { PictureChanged(); };
  SetBounds(Left(), Top(), 105, 105);
}

TQvBackImage::~TQvBackImage() = default;

void TQvBackImage::SetTransparent(bool value) {
  transparent_ = value;
  Invalidate();
}

void TQvBackImage::SetStyle(TQvBackImageStyle value) {
  style_ = value;
  Invalidate();
}

void TQvBackImage::SetAutoSize(bool value) {
  TGraphicControl::SetAutoSize(value);
  AdjustBounds();
}

void TQvBackImage::Resize() {
  TGraphicControl::Resize();
  AdjustBounds();
}

void TQvBackImage::PictureChanged() { AdjustBounds(); }

void TQvBackImage::AdjustBounds() {
  TGraphic* g = picture_->Graphic();
  if (AutoSize() && g && !g->Empty()) SetBounds(Left(), Top(), picture_->Width(), picture_->Height());
  Invalidate();
}

void TQvBackImage::Paint() {
  if (!PaintPicture(picture_.get())) PaintDefault();
}

bool TQvBackImage::PaintPicture(TPicture* picture) {
  return PaintStyledPicture(Canvas(), picture, Width(), Height(), style_, transparent_);
}

bool PaintStyledPicture(TCanvas* c, TPicture* picture, int width, int height, TQvBackImageStyle style,
                        bool transparent) {
  TGraphic* g = picture ? picture->Graphic() : nullptr;
  if (!g || g->Empty()) return false;
  g->SetTransparent(transparent);
  const int pw = picture->Width(), ph = picture->Height();
  switch (style) {
    case qvbmsCenter:
      c->Draw((width - pw) / 2, (height - ph) / 2, g);
      break;
    case qvbmsTiled: {
      const int stepX = pw > 0 ? pw : 1, stepY = ph > 0 ? ph : 1;
      for (int y = 0; y < height; y += stepY)
        for (int x = 0; x < width; x += stepX) c->Draw(x, y, g);
      break;
    }
    case qvbmsStretch:
      c->StretchDraw(RECT{0, 0, width, height}, g);
      break;
    default:
      c->Draw(0, 0, g);
      break;
  }
  return true;
}

void TQvBackImage::PaintDefault() {
  // An outline that shows on any background and goes away when painted again.
  TCanvas* c = Canvas();
  c->Pen()->SetMode(pmXor);
  c->Pen()->SetColor(clWhite);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(0, 0, Width(), Height());
}

bool TQvBackImage::ApplyShapeTo(TWinControl* control, bool redraw) {
  return ApplyShapeTo(control, picture_->Graphic(), redraw);
}

bool TQvBackImage::ApplyShapeTo(TWinControl* control, TGraphic* graphic, bool redraw) {
  if (!graphic || !control || graphic->Empty()) return false;
  const int w = graphic->Width(), h = graphic->Height();
  if (w < 1 || h < 1) return false;
  TBitmap pixels;
  pixels.SetPixelFormat(pf32bit);
  pixels.SetSize(w, h);
  pixels.Canvas()->Draw(0, 0, graphic);
  // The colour decides, not the fourth byte a 32-bit picture may carry.
  constexpr std::uint32_t kColour = 0xFFFFFF;
  const auto key = static_cast<const std::uint32_t*>(pixels.ScanLine(0))[0] & kColour;
  OwnedGdiObject<HRGN> region;
  for (int y = 0; y < h; ++y) {
    const auto* row = static_cast<const std::uint32_t*>(pixels.ScanLine(y));
    for (int x = 0; x < w;) {
      if ((row[x] & kColour) == key) {
        ++x;
        continue;
      }
      int end = x + 1;
      while (end < w && (row[end] & kColour) != key) ++end;
      OwnedGdiObject<HRGN> run(CreateRectRgn(x, y, end, y + 1));
      if (!region)
        region = std::move(run);
      else
        CombineRgn(region, region, run, RGN_OR);
      x = end;
    }
  }
  if (!region || !SetWindowRgn(control->Handle(), region, redraw)) return false;
  // The window owns the region once it takes it.
  region.Release();
  return true;
}

void RegisterQvBackImage() {
  static bool done = false;
  if (done) return;
  done = true;
  static const std::vector<std::string> styleNames{"qvbmsNormal", "qvbmsCenter", "qvbmsTiled",
                                                   "qvbmsStretch"};
  using T = TQvBackImage;
  RegisterProperties<T>("TQvBackImage", "TGraphicControl", Factory<T>())
      .Object("Picture", &T::Picture)
      .Bool("Transparent", &T::Transparent, &T::SetTransparent, false)
      .Enum("Style", &T::Style, &T::SetStyle, qvbmsTiled, &styleNames)
      .Bool("AutoSize", &T::AutoSize, &T::SetAutoSize, false);
}
