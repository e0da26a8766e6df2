// Conversions between 8-bit text and UTF-16: the UTF-8 codec, the single-byte tables against
// ICU's converters, the classic buffer rules, and byte classification.
#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <string>
#include <vector>

#include "Printers.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Utf8.h"
#include "platform/rtl/WideString.h"

namespace {

// Sets the system code page for one test and puts the default back.
class CodePageScope {
 public:
  explicit CodePageScope(UINT cp) { EXPECT_TRUE(SetSystemCodePage(cp)); }
  ~CodePageScope() { SetSystemCodePage(CP_UTF8); }
};

std::u16string Decode(const std::string& bytes, UINT cp = CP_UTF8, DWORD flags = 0) {
  int n = MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  if (n > 0) {
    EXPECT_EQ(n, MultiByteToWideChar(cp, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n));
  }
  return out;
}

std::string Encode(const std::u16string& units, UINT cp, BOOL* usedDefault = nullptr) {
  int n =
      WideCharToMultiByte(cp, 0, units.data(), static_cast<int>(units.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<std::size_t>(n), '\0');
  if (n > 0) {
    EXPECT_EQ(n, WideCharToMultiByte(cp, 0, units.data(), static_cast<int>(units.size()), out.data(), n,
                                     nullptr, usedDefault));
  }
  return out;
}

TEST(Utf8Codec, DecodesWithOneReplacementPerBadSequence) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string expected;
    bool clean;
  };
  const Case cases[] = {
      {"ascii", "abc", u"abc", true},
      {"two bytes", "\xC3\xA9", u"\u00E9", true},
      {"three bytes", "\xE1\xBA\xBF", u"\u1EBF", true},
      {"four bytes become a pair", "\xF0\x9F\x98\x80", u"\U0001F600", true},
      {"stray continuation", "a\x80z", u"a\uFFFDz", false},
      {"overlong two-byte slash", "\xC0\xAF!", u"\uFFFD!", false},
      {"overlong three-byte", "\xE0\x80\xAF", u"\uFFFD", false},
      {"truncated at the end", "ab\xE1\xBA", u"ab\uFFFD", false},
      {"truncated before ascii", "\xE1\xBAx", u"\uFFFDx", false},
      {"above U+10FFFF", "\xF4\x90\x80\x80", u"\uFFFD", false},
      {"F8 lead", "\xF8", u"\uFFFD", false},
      {"lone encoded high surrogate", "\xED\xA0\x80z", u"\uFFFDz", false},
      {"lone encoded low surrogate", "\xED\xB0\x80", u"\uFFFD", false},
      {"CESU-8 pair reads as one character", "\xED\xA0\xBD\xED\xB8\x80", u"\U0001F600", true},
      {"high then ascii",
       "\xED\xA0\xBD"
       "a",
       u"\uFFFDa", false},
      {"only bad bytes is never empty", "\xFF\xFE", u"\uFFFD\uFFFD", false},
  };
  for (const Case& c : cases) {
    std::u16string out;
    EXPECT_EQ(c.clean, platform::DecodeUtf8(c.bytes, out)) << c.name;
    EXPECT_EQ(c.expected, out) << c.name;
    EXPECT_EQ(c.expected, Decode(c.bytes)) << c.name;
  }
}

TEST(Utf8Codec, EncodesPairsAndReplacesLoneSurrogates) {
  struct Case {
    std::u16string units;
    std::string expected;
    bool clean;
  };
  const Case cases[] = {
      {u"a\u00E9", "a\xC3\xA9", true},
      {u"\u1780", "\xE1\x9E\x80", true},
      {u"\U0001F600", "\xF0\x9F\x98\x80", true},
      {std::u16string(1, char16_t(0xD83D)), "\xEF\xBF\xBD", false},
      {std::u16string{char16_t(0xDE00), u'a'},
       "\xEF\xBF\xBD"
       "a",
       false},
      {std::u16string{char16_t(0xD83D), char16_t(0xD83D), char16_t(0xDE00)}, "\xEF\xBF\xBD\xF0\x9F\x98\x80",
       false},
  };
  for (const Case& c : cases) {
    std::string out;
    EXPECT_EQ(c.clean, platform::EncodeUtf8(c.units, out));
    EXPECT_EQ(c.expected, out);
  }
  // Every valid scalar value survives the round trip.
  std::u16string all;
  for (char32_t cp = 1; cp <= 0x10FFFF; cp += (cp < 0x10000 ? 1 : 97)) {
    if (cp >= 0xD800 && cp <= 0xDFFF) continue;
    if (cp < 0x10000) {
      all.push_back(static_cast<char16_t>(cp));
    } else {
      all.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
      all.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
    }
  }
  EXPECT_EQ(all, platform::Utf8ToUtf16(platform::Utf16ToUtf8(all)));
}

