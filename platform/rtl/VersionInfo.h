// Version information resources of program files. No file here carries one: every call fails
// cleanly (0 or FALSE, ERROR_NOT_SUPPORTED).
#pragma once

#include "platform/rtl/Types.h"

using PUINT = UINT*;

DWORD GetFileVersionInfoSizeA(LPCSTR fileName, LPDWORD handle);
DWORD GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle);
BOOL GetFileVersionInfoA(LPCSTR fileName, DWORD handle, DWORD size, LPVOID data);
BOOL GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD size, LPVOID data);
BOOL VerQueryValueA(LPCVOID block, LPCSTR subBlock, LPVOID* buffer, PUINT length);
BOOL VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT length);
