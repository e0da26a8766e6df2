// A slide text's UTF-8 form as it travels in a message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "mms/MmsTextPart.h"

namespace {

std::string Utf8(const std::u16string& text) {
  int len = -1;
  char* utf8 = MmsTextPartToUtf8(text.data(), static_cast<int>(text.size()), &len);
  EXPECT_NE(utf8, nullptr);
  if (utf8 == nullptr) return "<none>";
  EXPECT_EQ(utf8[len], '\0');
  std::string out(utf8, static_cast<std::size_t>(len));
  std::free(utf8);
  return out;
}

TEST(MmsTextPartToUtf8, ConvertsEveryUnitGivenAndOneLeadingMarkLess) {
  struct Case {
    std::u16string text;
    std::string utf8;
  } cases[] = {
      {u"", ""},
      {u"\uFEFF", ""},
      {u"\uFEFFHello\r\n", "Hello\r\n"},
      {u"\uFEFF\uFEFF", "\xEF\xBB\xBF"},
      {u"Xin ch\u00E0o", "Xin ch\xC3\xA0o"},
      {u"\u179F\u17BD\u179F\u17D2\u178F\u17B8",
       "\xE1\x9E\x9F\xE1\x9E\xBD\xE1\x9E\x9F\xE1\x9F\x92\xE1\x9E\x8F\xE1\x9E\xB8"},
      {u"\U0001F600", "\xF0\x9F\x98\x80"},
      {std::u16string(u"a\0b", 3), std::string("a\0b", 3)},           // a NUL does not cut the text short
      {std::u16string(1, char16_t(0xD800)) + u"x", "\xEF\xBF\xBDx"},  // a lone surrogate
      // Long texts, whose plain letters are taken in blocks: the first other unit in a later
      // block or in the last few units still sends the whole text through the full encoder.
      {std::u16string(32, u'a'), std::string(32, 'a')},
      {std::u16string(20, u'a') + u"\u00E9" + std::u16string(19, u'\x7F'),
       std::string(20, 'a') + "\xC3\xA9" + std::string(19, '\x7F')},
      {std::u16string(35, u'b') + u"\u0080z", std::string(35, 'b') + "\xC2\x80z"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8(c.text), c.utf8);
  }
}

TEST(MmsTextPartToUtf8, ConvertsOnlyTheCountGiven) {
  const char16_t text[] = u"abcdef";
  char* utf8 = MmsTextPartToUtf8(text, 3);
  ASSERT_NE(utf8, nullptr);
  EXPECT_STREQ(utf8, "abc");
  std::free(utf8);
}

TEST(MmsTextPartToUtf8, GivesNothingForAMissingTextOrANegativeCount) {
  int len = -1;
  EXPECT_EQ(MmsTextPartToUtf8(nullptr, 3, &len), nullptr);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(MmsTextPartToUtf8(u"abc", -1, &len), nullptr);
}

}  // namespace
