// Locale services: collation against ICU's root collation where the two agree, character
// classes, and the locale items the program asks for.
#include <gtest/gtest.h>
#include <unicode/ucol.h>

#include <string>
#include <vector>

#include "platform/rtl/CharCase.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Locale.h"

namespace {

int Sign(int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; }

// Every pair of a list of words orders as ICU's root collation orders it: case and accents
// after the letters, digits before letters, Vietnamese and Khmer letters in their order.
TEST(Collation, OrdersWordsAsIcuRootCollationDoes) {
  const std::vector<std::u16string> words = {
      u"a",
      u"A",
      u"b",
      u"B",
      u"apple",
      u"Banana",
      u"1",
      u"10",
      u"2",
      u"resume",
      u"r\u00E9sum\u00E9",
      u"ti\u1EBFng",
      u"tieng",
      u"Vi\u1EC7t",
      u"viet",
      u"\u1780",
      u"\u1781",
      u"\u1780\u17B6",
      u"",
      u"ab",
      u"abc",
  };
  UErrorCode e = U_ZERO_ERROR;
  UCollator* root = ucol_open("", &e);
  ASSERT_TRUE(U_SUCCESS(e));
  for (const auto& x : words) {
    for (const auto& y : words) {
      int icu = ucol_strcoll(root, x.data(), static_cast<int32_t>(x.size()), y.data(),
                             static_cast<int32_t>(y.size()));
      int ours = CompareStringW(LOCALE_USER_DEFAULT, 0, reinterpret_cast<LPCWSTR>(x.c_str()), -1,
                                reinterpret_cast<LPCWSTR>(y.c_str()), -1) -
                 CSTR_EQUAL;
      EXPECT_EQ(Sign(icu), Sign(ours)) << platform::CollateUtf16(x, y);
    }
  }
  ucol_close(root);
  // The 8-bit form reads its texts in the system code page.
  EXPECT_EQ(CSTR_LESS_THAN, CompareStringA(LOCALE_USER_DEFAULT, 0, "a", -1, "B", -1));
  EXPECT_EQ(CSTR_EQUAL, CompareStringA(LOCALE_USER_DEFAULT, 0, "ab", 2, "abc", 2));
  // Zero units inside counted texts are compared, not taken for the end.
  EXPECT_EQ(CSTR_LESS_THAN, CompareStringW(LOCALE_USER_DEFAULT, 0, u"a\0a", 3, u"a\0b", 3));
  EXPECT_EQ(CSTR_GREATER_THAN, CompareStringW(LOCALE_USER_DEFAULT, 0, u"a\0", 2, u"a", 1));
}

TEST(CharacterClasses, TheNineClassBits) {
  struct Case {
    char16_t unit;
    WORD bits;
  };
  const Case cases[] = {
      {u'A', C1_UPPER | C1_ALPHA | C1_XDIGIT},
      {u'g', C1_LOWER | C1_ALPHA},
      {u'7', C1_DIGIT | C1_XDIGIT},
      {u' ', C1_SPACE | C1_BLANK},
      {u'\t', C1_SPACE | C1_BLANK | C1_CNTRL},
      {u'\n', C1_SPACE | C1_CNTRL},
      {u',', C1_PUNCT},
      {u'\u1EBF', C1_LOWER | C1_ALPHA},  // ế
      {u'\u1EBE', C1_UPPER | C1_ALPHA},  // Ế
      {u'\u1780', C1_ALPHA},             // Khmer ka
      {u'\u17D4', C1_PUNCT},             // Khmer full stop
  };
  for (const Case& c : cases) {
    WORD t = 0xFFFF;
    ASSERT_TRUE(GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, reinterpret_cast<LPCWSTR>(&c.unit), 1, &t));
    EXPECT_EQ(c.bits, t) << std::hex << int(c.unit);
  }
  // A count of -1 takes the terminator too; a pair gives both its units the character's class.
  WORD types[4] = {9, 9, 9, 9};
  ASSERT_TRUE(
      GetStringTypeExW(LOCALE_USER_DEFAULT, CT_CTYPE1, reinterpret_cast<LPCWSTR>(u"a\U0001D400"), -1, types));
  EXPECT_EQ(C1_LOWER | C1_ALPHA | C1_XDIGIT, types[0]);
  EXPECT_EQ(C1_UPPER | C1_ALPHA, types[1]);  // MATHEMATICAL BOLD CAPITAL A
  EXPECT_EQ(types[1], types[2]);
  EXPECT_EQ(C1_CNTRL, types[3]);
  // The 8-bit form gives each byte of a character that character's class.
  WORD bytes[3] = {};
  ASSERT_TRUE(GetStringTypeExA(LOCALE_USER_DEFAULT, CT_CTYPE1, "\xC3\x89z", 3, bytes));
  EXPECT_EQ(C1_UPPER | C1_ALPHA, bytes[0]);
  EXPECT_EQ(bytes[0], bytes[1]);
  EXPECT_EQ(C1_LOWER | C1_ALPHA, bytes[2]);
  SetLastError(0);
  EXPECT_FALSE(GetStringTypeExW(LOCALE_USER_DEFAULT, 2, reinterpret_cast<LPCWSTR>(u"a"), 1, types));
  EXPECT_EQ(ERROR_INVALID_FLAGS, GetLastError());
}

TEST(LocaleInfo, CodePageAndNumberItems) {
  EXPECT_EQ(0x0409u, GetThreadLocale());
  EXPECT_EQ(0x0409u, GetUserDefaultLCID());
  char16_t text[16];
  EXPECT_EQ(6, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE,
                              reinterpret_cast<LPWSTR>(text), 16));
  EXPECT_EQ(std::u16string(u"65001"), std::u16string(text));
  ASSERT_TRUE(SetSystemCodePage(1252));
  char narrow[8];
  EXPECT_EQ(5, GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, narrow, 8));
  EXPECT_STREQ("1252", narrow);
  SetSystemCodePage(CP_UTF8);
  // Sizing: 0 asks, too small fails.
  EXPECT_EQ(6, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, nullptr, 0));
  SetLastError(0);
  EXPECT_EQ(
      0, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_IDEFAULTANSICODEPAGE, reinterpret_cast<LPWSTR>(text), 5));
  EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
  // Every number and currency item answers something; an unknown item fails.
  for (LCTYPE item = LOCALE_SDECIMAL; item <= LOCALE_INEGCURR; ++item)
    EXPECT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, item, nullptr, 0), 0) << item;
  EXPECT_EQ(11, GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SNATIVEDIGITS, nullptr, 0));
  SetLastError(0);
  EXPECT_EQ(0, GetLocaleInfoW(LOCALE_USER_DEFAULT, 0x2, reinterpret_cast<LPWSTR>(text), 16));
  EXPECT_EQ(ERROR_INVALID_FLAGS, GetLastError());
}

}  // namespace
