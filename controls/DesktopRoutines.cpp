#include "controls/DesktopRoutines.h"

#include <algorithm>

#include "platform/forms/ClassRegistry.h"
#include "platform/win/Win.h"

RECT GetDesktopClientRect() {
  RECT desktop{};
  GetWindowRect(GetDesktopWindow(), &desktop);
  if (IsRectEmpty(&desktop))
    desktop = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  HWND bar = FindWindowA("Shell_TrayWnd", nullptr);
  RECT b{};
  if (!bar || !GetWindowRect(bar, &b) || IsRectEmpty(&b)) return desktop;
  const bool wide = (b.right - b.left) >= (b.bottom - b.top);
  if (wide) {
    if (b.top <= desktop.top)
      desktop.top = b.bottom;
    else
      desktop.bottom = b.top;
  } else {
    if (b.left <= desktop.left)
      desktop.left = b.right;
    else
      desktop.right = b.left;
  }
  return desktop;
}

RECT GetMonitorWorkArea(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info)) return GetDesktopClientRect();
  return info.rcWork;
}

RECT GetMonitorBoundsRect(HMONITOR monitor) {
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (!GetMonitorInfoA(monitor, &info))
    return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  return info.rcMonitor;
}

RECT GetActiveWorkArea(HWND window) {
  return GetMonitorWorkArea(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST));
}
int GetActiveWorkAreaWidth(HWND window) {
  const RECT r = GetActiveWorkArea(window);
  return r.right - r.left;
}
int GetActiveWorkAreaHeight(HWND window) {
  const RECT r = GetActiveWorkArea(window);
  return r.bottom - r.top;
}

namespace {

struct PointSearch {
  POINT point;
  HMONITOR found = nullptr;
};

BOOL FindMonitor(HMONITOR monitor, HDC, RECT*, LPARAM data) {
  auto* search = reinterpret_cast<PointSearch*>(data);
  const RECT bounds = GetMonitorBoundsRect(monitor);
  if (!PtInRect(&bounds, search->point)) return TRUE;
  search->found = monitor;
  return FALSE;
}

// Centres a control of the given size on `on`, then keeps it inside `work`.
TPoint Centre(TControl* control, const RECT& on, const RECT& work) {
  const int w = control->Width(), h = control->Height();
  int x = on.left + ((on.right - on.left) - w) / 2;
  int y = on.top + ((on.bottom - on.top) - h) / 2;
  x = std::max(std::min(x, static_cast<int>(work.right) - w), static_cast<int>(work.left));
  y = std::max(std::min(y, static_cast<int>(work.bottom) - h), static_cast<int>(work.top));
  return TPoint(x, y);
}

RECT ScreenRectOf(TControl* control) {
  const POINT origin = control->ClientToScreen(POINT{0, 0});
  return RECT{origin.x, origin.y, origin.x + control->Width(), origin.y + control->Height()};
}

}  // namespace

HMONITOR GetMonitorContainingPoint(POINT point) {
  PointSearch search{point};
  EnumDisplayMonitors(nullptr, nullptr, FindMonitor, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TPoint CenterToWindow(TControl* control, HWND window) {
  RECT on{};
  if (!window || !GetWindowRect(window, &on)) on = GetDesktopClientRect();
  return Centre(control, on, GetMonitorWorkArea(MonitorFromRect(&on, MONITOR_DEFAULTTONEAREST)));
}

TPoint CenterToForm(TControl* control, TCustomForm* form) {
  if (!form) return CenterToWindow(control, nullptr);
  if (form->HandleAllocated()) return CenterToWindow(control, form->Handle());
  const RECT on{form->Left(), form->Top(), form->Left() + form->Width(), form->Top() + form->Height()};
  return Centre(control, on, GetMonitorWorkArea(MonitorFromRect(&on, MONITOR_DEFAULTTONEAREST)));
}

TPoint CenterToMDIChild(TControl* control, TCustomForm* child) {
  if (!child) return CenterToWindow(control, nullptr);
  const RECT on = ScreenRectOf(child);
  return Centre(control, on, GetMonitorWorkArea(MonitorFromRect(&on, MONITOR_DEFAULTTONEAREST)));
}

void InvalidateWindowFrame(HWND window, const RECT& rect) {
  if (!window || !IsWindowVisible(window) || IsRectEmpty(&rect)) return;
  RECT bounds{};
  GetWindowRect(window, &bounds);
  const RECT whole{0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top};
  RECT meet{};
  if (!IntersectRect(&meet, &rect, &whole)) return;
  RedrawWindow(window, &meet, nullptr, RDW_FRAME | RDW_INVALIDATE);
}

void InvalidateControls(TWinControl* container) {
  if (!container) return;
  for (int i = 0; i < container->ControlCount(); ++i) {
    TControl* child = container->Controls(i);
    const TClassInfo* info = ClassInfoOf(child);
    const TPropInfo* prop = info ? GetPropInfo(info, "Transparent") : nullptr;
    if (prop && prop->GetOrd && prop->GetOrd(child) != 0) child->Invalidate();
  }
}
