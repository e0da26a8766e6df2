// Dates through the 8-bit fallback, and currency, which has no fallback here.
#include <gtest/gtest.h>

#include <string>

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

// Nothing in the system parses or formats currency; the routines fail cleanly.
TEST(UcCurrency, FailsCleanly) {
  try {
    UcStrToCurr(u"1.50");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    std::string m = e.Message.ToStd();
    EXPECT_NE(std::string::npos, m.find("\r\n'1.50' is not a valid currency value")) << m;
  }
  EXPECT_FALSE(ValidCurrencyStr(u"1.50"));
  EXPECT_EQ(7, UcStrToCurrDef(u"1.50", 7));
  EXPECT_THROW(UcCurrToStr(15000), EWideOSError);
  CURRENCYFMTW f = GetDefaultCurrencyFmt();
  EXPECT_EQ(2u, f.NumDigits);
  EXPECT_EQ(std::u16string(u"."), std::u16string(f.lpDecimalSep));
  EXPECT_EQ(3u, f.Grouping);
  UcReleaseCurrencyFormatStrings();
}

}  // namespace
