// Path routines (lexical) and file routines (on a temporary folder).
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "Printers.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/SysUtils.h"
#include "support/TempDir.h"

namespace {

TEST(PathRoutines, SplitNamesAtEitherDelimiter) {
  struct Case {
    const char* path;
    const char* filePath;
    const char* fileDir;
    const char* fileName;
    const char* fileExt;
    const char* changed;  // ChangeFileExt(path, ".bak")
  };
  const Case cases[] = {
      {"/a/b/c.txt", "/a/b/", "/a/b", "c.txt", ".txt", "/a/b/c.bak"},
      {"c.txt", "", "", "c.txt", ".txt", "c.bak"},
      {"/a.d/c", "/a.d/", "/a.d", "c", "", "/a.d/c.bak"},
      {"/x/a.tar.gz", "/x/", "/x", "a.tar.gz", ".gz", "/x/a.tar.bak"},
      {"/x/", "/x/", "/x", "", "", "/x/.bak"},
      {"/f", "/", "/", "f", "", "/f.bak"},
      {"dir\\Language\\lan_ENG.ini", "dir\\Language\\", "dir\\Language", "lan_ENG.ini", ".ini",
       "dir\\Language\\lan_ENG.bak"},
      {".hidden", "", "", ".hidden", ".hidden", ".bak"},
      {"", "", "", "", "", ".bak"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(AnsiString(c.filePath), ExtractFilePath(c.path)) << c.path;
    EXPECT_EQ(AnsiString(c.fileDir), ExtractFileDir(c.path)) << c.path;
    EXPECT_EQ(AnsiString(c.fileName), ExtractFileName(c.path)) << c.path;
    EXPECT_EQ(AnsiString(c.fileExt), ExtractFileExt(c.path)) << c.path;
    EXPECT_EQ(AnsiString(c.changed), ChangeFileExt(c.path, ".bak")) << c.path;
  }
  EXPECT_EQ(AnsiString("/a/"), IncludeTrailingPathDelimiter("/a"));
  EXPECT_EQ(AnsiString("/a/"), IncludeTrailingPathDelimiter("/a/"));
  EXPECT_EQ(AnsiString("/a"), ExcludeTrailingPathDelimiter("/a/"));
  EXPECT_EQ(AnsiString("/"), ExcludeTrailingPathDelimiter("/"));
  EXPECT_TRUE(IsPathDelimiter("a/b", 2));
  EXPECT_FALSE(IsPathDelimiter("a/b", 4));
  EXPECT_EQ(AnsiString("/a/c"), ExpandFileName("/a/b/../c"));
  EXPECT_EQ(AnsiString("/a/b/"), ExpandFileName("/a/./b/"));
  EXPECT_EQ(AnsiString("/"), ExpandFileName("/.."));
  EXPECT_EQ('/', ExpandFileName("rel").ToStd()[0]);
  EXPECT_EQ("/a/b/c", platform::FsPath("\\a\\b/c"));
  EXPECT_EQ("/t/\xE1\x9E\x80", platform::FsPath(u"\\t\\\u1780"));
}

TEST(FileRoutines, CreateFindRenameDelete) {
  testsupport::TempDir tmp;
  AnsiString root(tmp.path());
  AnsiString deep = root + "/x/y/\xE1\x9E\x80";  // a Khmer folder name in UTF-8
  EXPECT_FALSE(DirectoryExists(deep));
  ASSERT_TRUE(ForceDirectories(deep + "/"));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(DirectoryExists(root + "\\x\\y"));  // a "\" reads as "/"
  EXPECT_FALSE(FileExists(deep));

  AnsiString file = deep + "/f.txt";
  tmp.write("x/y/\xE1\x9E\x80/f.txt", "hello");
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(ForceDirectories(file));  // a file is in the way
  EXPECT_FALSE(DeleteFile(deep));        // a folder is not a file

  AnsiString other = deep + "/g.txt";
  tmp.write("x/y/\xE1\x9E\x80/g.txt", "other");
  SetLastError(0);
  EXPECT_FALSE(RenameFile(file, other));  // never replaces
  EXPECT_EQ(ERROR_ALREADY_EXISTS, GetLastError());
  ASSERT_TRUE(DeleteFile(other));
  ASSERT_TRUE(RenameFile(file, other));
  EXPECT_FALSE(FileExists(file));
  EXPECT_TRUE(FileExists(other));

  EXPECT_FALSE(RemoveDir(deep));  // not empty
  ASSERT_TRUE(DeleteFile(other));
  SetLastError(0);
  EXPECT_FALSE(DeleteFile(other));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());
  EXPECT_TRUE(RemoveDir(deep));
  EXPECT_TRUE(CreateDir(deep));
  EXPECT_FALSE(CreateDir(deep));
  EXPECT_EQ(ERROR_ALREADY_EXISTS, GetLastError());
  EXPECT_FALSE(FileExists(""));
}

TEST(FileRoutines, ReadWholeFileAndReplaceSafely) {
  testsupport::TempDir tmp;
  std::string path = tmp.write("a.bin", std::string("ab\0cd", 5));
  std::string contents;
  ASSERT_TRUE(platform::ReadWholeFile(path, contents));
  EXPECT_EQ(std::string("ab\0cd", 5), contents);
  EXPECT_FALSE(platform::ReadWholeFile(path, contents, 4));  // over the limit: nothing partial
  EXPECT_TRUE(contents.empty());
  EXPECT_FALSE(platform::ReadWholeFile(tmp.file("missing"), contents));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());
  EXPECT_FALSE(platform::ReadWholeFile(tmp.path(), contents));

  chmod(path.c_str(), 0640);
  ASSERT_TRUE(platform::WriteFileReplacing(path, "new", 3));
  ASSERT_TRUE(platform::ReadWholeFile(path, contents));
  EXPECT_EQ("new", contents);
  struct stat st {};
  ASSERT_EQ(0, stat(path.c_str(), &st));
  EXPECT_EQ(0640u, st.st_mode & 0777u);
  // A failed replacement (no such folder) leaves nothing behind and reports the error.
  EXPECT_FALSE(platform::WriteFileReplacing(tmp.file("no/such/f"), "x", 1));
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, GetLastError());
}

}  // namespace
