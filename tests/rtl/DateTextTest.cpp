// Dates and times as text in the classic US conventions.
#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/DateText.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileTimes.h"

namespace {

TEST(DateText, ParsesAndWritesUsDates) {
  struct Case {
    const char* text;
    WORD year, month, day, hour, minute, second;
  };
  const Case cases[] = {
      {"12/11/2026", 2026, 12, 11, 0, 0, 0},
      {" 1/2/2026 ", 2026, 1, 2, 0, 0, 0},
      {"2/29/2024 13:05", 2024, 2, 29, 13, 5, 0},
      {"2/29/2024 1:05:09 PM", 2024, 2, 29, 13, 5, 9},
      {"2/29/2024 12:00 am", 2024, 2, 29, 0, 0, 0},
      {"7/4/1899", 1899, 7, 4, 0, 0, 0},  // before the epoch: a negative date
  };
  for (const Case& c : cases) {
    TDateTime v = StrToDateTime(c.text);
    WORD y, m, d, h, n, s, ms;
    DecodeDate(v, y, m, d);
    DecodeTime(v, h, n, s, ms);
    EXPECT_EQ(c.year, y) << c.text;
    EXPECT_EQ(c.month, m) << c.text;
    EXPECT_EQ(c.day, d) << c.text;
    EXPECT_EQ(c.hour, h) << c.text;
    EXPECT_EQ(c.minute, n) << c.text;
    EXPECT_EQ(c.second, s) << c.text;
  }
  EXPECT_EQ("12/11/2026", DateTimeToStr(EncodeDate(2026, 12, 11)).ToStd());
  EXPECT_EQ("1/2/2026 3:04:05 PM", DateTimeToStr(EncodeDate(2026, 1, 2) + EncodeTime(15, 4, 5, 0)).ToStd());
  EXPECT_EQ("12:00:00 AM", TimeToStr(0).ToStd());
  // Written text reads back.
  TDateTime t = EncodeDate(2030, 10, 31) + EncodeTime(23, 59, 58, 0);
  EXPECT_DOUBLE_EQ(t, StrToDateTime(DateTimeToStr(t)));
}

TEST(DateText, TwoDigitYearsAndShortDates) {
  WORD thisYear, m, d;
  DecodeDate(Date(), thisYear, m, d);
  WORD y;
  DecodeDate(StrToDate("3/4/" + std::to_string(thisYear % 100)), y, m, d);
  EXPECT_EQ(thisYear, y);
  DecodeDate(StrToDate("3/4"), y, m, d);
  EXPECT_EQ(thisYear, y);
  EXPECT_EQ(3, m);
  EXPECT_EQ(4, d);
}

TEST(DateText, BadTextRaisesWithTheText) {
  struct Case {
    const char* text;
    TDateTime (*parse)(const AnsiString&);
    const char* message;
  };
  const Case cases[] = {
      {"2/30/2024", StrToDate, "'2/30/2024' is not a valid date"},
      {"13/1/2024", StrToDate, "'13/1/2024' is not a valid date"},
      {"x", StrToDate, "'x' is not a valid date"},
      {"1/2/2024 25:00", StrToDateTime, "'1/2/2024 25:00' is not a valid date and time"},
      {"1/2/2024 junk", StrToDateTime, "'1/2/2024 junk' is not a valid date and time"},
      {"12:60", StrToTime, "'12:60' is not a valid time"},
      {"", StrToTime, "'' is not a valid time"},
      {"13 PM", StrToTime, "'13 PM' is not a valid time"},
  };
  for (const Case& c : cases) {
    try {
      c.parse(c.text);
      ADD_FAILURE() << c.text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(c.message, e.Message.ToStd());
    }
  }
  TDateTime v = 7;
  EXPECT_FALSE(TryStrToDate("1/2/", v));
  EXPECT_EQ(7, v) << "a failed parse leaves the value";
  EXPECT_TRUE(TryStrToTime("9 am", v));
  EXPECT_DOUBLE_EQ(EncodeTime(9, 0, 0, 0), v);
}

}  // namespace
