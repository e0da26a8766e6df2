#include <gtest/gtest.h>

#include <string>

#include "CodePageScope.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"
#include "unicode/UcCommandLine.h"
#include "unicode/WideResStrings.h"

namespace {

constexpr UINT kLongId = 0xF001;

TEST(WideResStrings, ResourceStringsComeWholeHoweverLong) {
  std::u16string longText(5000, u'\u1780');
  longText += u"end";
  platform::RegisterResourceString(kLongId, longText.c_str());
  TResStringRec record{&HInstance, static_cast<int>(kLongId)};
  EXPECT_EQ(WideLoadResString(&record).ToU16(), longText);
  EXPECT_EQ(WideLoadStr(static_cast<int>(kLongId)).ToU16(), longText);
  EXPECT_EQ(WideLoadResString(nullptr).ToU16(), u"");
}

TEST(WideResStrings, TheCustomLoaderComesFirst) {
  platform::RegisterResourceString(kLongId + 1, u"table");
  TResStringRec record{&HInstance, static_cast<int>(kLongId + 1)};
  WideCustomLoadResString = [](PResStringRec, WideString& value) {
    value = u"custom";
    return true;
  };
  EXPECT_EQ(WideLoadResString(&record).ToU16(), u"custom");
  WideCustomLoadResString = [](PResStringRec, WideString&) { return false; };
  EXPECT_EQ(WideLoadResString(&record).ToU16(), u"table");
  WideCustomLoadResString = nullptr;
  EXPECT_EQ(WideFmtLoadStr(static_cast<int>(kLongId + 1), {TVarRec(1)}).ToU16(), u"table");
}

TEST(WideResStrings, TextsMarkedAsUtf8AreDecoded) {
  CodePageScope scope(1252);
  EXPECT_EQ(WideResStringFromText("\xEF\xBB\xBF\xE1\x9E\x80x").ToU16(), u"\u1780x");
  EXPECT_EQ(WideResStringFromText("\xEF\xBB\xBF").ToU16(), u"\u00EF\u00BB\u00BF");
  EXPECT_EQ(WideResStringFromText("caf\xE9").ToU16(), u"caf\u00E9");
  EXPECT_EQ(WideResStringFromText(nullptr).ToU16(), u"");
}

TEST(UcCommandLine, SplitsQuotedPathsWithBlanks) {
  WideString line(u"\"C:\\Program Files\\MMS\\editor.exe\" open \"D:\\My Messages\\a b.mms\"");
  EXPECT_EQ(WideParamCountOf(line), 2);
  EXPECT_EQ(WideParamStrOf(line, 0).ToU16(), u"C:\\Program Files\\MMS\\editor.exe");
  EXPECT_EQ(WideParamStrOf(line, 1).ToU16(), u"open");
  EXPECT_EQ(WideParamStrOf(line, 2).ToU16(), u"D:\\My Messages\\a b.mms");
  EXPECT_EQ(WideParamStrOf(line, 3).ToU16(), u"");
}

TEST(UcCommandLine, EmptyPairsAndControlCharactersSeparate) {
  WideString line(u"prog \"\" a\tb\"c d\"e \u1780");
  EXPECT_EQ(WideParamStrOf(line, 1).ToU16(), u"a");
  EXPECT_EQ(WideParamStrOf(line, 2).ToU16(), u"bc de");
  EXPECT_EQ(WideParamStrOf(line, 3).ToU16(), u"\u1780");
  EXPECT_EQ(WideParamCountOf(line), 3);
  EXPECT_EQ(WideParamCountOf(u""), 0);
  EXPECT_EQ(WideParamCountOf(u"prog"), 0);
}

}  // namespace
