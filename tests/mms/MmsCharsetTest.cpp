// Charsets of text parts and subjects: what each MIBenum turns into, and the UTF-16 length.
#include <gtest/gtest.h>

#include <string>

#include "mms/MmsCharset.h"
#include "platform/rtl/CodePage.h"

namespace {

// Runs with the system code page set to windows-1252, as on a Western desktop of old.
class MmsCharsetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = GetACP();
    ASSERT_TRUE(SetSystemCodePage(1252));
  }
  void TearDown() override { SetSystemCodePage(previous_); }

 private:
  UINT previous_ = CP_UTF8;
};

TEST_F(MmsCharsetTest, EachCharsetByItsOwnRules) {
  struct Case {
    const char* what;
    int charset;
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {"UTF-8", 106, "\xD0\x9F\xC3\xA5", u"Пå"},
      {"US-ASCII through the system code page", 3, "a\x80", u"a€"},
      {"UCS-2 without a mark is big-endian", 1000, std::string("\x04\x1F\x00\x41", 4), u"ПA"},
      {"UCS-2 with a little-endian mark", 1000, std::string("\xFF\xFE\x1F\x04", 4), u"П"},
      {"UCS-2 with a big-endian mark", 1000, std::string("\xFE\xFF\x04\x1F", 4), u"П"},
      {"UTF-16, an odd last byte dropped", 1015, std::string("\x00\x41\x00", 3), u"A"},
      {"UTF-16LE", 1014, std::string("\x41\x00", 2), u"A"},
      {"ISO-8859-1 that is valid UTF-8 stays Latin-1", 4, "\xC3\xA9", u"Ã©"},
      {"ISO-8859-1 that is no UTF-8 is windows-1252", 4, "\x80\xE9", u"€é"},
      {"windows-1252", 2252, "\x80\xE9", u"€é"},
      {"windows-1251", 2251, "\xCF", u"П"},
      {"an unknown charset holding valid UTF-8", 9999, "\xC3\xA9t\xC3\xA9", u"été"},
      {"an unknown charset holding other bytes", 9999, "\xE9t\xE9", u"été"},
  };
  for (const Case& c : cases) {
    int length = static_cast<int>(c.bytes.size());
    std::optional<std::u16string> text =
        MmsCharsetToWide(c.charset, reinterpret_cast<const uint8_t*>(c.bytes.data()), &length);
    ASSERT_TRUE(text) << c.what;
    EXPECT_EQ(*text, c.text) << c.what;
    // The length is always in UTF-16 units, without a terminator.
    EXPECT_EQ(length, static_cast<int>(c.text.size())) << c.what;
  }
}

TEST_F(MmsCharsetTest, NoBytesGiveNone) {
  int length = 0;
  EXPECT_FALSE(MmsCharsetToWide(106, reinterpret_cast<const uint8_t*>("x"), &length));
  length = 1;
  EXPECT_FALSE(MmsCharsetToWide(106, nullptr, &length));
}

TEST_F(MmsCharsetTest, TextWithoutACharsetIsInTheSystemCodePage) {
  const uint8_t bytes[] = {'c', 'a', 'f', 0xE9};
  EXPECT_EQ(MmsSystemToWide(bytes, 4), u"café");
  SetSystemCodePage(CP_UTF8);
  EXPECT_EQ(MmsSystemToWide(reinterpret_cast<const uint8_t*>("caf\xC3\xA9"), 5), u"café");
}

}  // namespace
