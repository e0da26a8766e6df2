// The display monitors: there is one, the whole screen, and its work area is the screen too
// (this desktop's panels keep their own room). MonitorFromWindow and MonitorFromPoint answer it
// whatever the flags; GetMonitorInfoA fills the bounds and the work area and marks it primary.
#pragma once

#include "platform/win/WinTypes.h"

MMS_DECLARE_HANDLE(HMONITOR);

constexpr DWORD MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;
constexpr UINT SPI_GETWORKAREA = 0x30;

struct MONITORINFO {
  DWORD cbSize;
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
};
using LPMONITORINFO = MONITORINFO*;
using MONITORENUMPROC = BOOL (*)(HMONITOR monitor, HDC dc, RECT* rect, LPARAM data);

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
HMONITOR MonitorFromPoint(POINT point, DWORD flags);
HMONITOR MonitorFromRect(const RECT* rect, DWORD flags);
// FALSE for another monitor or a size that is not the structure's.
BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info);
// Calls `proc` for the one monitor (when it meets `clip`); its answer FALSE stops the walk.
BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC proc, LPARAM data);
// SPI_GETWORKAREA writes the work area into the RECT at `param`; other actions answer FALSE.
BOOL SystemParametersInfoA(UINT action, UINT uiParam, void* param, UINT winIni);
