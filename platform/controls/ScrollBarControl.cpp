// The SCROLLBAR class: range, page and position; arrows, track and thumb report to the parent
// as WM_HSCROLL/WM_VSCROLL (ending each action with SB_ENDSCROLL); holding an arrow or the
// track repeats after 400 ms, then every 50 ms. The owner moves the position, never the bar.
// Window scroll bars (WS_VSCROLL/WS_HSCROLL in a window's non-client area) share the values,
// the drawing and the actions, and report to the window itself. Also the scroll functions
// (SetScrollInfo ...).
#include "platform/controls/ScrollBarControl.h"

#include <algorithm>
#include <map>

#include "platform/controls/ControlSupport.h"
#include "platform/win/PaintDC.h"
#include "platform/win/WindowScrollBars.h"

namespace platform::controls {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;
// The window bars' repeat timer; its own procedure keeps it away from the window's timers.
constexpr UINT_PTR kWindowBarTimer = 0xFFF5;
constexpr UINT kFirstRepeat = 400, kRepeat = 50;

struct Bar {
  int min = 0, max = 100;
  UINT page = 0;
  int pos = 0, trackPos = 0;
  int action = -1;  // the code repeated while the button is held, or SB_THUMBTRACK
  int grabOffset = 0;
  bool disabled = false;
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

// The window bar being tracked with the mouse (one at a time: the mouse is captured).
struct WindowTrack {
  HWND hwnd = nullptr;
  int bar = SB_VERT;
  bool hadCapture = false;
};
WindowTrack& Tracked() {
  static WindowTrack track;
  return track;
}

bool Vertical(HWND hwnd) { return DWORD(GetWindowLongW(hwnd, GWL_STYLE)) & SBS_VERT; }

int MaxPos(const Bar& b) { return std::max(b.min, b.max - std::max(0, int(b.page) - 1)); }
int Clamp(const Bar& b, int pos) { return std::clamp(pos, b.min, MaxPos(b)); }
bool Scrollable(const Bar& b) { return MaxPos(b) > b.min; }

// Where a bar lies: its rectangle in the coordinates of the DC it is drawn into and of the mouse
// positions it gets, and its direction.
struct Area {
  RECT r;
  bool vertical;
};

struct Geometry {
  int length, arrow, trackStart, trackLength, thumbStart, thumbLength;
};

Geometry Measure(const Area& a, const Bar& b, int pos) {
  Geometry g{};
  g.length = a.vertical ? int(a.r.bottom - a.r.top) : int(a.r.right - a.r.left);
  const int thickness = a.vertical ? int(a.r.right - a.r.left) : int(a.r.bottom - a.r.top);
  g.arrow = std::min(thickness, g.length / 2);
  g.trackStart = g.arrow;
  g.trackLength = std::max(0, g.length - 2 * g.arrow);
  const int range = b.max - b.min + 1;
  g.thumbLength = b.page ? std::max(8, int(int64_t(g.trackLength) * b.page / std::max(1, range))) : g.arrow;
  g.thumbLength = std::min(g.thumbLength, g.trackLength);
  const int span = MaxPos(b) - b.min;
  g.thumbStart =
      g.trackStart + (span > 0 ? int(int64_t(g.trackLength - g.thumbLength) * (pos - b.min) / span) : 0);
  return g;
}

// The distance of a point along the bar from its start.
int Along(const Area& a, POINT p) { return a.vertical ? int(p.y - a.r.top) : int(p.x - a.r.left); }

void DrawBar(HDC dc, const Area& a, const Bar& b, bool enabled) {
  const Geometry g = Measure(a, b, b.action == SB_THUMBTRACK ? b.trackPos : b.pos);
  auto span = [&](int start, int length) {
    return a.vertical ? RECT{a.r.left, a.r.top + start, a.r.right, a.r.top + start + length}
                      : RECT{a.r.left + start, a.r.top, a.r.left + start + length, a.r.bottom};
  };
  FillSolid(dc, span(g.trackStart, g.trackLength), GetSysColor(COLOR_SCROLLBAR));
  DrawArrowButton(dc, span(0, g.arrow), a.vertical, false, false);
  DrawArrowButton(dc, span(g.length - g.arrow, g.arrow), a.vertical, true, false);
  if (g.thumbLength > 0 && Scrollable(b) && enabled && !b.disabled) {
    const RECT thumb = span(g.thumbStart, g.thumbLength);
    FillSolid(dc, thumb, GetSysColor(COLOR_BTNFACE));
    DrawButtonFrame(dc, thumb, false);
  }
}

int PosAt(const Area& a, const Bar& b, int pixel) {
  const Geometry g = Measure(a, b, b.pos);
  const int free = g.trackLength - g.thumbLength;
  if (free <= 0) return b.min;
  const int offset = std::clamp(pixel - g.trackStart, 0, free);
  return b.min + int((int64_t(offset) * (MaxPos(b) - b.min) + free / 2) / free);
}

// Where a press lands: the action it starts (SB_THUMBTRACK: the thumb is grabbed).
void StartAction(const Area& a, Bar& b, POINT p) {
  const int at = Along(a, p);
  const Geometry g = Measure(a, b, b.pos);
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
  }
}

// A scroll message to whoever the bar reports to: the parent of a SCROLLBAR control (lParam =
// the control), the window itself for a window bar (lParam 0).
void Report(HWND to, bool vertical, HWND control, WORD code, int pos = 0) {
  if (!to) return;
  SendMessageW(to, vertical ? WM_VSCROLL : WM_HSCROLL, MAKEWPARAM(code, WORD(pos)), LPARAM(control));
}

// ---- the SCROLLBAR control

Area ControlArea(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return {r, Vertical(hwnd)};
}

void Notify(HWND hwnd, WORD code, int pos = 0) {
  const HWND parent = GetParent(hwnd) ? GetParent(hwnd) : GetWindow(hwnd, GW_OWNER);
  Report(parent, Vertical(hwnd), hwnd, code, pos);
}

void Paint(HWND hwnd, Bar& b) {
  const PaintDC dc(hwnd);
  DrawBar(dc, ControlArea(hwnd), b, IsWindowEnabled(hwnd));
}

void Act(HWND hwnd, Bar& b) {
  if (b.action >= 0 && b.action != SB_THUMBTRACK) Notify(hwnd, WORD(b.action));
}

bool SetInfo(Bar& b, const SCROLLINFO& si) {
  const Bar old = b;
  if (si.fMask & SIF_RANGE) b.min = si.nMin, b.max = si.nMax;
  if (si.fMask & SIF_PAGE) b.page = std::min<UINT>(si.nPage, UINT(std::max(0, b.max - b.min + 1)));
  if (si.fMask & SIF_POS) b.pos = si.nPos;
  b.pos = Clamp(b, b.pos);
  return old.min != b.min || old.max != b.max || old.page != b.page || old.pos != b.pos;
}

void GetInfo(const Bar& b, SCROLLINFO& si) {
  if (si.fMask & SIF_RANGE) si.nMin = b.min, si.nMax = b.max;
  if (si.fMask & SIF_PAGE) si.nPage = b.page;
  if (si.fMask & SIF_POS) si.nPos = b.pos;
  if (si.fMask & SIF_TRACKPOS) si.nTrackPos = b.action == SB_THUMBTRACK ? b.trackPos : b.pos;
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
    case WM_NCDESTROY:
      States().Drop(hwnd);
      return def();
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(hwnd, b);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      SetCapture(hwnd);
      StartAction(ControlArea(hwnd), b, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
      if (b.action == SB_THUMBTRACK) return 0;
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
        const Area a = ControlArea(hwnd);
        const int pos = PosAt(a, b, Along(a, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)}) - b.grabOffset);
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
      KillTimer(hwnd, kRepeatTimer);
      // The owner asking for the track position at SB_THUMBPOSITION still gets it.
      if (action == SB_THUMBTRACK) Notify(hwnd, SB_THUMBPOSITION, b.trackPos);
      Bar* still = States().Get(hwnd);  // the owner may have destroyed the bar meanwhile
      if (!still) return 0;
      still->action = -1;
      if (msg == WM_LBUTTONUP && GetCapture() == hwnd) ReleaseCapture();
      InvalidateRect(hwnd, nullptr, FALSE);
      Notify(hwnd, SB_ENDSCROLL);
      return 0;
    }
    case WM_KEYDOWN: {
      const bool v = Vertical(hwnd);
      int code = -1;
      switch (int(w)) {
        case VK_UP:
          code = v ? SB_LINEUP : -1;
          break;
        case VK_LEFT:
          code = v ? -1 : SB_LINEUP;
          break;
        case VK_DOWN:
          code = v ? SB_LINEDOWN : -1;
          break;
        case VK_RIGHT:
          code = v ? -1 : SB_LINEDOWN;
          break;
        case VK_PRIOR:
          code = SB_PAGEUP;
          break;
        case VK_NEXT:
          code = SB_PAGEDOWN;
          break;
        case VK_HOME:
          code = SB_TOP;
          break;
        case VK_END:
          code = SB_BOTTOM;
          break;
        default:
          break;
      }
      if (code >= 0) {
        Notify(hwnd, WORD(code));
        Notify(hwnd, SB_ENDSCROLL);
      }
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case SBM_SETPOS: {
      const int old = b.pos;
      b.pos = Clamp(b, int(w));
      if (l) InvalidateRect(hwnd, nullptr, FALSE);
      return old;
    }
    case SBM_GETPOS:
      return b.pos;
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
      SetInfo(b, *si);
      if (w) InvalidateRect(hwnd, nullptr, FALSE);
      return b.pos;
    }
    case SBM_GETSCROLLINFO: {
      auto* si = reinterpret_cast<SCROLLINFO*>(l);
      if (!si || si->cbSize != sizeof(SCROLLINFO)) return FALSE;
      GetInfo(b, *si);
      return TRUE;
    }
    case SBM_ENABLE_ARROWS:
      b.disabled = w == 3;  // ESB_DISABLE_BOTH
      InvalidateRect(hwnd, nullptr, FALSE);
      return TRUE;
    case WM_ENABLE:
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    default:
      return def();
  }
}

