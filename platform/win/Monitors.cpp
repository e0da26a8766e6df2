#include "platform/win/Monitors.h"

#include "platform/gdi/DeviceContext.h"
#include "platform/rtl/LastError.h"
#include "platform/win/Win.h"

namespace {

HMONITOR const kScreen = reinterpret_cast<HMONITOR>(0x4D4F4E31);  // the one monitor

RECT ScreenRect() {
  const SIZE s = platform::gdi::ScreenSize();
  return RECT{0, 0, static_cast<LONG>(s.cx), static_cast<LONG>(s.cy)};
}

bool Inside(POINT p) {
  const RECT r = ScreenRect();
  return p.x >= r.left && p.y >= r.top && p.x < r.right && p.y < r.bottom;
}

}  // namespace

HMONITOR MonitorFromPoint(POINT point, DWORD flags) {
  if (Inside(point) || flags != MONITOR_DEFAULTTONULL) return kScreen;
  return nullptr;
}

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) {
  if (!rect) return flags == MONITOR_DEFAULTTONULL ? nullptr : kScreen;
  const RECT screen = ScreenRect();
  RECT meet{};
  if (IntersectRect(&meet, rect, &screen) || flags != MONITOR_DEFAULTTONULL) return kScreen;
  return nullptr;
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
  RECT r{};
  if (!hwnd || !GetWindowRect(hwnd, &r)) return flags == MONITOR_DEFAULTTONULL ? nullptr : kScreen;
  return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) {
  if (monitor != kScreen || !info || info->cbSize != sizeof(MONITORINFO)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  info->rcMonitor = info->rcWork = ScreenRect();
  info->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}

BOOL EnumDisplayMonitors(HDC, const RECT* clip, MONITORENUMPROC proc, LPARAM data) {
  if (!proc) return FALSE;
  RECT r = ScreenRect();
  if (clip) {
    RECT meet{};
    if (!IntersectRect(&meet, clip, &r)) return TRUE;
    r = meet;
  }
  proc(kScreen, nullptr, &r, data);
  return TRUE;
}

BOOL SystemParametersInfoA(UINT action, UINT, void* param, UINT) {
  if (action != SPI_GETWORKAREA || !param) return FALSE;
  *static_cast<RECT*>(param) = ScreenRect();
  return TRUE;
}
