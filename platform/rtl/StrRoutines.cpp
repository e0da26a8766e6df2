// Terminated-string routines.
#include "platform/rtl/StrRoutines.h"

#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/rtl/Exceptions.h"

namespace {
int Sign(int v) { return v < 0 ? -1 : (v > 0 ? 1 : 0); }
char Lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
}  // namespace

unsigned StrLen(const char* s) { return s ? static_cast<unsigned>(std::strlen(s)) : 0; }
char* StrEnd(const char* s) { return const_cast<char*>(s + std::strlen(s)); }
char* StrCopy(char* dest, const char* source) { return std::strcpy(dest, source); }

char* StrLCopy(char* dest, const char* source, unsigned maxLen) {
  unsigned n = 0;
  while (n < maxLen && source[n]) {
    dest[n] = source[n];
    ++n;
  }
  dest[n] = 0;
  return dest;
}

char* StrPCopy(char* dest, const AnsiString& source) { return StrCopy(dest, source.c_str()); }
char* StrPLCopy(char* dest, const AnsiString& source, unsigned maxLen) {
  return StrLCopy(dest, source.c_str(), maxLen);
}
char* StrCat(char* dest, const char* source) { return std::strcat(dest, source); }
int StrComp(const char* a, const char* b) { return Sign(std::strcmp(a, b)); }

int StrIComp(const char* a, const char* b) {
  for (;; ++a, ++b) {
    char x = Lower(*a), y = Lower(*b);
    if (x != y || !x) return Sign(static_cast<unsigned char>(x) - static_cast<unsigned char>(y));
  }
}

int StrLComp(const char* a, const char* b, unsigned maxLen) { return Sign(std::strncmp(a, b, maxLen)); }
char* StrScan(const char* s, char c) { return const_cast<char*>(std::strchr(s, c)); }
char* StrPos(const char* s, const char* sub) { return const_cast<char*>(std::strstr(s, sub)); }

char* StrAlloc(unsigned size) {
  auto* block = static_cast<unsigned*>(std::malloc(sizeof(unsigned) * 2 + size));
  if (!block) throw EOutOfMemory("Not enough memory");
  block[0] = size;
  char* s = reinterpret_cast<char*>(block + 2);  // keeps the text 8-byte aligned
  if (size) s[0] = 0;
  return s;
}

char* StrNew(const char* s) {
  if (!s || !*s) return nullptr;
  unsigned n = StrLen(s) + 1;
  return static_cast<char*>(std::memcpy(StrAlloc(n), s, n));
}

unsigned StrBufSize(const char* s) { return s ? reinterpret_cast<const unsigned*>(s)[-2] : 0; }

void StrDispose(char* s) {
  if (s) std::free(reinterpret_cast<unsigned*>(s) - 2);
}

AnsiString StrPas(const char* s) { return AnsiString(s); }

void Assert(bool condition, const AnsiString& message) {
  if (!condition) throw EAssertionFailed(message);
}
