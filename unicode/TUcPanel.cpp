#include "unicode/TUcPanel.h"

#include "unicode/UcPlatformFlags.h"
#include "unicode/UcTextWrappers.h"
#include "unicode/WideCanvasText.h"

void TUcCustomPanel::Paint() {
  if (!Win32PlatformIsUnicode()) {
    TCustomPanel::Paint();
    return;
  }
  TCanvas* canvas = Canvas();
  RECT r = ClientRect();
  auto bevel = [&](TPanelBevel cut) {
    if (cut == bvNone) return;
    const bool lowered = cut == bvLowered;
    Frame3D(canvas, r, lowered ? clBtnShadow : clBtnHighlight, lowered ? clBtnHighlight : clBtnShadow,
            BevelWidth());
  };
  bevel(BevelOuter());
  Frame3D(canvas, r, Color(), Color(), BorderWidth());
  bevel(BevelInner());
  canvas->Brush()->SetColor(Color());
  canvas->Brush()->SetStyle(bsSolid);
  canvas->FillRect(r);
  canvas->Brush()->SetStyle(bsClear);
  canvas->Font()->Assign(Font());
  const int h = WideCanvasTextHeight(canvas, u"W");
  r.top = (r.top + r.bottom - h) / 2;
  r.bottom = r.top + h;
  static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  const WideString caption = Caption();
  Uc_DrawTextW(canvas->Handle(), caption.c_str(), -1, &r,
               DrawTextBiDiModeFlags(DT_EXPANDTABS | DT_VCENTER | alignments[Alignment()]));
}
