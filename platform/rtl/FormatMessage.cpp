// FormatMessage for system error codes, and LocalFree for the blocks it allocates.
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Utf8.h"

namespace {

template <typename C>
DWORD Deliver(DWORD flags, const std::basic_string<C>& text, C* buffer, DWORD size) {
  if (flags & FORMAT_MESSAGE_ALLOCATE_BUFFER) {
    if (!buffer) {
      SetLastError(ERROR_INVALID_PARAMETER);
      return 0;
    }
    auto* block = static_cast<C*>(std::malloc((text.size() + 1) * sizeof(C)));
    if (!block) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return 0;
    }
    std::copy(text.begin(), text.end(), block);
    block[text.size()] = 0;
    *reinterpret_cast<C**>(buffer) = block;
    return static_cast<DWORD>(text.size());
  }
  if (!buffer || text.size() + 1 > size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return static_cast<DWORD>(text.size());
}

bool FromSystem(DWORD flags) {
  if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) &&
      !(flags & (FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_FROM_HMODULE)))
    return true;
  SetLastError(ERROR_NOT_SUPPORTED);
  return false;
}

}  // namespace

DWORD FormatMessageA(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPSTR buffer, DWORD size, void*) {
  if (!FromSystem(flags)) return 0;
  std::string text =
      platform::Utf16ToMultiByte(platform::Utf8ToUtf16(SysErrorMessage(messageId).ToStd())) + "\r\n";
  return Deliver(flags, text, buffer, size);
}

DWORD FormatMessageW(DWORD flags, LPCVOID, DWORD messageId, DWORD, LPWSTR buffer, DWORD size, void*) {
  if (!FromSystem(flags)) return 0;
  std::u16string text = platform::Utf8ToUtf16(SysErrorMessage(messageId).ToStd()) + u"\r\n";
  return Deliver(flags, text, buffer, size);
}

HANDLE LocalFree(HANDLE block) {
  std::free(block);
  return nullptr;
}
