#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "CodePageScope.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SearchRec.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "support/TempDir.h"
#include "unicode/WideException.h"
#include "unicode/WideFileSystem.h"

namespace {

WideString W(const std::string& utf8) { return WideString(platform::Utf8ToUtf16(utf8)); }

class WideFileSystem : public ::testing::TestWithParam<bool> {
 protected:
  // Every case runs on the UTF-16 paths and again on the 8-bit fallbacks (under UTF-8).
  void SetUp() override { unicode::SetNarrowSystemForTesting(GetParam()); }
  void TearDown() override { unicode::SetNarrowSystemForTesting(false); }
  testsupport::TempDir dir;
};

TEST_P(WideFileSystem, CreatedFilesCarryTheirUtf16NameAsUtf8) {
  WideString name = W(dir.file("\xE1\x9E\x80\xE1\x9E\x81.txt"));
  int h = WideFileCreate(name);
  ASSERT_GE(h, 0);
  EXPECT_EQ(FileWrite(h, "abc", 3), 3);
  FileClose(h);
  EXPECT_TRUE(std::filesystem::exists(dir.file("\xE1\x9E\x80\xE1\x9E\x81.txt")));
  EXPECT_TRUE(WideFileExists(name));
  h = WideFileOpen(name, fmShareDenyNone | fmOpenRead);
  ASSERT_GE(h, 0);
  char bytes[4] = {};
  EXPECT_EQ(FileRead(h, bytes, 4), 3);
  EXPECT_EQ(FileWrite(h, "x", 1), -1);  // opened for reading only
  FileClose(h);
  EXPECT_EQ(WideFileOpen(W(dir.file("missing")), 0), -1);
  EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

// "*" and "?" are ordinary characters of a name here, not patterns.
TEST_P(WideFileSystem, ExistenceTestsTheExactName) {
  dir.write("ab", "x");
  std::filesystem::create_directory(dir.file("sub"));
  EXPECT_FALSE(WideFileExists(W(dir.file("a*"))));
  EXPECT_FALSE(WideFileExists(W(dir.file("a?"))));
  EXPECT_TRUE(WideFileExists(W(dir.file("ab"))));
  EXPECT_FALSE(WideFileExists(W(dir.file("sub"))));
  EXPECT_TRUE(WideDirectoryExists(W(dir.file("sub"))));
  EXPECT_FALSE(WideDirectoryExists(W(dir.file("ab"))));
  EXPECT_EQ(WideFileAge(W(dir.file("a*"))), -1);
  EXPECT_EQ(WideFileAge(W(dir.file("sub"))), -1);
  EXPECT_EQ(WideFileGetAttr(W(dir.file("missing"))), -1);
  EXPECT_TRUE(WideFileIsReadOnly(W(dir.file("missing"))));
  EXPECT_FALSE(WideFileIsReadOnly(W(dir.file("ab"))));
}

TEST_P(WideFileSystem, FileAgeIsTheLastWriteInLocalTime) {
  std::string path = dir.write("f", "x");
  int age = WideFileAge(W(path));
  EXPECT_EQ(age, FileAge(AnsiString(path)));
  TDateTime when = 0;
  ASSERT_TRUE(WideFileAge(W(path), when));
  EXPECT_NEAR(when, Now(), 1.0 / 24 / 60);
  EXPECT_FALSE(WideFileAge(W(dir.file("missing")), when));
}

// Short names are created too (and reported only once they exist), parents first.
TEST_P(WideFileSystem, ForceDirectoriesCreatesEveryMissingLevel) {
  EXPECT_THROW(WideForceDirectories(u""), EUcGeneralError);
  EXPECT_TRUE(WideForceDirectories(W(dir.file("one/two/\xE1\x9E\x80/"))));
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("one/two/\xE1\x9E\x80")));
  EXPECT_TRUE(WideForceDirectories(W(dir.file("x\\y"))));
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("x/y")));
  EXPECT_TRUE(WideForceDirectories(u"/"));
  char* saved = getcwd(nullptr, 0);
  ASSERT_EQ(chdir(dir.path().c_str()), 0);
  EXPECT_TRUE(WideForceDirectories(u"ab"));
  EXPECT_TRUE(WideForceDirectories(u"c\\d"));
  EXPECT_EQ(chdir(saved), 0);
  std::free(saved);
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("ab")));
  EXPECT_TRUE(std::filesystem::is_directory(dir.file("c/d")));
  dir.write("file", "x");
  EXPECT_FALSE(WideForceDirectories(W(dir.file("file/below"))));
}

