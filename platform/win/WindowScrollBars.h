// Window scroll bars (WS_VSCROLL, WS_HSCROLL) sit in the non-client area of a child window. The
// window system places them, hit-tests them and routes the pointer to them; the controls layer,
// which keeps the bars' values and draws the classic look, installs the hooks that paint and
// track them.
#pragma once

#include "platform/win/Win.h"

namespace platform::win {

struct WindowScrollBarHooks {
  // Draws the window's bars through a DC at the window's top-left corner.
  void (*paint)(HWND hwnd, HDC windowDc) = nullptr;
  // A press (or double click) on HTVSCROLL or HTHSCROLL at a screen point.
  void (*press)(HWND hwnd, int hit, POINT screen) = nullptr;
  // While a bar is tracked it takes the pointer messages and its repeat timer; true = consumed.
  bool (*filter)(const MSG& m) = nullptr;
  // The window is gone.
  void (*forget)(HWND hwnd) = nullptr;
};

void SetWindowScrollBarHooks(const WindowScrollBarHooks& hooks);
const WindowScrollBarHooks& ScrollBarHooks();

// The bar's rectangle in window coordinates (bar 1 = vertical, 0 = horizontal); false when the window shows
// no such bar.
bool WindowScrollBarRect(HWND hwnd, int bar, RECT* out);
// Marks the non-client area (borders and bars) for repainting.
void InvalidateScrollBars(HWND hwnd);
// The hit-test answer for a screen point on one of the window's bars, else 0.
LRESULT WindowScrollBarHit(HWND hwnd, POINT screen);

}  // namespace platform::win
