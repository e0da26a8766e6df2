#include <gtest/gtest.h>
#include <unicode/ucnv.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "CodePageScope.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TMemoryStream.h"
#include "platform/rtl/Utf8.h"
#include "support/TempDir.h"
#include "unicode/TUcFileStream.h"
#include "unicode/TUcStringList.h"
#include "unicode/TUcStrings.h"

namespace {

using Lines = std::vector<std::u16string>;

const std::u16string kText = u"Ti\u1EBFng Vi\u1EC7t\r\n\u1797\u17B6\u179F\u17B6\r\n";
const Lines kLines = {u"Ti\u1EBFng Vi\u1EC7t", u"\u1797\u17B6\u179F\u17B6"};

// The text in another encoding, made by ICU.
std::string Encode(const char* converter, const std::u16string& text) {
  UErrorCode status = U_ZERO_ERROR;
  std::string out(text.size() * 4 + 8, '\0');
  int32_t n = ucnv_convert(converter, "UTF-16LE", out.data(), static_cast<int32_t>(out.size()),
                           reinterpret_cast<const char*>(text.data()), static_cast<int32_t>(text.size() * 2),
                           &status);
  EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
  out.resize(static_cast<std::size_t>(n));
  return out;
}

Lines Items(TWideStrings& list) {
  Lines out;
  for (int i = 0; i < list.Count(); ++i) out.push_back(list.Strings(i).ToU16());
  return out;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

struct LoadCase {
  const char* name;
  std::string bytes;
  TUcStreamCharSet charSet;
  Lines lines;
};

TEST(TUcStrings, LoadsEveryMarkedEncodingAndEightBitText) {
  const LoadCase cases[] = {
      {"utf-16le", "\xFF\xFE" + Encode("UTF-16LE", kText), csUnicode, kLines},
      {"utf-16be", "\xFE\xFF" + Encode("UTF-16BE", kText), csUnicodeSwapped, kLines},
      {"utf-8", "\xEF\xBB\xBF" + Encode("UTF-8", kText), csUtf8, kLines},
      {"8-bit", Encode("UTF-8", kText), csAnsi, kLines},  // the system code page is UTF-8
      {"empty", "", csAnsi, {}},
      {"odd",
       std::string("\xFF\xFE"
                   "a\0b\0c",
                   7),
       csUnicode,
       {u"ab"}},
      {"utf-8 with a bad byte and an emoji",
       "\xEF\xBB\xBF"
       "a\xC3(\xF0\x9F\x98\x80",
       csUtf8,
       {u"a\uFFFD(\U0001F600"}},
  };
  testsupport::TempDir dir;
  for (const LoadCase& c : cases) {
    std::string path = dir.write("text", c.bytes);
    TUcStringList list;
    list.LoadFromFile(WideString(platform::Utf8ToUtf16(path)));
    EXPECT_EQ(list.LastFileCharSet(), c.charSet) << c.name;
    EXPECT_EQ(Items(list), c.lines) << c.name;
  }
}

TEST(TUcStrings, EightBitTextUsesTheSystemCodePage) {
  CodePageScope scope(1252);
  TMemoryStream stream;
  stream.Write("caf\xE9", 4);
  stream.SetPosition(0);
  TUcStringList list;
  list.LoadFromStream(&stream);
  EXPECT_EQ(Items(list), (Lines{u"caf\u00E9"}));
}

TEST(TUcStrings, WithoutTheMarkFlagTheMarkStaysInTheText) {
  TMemoryStream stream;
  stream.Write(
      "\xFF\xFE"
      "a\0",
      4);
  stream.SetPosition(0);
  TUcStringList list;
  list.LoadFromStream_BOM(&stream, false);
  EXPECT_EQ(Items(list), (Lines{u"\uFEFFa"}));
}

TEST(TUcStrings, SavesUtf16WithTheMark) {
  testsupport::TempDir dir;
  TUcStringList list;
  list.Add(u"a");
  list.Add(u"b");
  std::string path = dir.file("\xE1\x9E\x80.txt");
  list.SaveToFile(WideString(platform::Utf8ToUtf16(path)));
  EXPECT_EQ(ReadFile(path), std::string("\xFF\xFE"
                                        "a\0\r\0\n\0b\0\r\0\n\0",
                                        14));
  TMemoryStream stream;
  list.SaveToStream_BOM(&stream, false);
  EXPECT_EQ(stream.Size(), 12);
  EXPECT_EQ(list.LineBreakStyle(), tlbsCRLF);
}

// A list that fails while its text is gathered.
class FailingList : public TUcStringList {
 protected:
  WideString Get(int index) const override {
    if (index == 2) throw EStringListError("cannot read");
    return TUcStringList::Get(index);
  }
};

// A save that fails leaves the previous file as it was and no temporary beside it.
TEST(TUcStrings, AFailedSaveKeepsThePreviousFile) {
  testsupport::TempDir dir;
  std::string path = dir.write("slide.txt", "previous");
  FailingList list;
  list.SetText(u"1\r\n2\r\n3\r\n");
  EXPECT_THROW(list.SaveToFile(WideString(platform::Utf8ToUtf16(path))), EStringListError);
  EXPECT_EQ(ReadFile(path), "previous");
  EXPECT_THROW(TUcStringList().SaveToFile(WideString(platform::Utf8ToUtf16(dir.file("none/x.txt")))),
               EWideFCreateError);
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) entries += entry.exists();
  EXPECT_EQ(entries, 1);
}

TEST(AutoDetectCharacterSet, LeavesTheStreamAfterAMarkOrWhereItWas) {
  struct Case {
    std::string bytes;
    TUcStreamCharSet charSet;
    std::int64_t position;
  } cases[] = {{"\xFF\xFE"
                "x",
                csUnicode, 3},
               {"\xFE\xFF", csUnicodeSwapped, 3},
               {"\xEF\xBB\xBF", csUtf8, 4},
               {"\xFF", csAnsi, 1},
               {"\xEF\xBB", csAnsi, 1},
               {"", csAnsi, 1}};
  for (const Case& c : cases) {
    TMemoryStream stream;
    stream.Write("#", 1);  // detection starts where the stream stands
    stream.Write(c.bytes.data(), static_cast<int>(c.bytes.size()));
    stream.SetPosition(1);
    EXPECT_EQ(AutoDetectCharacterSet(&stream), c.charSet);
    EXPECT_EQ(stream.Position(), c.position);
  }
}

TEST(TUcFileStream, OpenAndCreateFailuresNameTheFullPath) {
  testsupport::TempDir dir;
  std::string saved = std::filesystem::current_path();
  std::filesystem::current_path(dir.path());
  try {
    TUcFileStream stream(u"missing.txt", fmOpenRead);
    ADD_FAILURE();
  } catch (const EWideFOpenError& e) {
    EXPECT_EQ(e.WideMessage().ToU16(),
              u"Cannot open file " + platform::Utf8ToUtf16(std::filesystem::canonical(dir.path()).string()) +
                  u"/missing.txt");
  }
  std::filesystem::current_path(saved);
  EXPECT_THROW(TUcFileStream(WideString(platform::Utf8ToUtf16(dir.file("no/x"))), fmCreate),
               EWideFCreateError);
  WideString name(platform::Utf8ToUtf16(dir.file("\xE1\x9E\x80\xE1\x9E\x81")));
  {
    TUcFileStream stream(name, fmCreate);
    stream.WriteBuffer("abc", 3);
  }
  TUcFileStream stream(name, fmOpenRead);
  char bytes[4] = {};
  EXPECT_EQ(stream.Read(bytes, 4), 3);
  EXPECT_TRUE(std::filesystem::exists(dir.file("\xE1\x9E\x80\xE1\x9E\x81")));
  TUcMemoryStream memory;
  memory.LoadFromFile(name);
  EXPECT_EQ(memory.Size(), 3);
  memory.SaveToFile(name + u"2");
  EXPECT_EQ(ReadFile(dir.file("\xE1\x9E\x80\xE1\x9E\x81"
                              "2")),
            "abc");
}

}  // namespace