// ---- window scroll bars

Bar* WindowBar(HWND hwnd, int bar) {
  if (!IsWindow(hwnd) || (bar != SB_HORZ && bar != SB_VERT)) return nullptr;
  return &WindowBars()[{hwnd, bar}];
}

bool WindowBarArea(HWND hwnd, int bar, Area& out) {
  RECT r;
  if (!platform::win::WindowScrollBarRect(hwnd, bar, &r)) return false;
  out = {r, bar == SB_VERT};
  return true;
}

// A point of the window's client coordinates in window coordinates.
POINT ClientToWindow(HWND hwnd, POINT p) {
  ClientToScreen(hwnd, &p);
  RECT wr;
  GetWindowRect(hwnd, &wr);
  return {p.x - wr.left, p.y - wr.top};
}

void PaintWindowBars(HWND hwnd, HDC dc) {
  Area v{}, h{};
  const bool hasV = WindowBarArea(hwnd, SB_VERT, v), hasH = WindowBarArea(hwnd, SB_HORZ, h);
  const bool enabled = IsWindowEnabled(hwnd);
  if (hasV) DrawBar(dc, v, *WindowBar(hwnd, SB_VERT), enabled);
  if (hasH) DrawBar(dc, h, *WindowBar(hwnd, SB_HORZ), enabled);
  if (hasV && hasH) FillSolid(dc, RECT{v.r.left, h.r.top, v.r.right, h.r.bottom}, GetSysColor(COLOR_BTNFACE));
}

