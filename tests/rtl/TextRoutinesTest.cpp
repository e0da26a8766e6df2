// Case mapping, comparison and the text routines.
#include <gtest/gtest.h>
#include <unicode/uchar.h>

#include <cstdint>

#include "Printers.h"
#include "platform/rtl/CaseMap.h"
#include "platform/rtl/CharCase.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/StringRoutines.h"

namespace {

TEST(CaseTables, AgreeWithIcuForEveryUnit) {
  for (char32_t c = 0; c < 0x10000; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    auto single = [c](UChar32 m) { return m > 0xFFFF ? static_cast<char16_t>(c) : static_cast<char16_t>(m); };
    char16_t u = static_cast<char16_t>(c);
    ASSERT_EQ(single(u_toupper(c)), platform::UpperUnit(u)) << std::hex << unsigned(c);
    ASSERT_EQ(single(u_tolower(c)), platform::LowerUnit(u)) << std::hex << unsigned(c);
    ASSERT_EQ(single(u_foldCase(c, U_FOLD_CASE_DEFAULT)), platform::FoldUnit(u)) << std::hex << unsigned(c);
  }
}

TEST(CaseRoutines, PerUnitMappingAndFolding) {
  EXPECT_EQ(WideString(u"TI\u1EBENG VI\u1EC6T"), WideUpperCase(WideString(u"Ti\u1EBFng Vi\u1EC7t")));
  EXPECT_EQ(WideString(u"\u00DF"), WideUpperCase(WideString(u"\u00DF")));              // no SS: one unit each
  EXPECT_EQ(WideString(u"\u1797\u17B6"), WideUpperCase(WideString(u"\u1797\u17B6")));  // Khmer has no case
  EXPECT_TRUE(WideSameText(WideString(u"\u03A3"), WideString(u"\u03C2")));  // final sigma folds to sigma
  EXPECT_FALSE(WideSameText(WideString(u"STRASSE"), WideString(u"stra\u00DFe")));
  EXPECT_TRUE(SameText("Hello", "hELLO"));
  EXPECT_TRUE(SameText("\xC3\x89t\xC3\xA9", "\xC3\xA9T\xC3\x89"));  // UTF-8 system code page
  EXPECT_LT(CompareText("apple", "Banana"), 0);
  EXPECT_GT(CompareStr("apple", "Banana"), 0);  // bytes: 'a' > 'B'
  EXPECT_EQ(0, CompareText("abc", "ABC"));
  EXPECT_LT(CompareText("ab", "ABC"), 0);
  EXPECT_EQ(AnsiString("ABC\xC3\xA9"), UpperCase("abc\xC3\xA9"));  // ASCII only
  EXPECT_EQ(AnsiString("ABC\xC3\x89"), AnsiUpperCase("abc\xC3\xA9"));
  EXPECT_EQ(AnsiString("abc\xC3\xA9"), AnsiString("ABC\xC3\x89").LowerCase());
  ASSERT_TRUE(SetSystemCodePage(1252));
  EXPECT_EQ(AnsiString("\xC9T\xC9"), AnsiUpperCase("\xE9t\xE9"));
  EXPECT_TRUE(AnsiSameText("\xE9", "\xC9"));
  SetSystemCodePage(CP_UTF8);
}

// Names made of ASCII compare without being widened; the order must stay that of their UTF-16
// units folded, in every system code page, and beside a name that is not ASCII.
TEST(CaseRoutines, CompareTextOrdersAsciiAsTheFoldedUnits) {
  struct Case {
    const char* a;
    const char* b;
    int expected;
  };
  const Case cases[] = {
      {"TfrmMain", "TFRMMAIN", 0},
      {"", "", 0},
      {"", "a", -1},
      {"_", "A", -1},  // folding goes to lower case: 'a' is above '_'
      {"[", "a", -1},
      {"`", "Z", -1},
      {"btn1", "BTN10", -1},
      {"Caption", "Captio", 1},
      {"\x7F", "~", 1},
      {"abc", "ab\xC3\xA9", -1},  // one side not ASCII: the widened order
  };
  for (UINT cp : {UINT{CP_UTF8}, UINT{1252}, UINT{1258}, UINT{932}, UINT{950}}) {
    ASSERT_TRUE(SetSystemCodePage(cp));
    for (const Case& c : cases) {
      const int widened = WideCompareText(WideString(AnsiString(c.a)), WideString(AnsiString(c.b)));
      EXPECT_EQ(c.expected, CompareText(c.a, c.b)) << c.a << " / " << c.b << " in " << cp;
      EXPECT_EQ(widened, CompareText(c.a, c.b)) << c.a << " / " << c.b << " in " << cp;
      EXPECT_EQ(c.expected == 0, SameText(c.a, c.b)) << c.a << " / " << c.b << " in " << cp;
    }
  }
  SetSystemCodePage(CP_UTF8);
}

TEST(CaseRoutines, FunctionLevelForms) {
  char16_t w[] = u"abc\u00E9";
  EXPECT_EQ(w, CharUpperW(w));
  EXPECT_EQ(std::u16string(u"ABC\u00C9"), std::u16string(w));
  EXPECT_EQ(u'A', static_cast<char16_t>(reinterpret_cast<std::uintptr_t>(
                      CharUpperW(reinterpret_cast<LPWSTR>(static_cast<std::uintptr_t>(u'a'))))));
  char a[] = "MiXeD";
  EXPECT_EQ(5u, CharLowerBuffA(a, 5));
  EXPECT_STREQ("mixed", a);
  EXPECT_EQ(CSTR_EQUAL,
            CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, u"Stra\u00DFe", -1, u"STRA\u1E9Ee", -1));
  EXPECT_EQ(CSTR_LESS_THAN, CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, "abc", 2, "ABC", 3));
  EXPECT_EQ(CSTR_GREATER_THAN, CompareStringA(LOCALE_USER_DEFAULT, NORM_IGNORECASE, "b", -1, "A", -1));
  EXPECT_EQ(CSTR_LESS_THAN, CompareStringW(LOCALE_USER_DEFAULT, 0, u"a", -1, u"B", -1));  // collation
}

