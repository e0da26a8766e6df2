// The program's command line and path, the named mutex across processes, and program starts.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "Printers.h"
#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Process.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "support/RuntimeFolder.h"
#include "support/TempDir.h"

namespace {

// Points the runtime folder at a fresh temporary folder for one test.
class RuntimeFolderScope {
 public:
  RuntimeFolderScope() { setenv("PLATFORM_RUNTIME_DIR", dir.path().c_str(), 1); }
  ~RuntimeFolderScope() { testsupport::RestoreRuntimeFolder(); }
  testsupport::TempDir dir;
};

// Runs CreateMutexA in a child process; returns the last error it saw (or 255).
int LastErrorInChild(const char* name) {
  pid_t pid = fork();
  if (pid == 0) {
    HANDLE h = CreateMutexA(nullptr, FALSE, name);
    _exit(h ? static_cast<int>(GetLastError() & 0xFF) : 255);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const char kName[] = "QuarnMivora,0x12,0xab";

TEST(NamedMutex, SecondProcessSeesAlreadyExists) {
  RuntimeFolderScope scope;
  EXPECT_EQ(0, LastErrorInChild(kName));  // nobody holds it; the child's lock ends with it
  HANDLE first = CreateMutexA(nullptr, FALSE, kName);
  ASSERT_NE(nullptr, first);
  EXPECT_EQ(ERROR_SUCCESS, GetLastError());
  EXPECT_EQ(static_cast<int>(ERROR_ALREADY_EXISTS & 0xFF), LastErrorInChild(kName));
  HANDLE second = CreateMutexA(nullptr, FALSE, kName);  // another handle in this process
  EXPECT_NE(nullptr, second);
  EXPECT_EQ(ERROR_ALREADY_EXISTS, GetLastError());
  EXPECT_TRUE(CloseHandle(second));
  struct stat st {};
  EXPECT_EQ(0, stat((scope.dir.path() + "/mutex-QuarnMivora%2C0x12%2C0xab.lock").c_str(), &st));
  EXPECT_TRUE(CloseHandle(first));
  EXPECT_EQ(0, LastErrorInChild(kName));  // released with the handle
  HANDLE unnamed = CreateMutexA(nullptr, FALSE, nullptr);
  EXPECT_NE(nullptr, unnamed);
  CloseHandle(unnamed);
}

TEST(NamedMutex, RefusesAFolderOthersCanEnter) {
  RuntimeFolderScope scope;
  chmod(scope.dir.path().c_str(), 0755);
  EXPECT_EQ(nullptr, CreateMutexA(nullptr, FALSE, kName));
  EXPECT_EQ(ERROR_ACCESS_DENIED, GetLastError());
  std::string folder;
  EXPECT_FALSE(platform::RuntimeFolder(folder));
}

// A link planted at the lock's name is never followed (neither a dangling one, which would create
// its target, nor one to a file of the user), and a FIFO is no lock: each is refused and nothing
// outside the folder is created or locked.
TEST(NamedMutex, APlantedLinkOrFifoIsNoLock) {
  RuntimeFolderScope scope;
  testsupport::TempDir outside;
  const std::string lock = scope.dir.path() + "/mutex-QuarnMivora%2C0x12%2C0xab.lock";
  const std::string existing = outside.write("kept.txt", "kept");
  const struct {
    const char* what;
    std::function<int()> plant;
  } cases[] = {
      {"dangling link", [&] { return symlink(outside.file("made").c_str(), lock.c_str()); }},
      {"link to a file", [&] { return symlink(existing.c_str(), lock.c_str()); }},
      {"fifo", [&] { return mkfifo(lock.c_str(), 0600); }},
  };
  for (const auto& c : cases) {
    unlink(lock.c_str());
    ASSERT_EQ(0, c.plant()) << c.what;
    EXPECT_EQ(nullptr, CreateMutexA(nullptr, FALSE, kName)) << c.what;
    EXPECT_EQ(ERROR_ACCESS_DENIED, GetLastError()) << c.what;
    struct stat st {};
    EXPECT_NE(0, stat(outside.file("made").c_str(), &st)) << c.what << " created the link's target";
  }
  std::string contents;
  ASSERT_TRUE(platform::ReadWholeFile(existing, contents));
  EXPECT_EQ("kept", contents);
}

class RecordingStarter {
 public:
  RecordingStarter() {
    platform::SetProgramStarter([this](const std::vector<std::string>& argv, const std::string& dir) {
      starts.push_back(argv);
      dirs.push_back(dir);
      return 0;
    });
  }
  ~RecordingStarter() { platform::SetProgramStarter(nullptr); }
  std::vector<std::vector<std::string>> starts;
  std::vector<std::string> dirs;
};

std::uintptr_t Code(HINSTANCE h) { return reinterpret_cast<std::uintptr_t>(h); }

TEST(ProgramStarts, ShellExecuteChoosesBetweenProgramsAndDocuments) {
  testsupport::TempDir tmp;
  std::string doc = tmp.write("help file.chm", "x");
  RecordingStarter rec;
  EXPECT_GT(Code(ShellExecuteA(nullptr, "open", "http://example.invalid/a", nullptr, nullptr, SW_SHOW)), 32u);
  EXPECT_GT(Code(ShellExecuteW(nullptr, nullptr, u"/bin/true", u"a \"b c\"", nullptr, SW_SHOW)), 32u);
  EXPECT_GT(Code(ShellExecuteA(nullptr, "Open", "help file.chm", "", tmp.path().c_str(), SW_SHOW)), 32u);
  EXPECT_EQ(static_cast<std::uintptr_t>(SE_ERR_FNF),
            Code(ShellExecuteA(nullptr, "open", "missing.doc", nullptr, tmp.path().c_str(), SW_SHOW)));
  EXPECT_EQ(static_cast<std::uintptr_t>(SE_ERR_NOASSOC),
            Code(ShellExecuteA(nullptr, "print", doc.c_str(), nullptr, nullptr, SW_SHOW)));
  std::string helpLine = "hh " + tmp.path() + "\\help file.chm";
  EXPECT_GT(WinExec(helpLine.c_str(), SW_SHOW), 31u);
  EXPECT_EQ(ERROR_FILE_NOT_FOUND, WinExec(("hh " + tmp.path() + "\\help\\none.chm").c_str(), SW_SHOW));
  EXPECT_GT(WinExec("/bin/echo one two", SW_SHOW), 31u);
  std::vector<std::vector<std::string>> expected = {
      {"xdg-open", "http://example.invalid/a"},
      {"/bin/true", "a", "b c"},
      {"xdg-open", doc},
      {"xdg-open", doc},
      {"/bin/echo", "one", "two"},
  };
  EXPECT_EQ(expected, rec.starts);
}

TEST(ProgramStarts, SpawnsForRealWithoutWaiting) {
  testsupport::TempDir tmp;
  std::string marker = tmp.file("ran");
  EXPECT_EQ(0, platform::StartProgram({"sh", "-c", "echo ran > ran"}, tmp.path()));
  for (int i = 0; i < 500 && !FileExists(marker.c_str()); ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_TRUE(FileExists(marker.c_str()));
  EXPECT_EQ(ENOENT, platform::StartProgram({"no-such-program-here"}, ""));
  EXPECT_EQ(static_cast<std::uintptr_t>(SE_ERR_FNF),
            Code(ShellExecuteA(nullptr, "open", "/no/such/program", nullptr, nullptr, SW_SHOW)));
}

TEST(CommandLine, ParamStrAndModulePath) {
  const char* argv[] = {"ignored", "open", "/tmp/a b.mms", "\xE1\x9E\x80"};
  platform::SetCommandLine(4, argv);
  EXPECT_EQ(3, ParamCount());
  AnsiString exe = ParamStr(0);
  EXPECT_EQ('/', exe[1]);
  EXPECT_EQ(AnsiString("rtl_tests"), ExtractFileName(exe));
  EXPECT_EQ(ExtractFilePath(exe), platform::ApplicationFolder());
  EXPECT_EQ(AnsiString("open"), ParamStr(1));
  EXPECT_EQ(AnsiString(""), ParamStr(4));
  EXPECT_EQ(WideString(u"\u1780"), WideParamStr(3));
  std::u16string line = GetCommandLineW();
  EXPECT_NE(std::u16string::npos, line.find(u" open \"/tmp/a b.mms\" \u1780"));

  char16_t buffer[512];
  DWORD n = GetModuleFileNameW(nullptr, buffer, 512);
  EXPECT_EQ(WideString(exe), WideString(std::u16string(buffer, n)));
  char small[5] = {'#', '#', '#', '#', '#'};
  EXPECT_EQ(4u, GetModuleFileNameA(HInstance, small, 4));
  EXPECT_EQ(ERROR_INSUFFICIENT_BUFFER, GetLastError());
  EXPECT_EQ('\0', small[3]);
  EXPECT_EQ('#', small[4]);
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionEx(&info));
  EXPECT_EQ(2u, info.dwPlatformId);
  EXPECT_EQ(6u, info.dwMajorVersion);
  EXPECT_EQ(1u, info.dwMinorVersion);
  platform::SetCommandLine(0, nullptr);
}

}  // namespace
