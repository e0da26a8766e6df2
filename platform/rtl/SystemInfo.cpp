#include "platform/rtl/SystemInfo.h"

#include "platform/rtl/LastError.h"

namespace {

template <class R>
R Unsupported(R result) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return result;
}

}  // namespace

BOOL GetComputerNameA(LPSTR, LPDWORD) { return Unsupported<BOOL>(FALSE); }
BOOL GetComputerNameW(LPWSTR, LPDWORD) { return Unsupported<BOOL>(FALSE); }
BOOL GetUserNameA(LPSTR, LPDWORD) { return Unsupported<BOOL>(FALSE); }
BOOL GetUserNameW(LPWSTR, LPDWORD) { return Unsupported<BOOL>(FALSE); }
BOOL GetDiskFreeSpaceA(LPCSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD) { return Unsupported<BOOL>(FALSE); }
BOOL GetDiskFreeSpaceW(LPCWSTR, LPDWORD, LPDWORD, LPDWORD, LPDWORD) { return Unsupported<BOOL>(FALSE); }
BOOL GetVolumeInformationA(LPCSTR, LPSTR, DWORD, LPDWORD, LPDWORD, LPDWORD, LPSTR, DWORD) {
  return Unsupported<BOOL>(FALSE);
}
BOOL GetVolumeInformationW(LPCWSTR, LPWSTR, DWORD, LPDWORD, LPDWORD, LPDWORD, LPWSTR, DWORD) {
  return Unsupported<BOOL>(FALSE);
}
UINT GetWindowsDirectoryA(LPSTR, UINT) { return Unsupported<UINT>(0); }
UINT GetWindowsDirectoryW(LPWSTR, UINT) { return Unsupported<UINT>(0); }
UINT GetSystemDirectoryA(LPSTR, UINT) { return Unsupported<UINT>(0); }
UINT GetSystemDirectoryW(LPWSTR, UINT) { return Unsupported<UINT>(0); }
UINT GetTempFileNameA(LPCSTR, LPCSTR, UINT, LPSTR) { return Unsupported<UINT>(0); }
UINT GetTempFileNameW(LPCWSTR, LPCWSTR, UINT, LPWSTR) { return Unsupported<UINT>(0); }
