// The wrappers of the file-copy, temporary-folder, system-information, library, version,
// currency, character-class and shell services, on both paths.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/statvfs.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>

#include "CodePageScope.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/SyncObjs.h"
#include "platform/rtl/Utf8.h"
#include "support/TempDir.h"
#include "unicode/UcFileWrappers.h"
#include "unicode/UcShellWrappers.h"
#include "unicode/UcSystemWrappers.h"
#include "unicode/UcTextWrappers.h"
#include "unicode/WideException.h"
#include "unicode/WideFileNames.h"

namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Copying and attributes give the same result on both paths for names the code page holds;
// a Khmer name reaches the file system exactly only through the UTF-16 path.
TEST(UcServiceWrappers, CopyFileAndAttributesOnBothPaths) {
  testsupport::TempDir dir;
  const std::u16string folder = platform::Utf8ToUtf16(dir.path());
  const std::u16string source = folder + u"/\u1780.txt";
  std::ofstream(dir.file("\xE1\x9E\x80.txt")) << "slide";
  for (bool narrow : {false, true}) {
    CodePageScope scope(CP_UTF8, narrow);
    const std::u16string target = folder + (narrow ? u"/copy-narrow.txt" : u"/copy-\u1781.txt");
    ASSERT_TRUE(Uc_CopyFileW(source.c_str(), target.c_str(), TRUE)) << narrow;
    EXPECT_EQ(ReadAll(platform::Utf16ToUtf8(target)), "slide");
    SetLastError(0);
    EXPECT_FALSE(Uc_CopyFileW(source.c_str(), target.c_str(), TRUE)) << "an existing target is kept";
    EXPECT_EQ(GetLastError(), ERROR_FILE_EXISTS);
    EXPECT_TRUE(Uc_CopyFileW(source.c_str(), target.c_str(), FALSE));

    // Read-only takes every write bit away; clearing it gives the owner's back.
    ASSERT_TRUE(Uc_SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN));
    struct stat st {};
    ASSERT_EQ(0, ::stat(platform::Utf16ToUtf8(target).c_str(), &st));
    EXPECT_EQ(0u, st.st_mode & 0222);
    ASSERT_TRUE(Uc_SetFileAttributesW(target.c_str(), 0));
    ASSERT_EQ(0, ::stat(platform::Utf16ToUtf8(target).c_str(), &st));
    EXPECT_EQ(0200u, st.st_mode & 0200);
  }
  EXPECT_TRUE(std::filesystem::exists(dir.file("copy-\xE1\x9E\x81.txt")));
  // A missing source copies nothing.
  const std::u16string missing = folder + u"/none";
  const std::u16string target = folder + u"/never";
  EXPECT_FALSE(Uc_CopyFileW(missing.c_str(), target.c_str(), FALSE));
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(std::filesystem::exists(dir.file("never")));
}

TEST(UcServiceWrappers, TempPathOnBothPaths) {
  testsupport::TempDir dir;
  const std::string saved = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
  ::setenv("TMPDIR", dir.path().c_str(), 1);
  const std::u16string expected = platform::Utf8ToUtf16(dir.path()) + u"/";
  for (bool narrow : {false, true}) {
    CodePageScope scope(CP_UTF8, narrow);
    char16_t buffer[1024];
    EXPECT_EQ(Uc_GetTempPathW(1024, buffer), expected.size()) << narrow;
    EXPECT_EQ(std::u16string(buffer), expected);
    EXPECT_EQ(Uc_GetTempPathW(2, buffer), expected.size() + 1) << "too small: the size needed";
  }
  if (saved.empty())
    ::unsetenv("TMPDIR");
  else
    ::setenv("TMPDIR", saved.c_str(), 1);
}

// A Khmer argument reaches the child exactly through the UTF-16 call and under a UTF-8 system
// code page; under 1252 an 8-bit system can only pass "?" for it.
TEST(UcServiceWrappers, CreateProcessPassesArgumentsThroughTheCodePage) {
  struct Case {
    UINT page;
    bool narrow;
    DWORD exitCode;  // 2: the Khmer letter and the empty argument arrived
  };
  const Case cases[] = {{CP_UTF8, false, 2}, {CP_UTF8, true, 2}, {1252, true, 1}};
  for (const Case& c : cases) {
    CodePageScope scope(c.page, c.narrow);
    // The script compares with the letter's UTF-8 bytes written out, which no code page changes.
    std::u16string line =
        u"/bin/sh -c \"test $1 = $(printf '\\341\\236\\200') && test -z $2 && exit $#; exit 1\" zero \u1780 "
        u"\"\"";
    PROCESS_INFORMATION info{};
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.lpTitle = const_cast<LPWSTR>(u"");
    ASSERT_TRUE(
        Uc_CreateProcessW(u"", line.data(), nullptr, nullptr, FALSE, 0, nullptr, u"", &startup, &info));
    EXPECT_EQ(WAIT_OBJECT_0, WaitForSingleObject(info.hProcess, INFINITE));
    DWORD code = 0;
    EXPECT_TRUE(GetExitCodeProcess(info.hProcess, &code));
    EXPECT_EQ(c.exitCode, code) << c.page << " " << c.narrow;
    CloseHandle(info.hProcess);
  }
}

