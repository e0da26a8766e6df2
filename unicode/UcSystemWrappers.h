// Wrappers of the program and process services.
#pragma once

#include "platform/controls/ThemeServices.h"
#include "platform/rtl/Process.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SystemInfo.h"
#include "platform/rtl/VersionInfo.h"

DWORD Uc_GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size);
// An empty operation is passed as null, on every system; on an 8-bit system every empty text.
HINSTANCE Uc_ShellExecuteW(HWND__* hwnd, LPCWSTR operation, LPCWSTR file, LPCWSTR parameters,
                           LPCWSTR directory, int show);
// Empty texts are passed as null on an 8-bit system.
BOOL Uc_CreateProcessW(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                       LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                       LPVOID environment, LPCWSTR currentDirectory, STARTUPINFOW* startupInfo,
                       PROCESS_INFORMATION* processInformation);
UINT Uc_GetWindowsDirectoryW(LPWSTR buffer, UINT size);
UINT Uc_GetSystemDirectoryW(LPWSTR buffer, UINT size);
BOOL Uc_GetComputerNameW(LPWSTR buffer, LPDWORD size);
BOOL Uc_GetUserNameW(LPWSTR buffer, LPDWORD size);
HMODULE Uc_LoadLibraryW(LPCWSTR name);
HMODULE Uc_LoadLibraryExW(LPCWSTR name, HANDLE file, DWORD flags);
DWORD Uc_GetFileVersionInfoSizeW(LPCWSTR fileName, LPDWORD handle);
BOOL Uc_GetFileVersionInfoW(LPCWSTR fileName, DWORD handle, DWORD size, LPVOID data);
// On an 8-bit system a "\StringFileInfo" value is handed back widened; every widened value stays
// valid until the layer stops (UcReleaseVersionStrings), so earlier results are never left
// dangling by a later call.
BOOL Uc_VerQueryValueW(LPCVOID block, LPCWSTR subBlock, LPVOID* buffer, PUINT length);
void UcReleaseVersionStrings();
