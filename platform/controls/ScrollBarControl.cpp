// The SCROLLBAR class: range, page and position; arrows, track and thumb report to the parent
// as WM_HSCROLL/WM_VSCROLL (ending each action with SB_ENDSCROLL); holding an arrow or the
// track repeats after 400 ms, then every 50 ms. The owner moves the position, never the bar.
// Also the scroll functions (SetScrollInfo ...); window scroll bars keep their values here.
#include "platform/controls/ScrollBarControl.h"

#include <algorithm>
#include <map>

#include "platform/controls/ControlSupport.h"

namespace platform::controls {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kFirstRepeat = 400, kRepeat = 50;

struct Bar {
  int min = 0, max = 100;
  UINT page = 0;
  int pos = 0, trackPos = 0;
  int action = -1;  // the code repeated while the button is held, or SB_THUMBTRACK
  int grabOffset = 0;
};

WindowStates<Bar>& States() {
  static WindowStates<Bar> states;
  return states;
}

// Window scroll bars (SB_HORZ, SB_VERT) of ordinary windows.
std::map<std::pair<HWND, int>, Bar>& WindowBars() {
  static std::map<std::pair<HWND, int>, Bar> bars;
  return bars;
}

bool Vertical(HWND hwnd) { return DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & SBS_VERT; }

int MaxPos(const Bar& b) { return std::max(b.min, b.max - std::max(0, int(b.page) - 1)); }
int Clamp(const Bar& b, int pos) { return std::clamp(pos, b.min, MaxPos(b)); }

struct Geometry {
  int length, arrow, trackStart, trackLength, thumbStart, thumbLength;
};

Geometry Measure(HWND hwnd, const Bar& b, int pos) {
  RECT r;
  GetClientRect(hwnd, &r);
  const bool v = Vertical(hwnd);
  Geometry g{};
  g.length = v ? int(r.bottom) : int(r.right);
  const int thickness = v ? int(r.right) : int(r.bottom);
  g.arrow = std::min(thickness, g.length / 2);
  g.trackStart = g.arrow;
  g.trackLength = std::max(0, g.length - 2 * g.arrow);
  const int range = b.max - b.min + 1;
  g.thumbLength = b.page ? std::max(8, int(int64_t(g.trackLength) * b.page / std::max(1, range))) : g.arrow;
  g.thumbLength = std::min(g.thumbLength, g.trackLength);
  const int span = MaxPos(b) - b.min;
  g.thumbStart = g.trackStart + (span > 0 ? int(int64_t(g.trackLength - g.thumbLength) * (pos - b.min) / span) : 0);
  return g;
}

void Notify(HWND hwnd, WORD code, int pos = 0) {
  const HWND parent = GetParent(hwnd) ? GetParent(hwnd) : GetWindow(hwnd, GW_OWNER);
  if (!parent) return;
  SendMessageW(parent, Vertical(hwnd) ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, WORD(pos)), LPARAM(hwnd));
}

void DrawArrow(HDC dc, RECT r, bool vertical, bool forward) {
  FillSolid(dc, r, GetSysColor(COLOR_BTNFACE));
  DrawButtonFrame(dc, r, false);
  const COLORREF ink = GetSysColor(COLOR_BTNTEXT);
  const int cx = (r.left + r.right) / 2, cy = (r.top + r.bottom) / 2;
  for (int k = 0; k < 4; ++k)
    for (int j = -k; j <= k; ++j) {
      const int along = forward ? k - 2 : 1 - k;
      if (vertical)
        SetPixel(dc, cx + j, cy + along, ink);
      else
        SetPixel(dc, cx + along, cy + j, ink);
    }
}

void Paint(HWND hwnd, Bar& b) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT r;
  GetClientRect(hwnd, &r);
  const bool v = Vertical(hwnd);
  const Geometry g = Measure(hwnd, b, b.action == SB_THUMBTRACK ? b.trackPos : b.pos);
  auto span = [&](int start, int length) {
    return v ? RECT{0, start, r.right, start + length} : RECT{start, 0, start + length, r.bottom};
  };
  FillSolid(dc, span(g.trackStart, g.trackLength), GetSysColor(COLOR_SCROLLBAR));
  DrawArrow(dc, span(0, g.arrow), v, false);
  DrawArrow(dc, span(g.length - g.arrow, g.arrow), v, true);
  if (g.thumbLength > 0 && MaxPos(b) > b.min && IsWindowEnabled(hwnd)) {
    const RECT thumb = span(g.thumbStart, g.thumbLength);
    FillSolid(dc, thumb, GetSysColor(COLOR_BTNFACE));
    DrawButtonFrame(dc, thumb, false);
  }
  EndPaint(hwnd, &ps);
}

