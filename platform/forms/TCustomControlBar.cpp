#include "platform/forms/TCustomControlBar.h"

#include <algorithm>

namespace {
// The handle drawn left of each band and the space around the band.
constexpr int kGrabWidth = 9, kBandMargin = 2;
}  // namespace

TCustomControlBar::TCustomControlBar(TComponent* owner) : TCustomControl(owner) {
  ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csDoubleClicks | csOpaque;
  SetBounds(0, 0, 100, 50);
  SetColor(clBtnFace);
}

void TCustomControlBar::SetRowSize(int value) {
  value = std::max(value, 1);
  if (rowSize_ == value) return;
  rowSize_ = value;
  Realign();
  Invalidate();
}

RECT TCustomControlBar::BandRect(TControl* c) const {
  return RECT{c->Left() - kGrabWidth - kBandMargin, c->Top() - kBandMargin,
              c->Left() + c->Width() + kBandMargin, c->Top() + c->Height() + kBandMargin};
}

void TCustomControlBar::AlignControls(RECT& rect) {
  TCustomControl::AlignControls(rect);
  int x = rect.left, row = 0;
  bool any = false;
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible() || c->Align() != alNone) continue;
    int band = kGrabWidth + c->Width() + 2 * kBandMargin;
    if (any && x + band > rect.right) {
      x = rect.left;
      ++row;
    }
    int top = rect.top + row * rowSize_ + (rowSize_ - c->Height()) / 2;
    c->SetBounds(x + kGrabWidth + kBandMargin, std::max(top, rect.top + row * rowSize_), c->Width(),
                 c->Height());
    x += band;
    any = true;
  }
  rows_ = any ? row + 1 : 0;
}

void TCustomControlBar::AdjustSize() {
  if (!AutoSize() || (ComponentState() & (csLoading | csDestroying))) return;
  int h = std::max(rows_, 1) * rowSize_;
  if (h != Height()) SetBounds(Left(), Top(), Width(), h);
}

void TCustomControlBar::Paint() {
  TCanvas* canvas = Canvas();
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(ClientRect());
  for (int i = 0; i < ControlCount(); ++i) {
    TControl* c = Controls(i);
    if (!c->Visible() || c->Align() != alNone) continue;
    RECT band = BandRect(c);
    Frame3D(canvas, band, clBtnHighlight, clBtnShadow, 1);
    // The grab handle: two raised lines.
    RECT grip{band.left + 2, band.top + 1, band.left + 5, band.bottom - 1};
    Frame3D(canvas, grip, clBtnHighlight, clBtnShadow, 1);
  }
}
