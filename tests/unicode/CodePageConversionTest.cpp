#include <gtest/gtest.h>
#include <iconv.h>
#include <unicode/ucnv.h>

#include <string>

#include "CodePageScope.h"
#include "platform/rtl/LastError.h"
#include "unicode/CodePageConversion.h"
#include "unicode/WideException.h"

namespace {

std::string Bytes(const AnsiString& a) { return std::string(a.data(), static_cast<std::size_t>(a.Length())); }

std::u16string IcuDecode(const char* converter, const std::string& bytes) {
  UErrorCode status = U_ZERO_ERROR;
  std::u16string out(bytes.size() * 2 + 2, u'\0');
  int32_t n = ucnv_convert("UTF-16LE", converter, reinterpret_cast<char*>(out.data()),
                           static_cast<int32_t>(out.size() * 2), bytes.data(),
                           static_cast<int32_t>(bytes.size()), &status);
  EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
  out.resize(static_cast<std::size_t>(n / 2));
  return out;
}

TEST(CodePageConversion, Utf7AndUtf8PagesTakeTheLayersOwnCodecs) {
  EXPECT_EQ(StringToWideStringEx("+AOk-", CP_UTF7).ToU16(), u"\u00E9");
  EXPECT_EQ(Bytes(WideStringToStringEx(u"\u00E9a", CP_UTF7)), "+AOk-a");
  EXPECT_EQ(StringToWideStringEx("\xE1\x9E\x80", CP_UTF8).ToU16(), u"\u1780");
  EXPECT_EQ(Bytes(WideStringToStringEx(u"\u1780", CP_UTF8)), "\xE1\x9E\x80");
}

TEST(CodePageConversion, Page1252MatchesTheOracleForEveryByte) {
  for (int b = 0; b < 256; ++b) {
    std::string byte(1, static_cast<char>(b));
    if (b == 0) continue;
    WideString wide = StringToWideStringEx(AnsiString(byte), 1252);
    std::u16string expected = IcuDecode("windows-1252", byte);
    if (expected == u"\uFFFD" || expected == u"\x1A") expected = std::u16string(1, static_cast<char16_t>(b));
    EXPECT_EQ(wide.ToU16(), expected) << "byte " << b;
    EXPECT_EQ(Bytes(WideStringToStringEx(wide, 1252)), byte) << "byte " << b;
  }
}

// Texts made by iconv in each double-byte page read as ICU reads them, and write back to the
// same bytes.
TEST(CodePageConversion, DoubleBytePagesRoundTripTextsMadeByIconv) {
  struct Case {
    UINT page;
    const char* iconvName;
    const char* icuName;
    const char* utf8;
  };
  const Case cases[] = {
      {932, "CP932", "ibm-943_P15A-2003", "日本語のテキスト、ｶﾀｶﾅ and ASCII ～①"},
      {932, "CP932", "ibm-943_P15A-2003", "表示 ソフト 能力"},  // trail bytes 0x5C and 0x7C look like ASCII
      {936, "GBK", "windows-936-2000", "中文短信：你好，世界！€"},
      {936, "GBK", "windows-936-2000", "镕 鐢 GBK 扩展字"},
      {949, "CP949", "windows-949-2000", "한국어 문자 메시지 똠방각하"},
      {950, "BIG5", "windows-950-2000", "繁體中文簡訊 許功蓋"},
  };
  for (const Case& c : cases) {
    iconv_t cd = iconv_open(c.iconvName, "UTF-8");
    ASSERT_NE(cd, reinterpret_cast<iconv_t>(-1)) << c.iconvName;
    std::string in = c.utf8;
    std::string bytes(in.size() * 2 + 8, '\0');
    char* src = in.data();
    std::size_t srcLeft = in.size();
    char* dst = bytes.data();
    std::size_t dstLeft = bytes.size();
    ASSERT_NE(iconv(cd, &src, &srcLeft, &dst, &dstLeft), static_cast<std::size_t>(-1)) << c.utf8;
    iconv_close(cd);
    bytes.resize(bytes.size() - dstLeft);

    WideString wide = StringToWideStringEx(AnsiString(bytes), c.page);
    EXPECT_EQ(wide.ToU16(), IcuDecode(c.icuName, bytes)) << c.utf8;
    EXPECT_EQ(UTF8Encode(wide).ToStd(), c.utf8);
    EXPECT_EQ(Bytes(WideStringToStringEx(wide, c.page)), bytes) << c.utf8;
  }
}

TEST(CodePageConversion, UnmappableCharactersBecomeTheDefaultCharacter) {
  EXPECT_EQ(Bytes(WideStringToStringEx(u"a\u1780b", 1252)), "a?b");
  CodePageScope scope(1252);
  EXPECT_EQ(Bytes(WideStringToStringEx(u"\u1780\u00E9", CP_ACP)), "?\xE9");
}

// A page the system cannot convert is an error, never an empty text passed off as a result.
TEST(CodePageConversion, UnknownPageRaisesInsteadOfAnsweringEmpty) {
  EXPECT_THROW(StringToWideStringEx("abc", 12345), EOSError);
  EXPECT_THROW(WideStringToStringEx(u"abc", 12345), EOSError);
  EXPECT_EQ(StringToWideStringEx("", 12345).ToU16(), u"");
}

TEST(CodePageConversion, Utf8HandsBadBytesOverAsReplacementCharacters) {
  EXPECT_EQ(UTF8ToWideString("\xC3\xA9").ToU16(), u"\u00E9");
  EXPECT_EQ(UTF8ToWideString("\xC3\x41").ToU16(), u"\uFFFD\x41");
  EXPECT_EQ(UTF8ToWideString("\xC0\x80z").ToU16(), u"\uFFFDz");  // an overlong zero ends nothing
  EXPECT_EQ(Bytes(WideStringToUTF8(u"\u20AC")), "\xE2\x82\xAC");
  EXPECT_EQ(Bytes(WideStringToUTF8(u"\U0001F600")), "\xF0\x9F\x98\x80");
  EXPECT_EQ(UTF8ToWideString("\xF0\x9F\x98\x80").ToU16(), u"\U0001F600");
}

TEST(CodePageConversion, Ucs2BytesAreLowByteFirst) {
  EXPECT_EQ(UCS2ToWideString(AnsiString("\x41\x00\x80\x17\x7F", 5)).ToU16(), u"A\u1780");
  EXPECT_EQ(UCS2ToWideString("").ToU16(), u"");
  EXPECT_EQ(Bytes(WideStringToUCS2(u"A\u1780")), std::string("\x41\x00\x80\x17", 4));
  char16_t text[] = u"A\u1780";
  StrSwapByteOrder(text);
  EXPECT_EQ(std::u16string(text), u"\u4100\u8017");
}

TEST(CodePageConversion, CharacterSetsAndTheKeyboard) {
  EXPECT_EQ(CharSetToCodePage(0), 1252u);
  EXPECT_EQ(CharSetToCodePage(163), 1258u);
  EXPECT_THROW(CharSetToCodePage(99), EOSError);
  CodePageScope scope(1252);
  EXPECT_EQ(KeyboardCodePage(), 1252u);
}

TEST(CodePageConversion, KeyUnicodeConvertsOneKeyboardByteOrLeavesTheValue) {
  {
    CodePageScope scope(1252);
    EXPECT_EQ(KeyUnicode(0x41), u'A');
    EXPECT_EQ(KeyUnicode(0xE9), u'\u00E9');
    EXPECT_EQ(KeyUnicode(0x80), u'\u20AC');
    EXPECT_EQ(KeyUnicode(0x1780), u'\u1780');
  }
  CodePageScope scope(CP_UTF8);
  EXPECT_EQ(KeyUnicode(0x41), u'A');
  EXPECT_EQ(KeyUnicode(0xE9), u'\u00E9');  // no lone byte of UTF-8 is a character: kept as it is
  EXPECT_EQ(KeyUnicode(0x1780), u'\u1780');
}

}  // namespace
