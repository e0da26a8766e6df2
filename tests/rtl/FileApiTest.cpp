// The function-level file API, searches with wildcards and the time conversions.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <set>
#include <string>

#include "Printers.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileApi.h"
#include "platform/rtl/FileTimes.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/SearchRec.h"
#include "platform/rtl/Utf8.h"
#include "support/TempDir.h"

namespace {

TEST(Wildcards, ClassicMatching) {
  struct Case {
    const char16_t* name;
    const char16_t* mask;
    bool match;
  };
  const Case cases[] = {
      {u"a.txt", u"*.txt", true},
      {u"A.TXT", u"*.txt", true},
      {u"a.txt.bak", u"*.txt", false},
      {u"noext", u"*.*", true},
      {u"a.b", u"?.?", true},
      {u"ab.b", u"?.?", false},
      {u"abc", u"a*c", true},
      {u"abcbc", u"a*bc", true},
      {u"abd", u"a*c", false},
      {u"", u"*", true},
      {u"x", u"", false},
      {u"\u1780.ini", u"?.INI", true},
      {u"lan_ENG.ini", u"lan_*.ini", true},
  };
  for (const Case& c : cases)
    EXPECT_EQ(c.match, platform::MatchesMask(c.name, c.mask))
        << platform::Utf16ToUtf8(c.name) << " ~ " << platform::Utf16ToUtf8(c.mask);
}

std::set<std::string> Search(const std::string& pattern, int attr, int* firstResult = nullptr) {
  std::set<std::string> names;
  TSearchRec rec;
  int r = FindFirst(pattern.c_str(), attr, rec);
  if (firstResult) *firstResult = r;
  while (r == 0) {
    names.insert(rec.Name.ToStd());
    r = FindNext(rec);
  }
  FindClose(rec);
  return names;
}

TEST(Searches, AttributesFilterTheEntries) {
  testsupport::TempDir tmp;
  tmp.write("a.txt", "12345");
  tmp.write("B.TXT", "");
  tmp.write(".hidden", "");
  tmp.write("sub/inner", "");
  const std::string dir = tmp.path();
  using Names = std::set<std::string>;
  EXPECT_EQ((Names{"a.txt", "B.TXT"}), Search(dir + "/*.txt", faAnyFile));
  EXPECT_EQ((Names{"a.txt", "B.TXT"}), Search(dir + "/*", 0));
  EXPECT_EQ((Names{"a.txt", "B.TXT", ".", "..", "sub"}), Search(dir + "/*", faDirectory));
  EXPECT_EQ((Names{"a.txt", "B.TXT", ".", "..", "sub", ".hidden"}), Search(dir + "\\*.*", faAnyFile));
  int r = -1;
  EXPECT_TRUE(Search(dir + "/*.none", faAnyFile, &r).empty());
  EXPECT_EQ(static_cast<int>(ERROR_FILE_NOT_FOUND), r);
  EXPECT_TRUE(Search(dir + "/missing/*", faAnyFile, &r).empty());
  EXPECT_EQ(static_cast<int>(ERROR_PATH_NOT_FOUND), r);

  TSearchRec rec;
  ASSERT_EQ(0, FindFirst((dir + "/a.txt").c_str(), faAnyFile, rec));
  EXPECT_EQ(5, rec.Size);
  EXPECT_EQ(faArchive, rec.Attr & ~faReadOnly);
  EXPECT_EQ(FileAge((dir + "/a.txt").c_str()), rec.Time);
  FindClose(rec);

  WIN32_FIND_DATAW data;
  std::u16string pattern = platform::Utf8ToUtf16(dir + "/s*");
  HANDLE h = FindFirstFileW(pattern.c_str(), &data);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  EXPECT_EQ(std::u16string(u"sub"), std::u16string(data.cFileName));
  EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(u'\0', data.cAlternateFileName[0]);
  EXPECT_FALSE(FindNextFileW(h, &data));
  EXPECT_EQ(ERROR_NO_MORE_FILES, GetLastError());
  EXPECT_TRUE(FindClose(h));
  EXPECT_FALSE(FindClose(h));

  EXPECT_EQ(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE, GetFileAttributesA((dir + "/.hidden").c_str()));
  EXPECT_EQ(FILE_ATTRIBUTE_DIRECTORY, GetFileAttributesA((dir + "/sub").c_str()));
  EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((dir + "/none").c_str()));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());
  if (geteuid() != 0) {  // root may write anything
    chmod((dir + "/a.txt").c_str(), 0444);
    EXPECT_EQ(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE, GetFileAttributesA((dir + "/a.txt").c_str()));
  }
}

