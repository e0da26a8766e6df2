#include <gtest/gtest.h>

#include <string>

#include "unicode/WStrRoutines.h"

namespace {

TEST(WStrRoutines, AllocatedBlocksKnowTheirSize) {
  PWideChar p = WStrAlloc(10);
  EXPECT_EQ(WStrBufSize(p), 10u);
  WStrDispose(p);
  PWideChar copy = WStrNew(u"abc");
  EXPECT_EQ(std::u16string(copy), u"abc");
  EXPECT_EQ(WStrBufSize(copy), 4u);
  WStrDispose(copy);
  PWideChar empty = WStrNew(u"");
  EXPECT_EQ(empty[0], 0);
  WStrDispose(empty);
  EXPECT_EQ(WStrNew(nullptr), nullptr);
  WStrDispose(nullptr);
}

TEST(WStrRoutines, CopiesStopAtTheLimitAndAlwaysTerminate) {
  char16_t buffer[8];
  std::fill(std::begin(buffer), std::end(buffer), u'x');
  WStrLCopy(buffer, u"abc", 0);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(buffer[1], u'x');
  WStrLCopy(buffer, u"abcdef", 3);
  EXPECT_EQ(std::u16string(buffer), u"abc");
  WStrPLCopy(buffer, WideString(u"ab\0cd", 5), 5);
  EXPECT_EQ(std::u16string(buffer), u"ab");
  EXPECT_EQ(WStrECopy(buffer, u"xyz"), buffer + 3);
  EXPECT_EQ(std::u16string(WStrCat(buffer, u"12")), u"xyz12");
  char16_t overlap[] = u"abcdef";
  WStrMove(overlap + 1, overlap, 3);
  EXPECT_EQ(std::u16string(overlap), u"aabcef");
}

// A destination already past the limit gets nothing appended (and nothing past its end).
TEST(WStrRoutines, LimitedAppendNeverGrowsPastTheLimit) {
  char16_t buffer[16] = u"abcdef";
  buffer[7] = u'!';
  WStrLCat(buffer, u"XYZ", 4);
  EXPECT_EQ(std::u16string(buffer), u"abcdef");
  EXPECT_EQ(buffer[7], u'!');
  WStrLCat(buffer, u"XYZ", 8);
  EXPECT_EQ(std::u16string(buffer), u"abcdefXY");
  WStrLCat(buffer, u"XYZ", 8);
  EXPECT_EQ(std::u16string(buffer), u"abcdefXY");
}

TEST(WStrRoutines, ScanningAndSearching) {
  const char16_t* text = u"a/b/c";
  EXPECT_EQ(WStrScan(text, u'/'), text + 1);
  EXPECT_EQ(WStrRScan(text, u'/'), text + 3);
  EXPECT_EQ(WStrScan(text, 0), text + 5);
  EXPECT_EQ(WStrRScan(text, 0), text + 5);
  EXPECT_EQ(WStrScan(text, u'z'), nullptr);
  EXPECT_EQ(WStrPos(text, u"b/c"), text + 2);
  EXPECT_EQ(WStrPos(text, u"c/"), nullptr);
  EXPECT_EQ(WStrPos(text, u""), nullptr);
  EXPECT_EQ(WStrPos(nullptr, u"a"), nullptr);
  EXPECT_EQ(WStrLen(text), 5u);
  EXPECT_EQ(WStrEnd(text), text + 5);
}

TEST(WStrRoutines, ComparisonsAndCase) {
  EXPECT_LT(WStrComp(u"a", u"b"), 0);
  EXPECT_EQ(WStrComp(u"abc", u"abc"), 0);
  EXPECT_EQ(WStrIComp(u"abc", u"ABC"), 0);
  EXPECT_LT(WStrIComp(u"abc", u"ABD"), 0);
  EXPECT_EQ(WStrLComp(u"abcX", u"abcY", 3), 0);
  EXPECT_EQ(WStrLIComp(u"abcX", u"ABCY", 3), 0);
  EXPECT_GT(WStrLComp(u"abcY", u"abcX", 0x7FFFFFFF), 0);
  char16_t word[] = u"ti\u1EBFng";
  EXPECT_EQ(std::u16string(WStrUpper(word)), u"TI\u1EBENG");
  EXPECT_EQ(std::u16string(WStrLower(word)), u"ti\u1EBFng");
}

struct QuoteCase {
  std::u16string text;
  std::u16string value;
  std::size_t stop;  // where the pointer is left
};

class WideExtractQuotedStrTable : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(WideExtractQuotedStrTable, ReadsTheQuotedText) {
  const QuoteCase& c = GetParam();
  const char16_t* p = c.text.c_str();
  EXPECT_EQ(WideExtractQuotedStr(p, u'\'').ToU16(), c.value);
  EXPECT_EQ(static_cast<std::size_t>(p - c.text.c_str()), c.stop);
}

INSTANTIATE_TEST_SUITE_P(
    Quotes, WideExtractQuotedStrTable,
    ::testing::Values(QuoteCase{u"'it''s'rest", u"it's", 7},
                      QuoteCase{u"'abc", u"abc", 4},  // unterminated: keeps its last unit
                      QuoteCase{u"''", u"", 2}, QuoteCase{u"x'a'", u"", 0}, QuoteCase{u"", u"", 0}));

TEST(WStrRoutines, QuotingRoundTrips) {
  EXPECT_EQ(WideQuotedStr(u"it's", u'\'').ToU16(), u"'it''s'");
  EXPECT_EQ(WideQuotedStr(u"", u'\'').ToU16(), u"''");
  EXPECT_EQ(WideDequotedStr(u"'it''s'", u'\'').ToU16(), u"it's");
  EXPECT_EQ(WideDequotedStr(u"plain", u'\'').ToU16(), u"plain");
  const char16_t* p = nullptr;
  EXPECT_EQ(WideExtractQuotedStr(p, u'\'').ToU16(), u"");
  WideString s(u"ab");
  EXPECT_EQ(*WideLastChar(s), u'b');
  EXPECT_EQ(WideLastChar(WideString()), nullptr);
}

}  // namespace
