#include "unicode/UcNarrowText.h"

#include "unicode/CodePageConversion.h"

const char* UcNarrowArg(const char16_t* s, AnsiString& holder) {
  if (!s) return nullptr;
  holder = UcNarrow(s);
  return holder.c_str();
}

AnsiString UcNarrow(std::u16string_view s) {
  return WideStringToStringEx(WideString(s), DefaultSystemCodePage());
}

WideString UcWiden(const AnsiString& s) { return StringToWideStringEx(s, DefaultSystemCodePage()); }
