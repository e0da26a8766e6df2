#include "unicode/WideCharClasses.h"

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Locale.h"
#include "unicode/CodePageConversion.h"
#include "unicode/UcTextWrappers.h"

namespace {

bool Mappable(const char16_t* units, int count) {
  if (count == 0) return true;
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(DefaultSystemCodePage(), 0, units, count, nullptr, 0, nullptr, &usedDefault);
  return n > 0 && !usedDefault;
}

WORD ClassOf(char16_t c) {
  WORD type = 0;
  if (!Uc_GetStringTypeExW(UcThreadLocale(), CT_CTYPE1, &c, 1, &type)) RaiseLastOSError();
  return type;
}

bool Has(char16_t c, WORD bits) { return (ClassOf(c) & bits) != 0; }

}  // namespace

bool IsWideCharUpper(char16_t c) { return Has(c, C1_UPPER); }
bool IsWideCharLower(char16_t c) { return Has(c, C1_LOWER); }
bool IsWideCharDigit(char16_t c) { return Has(c, C1_DIGIT); }
bool IsWideCharSpace(char16_t c) { return Has(c, C1_SPACE); }
bool IsWideCharPunct(char16_t c) { return Has(c, C1_PUNCT); }
bool IsWideCharCntrl(char16_t c) { return Has(c, C1_CNTRL); }
bool IsWideCharBlank(char16_t c) { return Has(c, C1_BLANK); }
bool IsWideCharXDigit(char16_t c) { return Has(c, C1_XDIGIT); }
bool IsWideCharAlpha(char16_t c) { return Has(c, C1_ALPHA); }
bool IsWideCharAlphaNumeric(char16_t c) { return Has(c, C1_ALPHA | C1_DIGIT); }

bool IsWideCharMappableToAnsi(char16_t c) { return Mappable(&c, 1); }

bool IsWideStringMappableToAnsi(const WideString& s) { return Mappable(s.data(), s.Length()); }
