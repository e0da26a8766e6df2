#include "controls/XPColors.h"

#include "controls/ColorArithmetic.h"
#include "controls/TThemeServices.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/TRegIniFile.h"
#include "platform/win/WindowDC.h"

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

int XPColorSchemeFromName(const AnsiString& colorName) {
  const AnsiString name = UpperCase(colorName);
  if (name == "HOMESTEAD") return 1;
  if (name == "METALLIC") return 2;
  return 0;
}

void DetectDesktopColors() {
  detected = true;
  TRegIniFile settings("\\Software\\Microsoft\\Windows\\CurrentVersion");
  scheme = XPColorSchemeFromName(settings.ReadString("ThemeManager", "ColorName", ""));
  const WindowDC screen(nullptr);
  fullColor = GetDeviceCaps(screen, NUMCOLORS) == -1;
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

// The three sets below have fixed colours per scheme (blue, olive, silver) in the office style.
void GetGradientOutlookGroupColors(TSkGradientColorStyle style, TColor& start, TColor& end, TColor& frame) {
  if (OfficeColors(style)) {
    static const TColor starts[3] = {0xFCE1CB, 0xD5F0EA, 0xF3EAEA}, ends[3] = {0xE0A47D, 0x8FC2B0, 0xC6B3B4},
                        frames[3] = {0x800000, 0x385D3F, 0x6F4B4B};
    start = starts[GetXPColorScheme()];
    end = ends[GetXPColorScheme()];
    frame = frames[GetXPColorScheme()];
    return;
  }
  start = clBtnFace;
  end = DarkerColor(clBtnFace, 20);
  frame = clBtnShadow;
}

void GetGradientGroupItemColors(TSkGradientColorStyle style, TColor& start, TColor& end, TColor& font) {
  if (OfficeColors(style)) {
    static const TColor starts[3] = {0xFFF3EB, 0xF0FCFA, 0xFAF7F7}, ends[3] = {0xF7D3BE, 0xC5E5DB, 0xE1D7D7},
                        fonts[3] = {0x8C4E21, 0x3F6A56, 0x5E4F4F};
    start = starts[GetXPColorScheme()];
    end = ends[GetXPColorScheme()];
    font = fonts[GetXPColorScheme()];
    return;
  }
  start = clWindow;
  end = LighterColor(clBtnFace, 30);
  font = clWindowText;
}

void GetGradientCategoryGroupColors(TSkGradientColorStyle style, TColor& start, TColor& end, TColor& line) {
  if (OfficeColors(style)) {
    static const TColor starts[3] = {0xF9E5D8, 0xE2F3EE, 0xF2EDED}, ends[3] = {0xEDC9B0, 0xB3D8CB, 0xD9CDCD},
                        lines[3] = {0xC56A31, 0x5A9E82, 0x947C7C};
    start = starts[GetXPColorScheme()];
    end = ends[GetXPColorScheme()];
    line = lines[GetXPColorScheme()];
    return;
  }
  start = LighterColor(clBtnFace, 20);
  end = clBtnFace;
  line = clBtnShadow;
}