void ActWindowBar(HWND hwnd, int bar) {
  Bar* b = WindowBar(hwnd, bar);
  if (b && b->action >= 0 && b->action != SB_THUMBTRACK)
    Report(hwnd, bar == SB_VERT, nullptr, WORD(b->action));
}

void WindowBarRepeat(HWND hwnd, UINT, UINT_PTR id, DWORD) {
  const WindowTrack& t = Tracked();
  if (t.hwnd != hwnd) {
    KillTimer(hwnd, id);
    return;
  }
  SetTimer(hwnd, kWindowBarTimer, kRepeat, &WindowBarRepeat);
  ActWindowBar(hwnd, t.bar);
}

void EndWindowTrack(bool released) {
  WindowTrack t = Tracked();
  Tracked() = WindowTrack{};
  if (!t.hwnd) return;
  KillTimer(t.hwnd, kWindowBarTimer);
  Bar* b = WindowBar(t.hwnd, t.bar);
  if (!b) return;
  const int action = b->action;
  if (action == SB_THUMBTRACK) Report(t.hwnd, t.bar == SB_VERT, nullptr, SB_THUMBPOSITION, b->trackPos);
  if ((b = WindowBar(t.hwnd, t.bar))) b->action = -1;
  if (released && !t.hadCapture && GetCapture() == t.hwnd) ReleaseCapture();
  if (action >= 0) Report(t.hwnd, t.bar == SB_VERT, nullptr, SB_ENDSCROLL);
  platform::win::InvalidateScrollBars(t.hwnd);
}

