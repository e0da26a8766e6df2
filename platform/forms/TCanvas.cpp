#include "platform/forms/TCanvas.h"

#include <cstdint>

#include "platform/forms/TBitmap.h"
#include "platform/forms/TGraphic.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Exceptions.h"

TCanvas::TCanvas() {
  pen_.OnChange = [this](TObject*) { SelectTools(); };
  brush_.OnChange = [this](TObject*) { SelectTools(); };
  font_.OnChange = [this](TObject*) { SelectTools(); };
}

TCanvas::~TCanvas() { DeselectHandles(); }

void TCanvas::DeselectHandles() {
  if (dc_) {
    if (oldPen_) SelectObject(dc_, oldPen_);
    if (oldBrush_) SelectObject(dc_, oldBrush_);
    if (oldFont_) SelectObject(dc_, oldFont_);
  }
  oldPen_ = oldBrush_ = oldFont_ = nullptr;
  dc_ = nullptr;
}

void TCanvas::SetHandle(HDC dc) {
  if (dc_ == dc) return;
  DeselectHandles();
  dc_ = dc;
  // A DC attached for painting gets the canvas's tools at once, changed or not.
  SelectTools();
}

HDC TCanvas::Handle() {
  if (!dc_) CreateHandle();
  if (!dc_) throw EInvalidOperation("This canvas cannot be drawn on");
  return dc_;
}

void TCanvas::SelectTools() {
  if (!dc_) return;
  HGDIOBJ p = SelectObject(dc_, pen_.Handle());
  HGDIOBJ b = SelectObject(dc_, brush_.Handle());
  HGDIOBJ f = SelectObject(dc_, font_.Handle());
  if (!oldPen_) oldPen_ = p;
  if (!oldBrush_) oldBrush_ = b;
  if (!oldFont_) oldFont_ = f;
  SetROP2(dc_, pen_.Rop2());
  SetTextColor(dc_, ColorToRGB(font_.Color()));
  SetBkColor(dc_, ColorToRGB(brush_.Color()));
  SetBkMode(dc_, brush_.Style() == bsClear ? TRANSPARENT : OPAQUE);
}

HDC TCanvas::RequiredHandle() {
  HDC dc = Handle();
  SelectTools();
  return dc;
}

void TCanvas::Changing() {
  if (OnChanging) OnChanging(this);
}
void TCanvas::Changed() {
  if (OnChange) OnChange(this);
}

POINT TCanvas::PenPos() {
  POINT p{0, 0};
  GetCurrentPositionEx(Handle(), &p);
  return p;
}

RECT TCanvas::ClipRect() {
  RECT r{0, 0, 0, 0};
  GetClipBox(Handle(), &r);
  return r;
}

COLORREF TCanvas::Pixels(int x, int y) { return GetPixel(Handle(), x, y); }

void TCanvas::SetPixels(int x, int y, TColor color) {
  Changing();
  SetPixel(Handle(), x, y, ColorToRGB(color));
  Changed();
}

void TCanvas::MoveTo(int x, int y) { MoveToEx(Handle(), x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
  Changing();
  ::LineTo(RequiredHandle(), x, y);
  Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  Changing();
  ::Rectangle(RequiredHandle(), left, top, right, bottom);
  Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
  Changing();
  ::Ellipse(RequiredHandle(), left, top, right, bottom);
  Changed();
}

void TCanvas::RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight) {
  Changing();
  ::RoundRect(RequiredHandle(), left, top, right, bottom, cornerWidth, cornerHeight);
  Changed();
}

void TCanvas::Polygon(const POINT* points, int count) {
  Changing();
  ::Polygon(RequiredHandle(), points, count);
  Changed();
}

void TCanvas::Polyline(const POINT* points, int count) {
  Changing();
  ::Polyline(RequiredHandle(), points, count);
  Changed();
}

