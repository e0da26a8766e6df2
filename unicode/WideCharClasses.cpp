#include "unicode/WideCharClasses.h"

#include "platform/rtl/CodePage.h"
#include "unicode/CodePageConversion.h"

namespace {

bool Mappable(const char16_t* units, int count) {
  if (count == 0) return true;
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(DefaultSystemCodePage(), 0, units, count, nullptr, 0, nullptr, &usedDefault);
  return n > 0 && !usedDefault;
}

}  // namespace

bool IsWideCharMappableToAnsi(char16_t c) { return Mappable(&c, 1); }

bool IsWideStringMappableToAnsi(const WideString& s) { return Mappable(s.data(), s.Length()); }
