#include "SkinGallery.h"

#include "controls/BoxDrawing.h"
#include "controls/FrameDrawing.h"
#include "controls/GlyphDrawing.h"
#include "controls/Gradients.h"
#include "controls/ProgressBars.h"
#include "controls/Trapezoids.h"

void PaintSkinGallery(TCanvas* canvas) {
  canvas->Brush()->SetStyle(bsSolid);
  canvas->Brush()->SetColor(clBtnFace);
  canvas->FillRect(RECT{0, 0, kSkinGalleryWidth, kSkinGalleryHeight});

  // Row 1: the ten gradient directions.
  for (int d = gdDiagonalUp; d <= gdBigSquareBox; ++d) {
    const RECT r{8 + d * 74, 8, 8 + d * 74 + 68, 68};
    PaintGradient(canvas, r, static_cast<TGradientDirection>(d), 64, clNavy, clAqua);
  }

  // Row 2: every frame style around a white field.
  for (int s = fsNone; s <= fsFlatRounded; ++s) {
    const RECT r{8 + s * 62, 80, 8 + s * 62 + 56, 120};
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(RECT{r.left + 3, r.top + 3, r.right - 3, r.bottom - 3});
    RECT inner{};
    DrawBorder(canvas, r, static_cast<TFrameStyleEx>(s), inner);
  }

  // Row 3: boxes, corners, dashed and focus borders, rounded borders and drop shadows.
  DrawBox(canvas, RECT{8, 132, 68, 182}, clMaroon);
  DrawBoxCorners(canvas, RECT{80, 132, 140, 182}, clNavy, 10);
  DrawDashedBorder(canvas, RECT{152, 132, 212, 182}, clGreen);
  DrawFocusBorder(canvas, RECT{224, 132, 284, 182});
  DrawRoundedFlatBorder(canvas, RECT{296, 132, 356, 182}, clPurple,
                        SideBit(sdLeft) | SideBit(sdTop) | SideBit(sdRight) | SideBit(sdBottom));
  for (int i = 0; i < 3; ++i) {
    const RECT r{376 + i * 80, 132, 376 + i * 80 + 56, 176};
    canvas->Brush()->SetColor(clWhite);
    canvas->FillRect(r);
    DrawDropShadow(canvas, r, 2 + i * 2, clBlack);
  }

  // Row 4: LED, percent and gradient percent bars at 0, 37 and 100 %.
  const int percents[] = {0, 37, 100};
  for (int i = 0; i < 3; ++i) {
    const int x = 8 + i * 250;
    DrawLEDBar(canvas, RECT{x, 196, x + 236, 212}, percents[i], clLime, clBlack);
    DrawPercentBar(canvas, RECT{x, 220, x + 236, 238}, percents[i], clNavy, clWhite);
    DrawGradientPercentBar(canvas, RECT{x, 246, x + 236, 264}, percents[i], clMaroon, clYellow, clWhite);
  }

  // Row 5: the small glyphs in their four looks, plain and XP.
  for (int look = glNormal; look <= glDisabled; ++look) {
    const auto l = static_cast<TSkGlyphLook>(look);
    for (int xp = 0; xp < 2; ++xp) {
      const int x = 8 + (look * 2 + xp) * 92;
      DrawDropDownArrow(canvas, RECT{x, 280, x + 18, 298}, l, xp != 0);
      DrawSpinArrow(canvas, RECT{x + 22, 280, x + 40, 289}, true, l, xp != 0);
      DrawSpinArrow(canvas, RECT{x + 22, 289, x + 40, 298}, false, l, xp != 0);
      DrawCloseX(canvas, RECT{x + 44, 280, x + 62, 298}, clBlack, l);
    }
  }

  // Row 6: highlight boxes, check boxes and radio buttons in their looks.
  DrawHighlightBox(canvas, RECT{8, 312, 108, 334}, gcsSystem);
  DrawHighlightBox(canvas, RECT{116, 312, 216, 334}, gcsCustom);
  for (int look = glNormal; look <= glDisabled; ++look) {
    const auto l = static_cast<TSkGlyphLook>(look);
    for (int checked = 0; checked < 2; ++checked) {
      const int x = 232 + (look * 2 + checked) * 40;
      DrawCheckBox(canvas, RECT{x, 316, x + 13, 329}, checked != 0, clNavy, clWhite, clBlack, l);
      DrawRadioButton(canvas, x + 18, 316, checked != 0, clNavy, clWhite, clBlack, l);
    }
  }

  // Row 7: trapezoid tabs, each shape and direction, with their bevels.
  const TTrapShape shapes[] = {tsLeft, tsCenter, tsRight};
  const TTrapBevelStyle bevels[] = {TTrapBevelStyle::bsNone, TTrapBevelStyle::bsLowered,
                                    TTrapBevelStyle::bsRaised};
  for (int i = 0; i < 3; ++i) {
    TTrap trap{};
    SetTrapezoid(trap, RECT{8 + i * 130, 352, 8 + i * 130 + 120, 380}, 14, shapes[i], tdTop);
    DrawTrapezoidBorder(canvas, trap, bevels[i], 2);
    SetTrapezoid(trap, RECT{8 + i * 130, 392, 8 + i * 130 + 120, 420}, 14, shapes[i], tdBottom);
    DrawTrapezoidBorder(canvas, trap, bevels[(i + 1) % 3], 2);
  }
  for (int i = 0; i < 2; ++i) {
    TTrap trap{};
    SetTrapezoid(trap, RECT{420 + i * 60, 352, 448 + i * 60, 470}, 14, tsCenter, i ? tdRight : tdLeft);
    DrawTrapezoidBorder(canvas, trap, TTrapBevelStyle::bsRaised, 2);
  }
}