std::string CommandOutput(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, p)) out += buffer;
    ::pclose(p);
  }
  while (!out.empty() && out.back() == '\n') out.pop_back();
  return out;
}

// The names, disk and volume of this system and unique temporary files, on both paths.
TEST(UcServiceWrappers, SystemServicesAnswerOnBothPaths) {
  testsupport::TempDir dir;
  const std::u16string folder = platform::Utf8ToUtf16(dir.path());
  const std::u16string host = platform::Utf8ToUtf16(CommandOutput("uname -n"));
  const std::u16string user = platform::Utf8ToUtf16(CommandOutput("id -un"));
  struct statvfs st {};
  ASSERT_EQ(::statvfs(dir.path().c_str(), &st), 0);
  std::set<std::u16string> tempNames;
  for (bool narrow : {false, true}) {
    CodePageScope scope(CP_UTF8, narrow);
    const char* path = narrow ? " (8-bit)" : "";
    char16_t name[260];
    DWORD size = 260;
    ASSERT_TRUE(Uc_GetComputerNameW(name, &size)) << path;
    EXPECT_EQ(std::u16string(name), host) << path;
    EXPECT_EQ(size, host.size()) << path;
    size = 260;
    ASSERT_TRUE(Uc_GetUserNameW(name, &size)) << path;
    EXPECT_EQ(std::u16string(name), user) << path;

    DWORD sectors = 0, bytes = 0, freeClusters = 0, totalClusters = 0;
    ASSERT_TRUE(Uc_GetDiskFreeSpaceW(folder.c_str(), &sectors, &bytes, &freeClusters, &totalClusters))
        << path;
    EXPECT_EQ(1ull * sectors * bytes * totalClusters, 1ull * st.f_blocks * st.f_frsize) << path;

    char16_t volume[64], system[64];
    DWORD serial = 0;
    ASSERT_TRUE(Uc_GetVolumeInformationW(folder.c_str(), volume, 64, &serial, nullptr, nullptr, system, 64))
        << path;
    EXPECT_EQ(std::u16string(system),
              platform::Utf8ToUtf16(CommandOutput("findmnt -n -o FSTYPE -T " + dir.path())))
        << path;

    // Two names never collide and both files exist.
    for (int i = 0; i < 2; ++i) {
      ASSERT_NE(Uc_GetTempFileNameW(folder.c_str(), u"\u1780\u1781", 0, name), 0u) << path;
      EXPECT_TRUE(tempNames.insert(name).second) << path;
      EXPECT_TRUE(std::filesystem::exists(platform::Utf16ToUtf8(name))) << path;
    }

    // No short names: an existing path is its own short form.
    const std::u16string khmer = folder + u"/\u1780\u1781 notes.txt";
    std::ofstream(platform::Utf16ToUtf8(khmer)) << "x";
    EXPECT_EQ(WideExtractShortPathName(khmer).ToU16(), khmer) << path;
    SetLastError(0);
    EXPECT_EQ(Uc_GetShortPathNameW((folder + u"/none").c_str(), name, 260), 0u) << path;
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND) << path;
  }
}

