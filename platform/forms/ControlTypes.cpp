#include "platform/forms/ControlTypes.h"

#include "platform/rtl/StringRoutines.h"

bool IsAccel(unsigned key, const AnsiString& caption) {
  const std::string& s = caption.ToStd();
  for (std::size_t i = 0; i + 1 < s.size(); ++i) {
    if (s[i] != '&') continue;
    if (s[i + 1] == '&') {  // "&&" shows one "&" and is no mnemonic
      ++i;
      continue;
    }
    const AnsiString hot(std::string(1, s[i + 1]));
    const AnsiString typed(std::string(1, static_cast<char>(key & 0xFF)));
    return key <= 0xFF && AnsiUpperCase(hot) == AnsiUpperCase(typed);
  }
  return false;
}