TEST_P(WideFileSystem, FileSearchTriesEachFolder) {
  std::filesystem::create_directory(dir.file("b"));
  dir.write("b/target", "x");
  WideString list = W(dir.file("a")) + u";" + W(dir.file("b"));
  EXPECT_EQ(WideFileSearch(u"target", list).ToU16(), W(dir.file("b/target")).ToU16());
  EXPECT_EQ(WideFileSearch(u"none", list).ToU16(), u"");
  EXPECT_EQ(WideFileSearch(u"none", u"").ToU16(), u"");
  EXPECT_EQ(WideFileSearch(W(dir.file("b/target")), u"").ToU16(), W(dir.file("b/target")).ToU16());
}

TEST_P(WideFileSystem, RenameDeleteAndFolders) {
  std::string from = dir.write("from", "x");
  EXPECT_TRUE(WideRenameFile(W(from), W(dir.file("\xE1\x9E\x80"))));
  EXPECT_FALSE(WideRenameFile(W(from), W(dir.file("again"))));
  EXPECT_TRUE(WideDeleteFile(W(dir.file("\xE1\x9E\x80"))));
  EXPECT_FALSE(WideDeleteFile(W(dir.file("\xE1\x9E\x80"))));
  EXPECT_TRUE(WideCreateDir(W(dir.file("d"))));
  EXPECT_FALSE(WideCreateDir(W(dir.file("d"))));
  WideString saved = WideGetCurrentDir();
  EXPECT_TRUE(WideSetCurrentDir(W(dir.file("d"))));
  EXPECT_EQ(WideGetCurrentDir().ToU16(), W(std::filesystem::canonical(dir.file("d")).string()).ToU16());
  EXPECT_TRUE(WideSetCurrentDir(saved));
  EXPECT_TRUE(WideRemoveDir(W(dir.file("d"))));
}

TEST_P(WideFileSystem, ReadOnlyAttributeAndCopies) {
  const WideString file = W(dir.write("\xE1\x9E\x80.txt", "slide"));
  EXPECT_FALSE(WideFileIsReadOnly(file));
  EXPECT_TRUE(WideFileSetReadOnly(file, true));
  EXPECT_TRUE(WideFileIsReadOnly(file));
  struct stat st {};
  ASSERT_EQ(::stat(platform::Utf16ToUtf8(file.ToU16()).c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0222, 0u);
  EXPECT_TRUE(WideFileSetReadOnly(file, false));
  EXPECT_FALSE(WideFileIsReadOnly(file));
  EXPECT_TRUE(WideFileSetAttr(file, faReadOnly));
  EXPECT_TRUE(WideFileIsReadOnly(file));
  EXPECT_TRUE(WideFileSetAttr(file, 0));
  const WideString missing = W(dir.file("none"));
  EXPECT_FALSE(WideFileSetReadOnly(missing, true));
  EXPECT_FALSE(WideFileSetAttr(missing, 0));

  // A copy never replaces a target it was told to keep; a missing source leaves no target.
  const WideString copy = W(dir.file("\xE1\x9E\x81.txt"));
  EXPECT_TRUE(WideCopyFile(file, copy, true));
  std::ofstream(platform::Utf16ToUtf8(copy.ToU16()), std::ios::trunc) << "kept";
  EXPECT_FALSE(WideCopyFile(file, copy, true));
  std::ifstream in(platform::Utf16ToUtf8(copy.ToU16()));
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "kept");
  EXPECT_TRUE(WideCopyFile(file, copy, false));
  EXPECT_FALSE(WideCopyFile(missing, W(dir.file("never")), false));
  EXPECT_FALSE(std::filesystem::exists(dir.file("never")));
}

