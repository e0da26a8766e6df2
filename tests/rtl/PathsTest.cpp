// Path routines (lexical) and file routines (on a temporary folder).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utime.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <functional>
#include <future>
#include <string>
#include <thread>

#include "Printers.h"
#include "platform/rtl/FileApi.h"
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

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// A new file gets what the umask leaves of 0666, never more: settings are no one else's to write.
TEST(FileRoutines, NewFileKeepsTheUmask) {
  testsupport::TempDir tmp;
  const struct {
    mode_t umask;
    mode_t expected;
  } cases[] = {{022, 0644}, {077, 0600}, {002, 0664}};
  for (const auto& c : cases) {
    const mode_t old = ::umask(c.umask);
    const std::string path = tmp.file("new-" + std::to_string(c.umask));
    const bool written = platform::WriteFileReplacing(path, "x", 1);
    ::umask(old);
    ASSERT_TRUE(written);
    EXPECT_EQ(c.expected, ModeOf(path)) << "umask " << std::oct << c.umask;
  }
}

// Saving through a symbolic link replaces the file it names and keeps the link, whether the link
// is absolute, relative from another folder, a chain, or names a file not made yet.
TEST(FileRoutines, SavingThroughALinkKeepsTheLink) {
  testsupport::TempDir tmp;
  const std::string target = tmp.write("data/settings.ini", "old");
  std::filesystem::create_directories(tmp.file("links"));
  ASSERT_EQ(0, ::symlink(target.c_str(), tmp.file("links/absolute").c_str()));
  ASSERT_EQ(0, ::symlink("../data/settings.ini", tmp.file("links/relative").c_str()));
  ASSERT_EQ(0, ::symlink("relative", tmp.file("links/chain").c_str()));
  ASSERT_EQ(0, ::symlink("../data/later.ini", tmp.file("links/dangling").c_str()));
  const struct {
    const char* link;
    std::string named;
  } cases[] = {{"links/absolute", target},
               {"links/relative", target},
               {"links/chain", target},
               {"links/dangling", tmp.file("data/later.ini")}};
  for (const auto& c : cases) {
    const std::string link = tmp.file(c.link);
    const std::string text = std::string("saved through ") + c.link;
    ASSERT_TRUE(platform::WriteFileReplacing(link, text.data(), text.size())) << c.link;
    struct stat st {};
    ASSERT_EQ(0, ::lstat(link.c_str(), &st));
    EXPECT_TRUE(S_ISLNK(st.st_mode)) << c.link << " became a regular file";
    std::string contents;
    ASSERT_TRUE(platform::ReadWholeFile(c.named, contents));
    EXPECT_EQ(text, contents) << c.link;
  }
  // No temporary is left in either folder.
  for (const char* folder : {"data", "links"})
    for (const auto& entry : std::filesystem::directory_iterator(tmp.file(folder)))
      EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".tmp")) << entry.path();
  // A loop of links is an error, not a replacement of the link.
  ASSERT_EQ(0, ::symlink("loop-b", tmp.file("loop-a").c_str()));
  ASSERT_EQ(0, ::symlink("loop-a", tmp.file("loop-b").c_str()));
  EXPECT_FALSE(platform::WriteFileReplacing(tmp.file("loop-a"), "x", 1));
}

// Temporaries of a save killed midway are removed by a later save of the same file once they are
// older than a minute and their writer no longer runs; nothing else is touched.
TEST(FileRoutines, StaleTemporariesOfTheSameFileAreRemoved) {
  testsupport::TempDir tmp;
  const pid_t dead = ::fork();
  if (dead == 0) ::_exit(0);
  ASSERT_GT(dead, 0);
  ::waitpid(dead, nullptr, 0);
  const std::string deadPid = std::to_string(dead), livePid = std::to_string(::getpid());
  const struct {
    std::string name;
    bool old;
    bool removed;
  } cases[] = {
      {".f.ini." + deadPid + ".0badf00d.tmp", true, true},
      {".f.ini." + deadPid + ".1badf00d.tmp", false, false},  // too young: its save may be running
      {".f.ini." + livePid + ".2badf00d.tmp", true, false},   // its writer still runs
      {".g.ini." + deadPid + ".3badf00d.tmp", true, false},   // another file's
      {".f.ini.notapid.4badf00d.tmp", true, false},
      {".f.ini.0badf00d.tmp", true, false},  // no writer named
  };
  for (const auto& c : cases) {
    const std::string path = tmp.write(c.name, std::string(1000, 'x'));
    if (c.old) {
      const time_t then = std::time(nullptr) - 120;
      const utimbuf times{then, then};
      ASSERT_EQ(0, ::utime(path.c_str(), &times));
    }
  }
  ASSERT_TRUE(platform::WriteFileReplacing(tmp.file("f.ini"), "new", 3));
  for (const auto& c : cases) EXPECT_EQ(c.removed, !std::filesystem::exists(tmp.file(c.name))) << c.name;
}

