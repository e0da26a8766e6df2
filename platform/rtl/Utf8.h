// The one UTF-8 <-> UTF-16 codec of the program: code page 65001, the message codec, file
// names and the clipboard all go through it, so stored text reads the same everywhere.
// Decoding never gives up: each malformed, overlong, truncated or surrogate-encoding sequence
// becomes one U+FFFD and decoding goes on; CESU-8 pairs (an encoded high surrogate followed by
// an encoded low one) read as the one character they stand for. Encoding turns a valid pair
// into one 4-byte sequence and a lone surrogate into U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Appends the UTF-16 form of `in` to `out`; returns false when anything was replaced by U+FFFD.
bool DecodeUtf8(std::string_view in, std::u16string& out);
// Appends the UTF-8 form of `in` to `out`; returns false when a lone surrogate was replaced.
bool EncodeUtf8(std::u16string_view in, std::string& out);

inline std::u16string Utf8ToUtf16(std::string_view in) {
  std::u16string out;
  DecodeUtf8(in, out);
  return out;
}
inline std::string Utf16ToUtf8(std::u16string_view in) {
  std::string out;
  EncodeUtf8(in, out);
  return out;
}

}  // namespace platform
