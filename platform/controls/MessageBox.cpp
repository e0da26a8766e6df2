// MessageBoxA/W: a modal window of the layer with the text, an icon and the buttons of the
// flags; the headless backend answers it from the test's script.
#include <algorithm>
#include <vector>

#include "platform/controls/ControlSupport.h"
#include "platform/controls/MessageBoxWindow.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/Backend.h"
#include "platform/win/PaintDC.h"
#include "platform/win/WindowDC.h"

namespace platform::controls {

namespace {

struct Button {
  int id;
  const char16_t* caption;
};

std::vector<Button> ButtonsOf(UINT flags) {
  switch (flags & MB_TYPEMASK) {
    case MB_OKCANCEL:
      return {{IDOK, u"OK"}, {IDCANCEL, u"Cancel"}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, u"&Abort"}, {IDRETRY, u"&Retry"}, {IDIGNORE, u"&Ignore"}};
    case MB_YESNOCANCEL:
      return {{IDYES, u"&Yes"}, {IDNO, u"&No"}, {IDCANCEL, u"Cancel"}};
    case MB_YESNO:
      return {{IDYES, u"&Yes"}, {IDNO, u"&No"}};
    case MB_RETRYCANCEL:
      return {{IDRETRY, u"&Retry"}, {IDCANCEL, u"Cancel"}};
    default:
      return {{IDOK, u"OK"}};
  }
}

// What Esc answers: Cancel, else No, else the only button of an OK box; 0 when none fits.
int EscapeResult(const std::vector<Button>& buttons) {
  for (const Button& b : buttons)
    if (b.id == IDCANCEL) return IDCANCEL;
  for (const Button& b : buttons)
    if (b.id == IDNO) return IDNO;
  return buttons.size() == 1 ? buttons[0].id : 0;
}

struct BoxWindow {
  std::u16string text;
  UINT flags = 0;
  int defaultId = IDOK;
  int escapeId = IDCANCEL;
  int result = 0;
  RECT textRect{};
};

WindowStates<BoxWindow>& States() {
  static WindowStates<BoxWindow> states;
  return states;
}

constexpr int kButtonWidth = 75, kButtonHeight = 23, kGap = 8, kIcon = 32;

void DrawIcon(HDC dc, UINT flags) {
  const UINT icon = flags & MB_ICONMASK;
  if (!icon) return;
  COLORREF color = RGB(0, 0, 200);
  const char16_t* mark = u"i";
  if (icon == MB_ICONHAND) color = RGB(200, 0, 0), mark = u"X";
  if (icon == MB_ICONQUESTION) mark = u"?";
  if (icon == MB_ICONEXCLAMATION) color = RGB(230, 190, 0), mark = u"!";
  RECT r{12, 12, 12 + kIcon, 12 + kIcon};
  FillSolid(dc, r, color);
  SetTextColor(dc, RGB(255, 255, 255));
  SetBkMode(dc, TRANSPARENT);
  DrawTextW(dc, mark, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}

LRESULT BoxProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  BoxWindow* box = States().Get(hwnd);
  if (msg == WM_NCCREATE) States().Create(hwnd);
  if (!box) return DefWindowProcW(hwnd, msg, w, l);
  switch (msg) {
    case WM_NCDESTROY:
      States().Drop(hwnd);
      break;
    case WM_COMMAND:
      if (HIWORD(w) == BN_CLICKED && !box->result) box->result = LOWORD(w);
      return 0;
    case WM_KEYDOWN:
      if (w == WPARAM(VK_RETURN)) box->result = box->defaultId;
      if (w == WPARAM(VK_ESCAPE) && box->escapeId) box->result = box->escapeId;
      return 0;
    case WM_CHAR: {
      // A button's mnemonic letter chooses it.
      for (HWND c = GetWindow(hwnd, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char16_t caption[32] = {};
        DefWindowProcW(c, WM_GETTEXT, 32, LPARAM(caption));
        const std::u16string s(caption);
        const size_t amp = s.find(u'&');
        if (amp != std::u16string::npos && amp + 1 < s.size() && (s[amp + 1] | 0x20) == (char16_t(w) | 0x20))
          box->result = GetDlgCtrlID(c);
      }
      return 0;
    }
    case WM_CLOSE:
      if (box->escapeId) box->result = box->escapeId;
      return 0;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
      SetBkColor(HDC(w), GetSysColor(COLOR_BTNFACE));
      return LRESULT(GetSysColorBrush(COLOR_BTNFACE));
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      const PaintDC dc(hwnd);
      RECT r;
      GetClientRect(hwnd, &r);
      FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
      DrawIcon(dc, box->flags);
      const SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkMode(dc, TRANSPARENT);
      RECT t = box->textRect;
      DrawTextW(dc, box->text.c_str(), int(box->text.size()), &t, DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
      return 0;
    }
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, w, l);
}

}  // namespace

WndProcFunction MessageBoxWindowProc() { return &BoxProc; }

int ShowMessageBox(HWND owner, const std::u16string& text, const std::u16string& caption, UINT flags) {
  const std::vector<Button> buttons = ButtonsOf(flags);
  const size_t defIndex = std::min(buttons.size() - 1, size_t((flags & MB_DEFMASK) >> 8));
  // Measure the text to size the window.
  RECT calc{0, 0, 400, 0};
  {
    const WindowDC screen(nullptr);
    const SelectedObject font(screen, GetStockObject(DEFAULT_GUI_FONT));
    DrawTextW(screen, text.c_str(), int(text.size()), &calc,
              DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
  }
  const int iconSpace = (flags & MB_ICONMASK) ? kIcon + 2 * 12 : 12;
  const int buttonsWidth = int(buttons.size()) * kButtonWidth + int(buttons.size() - 1) * kGap;
  const int width = std::max(iconSpace + int(calc.right) + 12, buttonsWidth + 24);
  const int textHeight = std::max(int(calc.bottom), (flags & MB_ICONMASK) ? kIcon : 0);
  const int height = 12 + textHeight + 16 + kButtonHeight + 12;
  RECT area{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  if (owner && IsWindow(owner)) GetWindowRect(owner, &area);
  const int x = std::max(0, int(area.left + area.right - width) / 2);
  const int y = std::max(0, int(area.top + area.bottom - height) / 2);

  const HWND box = CreateWindowExW(WS_EX_DLGMODALFRAME | ((flags & MB_TOPMOST) ? WS_EX_TOPMOST : 0),
                                   kMessageBoxClass, caption.c_str(), WS_POPUP | WS_CAPTION, x, y, width,
                                   height, owner, nullptr, nullptr, nullptr);
  if (!box) return 0;
  BoxWindow& state = *States().Get(box);
  state.text = text;
  state.flags = flags;
  state.defaultId = buttons[defIndex].id;
  state.escapeId = EscapeResult(buttons);
  state.textRect = {iconSpace, 12 + (textHeight - int(calc.bottom)) / 2, iconSpace + int(calc.right),
                    12 + textHeight};
  int bx = (width - buttonsWidth) / 2;
  std::vector<std::u16string> texts{text};
  for (size_t i = 0; i < buttons.size(); ++i) {
    CreateWindowExW(0, u"BUTTON", buttons[i].caption,
                    WS_CHILD | WS_VISIBLE | WS_TABSTOP | (i == defIndex ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON),
                    bx, height - 12 - kButtonHeight, kButtonWidth, kButtonHeight, box,
                    reinterpret_cast<HMENU>(uintptr_t(buttons[i].id)), nullptr, nullptr);
    texts.push_back(buttons[i].caption);
    bx += kButtonWidth + kGap;
  }
  ShowWindow(box, SW_SHOW);
  SetFocus(box);

  win::ModalInfo info;
  info.kind = win::ModalInfo::Kind::MessageBox;
  info.hwnd = box;
  info.className = kMessageBoxClass;
  info.caption = caption;
  info.texts = texts;
  int result = 0;
  bool loop = true;
  if (auto answer = win::AskModal(info)) {
    switch (answer->type) {
      case win::ModalAnswer::Type::Result:
        result = answer->result, loop = false;
        break;
      case win::ModalAnswer::Type::Drive:
        if (answer->drive) answer->drive();
        break;
      default:
        result = state.escapeId ? state.escapeId : IDCANCEL, loop = false;
        break;
    }
  }
  if (loop) {
    if (!win::RunModalLoop(box, [&] { return !IsWindow(box) || States().Get(box)->result != 0; }))
      result = IDCANCEL;
    else if (IsWindow(box))
      result = States().Get(box)->result;
  }
  if (IsWindow(box)) DestroyWindow(box);
  return result;
}

}  // namespace platform::controls

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags) {
  return platform::controls::ShowMessageBox(owner, text ? text : u"", caption ? caption : u"Error", flags);
}

int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT flags) {
  return platform::controls::ShowMessageBox(owner, platform::MultiByteToUtf16(text ? text : "", CP_ACP),
                                            platform::MultiByteToUtf16(caption ? caption : "Error", CP_ACP),
                                            flags);
}
