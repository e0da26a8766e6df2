// Amounts of money as text: formatted and parsed in the conventions of a number locale, and
// formatted by a caller's format record.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Locale.h"
#include "platform/rtl/Variants.h"

namespace {

// Selects a number locale for one test and goes back to the user's after it.
class NumberLocaleScope {
 public:
  explicit NumberLocaleScope(const std::string& name) { selected = platform::SelectNumberLocale(name); }
  ~NumberLocaleScope() { platform::SelectNumberLocale(""); }
  bool selected = false;
};

std::u16string Format(const char16_t* value, const CURRENCYFMTW* format = nullptr) {
  char16_t out[128];
  int n = GetCurrencyFormatW(0x409, 0, value, format, out, 128);
  return n > 0 ? std::u16string(out, static_cast<std::size_t>(n - 1)) : u"<failed>";
}

TEST(Currency, FormatsAndParsesInEachLocalesConventions) {
  struct Case {
    const char* locale;
    std::u16string positive, negative;
    std::int64_t parsedBack;  // what the positive text parses to: the locale's digits survive
    const char16_t* foreignSymbol;
  };
  const Case cases[] = {
      {"en_US.UTF-8", u"$1,234,567.89", u"-$1,234,567.89", 12345678900, u"\u20AC5"},
      // No decimals: the amount rounds to whole dong.
      {"vi_VN.UTF-8", u"1.234.568\u20AB", u"-\u20AB1.234.568", 12345680000, u"$5"},
      {"km_KH.UTF-8", u"1,234,567.89\u17DB", u"-1,234,567.89\u17DB", 12345678900, u"\u20AC5"},
      {"de_DE.UTF-8", u"1.234.567,89 \u20AC", u"-1.234.567,89 \u20AC", 12345678900, u"$5"},
  };
  for (const Case& c : cases) {
    NumberLocaleScope scope(c.locale);
    ASSERT_TRUE(scope.selected) << c.locale << " is not installed";
    EXPECT_EQ(Format(u"1234567.891"), c.positive) << c.locale;
    EXPECT_EQ(Format(u"-1234567.891"), c.negative) << c.locale;
    CY value{0};
    ASSERT_EQ(VarCyFromStr(c.positive.c_str(), 0x409, 0, &value), 0) << c.locale;
    EXPECT_EQ(value.int64, c.parsedBack) << c.locale;
    ASSERT_EQ(VarCyFromStr(c.negative.c_str(), 0x409, 0, &value), 0) << c.locale;
    EXPECT_EQ(value.int64, -c.parsedBack) << c.locale;
    // Four decimals survive a parse, whatever the locale shows.
    std::u16string small = c.positive.find(u',') < c.positive.find(u'.') ? u"0.1234" : u"0,1234";
    ASSERT_EQ(VarCyFromStr(small.c_str(), 0x409, 0, &value), 0) << c.locale;
    EXPECT_EQ(value.int64, 1234) << c.locale;
    for (const char16_t* junk : {u"", u"-", u"12 apples", u"--5", u"1,,000", c.foreignSymbol}) {
      value.int64 = 77;
      SetLastError(0);
      EXPECT_EQ(VarCyFromStr(junk, 0x409, 0, &value), DISP_E_TYPEMISMATCH) << c.locale;
      EXPECT_EQ(value.int64, 77) << "a refused text leaves the result alone";
      EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    }
  }
}

TEST(Currency, ParsesTheWaysPeopleWriteAmounts) {
  NumberLocaleScope scope("en_US.UTF-8");
  ASSERT_TRUE(scope.selected);
  struct Case {
    const char16_t* text;
    std::int64_t value;
  };
  const Case cases[] = {
      {u"  $1,234.5678 ", 12345678},
      {u"($5.00)", -50000},
      {u"5-", -50000},
      {u"$-5", -50000},
      {u"+$ 5", 50000},
      {u"USD 5", 50000},
      {u"5 $", 50000},
      {u".5", 5000},
      {u"7.", 70000},
      // Beyond four decimals: half to even.
      {u"1.23456", 12346},
      {u"0.00005", 0},
      {u"0.00015", 2},
      {u"0.000051", 1},
      {u"922337203685477.5807", std::numeric_limits<std::int64_t>::max()},
      {u"-922337203685477.5808", std::numeric_limits<std::int64_t>::min()},
  };
  for (const Case& c : cases) {
    CY value{0};
    ASSERT_EQ(VarCyFromStr(c.text, 0x409, 0, &value), 0) << std::string(c.text, c.text + 4);
    EXPECT_EQ(value.int64, c.value);
  }
  for (const char16_t* refused : {u"(-5)", u"$$5", u"5$$", u"1.2.3", u",5", u"5,", u"1 000", u"(5"}) {
    CY value{0};
    EXPECT_EQ(VarCyFromStr(refused, 0x409, 0, &value), DISP_E_TYPEMISMATCH);
  }
  CY value{0};
  EXPECT_EQ(VarCyFromStr(u"922337203685477.5808", 0x409, 0, &value), DISP_E_OVERFLOW);
  EXPECT_EQ(VarCyFromStr(u"99999999999999999999999", 0x409, 0, &value), DISP_E_OVERFLOW);
  EXPECT_EQ(VarCyFromStr(nullptr, 0x409, 0, &value), E_INVALIDARG);
}

TEST(Currency, FormatsByTheCallersRecord) {
  char16_t dot[] = u".", comma[] = u",", dollar[] = u"$";
  CURRENCYFMTW f{2, 1, 3, dot, comma, 0, 0, dollar};
  // Every sign and symbol order of the classic formatter.
  const char16_t* const negatives[] = {
      u"($1.50)", u"-$1.50",  u"$-1.50",  u"$1.50-",  u"(1.50$)", u"-1.50$",  u"1.50-$",   u"1.50$-",
      u"-1.50 $", u"-$ 1.50", u"1.50 $-", u"$ 1.50-", u"$ -1.50", u"1.50- $", u"($ 1.50)", u"(1.50 $)",
  };
  for (UINT order = 0; order < 16; ++order) {
    f.NegativeOrder = order;
    EXPECT_EQ(Format(u"-1.5", &f), negatives[order]) << order;
  }
  const char16_t* const positives[] = {u"$1.50", u"1.50$", u"$ 1.50", u"1.50 $"};
  for (UINT order = 0; order < 4; ++order) {
    f.PositiveOrder = order;
    EXPECT_EQ(Format(u"1.5", &f), positives[order]) << order;
  }
  f.PositiveOrder = 0;
  f.NegativeOrder = 1;
  struct Case {
    UINT digits, leadingZero, grouping;
    const char16_t *value, *text;
  };
  const Case cases[] = {
      {2, 1, 3, u"1234567", u"$1,234,567.00"},
      {2, 1, 32, u"123456789", u"$12,34,56,789.00"},
      {2, 1, 0, u"1234567", u"$1234567.00"},
      {0, 1, 3, u"1234.5", u"$1,235"},
      {2, 1, 3, u"9.995", u"$10.00"},
      {2, 1, 3, u"-0.125", u"-$0.13"},
      {2, 1, 3, u"-0.001", u"$0.00"},  // no sign on an amount that rounds to nothing
      {2, 0, 3, u"0.5", u"$.50"},
      {4, 1, 3, u"922337203685477.5807", u"$922,337,203,685,477.5807"},
      {2, 1, 3, u"000012", u"$12.00"},
  };
  for (const Case& c : cases) {
    f.NumDigits = c.digits;
    f.LeadingZero = c.leadingZero;
    f.Grouping = c.grouping;
    EXPECT_EQ(Format(c.value, &f), c.text);
  }
}

TEST(Currency, RefusesWhatItCannotFormat) {
  char16_t dot[] = u".", comma[] = u",", dollar[] = u"$";
  CURRENCYFMTW f{2, 1, 3, dot, comma, 0, 0, dollar};
  char16_t out[64];
  for (const char16_t* value : {u"", u"-", u".", u"1,5", u" 1", u"1e3", u"1.2.3", u"+1", u"\u0661"}) {
    SetLastError(0);
    EXPECT_EQ(GetCurrencyFormatW(0x409, 0, value, &f, out, 64), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  struct Bad {
    UINT digits, grouping, negative, positive;
  };
  for (const Bad& b : {Bad{10, 3, 0, 0}, Bad{2, 33, 0, 0}, Bad{2, 3, 16, 0}, Bad{2, 3, 0, 4}}) {
    CURRENCYFMTW bad{b.digits, 1, b.grouping, dot, comma, b.negative, b.positive, dollar};
    SetLastError(0);
    EXPECT_EQ(GetCurrencyFormatW(0x409, 0, u"1", &bad, out, 64), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  }
  SetLastError(0);
  EXPECT_EQ(GetCurrencyFormatW(0x409, LOCALE_NOUSEROVERRIDE, u"1", &f, out, 64), 0);
  EXPECT_EQ(GetLastError(), ERROR_INVALID_FLAGS);
  // Sizing: 0 asks for the size, terminator included; too small fails and writes nothing.
  EXPECT_EQ(GetCurrencyFormatW(0x409, 0, u"1234", &f, nullptr, 0), 10);
  out[0] = u'x';
  SetLastError(0);
  EXPECT_EQ(GetCurrencyFormatW(0x409, 0, u"1234", &f, out, 9), 0);
  EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
  EXPECT_EQ(out[0], u'x');
}

// The 8-bit form answers in the system code page: the euro sign is one byte under 1252.
TEST(Currency, TheEightBitFormUsesTheSystemCodePage) {
  NumberLocaleScope scope("de_DE.UTF-8");
  ASSERT_TRUE(scope.selected);
  ASSERT_TRUE(SetSystemCodePage(1252));
  char out[64];
  EXPECT_EQ(GetCurrencyFormatA(0x409, 0, "-1234.5", nullptr, out, 64), 12);
  EXPECT_STREQ(out, "-1.234,50 \x80");
  char dot[] = ".", comma[] = ",", euro[] = "\x80";
  CURRENCYFMTA f{2, 1, 3, dot, comma, 0, 3, euro};
  EXPECT_EQ(GetCurrencyFormatA(0x409, 0, "7", &f, out, 64), 7);
  EXPECT_STREQ(out, "7.00 \x80");
  SetSystemCodePage(CP_UTF8);
}

TEST(Currency, SelectingALocaleThatIsNotInstalledChangesNothing) {
  NumberLocaleScope scope("de_DE.UTF-8");
  ASSERT_TRUE(scope.selected);
  EXPECT_FALSE(platform::SelectNumberLocale("xx_NOWHERE.UTF-8"));
  EXPECT_EQ(Format(u"1"), u"1,00 \u20AC");
  // "C" has no conventions of its own: the classic US ones apply.
  EXPECT_TRUE(platform::SelectNumberLocale("C"));
  EXPECT_EQ(Format(u"-1"), u"($1.00)");
}

}  // namespace
