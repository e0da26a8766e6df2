#include "unicode/TUcGroupBox.h"

#include "unicode/UcPlatformFlags.h"
#include "unicode/UcTextWrappers.h"
#include "unicode/WideCanvasText.h"

void TUcCustomGroupBox::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, WideString(), false);
}

void TUcCustomGroupBox::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CM_DIALOGCHAR) {
    if (UcIsAccelMessage(m, Caption()) && CanFocus()) {
      SelectFirst();
      m.Result = 1;
    } else {
      Broadcast(m);
    }
    return;
  }
  TCustomGroupBox::Dispatch(message);
}

void TUcCustomGroupBox::Paint() {
  if (!Win32PlatformIsUnicode()) {
    TCustomGroupBox::Paint();
    return;
  }
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  const int h = WideCanvasTextHeight(canvas, u"0");
  RECT r{0, h / 2 - 1, Width(), Height()};
  // The etched frame: a light line one pixel below and right of a shadow line.
  OffsetRect(&r, 1, 1);
  canvas->Brush()->SetColor(clBtnHighlight);
  canvas->FrameRect(r);
  OffsetRect(&r, -1, -1);
  canvas->Brush()->SetColor(clBtnShadow);
  canvas->FrameRect(r);
  const WideString text = Caption();
  if (text.IsEmpty()) return;
  RECT t = UseRightToLeftAlignment() ? RECT{r.right - 8, 0, 0, h} : RECT{8, 0, 0, h};
  const UINT flags = DrawTextBiDiModeFlags(DT_SINGLELINE);
  Uc_DrawTextW(canvas->Handle(), text.c_str(), text.Length(), &t, flags | DT_CALCRECT);
  if (UseRightToLeftAlignment()) OffsetRect(&t, -(t.right - t.left), 0);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(t);
  HDC dc = canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  Uc_DrawTextW(dc, text.c_str(), text.Length(), &t, flags);
}
