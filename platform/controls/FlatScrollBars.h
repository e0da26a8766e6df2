// Flat scroll bars of the common controls. A window started with InitializeFlatSB keeps, per
// bar, a scroll state, an enabled-arrows state, a shown flag and a style (regular, the second
// flat style or flat); the window's ordinary bars go on being drawn. For a window that was not
// started, the FlatSB_ calls act on its ordinary bars. FlatScrollBarState lets tests read what
// is stored.
#pragma once

#include "platform/controls/Controls.h"

constexpr UINT WSB_PROP_VSTYLE = 0x100, WSB_PROP_HSTYLE = 0x200;
constexpr int FSB_REGULAR_MODE = 0, FSB_ENCARTA_MODE = 1, FSB_FLAT_MODE = 2;

BOOL InitializeFlatSB(HWND hwnd);
// S_OK (0); E_FAIL for a window that was not started.
HRESULT UninitializeFlatSB(HWND hwnd);
BOOL FlatSB_SetScrollProp(HWND hwnd, UINT index, INT_PTR value, BOOL redraw);
BOOL FlatSB_GetScrollProp(HWND hwnd, int index, int* value);
BOOL FlatSB_EnableScrollBar(HWND hwnd, int bar, UINT arrows);
BOOL FlatSB_ShowScrollBar(HWND hwnd, int bar, BOOL show);
int FlatSB_SetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info, BOOL redraw);
BOOL FlatSB_GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);

namespace platform::controls {

struct FlatScrollBar {
  SCROLLINFO Info{sizeof(SCROLLINFO), SIF_ALL, 0, 100, 0, 0, 0};
  UINT Arrows = ESB_ENABLE_BOTH;
  bool Shown = true;
  int Style = FSB_REGULAR_MODE;
};
struct FlatScrollBars {
  FlatScrollBar Horizontal, Vertical;
};

// The stored bars of a started window; null when it was not started.
const FlatScrollBars* FlatScrollBarState(HWND hwnd);

}  // namespace platform::controls
