// The BUTTON class (push, default push, check box, radio button, group box, owner-drawn) and the
// STATIC class (text with frame styles).
#include "platform/controls/ButtonControl.h"

#include <algorithm>
#include <vector>

#include "platform/controls/ControlSupport.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/win/PaintDC.h"
#include "platform/win/WindowDC.h"

namespace platform::controls {

namespace {

struct ButtonWindow {
  LRESULT check = BST_UNCHECKED;
  bool pushed = false;
  bool tracking = false;
  bool focused = false;
  HFONT font = nullptr;
};

WindowStates<ButtonWindow>& States() {
  static WindowStates<ButtonWindow> states;
  return states;
}

DWORD Type(HWND hwnd) { return DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & BS_TYPEMASK; }
bool IsRadio(DWORD t) { return t == BS_RADIOBUTTON || t == BS_AUTORADIOBUTTON; }

std::u16string WindowText(HWND hwnd) {
  const LRESULT n = DefWindowProcW(hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::u16string s(size_t(n) + 1, u'\0');
  const LRESULT got = DefWindowProcW(hwnd, WM_GETTEXT, WPARAM(s.size()), LPARAM(s.data()));
  s.resize(size_t(std::max<LRESULT>(0, got)));
  return s;
}

UINT OwnerDrawState(HWND hwnd, const ButtonWindow& b) {
  UINT state = 0;
  if (b.pushed) state |= ODS_SELECTED;
  if (b.focused) state |= ODS_FOCUS;
  if (!IsWindowEnabled(hwnd)) state |= ODS_DISABLED;
  if (DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & BS_DEFPUSHBUTTON) state |= ODS_DEFAULT;
  return state;
}

void SendDrawItem(HWND hwnd, const ButtonWindow& b, HDC dc, UINT action) {
  DRAWITEMSTRUCT di{};
  di.CtlType = ODT_BUTTON;
  di.CtlID = UINT(GetDlgCtrlID(hwnd));
  di.itemAction = action;
  di.itemState = OwnerDrawState(hwnd, b);
  di.hwndItem = hwnd;
  di.hDC = dc;
  GetClientRect(hwnd, &di.rcItem);
  if (HWND parent = GetParent(hwnd)) SendMessageW(parent, WM_DRAWITEM, WPARAM(di.CtlID), LPARAM(&di));
}

// One ellipse in an edge colour around a fill colour, with a pen and brush of its own.
void DrawEllipse(HDC dc, const RECT& r, COLORREF edge, COLORREF fill) {
  const OwnedGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, edge));
  const OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(fill));
  const SelectedObject selectedPen(dc, pen);
  const SelectedObject selectedBrush(dc, brush);
  Ellipse(dc, r.left, r.top, r.right, r.bottom);
}

// A radio button's mark is round: a white disc in a shadow-coloured ring, with a dot when chosen.
void DrawRadioMark(HDC dc, const RECT& box, LRESULT check) {
  DrawEllipse(dc, box, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_WINDOW));
  if (check != BST_CHECKED && check != BST_INDETERMINATE) return;
  const COLORREF ink = GetSysColor(check == BST_INDETERMINATE ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
  DrawEllipse(dc, RECT{box.left + 4, box.top + 4, box.right - 4, box.bottom - 4}, ink, ink);
}

void DrawMark(HDC dc, const RECT& box, DWORD type, LRESULT check) {
  if (IsRadio(type)) {
    DrawRadioMark(dc, box, check);
    return;
  }
  FillSolid(dc, box, GetSysColor(COLOR_WINDOW));
  DrawButtonFrame(dc, box, true);
  if (check != BST_CHECKED && check != BST_INDETERMINATE) return;
  const COLORREF ink = GetSysColor(check == BST_INDETERMINATE ? COLOR_GRAYTEXT : COLOR_WINDOWTEXT);
  // A check mark: two strokes, three pixels thick.
  for (int k = 0; k < 3; ++k) {
    for (int i = 0; i < 3; ++i) SetPixel(dc, box.left + 3 + i, box.top + 5 + i + k, ink);
    for (int i = 0; i < 5; ++i) SetPixel(dc, box.left + 6 + i, box.top + 7 - i + k, ink);
  }
}