void TCanvas::BrushCopy(const RECT& dest, TBitmap* bitmap, const RECT& source, TColor color) {
  if (!bitmap || bitmap->Empty()) return;
  int w = source.right - source.left, h = source.bottom - source.top;
  if (w <= 0 || h <= 0) return;
  // The piece goes through a 32-bit copy where the key colour becomes the brush's.
  TBitmap piece;
  piece.SetPixelFormat(pf32bit);
  piece.SetSize(w, h);
  BitBlt(piece.Canvas()->Handle(), 0, 0, w, h, bitmap->Canvas()->Handle(), source.left, source.top, SRCCOPY);
  COLORREF key = ColorToRGB(color) & 0xFFFFFF;
  COLORREF fill = ColorToRGB(brush_.Color()) & 0xFFFFFF;
  auto swap = [](COLORREF c) { return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF); };
  for (int y = 0; y < h; ++y) {
    auto* row = static_cast<std::uint32_t*>(piece.ScanLine(y));
    for (int x = 0; x < w; ++x)
      if ((row[x] & 0xFFFFFF) == swap(key)) row[x] = swap(fill);
  }
  Changing();
  StretchBlt(RequiredHandle(), dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
             piece.Canvas()->Handle(), 0, 0, w, h, SRCCOPY);
  Changed();
}

void TCanvas::FillRect(const RECT& r) {
  Changing();
  ::FillRect(RequiredHandle(), &r, brush_.Handle());
  Changed();
}

void TCanvas::FrameRect(const RECT& r) {
  Changing();
  ::FrameRect(RequiredHandle(), &r, brush_.Handle());
  Changed();
}

void TCanvas::DrawFocusRect(const RECT& r) {
  Changing();
  ::DrawFocusRect(RequiredHandle(), &r);
  Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  RECT r{x, y, x + graphic->Width(), y + graphic->Height()};
  StretchDraw(r, graphic);
}

void TCanvas::StretchDraw(const RECT& r, TGraphic* graphic) {
  if (!graphic || graphic->Empty()) return;
  Changing();
  RequiredHandle();
  graphic->Draw(this, r);
  Changed();
}

void TCanvas::CopyRect(const RECT& dest, TCanvas* canvas, const RECT& source) {
  Changing();
  StretchBlt(RequiredHandle(), dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top,
             canvas->Handle(), source.left, source.top, source.right - source.left,
             source.bottom - source.top, CopyMode);
  Changed();
}

void TCanvas::TextOut(int x, int y, const AnsiString& text) {
  Changing();
  HDC dc = RequiredHandle();
  ::TextOutA(dc, x, y, text.c_str(), text.Length());
  SIZE size{0, 0};
  GetTextExtentPoint32A(dc, text.c_str(), text.Length(), &size);
  MoveToEx(dc, x + size.cx, y, nullptr);
  Changed();
}

void TCanvas::TextRect(const RECT& r, int x, int y, const AnsiString& text) {
  Changing();
  HDC dc = RequiredHandle();
  UINT options = ETO_CLIPPED;
  if (brush_.Style() != bsClear) options |= ETO_OPAQUE;
  ExtTextOutA(dc, x, y, options, &r, text.c_str(), static_cast<UINT>(text.Length()), nullptr);
  Changed();
}

SIZE TCanvas::TextExtent(const AnsiString& text) {
  SIZE size{0, 0};
  GetTextExtentPoint32A(RequiredHandle(), text.c_str(), text.Length(), &size);
  return size;
}

void Frame3D(TCanvas* canvas, RECT& rect, TColor topColor, TColor bottomColor, int width) {
  canvas->Pen()->SetWidth(1);
  --rect.bottom;
  --rect.right;
  for (int i = 0; i < width; ++i) {
    canvas->Pen()->SetColor(topColor);
    canvas->MoveTo(rect.left, rect.bottom);
    canvas->LineTo(rect.left, rect.top);
    canvas->LineTo(rect.right, rect.top);
    canvas->Pen()->SetColor(bottomColor);
    canvas->LineTo(rect.right, rect.bottom);
    canvas->LineTo(rect.left - 1, rect.bottom);
    ++rect.left;
    ++rect.top;
    --rect.right;
    --rect.bottom;
  }
  ++rect.bottom;
  ++rect.right;
}
