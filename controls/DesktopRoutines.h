// The desktop as the control library sees it: the desktop less the task bar, the work area of
// the monitor a window or point is on, positions that centre a control on a window, form or
// MDI child and stay inside the work area, and redrawing a window's frame or a container's
// transparent children.
#pragma once

#include "platform/forms/TForm.h"
#include "platform/forms/TWinControl.h"
#include "platform/win/Monitors.h"

// The desktop's rectangle without the task bar (a window of class "Shell_TrayWnd") on the side
// where it docks; the whole desktop when there is none.
RECT GetDesktopClientRect();
// The work area of the monitor nearest `window`.
RECT GetActiveWorkArea(HWND window);
int GetActiveWorkAreaWidth(HWND window);
int GetActiveWorkAreaHeight(HWND window);
RECT GetMonitorWorkArea(HMONITOR monitor);
RECT GetMonitorBoundsRect(HMONITOR monitor);
// The first monitor whose bounds hold `point`; null when none does.
HMONITOR GetMonitorContainingPoint(POINT point);

// The top-left screen position that centres `control` on the window, form or MDI child, moved
// back inside the work area when the control would stick out.
TPoint CenterToWindow(TControl* control, HWND window);
TPoint CenterToForm(TControl* control, TCustomForm* form);
TPoint CenterToMDIChild(TControl* control, TCustomForm* child);

// Redraws the window's frame (RDW_FRAME | RDW_INVALIDATE) when any of `rect` (window
// coordinates) is visible.
void InvalidateWindowFrame(HWND window, const RECT& rect);
// Invalidates every child of `container` whose published "Transparent" property is true.
void InvalidateControls(TWinControl* container);