void Paint(HWND hwnd, ButtonWindow& b, HDC dc) {
  const DWORD type = Type(hwnd);
  RECT r;
  GetClientRect(hwnd, &r);
  if (type == BS_OWNERDRAW) {
    SendDrawItem(hwnd, b, dc, ODA_DRAWENTIRE);
    return;
  }
  HBRUSH brush = ParentColors(
      hwnd, dc, type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON ? WM_CTLCOLORBTN : WM_CTLCOLORSTATIC);
  FillRect(dc, &r, brush);
  const SelectedObject font(dc, ControlFont(b.font));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
  const std::u16string text = WindowText(hwnd);
  if (type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON) {
    FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
    RECT frame = r;
    if (type == BS_DEFPUSHBUTTON) {
      const OwnedGdiObject<HBRUSH> black(CreateSolidBrush(GetSysColor(COLOR_WINDOWFRAME)));
      FrameRect(dc, &frame, black);
      InflateRect(&frame, -1, -1);
    }
    DrawButtonFrame(dc, frame, b.pushed);
    RECT textRect = frame;
    if (b.pushed) OffsetRect(&textRect, 1, 1);
    DrawTextW(dc, text.c_str(), int(text.size()), &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    if (b.focused) {
      RECT focus = frame;
      InflateRect(&focus, -3, -3);
      DrawFocusRect(dc, &focus);
    }
  } else if (type == BS_GROUPBOX) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT frame{r.left, r.top + tm.tmHeight / 2, r.right, r.bottom};
    const OwnedGdiObject<HBRUSH> shadow(CreateSolidBrush(GetSysColor(COLOR_3DSHADOW)));
    FrameRect(dc, &frame, shadow);
    RECT textRect{r.left + 8, r.top, r.right - 8, r.top + tm.tmHeight};
    RECT calc = textRect;
    DrawTextW(dc, text.c_str(), int(text.size()), &calc, DT_SINGLELINE | DT_CALCRECT);
    calc.right += 2;
    calc.left -= 2;
    FillRect(dc, &calc, brush);
    DrawTextW(dc, text.c_str(), int(text.size()), &textRect, DT_SINGLELINE);
  } else {
    const int box = 13;
    const int top = (int(r.bottom) - box) / 2;
    const bool leftText = DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & BS_LEFTTEXT;
    RECT mark = leftText ? RECT{r.right - box, top, r.right, top + box} : RECT{0, top, box, top + box};
    DrawMark(dc, mark, type, b.check);
    RECT textRect = leftText ? RECT{0, 0, r.right - box - 4, r.bottom} : RECT{box + 4, 0, r.right, r.bottom};
    DrawTextW(dc, text.c_str(), int(text.size()), &textRect, DT_VCENTER | DT_SINGLELINE);
    if (b.focused) {
      RECT calc = textRect;
      DrawTextW(dc, text.c_str(), int(text.size()), &calc, DT_SINGLELINE | DT_CALCRECT);
      calc.top = textRect.top + (textRect.bottom - textRect.top - (calc.bottom - calc.top)) / 2;
      calc.bottom = calc.top + (calc.bottom - calc.top);
      InflateRect(&calc, 1, 1);
      DrawFocusRect(dc, &calc);
    }
  }
}

