// What the slide text and document tests share: a measurer with a fixed width per byte, UTF-16
// text files as the text editor writes them, and a scope that sets the system code page.
#pragma once

#include <string>

#include "mms/TTextMeasurer.h"
#include "platform/rtl/CodePage.h"

namespace slidetext {

// Every byte is `perByte` pixels wide, so that widths can be worked out by hand.
class FixedWidth : public TTextMeasurer {
 public:
  explicit FixedWidth(int perByte) : perByte_(perByte) {}
  int TextWidth(const std::string& text) const override { return static_cast<int>(text.size()) * perByte_; }

 private:
  int perByte_;
};

// UTF-16 little-endian bytes of a UTF-16 text, with or without the byte-order mark.
inline std::string Utf16(const std::u16string& text, bool bom) {
  std::string bytes = bom ? std::string("\xFF\xFE") : std::string();
  for (char16_t u : text) {
    bytes += static_cast<char>(u & 0xFF);
    bytes += static_cast<char>(u >> 8);
  }
  return bytes;
}

inline std::string Utf16(const std::string& ascii, bool bom) {
  return Utf16(std::u16string(ascii.begin(), ascii.end()), bom);
}

// Restores the process's system code page after a test that sets another one.
class CodePageScope {
 public:
  explicit CodePageScope(unsigned cp) : saved_(GetACP()) { SetSystemCodePage(cp); }
  ~CodePageScope() { SetSystemCodePage(saved_); }
  CodePageScope(const CodePageScope&) = delete;
  CodePageScope& operator=(const CodePageScope&) = delete;

 private:
  unsigned saved_;
};

}  // namespace slidetext