TEST(Utf8Codec, ErrorFlagRejectsMalformedInput) {
  const char bad[] = "a\xC0\xAF";
  char16_t out[8];
  SetLastError(0);
  EXPECT_EQ(0, MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bad, 3, out, 8));
  EXPECT_EQ(ERROR_NO_UNICODE_TRANSLATION, GetLastError());
  EXPECT_EQ(2, MultiByteToWideChar(CP_UTF8, 0, bad, 3, out, 8));
}

// Bytes fed one at a time give nothing until the lead byte's sequence is whole, then all its
// units at once; a sequence that turns out malformed still gives its replacement.
TEST(Utf8Codec, CollectorHandsOutWholeCharacters) {
  struct Case {
    std::string bytes;
    std::u16string units;  // what the last byte gives; every earlier byte gives nothing
  };
  const Case cases[] = {
      {"a", u"a"},
      {"\xC3\xA9", u"\u00E9"},
      {"\xE2\x82\xAC", u"\u20AC"},
      {"\xF0\x9F\x98\x80", u"\U0001F600"},
      {"\xE2"
       "a"
       "b",
       u"\uFFFDab"},        // the wait is for three bytes whatever they are
      {"\x80", u"\uFFFD"},  // a stray continuation byte stands alone
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    platform::Utf8Collector collector;
    for (size_t i = 0; i + 1 < c.bytes.size(); ++i) EXPECT_EQ(u"", collector.Add(c.bytes[i]));
    EXPECT_EQ(c.units, collector.Add(c.bytes.back()));
    EXPECT_TRUE(collector.Empty());
  }
  platform::Utf8Collector dropped;
  dropped.Add('\xE2');
  dropped.Clear();
  EXPECT_EQ(u"a", dropped.Add('a'));
}

// Every byte of every single-byte page, and every BMP unit back, agree with ICU's converter of
// the same name (ICU without fallbacks, its substitute set to "?").
TEST(SingleBytePages, AgreeWithIcu) {
  for (UINT cp : {874u, 1250u, 1251u, 1252u, 1253u, 1254u, 1255u, 1256u, 1257u, 1258u}) {
    SCOPED_TRACE(cp);
    UErrorCode status = U_ZERO_ERROR;
    std::string name = "windows-" + std::to_string(cp);
    UConverter* conv = ucnv_open(name.c_str(), &status);
    ASSERT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    ucnv_setSubstChars(conv, "?", 1, &status);
    ASSERT_TRUE(U_SUCCESS(status));

    for (int b = 1; b < 256; ++b) {  // ICU reads a lone NUL as an empty input
      char byte = static_cast<char>(b);
      UChar icu[4];
      status = U_ZERO_ERROR;
      int32_t n = ucnv_toUChars(conv, icu, 4, &byte, 1, &status);
      ASSERT_TRUE(U_SUCCESS(status));
      ASSERT_EQ(1, n);
      char16_t expected = (icu[0] == 0x1A && b != 0x1A) ? char16_t(0xFFFD) : char16_t(icu[0]);
      char16_t ours = 0;
      ASSERT_EQ(1, MultiByteToWideChar(cp, 0, &byte, 1, &ours, 1));
      EXPECT_EQ(expected, ours) << "byte " << b;
    }
    for (char32_t u = 1; u < 0x10000; ++u) {
      if (u >= 0xD800 && u <= 0xDFFF) continue;
      UChar unit = static_cast<UChar>(u);
      char icu[8];
      status = U_ZERO_ERROR;
      int32_t n = ucnv_fromUChars(conv, icu, 8, &unit, 1, &status);
      ASSERT_TRUE(U_SUCCESS(status));
      // ICU drops unmapped default-ignorable units (U+200B ...); the classic rule keeps one "?".
      if (n == 0) icu[0] = '?', n = 1;
      ASSERT_EQ(1, n) << std::hex << unsigned(u);
      char16_t in = static_cast<char16_t>(u);
      char ours = 0;
      BOOL used = FALSE;
      ASSERT_EQ(1, WideCharToMultiByte(cp, 0, &in, 1, &ours, 1, nullptr, &used));
      if (ours != icu[0])
        FAIL() << "unit " << std::hex << unsigned(u) << " ours " << int(ours) << " ICU " << int(icu[0]);
      EXPECT_EQ(used == TRUE, ours == '?' && u != u'?') << "unit " << std::hex << unsigned(u);
    }
    ucnv_close(conv);
  }
}