TEST(FileHandles, CreateReadWriteSeek) {
  testsupport::TempDir tmp;
  std::u16string name = platform::Utf8ToUtf16(tmp.file("f.bin"));
  HANDLE h = CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(INVALID_HANDLE_VALUE, h);
  EXPECT_EQ(INVALID_HANDLE_VALUE,
            CreateFileW(name.c_str(), GENERIC_READ, 0, nullptr, CREATE_NEW, 0, nullptr));
  EXPECT_EQ(ERROR_FILE_EXISTS, GetLastError());
  DWORD n = 0;
  EXPECT_TRUE(WriteFile(h, "hello world", 11, &n, nullptr));
  EXPECT_EQ(11u, n);
  DWORD high = 7;
  EXPECT_EQ(11u, GetFileSize(h, &high));
  EXPECT_EQ(0u, high);
  EXPECT_EQ(6u, SetFilePointer(h, -5, nullptr, FILE_END));
  char buf[16] = {};
  EXPECT_TRUE(ReadFile(h, buf, 16, &n, nullptr));
  EXPECT_EQ(5u, n);
  EXPECT_STREQ("world", buf);
  EXPECT_EQ(INVALID_SET_FILE_POINTER, SetFilePointer(h, -100, nullptr, FILE_CURRENT));
  FILETIME write{};
  EXPECT_TRUE(GetFileTime(h, nullptr, nullptr, &write));
  EXPECT_NEAR(static_cast<double>(std::time(nullptr)),
              static_cast<double>(platform::UnixSecondsFromFileTime(write)), 5.0);
  EXPECT_TRUE(FlushFileBuffers(h));
  EXPECT_TRUE(CloseHandle(h));
  EXPECT_FALSE(ReadFile(h, buf, 1, &n, nullptr));
  EXPECT_EQ(ERROR_INVALID_HANDLE, GetLastError());

  h = CreateFileA(tmp.file("f.bin").c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr);
  EXPECT_EQ(ERROR_ALREADY_EXISTS, GetLastError());  // opened an existing file
  CloseHandle(h);
  EXPECT_EQ(INVALID_HANDLE_VALUE,
            CreateFileA(tmp.file("none").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());
  EXPECT_EQ(INVALID_HANDLE_VALUE,
            CreateFileA(tmp.path().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));

  EXPECT_TRUE(MoveFileA(tmp.file("f.bin").c_str(), tmp.file("g.bin").c_str()));
  tmp.write("h.bin", "");
  EXPECT_FALSE(MoveFileA(tmp.file("g.bin").c_str(), tmp.file("h.bin").c_str()));
  EXPECT_EQ(ERROR_ALREADY_EXISTS, GetLastError());
  EXPECT_TRUE(CreateDirectoryA(tmp.file("d").c_str(), nullptr));
  EXPECT_FALSE(CreateDirectoryA(tmp.file("d").c_str(), nullptr));
  EXPECT_EQ(ERROR_ALREADY_EXISTS, GetLastError());
  EXPECT_TRUE(RemoveDirectoryW(platform::Utf8ToUtf16(tmp.file("d")).c_str()));
  EXPECT_TRUE(DeleteFileW(platform::Utf8ToUtf16(tmp.file("g.bin")).c_str()));
  EXPECT_FALSE(DeleteFileA(tmp.file("g.bin").c_str()));
}

TEST(FullPaths, LexicalAndNeverCut) {
  char16_t small[4];
  DWORD need = GetFullPathNameW(u"/a/b/../c.txt", 4, small, nullptr);
  EXPECT_EQ(9u, need);  // "/a/c.txt" and its terminator
  EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
  char16_t buffer[64];
  LPWSTR part = nullptr;
  EXPECT_EQ(8u, GetFullPathNameW(u"\\a\\b\\..\\c.txt", 64, buffer, &part));
  EXPECT_EQ(std::u16string(u"/a/c.txt"), std::u16string(buffer));
  EXPECT_EQ(buffer + 3, part);
  char cwd[4096];
  DWORD n = GetCurrentDirectoryA(sizeof cwd, cwd);
  ASSERT_GT(n, 0u);
  EXPECT_EQ(n + 1, GetCurrentDirectoryA(1, cwd));
}

TEST(ShortPaths, AShortPathIsThePathItself) {
  testsupport::TempDir dir;
  dir.write("\xE1\x9E\x80 long name.txt", "x");
  const std::u16string path = platform::Utf8ToUtf16(dir.path()) + u"\\\u1780 long name.txt";
  char16_t out[512];
  EXPECT_EQ(GetShortPathNameW(path.c_str(), out, 512), path.size());
  EXPECT_EQ(std::u16string(out), path) << "handed back as given";
  EXPECT_EQ(GetShortPathNameW(path.c_str(), out, static_cast<DWORD>(path.size())), path.size() + 1);
  // In place, as the classic call allows.
  std::u16string inPlace = path;
  inPlace.resize(512);
  EXPECT_EQ(GetShortPathNameW(inPlace.c_str(), inPlace.data(), 512), path.size());
  char narrow[512];
  EXPECT_EQ(GetShortPathNameA(dir.path().c_str(), narrow, 512), dir.path().size());
  SetLastError(0);
  EXPECT_EQ(GetShortPathNameW((platform::Utf8ToUtf16(dir.path()) + u"/none").c_str(), out, 512), 0u);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(GetShortPathNameW((path + u"/below").c_str(), out, 512), 0u);
  EXPECT_EQ(GetLastError(), ERROR_PATH_NOT_FOUND);
}

TEST(Times, ConversionsBetweenTheForms) {
  FILETIME epoch = platform::FileTimeFromUnix(0, 0);
  EXPECT_EQ(116444736000000000ULL,
            (static_cast<std::uint64_t>(epoch.dwHighDateTime) << 32) | epoch.dwLowDateTime);
  // 2024-02-29 12:34:56.789 UTC, a Thursday.
  FILETIME t = platform::FileTimeFromUnix(1709210096, 789000000);
  SYSTEMTIME s{};
  ASSERT_TRUE(FileTimeToSystemTime(&t, &s));
  EXPECT_EQ(2024, s.wYear);
  EXPECT_EQ(2, s.wMonth);
  EXPECT_EQ(29, s.wDay);
  EXPECT_EQ(4, s.wDayOfWeek);
  EXPECT_EQ(12, s.wHour);
  EXPECT_EQ(34, s.wMinute);
  EXPECT_EQ(56, s.wSecond);
  EXPECT_EQ(789, s.wMilliseconds);
  FILETIME back{};
  ASSERT_TRUE(SystemTimeToFileTime(&s, &back));
  EXPECT_EQ(t.dwLowDateTime, back.dwLowDateTime);
  EXPECT_EQ(t.dwHighDateTime, back.dwHighDateTime);
  WORD date = 0, time = 0;
  ASSERT_TRUE(FileTimeToDosDateTime(&t, &date, &time));
  EXPECT_EQ(((2024 - 1980) << 9) | (2 << 5) | 29, date);
  EXPECT_EQ((12 << 11) | (34 << 5) | 28, time);  // 56 s in 2-second steps
  SYSTEMTIME bad = s;
  bad.wMonth = 4;
  bad.wDay = 31;
  EXPECT_FALSE(SystemTimeToFileTime(&bad, &back));
  FILETIME early = platform::FileTimeFromUnix(0, 0);
  EXPECT_FALSE(FileTimeToDosDateTime(&early, &date, &time));  // before 1980

  setenv("TZ", "UTC-7", 1);  // seven hours east of Greenwich
  tzset();
  FILETIME local{};
  ASSERT_TRUE(FileTimeToLocalFileTime(&t, &local));
  ASSERT_TRUE(FileTimeToSystemTime(&local, &s));
  EXPECT_EQ(19, s.wHour);
  unsetenv("TZ");
  tzset();
}

TEST(Times, DatesOfTheFormLibrary) {
  EXPECT_EQ(0.0, EncodeDate(1899, 12, 30));
  EXPECT_EQ(36526.0, EncodeDate(2000, 1, 1));
  EXPECT_EQ(2.0, EncodeDate(1900, 1, 1));
  EXPECT_THROW(EncodeDate(2023, 2, 29), EConvertError);
  EXPECT_THROW(EncodeDate(2024, 13, 1), EConvertError);
  WORD y, m, d;
  DecodeDate(EncodeDate(2024, 2, 29) + 0.75, y, m, d);
  EXPECT_EQ(2024, y);
  EXPECT_EQ(2, m);
  EXPECT_EQ(29, d);
  TDateTime now = Now();
  EXPECT_GT(now, EncodeDate(2020, 1, 1));
  EXPECT_NEAR(now, Date() + Time(), 1.0 / 86400);
  int packed = (((2024 - 1980) << 9 | 2 << 5 | 29) << 16) | (12 << 11 | 34 << 5 | 28);
  EXPECT_NEAR(EncodeDate(2024, 2, 29) + (12 * 3600 + 34 * 60 + 56) / 86400.0, FileDateToDateTime(packed),
              1e-9);

  testsupport::TempDir tmp;
  std::string f = tmp.write("t", "");
  struct timespec times[2] = {{1709210096, 0}, {1709210096, 0}};
  ASSERT_EQ(0, utimensat(AT_FDCWD, f.c_str(), times, 0));
  EXPECT_EQ(platform::DosDateTimeFromUnix(1709210096), FileAge(f.c_str()));
  EXPECT_EQ(-1, FileAge(tmp.path().c_str()));  // a folder has no age here
  EXPECT_EQ(-1, FileAge(tmp.file("none").c_str()));
}

}  // namespace
