#include "unicode/TUcCustomHintWindow.h"

#include "platform/forms/ShortCuts.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TCustomAction.h"
#include "platform/forms/TScreen.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/win/WindowDC.h"
#include "unicode/UcControls.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"
#include "unicode/UcShortCuts.h"
#include "unicode/UcTextWrappers.h"
#include "unicode/WideCanvasText.h"

namespace {

AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }

}  // namespace

bool UcWideHintText(void* data, WideString& text) {
  // Only the hint info the layer marked is read: any other value of HintData is the control's own.
  if (!UcIsMarkedHintInfo(data)) return false;
  auto* info = static_cast<THintInfo*>(data);
  if (info->HintData != data || !info->HintWindowClass.InheritsFrom<TUcCustomHintWindow>()) return false;
  text = UcWiden(info->HintStr);
  if (text.IsEmpty()) return true;
  const WideString wide = WideGetShortHint(WideGetHint(info->HintControl));
  if (Narrow(wide) == info->HintStr) {
    text = wide;
    return true;
  }
  if (Application && Application->HintShortCuts && info->HintControl) {
    auto* action = dynamic_cast<TCustomAction*>(info->HintControl->Action());
    if (action && action->ShortCut() != 0 &&
        info->HintStr == Narrow(wide) + " (" + ShortCutToText(action->ShortCut()) + ")")
      text = wide + u" (" + WideShortCutToText(action->ShortCut()) + u")";
  }
  return true;
}

TUcCustomHintWindow::~TUcCustomHintWindow() { Destroying(); }

WideString TUcCustomHintWindow::Caption() { return UcControl_GetText(this); }
void TUcCustomHintWindow::SetCaption(const WideString& value) { UcControl_SetText(this, value); }

void TUcCustomHintWindow::CreateParams(TCreateParams& params) {
  THintWindow::CreateParams(params);
  if (Win32PlatformIsXP()) params.WindowClass.style |= CS_DROPSHADOW;
}

void TUcCustomHintWindow::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, WideString(), false);
}

void TUcCustomHintWindow::Paint() {
  if (blockPaint_) return;
  if (!Win32PlatformIsUnicode()) {
    THintWindow::Paint();
    return;
  }
  RECT r = ClientRect();
  HDC dc = Canvas()->Handle();
  ::FrameRect(dc, &r, OwnedGdiObject<HBRUSH>(CreateSolidBrush(ColorToRGB(clWindowFrame))));
  r.left += 2;
  r.top += 2;
  Canvas()->Font()->SetColor(Screen ? Screen->HintFont()->Color() : clInfoText);
  dc = Canvas()->RequiredHandle();
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const WideString text = Caption();
  Uc_DrawTextW(dc, text.c_str(), -1, &r,
               DT_LEFT | DT_NOPREFIX | DT_WORDBREAK | DrawTextBiDiModeFlagsReadingOnly());
  SetBkMode(dc, oldMode);
}

void TUcCustomHintWindow::ActivateHint(RECT rect, const AnsiString& hint) {
  const auto activation = ActivationScope(false);
  THintWindow::ActivateHint(rect, hint);
}

void TUcCustomHintWindow::ActivateHintData(RECT rect, const AnsiString& hint, void* data) {
  WideString wide;
  if (!Win32PlatformIsUnicode() || !UcWideHintText(data, wide)) {
    THintWindow::ActivateHintData(rect, hint, data);
    return;
  }
  {
    const auto activation = ActivationScope(true);
    THintWindow::ActivateHintData(rect, hint, data);
    SetCaption(wide);
  }
  Invalidate();
}

RECT TUcCustomHintWindow::CalcHintRect(int maxWidth, const AnsiString& hint, void* data) {
  WideString wide;
  if (!Win32PlatformIsUnicode() || !UcWideHintText(data, wide))
    return THintWindow::CalcHintRect(maxWidth, hint, data);
  return WideHintRect(maxWidth, wide);
}

RECT TUcCustomHintWindow::WideHintRect(int maxWidth, const WideString& hint) {
  RECT r{0, 0, maxWidth, 0};
  {
    const WindowDC dc(nullptr);
    const SelectedObject font(dc, Font()->Handle());
    Uc_DrawTextW(dc, hint.c_str(), -1, &r,
                 DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX | DrawTextBiDiModeFlagsReadingOnly());
  }
  r.right += 6;
  r.bottom += 2;
  return r;
}

void TUcCustomHintWindow::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CM_TEXTCHANGED && Win32PlatformIsUnicode()) {
    if (!activating_) {
      const WideString text = Caption();
      SetBounds(Left(), Top(), WideCanvasTextWidth(Canvas(), text) + 6,
                WideCanvasTextHeight(Canvas(), text) + 6);
    }
    TCustomControl::Dispatch(message);
    return;
  }
  THintWindow::Dispatch(message);
}
