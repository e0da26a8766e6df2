#include "controls/TCustomImButton.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "controls/FrameDrawing.h"
#include "controls/ParentImage.h"
#include "controls/TQvBackImage.h"
#include "platform/controls/Controls.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/TBitmap.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"

namespace {

UINT FormatOf(TalignType align) {
  switch (align) {
    case TalignType::alTop:
      return 0x21;
    case TalignType::alBottom:
      return 0x29;
    case TalignType::alRight:
      return 0x26;
    case TalignType::alLeft:
      return 0x24;
    default:
      return 0x25;
  }
}

bool Usable(TPicture* p) { return p && p->Graphic() && !p->Graphic()->Empty(); }

RECT Inset(const RECT& r, int n) { return RECT{r.left + n, r.top + n, r.right - n, r.bottom - n}; }
RECT Moved(const RECT& r, int d) { return RECT{r.left + d, r.top + d, r.right + d, r.bottom + d}; }

void Line(TCanvas* c, int x0, int y0, int x1, int y1, TColor color) {
  c->Pen()->SetColor(color);
  c->MoveTo(x0, y0);
  c->LineTo(x1, y1);
}

// Runs an event handler; an Exception it raises goes no further.
template <class F>
void Guarded(F f) {
  try {
    f();
  } catch (const Exception&) {
  }
}

}  // namespace

TCustomImButton::TCustomImButton(TComponent* owner)
    : TButton(owner),
      colors_(std::make_unique<TImButtonColors>(this)),
      hoverTimer_(std::make_unique<TTimer>(nullptr)),
      animatePicture_(std::make_unique<TPicture>()),
      picture_(std::make_unique<TPicture>()),
      maskPicture_(std::make_unique<TPicture>()) {
  SetColor(clBtnFace);
  SetCursor(crHandPoint);
  hoverTimer_->SetEnabled(false);
  hoverTimer_->SetInterval(200);
  hoverTimer_->OnTimer = [this](TObject*) { HoverTick(); };
  picture_->OnChange = [this](TObject*) { Invalidate(); };
  animatePicture_->OnChange = [this](TObject*) { Invalidate(); };
  maskPicture_->OnChange = [this](TObject*) { MaskPictureChanged(); };
}

TCustomImButton::~TCustomImButton() { hoverTimer_.reset(); }

void TCustomImButton::CreateParams(TCreateParams& params) {
  TButton::CreateParams(params);
  params.Style |= BS_OWNERDRAW;
}

void TCustomImButton::CreateWnd() {
  TButton::CreateWnd();
  if (looks_ == ibkWindowsXP) ApplyCornerRegion();
  if (Usable(maskPicture_.get())) MaskPictureChanged();
}

void TCustomImButton::SetButtonStyle(bool isDefault) {
  // The face shows the default state itself; the window style stays owner-drawn.
  if (isDefault == isDefault_) return;
  isDefault_ = isDefault;
  Invalidate();
}

void TCustomImButton::SetFontAlign(TalignType value) {
  fontAlign_ = value;
  captionFormat_ = FormatOf(value);
  Invalidate();
}

void TCustomImButton::SetLooks(TImBtnKind value) {
  looks_ = value;
  if (value == ibkUltraFlat) {
    colors_->SetDefaultColor(0x800000);
    colors_->SetPushedColor(0xB5B5B5);
    colors_->SetHotColor(0xF0C8C0);
  } else {
    colors_->ResetToDefault();
  }
  focusRect_ = true;
  if (HandleAllocated()) {
    if (value == ibkWindowsXP)
      ApplyCornerRegion();
    else
      SetWindowRgn(Handle(), nullptr, FALSE);
  }
  Invalidate();
}

void TCustomImButton::ApplyCornerRegion() {
  if (!HandleAllocated()) return;
  const int w = Width(), h = Height();
  OwnedGdiObject<HRGN> region(CreateRectRgn(0, 0, w, h));
  for (POINT corner : {POINT{0, 0}, POINT{w - 1, 0}, POINT{0, h - 1}, POINT{w - 1, h - 1}}) {
    const OwnedGdiObject<HRGN> dot(CreateRectRgn(corner.x, corner.y, corner.x + 1, corner.y + 1));
    CombineRgn(region, region, dot, RGN_DIFF);
  }
  // The window owns the region once it takes it.
  if (SetWindowRgn(Handle(), region, FALSE)) region.Release();
}

