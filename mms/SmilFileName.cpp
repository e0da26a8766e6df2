#include "mms/SmilFileName.h"

#include "mms/MmsCharset.h"
#include "platform/rtl/Utf8.h"

namespace {

bool IsControl(char16_t unit) { return unit < 0x20 || (unit >= 0x7F && unit <= 0x9F); }

// An extension this short is kept when a long name is cut.
constexpr size_t KEPT_EXTENSION_MAX = 16;

// The first `bytes` bytes of UTF-8 text, never ending inside a character.
std::string_view Utf8Prefix(std::string_view text, size_t bytes) {
  if (text.size() <= bytes) return text;
  size_t end = bytes;
  while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
  return text.substr(0, end);
}

}  // namespace

std::string SmilSafeFileName(std::string_view name) {
  size_t slash = name.find_last_of("/\\");
  if (slash != std::string_view::npos) name.remove_prefix(slash + 1);
  std::u16string wide = platform::Utf8ToUtf16(MmsHeaderTextToUtf8(name));
  std::u16string kept;
  for (char16_t unit : wide) {
    if (IsControl(unit)) continue;
    if (unit == u'.' && (kept.empty() || kept.back() == u'.')) continue;
    kept.push_back(unit);
  }
  std::string out = platform::Utf16ToUtf8(kept);
  if (out.size() > SMIL_FILE_NAME_MAX) {
    size_t dot = out.rfind('.');
    std::string extension;
    if (dot != std::string::npos && out.size() - dot <= KEPT_EXTENSION_MAX) extension = out.substr(dot);
    std::string stem(Utf8Prefix(out, SMIL_FILE_NAME_MAX - extension.size()));
    while (!stem.empty() && stem.back() == '.') stem.pop_back();
    out = stem + extension;
  }
  return out.empty() ? SMIL_FILE_NAME_FALLBACK : out;
}
