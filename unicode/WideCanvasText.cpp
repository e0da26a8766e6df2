#include "unicode/WideCanvasText.h"

#include "platform/gdi/Gdi.h"

void WideCanvasTextOut(TCanvas* canvas, int x, int y, const WideString& text) {
  canvas->Changing();
  HDC dc = canvas->RequiredHandle();
  const int width = WideDCTextExtent(dc, text).cx;
  if (canvas->CanvasOrientation() == coRightToLeft) x += width + 1;
  ExtTextOutW(dc, x, y, UINT(canvas->TextFlags), nullptr, text.c_str(), UINT(text.Length()), nullptr);
  MoveToEx(dc, x + width, y, nullptr);
  canvas->Changed();
}

void WideCanvasTextRect(TCanvas* canvas, const RECT& rect, int x, int y, const WideString& text) {
  canvas->Changing();
  HDC dc = canvas->RequiredHandle();
  UINT options = UINT(canvas->TextFlags) | ETO_CLIPPED;
  if (canvas->Brush()->Style() != bsClear) options |= ETO_OPAQUE;
  if ((UINT(canvas->TextFlags) & ETO_RTLREADING) && canvas->CanvasOrientation() == coRightToLeft)
    x += WideDCTextExtent(dc, text).cx + 1;
  ExtTextOutW(dc, x, y, options, &rect, text.c_str(), UINT(text.Length()), nullptr);
  canvas->Changed();
}

SIZE WideDCTextExtent(HDC dc, const WideString& text) {
  SIZE size{0, 0};
  if (!GetTextExtentPoint32W(dc, text.c_str(), text.Length(), &size)) return SIZE{0, 0};
  return size;
}

SIZE WideCanvasTextExtent(TCanvas* canvas, const WideString& text) {
  return WideDCTextExtent(canvas->RequiredHandle(), text);
}

int WideCanvasTextWidth(TCanvas* canvas, const WideString& text) {
  return WideCanvasTextExtent(canvas, text).cx;
}
int WideCanvasTextHeight(TCanvas* canvas, const WideString& text) {
  return WideCanvasTextExtent(canvas, text).cy;
}
