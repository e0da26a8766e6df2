// TColor, the form library's colour: a COLORREF, or a system colour (0x80000000 | index),
// clNone or clDefault; the named constants; ColorToRGB; and the colour names a layout uses.
#pragma once

#include <cstdint>
#include <string>

#include "platform/gdi/GdiTypes.h"

using TColor = std::int32_t;

constexpr TColor clSystemColor = static_cast<TColor>(0x80000000u);
constexpr TColor clScrollBar = clSystemColor | COLOR_SCROLLBAR,
                 clBackground = clSystemColor | COLOR_BACKGROUND,
                 clActiveCaption = clSystemColor | COLOR_ACTIVECAPTION,
                 clInactiveCaption = clSystemColor | COLOR_INACTIVECAPTION,
                 clMenu = clSystemColor | COLOR_MENU, clWindow = clSystemColor | COLOR_WINDOW,
                 clWindowFrame = clSystemColor | COLOR_WINDOWFRAME,
                 clMenuText = clSystemColor | COLOR_MENUTEXT, clWindowText = clSystemColor | COLOR_WINDOWTEXT,
                 clCaptionText = clSystemColor | COLOR_CAPTIONTEXT,
                 clActiveBorder = clSystemColor | COLOR_ACTIVEBORDER,
                 clInactiveBorder = clSystemColor | COLOR_INACTIVEBORDER,
                 clAppWorkSpace = clSystemColor | COLOR_APPWORKSPACE,
                 clHighlight = clSystemColor | COLOR_HIGHLIGHT,
                 clHighlightText = clSystemColor | COLOR_HIGHLIGHTTEXT,
                 clBtnFace = clSystemColor | COLOR_BTNFACE, clBtnShadow = clSystemColor | COLOR_BTNSHADOW,
                 clGrayText = clSystemColor | COLOR_GRAYTEXT, clBtnText = clSystemColor | COLOR_BTNTEXT,
                 clInactiveCaptionText = clSystemColor | COLOR_INACTIVECAPTIONTEXT,
                 clBtnHighlight = clSystemColor | COLOR_BTNHIGHLIGHT,
                 cl3DDkShadow = clSystemColor | COLOR_3DDKSHADOW, cl3DLight = clSystemColor | COLOR_3DLIGHT,
                 clInfoText = clSystemColor | COLOR_INFOTEXT, clInfoBk = clSystemColor | COLOR_INFOBK,
                 clHotLight = clSystemColor | COLOR_HOTLIGHT,
                 clGradientActiveCaption = clSystemColor | COLOR_GRADIENTACTIVECAPTION,
                 clGradientInactiveCaption = clSystemColor | COLOR_GRADIENTINACTIVECAPTION,
                 clMenuHighlight = clSystemColor | COLOR_MENUHILIGHT,
                 clMenuBar = clSystemColor | COLOR_MENUBAR;

constexpr TColor clBlack = 0x000000, clMaroon = 0x000080, clGreen = 0x008000, clOlive = 0x008080,
                 clNavy = 0x800000, clPurple = 0x800080, clTeal = 0x808000, clGray = 0x808080,
                 clSilver = 0xC0C0C0, clRed = 0x0000FF, clLime = 0x00FF00, clYellow = 0x00FFFF,
                 clBlue = 0xFF0000, clFuchsia = 0xFF00FF, clAqua = 0xFFFF00, clLtGray = 0xC0C0C0,
                 clDkGray = 0x808080, clWhite = 0xFFFFFF, clMoneyGreen = 0xC0DCC0, clSkyBlue = 0xF0CAA6,
                 clCream = 0xF0FBFF, clMedGray = 0xA4A0A0, clNone = 0x1FFFFFFF, clDefault = 0x20000000;

// A system colour becomes GetSysColor(index); every other value is returned unchanged.
COLORREF ColorToRGB(TColor color);
bool IdentToColor(const std::string& ident, TColor& color);
// False when the colour has no name.
bool ColorToIdent(TColor color, std::string& ident);
// A colour's name ("clRed"), or an integer ("$00FF8000", "255"); raises EConvertError for
// anything else.
TColor StringToColor(const std::string& text);
// The colour's name, or "$" and eight hexadecimal digits.
std::string ColorToString(TColor color);
