#include "platform/rtl/VersionInfo.h"

#include "platform/rtl/LastError.h"

namespace {

template <class R>
R Unsupported(R result) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return result;
}

}  // namespace

DWORD GetFileVersionInfoSizeA(LPCSTR, LPDWORD handle) {
  if (handle) *handle = 0;
  return Unsupported<DWORD>(0);
}
DWORD GetFileVersionInfoSizeW(LPCWSTR, LPDWORD handle) {
  if (handle) *handle = 0;
  return Unsupported<DWORD>(0);
}
BOOL GetFileVersionInfoA(LPCSTR, DWORD, DWORD, LPVOID) { return Unsupported<BOOL>(FALSE); }
BOOL GetFileVersionInfoW(LPCWSTR, DWORD, DWORD, LPVOID) { return Unsupported<BOOL>(FALSE); }
BOOL VerQueryValueA(LPCVOID, LPCSTR, LPVOID* buffer, PUINT length) {
  if (buffer) *buffer = nullptr;
  if (length) *length = 0;
  return Unsupported<BOOL>(FALSE);
}
BOOL VerQueryValueW(LPCVOID, LPCWSTR, LPVOID* buffer, PUINT length) {
  if (buffer) *buffer = nullptr;
  if (length) *length = 0;
  return Unsupported<BOOL>(FALSE);
}
