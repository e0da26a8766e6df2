#include "unicode/UcNarrowCopyBack.h"

#include <algorithm>
#include <vector>

DWORD UcCopyBack(const WideString& w, char16_t* buffer, DWORD size, unsigned options) {
  auto length = static_cast<DWORD>(w.Length());
  const char16_t* units = w.c_str();
  if (length < size) {
    std::copy(units, units + length + 1, buffer);
    return length;
  }
  if (options & cbTruncating) {
    std::copy(units, units + size, buffer);
    return size;
  }
  if ((options & cbExactFit) && length == size) {
    std::copy(units, units + size - 1, buffer);
    buffer[size - 1] = 0;
    return length + 1;
  }
  if (size > 0 && (options & cbClearing)) buffer[0] = 0;
  if (size >= 4 && (options & cbPartialPath)) {
    for (DWORD i = size - 1; i-- > 0;)
      if (units[i] == u'\\' || units[i] == u'/') {
        std::copy(units, units + i + 1, buffer);
        break;
      }
  }
  return length + 1;
}

bool UcFetchNarrow(const std::function<DWORD(char*, DWORD)>& fetch, AnsiString& result) {
  std::vector<char> buffer(261);
  for (;;) {
    DWORD n = fetch(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return false;
    if (n < buffer.size()) {
      result = AnsiString(buffer.data(), static_cast<int>(n));
      return true;
    }
    buffer.resize(std::max<std::size_t>(n + 1, buffer.size() * 2));
  }
}
