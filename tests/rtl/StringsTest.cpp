// AnsiString and WideString: the classic 1-based members and number conversion.
#include <gtest/gtest.h>

#include "Printers.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/ParseInt.h"
#include "platform/rtl/WideString.h"

namespace {

TEST(AnsiStringMembers, PositionsAreOneBased) {
  AnsiString s("hello world");
  EXPECT_EQ('h', s[1]);
  EXPECT_EQ('d', s[11]);
  EXPECT_THROW(s[0], ERangeError);
  EXPECT_THROW(s[12], ERangeError);
  EXPECT_EQ(AnsiString("world"), s.SubString(7, 100));
  EXPECT_EQ(AnsiString("hel"), s.SubString(-3, 3));
  EXPECT_TRUE(s.SubString(12, 1).IsEmpty());
  EXPECT_TRUE(s.SubString(2, 0).IsEmpty());
  EXPECT_EQ(7, s.Pos("world"));
  EXPECT_EQ(1, s.Pos("h"));
  EXPECT_EQ(0, s.Pos("x"));
  EXPECT_EQ(0, s.Pos(""));
  EXPECT_EQ(AnsiString("hello, world"), AnsiString(s).Insert(",", 6));
  EXPECT_EQ(AnsiString("heworld"), AnsiString(s).Delete(3, 4));
  EXPECT_EQ(AnsiString("hello world"), AnsiString(s).Delete(20, 4));
  EXPECT_EQ(8, AnsiString("a/b\\c.d/e").LastDelimiter("/\\"));
  EXPECT_STREQ("", AnsiString().c_str());
  EXPECT_STREQ("", AnsiString(static_cast<const char*>(nullptr)).c_str());
}

TEST(AnsiStringMembers, TrimAndNumbers) {
  EXPECT_EQ(AnsiString("a b"), AnsiString(" \t a b \r\n").Trim());
  EXPECT_EQ(AnsiString("a b \r\n"), AnsiString(" \t a b \r\n").TrimLeft());
  EXPECT_EQ(AnsiString(" \t a b"), AnsiString(" \t a b \r\n").TrimRight());
  EXPECT_EQ(AnsiString("-42"), AnsiString(-42));
  EXPECT_EQ(AnsiString("x=7 y"), AnsiString().sprintf("x=%d %s", 7, "y"));
  EXPECT_EQ(AnsiString("ab12"), AnsiString("ab").cat_sprintf("%02d", 12));
  EXPECT_EQ(AnsiString("ab"), AnsiString("a") + "b");
  EXPECT_LT(AnsiString("B"), AnsiString("a"));  // byte order
}

TEST(IntegerText, ClassicRules) {
  struct Case {
    const char* text;
    bool ok;
    int value;
  };
  const Case cases[] = {
      {"0", true, 0},
      {"  12", true, 12},
      {"-12", true, -12},
      {"+7", true, 7},
      {"$1F", true, 31},
      {"0x10", true, 16},
      {"$FFFFFFFF", true, -1},
      {"2147483647", true, 2147483647},
      {"-2147483648", true, -2147483647 - 1},
      {"2147483648", false, 0},
      {"-2147483649", false, 0},
      {"$100000000", false, 0},
      {"12 ", false, 0},
      {"1a", false, 0},
      {"", false, 0},
      {"-", false, 0},
      {"$", false, 0},
      {"99999999999999999999999", false, 0},
  };
  for (const Case& c : cases) {
    int v = -99;
    EXPECT_EQ(c.ok, platform::ParseInt(std::string_view(c.text), v)) << c.text;
    if (c.ok) {
      EXPECT_EQ(c.value, v) << c.text;
    }
    EXPECT_EQ(c.ok ? c.value : 5, AnsiString(c.text).ToIntDef(5)) << c.text;
    EXPECT_EQ(c.ok ? c.value : 5, WideString(c.text).ToIntDef(5)) << c.text;
  }
  try {
    AnsiString("abc").ToInt();
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_STREQ("'abc' is not a valid integer value", e.what());
  }
}

TEST(WideStringMembers, UnitsAndPositions) {
  WideString s(u"a\U0001F600b");  // a pair counts two units
  EXPECT_EQ(4, s.Length());
  EXPECT_EQ(u'b', s[4]);
  EXPECT_THROW(s[5], ERangeError);
  EXPECT_EQ(4, s.Pos(WideString(u"b")));
  EXPECT_EQ(WideString(u"\U0001F600"), s.SubString(2, 2));
  EXPECT_EQ(WideString(u"x y"), WideString(u"  x y\t").Trim());
  EXPECT_NE(nullptr, WideString().c_bstr());
  EXPECT_EQ(u'\0', WideString().c_bstr()[0]);
  EXPECT_EQ(WideString(u"12"), WideString(12));
  EXPECT_EQ(WideString(u"ab"), WideString(u"a") + u"b");
}

TEST(ExceptionClasses, MessagesAndHierarchy) {
  try {
    throw EReadError("Stream read error");
  } catch (const EStreamError& e) {
    EXPECT_STREQ("Stream read error", e.what());
    EXPECT_EQ(AnsiString("Stream read error"), e.Message);
  }
  EXPECT_THROW(Abort(), EAbort);
  try {
    RaiseLastOSError(2);
  } catch (const EOSError& e) {
    EXPECT_EQ(2u, e.ErrorCode);
    EXPECT_EQ(AnsiString("System error 2: No such file or directory"), e.Message);
  }
  Exception h("x", 42);
  EXPECT_EQ(42, h.HelpContext);
  EListError fmt("List index out of bounds (%d)", {TVarRec(7)});
  EXPECT_EQ(AnsiString("List index out of bounds (7)"), fmt.Message);
  EStringListError fmtHelp("%s-%s", {"a", "b"}, 9);
  EXPECT_EQ(AnsiString("a-b"), fmtHelp.Message);
  EXPECT_EQ(9, fmtHelp.HelpContext);
}

}  // namespace