TEST(SingleBytePages, ClassicResults) {
  // The 1252 reading of Vietnamese: one "?" per unit the page lacks.
  EXPECT_EQ("Ti?ng Vi?t", Encode(u"Ti\u1EBFng Vi\u1EC7t", 1252));
  BOOL used = FALSE;
  EXPECT_EQ("a??b", Encode(u"a\U0001F600b", 1252, &used));  // a pair gives two
  EXPECT_TRUE(used);
  EXPECT_EQ(u"\u0081", Decode("\x81", 1252));
  EXPECT_EQ(u"\u20AC", Decode("\x80", 1252));
  // 1258 has combining marks and is never composed or decomposed.
  EXPECT_EQ(u"e\u0301", Decode("e\xEC", 1258));
  EXPECT_EQ("e\xEC", Encode(u"e\u0301", 1258));
  EXPECT_EQ("\xE9\xEC", Encode(u"\u00E9\u0301", 1258));  // no composition
  EXPECT_EQ("?", Encode(u"\u1EBF", 1258));               // and no decomposition into 0xEA 0xEC
  // An undefined byte decodes to U+FFFD, or fails under MB_ERR_INVALID_CHARS.
  EXPECT_EQ(u"\uFFFD", Decode("\xD2", 1253));
  char16_t out[2];
  EXPECT_EQ(0, MultiByteToWideChar(1253, MB_ERR_INVALID_CHARS, "\xD2", 1, out, 2));
  EXPECT_EQ(ERROR_NO_UNICODE_TRANSLATION, GetLastError());
  // A default character of the caller's choice.
  char narrow[4];
  EXPECT_EQ(3, WideCharToMultiByte(1252, 0, u"a\u1EBFb", 3, narrow, 4, "#", nullptr));
  EXPECT_EQ("a#b", std::string(narrow, 3));
}

TEST(ClassicBuffers, SizesTerminatorsAndShortBuffers) {
  CodePageScope scope(1252);
  char16_t wide[8];
  // -1 counts the terminator.
  EXPECT_EQ(4, MultiByteToWideChar(CP_ACP, 0, "abc", -1, nullptr, 0));
  EXPECT_EQ(4, MultiByteToWideChar(CP_ACP, 0, "abc", -1, wide, 8));
  EXPECT_EQ(u'\0', wide[3]);
  // Too small: fails, and the caller's buffer is not overrun.
  char16_t small[3] = {u'x', u'x', u'x'};
  SetLastError(0);
  EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, 0, "abcdef", 6, small, 2));
  EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
  EXPECT_EQ(u'x', small[2]);
  char narrow[3] = {'x', 'x', 'x'};
  EXPECT_EQ(0, WideCharToMultiByte(CP_ACP, 0, u"abcd", -1, narrow, 2, nullptr, nullptr));
  EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
  EXPECT_EQ('x', narrow[2]);
  EXPECT_EQ(5, WideCharToMultiByte(CP_ACP, 0, u"abcd", -1, nullptr, 0, nullptr, nullptr));
  // Bad arguments.
  EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, 0, "abc", 0, wide, 8));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
  EXPECT_EQ(0, MultiByteToWideChar(CP_ACP, 0, nullptr, 3, wide, 8));
  EXPECT_EQ(0, MultiByteToWideChar(12345, 0, "abc", 3, wide, 8));
  EXPECT_EQ(ERROR_INVALID_PARAMETER, GetLastError());
}