TEST_P(WideFileSystem, SearchesFilterBySpecialAttributes) {
  dir.write("a.txt", std::string(3000, 'x'));
  dir.write("\xE1\x9E\x80.txt", "x");
  std::filesystem::create_directory(dir.file("folder.txt"));
  int files = 0, folders = 0;
  TSearchRecW rec;
  for (int r = WideFindFirst(W(dir.file("*.txt")), faAnyFile, rec); r == 0; r = WideFindNext(rec)) {
    (rec.Attr & faDirectory ? folders : files)++;
    if (rec.Name == W("a.txt")) {
      EXPECT_EQ(rec.Size, 3000);
      EXPECT_EQ(rec.Time, FileAge(AnsiString(dir.file("a.txt"))));
    }
  }
  WideFindClose(rec);
  WideFindClose(rec);
  EXPECT_EQ(rec.FindHandle, INVALID_HANDLE_VALUE);
  EXPECT_EQ(files, 2);
  EXPECT_EQ(folders, 1);
  files = 0;
  for (int r = WideFindFirst(W(dir.file("*.txt")), 0, rec); r == 0; r = WideFindNext(rec)) ++files;
  WideFindClose(rec);
  EXPECT_EQ(files, 2);
  EXPECT_NE(WideFindFirst(W(dir.file("*.none")), faAnyFile, rec), 0);
  EXPECT_EQ(rec.FindHandle, INVALID_HANDLE_VALUE);
}

TEST_P(WideFileSystem, ModuleFileNameIsTheProgramsPath) {
  EXPECT_EQ(WideGetModuleFileName(nullptr).ToU16(), W(platform::ExecutablePath().c_str()).ToU16());
  EXPECT_THROW(WideGetModuleFileName(reinterpret_cast<HMODULE>(0x1234)), EOSError);
}

INSTANTIATE_TEST_SUITE_P(WideAndNarrow, WideFileSystem, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Narrow" : "Wide"; });

// A copy of the test program in a folder whose path is over 300 bytes reports its whole path.
TEST(WideGetModuleFileName, LongPathsAreNotCut) {
  testsupport::TempDir dir;
  std::string folder = dir.path();
  while (folder.size() < 320) folder += "/\xE1\x9E\x80\xE1\x9E\x81\xE1\x9E\x82\xE1\x9E\x83";
  std::filesystem::create_directories(folder);
  std::string copy = folder + "/unicode_tests";
  std::filesystem::copy_file(platform::ExecutablePath().c_str(), copy);
  std::filesystem::permissions(copy, std::filesystem::perms::owner_all);
  std::string command =
      "'" + copy + "' --gtest_filter=WideGetModuleFileName.PrintsItsPath > '" + dir.path() + "/out'";
  ASSERT_EQ(std::system(command.c_str()), 0) << "the copy found another path than its own";
  std::ifstream in(dir.path() + "/out");
  std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  const std::string line = "path=" + copy + "\n";
  const std::size_t first = all.find(line);
  ASSERT_NE(first, std::string::npos) << all;
  EXPECT_NE(all.find(line, first + 1), std::string::npos) << "both paths of the layer: " << all;
}

// Run by the test above in a copy of this program: prints the path each path of the layer finds,
// and checks it is the program's own, as the kernel names it.
TEST(WideGetModuleFileName, PrintsItsPath) {
  const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
  for (bool narrow : {false, true}) {
    unicode::SetNarrowSystemForTesting(narrow);
    const std::string path = platform::Utf16ToUtf8(WideGetModuleFileName(nullptr).ToU16());
    EXPECT_EQ(path, self) << (narrow ? "8-bit" : "UTF-16");
    std::printf("path=%s\n", path.c_str());
  }
  unicode::SetNarrowSystemForTesting(false);
}

}  // namespace
