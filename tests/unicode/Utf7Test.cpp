#include <gtest/gtest.h>

#include <string>

#include "unicode/Utf7.h"
#include "unicode/WideException.h"

namespace {

std::string Bytes(const AnsiString& a) { return std::string(a.data(), static_cast<std::size_t>(a.Length())); }

struct Utf7Case {
  std::u16string text;
  std::string bytes;
};

class Utf7Table : public ::testing::TestWithParam<Utf7Case> {};

TEST_P(Utf7Table, EncodesAndDecodesBothWays) {
  const Utf7Case& c = GetParam();
  EXPECT_EQ(Bytes(WideStringToUTF7(WideString(c.text))), c.bytes);
  EXPECT_EQ(UTF7ToWideString(AnsiString(c.bytes)).ToU16(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Rfc2152, Utf7Table,
    ::testing::Values(Utf7Case{u"\u00E9.", "+AOk."},  // no hyphen before a character that is not a letter
                      Utf7Case{u"\u00E9a", "+AOk-a"}, Utf7Case{u"\u00E9", "+AOk"}, Utf7Case{u"+", "+-"},
                      Utf7Case{u"!", "!"}, Utf7Case{u"", ""},
                      Utf7Case{u"Hi Mom -\u263A-!", "Hi Mom -+Jjo--!"},
                      Utf7Case{u"Item 3 is \u00A31.", "Item 3 is +AKM-1."},
                      Utf7Case{u"\u65E5\u672C\u8A9E", "+ZeVnLIqe"}, Utf7Case{u"a+b\\c~", "a+-b+AFw-c+AH4"},
                      Utf7Case{u"\U0001F600x", "+2D3eAA-x"}));

TEST(Utf7, DecoderTakesTheHyphenThatEndsARunAndLeavesTheNextByte) {
  EXPECT_EQ(UTF7ToWideString("+AOk-").ToU16(), u"\u00E9");
  EXPECT_EQ(UTF7ToWideString("+ZeVnLIqe-").ToU16(), u"\u65E5\u672C\u8A9E");
  EXPECT_EQ(UTF7ToWideString("+AOk--").ToU16(), u"\u00E9-");
}

TEST(Utf7, MalformedInputRaisesAfterTheWholeInput) {
  for (const char* bad : {"+ ", "+AOl", "+", "a\xE9", "+AA-"}) {
    try {
      UTF7ToWideString(bad);
      ADD_FAILURE() << "accepted " << bad;
    } catch (const EUcGeneralError& e) {
      EXPECT_STREQ(e.what(), "Invalid UTF7") << bad;
    }
  }
}

// Texts encoded by another implementation (which shifts a few characters we write directly,
// and ends runs with a hyphen more often) decode to the original.
TEST(Utf7, DecodesAnotherEncodersOutput) {
  struct Case {
    const char* bytes;
    const char16_t* text;
  };
  const Case cases[] = {
      {"a+AOk--/\x22"
       "A+AH4--",
       u"a\u00E9-/\x22"
       u"A~-"},
      {"9-/+F4AXgA-/ /\x22"
       "+F4A--",
       u"9-/\u1780\u1780/ /\x22"
       u"\u1780-"},
      {"A -+AOk-- -\x22"
       "a!+F4A-a",
       u"A -\u00E9- -\x22"
       u"a!\u1780a"},
      {"A!\x22"
       "0A9+AH4-A\x22"
       "/-",
       u"A!\x22"
       u"0A9~A\x22"
       u"/-"},
      {"9\x0D"
       "\x22"
       "+F4AAXNg93gDYPd4AAH4! 0 ",
       u"9\x0D"
       u"\x22"
       u"\u1780\x5C"
       u"\U0001F600\U0001F600~! 0 "},
      {"!\x0A"
       "\x0D"
       "+AFw-",
       u"!\x0A"
       u"\x0D"
       u"\x5C"
       u""},
  };
  for (const Case& c : cases) EXPECT_EQ(UTF7ToWideString(c.bytes).ToU16(), c.text) << c.bytes;
}

// Texts rich in the characters that change the encoder's state round-trip.
TEST(Utf7, RandomTextsRoundTrip) {
  const char16_t alphabet[] = u"+-/Aa09 .!\\~\u00E9\u1780\U0001F600\r\n";
  unsigned seed = 12345;
  for (int round = 0; round < 2000; ++round) {
    std::u16string text;
    int length = static_cast<int>(seed % 24);
    for (int i = 0; i < length; ++i) {
      seed = seed * 1103515245 + 12345;
      text += alphabet[(seed >> 16) % (sizeof alphabet / 2 - 1)];
    }
    seed = seed * 1103515245 + 12345;
    ASSERT_EQ(UTF7ToWideString(WideStringToUTF7(WideString(text))).ToU16(), text);
  }
}

}  // namespace