// ICU's converter for each page, reporting errors instead of substituting.
struct IcuPage {
  UINT cp;
  const char* name;
};
constexpr IcuPage kIcuDoubleBytePages[] = {{932, "ibm-943_P15A-2003"},
                                           {936, "windows-936-2000"},
                                           {949, "windows-949-2000"},
                                           {950, "windows-950-2000"}};

class IcuConverter {
 public:
  explicit IcuConverter(const char* name) {
    UErrorCode e = U_ZERO_ERROR;
    c_ = ucnv_open(name, &e);
    EXPECT_TRUE(U_SUCCESS(e)) << name;
    ucnv_setToUCallBack(c_, UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &e);
    ucnv_setFromUCallBack(c_, UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &e);
  }
  ~IcuConverter() { ucnv_close(c_); }
  // Empty when ICU finds the bytes undefined.
  std::u16string ToUnicode(const std::string& bytes) {
    ucnv_reset(c_);
    char16_t out[8];
    UErrorCode e = U_ZERO_ERROR;
    int n = ucnv_toUChars(c_, out, 8, bytes.data(), static_cast<int>(bytes.size()), &e);
    return U_SUCCESS(e) ? std::u16string(out, static_cast<std::size_t>(n)) : std::u16string();
  }
  // Empty unless the unit has a round-trip mapping.
  std::string FromUnicode(char16_t u) {
    ucnv_reset(c_);
    char out[8];
    UErrorCode e = U_ZERO_ERROR;
    int n = ucnv_fromUChars(c_, out, 8, &u, 1, &e);
    std::string bytes = U_SUCCESS(e) ? std::string(out, static_cast<std::size_t>(n)) : std::string();
    return !bytes.empty() && ToUnicode(bytes) == std::u16string(1, u) ? bytes : std::string();
  }

 private:
  UConverter* c_ = nullptr;
};

// ICU's page 932 keeps an IBM control layout for three bytes; the Windows page is ASCII there.
bool IcuSwapsControl(UINT cp, unsigned u) { return cp == 932 && (u == 0x1A || u == 0x1C || u == 0x7F); }

TEST(DoubleBytePages, EverySequenceDecodesAsIcuDoes) {
  for (const IcuPage& page : kIcuDoubleBytePages) {
    IcuConverter icu(page.name);
    int mismatches = 0;
    for (unsigned lead = 0x80; lead < 0x100 && mismatches < 5; ++lead) {
      std::string single(1, static_cast<char>(lead));
      std::u16string expected = icu.ToUnicode(single);
      if (IsDBCSLeadByteEx(page.cp, static_cast<BYTE>(lead))) {
        EXPECT_TRUE(expected.empty()) << page.cp << " lead " << lead;
        EXPECT_EQ(u"\uFFFD", Decode(single, page.cp)) << page.cp << " lead " << lead << " at the end";
        for (unsigned trail = 0x40; trail <= 0xFE; ++trail) {
          std::string pair{static_cast<char>(lead), static_cast<char>(trail)};
          std::u16string want = icu.ToUnicode(pair);
          if (want.empty()) continue;
          if (Decode(pair, page.cp, MB_ERR_INVALID_CHARS) != want) {
            ADD_FAILURE() << page.cp << " pair " << std::hex << (lead << 8 | trail);
            ++mismatches;
          }
        }
      } else {
        EXPECT_EQ(expected.empty() ? std::u16string(1, u'\uFFFD') : expected, Decode(single, page.cp))
            << page.cp << " byte " << lead;
      }
    }
  }
}

