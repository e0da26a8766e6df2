#include "unicode/Utf7.h"

#include <array>
#include <cstring>
#include <string>

#include "unicode/WideException.h"

namespace {

constexpr char kBase64[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
constexpr char kDirect[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789'(),-./:?";
constexpr char kOptionalDirect[] = "!\"#$%&*;<=>@[]^_`{|}";
constexpr char kSpaces[] = "\t\r\n ";

struct Tables {
  std::array<signed char, 128> base64Value{};
  std::array<bool, 128> mustShift{};  // the optional direct characters count as direct
  Tables() {
    base64Value.fill(-1);
    for (int i = 0; i < 64; ++i)
      base64Value[static_cast<unsigned char>(kBase64[i])] = static_cast<signed char>(i);
    mustShift.fill(true);
    for (const char* set : {kDirect, kOptionalDirect, kSpaces})
      for (const char* p = set; *p; ++p) mustShift[static_cast<unsigned char>(*p)] = false;
  }
};

const Tables& TheTables() {
  static const Tables tables;
  return tables;
}

bool IsBase64Letter(unsigned c) { return c < 128 && TheTables().base64Value[c] >= 0; }

}  // namespace

AnsiString WideStringToUTF7(const WideString& s) {
  const Tables& t = TheTables();
  const std::u16string& in = s.ToU16();
  std::string out;
  out.reserve(in.size() * 3);
  bool inRun = false;
  unsigned bits = 0;
  int bitCount = 0;
  auto endRun = [&](std::size_t next) {
    if (bitCount > 0) out += kBase64[(bits << (6 - bitCount)) & 0x3F];
    bits = 0;
    bitCount = 0;
    inRun = false;
    if (next < in.size() && (IsBase64Letter(in[next]) || in[next] == u'-')) out += '-';
  };
  for (std::size_t i = 0; i < in.size(); ++i) {
    char16_t c = in[i];
    bool shift = c > 0x7F || t.mustShift[c];
    if (!shift) {
      if (inRun) endRun(i);
      out += static_cast<char>(c);
      continue;
    }
    if (!inRun) {
      out += '+';
      if (c == u'+') {
        out += '-';
        continue;
      }
      inRun = true;
    }
    bits = (bits << 16) | c;
    bitCount += 16;
    while (bitCount >= 6) {
      bitCount -= 6;
      out += kBase64[(bits >> bitCount) & 0x3F];
    }
    bits &= (1u << bitCount) - 1;
  }
  if (inRun) endRun(in.size());
  return AnsiString(std::move(out));
}

WideString UTF7ToWideString(const AnsiString& s) {
  const Tables& t = TheTables();
  const std::string_view in(s.data(), static_cast<std::size_t>(s.Length()));
  std::u16string out;
  out.reserve(in.size());
  bool invalid = false;
  std::size_t i = 0;
  while (i < in.size()) {
    unsigned char c = static_cast<unsigned char>(in[i]);
    if (c != '+') {
      if (c > 0x7F) invalid = true;
      out += static_cast<char16_t>(c);
      ++i;
      continue;
    }
    // A base64 run: letters until a byte that is not one (or the end).
    ++i;
    unsigned bits = 0;
    int bitCount = 0;
    bool anyLetter = false;
    bool anyUnit = false;
    while (i < in.size() && IsBase64Letter(static_cast<unsigned char>(in[i]))) {
      bits = (bits << 6) | static_cast<unsigned>(t.base64Value[static_cast<unsigned char>(in[i])]);
      bitCount += 6;
      anyLetter = true;
      if (bitCount >= 16) {
        bitCount -= 16;
        out += static_cast<char16_t>((bits >> bitCount) & 0xFFFF);
        anyUnit = true;
      }
      bits &= (1u << bitCount) - 1;
      ++i;
    }
    bool endsWithHyphen = i < in.size() && in[i] == '-';
    if (endsWithHyphen) ++i;
    if (endsWithHyphen && !anyLetter)
      out += u'+';
    else if (!anyUnit)
      invalid = true;
    if (bits != 0) invalid = true;
  }
  if (invalid) throw EUcGeneralError("Invalid UTF7");
  return WideString(std::move(out));
}
