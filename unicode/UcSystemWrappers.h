// Wrappers of the program and process services.
#pragma once

#include "platform/rtl/Process.h"
#include "platform/rtl/Program.h"

DWORD Uc_GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
// An empty operation is passed as null, on every system; on an 8-bit system every empty text.
HINSTANCE Uc_ShellExecuteW(HWND__* hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                           LPCWSTR directory, int show);
