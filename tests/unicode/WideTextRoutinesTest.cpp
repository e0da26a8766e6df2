#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "unicode/EngUsFloat.h"
#include "unicode/StringArrays.h"
#include "unicode/UcWideFormat.h"
#include "unicode/WideTextRoutines.h"

namespace {

TEST(UcAdjustLineBreaks, EveryBreakTakesTheStyle) {
  WideString text(u"a\rb\nc\r\nd\u2028e");
  struct Case {
    TUcTextLineBreakStyle style;
    std::u16string expected;
  } cases[] = {{tlbsCRLF, u"a\r\nb\r\nc\r\nd\r\ne"}, {tlbsLF, u"a\nb\nc\nd\ne"}, {tlbsCR, u"a\rb\rc\rd\re"}};
  for (const Case& c : cases) {
    WideString result = UcAdjustLineBreaks(text, c.style);
    EXPECT_EQ(result.ToU16(), c.expected);
    EXPECT_EQ(UcAdjustLineBreaksLength(text, c.style), result.Length());
  }
  EXPECT_EQ(UcAdjustLineBreaks(u"\r\r\n\n").ToU16(), u"\r\n\r\n\r\n");
}

struct WrapCase {
  std::u16string line;
  int maxCol;
  std::u16string expected;
};

class WideWrapTextTable : public ::testing::TestWithParam<WrapCase> {};

TEST_P(WideWrapTextTable, BreaksAtBlanksOutsideQuotes) {
  EXPECT_EQ(WideWrapText(WideString(GetParam().line), GetParam().maxCol).ToU16(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Lines, WideWrapTextTable,
    ::testing::Values(WrapCase{u"aaa bbb ccc", 5, u"aaa \r\nbbb \r\nccc"}, WrapCase{u"short", 10, u"short"},
                      WrapCase{u"one\r\ntwo three", 6, u"one\r\ntwo \r\nthree"},  // an existing break is kept
                      WrapCase{u"'a b c d' e", 3, u"'a b c d' \r\ne"},            // no break inside quotes
                      WrapCase{u"ti\u1EBFng vi\u1EC7t n\u00F3i", 7, u"ti\u1EBFng \r\nvi\u1EC7t \r\nn\u00F3i"},
                      WrapCase{u"\u1780\u1781\u1782\u1783", 2, u"\u1780\u1781\u1782\u1783"},
                      WrapCase{u"", 5, u""}));

TEST(WideWrapText, CustomBreakTextAndCharacters) {
  EXPECT_EQ(WideWrapText(u"a;b;c", u"|", ";", 2).ToU16(), u"a;|b;|c");
  EXPECT_EQ(WideWrapText(u"a|b", u"|", ";", 10).ToU16(), u"a|b");
}

TEST(WideTextRoutines, SearchingAndCase) {
  EXPECT_EQ(WideTextPos(u"VI\u1EC6T", u"ti\u1EBFng vi\u1EC7t"), 7);
  EXPECT_EQ(WideTextPos(u"x", u"abc"), 0);
  EXPECT_EQ(WideTextPos(u"", u"abc"), 0);
  EXPECT_TRUE(IsRTF(u"{\\rtf1 text}"));
  EXPECT_TRUE(IsRTF(u"{URTF"));
  EXPECT_FALSE(IsRTF(u"{\\rt"));
  EXPECT_EQ(UcWideLastChar(u"ab"), u'b');
  EXPECT_EQ(UcWideLastChar(u""), 0);
  EXPECT_EQ(Uc_WideUpperCase(u"\u00E9a").ToU16(), u"\u00C9A");
  EXPECT_EQ(Uc_WideLowerCase(u"\u00C9A").ToU16(), u"\u00E9a");
}

TEST(StringArrays, ZeroSeparatedLists) {
  const char16_t list[] = u"one\0two\0\0";
  EXPECT_EQ(ExtractStringArrayStr(list).ToU16(), std::u16string(u"one\0two\0\0", 9));
  std::vector<WideString> strings = ExtractStringsFromStringArray(list);
  ASSERT_EQ(strings.size(), 2u);
  EXPECT_EQ(strings[1].ToU16(), u"two");
  const char16_t* p = list;
  EXPECT_EQ(ExtractStringFromStringArray(p).ToU16(), u"one");
  EXPECT_EQ(p, list + 4);
  EXPECT_EQ(ExtractStringsFromStringArray(u"a;b;;c", u';').size(), 2u);
  const char16_t* q = u"a;b";
  ExtractStringFromStringArray(q, u';');
  EXPECT_EQ(ExtractStringFromStringArray(q, u';').ToU16(), u"b");
  EXPECT_EQ(*q, 0);
}

// The form library's separator is left alone: other threads may be formatting meanwhile.
TEST(EngUsFloat, UsesAPointWhateverTheSeparatorIs) {
  char saved = DecimalSeparator;
  DecimalSeparator = ',';
  EXPECT_EQ(ENG_US_FloatToStr(2.5).ToU16(), u"2.5");
  EXPECT_EQ(ENG_US_FloatToStr(0.1).ToU16(), u"0.1");
  EXPECT_EQ(ENG_US_StrToFloat(u"2.5"), 2.5);
  EXPECT_EQ(ENG_US_StrToFloat(u"2,5"), 2.5);  // the retry with the system's separator
  EXPECT_EQ(DecimalSeparator, ',');
  DecimalSeparator = saved;
  EXPECT_THROW(ENG_US_StrToFloat(u"2,5"), EConvertError);
  EXPECT_THROW(ENG_US_StrToFloat(u"x"), EConvertError);
  EXPECT_EQ(ENG_US_StrToFloat(ENG_US_FloatToStr(1.0 / 3)), 1.0 / 3);
}

// Results longer than any fixed buffer come back whole.
TEST(UcWideFormat, FormatsTextsOfAnyLength) {
  std::u16string longArg(9000, u'\u1780');
  EXPECT_EQ(Uc_WideFormat(u"<%s>", {TVarRec(WideString(longArg))}).ToU16(), u"<" + longArg + u">");
  EXPECT_EQ(Uc_WideFmtStr(u"%d \u1780 %s", {TVarRec(3), TVarRec(u"x")}).ToU16(), u"3 \u1780 x");
  char16_t buffer[4] = {u'#', u'#', u'#', u'#'};
  EXPECT_EQ(Uc_WideFormatBuf(buffer, 3, u"%d", {TVarRec(12345)}), 3u);
  EXPECT_EQ(std::u16string(buffer, 4), u"123#");
  EXPECT_THROW(Uc_WideFormat(u"%d", {TVarRec(u"x")}), EConvertError);
}

}  // namespace