int PosAt(HWND hwnd, const Bar& b, int pixel) {
  const Geometry g = Measure(hwnd, b, b.pos);
  const int free = g.trackLength - g.thumbLength;
  if (free <= 0) return b.min;
  const int offset = std::clamp(pixel - g.trackStart, 0, free);
  return b.min + int((int64_t(offset) * (MaxPos(b) - b.min) + free / 2) / free);
}

void Act(HWND hwnd, Bar& b) {
  if (b.action >= 0 && b.action != SB_THUMBTRACK) Notify(hwnd, WORD(b.action));
}

LRESULT ScrollProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  auto def = [&] { return IsAnsi(hwnd) ? DefWindowProcA(hwnd, msg, w, l) : DefWindowProcW(hwnd, msg, w, l); };
  if (msg == WM_NCCREATE) {
    States().Create(hwnd);
    return def();
  }
  Bar* bp = States().Get(hwnd);
  if (!bp) return def();
  Bar& b = *bp;
  switch (msg) {
    case WM_NCDESTROY: States().Drop(hwnd); return def();
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(hwnd, b); return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      const int at = Vertical(hwnd) ? GET_Y_LPARAM(l) : GET_X_LPARAM(l);
      const Geometry g = Measure(hwnd, b, b.pos);
      SetCapture(hwnd);
      if (at < g.arrow) {
        b.action = SB_LINEUP;
      } else if (at >= g.length - g.arrow) {
        b.action = SB_LINEDOWN;
      } else if (at < g.thumbStart) {
        b.action = SB_PAGEUP;
      } else if (at >= g.thumbStart + g.thumbLength) {
        b.action = SB_PAGEDOWN;
      } else {
        b.action = SB_THUMBTRACK;
        b.grabOffset = at - g.thumbStart;
        b.trackPos = b.pos;
        return 0;
      }
      Act(hwnd, b);
      SetTimer(hwnd, kRepeatTimer, kFirstRepeat, nullptr);
      return 0;
    }
    case WM_TIMER:
      if (w == kRepeatTimer && b.action >= 0 && b.action != SB_THUMBTRACK) {
        SetTimer(hwnd, kRepeatTimer, kRepeat, nullptr);
        Act(hwnd, b);
      }
      return 0;
    case WM_MOUSEMOVE:
      if (b.action == SB_THUMBTRACK) {
        const int at = Vertical(hwnd) ? GET_Y_LPARAM(l) : GET_X_LPARAM(l);
        const int pos = PosAt(hwnd, b, at - b.grabOffset);
        if (pos != b.trackPos) {
          b.trackPos = pos;
          InvalidateRect(hwnd, nullptr, FALSE);
          Notify(hwnd, SB_THUMBTRACK, pos);
        }
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED: {
      if (b.action < 0) return 0;
      const int action = b.action;
      b.action = -1;
      KillTimer(hwnd, kRepeatTimer);
      if (msg == WM_LBUTTONUP && GetCapture() == hwnd) ReleaseCapture();
      if (action == SB_THUMBTRACK) Notify(hwnd, SB_THUMBPOSITION, b.trackPos);
      Notify(hwnd, SB_ENDSCROLL);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    }
    case WM_KEYDOWN: {
      const bool v = Vertical(hwnd);
      int code = -1;
      switch (int(w)) {
        case VK_UP: code = v ? SB_LINEUP : -1; break;
        case VK_LEFT: code = v ? -1 : SB_LINEUP; break;
        case VK_DOWN: code = v ? SB_LINEDOWN : -1; break;
        case VK_RIGHT: code = v ? -1 : SB_LINEDOWN; break;
        case VK_PRIOR: code = SB_PAGEUP; break;
        case VK_NEXT: code = SB_PAGEDOWN; break;
        case VK_HOME: code = SB_TOP; break;
        case VK_END: code = SB_BOTTOM; break;
        default: break;
      }
      if (code >= 0) {
        Notify(hwnd, WORD(code));
        Notify(hwnd, SB_ENDSCROLL);
      }
      return 0;
    }
    case WM_GETDLGCODE: return DLGC_WANTARROWS;
    case SBM_SETPOS: {
      const int old = b.pos;
      b.pos = Clamp(b, int(w));
      if (l) InvalidateRect(hwnd, nullptr, FALSE);
      return old;
    }
    case SBM_GETPOS: return b.pos;
    case SBM_SETRANGE:
    case SBM_SETRANGEREDRAW: {
      const int old = b.pos;
      b.min = int(w);
      b.max = int(l);
      b.pos = Clamp(b, b.pos);
      if (msg == SBM_SETRANGEREDRAW) InvalidateRect(hwnd, nullptr, FALSE);
      return old;
    }
    case SBM_GETRANGE:
      if (w) *reinterpret_cast<int*>(w) = b.min;
      if (l) *reinterpret_cast<int*>(l) = b.max;
      return 0;
    case SBM_SETSCROLLINFO: {
      const auto* si = reinterpret_cast<const SCROLLINFO*>(l);
      if (!si || si->cbSize != sizeof(SCROLLINFO)) return b.pos;
      if (si->fMask & SIF_RANGE) b.min = si->nMin, b.max = si->nMax;
      if (si->fMask & SIF_PAGE) b.page = std::min<UINT>(si->nPage, UINT(std::max(0, b.max - b.min + 1)));
      if (si->fMask & SIF_POS) b.pos = si->nPos;
      b.pos = Clamp(b, b.pos);
      if (w) InvalidateRect(hwnd, nullptr, FALSE);
      return b.pos;
    }
    case SBM_GETSCROLLINFO: {
      auto* si = reinterpret_cast<SCROLLINFO*>(l);
      if (!si || si->cbSize != sizeof(SCROLLINFO)) return FALSE;
      if (si->fMask & SIF_RANGE) si->nMin = b.min, si->nMax = b.max;
      if (si->fMask & SIF_PAGE) si->nPage = b.page;
      if (si->fMask & SIF_POS) si->nPos = b.pos;
      if (si->fMask & SIF_TRACKPOS) si->nTrackPos = b.action == SB_THUMBTRACK ? b.trackPos : b.pos;
      return TRUE;
    }
    case SBM_ENABLE_ARROWS: return TRUE;
    case WM_ENABLE: InvalidateRect(hwnd, nullptr, FALSE); return 0;
    default: return def();
  }
}

