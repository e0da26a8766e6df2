#include "platform/forms/THintWindow.h"

#include <algorithm>

#include "platform/forms/TApplication.h"
#include "platform/forms/TScreen.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/WindowDC.h"

THintWindowClass HintWindowClass = THintWindowClass::Of<THintWindow>();

namespace {

constexpr UINT kKeyFirst = 0x0100, kKeyLast = 0x0109, kMouseLast = 0x020A;

// Measures `text` in `font` the way DrawText lays it out (a screen DC: nothing is drawn).
RECT MeasureText(TFont* font, const AnsiString& text, RECT box, UINT flags) {
  const WindowDC dc(nullptr);
  HGDIOBJ old = SelectObject(dc, font->Handle());
  DrawTextA(dc, text.c_str(), -1, &box, flags | DT_CALCRECT);
  SelectObject(dc, old);
  return box;
}

}  // namespace

AnsiString GetShortHint(const AnsiString& hint) {
  int bar = hint.Pos("|");
  return bar == 0 ? hint : hint.SubString(1, bar - 1);
}

AnsiString GetLongHint(const AnsiString& hint) {
  int bar = hint.Pos("|");
  return bar == 0 ? hint : hint.SubString(bar + 1, hint.Length() - bar);
}

AnsiString GetHint(TControl* control) {
  for (; control; control = control->Parent())
    if (!control->Hint().IsEmpty()) return control->Hint();
  return AnsiString();
}

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
  SetColor(clInfoBk);
  if (Screen) Font()->Assign(Screen->HintFont());
}

void THintWindow::CreateParams(TCreateParams& p) {
  TCustomControl::CreateParams(p);
  // Not visible when made: ActivateHint shows it where it belongs.
  p.Style = WS_POPUP | WS_BORDER;
  p.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  p.WindowClass.style |= CS_SAVEBITS;
  p.WndParent = Application ? Application->Handle() : nullptr;
}

void THintWindow::Paint() {
  RECT r = ClientRect();
  HDC dc = Canvas()->Handle();
  {
    const OwnedGdiObject<HBRUSH> frame(CreateSolidBrush(ColorToRGB(clWindowFrame)));
    ::FrameRect(dc, &r, frame);
  }
  r.left += 2;
  r.top += 2;
  Canvas()->Font()->SetColor(Screen ? Screen->HintFont()->Color() : clInfoText);
  dc = Canvas()->Handle();
  int oldMode = SetBkMode(dc, TRANSPARENT);
  AnsiString text = Caption();
  DrawTextA(dc, text.c_str(), -1, &r, DT_LEFT | DT_NOPREFIX | DT_WORDBREAK);
  SetBkMode(dc, oldMode);
}

RECT THintWindow::CalcHintRect(int maxWidth, const AnsiString& hint, void*) {
  RECT r = MeasureText(Font(), hint, RECT{0, 0, maxWidth, 0}, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  r.right += 6;
  r.bottom += 2;
  return r;
}

void THintWindow::ActivateHint(RECT rect, const AnsiString& hint) {
  activating_ = true;
  platform::ScopeExit restore([&] { activating_ = false; });
  SetCaption(hint);
  rect.bottom += 4;
  int width = rect.right - rect.left, height = rect.bottom - rect.top;
  // Kept on the screen.
  int sw = Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
  int sh = Screen ? Screen->Height() : GetSystemMetrics(SM_CYSCREEN);
  if (rect.top + height > sh) rect.top = sh - height;
  if (rect.left + width > sw) rect.left = sw - width;
  rect.left = std::max<LONG>(rect.left, 0);
  rect.top = std::max<LONG>(rect.top, 0);
  SetBounds(rect.left, rect.top, width, height);
  SetWindowPos(Handle(), HWND_TOPMOST, rect.left, rect.top, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
  Invalidate();
}

void THintWindow::ActivateHintData(RECT rect, const AnsiString& hint, void*) { ActivateHint(rect, hint); }

bool THintWindow::IsHintMsg(const MSG& msg) {
  UINT m = msg.message;
  return (m >= kKeyFirst && m <= kKeyLast) || m == CM_ACTIVATE || m == CM_DEACTIVATE || m == WM_COMMAND ||
         (m > WM_MOUSEMOVE && m <= kMouseLast) || m == WM_NCMOUSEMOVE;
}

void THintWindow::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CM_TEXTCHANGED && !activating_) {
    // A caption set from outside sizes the window to fit it.
    AnsiString text = Caption();
    RECT r = MeasureText(Font(), text, RECT{0, 0, 0, 0}, DT_SINGLELINE | DT_NOPREFIX);
    SetBounds(Left(), Top(), r.right + 6, r.bottom + 4);
  }
  TCustomControl::Dispatch(message);
}