void TCustomImButton::MaskPictureChanged() {
  if (!HandleAllocated()) return;  // applied when the window is made
  TGraphic* mask = maskPicture_->Graphic();
  if (mask && !mask->Empty()) {
    SetBounds(Left(), Top(), mask->Width(), mask->Height());
    if (TQvBackImage::ApplyShapeTo(this, mask, true)) return;
  }
  SetWindowRgn(Handle(), nullptr, TRUE);
}

// ---- mouse

void TCustomImButton::HotStart() {
  hot_ = true;
  counter_ = 0;
  if (down_ && !pushed_) pushed_ = true;
  Invalidate();
  hoverTimer_->SetEnabled(true);
}

void TCustomImButton::HotEnd(bool notify) {
  hoverTimer_->SetEnabled(false);
  hot_ = false;
  counter_ = 0;
  pushed_ = false;
  if (notify && OnMouseLeave) Guarded([&] { OnMouseLeave(this); });
  Invalidate();
}

void TCustomImButton::HoverTick() {
  POINT p{};
  if (GetCursorPos(&p)) {
    const POINT c = ScreenToClient(p);
    if (c.x < 0 || c.y < 0 || c.x >= Width() || c.y >= Height()) {
      HotEnd(true);
      return;
    }
  }
  if (animated_) {
    Invalidate();
    Update();
  }
}

void TCustomImButton::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      if (!hot_) {
        const unsigned x = static_cast<unsigned>(m.LParam & 0xFFFF),
                       y = static_cast<unsigned>((m.LParam >> 16) & 0xFFFF);
        if (x < static_cast<unsigned>(Width()) && y < static_cast<unsigned>(Height()))
          Perform(CM_MOUSEENTER, 0, 0);
      }
      break;
    case WM_LBUTTONDOWN:
      if (!down_) {
        down_ = pushed_ = true;
        Invalidate();
      }
      break;
    case WM_LBUTTONUP:
      if (down_ || pushed_) {
        down_ = pushed_ = false;
        Invalidate();
      }
      break;
    case WM_ERASEBKGND:
      m.Result = 1;
      return;
  }
  TButton::WndProc(m);
  if (m.Msg == WM_SIZE && looks_ == ibkWindowsXP) ApplyCornerRegion();
}

void TCustomImButton::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  const bool self = m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this);
  switch (m.Msg) {
    case WM_LBUTTONDBLCLK:
      // A double click is a second press.
      m.Msg = WM_LBUTTONDOWN;
      break;
    case CM_ENABLEDCHANGED:
    case CM_FONTCHANGED:
      TButton::Dispatch(message);
      Invalidate();
      return;
    case CM_MOUSEENTER:
      if (self) {
        if (hot_) return;  // already entered: one enter per visit
        HotStart();
      }
      break;  // the form library fires OnMouseEnter and tells the parent
    case CM_MOUSELEAVE:
      if (self) {
        if (!hot_) return;
        HotEnd(false);
      }
      break;
    case CN_DRAWITEM:
      if (!drawing_) {
        drawing_ = true;
        const platform::ScopeExit done([this] { drawing_ = false; });
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam));
      }
      m.Result = 1;
      return;
    case CN_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(m.LParam);
      item->itemWidth = static_cast<UINT>(Width());
      item->itemHeight = static_cast<UINT>(Height());
      m.Result = 1;
      return;
    }
  }
  TButton::Dispatch(message);
}

// ---- drawing

TColor TCustomImButton::ButtonColor(int state) const {
  TColor c = (state & ibsDisabled) ? colors_->DisabledColor()
             : (state & ibsPushed) ? colors_->PushedColor()
             : (state & ibsHot)    ? colors_->HotColor()
                                   : Color();
  return c == clDefault ? Color() : c;
}

