#include "unicode/UcCommandLine.h"

#include <string>

namespace {

// Reads the parameter at p and moves p past it; false when only blanks are left.
bool NextParam(const char16_t*& p, std::u16string& param) {
  param.clear();
  for (;;) {
    if (*p && *p <= 32)
      ++p;
    else if (p[0] == u'"' && p[1] == u'"')
      p += 2;
    else
      break;
  }
  if (!*p) return false;
  bool quoted = false;
  for (; *p && (quoted || *p > 32); ++p) {
    if (*p == u'"')
      quoted = !quoted;
    else
      param += *p;
  }
  return true;
}

}  // namespace

WideString WideParamStrOf(const WideString& commandLine, int index) {
  const char16_t* p = commandLine.c_str();
  std::u16string param;
  for (int i = 0; NextParam(p, param); ++i)
    if (i == index) return WideString(param);
  return WideString();
}

int WideParamCountOf(const WideString& commandLine) {
  const char16_t* p = commandLine.c_str();
  std::u16string param;
  int count = 0;
  if (!NextParam(p, param)) return 0;
  while (NextParam(p, param))
    if (!param.empty()) ++count;
  return count;
}
