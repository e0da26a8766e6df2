#include "unicode/UcCollate.h"

#include <string_view>

#include "platform/rtl/CharCase.h"
#include "unicode/UcTextWrappers.h"

int UcCollate(const char16_t* a, int na, const char16_t* b, int nb, DWORD flags) {
  a = a ? a : u"";
  b = b ? b : u"";
  int r = Uc_CompareStringW(UcThreadLocale(), flags, a, na, b, nb);
  if (r != 0) return r - CSTR_EQUAL;
  std::u16string_view x =
      na < 0 ? std::u16string_view(a) : std::u16string_view(a, static_cast<std::size_t>(na));
  std::u16string_view y =
      nb < 0 ? std::u16string_view(b) : std::u16string_view(b, static_cast<std::size_t>(nb));
  int c = x.compare(y);
  return c < 0 ? -1 : c > 0 ? 1 : 0;
}
