// Format, WideFormat and the number routines.
#include <gtest/gtest.h>

#include "Printers.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringRoutines.h"

namespace {

TEST(FormatTable, SpecifiersWidthsPrecisionsAndIndexes) {
  struct Case {
    AnsiString expected;
    AnsiString actual;
  };
  const void* p = reinterpret_cast<const void*>(static_cast<std::uintptr_t>(0xABC));
  const Case cases[] = {
      {"42", Format("%d", 42)},
      {"-7", Format("%d", -7)},
      {"  -7", Format("%4d", -7)},
      {"-7  |", Format("%-4d|", -7)},
      {"-0007", Format("%.4d", -7)},
      {"9223372036854775807", Format("%d", static_cast<long long>(INT64_MAX))},
      {"4294967295", Format("%u", -1)},
      {"FF", Format("%x", 255)},
      {"00FF", Format("%.4x", 255)},
      {"FFFFFFFF", Format("%x", -1)},
      {"3.14", Format("%.2f", 3.14159)},
      {"2.50", Format("%f", 2.5)},
      {"3", Format("%.0f", 2.5)},  // half away from zero, unlike the C library
      {"0.13", Format("%.2f", 0.125)},
      {"0.00", Format("%.2f", -0.001)},  // no negative zero
      {"0.00", Format("%.2f", -0.0)},
      {"10.0", Format("%.1f", 9.96)},
      {"1.23450000000000E+003", Format("%e", 1234.5)},
      {"1.2E+003", Format("%.2e", 1234.5)},
      {"1234.5", Format("%g", 1234.5)},
      {"1E20", Format("%g", 1e20)},
      {"1E-7", Format("%g", 1e-7)},
      {"0.0001", Format("%g", 0.0001)},
      {"1,234,567.89", Format("%n", 1234567.891)},
      {"-1,000.00", Format("%n", -1000.0)},
      {"$1,234.50", Format("%m", 1234.5)},
      {"-$1,000.00", Format("%m", -1000.0)},
      {"$0.00", Format("%m", -0.001)},  // the sign follows the rounded digits
      {"$0", Format("%.0m", -0.4)},
      {"-$0.01", Format("%m", -0.006)},
      {"0000000000000ABC", Format("%p", p)},
      {"abc", Format("%s", "abc")},
      {"ab", Format("%.2s", "abc")},
      {"  abc", Format("%5s", AnsiString("abc"))},
      {"x", Format("%s", 'x')},
      {"b a", Format("%1:s %0:s", "a", "b")},
      {"b c", Format("%1:s %s", "a", "b", "c")},  // an index moves the implicit position
      {"   42", Format("%*d", 5, 42)},
      {"3.1", Format("%.*f", 1, 3.14159)},
      {"100%", Format("%d%%", 100)},
      {"(1/3)", Format("(%d/%d)", 1, 3)},
      {"no args", Format("no args")},
  };
  for (const Case& c : cases) EXPECT_EQ(c.expected, c.actual);
}

TEST(FormatTable, BadSpecifiersRaiseConvertError) {
  const char* bad[] = {"%d", "%s %s", "%q", "%", "%5", "%3:d"};
  for (const char* f : bad) {
    try {
      Format(f, "text");
      ADD_FAILURE() << f;
    } catch (const EConvertError& e) {
      EXPECT_EQ("Bad format string '" + AnsiString(f) + "' for the given arguments", e.Message);
    }
  }
  EXPECT_THROW(Format("%f", 3), EConvertError);  // an integer is no float
  EXPECT_THROW(Format("%d", 3.0), EConvertError);
  EXPECT_THROW(Format("%d", true), EConvertError);
}

TEST(FormatTable, WideFormatSharesTheFormatter) {
  EXPECT_EQ(WideString(u"\u1780\u1781 = 5"), WideFormat(WideString(u"%s = %d"), u"\u1780\u1781", 5));
  EXPECT_EQ(WideString(u"caf\u00E9"), WideFormat(WideString(u"%s"), AnsiString("caf\xC3\xA9")));
  EXPECT_EQ(AnsiString("caf\xC3\xA9"), Format("%s", WideString(u"caf\u00E9")));
}

TEST(NumberText, FloatToStrIsShortestRoundTrip) {
  struct Case {
    double value;
    const char* text;
  };
  const Case cases[] = {{2.5, "2.5"},
                        {3, "3"},
                        {0.1, "0.1"},
                        {-0.5, "-0.5"},
                        {1e20, "1E20"},
                        {1e-7, "1E-7"},
                        {0, "0"},
                        {123456789012.0, "123456789012"},
                        {1.0 / 3, "0.3333333333333333"}};
  for (const Case& c : cases) {
    EXPECT_EQ(AnsiString(c.text), FloatToStr(c.value)) << c.text;
    EXPECT_EQ(c.value, StrToFloat(FloatToStr(c.value))) << c.text;
  }
  EXPECT_EQ(2.5, StrToFloat(" 2.5 "));
  EXPECT_THROW(StrToFloat("2,5"), EConvertError);
  EXPECT_THROW(StrToFloat(""), EConvertError);
  double v;
  EXPECT_FALSE(TryStrToFloat("1x", v));
}

TEST(NumberText, IntegersAndHex) {
  EXPECT_EQ(AnsiString("-12"), IntToStr(-12));
  EXPECT_EQ(AnsiString("1099511627776"), IntToStr(std::int64_t{1} << 40));
  EXPECT_EQ(AnsiString("00FF"), IntToHex(255, 4));
  EXPECT_EQ(AnsiString("FFFFFFFFFFFFFFFF"), IntToHex(-1, 2));
  EXPECT_EQ(17, StrToInt("17"));
  EXPECT_EQ(-1, StrToIntDef("x", -1));
  EXPECT_THROW(StrToInt("17x"), EConvertError);
  int v = 0;
  EXPECT_TRUE(TryStrToInt("$10", v));
  EXPECT_EQ(16, v);
  EXPECT_EQ(std::int64_t{-5000000000}, StrToInt64("-5000000000"));
}

}  // namespace