TColor TCustomImButton::FrameColor(int state) const {
  if ((state & (ibsFocused | ibsDefault)) && colors_->DefaultColor() != clDefault)
    return colors_->DefaultColor();
  return clWindowFrame;
}

TCustomImButton::Frame TCustomImButton::ChooseFrame(int state) {
  Frame f;
  if (state & ibsDisabled) {
    f = {picture_.get(), 1, pictureCount_};
  } else if (state & ibsPushed) {
    f = {picture_.get(), 2, pictureCount_};
  } else if (state & ibsHot) {
    if (animated_ && Usable(animatePicture_.get()))
      f = {animatePicture_.get(), counter_++, animatedCount_};
    else
      f = {picture_.get(), 3, pictureCount_};
  } else {
    f = {picture_.get(), 0, pictureCount_};
  }
  if (!Usable(f.picture)) f.picture = nullptr;
  return f;
}

void TCustomImButton::DrawItem(const DRAWITEMSTRUCT& item) {
  int state = 0;
  if ((item.itemState & ODS_SELECTED) || pushed_) state |= ibsPushed;
  if (item.itemState & ODS_FOCUS) state |= ibsFocused;
  if (hot_) state |= ibsHot;
  if (animated_) state |= ibsAnimated;
  if (!Enabled()) state |= ibsDisabled;
  if (isDefault_) state |= ibsDefault;

  TCanvas canvas;
  canvas.SetHandle(item.hDC);
  canvas.Font()->Assign(Font());
  if ((state & ibsHot) && Enabled()) canvas.Font()->SetColor(hotTextColor_);
  canvas.Brush()->SetStyle(bsClear);
  if (!Enabled()) canvas.Font()->SetColor(disableCapColor_);
  const RECT r = item.rcItem;

  if (transparent_ && Parent() && Parent()->Width() > 0 && Parent()->Height() > 0)
    DrawParentImage(this, canvas.Handle());
  if (defaultDraw_ || !OnOwnerDraw) {
    if (looks_ == ibkFullPicture)
      DrawFullPicture(&canvas, r, state);
    else
      DrawPlainFace(&canvas, r, state);
  }
  if (OnOwnerDraw) Guarded([&] { OnOwnerDraw(this, &canvas, r, state, counter_); });
  canvas.SetHandle(nullptr);
}

void TCustomImButton::DrawFullPicture(TCanvas* canvas, const RECT& r, int state) {
  Frame f = ChooseFrame(state);
  if (!f.picture) {
    DrawPlainFace(canvas, r, state);
    return;
  }
  const int pw = f.picture->Width(), ph = f.picture->Height();
  int count = f.count;
  if (count == 0) count = Height() > 0 ? ph / Height() : 0;
  if (count == 0) count = 1;
  if (f.index >= count) {
    f.index = 0;
    counter_ = 1;
  }
  const int fh = ph / count, fw = pw;
  if (fw <= 0 || fh <= 0) {
    // More frames than the strip has rows: no frame is usable, and nothing gets stretched.
    DrawPlainFace(canvas, r, state, false);
    return;
  }
  TGraphic* g = f.picture->Graphic();
  const AnsiString kind = g->ClassName();
  if (kind == "TBitmap") {
    TBitmap frame;
    frame.SetPixelFormat(pf32bit);
    frame.SetSize(fw, fh);
    TBitmap* strip = f.picture->Bitmap();
    const bool wasTransparent = strip->Transparent();
    strip->SetTransparent(false);
    frame.Canvas()->CopyRect(RECT{0, 0, fw, fh}, strip->Canvas(),
                             RECT{0, f.index * fh, fw, (f.index + 1) * fh});
    strip->SetTransparent(wasTransparent);
    frame.SetPixelFormat(pfDevice);
    frame.SetTransparent(transparent_);
    canvas->StretchDraw(r, &frame);
  } else if (kind == "TIcon") {
    canvas->Draw(r.left, r.top, g);
  }
  if (showFullPicCaption_) {
    const int d = (state & ibsPushed) ? 1 : 0;
    DrawCaption(canvas, Moved(Inset(r, 3), d), Moved(Inset(r, 4), d), state);
  }
}

