// The desktop's XP colour scheme and colour depth, read once at start-up, and the colour sets of
// gradient-styled controls per scheme: office-style colours while themes are on, else colours
// derived from the system colours.
#pragma once

#include "platform/forms/TColor.h"

enum TSkGradientColorStyle { gcsSystem, gcsMSOffice, gcsCustom };
enum TSkXPThemeColor {
  xptcEditBorder,
  xptcNormalGroupFont,
  xptcGroupBarFill,
  xptcSpecialGroupFont,
  xptcListGroupFill,
  xptcListGroupFont,
  xptcGroupBoxFont,
  xptcOther
};

// 0 blue, 1 olive ("HOMESTEAD"), 2 silver ("METALLIC"): the desktop's theme colour name. This
// system keeps no such setting, so the scheme is blue.
int GetXPColorScheme();
// The screen shows more than a palette's colours.
bool IsFullColorSupported();
// Reads the two settings above again (the control library does it once at start-up).
void DetectDesktopColors();

// clBtnFace while themes are off; else the theme's colour for the kind (white for other kinds).
TColor GetXPThemeColor(TSkXPThemeColor kind);

struct TSkSelectionColors {
  TColor Frame, Start, End;
};
TSkSelectionColors GetGradientSelectionColors(TSkGradientColorStyle style);
void GetGradientPanelColors(TSkGradientColorStyle style, TColor& start, TColor& end);
TColor GetGradientPanelFrameColor(TSkGradientColorStyle style);
void GetGradientStatusBarColors(TSkGradientColorStyle style, TColor& start, TColor& middle, TColor& end);
void GetGradientGroupBarColors(TSkGradientColorStyle style, TColor& start, TColor& end);