TEST(DoubleBytePages, EveryUnitEncodesAsIcuDoes) {
  for (const IcuPage& page : kIcuDoubleBytePages) {
    IcuConverter icu(page.name);
    int mismatches = 0;
    for (unsigned u = 1; u < 0x10000 && mismatches < 5; ++u) {
      if ((u >= 0xD800 && u <= 0xDFFF) || IcuSwapsControl(page.cp, u)) continue;
      std::string want = icu.FromUnicode(static_cast<char16_t>(u));
      if (want.empty()) want = "?";
      std::string got = Encode(std::u16string(1, static_cast<char16_t>(u)), page.cp);
      if (got != want) {
        ADD_FAILURE() << page.cp << " unit " << std::hex << u;
        ++mismatches;
      }
    }
  }
}

// A damaged pair costs one U+FFFD and never swallows the ASCII byte after it; with
// MB_ERR_INVALID_CHARS it fails instead.
TEST(DoubleBytePages, DamagedSequencesAreReplacedAndReadOn) {
  struct Case {
    UINT cp;
    std::string bytes;
    std::u16string expected;
  };
  const Case cases[] = {
      {932, "\x93\xFA\x96\x7B", u"\u65E5\u672C"},  // 日本
      {932, "\xB6\xC0", u"\uFF76\uFF80"},          // half-width katakana are single bytes
      {932, "a\x93", u"a\uFFFD"},                  // lead byte at the end
      {932, "\x93\nx", u"\uFFFD\nx"},              // lead byte before a line break
      {932, "\x93\x7F", u"\uFFFD\x7F"},            // 0x7F is no trail byte
      {932, "\x85\x40z", u"\uFFFDz"},              // an undefined pair is one character
      {936, "\xD6\xD0\xCE\xC4", u"\u4E2D\u6587"},  // 中文
      {936, "\x80", u"\u20AC"},                    // the euro sign is a single byte
      {936, "\xD6\xFF", u"\uFFFD\uF8F5"},          // 0xFF is no trail byte: read on its own
      {949, "\xC7\xD1\xB1\xB9", u"\uD55C\uAD6D"},  // 한국
      {950, "\xA4\xA4\xA4\xE5", u"\u4E2D\u6587"},  // 中文
      {950, "\xA4", u"\uFFFD"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.expected, Decode(c.bytes, c.cp)) << c.cp << " " << c.bytes;
    bool damaged = c.expected.find(u'\uFFFD') != std::u16string::npos;
    char16_t out[8];
    SetLastError(0);
    int n = MultiByteToWideChar(c.cp, MB_ERR_INVALID_CHARS, c.bytes.data(), static_cast<int>(c.bytes.size()),
                                out, 8);
    EXPECT_EQ(damaged ? 0 : static_cast<int>(c.expected.size()), n) << c.cp << " " << c.bytes;
    if (damaged) {
      EXPECT_EQ(ERROR_NO_UNICODE_TRANSLATION, GetLastError());
    }
  }
  // Sizing and buffer rules are those of every page.
  char16_t small[1];
  EXPECT_EQ(0, MultiByteToWideChar(932, 0, "\x93\xFA\x96\x7B", 4, small, 1));
  EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
  char narrow[3];
  BOOL used = FALSE;
  EXPECT_EQ(0, WideCharToMultiByte(936, 0, u"\u4E2D\u6587", 2, narrow, 3, nullptr, nullptr));
  EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
  EXPECT_EQ("?a??", Encode(u"\u1780a\U0001F600", 949, &used));
  EXPECT_TRUE(used);
  for (UINT cp : {932u, 936u, 949u, 950u}) {
    CPINFO info{};
    ASSERT_TRUE(GetCPInfo(cp, &info));
    EXPECT_EQ(2u, info.MaxCharSize);
    EXPECT_EQ(0x81, info.LeadByte[0]);
  }
}