// What this system does not offer (system folders, libraries by name, version information,
// icons of files) fails cleanly on both paths with ERROR_NOT_SUPPORTED.
TEST(UcServiceWrappers, AbsentServicesFailCleanlyOnBothPaths) {
  const std::vector<std::pair<const char*, std::function<bool()>>> calls = {
      {"GetWindowsDirectory",
       [] {
         char16_t b[64];
         return Uc_GetWindowsDirectoryW(b, 64) == 0;
       }},
      {"GetSystemDirectory",
       [] {
         char16_t b[64];
         return Uc_GetSystemDirectoryW(b, 64) == 0;
       }},
      {"LoadLibrary", [] { return Uc_LoadLibraryW(u"shell32.dll") == nullptr; }},
      {"LoadLibraryEx", [] { return Uc_LoadLibraryExW(u"version.dll", nullptr, 0) == nullptr; }},
      {"GetFileVersionInfoSize",
       [] {
         DWORD h = 7;
         return Uc_GetFileVersionInfoSizeW(u"/bin/sh", &h) == 0 && h == 0;
       }},
      {"GetFileVersionInfo",
       [] {
         char b[16];
         return !Uc_GetFileVersionInfoW(u"/bin/sh", 0, 16, b);
       }},
      {"VerQueryValue",
       [] {
         LPVOID p = &p;
         UINT n = 5;
         return !Uc_VerQueryValueW(nullptr, u"\\StringFileInfo", &p, &n) && !p && !n;
       }},
      {"ExtractIconEx",
       [] {
         HICON l = nullptr;
         return Uc_ExtractIconExW(u"/bin/sh", 0, &l, nullptr, 1) == 0;
       }},
      {"ExtractAssociatedIcon",
       [] {
         char16_t p[260] = u"/bin/sh";
         WORD i = 0;
         return !Uc_ExtractAssociatedIconW(nullptr, p, &i);
       }},
  };
  for (bool narrow : {false, true}) {
    CodePageScope scope(CP_UTF8, narrow);
    for (const auto& [name, call] : calls) {
      SetLastError(0);
      EXPECT_TRUE(call()) << name << (narrow ? " (8-bit)" : "");
      // The 8-bit library loader is the one that finds no module of any name.
      DWORD expected = narrow && std::string(name) == "LoadLibrary" ? 126 : ERROR_NOT_SUPPORTED;
      EXPECT_EQ(GetLastError(), expected) << name << (narrow ? " (8-bit)" : "");
    }
  }
}

// On a Unicode system the shell calls bind the shell library, which cannot load here: the call
// raises the last OS error. On an 8-bit system they fail like any absent service.
TEST(UcServiceWrappers, ShellCallsRaiseWhereTheLibraryCannotBeBound) {
  SHFILEOPSTRUCTW op{};
  op.pFrom = u"a\0b\0";
  op.fFlags = FOF_WANTMAPPINGHANDLE;
  op.hNameMappings = &op;
  BROWSEINFOW browse{};
  SHFILEINFOW info{};
  EXPECT_THROW(Uc_SHFileOperationW(&op), EWideOSError);
  EXPECT_THROW(Uc_SHBrowseForFolderW(&browse), EWideOSError);
  EXPECT_THROW(Uc_SHGetPathFromIDListW(nullptr, nullptr), EWideOSError);
  try {
    Uc_SHGetFileInfoW(u"/", 0, &info, sizeof info, 0);
    ADD_FAILURE();
  } catch (const EWideOSError& e) {
    EXPECT_EQ(e.ErrorCode, ERROR_NOT_SUPPORTED);
  }
  NarrowScope narrow;
  SetLastError(0);
  EXPECT_NE(Uc_SHFileOperationW(&op), 0);
  EXPECT_EQ(GetLastError(), ERROR_NOT_SUPPORTED);
  EXPECT_EQ(op.hNameMappings, nullptr) << "no mapping handle without mappings";
  char16_t display[260] = u"x";
  browse.pszDisplayName = display;
  EXPECT_EQ(Uc_SHBrowseForFolderW(&browse), nullptr);
  EXPECT_EQ(display[0], 0);
  info.iIcon = 9;
  EXPECT_EQ(Uc_SHGetFileInfoW(u"/", 0, &info, sizeof info, 0), 0u);
  EXPECT_EQ(info.iIcon, 0) << "the caller's record is zeroed";
  Uc_SHFreeNameMappings(nullptr);
  UcReleaseShellBinding();
}

// One class per unit on both paths: the 8-bit call classifies bytes (several for one character
// under UTF-8, and the terminator too), which must neither shift the classes nor write past the
// caller's array.
TEST(UcServiceWrappers, CharacterClassesOnBothPaths) {
  const char16_t text[] = u"A\u00E9 7";
  for (UINT page : {CP_UTF8, 1252u, 932u}) {
    for (bool narrow : {false, true}) {
      CodePageScope scope(page, narrow);
      WORD types[5] = {0, 0, 0, 0, 0xBEEF};
      ASSERT_TRUE(Uc_GetStringTypeExW(UcThreadLocale(), CT_CTYPE1, text, 4, types));
      EXPECT_EQ(types[4], 0xBEEF) << page << narrow;
      EXPECT_EQ(types[0], C1_UPPER | C1_ALPHA | C1_XDIGIT) << page << narrow;
      // Page 932 has no é: an 8-bit system sees its "?".
      EXPECT_EQ(types[1], page == 932 && narrow ? C1_PUNCT : C1_LOWER | C1_ALPHA) << page << narrow;
      EXPECT_EQ(types[2], C1_SPACE | C1_BLANK) << page << narrow;
      EXPECT_EQ(types[3], C1_DIGIT | C1_XDIGIT) << page << narrow;
    }
  }
}

}  // namespace
