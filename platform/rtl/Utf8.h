// The one UTF-8 <-> UTF-16 codec of the program: code page 65001, the message codec, file
// names and the clipboard all go through it, so stored text reads the same everywhere.
// Decoding never gives up: each malformed, overlong, truncated or surrogate-encoding sequence
// becomes one U+FFFD and decoding goes on; CESU-8 pairs (an encoded high surrogate followed by
// an encoded low one) read as the one character they stand for. Encoding turns a valid pair
// into one 4-byte sequence and a lone surrogate into U+FFFD.
#pragma once

#include <cstddef>
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

// How many bytes the sequence that `lead` starts takes, judged by the lead byte alone: 1 for
// ASCII and for a byte that starts nothing, else 2, 3 or 4.
constexpr std::size_t Utf8SequenceLength(unsigned char lead) {
  return lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
}

// Gathers a character that arrives one byte at a time, as an 8-bit window's WM_CHAR brings
// UTF-8 text: bytes are held until the lead byte's sequence is whole, then decoded together.
class Utf8Collector {
 public:
  // Adds `byte`; returns the character's UTF-16 units once its last byte came, else nothing.
  std::u16string Add(char byte) {
    bytes_.push_back(byte);
    if (bytes_.size() < Utf8SequenceLength(static_cast<unsigned char>(bytes_[0]))) return {};
    std::u16string units = Utf8ToUtf16(bytes_);
    bytes_.clear();
    return units;
  }
  // Drops the bytes of an unfinished character.
  void Clear() { bytes_.clear(); }
  bool Empty() const { return bytes_.empty(); }

 private:
  std::string bytes_;
};

}  // namespace platform
