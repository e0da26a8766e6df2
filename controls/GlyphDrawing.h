// Small glyphs of the control library: drop-down and spin arrows and a close mark, in the
// classic or the XP look (the themed combo-box and spin parts while visual styles are on); a
// highlight box with a gradient; and a check box and a 13 x 13 radio button drawn pixel by pixel
// in given frame, fill and mark colours, with hot, down and disabled looks.
#pragma once

#include "controls/XPColors.h"
#include "platform/forms/TCanvas.h"

enum TSkGlyphLook { glNormal, glHot, glDown, glDisabled };

// A downward arrow centred in `rect` (a button face behind it in the XP look).
void DrawDropDownArrow(TCanvas* canvas, const RECT& rect, TSkGlyphLook look, bool xpLook);
// An up or down arrow centred in `rect`.
void DrawSpinArrow(TCanvas* canvas, const RECT& rect, bool up, TSkGlyphLook look, bool xpLook);
// A cross of two-pixel diagonals centred in `rect`.
void DrawCloseX(TCanvas* canvas, const RECT& rect, TColor color, TSkGlyphLook look);
// A frame in the selection's frame colour round its gradient.
void DrawHighlightBox(TCanvas* canvas, const RECT& rect, TSkGradientColorStyle style);
// A box of `rect` with a check mark when checked; hot lightens and down darkens the fill.
void DrawCheckBox(TCanvas* canvas, const RECT& rect, bool checked, TColor frame, TColor fill, TColor mark,
                  TSkGlyphLook look);
// A 13 x 13 round button at (x, y) with a dot when checked.
void DrawRadioButton(TCanvas* canvas, int x, int y, bool checked, TColor frame, TColor fill, TColor mark,
                     TSkGlyphLook look);
