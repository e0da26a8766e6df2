#include "controls/XPColors.h"

#include "controls/ColorArithmetic.h"
#include "controls/TThemeServices.h"
#include "platform/gdi/Gdi.h"

namespace {

int scheme = 0;
bool fullColor = true;
bool detected = false;

void EnsureDetected() {
  if (!detected) DetectDesktopColors();
}

bool OfficeColors(TSkGradientColorStyle style) {
  return style == gcsMSOffice && ThemeServices()->GetThemesEnabled();
}

}  // namespace

void DetectDesktopColors() {
  detected = true;
  scheme = 0;  // no theme colour name is kept on this system: "NormalColor", blue
  HDC screen = GetDC(nullptr);
  fullColor = GetDeviceCaps(screen, NUMCOLORS) == -1;
  ReleaseDC(nullptr, screen);
}

int GetXPColorScheme() {
  EnsureDetected();
  return scheme;
}

bool IsFullColorSupported() {
  EnsureDetected();
  return fullColor;
}

TColor GetXPThemeColor(TSkXPThemeColor kind) {
  TThemeServices* themes = ThemeServices();
  if (!themes->GetThemesEnabled()) return clBtnFace;
  struct Lookup {
    TThemedElement element;
    int part, state, property;
  };
  Lookup l{};
  switch (kind) {
    case xptcEditBorder:
      l = {teEdit, 1, 1, 3801};
      break;
    case xptcNormalGroupFont:
      l = {teExplorerBar, 8, 0, 3803};
      break;
    case xptcGroupBarFill:
      l = {teExplorerBar, 8, 0, 3802};
      break;
    case xptcSpecialGroupFont:
      l = {teExplorerBar, 12, 0, 3803};
      break;
    case xptcListGroupFill:
      l = {teExplorerBar, 0, 0, 3810};
      break;
    case xptcListGroupFont:
      l = {teExplorerBar, 0, 0, 3802};
      break;
    case xptcGroupBoxFont:
      l = {teButton, 4, 1, 3803};
      break;
    default:
      return clWhite;
  }
  COLORREF c = 0;
  HTHEME theme = themes->GetTheme(l.element);
  if (theme && GetThemeColor && GetThemeColor(theme, l.part, l.state, l.property, &c) >= 0)
    return static_cast<TColor>(c);
  return clBtnFace;
}

TSkSelectionColors GetGradientSelectionColors(TSkGradientColorStyle style) {
  if (OfficeColors(style)) {
    static const TColor frames[3] = {0x800000, 0x385D3F, 0x6F4B4B};
    return {frames[GetXPColorScheme()], 0xC2EEFF, 0xA0D9FF};
  }
  const TColor blend = BlendColors(clHighlight, clWindow, 77);
  TSkSelectionColors c{clHighlight, LighterColor(blend, 20), blend};
  if (!IsFullColorSupported()) c.Start = c.End;
  return c;
}

void GetGradientPanelColors(TSkGradientColorStyle style, TColor& start, TColor& end) {
  if (OfficeColors(style)) {
    static const TColor starts[3] = {0xFFEFE3, 0xEDFFFF, 0xFFF9F9}, ends[3] = {0xEABB99, 0x92C7B8, 0xD0BCBD};
    start = starts[GetXPColorScheme()];
    end = ends[GetXPColorScheme()];
    return;
  }
  start = clWindow;
  end = DarkerColor(clBtnFace, 10);
}

TColor GetGradientPanelFrameColor(TSkGradientColorStyle style) {
  if (OfficeColors(style)) {
    static const TColor frames[3] = {0xBF7F57, 0x77A17F, 0xB19F9F};
    return frames[GetXPColorScheme()];
  }
  return clBtnShadow;
}

void GetGradientStatusBarColors(TSkGradientColorStyle style, TColor& start, TColor& middle, TColor& end) {
  (void)style;
  start = DarkerColor(clBtnFace, 20);
  middle = clWindow;
  end = DarkerColor(clBtnFace, 40);
}

void GetGradientGroupBarColors(TSkGradientColorStyle style, TColor& start, TColor& end) {
  if (OfficeColors(style)) {
    static const TColor starts[3] = {0xE7A27B, 0xADD9CC, 0xD4C8C4}, ends[3] = {0xD67563, 0x84BDA5, 0xC8B3B1};
    start = starts[GetXPColorScheme()];
    end = ends[GetXPColorScheme()];
    return;
  }
  start = BlendColors(clBlack, clBtnFace, 40);
  end = BlendColors(clBlack, clBtnFace, 80);
}