TEST(TextRoutines, QuotingReplacingAndLineBreaks) {
  EXPECT_EQ(AnsiString("'it''s'"), QuotedStr("it's"));
  EXPECT_EQ(AnsiString("\"a\"\"b\""), AnsiQuotedStr("a\"b", '"'));
  AnsiString quoted("'it''s' rest");
  const char* p = quoted.c_str();
  EXPECT_EQ(AnsiString("it's"), AnsiExtractQuotedStr(p, '\''));
  EXPECT_STREQ(" rest", p);
  const char* q = "no quote";
  EXPECT_TRUE(AnsiExtractQuotedStr(q, '\'').IsEmpty());
  EXPECT_STREQ("no quote", q);
  EXPECT_EQ(AnsiString("a\r\nb\r\nc\r\n\r\n"), AdjustLineBreaks("a\nb\r\nc\r\n\r"));
  AnsiString s("x\xE1\x9E\x80");
  EXPECT_EQ(s.c_str() + 1, AnsiLastChar(s));  // the whole last character
  EXPECT_EQ(nullptr, AnsiLastChar(""));

  struct Case {
    const char* text;
    const char* from;
    const char* to;
    TReplaceFlags flags;
    const char* expected;
  };
  const Case cases[] = {
      {"aXbxc", "x", "-", TReplaceFlags(), "aXb-c"},
      {"aXbxc", "x", "-", TReplaceFlags() << rfIgnoreCase, "a-bxc"},
      {"aXbxc", "x", "-", TReplaceFlags() << rfIgnoreCase << rfReplaceAll, "a-b-c"},
      {"aaa", "a", "aa", TReplaceFlags() << rfReplaceAll, "aaaaaa"},
      {"abc", "", "z", TReplaceFlags() << rfReplaceAll, "abc"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AnsiString(c.expected), StringReplace(c.text, c.from, c.to, c.flags))
        << c.text << " " << c.from;
}

}  // namespace
