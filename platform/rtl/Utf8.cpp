// UTF-8 decoding and encoding with replacement instead of failure.
#include "platform/rtl/Utf8.h"

#include <cstdint>

namespace platform {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// Reads one sequence starting at in[i]; returns the code point or -1 for a malformed one, and
// advances i past every byte the sequence took.
std::int32_t ReadSequence(std::string_view in, std::size_t& i) {
  const unsigned char lead = static_cast<unsigned char>(in[i++]);
  if (lead < 0x80) return lead;
  if (lead < 0xC0 || lead > 0xF7) return -1;                          // a stray continuation byte or F8-FF
  constexpr std::uint32_t kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};  // below it: overlong
  const int length = static_cast<int>(Utf8SequenceLength(lead));
  std::uint32_t cp = lead & (0x7Fu >> length);
  const std::uint32_t minimum = kMinimum[length];
  for (int k = 1; k < length; ++k) {
    if (i >= in.size() || !IsContinuation(static_cast<unsigned char>(in[i]))) return -1;  // truncated
    cp = (cp << 6) | (static_cast<unsigned char>(in[i++]) & 0x3F);
  }
  if (cp < minimum || cp > 0x10FFFF) return -1;
  return static_cast<std::int32_t>(cp);  // surrogates are passed on for the caller to pair
}

bool IsHighSurrogate(std::uint32_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLowSurrogate(std::uint32_t u) { return u >= 0xDC00 && u <= 0xDFFF; }

}  // namespace

bool DecodeUtf8(std::string_view in, std::u16string& out) {
  bool clean = true;
  out.reserve(out.size() + in.size());
  std::size_t i = 0;
  while (i < in.size()) {
    std::int32_t cp = ReadSequence(in, i);
    if (cp < 0) {
      out.push_back(kReplacement);
      clean = false;
    } else if (IsHighSurrogate(static_cast<std::uint32_t>(cp))) {
      // CESU-8: an encoded high surrogate directly followed by an encoded low one.
      std::size_t j = i;
      std::int32_t next = j < in.size() ? ReadSequence(in, j) : -1;
      if (next >= 0 && IsLowSurrogate(static_cast<std::uint32_t>(next))) {
        out.push_back(static_cast<char16_t>(cp));
        out.push_back(static_cast<char16_t>(next));
        i = j;
      } else {
        out.push_back(kReplacement);
        clean = false;
      }
    } else if (IsLowSurrogate(static_cast<std::uint32_t>(cp))) {
      out.push_back(kReplacement);
      clean = false;
    } else if (cp >= 0x10000) {
      std::uint32_t v = static_cast<std::uint32_t>(cp) - 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (v >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (v & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
  }
  return clean;
}

bool EncodeUtf8(std::u16string_view in, std::string& out) {
  bool clean = true;
  out.reserve(out.size() + in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    // A run of ASCII goes in at once.
    std::size_t run = i;
    while (run < in.size() && in[run] < 0x80) ++run;
    if (run > i) {
      const std::size_t at = out.size();
      out.resize(at + (run - i));
      for (std::size_t k = i; k < run; ++k) out[at + (k - i)] = static_cast<char>(in[k]);
      i = run - 1;
      continue;
    }
    std::uint32_t cp = in[i];
    if (IsHighSurrogate(cp) && i + 1 < in.size() && IsLowSurrogate(in[i + 1])) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (static_cast<std::uint32_t>(in[i + 1]) - 0xDC00);
      ++i;
    } else if (IsHighSurrogate(cp) || IsLowSurrogate(cp)) {
      cp = kReplacement;
      clean = false;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return clean;
}

}  // namespace platform
