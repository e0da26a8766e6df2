#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "CodePageScope.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/TMemoryStream.h"
#include "platform/rtl/TStringList.h"
#include "platform/rtl/Utf8.h"
#include "support/TempDir.h"
#include "unicode/TAnsiStringsForWideStringsAdapter.h"
#include "unicode/TUcResourceStream.h"
#include "unicode/TUcStringList.h"

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(TAnsiStringsForWideStringsAdapter, ShowsTheListInItsCodePage) {
  TUcStringList list;
  list.Add(u"\u1780\u1781x");
  {
    CodePageScope scope(1252);
    EXPECT_STREQ(list.AnsiStrings()->Strings(0).c_str(), "??x");
  }
  EXPECT_STREQ(list.AnsiStrings()->Strings(0).c_str(), "\xE1\x9E\x80\xE1\x9E\x81x");
  TAnsiStringsForWideStringsAdapter utf8(&list, CP_UTF8);
  {
    CodePageScope scope(1252);
    EXPECT_STREQ(utf8.Strings(0).c_str(), "\xE1\x9E\x80\xE1\x9E\x81x");
    utf8.Add("\xC3\xA9");
  }
  EXPECT_EQ(list.Strings(1).ToU16(), u"\u00E9");
  TStringList narrow;
  narrow.Add("a");
  narrow.Add("b");
  list.SetAnsiStrings(&narrow);
  EXPECT_EQ(list.Text().ToU16(), u"a\r\nb\r\n");
  utf8.Delete(0);
  EXPECT_EQ(list.Count(), 1);
}

TEST(TAnsiStringsForWideStringsAdapter, StreamsInAnyCodePage) {
  TUcStringList list;
  TAnsiStringsForWideStringsAdapter adapter(&list);
  TMemoryStream utf7;
  utf7.Write("+F4AXgQ-\r\nb", 11);
  utf7.SetPosition(0);
  adapter.LoadFromStreamEx(&utf7, CP_UTF7);
  EXPECT_EQ(list.Strings(0).ToU16(), u"\u1780\u1781");
  EXPECT_EQ(list.Strings(1).ToU16(), u"b");
  TMemoryStream out;
  adapter.SaveToStreamEx(&out, CP_UTF8);
  EXPECT_EQ(std::string(static_cast<const char*>(out.Memory()), static_cast<std::size_t>(out.Size())),
            "\xE1\x9E\x80\xE1\x9E\x81\r\nb\r\n");
}

// The mark a UTF-8 save writes is read back as a mark, so cycles leave the file as it was.
TEST(TAnsiStringsForWideStringsAdapter, Utf8FilesSurviveLoadSaveCycles) {
  testsupport::TempDir dir;
  WideString name(platform::Utf8ToUtf16(dir.file("\xE1\x9E\x80.txt")));
  TUcStringList list;
  list.Add(u"\u1780 line");
  list.AnsiStrings()->SaveToFileEx(name, CP_UTF8);
  std::string first = ReadFile(dir.file("\xE1\x9E\x80.txt"));
  EXPECT_EQ(first, "\xEF\xBB\xBF\xE1\x9E\x80 line\r\n");
  for (int cycle = 0; cycle < 2; ++cycle) {
    TUcStringList again;
    again.AnsiStrings()->LoadFromFileEx(name, CP_UTF8);
    EXPECT_EQ(again.Strings(0).ToU16(), u"\u1780 line");
    again.AnsiStrings()->SaveToFileEx(name, CP_UTF8);
    EXPECT_EQ(ReadFile(dir.file("\xE1\x9E\x80.txt")), first);
  }
}

TEST(TUcResourceStream, ReadsResourcesAndRefusesWrites) {
  static const char bytes[] = "resource bytes";
  platform::RegisterResource(RT_RCDATA, "UNICODE_TEST_DATA", bytes, sizeof bytes - 1);
  TUcResourceStream stream(HInstance, u"unicode_test_data", MAKEINTRESOURCEW(10));
  EXPECT_EQ(stream.Size(), 14);
  EXPECT_THROW(stream.Write("x", 1), EStreamError);
  try {
    TUcResourceStream missing(HInstance, 12, MAKEINTRESOURCEW(10));
    ADD_FAILURE();
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource #12 not found");
  }
  try {
    TUcResourceStream missing(HInstance, u"\u1780", MAKEINTRESOURCEW(10));
    ADD_FAILURE();
  } catch (const EResNotFound& e) {
    EXPECT_STREQ(e.what(), "Resource \xE1\x9E\x80 not found");
  }
  testsupport::TempDir dir;
  stream.SaveToFile(WideString(platform::Utf8ToUtf16(dir.file("out"))));
  EXPECT_EQ(ReadFile(dir.file("out")), "resource bytes");
}

}  // namespace
