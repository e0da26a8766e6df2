#include "platform/forms/TCustomPanel.h"

#include <algorithm>

#include "platform/gdi/Gdi.h"
#include "platform/win/Win.h"

namespace {
// The sunken client edge of a single border, as the window system draws it.
constexpr int kClientEdge = 2;
}  // namespace

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
  ControlStyle = csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csOpaque |
                 csDoubleClicks | csReplicatable;
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::BordersChanged() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel value) {
  if (bevelInner_ == value) return;
  bevelInner_ = value;
  BordersChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel value) {
  if (bevelOuter_ == value) return;
  bevelOuter_ = value;
  BordersChanged();
}

void TCustomPanel::SetBevelWidth(int value) {
  value = std::max(value, 1);
  if (bevelWidth_ == value) return;
  bevelWidth_ = value;
  BordersChanged();
}

void TCustomPanel::SetBorderWidth(int value) {
  value = std::max(value, 0);
  if (borderWidth_ == value) return;
  borderWidth_ = value;
  BordersChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
  if (value != bsNone) value = bsSingle;
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  // The window system fixes the edge when it makes the window.
  RecreateWnd();
  Realign();
}

RECT TCustomPanel::ClientRect() const {
  int edge = borderStyle_ == bsSingle ? kClientEdge : 0;
  return RECT{0, 0, std::max(Width() - 2 * edge, 0), std::max(Height() - 2 * edge, 0)};
}

void TCustomPanel::CreateParams(TCreateParams& params) {
  TCustomControl::CreateParams(params);
  if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
  // The panel repaints what a resize changes; its caption may be centred, so keep full redraws.
}

void TCustomPanel::AdjustClientRect(RECT& rect) {
  TCustomControl::AdjustClientRect(rect);
  int inset = borderWidth_;
  if (bevelOuter_ != bvNone) inset += bevelWidth_;
  if (bevelInner_ != bvNone) inset += bevelWidth_;
  InflateRect(&rect, -inset, -inset);
}

void TCustomPanel::Paint() {
  TCanvas* canvas = Canvas();
  RECT r = ClientRect();
  auto colors = [](TPanelBevel bevel, TColor& top, TColor& bottom) {
    top = bevel == bvLowered ? clBtnShadow : clBtnHighlight;
    bottom = bevel == bvLowered ? clBtnHighlight : clBtnShadow;
  };
  TColor top = 0, bottom = 0;
  if (bevelOuter_ != bvNone) {
    colors(bevelOuter_, top, bottom);
    Frame3D(canvas, r, top, bottom, bevelWidth_);
  }
  Frame3D(canvas, r, Color(), Color(), borderWidth_);
  if (bevelInner_ != bvNone) {
    colors(bevelInner_, top, bottom);
    Frame3D(canvas, r, top, bottom, bevelWidth_);
  }
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(r);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->Assign(Font());
  int fontHeight = canvas->TextHeight("W");
  r.top = (r.bottom + r.top - fontHeight) / 2;
  r.bottom = r.top + fontHeight;
  static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  AnsiString caption = Caption();
  DrawTextA(canvas->Handle(), caption.c_str(), -1, &r, DT_EXPANDTABS | DT_VCENTER | alignments[alignment_]);
}
