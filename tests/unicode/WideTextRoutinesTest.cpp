#include <gtest/gtest.h>

#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "unicode/EngUsFloat.h"
#include "unicode/StringArrays.h"
#include "unicode/UcWideFormat.h"
#include "unicode/WideCharClasses.h"
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

TEST(Uc_WideStringReplace, FlagsAndWholeWords) {
  struct Case {
    const char16_t *text, *from, *to;
    TReplaceFlags flags;
    bool wholeWord;
    const char16_t* expected;
  };
  TReplaceFlags all, allNoCase;
  all << rfReplaceAll;
  allNoCase << rfReplaceAll << rfIgnoreCase;
  const Case cases[] = {
      {u"cat cat cat", u"cat", u"dog", {}, false, u"dog cat cat"},
      {u"cat cat cat", u"cat", u"dog", all, false, u"dog dog dog"},
      {u"Cat CAT cat", u"cat", u"dog", all, false, u"Cat CAT dog"},
      {u"Cat CAT cat", u"cat", u"dog", allNoCase, false, u"dog dog dog"},
      // Case is ignored for Vietnamese letters too, and the text around keeps its own case.
      {u"Ti\u1EBFng VI\u1EC6T hay", u"vi\u1EC7t", u"Khmer", allNoCase, false, u"Ti\u1EBFng Khmer hay"},
      // Whole words: inside "concat" nothing; "cat" before a full stop, a Khmer full stop or the
      // end is a word.
      {u"concat", u"cat", u"dog", all, true, u"concat"},
      {u"the cat.", u"cat", u"dog", all, true, u"the dog."},
      {u"cats cat\u17D4 concat cat", u"cat", u"dog", all, true, u"cats dog\u17D4 concat dog"},
      // A word that only counts after the first replacement: the unit before is the new text's.
      {u"catcat", u"cat", u"-", all, true, u"catcat"},
      {u"cat-cat", u"cat", u"-", all, true, u"---"},
      // Without replace-all, a match that is not a word does not stop the search.
      {u"concat cat cat", u"cat", u"dog", {}, true, u"concat dog cat"},
      {u"abc", u"", u"x", all, false, u"abc"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Uc_WideStringReplace(c.text, c.from, c.to, c.flags, c.wholeWord).ToU16(), c.expected)
        << std::string(c.text, c.text + 3);
}

// The ten classes of a unit, including letters and signs of Khmer and Vietnamese.
TEST(WideCharClasses, TheTenTests) {
  using Test = bool (*)(char16_t);
  const Test tests[] = {IsWideCharUpper, IsWideCharLower,       IsWideCharDigit, IsWideCharSpace,
                        IsWideCharPunct, IsWideCharCntrl,       IsWideCharBlank, IsWideCharXDigit,
                        IsWideCharAlpha, IsWideCharAlphaNumeric};
  struct Case {
    char16_t c;
    const char* classes;  // one letter per test above: upper lower digit space punct cntrl blank
                          // xdigit alpha alnum
  };
  const Case cases[] = {
      {u'A', "U......XAN"},      {u'g', ".L......AN"},      {u'7', "..D....X.N"},
      {u' ', "...S..B..."},      {u'\t', "...S.CB..."},     {u'\n', "...S.C...."},
      {u',', "....P....."},      {u'\u1EC6', "U.......AN"}, {u'\u1EC7', ".L......AN"},
      {u'\u1780', "........AN"}, {u'\u17D4', "....P....."}, {0xD800, ".........."},
  };
  for (const Case& c : cases) {
    for (std::size_t t = 0; t < 10; ++t)
      EXPECT_EQ(tests[t](c.c), c.classes[t] != '.') << std::hex << int(c.c) << " test " << t;
  }
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
