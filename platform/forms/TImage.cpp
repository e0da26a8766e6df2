#include "platform/forms/TImage.h"

TImage::TImage(TComponent* owner) : TGraphicControl(owner), picture_(std::make_unique<TPicture>()) {
  ControlStyle |= csReplicatable;
  SetBounds(0, 0, 105, 105);
  picture_->OnChange = [this](TObject*) { PictureChanged(); };
  picture_->OnProgress = [this](TObject*, TProgressStage, BYTE, bool, const RECT&, const AnsiString&) {
    if (incrementalDisplay_) Repaint();
  };
}

void TImage::ReplacePicture(std::unique_ptr<TPicture> picture) {
  picture->OnChange = std::move(picture_->OnChange);
  picture->OnProgress = std::move(picture_->OnProgress);
  picture_ = std::move(picture);
  PictureChanged();
}

void TImage::PictureChanged() {
  if (TGraphic* g = picture_->Graphic()) {
    if (transparent_ != g->Transparent() && dynamic_cast<TBitmap*>(g)) g->SetTransparent(transparent_);
    if (g->Transparent())
      ControlStyle &= ~csOpaque;
    else if (!stretch_ && !center_ && g->Width() >= Width() && g->Height() >= Height())
      ControlStyle |= csOpaque;
  }
  Invalidate();
}

void TImage::SetStretch(bool value) {
  if (stretch_ == value) return;
  stretch_ = value;
  PictureChanged();
}

void TImage::SetCenter(bool value) {
  if (center_ == value) return;
  center_ = value;
  PictureChanged();
}

void TImage::SetTransparent(bool value) {
  if (transparent_ == value) return;
  transparent_ = value;
  PictureChanged();
}

RECT TImage::DestRect() const {
  int w = picture_->Width(), h = picture_->Height();
  if (stretch_) return RECT{0, 0, Width(), Height()};
  if (center_) {
    int x = (Width() - w) / 2, y = (Height() - h) / 2;
    return RECT{x, y, x + w, y + h};
  }
  return RECT{0, 0, w, h};
}

void TImage::Paint() {
  TGraphic* g = picture_->Graphic();
  if (!g || g->Empty()) return;
  Canvas()->StretchDraw(DestRect(), g);
}