void TCustomImButton::DrawPlainFace(TCanvas* canvas, const RECT& r, int state, bool withGlyph) {
  const AnsiString caption = Caption();
  RECT measured{0, 0, 0, 0};
  DrawTextA(canvas->Handle(), caption.c_str(), -1, &measured, 0x425);
  const int measuredWidth = measured.right - measured.left;
  const int centerX = (r.left + r.right) / 2;
  int captionWidth = std::min(measuredWidth, Width() - 10);
  const bool xp = looks_ == ibkWindowsXP;
  const bool pushed = (state & ibsPushed) != 0;
  RECT focus = Inset(r, xp ? 2 : 4);
  RECT text{centerX - measuredWidth / 2, focus.top + 1, centerX - measuredWidth / 2 + captionWidth,
            focus.bottom - 1};
  if (pushed) {
    if (!xp) focus = Moved(focus, 1);
    text = Moved(text, 1);
  }
  DrawFrameRect(canvas, r, state);

  Frame f = withGlyph ? ChooseFrame(state) : Frame{};
  int fw = 0, fh = 0;
  if (f.picture) {
    const int pw = f.picture->Width(), ph = f.picture->Height();
    int count = f.count;
    if (count == 0) count = ph > 0 ? pw / ph : 0;
    if (count == 0) count = 1;
    if (f.index >= count) {
      f.index = 0;
      counter_ = 1;
    }
    fw = pw / count;
    fh = ph;
  }
  // A glyph strip narrower than its frame count has no usable glyph.
  if (f.picture && fw > 0 && fh > 0) {
    captionWidth = std::min(captionWidth, Width() - fw - spacing_ - 10);
    const int glyphLeft = centerX - (spacing_ + captionWidth + fw) / 2;
    RECT glyph{glyphLeft, (Height() - fh) / 2, glyphLeft + fw, (Height() + fh) / 2};
    const int textLeft = glyphLeft + fw + spacing_;
    text = RECT{textLeft, focus.top + 1, textLeft + captionWidth, focus.bottom - 1};
    if (pushed) {
      glyph = Moved(glyph, 1);
      text = RECT{textLeft + 1, text.top, textLeft + 1 + captionWidth, text.bottom};
      if (xp) text = Moved(RECT{textLeft, focus.top + 1, textLeft + captionWidth, focus.bottom - 1}, 1);
    }
    DrawGlyph(canvas, f, glyph, fw, state);
  }
  DrawCaption(canvas, focus, text, state);
}

void TCustomImButton::DrawGlyph(TCanvas* canvas, const Frame& f, const RECT& glyph, int fw, int state) {
  TGraphic* g = f.picture->Graphic();
  if (g->ClassName() != "TBitmap") {
    if (g->ClassName() == "TIcon") canvas->Draw(glyph.left, glyph.top, g);
    return;
  }
  TBitmap* strip = f.picture->Bitmap();
  const int fh = glyph.bottom - glyph.top;
  TBitmap frame;
  frame.SetPixelFormat(pf32bit);
  frame.SetSize(fw, fh);
  if ((state & ibsDisabled) && f.index == 0) {
    // No disabled frame in the strip: an embossed outline of its dark pixels instead.
    TBitmap ink;
    ink.SetPixelFormat(pf32bit);
    ink.SetSize(fw, fh);
    ink.Canvas()->Brush()->SetColor(clWhite);
    ink.Canvas()->FillRect(RECT{0, 0, fw, fh});
    ink.Canvas()->Draw(-f.index * fw, 0, strip);
    for (const auto& [dx, color] : {std::pair{1, clBtnHighlight}, std::pair{0, clBtnShadow}}) {
      for (int y = 0; y < fh; ++y)
        for (int x = 0; x < fw; ++x)
          if ((ink.Canvas()->Pixels(x, y) & 0xFFFFFF) != 0xFFFFFF)
            canvas->SetPixels(glyph.left + x + dx, glyph.top + y + dx, color);
    }
    canvas->CopyMode = cmSrcCopy;
    return;
  }
  frame.Canvas()->CopyRect(RECT{0, 0, fw, fh}, canvas, glyph);
  strip->SetTransparent(true);
  frame.Canvas()->Draw(-f.index * fw, 0, strip);
  canvas->Draw(glyph.left, glyph.top, &frame);
}

