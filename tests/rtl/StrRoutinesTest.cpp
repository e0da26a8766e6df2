// Terminated-string routines, Assert and FormatMessage.
#include <gtest/gtest.h>

#include <string>

#include "Printers.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/StrRoutines.h"

namespace {

TEST(TerminatedStrings, CopyCompareSearchAndBlocks) {
  char buf[16];
  EXPECT_STREQ("abc", StrCopy(buf, "abc"));
  EXPECT_EQ(3u, StrLen(buf));
  EXPECT_EQ(buf + 3, StrEnd(buf));
  EXPECT_STREQ("abcde", StrCat(buf, "de"));
  EXPECT_STREQ("ab", StrLCopy(buf, "abcdef", 2));
  EXPECT_STREQ("xyz", StrPLCopy(buf, "xyzw", 3));
  EXPECT_EQ(0, StrIComp("HeLLo", "hello"));
  EXPECT_LT(StrComp("B", "a"), 0);
  EXPECT_GT(StrIComp("b", "A"), 0);
  EXPECT_EQ(0, StrLComp("abcX", "abcY", 3));
  const char* s = "hello";
  EXPECT_EQ(s + 2, StrScan(s, 'l'));
  EXPECT_EQ(s + 5, StrScan(s, '\0'));
  EXPECT_EQ(s + 3, StrPos(s, "lo"));
  EXPECT_EQ(nullptr, StrPos(s, "x"));
  char* copy = StrNew("text");
  EXPECT_STREQ("text", copy);
  EXPECT_EQ(5u, StrBufSize(copy));
  StrDispose(copy);
  EXPECT_EQ(nullptr, StrNew(""));
  char* block = StrAlloc(32);
  EXPECT_EQ(32u, StrBufSize(block));
  EXPECT_STREQ("", block);
  StrDispose(block);
  EXPECT_EQ(AnsiString("p"), StrPas("p"));
}

TEST(TerminatedStrings, AssertAndSystemMessages) {
  EXPECT_NO_THROW(Assert(true, "x"));
  try {
    Assert(false, "slide index");
    FAIL();
  } catch (const EAssertionFailed& e) {
    EXPECT_EQ(AnsiString("slide index"), e.Message);
  }
  char buffer[128];
  DWORD n = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           ERROR_FILE_NOT_FOUND, 0, buffer, sizeof buffer, nullptr);
  EXPECT_EQ(std::string("No such file or directory\r\n"), std::string(buffer, n));
  char16_t* allocated = nullptr;
  n = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr,
                     ERROR_ACCESS_DENIED, 0, reinterpret_cast<LPWSTR>(&allocated), 0, nullptr);
  ASSERT_NE(nullptr, allocated);
  EXPECT_EQ(std::u16string(u"Permission denied\r\n"), std::u16string(allocated, n));
  EXPECT_EQ(nullptr, LocalFree(allocated));
  EXPECT_EQ(0u,
            FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, nullptr, ERROR_FILE_NOT_FOUND, 0, buffer, 4, nullptr));
  EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
  EXPECT_EQ(0u, FormatMessageA(FORMAT_MESSAGE_FROM_STRING, "x", 0, 0, buffer, sizeof buffer, nullptr));
  EXPECT_EQ(ERROR_NOT_SUPPORTED, GetLastError());
}

}  // namespace
