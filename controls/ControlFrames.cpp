#include "controls/ControlFrames.h"

#include "controls/BoxDrawing.h"
#include "controls/ColorArithmetic.h"
#include "controls/Gradients.h"
#include "controls/TThemeServices.h"

namespace {

void OneFrame(TCanvas* canvas, RECT& rect, TFrameStyleEx style, TColor frameColor) {
  RECT inside = rect;
  switch (style) {
    case fsNone:
      return;
    case fsFlat:
      DrawSides(canvas, rect, AdjustColor(frameColor, -40), kAllSides, AdjustColor(frameColor, -40), inside);
      break;
    case fsFlatBold:
      DrawBevel(canvas, rect, AdjustColor(frameColor, -40), kAllSides, 2, AdjustColor(frameColor, -40),
                inside);
      break;
    case fsFlatRounded:
      DrawRoundedFlatBorder(canvas, rect, AdjustColor(frameColor, -40), kAllSides);
      InflateRect(&inside, -1, -1);
      break;
    default:
      DrawBorder(canvas, rect, style, inside);
      break;
  }
  rect = inside;
}

}  // namespace

void DrawInnerOuterBorders(TCanvas* canvas, RECT& rect, TFrameStyleEx outer, TFrameStyleEx inner,
                           int bevelWidth, TColor bevelColor, TColor frameColor) {
  OneFrame(canvas, rect, outer, frameColor);
  if (bevelWidth > 0) {
    RECT inside = rect;
    DrawBevel(canvas, rect, bevelColor, kAllSides, bevelWidth, bevelColor, inside);
    rect = inside;
  }
  OneFrame(canvas, rect, inner, frameColor);
}

RECT DrawFrame(TCanvas* canvas, int width, int height, TFrameStyleEx style, TColor frameColor, bool bevel,
               TColor controlColor) {
  RECT r{0, 0, width, height};
  RECT inside = r;
  if (style == fsFlatRounded) {
    DrawRoundedFlatBorder(canvas, r, frameColor, kAllSides);
    InflateRect(&inside, -1, -1);
  } else if (frameColor != clWindow && style != fsNone) {
    DrawColorBorder(canvas, r, frameColor, style, inside);
  } else {
    DrawBorder(canvas, r, style, inside);
  }
  if (bevel) {
    RECT b = inside;
    DrawBevel(canvas, inside, controlColor, kAllSides, 2, controlColor, b);
    inside = b;
  }
  return inside;
}

void DrawGroupBarBackground(TCanvas* canvas, const RECT& rect, TSkGradientColorStyle style) {
  TThemeServices* themes = ThemeServices();
  if (themes->GetThemesEnabled()) {
    // The explorer bar's own background: part 0, state 0 of its class.
    themes->DrawElement(canvas->Handle(), TThemedElementDetails{teExplorerBar, 0, 0}, rect);
    return;
  }
  TColor start, end;
  GetGradientGroupBarColors(style, start, end);
  PaintGradient(canvas, rect, gdVerticalEnd, 64, start, end);
}
