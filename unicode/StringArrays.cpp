#include "unicode/StringArrays.h"

#include <string>

WideString ExtractStringArrayStr(const char16_t* p) {
  if (!p) return WideString();
  const char16_t* end = p;
  while (end[0] || end[1]) ++end;
  return WideString(std::u16string(p, end + 2));
}

WideString ExtractStringFromStringArray(const char16_t*& p, char16_t separator) {
  const char16_t* start = p;
  while (*p && *p != separator) ++p;
  WideString result(std::u16string(start, p));
  if (*p == separator) ++p;  // a zero separator is the text's own terminator
  return result;
}

std::vector<WideString> ExtractStringsFromStringArray(const char16_t* p, char16_t separator) {
  std::vector<WideString> strings;
  if (!p) return strings;
  for (;;) {
    const char16_t* start = p;
    while (*p && *p != separator) ++p;
    if (p == start) break;
    strings.emplace_back(std::u16string(start, p));
    if (*p != separator) break;  // the text ended without one
    ++p;
  }
  return strings;
}
