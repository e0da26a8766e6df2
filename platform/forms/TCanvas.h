// TCanvas: drawing on a device context with a pen, a brush and a font. Before each call the
// canvas selects its tools into the DC; a canvas without a DC asks CreateHandle for one and
// raises EInvalidOperation "This canvas cannot be drawn on" when there is none.
#pragma once

#include <mutex>

#include "platform/forms/TBrush.h"
#include "platform/forms/TFont.h"
#include "platform/forms/TPen.h"
#include "platform/gdi/GdiTypes.h"

class TGraphic;

using TCopyMode = DWORD;
constexpr TCopyMode cmSrcCopy = SRCCOPY, cmSrcInvert = SRCINVERT, cmSrcAnd = SRCAND, cmSrcPaint = SRCPAINT,
                    cmNotSrcCopy = NOTSRCCOPY, cmDstInvert = DSTINVERT, cmPatCopy = PATCOPY,
                    cmPatInvert = PATINVERT, cmBlackness = BLACKNESS, cmWhiteness = WHITENESS;

enum TCanvasOrientation { coLeftToRight, coRightToLeft };

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;

  HDC Handle();
  // The handle with the canvas's pen, brush and font selected, for drawing through it.
  HDC RequiredHandle();
  // Attaches a DC the canvas does not own (0 detaches).
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TPen* Pen() { return &pen_; }
  TBrush* Brush() { return &brush_; }
  TFont* Font() { return &font_; }
  POINT PenPos();
  void SetPenPos(POINT p) { MoveTo(p.x, p.y); }
  TCopyMode CopyMode = cmSrcCopy;
  int TextFlags = 0;
  // The direction text runs on the canvas; always left to right here.
  virtual TCanvasOrientation CanvasOrientation() const { return coLeftToRight; }
  RECT ClipRect();

  COLORREF Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Rectangle(int left, int top, int right, int bottom);
  void Rectangle(const RECT& r) { Rectangle(r.left, r.top, r.right, r.bottom); }
  void FillRect(const RECT& r);
  void Ellipse(int left, int top, int right, int bottom);
  void Ellipse(const RECT& r) { Ellipse(r.left, r.top, r.right, r.bottom); }
  void RoundRect(int left, int top, int right, int bottom, int cornerWidth, int cornerHeight);
  void Polygon(const POINT* points, int count);
  void Polyline(const POINT* points, int count);
  // Copies `source` of `bitmap` to `dest`, painting the brush where the bitmap has `color`.
  void BrushCopy(const RECT& dest, class TBitmap* bitmap, const RECT& source, TColor color);
  void FrameRect(const RECT& r);
  void DrawFocusRect(const RECT& r);
  void Draw(int x, int y, TGraphic* graphic);
  void StretchDraw(const RECT& r, TGraphic* graphic);
  void CopyRect(const RECT& dest, TCanvas* canvas, const RECT& source);
  // Leaves PenPos at (x + width, y); transparent when the brush is bsClear.
  void TextOut(int x, int y, const AnsiString& text);
  // Clipped to `r`, which is filled first unless the brush is bsClear.
  void TextRect(const RECT& r, int x, int y, const AnsiString& text);
  SIZE TextExtent(const AnsiString& text);
  int TextWidth(const AnsiString& text) { return TextExtent(text).cx; }
  int TextHeight(const AnsiString& text) { return TextExtent(text).cy; }

  // A recursive lock for canvases used by other threads.
  void Lock() { lock_.lock(); }
  void Unlock() { lock_.unlock(); }
  bool TryLock() { return lock_.try_lock(); }

  virtual void Changing();
  virtual void Changed();
  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Makes the DC when one is needed; the base has none to make.
  virtual void CreateHandle() {}
  // Drops the DC (after deselecting the tools); owned DCs are the subclass's to free.
  void DeselectHandles();
  HDC dc_ = nullptr;

 private:
  void SelectTools();

  TPen pen_;
  TBrush brush_;
  TFont font_;
  HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr, oldFont_ = nullptr;
  std::recursive_mutex lock_;
};

// Draws a raised or lowered one-pixel frame inside `rect` and shrinks it by `width`.
void Frame3D(TCanvas* canvas, RECT& rect, TColor topColor, TColor bottomColor, int width);