void PressWindowBar(HWND hwnd, int hit, POINT screen) {
  const int bar = hit == HTVSCROLL ? SB_VERT : SB_HORZ;
  Area a{};
  Bar* b = WindowBar(hwnd, bar);
  if (!b || !WindowBarArea(hwnd, bar, a) || !IsWindowEnabled(hwnd) || b->disabled || !Scrollable(*b)) return;
  EndWindowTrack(false);
  RECT wr;
  GetWindowRect(hwnd, &wr);
  StartAction(a, *b, POINT{screen.x - wr.left, screen.y - wr.top});
  Tracked() = WindowTrack{hwnd, bar, GetCapture() == hwnd};
  SetCapture(hwnd);
  if (b->action == SB_THUMBTRACK) {
    platform::win::InvalidateScrollBars(hwnd);
    return;
  }
  ActWindowBar(hwnd, bar);
  if (Tracked().hwnd == hwnd) SetTimer(hwnd, kWindowBarTimer, kFirstRepeat, &WindowBarRepeat);
}

bool FilterWindowBar(const MSG& m) {
  const WindowTrack t = Tracked();
  if (!t.hwnd) return false;
  if (GetCapture() != t.hwnd) {  // someone took the mouse away
    EndWindowTrack(false);
    return false;
  }
  if (m.hwnd != t.hwnd) return false;
  switch (m.message) {
    case WM_MOUSEMOVE: {
      Bar* b = WindowBar(t.hwnd, t.bar);
      Area a{};
      if (b && b->action == SB_THUMBTRACK && WindowBarArea(t.hwnd, t.bar, a)) {
        const POINT p = ClientToWindow(t.hwnd, POINT{GET_X_LPARAM(m.lParam), GET_Y_LPARAM(m.lParam)});
        const int pos = PosAt(a, *b, Along(a, p) - b->grabOffset);
        if (pos != b->trackPos) {
          b->trackPos = pos;
          platform::win::InvalidateScrollBars(t.hwnd);
          Report(t.hwnd, t.bar == SB_VERT, nullptr, SB_THUMBTRACK, pos);
        }
      }
      return true;
    }
    case WM_LBUTTONUP:
      EndWindowTrack(true);
      return true;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
    case WM_NCMOUSEMOVE:
    case WM_NCLBUTTONUP:
      return true;
    default:
      return false;
  }
}

