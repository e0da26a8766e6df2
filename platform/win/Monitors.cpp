// The one monitor: the whole screen, its work area the same.
#include "platform/win/Monitors.h"

#include "platform/win/SystemParameters.h"

namespace {

const HMONITOR kScreenMonitor = reinterpret_cast<HMONITOR>(uintptr_t{1});

RECT ScreenRect() { return RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}; }

}  // namespace

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
  if (!IsWindow(hwnd) && flags == MONITOR_DEFAULTTONULL) return nullptr;
  return kScreenMonitor;
}

BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info) {
  if (monitor != kScreenMonitor || !info || info->cbSize < sizeof(MONITORINFO)) return FALSE;
  info->rcMonitor = ScreenRect();
  info->rcWork = info->rcMonitor;
  info->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}

BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) { return GetMonitorInfoW(monitor, info); }

HMONITOR MonitorFromPoint(POINT point, DWORD flags) {
  const RECT screen = ScreenRect();
  if (PtInRect(&screen, point) || flags != MONITOR_DEFAULTTONULL) return kScreenMonitor;
  return nullptr;
}

HMONITOR MonitorFromRect(const RECT* rect, DWORD flags) {
  const RECT screen = ScreenRect();
  RECT meet{};
  if ((rect && IntersectRect(&meet, rect, &screen)) || flags != MONITOR_DEFAULTTONULL) return kScreenMonitor;
  return nullptr;
}

BOOL EnumDisplayMonitors(HDC, const RECT* clip, MONITORENUMPROC proc, LPARAM data) {
  if (!proc) return FALSE;
  RECT r = ScreenRect();
  if (clip) {
    RECT meet{};
    if (!IntersectRect(&meet, clip, &r)) return TRUE;
    r = meet;
  }
  proc(kScreenMonitor, nullptr, &r, data);
  return TRUE;
}

BOOL SystemParametersInfoA(UINT action, UINT, void* param, UINT) {
  if (action == SPI_GETNONCLIENTMETRICS)
    return platform::win::GetNonClientMetricsA(static_cast<NONCLIENTMETRICSA*>(param));
  if (action != SPI_GETWORKAREA || !param) return FALSE;
  *static_cast<RECT*>(param) = ScreenRect();
  return TRUE;
}
