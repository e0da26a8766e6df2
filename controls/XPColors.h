// The desktop's XP colour scheme and colour depth, read once at start-up, and the colour sets of
// gradient-styled controls per scheme: office-style colours while themes are on, else colours
// derived from the system colours.
#pragma once

#include "platform/forms/TColor.h"
#include "platform/rtl/AnsiString.h"

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

// 0 blue, 1 olive ("HOMESTEAD"), 2 silver ("METALLIC"): the desktop's theme colour name, the
// value "ColorName" of section "ThemeManager" of the settings key
// "\Software\Microsoft\Windows\CurrentVersion"; blue when there is none. Read on first use.
int GetXPColorScheme();
// The scheme a theme colour name stands for, in any case.
int XPColorSchemeFromName(const AnsiString& colorName);
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
// The head of an outlook-style group: its gradient and its frame.
void GetGradientOutlookGroupColors(TSkGradientColorStyle style, TColor& start, TColor& end, TColor& frame);
// An item of a group bar: its gradient and its text.
void GetGradientGroupItemColors(TSkGradientColorStyle style, TColor& start, TColor& end, TColor& font);
// The head of a category group: its gradient and the line under it.
void GetGradientCategoryGroupColors(TSkGradientColorStyle style, TColor& start, TColor& end, TColor& line);