void ForgetWindowBars(HWND hwnd) {
  if (Tracked().hwnd == hwnd) Tracked() = WindowTrack{};
  WindowBars().erase({hwnd, SB_HORZ});
  WindowBars().erase({hwnd, SB_VERT});
}

// Shows or hides a window's bar by its style; the client area follows.
void SetBarShown(HWND hwnd, DWORD flags, bool show) {
  const DWORD style = DWORD(GetWindowLongW(hwnd, GWL_STYLE));
  const DWORD wanted = show ? (style | flags) : (style & ~flags);
  if (wanted == style) return;
  SetWindowLongW(hwnd, GWL_STYLE, LONG(wanted));
  SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

}  // namespace

WndProcFunction ScrollBarWindowProc() { return &ScrollProc; }

void InstallWindowScrollBars() {
  // Values of windows from an earlier run of the window system must not reach new windows.
  for (auto it = WindowBars().begin(); it != WindowBars().end();)
    it = IsWindow(it->first.first) ? std::next(it) : WindowBars().erase(it);
  if (!IsWindow(Tracked().hwnd)) Tracked() = WindowTrack{};
  platform::win::WindowScrollBarHooks hooks;
  hooks.paint = &PaintWindowBars;
  hooks.press = &PressWindowBar;
  hooks.filter = &FilterWindowBar;
  hooks.forget = &ForgetWindowBars;
  platform::win::SetWindowScrollBarHooks(hooks);
}

}  // namespace platform::controls

using namespace platform::controls;

int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
  if (bar == SB_CTL) return int(SendMessageW(hwnd, SBM_SETSCROLLINFO, WPARAM(redraw), LPARAM(info)));
  Bar* b = WindowBar(hwnd, bar);
  if (!b || !info || info->cbSize != sizeof(SCROLLINFO)) return 0;
  const bool changed = SetInfo(*b, *info);
  const int pos = b->pos;
  // A bar with nothing to scroll goes away unless asked to stay (disabled); one with something
  // to scroll comes back.
  if (info->fMask & (SIF_RANGE | SIF_PAGE | SIF_DISABLENOSCROLL))
    SetBarShown(hwnd, bar == SB_VERT ? WS_VSCROLL : WS_HSCROLL,
                Scrollable(*b) || (info->fMask & SIF_DISABLENOSCROLL));
  if (changed && redraw) platform::win::InvalidateScrollBars(hwnd);
  return pos;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
  if (bar == SB_CTL) return BOOL(SendMessageW(hwnd, SBM_GETSCROLLINFO, 0, LPARAM(info)));
  Bar* b = WindowBar(hwnd, bar);
  if (!b || !info || info->cbSize != sizeof(SCROLLINFO)) return FALSE;
  GetInfo(*b, *info);
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

BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  if (!IsWindow(hwnd)) return FALSE;
  switch (bar) {
    case SB_CTL:
      ShowWindow(hwnd, show ? SW_SHOW : SW_HIDE);
      return TRUE;
    case SB_HORZ:
      SetBarShown(hwnd, WS_HSCROLL, show);
      return TRUE;
    case SB_VERT:
      SetBarShown(hwnd, WS_VSCROLL, show);
      return TRUE;
    case SB_BOTH:
      SetBarShown(hwnd, WS_HSCROLL | WS_VSCROLL, show);
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows) {
  if (!IsWindow(hwnd)) return FALSE;
  if (bar == UINT(SB_CTL)) return BOOL(SendMessageW(hwnd, SBM_ENABLE_ARROWS, arrows, 0));
  for (int which : {SB_HORZ, SB_VERT}) {
    if (bar != UINT(which) && bar != UINT(SB_BOTH)) continue;
    if (Bar* b = WindowBar(hwnd, which)) b->disabled = arrows == ESB_DISABLE_BOTH;
  }
  platform::win::InvalidateScrollBars(hwnd);
  return TRUE;
}