Bar* WindowBar(HWND hwnd, int bar) {
  if (!IsWindow(hwnd) || (bar != SB_HORZ && bar != SB_VERT)) return nullptr;
  return &WindowBars()[{hwnd, bar}];
}

}  // namespace

WndProcFunction ScrollBarWindowProc() { return &ScrollProc; }

}  // namespace platform::controls

using namespace platform::controls;

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
  if (bar == SB_CTL) return int(SendMessageW(hwnd, SBM_SETSCROLLINFO, WPARAM(redraw), LPARAM(info)));
  Bar* b = WindowBar(hwnd, bar);
  if (!b || !info || info->cbSize != sizeof(SCROLLINFO)) return 0;
  if (info->fMask & SIF_RANGE) b->min = info->nMin, b->max = info->nMax;
  if (info->fMask & SIF_PAGE) b->page = std::min<UINT>(info->nPage, UINT(std::max(0, b->max - b->min + 1)));
  if (info->fMask & SIF_POS) b->pos = info->nPos;
  b->pos = Clamp(*b, b->pos);
  return b->pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
  if (bar == SB_CTL) return BOOL(SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, LPARAM(info)));
  Bar* b = WindowBar(hwnd, bar);
  if (!b || !info || info->cbSize != sizeof(SCROLLINFO)) return FALSE;
  if (info->fMask & SIF_RANGE) info->nMin = b->min, info->nMax = b->max;
  if (info->fMask & SIF_PAGE) info->nPage = b->page;
  if (info->fMask & (SIF_POS | SIF_TRACKPOS)) info->nPos = info->nTrackPos = b->pos;
  return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw) {
  SCROLLINFO old{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  GetScrollInfo(hwnd, bar, &old);
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, pos, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return old.nPos;
}

int GetScrollPos(HWND hwnd, int bar) {
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_POS, 0, 0, 0, 0, 0};
  return GetScrollInfo(hwnd, bar, &si) ? si.nPos : 0;
}

BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw) {
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, minPos, maxPos, 0, 0, 0};
  SetScrollInfo(hwnd, bar, &si, redraw);
  return TRUE;
}

BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos) {
  SCROLLINFO si{sizeof(SCROLLINFO), SIF_RANGE, 0, 0, 0, 0, 0};
  if (!GetScrollInfo(hwnd, bar, &si)) return FALSE;
  if (minPos) *minPos = si.nMin;
  if (maxPos) *maxPos = si.nMax;
  return TRUE;
}
