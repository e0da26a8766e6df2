#include "platform/win/LayeredWindows.h"

#include "platform/rtl/LastError.h"
#include "platform/win/Backend.h"

namespace {

// The attributes live in window properties, so they go with the window.
constexpr const char16_t* kAttributes = u"platform.LayeredAttributes";
constexpr const char16_t* kKey = u"platform.LayeredKey";

bool IsLayered(HWND hwnd) { return (GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED) != 0; }

}  // namespace

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF key, BYTE alpha, DWORD flags) {
  if (!IsWindow(hwnd)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (!IsLayered(hwnd) || (GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) ||
      (flags & ~(LWA_COLORKEY | LWA_ALPHA))) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  // One more than the packed value, so that a stored zero still reads as "set".
  const uintptr_t packed = (uintptr_t(flags) << 8 | alpha) + 1;
  SetPropW(hwnd, kAttributes, reinterpret_cast<HANDLE>(packed));
  SetPropW(hwnd, kKey, reinterpret_cast<HANDLE>(uintptr_t(key) + 1));
  if (auto* backend = platform::win::CurrentBackend())
    backend->WindowOpacityChanged(hwnd, WindowOpacity(hwnd));
  InvalidateRect(hwnd, nullptr, FALSE);
  return TRUE;
}

BOOL GetLayeredWindowAttributes(HWND hwnd, COLORREF* key, BYTE* alpha, DWORD* flags) {
  if (!IsWindow(hwnd) || !IsLayered(hwnd)) {
    SetLastError(IsWindow(hwnd) ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  const auto packed = reinterpret_cast<uintptr_t>(GetPropW(hwnd, kAttributes));
  if (!packed) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (alpha) *alpha = BYTE((packed - 1) & 0xFF);
  if (flags) *flags = DWORD((packed - 1) >> 8);
  if (key) *key = COLORREF(reinterpret_cast<uintptr_t>(GetPropW(hwnd, kKey)) - 1);
  return TRUE;
}

BYTE WindowOpacity(HWND hwnd) {
  BYTE alpha = 255;
  DWORD flags = 0;
  if (!GetLayeredWindowAttributes(hwnd, nullptr, &alpha, &flags) || !(flags & LWA_ALPHA)) return 255;
  return alpha;
}
