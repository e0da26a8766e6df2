// GetPrivateProfileStringA/W over files in each encoding, with the classic lookup and
// truncation rules.
#include <gtest/gtest.h>

#include <string>

#include "Printers.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Profile.h"
#include "platform/rtl/Utf8.h"
#include "support/TempDir.h"

namespace {

std::string Utf16LeWithBom(const std::u16string& text) {
  std::string out = "\xFF\xFE";
  for (char16_t u : text) {
    out.push_back(static_cast<char>(u & 0xFF));
    out.push_back(static_cast<char>(u >> 8));
  }
  return out;
}

const std::u16string kBody =
    u"; settings\r\n"
    u"[Other]\r\n"
    u"Name=wrong section\r\n"
    u"  [ App Section ]  \r\n"
    u"Name = first \r\n"
    u"name=duplicate\r\n"
    u"Key With Blank =found\r\n"
    u";Hidden=comment\r\n"
    u"Quoted=\"  q  \"\r\n"
    u"Half=\"open\r\n"
    u"Khmer=\u1797\u17B6\u179F\u17B6\r\n"
    u"Pair=a\U0001F600\r\n"
    u"Empty=\r\n"
    u"[app section]\r\n"
    u"Late=second copy of the section\r\n"
    u"[Last]\n"
    u"NoBreak=end";

std::u16string ReadW(const std::string& file, const char16_t* section, const char16_t* key,
                     const char16_t* def = u"def", DWORD size = 64, DWORD* returned = nullptr) {
  std::u16string wideFile = platform::Utf8ToUtf16(file);
  char16_t buffer[128];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  DWORD n = GetPrivateProfileStringW(section, key, def, buffer, size, wideFile.c_str());
  if (returned) *returned = n;
  EXPECT_EQ(u'\0', buffer[n]);
  if (size < 128) {
    EXPECT_EQ(u'#', buffer[size]);  // nothing written past the buffer
  }
  return std::u16string(buffer, n);
}

TEST(ProfileStrings, OneTableOverEveryEncoding) {
  testsupport::TempDir tmp;
  const std::string files[] = {
      tmp.write("utf16.ini", Utf16LeWithBom(kBody)),
      tmp.write("utf8bom.ini", "\xEF\xBB\xBF" + platform::Utf16ToUtf8(kBody)),
      tmp.write("utf8.ini", platform::Utf16ToUtf8(kBody)),  // no mark: the system code page, UTF-8
  };
  struct Case {
    const char16_t* section;
    const char16_t* key;
    std::u16string expected;
  };
  const Case cases[] = {
      {u"App Section", u"Name", u"first"},             // first of the duplicate keys, trimmed
      {u"APP SECTION", u"NAME", u"first"},             // names compared case-insensitively
      {u"  App Section\t", u" Name ", u"first"},       // blanks around the request trimmed
      {u"App Section", u"Key With Blank ", u"found"},  // the key written with a trailing blank
      {u"App Section", u"Hidden", u"def"},             // a comment is no key
      {u"App Section", u"Quoted", u"  q  "},           // one pair of quotes removed
      {u"App Section", u"Half", u"\"open"},            // unmatched quote kept
      {u"App Section", u"Khmer", u"\u1797\u17B6\u179F\u17B6"},
      {u"App Section", u"Pair", u"a\U0001F600"},
      {u"App Section", u"Empty", u""},
      {u"App Section", u"Late", u"def"},  // only the first matching section counts
      {u"Last", u"NoBreak", u"end"},      // no final line break
      {u"Other", u"Name", u"wrong section"},
      {u"Missing", u"Name", u"def"},
  };
  for (const std::string& file : files) {
    for (const Case& c : cases) EXPECT_EQ(c.expected, ReadW(file, c.section, c.key)) << file;
  }
}

TEST(ProfileStrings, DefaultsAndMissingFiles) {
  testsupport::TempDir tmp;
  EXPECT_EQ(u"dflt", ReadW(tmp.file("none.ini"), u"S", u"K", u"dflt  "));  // trailing blanks removed
  EXPECT_EQ(u"", ReadW(tmp.file("none.ini"), u"S", u"K", nullptr));
  char16_t buffer[4] = {u'#', u'#', u'#', u'#'};
  EXPECT_EQ(0u, GetPrivateProfileStringW(u"S", u"K", u"x", buffer, 0, u"/nonexistent.ini"));
  EXPECT_EQ(u'#', buffer[0]);
}

TEST(ProfileStrings, TruncationKeepsPairsWhole) {
  testsupport::TempDir tmp;
  std::string file = tmp.write("t.ini", Utf16LeWithBom(kBody));
  DWORD n = 0;
  EXPECT_EQ(u"fir", ReadW(file, u"App Section", u"Name", u"", 4, &n));
  EXPECT_EQ(3u, n);
  EXPECT_EQ(u"first", ReadW(file, u"App Section", u"Name", u"", 6, &n));
  // "a" + pair in a buffer of 3: the pair does not fit whole, so only "a" is copied.
  EXPECT_EQ(u"a", ReadW(file, u"App Section", u"Pair", u"", 3, &n));
  EXPECT_EQ(1u, n);
  EXPECT_EQ(u"", ReadW(file, u"App Section", u"Name", u"", 1, &n));
}

TEST(ProfileStrings, NarrowFormAnswersInTheSystemCodePage) {
  testsupport::TempDir tmp;
  std::string utf16 = tmp.write("w.ini", Utf16LeWithBom(u"[S]\r\nK=caf\u00E9 \u1780\r\n"));
  char buffer[32];
  // UTF-8 system code page: the bytes of UTF-8; a cut never splits a sequence.
  EXPECT_EQ(9u, GetPrivateProfileStringA("S", "K", "", buffer, sizeof buffer, utf16.c_str()));
  EXPECT_EQ("caf\xC3\xA9 \xE1\x9E\x80", std::string(buffer));
  EXPECT_EQ(3u, GetPrivateProfileStringA("S", "K", "", buffer, 5, utf16.c_str()));
  EXPECT_EQ("caf", std::string(buffer));
  EXPECT_EQ(6u, GetPrivateProfileStringA("S", "K", "", buffer, 8, utf16.c_str()));
  EXPECT_EQ("caf\xC3\xA9 ", std::string(buffer));

  ASSERT_TRUE(SetSystemCodePage(1252));
  EXPECT_EQ(6u, GetPrivateProfileStringA("S", "K", "", buffer, sizeof buffer, utf16.c_str()));
  EXPECT_EQ("caf\xE9 ?", std::string(buffer));
  // An 8-bit file without a mark is read in the system code page.
  std::string ansi = tmp.write("a.ini", "[S]\r\nK=\xE9t\xE9\r\n");
  char16_t wide[8];
  std::u16string wideName = platform::Utf8ToUtf16(ansi);
  EXPECT_EQ(3u, GetPrivateProfileStringW(u"S", u"K", u"", wide, 8, wideName.c_str()));
  EXPECT_EQ(u"\u00E9t\u00E9", std::u16string(wide));
  SetSystemCodePage(CP_UTF8);
  EXPECT_EQ(7u, GetPrivateProfileIntA("S", "N", 7, ansi.c_str()));
}

TEST(ProfileStrings, EveryCallReadsTheFileAnew) {
  testsupport::TempDir tmp;
  std::string file = tmp.write("c.ini", "[S]\nK=one\n");
  EXPECT_EQ(u"one", ReadW(file, u"S", u"K"));
  tmp.write("c.ini", "[S]\nK=two\n");
  EXPECT_EQ(u"two", ReadW(file, u"S", u"K"));
}

TEST(ProfileStrings, ListsOfSectionsAndKeys) {
  testsupport::TempDir tmp;
  std::string file = tmp.write("l.ini", "[A]\nx=1\ny=2\n[B]\n");
  char16_t buffer[16];
  std::u16string wideName = platform::Utf8ToUtf16(file);
  DWORD n = GetPrivateProfileStringW(u"A", nullptr, u"", buffer, 16, wideName.c_str());
  EXPECT_EQ(std::u16string(u"x\0y\0\0", 5), std::u16string(buffer, n + 1));
  n = GetPrivateProfileStringW(nullptr, nullptr, u"", buffer, 16, wideName.c_str());
  EXPECT_EQ(std::u16string(u"A\0B\0\0", 5), std::u16string(buffer, n + 1));
  n = GetPrivateProfileStringW(u"A", nullptr, u"", buffer, 4, wideName.c_str());
  EXPECT_EQ(2u, n);  // cut lists answer size - 2
  EXPECT_EQ(std::u16string(u"x\0\0", 3), std::u16string(buffer, 3));
}

}  // namespace
