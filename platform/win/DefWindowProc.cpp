// The default window procedure: one UTF-16 text store read in either form, and the classic
// default answers for the messages the product relies on.
#include <cstring>

#include "platform/win/PaintDC.h"
#include "platform/win/WindowDC.h"
#include "platform/win/WindowScrollBars.h"
#include "platform/win/WindowSystem.h"

using namespace platform::win;

namespace {

// The top-level window follows the pointer while the left button is held. Once the pointer
// moves, a desktop whose window manager can move windows is handed the move (a click that never
// moves never reaches it); otherwise this loop moves the window and ends on the release, on any
// other press, on Escape, on WM_CANCELMODE and when the window loses the capture or the
// activation, so a release that never reaches the window cannot keep it here.
void MoveWithMouse(HWND hwnd) {
  const HWND top = TopLevelOf(hwnd);
  if (!top || !(GetKeyState(VK_LBUTTON) & 0x8000)) return;
  bool askedDesktop = false;
  POINT start;
  GetCursorPos(&start);
  RECT r;
  GetWindowRect(top, &r);
  SendMessageW(top, WM_ENTERSIZEMOVE, 0, 0);
  SetCapture(top);
  // The press may activate the window while the loop runs (a window manager's click to focus):
  // only losing the activation ends the move.
  bool wasActive = false;
  MSG m, press{};
  bool quit = false;
  while (IsWindow(top) && GetCapture() == top) {
    const bool active = GetActiveWindow() == top;
    if (wasActive && !active) break;
    wasActive = active;
    if (!GetMessageW(&m, nullptr, 0, 0)) {
      quit = true;
      break;
    }
    if (m.message == WM_MOUSEMOVE) {
      if (!askedDesktop) {
        askedDesktop = true;
        if (S().backend && S().backend->MoveByDesktop(top, start)) break;
      }
      SetWindowPos(top, nullptr, r.left + m.pt.x - start.x, r.top + m.pt.y - start.y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      continue;
    }
    if (m.message == WM_LBUTTONUP || m.message == WM_CANCELMODE) break;
    // Another press ends the move and then goes where it was meant to (a click on a control
    // after a release the window never heard of still clicks it).
    if (m.message == WM_RBUTTONDOWN || m.message == WM_MBUTTONDOWN || m.message == WM_LBUTTONDOWN ||
        m.message == WM_RBUTTONDBLCLK || m.message == WM_MBUTTONDBLCLK || m.message == WM_LBUTTONDBLCLK) {
      press = m;
      break;
    }
    if ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && m.wParam == VK_ESCAPE) break;
    if (m.message >= WM_MOUSEMOVE && m.message <= WM_MBUTTONDBLCLK) continue;
    TranslateMessage(&m);
    DispatchMessageW(&m);
  }
  if (GetCapture() == top) ReleaseCapture();
  if (IsWindow(top)) SendMessageW(top, WM_EXITSIZEMOVE, 0, 0);
  if (quit) PostQuitMessage(int(m.wParam));
  if (press.message) {
    // Retrieved while the window held the capture: it goes to the window under the pointer.
    press.hwnd = WindowFromPoint(press.pt);
    POINT p = press.pt;
    if (press.hwnd && ScreenToClient(press.hwnd, &p)) {
      press.lParam = MAKELPARAM(WORD(p.x), WORD(p.y));
      DispatchMessageW(&press);
    }
  }
}

LRESULT DefaultProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l, bool unicode) {
  Window* win = Find(hwnd);
  if (!win) return 0;
  switch (msg) {
    case WM_NCCREATE: {
      if (!l) return TRUE;
      if (unicode) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
        if (cs->lpszName && (reinterpret_cast<uintptr_t>(cs->lpszName) >> 16)) win->text = cs->lpszName;
      } else {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
        if (cs->lpszName && (reinterpret_cast<uintptr_t>(cs->lpszName) >> 16))
          win->text = ToWide(cs->lpszName);
      }
      return TRUE;
    }
    case WM_SETTEXT: {
      if (unicode)
        win->text = l ? std::u16string(reinterpret_cast<const char16_t*>(l)) : std::u16string();
      else
        win->text = l ? ToWide(reinterpret_cast<const char*>(l)) : std::u16string();
      if (!win->parent && S().backend) S().backend->WindowTitled(hwnd, win->text);
      return TRUE;
    }
    case WM_GETTEXT: {
      if (w == 0 || !l) return 0;
      if (unicode) {
        auto* out = reinterpret_cast<char16_t*>(l);
        size_t n = std::min<size_t>(win->text.size(), size_t(w) - 1);
        if (n > 0 && n < win->text.size() && win->text[n - 1] >= 0xD800 && win->text[n - 1] <= 0xDBFF) --n;
        std::memcpy(out, win->text.data(), n * sizeof(char16_t));
        out[n] = 0;
        return LRESULT(n);
      }
      const std::string a = ToAnsi(win->text.data(), win->text.size());
      auto* out = reinterpret_cast<char*>(l);
      size_t n = std::min<size_t>(a.size(), size_t(w) - 1);
      while (SystemPageIsUtf8() && n > 0 && n < a.size() && (uint8_t(a[n]) & 0xC0) == 0x80) --n;
      std::memcpy(out, a.data(), n);
      out[n] = 0;
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH:
      return unicode ? LRESULT(win->text.size()) : LRESULT(ToAnsi(win->text.data(), win->text.size()).size());
    case WM_ERASEBKGND: {
      HBRUSH brush = win->cls ? win->cls->background : nullptr;
      if (!brush || !w) return 0;
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(reinterpret_cast<HDC>(w), &r, brush);
      return 1;
    }
    case WM_PAINT: {
      const PaintDC validated(hwnd);
      return 0;
    }
    case WM_SETCURSOR: {
      if (win->parent) {
        const LRESULT r =
            unicode ? SendMessageW(win->parent, msg, w, l) : SendMessageA(win->parent, msg, w, l);
        if (r) return r;
      }
      if (LOWORD(uint64_t(l)) == HTCLIENT && win->cls && win->cls->cursor) {
        SetCursor(win->cls->cursor);
        return TRUE;
      }
      return FALSE;
    }
    case WM_MOUSEACTIVATE:
      if (win->parent) {
        const LRESULT r =
            unicode ? SendMessageW(win->parent, msg, w, l) : SendMessageA(win->parent, msg, w, l);
        if (r) return r;
      }
      return MA_ACTIVATE;
    case WM_CLOSE:
      DestroyWindow(hwnd);
      return 0;
    case WM_RBUTTONUP: {
      POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      ClientToScreen(hwnd, &p);
      const LPARAM at = MAKELPARAM(WORD(p.x), WORD(p.y));
      return unicode ? SendMessageW(hwnd, WM_CONTEXTMENU, WPARAM(Value(hwnd)), at)
                     : SendMessageA(hwnd, WM_CONTEXTMENU, WPARAM(Value(hwnd)), at);
    }
    case WM_CONTEXTMENU:
      if (win->parent)
        return unicode ? SendMessageW(win->parent, msg, w, l) : SendMessageA(win->parent, msg, w, l);
      return 0;
    case WM_SYSCOMMAND:
      if ((w & 0xFFF0) == SC_CLOSE) PostMessageW(hwnd, WM_CLOSE, 0, 0);
      if ((w & 0xFFF0) == SC_MOVE) MoveWithMouse(hwnd);  // 0xF012 and 0xF017 alike
      return 0;
    case WM_NCPAINT: {
      // The classic frames: a one-pixel window frame for WS_BORDER, a sunken edge inside it for
      // WS_EX_CLIENTEDGE.
      if (!(win->style & WS_CHILD)) return 0;
      const WindowDC dc(hwnd, WindowDC::Whole);
      RECT r{0, 0, win->rect.right - win->rect.left, win->rect.bottom - win->rect.top};
      auto frame = [&](int topLeft, int bottomRight) {
        HBRUSH a = GetSysColorBrush(topLeft), b = GetSysColorBrush(bottomRight);
        RECT t{r.left, r.top, r.right - 1, r.top + 1}, l{r.left, r.top, r.left + 1, r.bottom - 1};
        RECT bo{r.left, r.bottom - 1, r.right, r.bottom}, ri{r.right - 1, r.top, r.right, r.bottom};
        FillRect(dc, &t, a);
        FillRect(dc, &l, a);
        FillRect(dc, &bo, b);
        FillRect(dc, &ri, b);
        InflateRect(&r, -1, -1);
      };
      if (win->style & WS_BORDER) frame(COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
      if (win->exStyle & WS_EX_CLIENTEDGE) {
        frame(COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        frame(COLOR_3DDKSHADOW, COLOR_3DLIGHT);
      }
      if (ScrollBarHooks().paint && (win->style & (WS_VSCROLL | WS_HSCROLL)))
        ScrollBarHooks().paint(hwnd, dc);
      return 0;
    }
    case WM_NCLBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK:
      if (msg == WM_NCLBUTTONDOWN && LRESULT(w) == HTCAPTION) MoveWithMouse(hwnd);
      if ((LRESULT(w) == HTVSCROLL || LRESULT(w) == HTHSCROLL) && ScrollBarHooks().press)
        ScrollBarHooks().press(hwnd, int(w), POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
      return 0;
    case WM_NOTIFYFORMAT:
      return win->unicode ? NFR_UNICODE : NFR_ANSI;
    case WM_NCHITTEST: {
      POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
      RECT wr, cr;
      GetWindowRect(hwnd, &wr);
      GetClientRect(hwnd, &cr);
      POINT c = p;
      ScreenToClient(hwnd, &c);
      if (PtInRect(&cr, c)) return HTCLIENT;
      if (const LRESULT bar = WindowScrollBarHit(hwnd, p)) return bar;
      if (PtInRect(&wr, p)) return win->parent ? HTBORDER : HTNOWHERE;
      return HTNOWHERE;
    }
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(w);
      const bool window = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
      SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
      SetBkColor(dc, GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
      return LRESULT(Value(GetSysColorBrush(window ? COLOR_WINDOW : COLOR_BTNFACE)));
    }
    default:
      return 0;
  }
}

}  // namespace

LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  return DefaultProc(hwnd, msg, w, l, false);
}
LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM w, LPARAM l) { return DefaultProc(hwnd, msg, w, l, true); }
