#include "platform/controls/FlatScrollBars.h"

#include <map>

#include "platform/win/Win.h"

namespace {

std::map<HWND, platform::controls::FlatScrollBars>& Started() {
  static std::map<HWND, platform::controls::FlatScrollBars> windows;
  return windows;
}

platform::controls::FlatScrollBars* Find(HWND hwnd) {
  auto it = Started().find(hwnd);
  if (it == Started().end()) return nullptr;
  if (!IsWindow(hwnd)) {
    // The window went without ending its flat bars: a new window with its handle starts afresh.
    Started().erase(it);
    return nullptr;
  }
  return &it->second;
}

// The bars `bar` names: SB_HORZ, SB_VERT or SB_BOTH.
template <class F>
bool ForBars(platform::controls::FlatScrollBars& bars, int bar, F f) {
  if (bar == SB_HORZ || bar == SB_BOTH) f(bars.Horizontal);
  if (bar == SB_VERT || bar == SB_BOTH) f(bars.Vertical);
  return bar == SB_HORZ || bar == SB_VERT || bar == SB_BOTH;
}

}  // namespace

BOOL InitializeFlatSB(HWND hwnd) {
  if (!IsWindow(hwnd)) return FALSE;
  if (Find(hwnd)) return TRUE;
  platform::controls::FlatScrollBars bars;
  for (auto [bar, state] : {std::pair{SB_HORZ, &bars.Horizontal}, std::pair{SB_VERT, &bars.Vertical}}) {
    SCROLLINFO info{sizeof(SCROLLINFO), SIF_ALL, 0, 0, 0, 0, 0};
    if (GetScrollInfo(hwnd, bar, &info)) state->Info = info;
  }
  Started()[hwnd] = bars;
  return TRUE;
}

HRESULT UninitializeFlatSB(HWND hwnd) {
  if (!Find(hwnd)) return static_cast<HRESULT>(0x80004005L);
  Started().erase(hwnd);
  return 0;
}

BOOL FlatSB_SetScrollProp(HWND hwnd, UINT index, INT_PTR value, BOOL) {
  auto* bars = Find(hwnd);
  if (!bars || value < FSB_REGULAR_MODE || value > FSB_FLAT_MODE) return FALSE;
  if (index == WSB_PROP_VSTYLE)
    bars->Vertical.Style = static_cast<int>(value);
  else if (index == WSB_PROP_HSTYLE)
    bars->Horizontal.Style = static_cast<int>(value);
  else
    return FALSE;
  return TRUE;
}

BOOL FlatSB_GetScrollProp(HWND hwnd, int index, int* value) {
  auto* bars = Find(hwnd);
  if (!bars || !value) return FALSE;
  if (index == static_cast<int>(WSB_PROP_VSTYLE))
    *value = bars->Vertical.Style;
  else if (index == static_cast<int>(WSB_PROP_HSTYLE))
    *value = bars->Horizontal.Style;
  else
    return FALSE;
  return TRUE;
}

BOOL FlatSB_EnableScrollBar(HWND hwnd, int bar, UINT arrows) {
  auto* bars = Find(hwnd);
  if (!bars) return EnableScrollBar(hwnd, static_cast<UINT>(bar), arrows);
  return ForBars(*bars, bar, [&](platform::controls::FlatScrollBar& b) { b.Arrows = arrows; });
}

BOOL FlatSB_ShowScrollBar(HWND hwnd, int bar, BOOL show) {
  auto* bars = Find(hwnd);
  if (!bars) return ShowScrollBar(hwnd, bar, show);
  return ForBars(*bars, bar, [&](platform::controls::FlatScrollBar& b) { b.Shown = show != FALSE; });
}

int FlatSB_SetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info, BOOL redraw) {
  auto* bars = Find(hwnd);
  if (!bars) return SetScrollInfo(hwnd, bar, info, redraw);
  if (!info || info->cbSize != sizeof(SCROLLINFO) || (bar != SB_HORZ && bar != SB_VERT)) return 0;
  SCROLLINFO& s = bar == SB_HORZ ? bars->Horizontal.Info : bars->Vertical.Info;
  if (info->fMask & SIF_RANGE) {
    s.nMin = info->nMin;
    s.nMax = info->nMax;
  }
  if (info->fMask & SIF_PAGE) s.nPage = info->nPage;
  if (info->fMask & SIF_POS) s.nPos = info->nPos;
  if (info->fMask & SIF_TRACKPOS) s.nTrackPos = info->nTrackPos;
  return s.nPos;
}

BOOL FlatSB_GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
  auto* bars = Find(hwnd);
  if (!bars) return GetScrollInfo(hwnd, bar, info);
  if (!info || info->cbSize != sizeof(SCROLLINFO) || (bar != SB_HORZ && bar != SB_VERT)) return FALSE;
  const SCROLLINFO& s = bar == SB_HORZ ? bars->Horizontal.Info : bars->Vertical.Info;
  const UINT mask = info->fMask;
  if (mask & SIF_RANGE) {
    info->nMin = s.nMin;
    info->nMax = s.nMax;
  }
  if (mask & SIF_PAGE) info->nPage = s.nPage;
  if (mask & SIF_POS) info->nPos = s.nPos;
  if (mask & SIF_TRACKPOS) info->nTrackPos = s.nTrackPos;
  return TRUE;
}

namespace platform::controls {

const FlatScrollBars* FlatScrollBarState(HWND hwnd) { return Find(hwnd); }

}  // namespace platform::controls