void StateChanged(HWND hwnd, ButtonWindow& b, UINT action) {
  if (Type(hwnd) == BS_OWNERDRAW) {
    const WindowDC dc(hwnd);
    SendDrawItem(hwnd, b, dc, action);
    return;
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

// The auto radio buttons of the button's group among its siblings, in creation order.
std::vector<HWND> RadioGroup(HWND hwnd) {
  std::vector<HWND> siblings;
  const HWND parent = GetParent(hwnd);
  if (!parent) return {hwnd};
  for (HWND c = GetWindow(parent, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) siblings.push_back(c);
  std::reverse(siblings.begin(), siblings.end());  // the newest child is on top
  const auto at = std::find(siblings.begin(), siblings.end(), hwnd);
  if (at == siblings.end()) return {hwnd};
  auto first = at;
  while (first != siblings.begin() && !(GetWindowLongW(*first, GWL_STYLE) & WS_GROUP)) --first;
  auto last = at + 1;
  while (last != siblings.end() && !(GetWindowLongW(*last, GWL_STYLE) & WS_GROUP)) ++last;
  std::vector<HWND> group;
  for (auto it = first; it != last; ++it) {
    char16_t cls[16] = {};
    GetClassNameW(*it, cls, 16);
    if (std::u16string(cls) == u"BUTTON" &&
        (DWORD(GetWindowLongW(*it, GWL_STYLE)) & BS_TYPEMASK) == BS_AUTORADIOBUTTON)
      group.push_back(*it);
  }
  return group;
}

void Click(HWND hwnd, ButtonWindow& b) {
  const DWORD type = Type(hwnd);
  if (type == BS_AUTOCHECKBOX) {
    b.check = b.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
    InvalidateRect(hwnd, nullptr, FALSE);
  } else if (type == BS_AUTO3STATE) {
    b.check = (b.check + 1) % 3;
    InvalidateRect(hwnd, nullptr, FALSE);
  } else if (type == BS_AUTORADIOBUTTON) {
    for (HWND other : RadioGroup(hwnd))
      if (other != hwnd) SendMessageW(other, BM_SETCHECK, BST_UNCHECKED, 0);
    b.check = BST_CHECKED;
    InvalidateRect(hwnd, nullptr, FALSE);
  }
  NotifyParent(hwnd, BN_CLICKED);
}

bool Inside(HWND hwnd, LPARAM l) {
  RECT r;
  GetClientRect(hwnd, &r);
  return PtInRect(&r, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
}

LRESULT ButtonProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  auto def = [&] { return IsAnsi(hwnd) ? DefWindowProcA(hwnd, msg, w, l) : DefWindowProcW(hwnd, msg, w, l); };
  if (msg == WM_NCCREATE) {
    States().Create(hwnd);
    return def();
  }
  ButtonWindow* bp = States().Get(hwnd);
  if (!bp) return def();
  ButtonWindow& b = *bp;
  switch (msg) {
    case WM_NCDESTROY:
      States().Drop(hwnd);
      return def();
    case WM_PAINT: {
      const PaintDC dc(hwnd);
      Paint(hwnd, b, dc);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SETTEXT: {
      const LRESULT r = def();
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_SETFONT:
      b.font = reinterpret_cast<HFONT>(w);
      if (LOWORD(uint64_t(l))) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return LRESULT(b.font);
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETDLGCODE: {
      const DWORD type = Type(hwnd);
      if (IsRadio(type)) return DLGC_BUTTON | DLGC_RADIOBUTTON;
      if (type == BS_DEFPUSHBUTTON) return DLGC_BUTTON | DLGC_DEFPUSHBUTTON;
      if (type == BS_PUSHBUTTON || type == BS_OWNERDRAW) return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
      if (type == BS_GROUPBOX) return DLGC_STATIC;
      return DLGC_BUTTON;
    }
    case WM_LBUTTONDBLCLK:
      if (Type(hwnd) == BS_OWNERDRAW) NotifyParent(hwnd, BN_DOUBLECLICKED);
      [[fallthrough]];
    case WM_LBUTTONDOWN:
      if (Type(hwnd) == BS_GROUPBOX) return 0;
      if (GetFocus() != hwnd) SetFocus(hwnd);
      SetCapture(hwnd);
      b.tracking = true;
      b.pushed = true;
      StateChanged(hwnd, b, ODA_SELECT);
      return 0;
    case WM_MOUSEMOVE:
      if (b.tracking && Inside(hwnd, l) != b.pushed) {
        b.pushed = !b.pushed;
        StateChanged(hwnd, b, ODA_SELECT);
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!b.tracking) return 0;
      b.tracking = false;
      const bool clicked = b.pushed && Inside(hwnd, l);
      b.pushed = false;
      ReleaseCapture();
      StateChanged(hwnd, b, ODA_SELECT);
      if (clicked) Click(hwnd, b);
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (b.tracking) {
        b.tracking = false;
        b.pushed = false;
        StateChanged(hwnd, b, ODA_SELECT);
      }
      return 0;
    case WM_KEYDOWN:
      if (w == WPARAM(VK_SPACE) && !b.pushed) {
        b.pushed = true;
        StateChanged(hwnd, b, ODA_SELECT);
      }
      return 0;
    case WM_KEYUP:
      if (w == WPARAM(VK_SPACE) && b.pushed && !b.tracking) {
        b.pushed = false;
        StateChanged(hwnd, b, ODA_SELECT);
        Click(hwnd, b);
      }
      return 0;
    case WM_CHAR:
      return 0;
    case WM_SETFOCUS:
      b.focused = true;
      StateChanged(hwnd, b, ODA_FOCUS);
      if (DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & BS_NOTIFY) NotifyParent(hwnd, BN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      b.focused = false;
      if (b.pushed && !b.tracking) b.pushed = false;
      StateChanged(hwnd, b, ODA_FOCUS);
      if (DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & BS_NOTIFY) NotifyParent(hwnd, BN_KILLFOCUS);
      return 0;
    case BM_CLICK:
      Click(hwnd, b);
      return 0;
    case BM_GETCHECK:
      return b.check;
    case BM_SETCHECK:
      b.check = LRESULT(w) & 3;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case BM_GETSTATE:
      return b.check | (b.pushed ? BST_PUSHED : 0) | (b.focused ? BST_FOCUS : 0);
    case BM_SETSTATE:
      b.pushed = w != 0;
      StateChanged(hwnd, b, ODA_SELECT);
      return 0;
    case BM_SETSTYLE: {
      const DWORD style = DWORD(GetWindowLongW(hwnd, GWL_STYLE));
      SetWindowLongW(hwnd, GWL_STYLE, LONG((style & ~0xFFFFu) | (DWORD(w) & 0xFFFF)));
      if (l) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    }
    default:
      return def();
  }
}

struct StaticWindow {
  HFONT font = nullptr;
};

WindowStates<StaticWindow>& Statics() {
  static WindowStates<StaticWindow> states;
  return states;
}

LRESULT StaticProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  auto def = [&] { return IsAnsi(hwnd) ? DefWindowProcA(hwnd, msg, w, l) : DefWindowProcW(hwnd, msg, w, l); };
  if (msg == WM_NCCREATE) {
    Statics().Create(hwnd);
    return def();
  }
  StaticWindow* sp = Statics().Get(hwnd);
  if (!sp) return def();
  switch (msg) {
    case WM_NCDESTROY:
      Statics().Drop(hwnd);
      return def();
    case WM_SETTEXT: {
      const LRESULT r = def();
      InvalidateRect(hwnd, nullptr, TRUE);
      return r;
    }
    case WM_SETFONT:
      sp->font = reinterpret_cast<HFONT>(w);
      if (LOWORD(uint64_t(l))) InvalidateRect(hwnd, nullptr, TRUE);
      return 0;
    case WM_GETFONT:
      return LRESULT(sp->font);
    case WM_ERASEBKGND:
      return 1;
    case WM_NCHITTEST:
      return (DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & SS_NOTIFY) ? HTCLIENT : HTTRANSPARENT;
    case WM_LBUTTONDOWN:
      if (DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & SS_NOTIFY) NotifyParent(hwnd, 0 /* STN_CLICKED */);
      return 0;
    case WM_PAINT: {
      const PaintDC dc(hwnd);
      RECT r;
      GetClientRect(hwnd, &r);
      FillRect(dc, &r, ParentColors(hwnd, dc, WM_CTLCOLORSTATIC));
      const DWORD style = DWORD(GetWindowLongW(hwnd, GWL_STYLE));
      if (style & SS_SUNKEN) {
        DrawButtonFrame(dc, r, true);
        InflateRect(&r, -1, -1);
      }
      const SelectedObject font(dc, ControlFont(sp->font));
      SetBkMode(dc, TRANSPARENT);
      if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
      const std::u16string text = WindowText(hwnd);
      UINT flags = DT_WORDBREAK | DT_EXPANDTABS;
      if ((style & 0x1F) == SS_CENTER) flags |= DT_CENTER;
      if ((style & 0x1F) == SS_RIGHT) flags |= DT_RIGHT;
      if (style & SS_NOPREFIX) flags |= DT_NOPREFIX;
      DrawTextW(dc, text.c_str(), int(text.size()), &r, flags);
      return 0;
    }
    default:
      return def();
  }
}

}  // namespace

WndProcFunction ButtonWindowProc() { return &ButtonProc; }
WndProcFunction StaticWindowProc() { return &StaticProc; }

}  // namespace platform::controls
