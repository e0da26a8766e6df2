#include "unicode/WideErrorMessages.h"

#include <algorithm>

#include "platform/rtl/Format.h"
#include "platform/rtl/LastError.h"
#include "unicode/CodePageConversion.h"
#include "unicode/UcPlatformFlags.h"

namespace {

constexpr DWORD kFlags =
    FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ARGUMENT_ARRAY;
constexpr DWORD kBufferUnits = 256;

WideString FormatFrom(HMODULE module, DWORD code) {
  DWORD flags = kFlags | (module ? FORMAT_MESSAGE_FROM_HMODULE : 0);
  if (Win32PlatformIsUnicode()) {
    char16_t buffer[kBufferUnits];
    DWORD n = FormatMessageW(flags, module, code, 0, buffer, kBufferUnits, nullptr);
    return WideString(buffer, static_cast<int>(n));
  }
  char buffer[kBufferUnits];
  DWORD n = FormatMessageA(flags, module, code, 0, buffer, kBufferUnits, nullptr);
  return StringToWideStringEx(AnsiString(buffer, static_cast<int>(n)), CP_ACP);
}

}  // namespace

WideString WideSysErrorMessage(DWORD code) { return WideLibraryErrorMessage(u"system", nullptr, code); }

WideString WideLibraryErrorMessage(const WideString& libraryName, HMODULE module, DWORD code) {
  WideString text = FormatFrom(module, code);
  const std::u16string& units = text.ToU16();
  if (std::all_of(units.begin(), units.end(), [](char16_t c) { return c <= 32; }))
    return WideFormat(u"Unspecified error (%d) from %s.",
                      {TVarRec(static_cast<int>(code)), TVarRec(libraryName)});
  return text;
}
