#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "CodePageScope.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Utf8.h"
#include "support/TempDir.h"
#include "unicode/UcFileWrappers.h"
#include "unicode/UcNarrowCopyBack.h"
#include "unicode/UcSystemWrappers.h"
#include "unicode/UcTextWrappers.h"

namespace {

struct CopyBackCase {
  DWORD size;
  unsigned options;
  DWORD result;
  std::u16string buffer;  // what the buffer holds afterwards, "#" marking untouched units
};

class UcCopyBackTable : public ::testing::TestWithParam<CopyBackCase> {};

TEST_P(UcCopyBackTable, HandsTheResultBack) {
  const CopyBackCase& c = GetParam();
  std::u16string buffer(8, u'#');
  EXPECT_EQ(UcCopyBack(u"/ab/cd", buffer.data(), c.size, c.options), c.result);
  EXPECT_EQ(buffer, c.buffer);
}

INSTANTIATE_TEST_SUITE_P(
    Options, UcCopyBackTable,
    ::testing::Values(CopyBackCase{8, cbNone, 6, std::u16string(u"/ab/cd\0#", 8)},
                      CopyBackCase{7, cbClearing, 6, std::u16string(u"/ab/cd\0#", 8)},
                      CopyBackCase{6, cbNone, 7, u"########"}, CopyBackCase{5, cbTruncating, 5, u"/ab/c###"},
                      CopyBackCase{6, cbExactFit | cbClearing, 7, std::u16string(u"/ab/c\0##", 8)},
                      CopyBackCase{5, cbExactFit | cbClearing, 7, std::u16string(u"\0#######", 8)},
                      CopyBackCase{0, cbClearing, 7, u"########"},
                      CopyBackCase{5, cbPartialPath, 7, u"/ab/####"},
                      CopyBackCase{3, cbPartialPath, 7, u"########"}));

TEST(UcNarrowWrappers, CurrentDirectoryFollowsTheCopyBackRule) {
  NarrowScope narrow;
  std::vector<char16_t> buffer(4096);
  DWORD length = Uc_GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
  ASSERT_GT(length, 1u);
  std::u16string path(buffer.data(), length);
  std::fill(buffer.begin(), buffer.end(), u'#');
  EXPECT_EQ(Uc_GetCurrentDirectoryW(length, buffer.data()), length + 1);
  EXPECT_EQ(std::u16string(buffer.data()), path.substr(0, length - 1));
  std::fill(buffer.begin(), buffer.end(), u'#');
  EXPECT_EQ(Uc_GetCurrentDirectoryW(length - 1, buffer.data()), length + 1);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(buffer[1], u'#');
}

TEST(UcNarrowWrappers, ModuleFileNameIsCutWithoutTerminator) {
  std::u16string full = platform::Utf8ToUtf16(platform::ExecutablePath().c_str());
  NarrowScope narrow;
  std::u16string buffer(8, u'#');
  EXPECT_EQ(Uc_GetModuleFileNameW(nullptr, buffer.data(), 4), 4u);
  EXPECT_EQ(buffer, full.substr(0, 4) + u"####");
  std::vector<char16_t> whole(full.size() + 1);
  EXPECT_EQ(Uc_GetModuleFileNameW(nullptr, whole.data(), static_cast<DWORD>(whole.size())), full.size());
  EXPECT_EQ(std::u16string(whole.data()), full);
}

TEST(UcNarrowWrappers, FullPathNamePointsAtTheFilePart) {
  NarrowScope narrow;
  char16_t buffer[64];
  LPWSTR part = nullptr;
  DWORD n = Uc_GetFullPathNameW(u"/tmp/\u1780\u1781/x/../f\u1782.txt", 64, buffer, &part);
  EXPECT_EQ(std::u16string(buffer), u"/tmp/\u1780\u1781/f\u1782.txt");
  EXPECT_EQ(n, 14u);
  ASSERT_NE(part, nullptr);
  EXPECT_EQ(std::u16string(part), u"f\u1782.txt");
  buffer[0] = u'#';
  EXPECT_EQ(Uc_GetFullPathNameW(u"/tmp/abc", 4, buffer, &part), 9u);
  EXPECT_EQ(buffer[0], 0);
  EXPECT_EQ(part, nullptr);
}

TEST(UcNarrowWrappers, FindDataIsWidened) {
  testsupport::TempDir dir;
  dir.write("\xE1\x9E\x80.txt", "abc");
  NarrowScope narrow;
  WIN32_FIND_DATAW data{};
  std::u16string pattern = platform::Utf8ToUtf16(dir.path()) + u"/*.txt";
  HANDLE h = Uc_FindFirstFileW(pattern.c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_EQ(std::u16string(data.cFileName), u"\u1780.txt");
  EXPECT_EQ(data.nFileSizeLow, 3u);
  EXPECT_FALSE(Uc_FindNextFileW(h, &data));
  EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
  FindClose(h);
}

// Under 1252 a Khmer name cannot reach the file system through the 8-bit call: each letter
// becomes "?", which is what an 8-bit system would do.
TEST(UcNarrowWrappers, NamesGoThroughTheSystemCodePage) {
  testsupport::TempDir dir;
  std::u16string name = platform::Utf8ToUtf16(dir.path()) + u"/\u1780\u1781x";
  {
    CodePageScope scope(1252, true);
    HANDLE h = Uc_CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    CloseHandle(h);
  }
  EXPECT_TRUE(std::filesystem::exists(dir.file("??x")));
  HANDLE h = Uc_CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(h);
  EXPECT_TRUE(std::filesystem::exists(dir.file("\xE1\x9E\x80\xE1\x9E\x81x")));
}

TEST(UcNarrowWrappers, CompareStringWithoutFlagsOrdersByUnits) {
  NarrowScope narrow;
  EXPECT_EQ(Uc_CompareStringW(UcThreadLocale(), 0, u"abc", -1, u"abc", -1), CSTR_EQUAL);
  EXPECT_EQ(Uc_CompareStringW(UcThreadLocale(), 0, u"a", -1, u"B", -1), CSTR_GREATER_THAN);
  EXPECT_EQ(Uc_CompareStringW(UcThreadLocale(), 0, u"abX", 2, u"abY", 2), CSTR_EQUAL);
  EXPECT_EQ(Uc_CompareStringW(UcThreadLocale(), NORM_IGNORECASE, u"a", -1, u"B", -1), CSTR_LESS_THAN);
  EXPECT_EQ(Uc_CompareStringW(UcThreadLocale(), NORM_IGNORECASE, u"\u00E9", -1, u"\u00C9", -1), CSTR_EQUAL);
}

TEST(UcNarrowWrappers, CaseMappingTakesOnlyCharactersTheCodePageHas) {
  CodePageScope scope(1252, true);
  char16_t text[] = u"a\u00E9\u1EBF\u0101";
  EXPECT_EQ(Uc_CharUpperBuffW(text, 4), 4u);
  EXPECT_EQ(std::u16string(text), u"A\u00C9\u1EBF\u0101");
  EXPECT_EQ(
      reinterpret_cast<std::uintptr_t>(Uc_CharUpperW(reinterpret_cast<LPWSTR>(std::uintptr_t{u'\u00FF'}))),
      std::uintptr_t{u'\u0178'});
  EXPECT_EQ(std::u16string(Uc_CharLowerW(text)), u"a\u00E9\u1EBF\u0101");
}

// Entry n of the string table lives in block n / 16 + 1 as entry n % 16 of sixteen counted texts.
TEST(UcNarrowWrappers, StringsAreReadFromTheirBlock) {
  static std::vector<std::uint8_t> block;
  block.clear();
  for (int entry = 0; entry < 16; ++entry) {
    std::u16string text = entry == 1 ? u"\u1780 seventeen" : entry == 3 ? u"" : u"x";
    block.push_back(static_cast<std::uint8_t>(text.size()));
    block.push_back(0);
    for (char16_t c : text) {
      block.push_back(static_cast<std::uint8_t>(c & 0xFF));
      block.push_back(static_cast<std::uint8_t>(c >> 8));
    }
  }
  platform::RegisterResource(RT_STRING, MAKEINTRESOURCE(2), block.data(), block.size());
  NarrowScope narrow;
  char16_t buffer[32];
  EXPECT_EQ(Uc_LoadStringW(HInstance, 17, buffer, 32), 11);
  EXPECT_EQ(std::u16string(buffer), u"\u1780 seventeen");
  EXPECT_EQ(Uc_LoadStringW(HInstance, 17, nullptr, 0), 11);
  EXPECT_EQ(Uc_LoadStringW(HInstance, 17, buffer, 4), 3);
  EXPECT_EQ(std::u16string(buffer), u"\u1780 s");
  EXPECT_EQ(Uc_LoadStringW(HInstance, 19, buffer, 32), 0);
  EXPECT_EQ(Uc_LoadStringW(HInstance, 16 * 40, buffer, 32), 0);
}

// A block shorter than its entries claim is read no further than its end.
TEST(UcNarrowWrappers, ATruncatedBlockIsNotReadPastItsEnd) {
  static const std::uint8_t block[] = {1, 0, 'a', 0, 200, 0, 'b', 0};
  platform::RegisterResource(RT_STRING, MAKEINTRESOURCE(3), block, sizeof block);
  NarrowScope narrow;
  char16_t buffer[8];
  EXPECT_EQ(Uc_LoadStringW(HInstance, 32, buffer, 8), 1);
  EXPECT_EQ(Uc_LoadStringW(HInstance, 33, buffer, 8), 0);
  EXPECT_EQ(Uc_LoadStringW(HInstance, 40, buffer, 8), 0);
}

TEST(UcWrappers, IntResourcesAndLanguageIds) {
  EXPECT_TRUE(Uc_Is_IntResource(reinterpret_cast<const void*>(std::uintptr_t{0xFFFF})));
  EXPECT_FALSE(Uc_Is_IntResource(reinterpret_cast<const void*>(std::uintptr_t{0x10000})));
  EXPECT_EQ(MAKELANGID(0x09, 0x01), 0x0409);
  EXPECT_EQ(PRIMARYLANGID(0x0409), 0x09);
  EXPECT_EQ(SUBLANGID(0x0409), 0x01);
  EXPECT_EQ(MAKELCID(0x0409, 0x1), 0x10409u);
  EXPECT_EQ(LANGIDFROMLCID(0x10409), 0x0409);
  EXPECT_EQ(SORTIDFROMLCID(0x10409), 0x1);
}

// There are no short names: an existing path is its own short form on both paths. A buffer too
// small gets the size needed; the 8-bit fallback leaves the leading folders that fit in it.
TEST(UcWrappers, ShortNamesAreTheLongOnesOnEitherPath) {
  for (bool narrow : {false, true}) {
    unicode::SetNarrowSystemForTesting(narrow);
    char16_t buffer[32];
    EXPECT_EQ(Uc_GetShortPathNameW(u"/tmp/", buffer, 32), 5u);
    EXPECT_EQ(std::u16string(buffer), u"/tmp/");
    std::u16string small(8, u'#');
    EXPECT_EQ(Uc_GetShortPathNameW(u"/tmp/", small.data(), 3), 6u);
    EXPECT_EQ(small, u"########") << "under 4 units nothing is written";
    EXPECT_EQ(Uc_GetShortPathNameW(u"/usr/bin/", small.data(), 8), 10u);
    EXPECT_EQ(small, narrow ? u"/usr/###" : u"########");
    SetLastError(0);
    EXPECT_EQ(Uc_GetShortPathNameW(u"/tmp/none-such", buffer, 32), 0u);
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  }
  unicode::SetNarrowSystemForTesting(false);
}

}  // namespace