// Names up to the system's longest are saved: the temporary shortens the name it shows (never
// inside a character), keeps its pid and random part, and leaves nothing behind. Its stale
// temporaries are still recognised and removed.
TEST(FileRoutines, TheLongestLegalNameIsSaved) {
  testsupport::TempDir tmp;
  const std::string accented = "\xC3\xA9";  // two bytes a character
  const struct {
    const char* what;
    std::string name;
  } cases[] = {{"255 bytes", std::string(251, 'n') + ".mms"},
               {"236 bytes", std::string(232, 'n') + ".mms"},
               {"254 bytes of two-byte characters", [&] {
                  std::string s;
                  for (int i = 0; i < 125; ++i) s += accented;
                  return s + ".mms";
                }()}};
  for (const auto& c : cases) {
    const std::string path = tmp.file(c.name);
    ASSERT_TRUE(platform::WriteFileReplacing(path, "first", 5)) << c.what << ": error " << GetLastError();
    ASSERT_TRUE(platform::WriteFileReplacing(path, "second", 6)) << c.what;
    std::string contents;
    ASSERT_TRUE(platform::ReadWholeFile(path, contents));
    EXPECT_EQ("second", contents) << c.what;
  }
  // A save of the longest name killed midway (here by the file-size signal, not ignored in this
  // child) leaves its temporary; once stale, the next save of that name removes it.
  const std::string longest = tmp.file(cases[0].name);
  const pid_t killed = ::fork();
  ASSERT_GE(killed, 0);
  if (killed == 0) {
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    const std::string big(1 << 16, 'b');
    platform::WriteFileReplacing(longest, big.data(), big.size());
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(killed, ::waitpid(killed, &status, 0));
  ASSERT_TRUE(WIFSIGNALED(status));
  int left = 0;
  for (const auto& entry : std::filesystem::directory_iterator(tmp.path())) {
    if (entry.path().extension() != ".tmp") continue;
    ++left;
    const time_t then = std::time(nullptr) - 120;
    const utimbuf times{then, then};
    ASSERT_EQ(0, ::utime(entry.path().c_str(), &times));
  }
  ASSERT_EQ(1, left);
  ASSERT_TRUE(platform::WriteFileReplacing(longest, "third", 5));
  for (const auto& entry : std::filesystem::directory_iterator(tmp.path()))
    EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".tmp")) << entry.path();
}

// Under a file-size limit a save past it fails like one on a full disk: the program lives (the
// platform ignores SIGXFSZ), the old file is kept whole and no temporary stays. Run in a child,
// whose limit and signal setting end with it.
TEST(FileRoutines, AFileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
  testsupport::TempDir tmp;
  const std::string path = tmp.write("work.mms", "the old message");
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::IgnoreFileSizeSignal();
    const rlimit limit{200 * 1024, 200 * 1024};
    if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) ::_exit(10);
    const std::string big(1 << 20, 'b');
    if (platform::WriteFileReplacing(path, big.data(), big.size())) ::_exit(11);
    if (GetLastError() != ERROR_DISK_FULL) ::_exit(12);
    if (!platform::WriteFileReplacing(tmp.file("small.mms"), "fits", 4)) ::_exit(13);  // still saves
    ::_exit(0);
  }
  int status = 0;
  ASSERT_EQ(child, ::waitpid(child, &status, 0));
  ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
  EXPECT_EQ(0, WEXITSTATUS(status))
      << "10 no limit, 11 saved past it, 12 not a full disk, 13 small save failed";
  std::string contents;
  ASSERT_TRUE(platform::ReadWholeFile(path, contents));
  EXPECT_EQ("the old message", contents);
  for (const auto& entry : std::filesystem::directory_iterator(tmp.path()))
    EXPECT_EQ(std::string::npos, entry.path().filename().string().find(".tmp")) << entry.path();
}

// Reading a FIFO, a device or a folder as a whole file is refused at once, never waited on.
TEST(FileRoutines, ReadWholeFileRefusesWhatIsNoRegularFile) {
  testsupport::TempDir tmp;
  const std::string fifo = tmp.file("fifo");
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  for (const std::string& path : {fifo, std::string("/dev/null"), std::string("/dev/zero"), tmp.path()}) {
    auto read = std::async(std::launch::async, [&path] {
      std::string contents;
      const bool ok = platform::ReadWholeFile(path, contents, 1 << 20);
      return std::make_pair(ok, GetLastError());
    });
    if (read.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
      ADD_FAILURE() << path << " was waited on";
      const int writer = ::open(fifo.c_str(), O_WRONLY);  // lets the waiting open return
      if (writer >= 0) ::close(writer);
    }
    const auto [ok, error] = read.get();
    EXPECT_FALSE(ok) << path;
    EXPECT_EQ(ERROR_ACCESS_DENIED, error) << path;
  }
}

// Renaming never replaces a file another thread creates at the same moment: in every round
// either the rename or the other thread's exclusive create fails.
TEST(FileRoutines, RenameNeverReplacesAFileCreatedMeanwhile) {
  testsupport::TempDir tmp;
  const std::string from = tmp.file("from"), to = tmp.file("to");
  const std::pair<const char*, std::function<bool()>> renames[] = {
      {"RenameFile", [&] { return RenameFile(AnsiString(from), AnsiString(to)); }},
      {"MoveFileA", [&] { return MoveFileA(from.c_str(), to.c_str()) != FALSE; }},
  };
  for (const auto& [what, rename] : renames) {
    std::atomic<int> round{0}, created{-1};
    std::atomic<bool> stop{false};
    std::thread creator([&] {
      for (int seen = 0; !stop;) {
        const int r = round.load();
        if (r == seen) {
          std::this_thread::yield();
          continue;
        }
        seen = r;
        const int fd = ::open(to.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd >= 0) {
          (void)!::write(fd, "theirs", 6);
          ::close(fd);
        }
        created = fd >= 0 ? r : -r;
      }
    });
    int lost = 0;
    const int rounds = 3000;
    for (int r = 1; r <= rounds; ++r) {
      ::unlink(to.c_str());
      tmp.write("from", "mine");
      round = r;
      const bool renamed = rename();
      while (created != r && created != -r) std::this_thread::yield();
      if (renamed && created == r) ++lost;
    }
    stop = true;
    round = -1;
    creator.join();
    EXPECT_EQ(0, lost) << what << " replaced a file created meanwhile";
  }
}

}  // namespace
