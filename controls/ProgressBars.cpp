#include "controls/ProgressBars.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "controls/Gradients.h"
#include "controls/TThemeServices.h"
#include "platform/gdi/Gdi.h"
#include "platform/gdi/SavedDCState.h"
#include "platform/rtl/Format.h"

namespace {

int Clamp(int percent) { return std::clamp(percent, 0, 100); }

// The filled and the empty part of the bar.
void Split(const RECT& r, int percent, bool vertical, RECT& filled, RECT& empty) {
  filled = empty = r;
  if (vertical) {
    const int n = FilledLength(r.bottom - r.top, percent);
    filled.top = r.bottom - n;
    empty.bottom = filled.top;
  } else {
    const int n = FilledLength(r.right - r.left, percent);
    filled.right = r.left + n;
    empty.left = filled.right;
  }
}

// The text centred over the whole bar, once clipped to each part in that part's colour.
void Caption(TCanvas* canvas, const RECT& rect, const RECT& filled, const RECT& empty, int percent,
             TColor overFilled, TColor overEmpty) {
  const AnsiString text = PercentText(percent);
  HDC dc = canvas->Handle();
  canvas->Brush()->SetStyle(bsClear);
  for (const auto& [part, color] : {std::pair{filled, overFilled}, std::pair{empty, overEmpty}}) {
    if (IsRectEmpty(&part)) continue;
    const SavedDCState saved(dc);
    IntersectClipRect(dc, part.left, part.top, part.right, part.bottom);
    canvas->Font()->SetColor(color);
    RECT r = rect;
    DrawTextA(dc, text.c_str(), -1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  canvas->Brush()->SetStyle(bsSolid);
}

}  // namespace

AnsiString PercentText(int percent) { return Format("%u%%", {static_cast<unsigned>(Clamp(percent))}); }

int FilledLength(int length, int percent) {
  if (length <= 0) return 0;
  return static_cast<int>(std::lround(static_cast<double>(length) * Clamp(percent) / 100.0));
}

void DrawPercentBar(TCanvas* canvas, const RECT& rect, int percent, TColor barColor, TColor backColor,
                    bool vertical, bool showText) {
  percent = Clamp(percent);
  RECT filled, empty;
  Split(rect, percent, vertical, filled, empty);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(barColor);
  canvas->FillRect(filled);
  canvas->Brush()->SetColor(backColor);
  canvas->FillRect(empty);
  if (showText) Caption(canvas, rect, filled, empty, percent, backColor, barColor);
}

void DrawGradientPercentBar(TCanvas* canvas, const RECT& rect, int percent, TColor startColor,
                            TColor stopColor, TColor backColor, bool vertical, bool showText) {
  percent = Clamp(percent);
  RECT filled, empty;
  Split(rect, percent, vertical, filled, empty);
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(backColor);
  canvas->FillRect(empty);
  if (!IsRectEmpty(&filled))
    PaintGradient(canvas, filled, vertical ? gdVerticalEnd : gdHorizontalEnd, 64, startColor, stopColor);
  if (showText) Caption(canvas, rect, filled, empty, percent, backColor, stopColor);
}

void DrawLEDBar(TCanvas* canvas, const RECT& rect, int percent, TColor ledColor, TColor backColor,
                bool vertical, int blockSize, int gap) {
  percent = Clamp(percent);
  blockSize = std::max(blockSize, 1);
  gap = std::max(gap, 0);
  TThemeServices* themes = ThemeServices();
  const bool themed = themes->GetThemesEnabled();
  if (themed) {
    themes->DrawElement(canvas->Handle(), TThemeServices::GetElementDetails(vertical ? tpBarVert : tpBar),
                        rect);
  } else {
    canvas->Brush()->SetStyle(bsSolid);
    canvas->Brush()->SetColor(backColor);
    canvas->FillRect(rect);
  }
  RECT filled, empty;
  Split(rect, percent, vertical, filled, empty);
  const int length = vertical ? filled.bottom - filled.top : filled.right - filled.left;
  canvas->Brush()->SetColor(ledColor);
  // Only whole blocks: a block starts where the filled share still covers all of it.
  for (int at = 0; at + blockSize <= length; at += blockSize + gap) {
    const RECT block = vertical ? RECT{rect.left, rect.bottom - at - blockSize, rect.right, rect.bottom - at}
                                : RECT{rect.left + at, rect.top, rect.left + at + blockSize, rect.bottom};
    if (themed)
      themes->DrawElement(canvas->Handle(),
                          TThemeServices::GetElementDetails(vertical ? tpChunkVert : tpChunk), block);
    else
      canvas->FillRect(block);
  }
}
