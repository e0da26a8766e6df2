// Format-string checking: specifiers rewritten with explicit indexes, floating-point specifiers
// formatted ahead of the UTF-16 formatter with the same result as the formatter alone, and two
// formats compared for the arguments they take.
#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/Exceptions.h"
#include "unicode/TFormatStrParser.h"
#include "unicode/UcWideFormat.h"

namespace {

std::string Utf8(const WideString& s) { return AnsiString(s).ToStd(); }

TEST(FormatStrParser, CanonicalFormsNameEveryArgument) {
  struct Case {
    const char16_t* format;
    const char16_t* canonical;
  };
  const Case cases[] = {
      {u"%s %d", u"%0:s %1:d"},
      {u"%s", u"%s"},                                    // one implicit specifier stays
      {u"%1:d %0:s", u"%1:d %0:s"},                      // all explicit stays
      {u"100%% of % d %s%s", u"100%% of % d %0:s%1:s"},  // "%%" and "% " are text
      {u"%1:s %0:s %s", u"%1:s %0:s %1:s"},              // after an explicit index comes the next one
      {u"%.*f %d", u"%0:.*f %2:d"},                      // a "*" precision takes an argument
      {u"%*d %-8.3f|%x", u"%0:*d %2:-8.3f|%3:x"},
      {u"\u1781 %s \u1781", u"\u1781 %s \u1781"},
      {u"trailing %", u"trailing %"},
  };
  // A zero unit is text: what follows it is kept.
  EXPECT_EQ(GetCanonicalFormatStr(WideString(std::u16string(u"%s\0%d", 5))).ToU16(),
            std::u16string(u"%0:s\0%1:d", 9));
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.format));
    EXPECT_EQ(Utf8(GetCanonicalFormatStr(c.format)), Utf8(c.canonical));
  }
}

TEST(FormatStrParser, BadSpecifiersRaiseWithTheWholeFormat) {
  struct Case {
    const char16_t* format;
    const char* message;
  };
  const Case cases[] = {
      {u"%1234567d", "Invalid Format Specifier: %1234567d"},
      {u"%s %5.1234567f", "Invalid Format Specifier: %0:s %1:5.1234567f"},
      {u"a %q b", "Invalid Format Specifier: a %0:q b"},
      {u"%-", "Invalid Format Specifier: %0:-"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.format));
    try {
      GetCanonicalFormatStr(c.format);
      ADD_FAILURE() << "no error";
    } catch (const EFormatSpecError& e) {
      EXPECT_EQ(e.Message.ToStd(), c.message);
    }
  }
}

TEST(FormatStrParser, TranslationsMustTakeTheSameArguments) {
  struct Case {
    const char16_t* a;
    const char16_t* b;
    const char* error;  // empty: compatible
  };
  const Case cases[] = {
      {u"%s %d", u"%1:d %0:s", ""},
      {u"%s of %d", u"\u1781 %s %d", ""},
      {u"%s", u"%d", "Argument types for index 0 do not match. (%0:s <> %0:d)"},
      {u"a", u"b", ""},
      {u"%s", u"b", "Number of format specifiers do not match.\r\n\r\n> %s\r\n> b"},
      {u"%s %d", u"%s", "Number of format specifiers do not match.\r\n\r\n> %s %d\r\n> %s"},
      {u"%2:s %0:d", u"%0:d %2:s", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.a) + " / " + Utf8(c.b));
    EXPECT_EQ(FormatStringsAreCompatible(c.a, c.b), *c.error == 0);
    try {
      CompareFormatStrings(c.a, c.b);
      EXPECT_EQ(*c.error, 0) << "no error";
    } catch (const EFormatSpecError& e) {
      EXPECT_EQ(e.Message.ToStd(), c.error);
    }
  }
}

TEST(FormatStrParser, ConflictsWithinOneFormatRaiseEvenWhenOnlyAsked) {
  try {
    FormatStringsAreCompatible(u"%0:s %0:d", u"%s");
    FAIL() << "no error";
  } catch (const EFormatSpecError& e) {
    EXPECT_EQ(e.Message.ToStd(), "Argument types for index 0 do not match. (%0:s <> %0:d)");
  }
}

// The pre-pass gives the text the formatter alone gives, for floats among other arguments.
TEST(FormatStrParser, FloatsFormattedAheadGiveTheFormattersText) {
  struct Case {
    const char16_t* format;
    std::initializer_list<TVarRec> args;
  };
  const Case cases[] = {
      {u"%e|%f|%g|%m|%n", {1234.5678, 1234.5678, 1234.5678, 1234.5678, 1234.5678}},
      {u"[%10.2f] [%-10.3e] [%8g]", {3.14159, 2.71828, 0.5}},
      {u"%*.*f and %s", {9, 2, 3.14159, u"\u1781\u17D2\u1798\u17C2\u179A"}},
      {u"%.*f %d", {2, 3.14159, 7}},
      {u"%1:s %0:s %s %f", {u"a", u"b", 1.5}},
      {u"%1:f %0:d %n", {42, 1234567.891, 0.25}},
      {u"%d%% %s", {5, u"Vi\u1EC7t"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Utf8(c.format));
    const WideString expected = WideFormat(c.format, c.args);
    EXPECT_EQ(Utf8(Uc_WideFormat(c.format, c.args)), Utf8(expected));
  }
}

}  // namespace