void TCustomImButton::DrawCaption(TCanvas* canvas, const RECT& focus, const RECT& text, int state) {
  if ((state & ibsFocused) && focusRect_) {
    canvas->Brush()->SetColor(ButtonColor(state));
    canvas->DrawFocusRect(focus);
  }
  canvas->Brush()->SetStyle(bsClear);
  if (state & ibsDisabled) canvas->Font()->SetColor(disableCapColor_);
  RECT r = text;
  HDC dc = canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  DrawTextA(dc, Caption().c_str(), -1, &r, captionFormat_);
}

void TCustomImButton::DrawFrameRect(TCanvas* c, const RECT& item, int state) {
  const bool pushed = (state & ibsPushed) != 0, hot = (state & ibsHot) != 0;
  const bool focusedOrDefault = (state & (ibsFocused | ibsDefault)) != 0;
  int l = item.left, t = item.top, r = item.right - 1, b = item.bottom - 1;
  auto fill = [&](const RECT& inner) {
    if (transparent_) return;
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(ButtonColor(state));
    c->FillRect(inner);
  };
  auto outline = [&] {
    c->Pen()->SetColor(FrameColor(state));
    c->Brush()->SetStyle(bsClear);
    c->Rectangle(item);
    ++l;
    ++t;
    r = item.right - 2;
    b = item.bottom - 2;
  };
  switch (looks_) {
    case ibkFlat: {
      bool framed = false;
      if (Enabled() && (pushed || hot)) {
        if (pushed)
          DrawRaisedEdge(c, l, t, r, b, 0x808080, clWhite);
        else
          DrawRaisedEdge(c, l, t, r, b, clWhite, 0x808080);
        framed = true;
      }
      fill(framed ? Inset(item, 1) : item);
      break;
    }
    case ibkBevelFlat:
      if (focusedOrDefault) outline();
      if (pushed)
        DrawRaisedEdge(c, l, t, r, b, 0x808080, clWhite);
      else
        DrawRaisedEdge(c, l, t, r, b, clWhite, 0x808080);
      fill(RECT{l + 1, t + 1, r, b});
      break;
    case ibkUltraFlat:
      c->Pen()->SetColor(FrameColor(state));
      c->Brush()->SetStyle(bsSolid);
      c->Brush()->SetColor(ButtonColor(state));
      c->Rectangle(item);
      if (focusedOrDefault) {
        c->Brush()->SetStyle(bsClear);
        c->Rectangle(Inset(item, 1));
      }
      break;
    case ibkWindowsXP:
      DrawWindowsXPFace(c, item, state);
      break;
    default:  // ibkNormal, and a full-picture button without a picture
      if (focusedOrDefault) outline();
      if (pushed)
        DrawRaisedEdge(c, l, t, r, b, 0x404040, clWhite);
      else
        DrawRaisedEdge(c, l, t, r, b, clWhite, 0x404040);
      Line(c, l + 1, b - 1, l + 1, t + 1, pushed ? 0x808080 : 0xDFDFDF);
      c->LineTo(r - 1, t + 1);
      c->Pen()->SetColor(pushed ? 0xDFDFDF : 0x808080);
      c->LineTo(r - 1, b - 1);
      c->LineTo(l + 1, b - 1);
      fill(RECT{l + 2, t + 2, r - 1, b - 1});
      break;
  }
  c->Brush()->SetStyle(bsClear);
}

