// Layered windows: a top-level window with the WS_EX_LAYERED style can be given an opacity
// (LWA_ALPHA) and a colour key (LWA_COLORKEY). The window's pixels are blended over what lies
// behind it: on the desktop by the backend, headless in the driver's captures. The attributes
// count only while the window has the style.
#pragma once

#include "platform/win/Win.h"

constexpr DWORD LWA_COLORKEY = 0x1, LWA_ALPHA = 0x2;

// FALSE with ERROR_INVALID_HANDLE for a window that is not one, ERROR_INVALID_PARAMETER for a
// window without WS_EX_LAYERED, a child window or flags other than the two.
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags);
// The attributes last set; FALSE for a window without WS_EX_LAYERED or never set.
BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags);
// The opacity the window shows with: its alpha when it is layered with LWA_ALPHA, else 255.
BYTE WindowOpacity(HWND hwnd);
