// The one monitor: the whole screen, its work area the same.
#include "platform/win/Win.h"

namespace {
const HMONITOR kScreenMonitor = reinterpret_cast<HMONITOR>(uintptr_t{1});
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
  if (!IsWindow(hwnd) && flags == MONITOR_DEFAULTTONULL) return nullptr;
  return kScreenMonitor;
}

BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info) {
  if (monitor != kScreenMonitor || !info || info->cbSize < sizeof(MONITORINFO)) return FALSE;
  info->rcMonitor = RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  info->rcWork = info->rcMonitor;
  info->dwFlags = MONITORINFOF_PRIMARY;
  return TRUE;
}

BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info) { return GetMonitorInfoW(monitor, info); }
