// Text conversion between the system code page and UTF-16 for the window system's 8-bit <->
// UTF-16 translation, through the run-time library's code pages.
#include "platform/rtl/CodePage.h"
#include "platform/win/WindowSystem.h"

namespace platform::win {

std::u16string ToWide(const char* s, size_t n) { return MultiByteToUtf16(std::string_view(s, n), CP_ACP); }
std::string ToAnsi(const char16_t* s, size_t n) {
  return Utf16ToMultiByte(std::u16string_view(s, n), CP_ACP);
}

size_t Length(const char16_t* s) {
  size_t n = 0;
  while (s && s[n]) ++n;
  return n;
}

std::u16string ToWide(const char* s) {
  return s ? ToWide(s, std::char_traits<char>::length(s)) : std::u16string();
}
std::string ToAnsi(const char16_t* s) { return s ? ToAnsi(s, Length(s)) : std::string(); }

bool SystemPageIsUtf8() { return GetACP() == CP_UTF8; }

}  // namespace platform::win