TEST(DoubleBytePages, LeadBytes) {
  struct Case {
    UINT cp;
    BYTE b;
    bool lead;
  };
  const Case cases[] = {
      {932, 0x81, true},   {932, 0x9F, true},   {932, 0xA0, false},   {932, 0xDF, false},
      {932, 0xE0, true},   {932, 0xFC, true},   {932, 0xFD, false},   {936, 0x80, false},
      {936, 0x81, true},   {936, 0xFE, true},   {936, 0xFF, false},   {949, 0xB0, true},
      {950, 0xA4, true},   {950, 0x7F, false},  {1252, 0x81, false},  {65001, 0xC1, false},
      {65001, 0xC2, true}, {65001, 0xF4, true}, {65001, 0xF5, false}, {65001, 0x80, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.lead, IsDBCSLeadByteEx(c.cp, c.b) == TRUE) << c.cp << " " << int(c.b);
}

TEST(ByteTypes, FollowTheSystemCodePage) {
  struct Case {
    UINT cp;
    std::string text;
    std::vector<TMbcsByteType> expected;
  };
  const TMbcsByteType S = mbSingleByte, L = mbLeadByte, T = mbTrailByte;
  const Case cases[] = {
      {1252, "a\xE9\x81", {S, S, S}},
      {65001, "a\xC3\xA9\xE1\x9E\x80", {S, L, T, L, T, T}},
      {65001, "\xC0\xFF", {S, S}},
      // Under 932 the byte after a lead byte is its trail even when it looks like a lead byte.
      {932,
       "\x82\xA0"
       "a\x81\x81\x81",
       {L, T, S, L, T, L}},
      {932,
       "\xB1\x81"
       "A",
       {S, L, T}},
  };
  for (const Case& c : cases) {
    CodePageScope scope(c.cp);
    AnsiString s(c.text);
    for (int i = 1; i <= s.Length(); ++i) EXPECT_EQ(c.expected[i - 1], ByteType(s, i)) << c.cp << " at " << i;
    EXPECT_EQ(S, ByteType(s, 0));
    EXPECT_EQ(S, ByteType(s, s.Length() + 1));
  }
}

TEST(SystemCodePage, DefaultIsUtf8AndOnlyKnownPagesAreAccepted) {
  EXPECT_EQ(CP_UTF8, GetACP());
  EXPECT_FALSE(SetSystemCodePage(437));
  EXPECT_FALSE(SetSystemCodePage(CP_UTF7));
  EXPECT_EQ(CP_UTF8, GetACP());
  CPINFO info{};
  ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
  EXPECT_EQ(4u, info.MaxCharSize);
  {
    CodePageScope scope(1251);
    EXPECT_EQ(1251u, GetACP());
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    EXPECT_EQ(1u, info.MaxCharSize);
    EXPECT_EQ('?', info.DefaultChar[0]);
    EXPECT_EQ(0, info.LeadByte[0]);
  }
}

TEST(SystemCodePage, StringsConvertThroughIt) {
  const std::u16string khmer = u"\u1797\u17B6\u179F\u17B6";
  EXPECT_EQ(platform::Utf16ToUtf8(khmer), AnsiString(WideString(khmer)).ToStd());
  EXPECT_EQ(khmer, WideString(AnsiString(platform::Utf16ToUtf8(khmer))).ToU16());
  {
    CodePageScope scope(1252);
    EXPECT_EQ("????", AnsiString(WideString(khmer)).ToStd());
    EXPECT_EQ(u"caf\u00E9", WideString("caf\xE9").ToU16());
    EXPECT_EQ("caf\xC3\xA9", AnsiToUtf8("caf\xE9").ToStd());
    EXPECT_EQ("caf\xE9", Utf8ToAnsi("caf\xC3\xA9").ToStd());
    EXPECT_EQ("caf\xC3\xA9", UTF8Encode(WideString(u"caf\u00E9")).ToStd());
    EXPECT_EQ(u"caf\u00E9", UTF8Decode("caf\xC3\xA9").ToU16());
  }
  {
    CodePageScope scope(932);
    EXPECT_EQ(u"\u65E5\u672Ca", WideString("\x93\xFA\x96\x7B"
                                           "a")
                                    .ToU16());
    EXPECT_EQ("\x93\xFA\x96\x7B?", AnsiString(WideString(u"\u65E5\u672C\u1780")).ToStd());
  }
}

}  // namespace
