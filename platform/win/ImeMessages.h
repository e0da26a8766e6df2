// The messages of input method editors. The platform never generates them (composed text
// arrives as WM_CHAR); controls that answer them can be reached by sending them.
#pragma once

#include "platform/win/WinTypes.h"

constexpr UINT WM_IME_STARTCOMPOSITION = 0x010D, WM_IME_ENDCOMPOSITION = 0x010E, WM_IME_COMPOSITION = 0x010F,
               WM_IME_KEYLAST = 0x010F, WM_IME_SETCONTEXT = 0x0281, WM_IME_NOTIFY = 0x0282,
               WM_IME_CONTROL = 0x0283, WM_IME_COMPOSITIONFULL = 0x0284, WM_IME_SELECT = 0x0285,
               WM_IME_REQUEST = 0x0288, WM_IME_KEYDOWN = 0x0290, WM_IME_KEYUP = 0x0291;
// WM_IME_COMPOSITION's lParam: which strings changed.
constexpr LPARAM GCS_COMPSTR = 0x0008, GCS_RESULTSTR = 0x0800;
