#include "unicode/UcCollate.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

#include "platform/rtl/CharCase.h"
#include "unicode/UcTextWrappers.h"

namespace {

std::u16string_view Counted(const char16_t* s, int n) {
  return n < 0 ? std::u16string_view(s) : std::u16string_view(s, static_cast<std::size_t>(n));
}

bool IsLower(char16_t c) {
  auto mapped = reinterpret_cast<std::uintptr_t>(CharUpperW(reinterpret_cast<LPWSTR>(std::uintptr_t{c})));
  return mapped != c;
}

// Texts equal but for case: at the first difference the lowercase letter comes first, as the
// locales order them; other differences by unit.
int LowercaseFirst(std::u16string_view x, std::u16string_view y) {
  std::size_t n = std::min(x.size(), y.size());
  for (std::size_t i = 0; i < n; ++i) {
    if (x[i] == y[i]) continue;
    if (IsLower(x[i]) != IsLower(y[i])) return IsLower(x[i]) ? -1 : 1;
    return x[i] < y[i] ? -1 : 1;
  }
  return x.size() < y.size() ? -1 : x.size() > y.size() ? 1 : 0;
}

}  // namespace

int UcCollate(const char16_t* a, int na, const char16_t* b, int nb, DWORD flags) {
  a = a ? a : u"";
  b = b ? b : u"";
  LCID locale = UcThreadLocale();
  int r = Uc_CompareStringW(locale, flags, a, na, b, nb);
  if (r != 0) return r - CSTR_EQUAL;
  // The system could not collate with these flags. Rather than report every pair as "less",
  // order as it can without case, and break ties the way the locales do.
  std::u16string_view x = Counted(a, na), y = Counted(b, nb);
  if (!(flags & NORM_IGNORECASE)) {
    int folded = Uc_CompareStringW(locale, flags | NORM_IGNORECASE, a, na, b, nb);
    if (folded != 0 && folded != CSTR_EQUAL) return folded - CSTR_EQUAL;
    if (folded == CSTR_EQUAL) return LowercaseFirst(x, y);
  }
  int c = x.compare(y);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}
