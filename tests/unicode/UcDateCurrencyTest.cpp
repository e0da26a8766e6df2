// Dates through the 8-bit fallback, and currency in the number locale's conventions.
#include <gtest/gtest.h>

#include <cerrno>
#include <limits>
#include <string>

#include "CodePageScope.h"
#include "NumberLocaleScope.h"
#include "platform/rtl/DateText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileTimes.h"
#include "platform/rtl/LastError.h"
#include "unicode/UcDateCurrency.h"
#include "unicode/WideException.h"

namespace {

TEST(UcDates, TheVariantRoutineFailsAndTheFallbackParses) {
  EXPECT_DOUBLE_EQ(EncodeDate(2026, 12, 11) + EncodeTime(9, 30, 0, 0), UcStrToDateTime(u"12/11/2026 9:30"));
  EXPECT_DOUBLE_EQ(EncodeDate(2026, 12, 11), UcStrToDate(u"12/11/2026"));
  EXPECT_DOUBLE_EQ(EncodeTime(21, 5, 0, 0), UcStrToTime(u"9:05 PM"));
  EXPECT_TRUE(ValidDateStr(u"2/29/2024"));
  EXPECT_FALSE(ValidDateStr(u"2/29/2023"));
  EXPECT_FALSE(ValidTimeStr(u"24:00"));
  EXPECT_TRUE(ValidDateTimeStr(u"1/1/2000 0:00"));
  EXPECT_DOUBLE_EQ(5.0, UcStrToDateDef(u"\u1780", 5.0));
  EXPECT_DOUBLE_EQ(5.0, UcStrToTimeDef(u"", 5.0));
  EXPECT_DOUBLE_EQ(5.0, UcStrToDateTimeDef(u"1/2/2024 x", 5.0));
}

TEST(UcDates, ErrorsCarryTheSystemTextThenTheValue) {
  struct Case {
    TDateTime (*parse)(const WideString&);
    const char16_t* text;
    std::string tail;
  };
  const Case cases[] = {
      {UcStrToDate, u"x", "\r\n'x' is not a valid date"},
      {UcStrToTime, u"25:00", "\r\n'25:00' is not a valid time"},
      {UcStrToDateTime, u"\u1780", "\r\n'\xE1\x9E\x80' is not a valid date and time"},
  };
  for (const Case& c : cases) {
    try {
      c.parse(c.text);
      ADD_FAILURE();
    } catch (const EConvertError& e) {
      std::string m = e.Message.ToStd();
      ASSERT_GT(m.size(), c.tail.size());
      EXPECT_EQ(c.tail, m.substr(m.size() - c.tail.size()));
      EXPECT_EQ(m.substr(0, m.size() - c.tail.size()), SysErrorMessage(ERROR_NOT_SUPPORTED).ToStd());
    }
  }
}

// Amounts in the number locale's conventions, through the layer's UTF-16 and 8-bit paths.
TEST(UcCurrency, FormatsAndParsesInTheLocalesConventions) {
  NumberLocaleScope locale("de_DE.UTF-8");
  ASSERT_TRUE(locale.selected);
  struct Case {
    UINT page;
    bool narrow;
  };
  for (const Case& c : {Case{CP_UTF8, false}, Case{CP_UTF8, true}, Case{1252, true}}) {
    CodePageScope scope(c.page, c.narrow);
    EXPECT_EQ(UcCurrToStr(-12345678900).ToU16(), u"-1.234.567,89 \u20AC") << c.page << c.narrow;
    EXPECT_EQ(UcCurrToStr(5).ToU16(), u"0,00 \u20AC");
    EXPECT_EQ(UcStrToCurr(u"-1.234.567,89 \u20AC"), -12345678900);
    EXPECT_TRUE(ValidCurrencyStr(u"12,5"));
    EXPECT_FALSE(ValidCurrencyStr(u"zw\u00F6lf"));
    EXPECT_EQ(UcStrToCurrDef(u"zw\u00F6lf", 7), 7);
    EXPECT_EQ(UcStrToCurrDef(u"(3,25)", 7), -32500);
  }
  // The locale's format as a record formats as the locale does.
  CURRENCYFMTW f = GetDefaultCurrencyFmt();
  EXPECT_EQ(f.NumDigits, 2u);
  EXPECT_EQ(f.Grouping, 3u);
  EXPECT_EQ(std::u16string(f.lpDecimalSep), u",");
  EXPECT_EQ(std::u16string(f.lpThousandSep), u".");
  EXPECT_EQ(std::u16string(f.lpCurrencySymbol), u"\u20AC");
  EXPECT_EQ(f.PositiveOrder, 3u);
  EXPECT_EQ(f.NegativeOrder, 8u);
  EXPECT_EQ(UcCurrToStr(-12345678900, &f), UcCurrToStr(-12345678900));
  UcReleaseCurrencyFormatStrings();
}

// The 64-bit amount reaches the formatter digit for digit; through a double its last digits
// would be lost.
TEST(UcCurrency, LargeAmountsKeepEveryDigit) {
  char16_t dot[] = u".", comma[] = u",", dollar[] = u"$";
  CURRENCYFMTW f{4, 1, 3, dot, comma, 1, 0, dollar};
  EXPECT_EQ(UcCurrToStr(std::numeric_limits<Currency>::max(), &f).ToU16(), u"$922,337,203,685,477.5807");
  EXPECT_EQ(UcCurrToStr(std::numeric_limits<Currency>::min(), &f).ToU16(), u"-$922,337,203,685,477.5808");
  EXPECT_EQ(UcCurrToStr(90071992547409930, &f).ToU16(), u"$9,007,199,254,740.9930");
}

TEST(UcCurrency, ErrorsCarryTheSystemTextThenTheValue) {
  struct Case {
    const char16_t* text;
    DWORD error;
  };
  const Case cases[] = {
      {u"abc", ERROR_INVALID_PARAMETER},
      {u"99999999999999999999", platform::ErrorFromErrno(ERANGE)},
  };
  for (const Case& c : cases) {
    try {
      UcStrToCurr(c.text);
      ADD_FAILURE();
    } catch (const EConvertError& e) {
      const std::string value = AnsiString(WideString(c.text)).ToStd();
      EXPECT_EQ(e.Message.ToStd(),
                SysErrorMessage(c.error).ToStd() + "\r\n'" + value + "' is not a valid currency value");
    }
  }
}

}  // namespace