void TCustomImButton::DrawWindowsXPFace(TCanvas* c, const RECT& item, int state) {
  const int l = item.left, t = item.top, r = item.right - 1, b = item.bottom - 1;
  const int h = item.bottom - item.top;
  // Colours given as numbers are in blue-green-red order; rgb() takes red, green, blue.
  auto rgb = [](int red, int green, int blue) {
    return static_cast<TColor>(
        RGB(static_cast<BYTE>(red), static_cast<BYTE>(green), static_cast<BYTE>(blue)));
  };
  auto hline = [&](int y, TColor color) { Line(c, l + 1, y, r, y, color); };
  auto edges = [&](TColor e1, TColor e2, TColor e3, TColor e4) {
    hline(t + 1, e1);
    hline(t + 2, e2);
    hline(b - 2, e3);
    hline(b - 1, e4);
  };
  if (!(state & ibsPushed)) {
    for (int s = 0; s <= h - 3; ++s) {
      const double w = h > 2 ? static_cast<double>(s) / (h - 2) : 0;
      hline(t + s, rgb(static_cast<int>(std::lround(255 - 29 * w * w)),
                       static_cast<int>(std::lround(255 - 32 * w * w)),
                       static_cast<int>(std::lround(255 - 41 * w * w))));
    }
    const int n = b - t - 3;
    if (state & ibsHot) {
      for (int k = 0; k < n; ++k) {
        const TColor outer = rgb(238 + 10 * k / n, 220 - 42 * k / n, 173 - 125 * k / n);
        const TColor inner = rgb(253 - 5 * k / n, 216 - 38 * k / n, 137 - 79 * k / n);
        c->SetPixels(l + 1, t + k + 2, outer);
        c->SetPixels(r - 1, t + k + 2, outer);
        c->SetPixels(l + 2, t + k + 2, inner);
        c->SetPixels(r - 2, t + k + 2, inner);
      }
      edges(0xD8E9FF, 0x89D8FD, 0x30B2F8, 0x0097E5);
    } else if (state & (ibsFocused | ibsDefault)) {
      for (int k = 0; k < n; ++k) {
        const TColor side = rgb(188 - 51 * k / n, 212 - 39 * k / n, 246 - 18 * k / n);
        for (int x : {l + 1, r - 1, l + 2, r - 2}) c->SetPixels(x, t + k + 2, side);
      }
      edges(0xFFE7CE, 0xF6D4BC, 0xE4AD89, 0xEE8269);
    } else {
      hline(b - 1, 0xC5D0D6);
      Line(c, r - 1, t + 1, r - 1, b, 0xE6EAED);
    }
  } else {
    for (int s = 0; s <= h - 7; ++s) {
      const double w = h > 6 ? static_cast<double>(s) / (h - 6) : 0;
      hline(t + s + 3, rgb(static_cast<int>(std::lround(229 - 3 * w * w)),
                           static_cast<int>(std::lround(228 - 2 * w * w)),
                           static_cast<int>(std::lround(221 - 3 * w * w))));
    }
    Line(c, l + 1, t + 1, l + 1, b, 0xCDD6D9);
    Line(c, l + 2, t + 1, l + 2, b, 0xD5DDDF);
    Line(c, r - 2, t + 1, r - 2, b, 0xDEE4E5);
    Line(c, r - 1, t + 1, r - 1, b, 0xE0E5E6);
    edges(0xC1CCD1, 0xCFD8DC, 0xE3E9EA, 0xEEF1F2);
  }
  c->Pen()->SetColor(0x743C00);
  c->Brush()->SetStyle(bsClear);
  c->Rectangle(RECT{0, 0, item.right - item.left, h});
  for (POINT p : {POINT{l, t + 1}, POINT{l + 1, t}, POINT{r, t + 1}, POINT{r - 1, t}, POINT{l, b - 1},
                  POINT{l + 1, b}, POINT{r, b - 1}, POINT{r - 1, b}})
    c->SetPixels(p.x, p.y, 0xA8957A);
  for (POINT p : {POINT{l + 1, t + 2}, POINT{l + 2, t + 1}, POINT{r - 1, t + 2}, POINT{r - 2, t + 1},
                  POINT{l + 1, b - 2}, POINT{l + 2, b - 1}, POINT{r - 1, b - 2}, POINT{r - 2, b - 1}})
    c->SetPixels(p.x, p.y, 0xDDCFC0);
  for (POINT p : {POINT{l + 1, t + 1}, POINT{r - 1, t + 1}, POINT{l + 1, b - 1}, POINT{r - 1, b - 1}})
    c->SetPixels(p.x, p.y, 0xA27D55);
}
