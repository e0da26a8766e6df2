// The display monitors beyond what Win.h declares: there is one, the whole screen, and its work
// area is the screen too (this desktop's panels keep their own room). MonitorFromPoint and
// MonitorFromRect answer it for a point or rectangle on the screen, or whatever the flags ask
// for off it; EnumDisplayMonitors walks the one monitor; SPI_GETWORKAREA gives its work area.
#pragma once

#include "platform/win/Win.h"

constexpr UINT SPI_GETWORKAREA = 0x30;

using LPMONITORINFO = MONITORINFO*;
using MONITORENUMPROC = BOOL (*)(HMONITOR monitor, HDC dc, RECT* rect, LPARAM data);

HMONITOR MonitorFromPoint(POINT point, DWORD flags);
HMONITOR MonitorFromRect(const RECT* rect, DWORD flags);
// Calls `proc` for the one monitor (when it meets `clip`); its answer FALSE stops the walk.
BOOL EnumDisplayMonitors(HDC dc, const RECT* clip, MONITORENUMPROC proc, LPARAM data);
// SPI_GETWORKAREA writes the work area into the RECT at `param`; SPI_GETNONCLIENTMETRICS as
// SystemParameters.h says; other actions answer FALSE.
BOOL SystemParametersInfoA(UINT action, UINT uiParam, void* param, UINT winIni);
