#include "unicode/WideLocale.h"

#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"

WideString WideGetLocaleStr(LCID locale, LCTYPE item, const WideString& defaultValue) {
  constexpr int kSize = 255;
  if (Win32PlatformIsUnicode()) {
    char16_t buffer[kSize];
    const int n = GetLocaleInfoW(locale, item, buffer, kSize);
    return n > 0 ? WideString(std::u16string(buffer, static_cast<std::size_t>(n - 1))) : defaultValue;
  }
  char buffer[kSize];
  const int n = GetLocaleInfoA(locale, item, buffer, kSize);
  return n > 0 ? UcWiden(AnsiString(buffer, n - 1)) : defaultValue;
}
