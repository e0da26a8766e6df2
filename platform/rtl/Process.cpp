// Runtime folder, named mutexes and program starts.
#include "platform/rtl/Process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <thread>

#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

extern char** environ;

namespace {

class MutexObject : public platform::KernelObject {
 public:
  explicit MutexObject(int fd) : fd_(fd) {}
  ~MutexObject() override {
    if (fd_ >= 0) ::close(fd_);  // closing the descriptor releases the lock
  }

 private:
  int fd_;
};

std::string EscapeName(const std::string& name) {
  static const char* hex = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : name) {
    bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' ||
                 c == '_' || c == '-';
    if (plain) {
      out += static_cast<char>(c);
    } else {
      out += '%';
      out += hex[c >> 4];
      out += hex[c & 15];
    }
  }
  return out;
}

std::mutex gStarterMutex;
platform::ProgramStarter gStarter;

int SpawnDetached(const std::vector<std::string>& argv, const std::string& directory) {
  if (argv.empty() || argv[0].empty()) return ENOENT;
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!directory.empty()) posix_spawn_file_actions_addchdir_np(&actions, directory.c_str());
  pid_t pid = 0;
  int rc = posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0) return rc;
  // Nobody waits for the program; a small thread reaps it so it leaves no zombie.
  std::thread([pid] {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
  }).detach();
  return 0;
}

bool IsUrl(const std::string& s) { return s.find("://") != std::string::npos || s.rfind("mailto:", 0) == 0; }

// An existing executable regular file, named by a path or found in PATH.
bool IsProgram(const std::string& file) {
  auto executable = [](const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && ::access(path.c_str(), X_OK) == 0;
  };
  if (file.find('/') != std::string::npos) return executable(file);
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  std::size_t i = 0;
  while (i <= dirs.size()) {
    std::size_t j = dirs.find(':', i);
    if (j == std::string::npos) j = dirs.size();
    if (j > i && executable(dirs.substr(i, j - i) + "/" + file)) return true;
    i = j + 1;
  }
  return false;
}

int ShellErrorFromErrno(int err) {
  switch (err) {
    case ENOENT:
      return SE_ERR_FNF;
    case ENOTDIR:
      return SE_ERR_PNF;
    case EACCES:
    case EPERM:
      return SE_ERR_ACCESSDENIED;
    default:
      return 0;
  }
}

HINSTANCE ShellResult(int code) { return reinterpret_cast<HINSTANCE>(static_cast<std::uintptr_t>(code)); }

HINSTANCE Execute(std::string verb, std::string file, const std::string& parameters, std::string directory) {
  for (char& c : verb) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (!verb.empty() && verb != "open") return ShellResult(SE_ERR_NOASSOC);
  if (file.empty()) return ShellResult(SE_ERR_FNF);
  if (!IsUrl(file)) file = platform::FsPath(file.c_str());
  directory = platform::FsPath(directory.c_str());
  std::vector<std::string> argv;
  if (IsUrl(file)) {
    argv = {"xdg-open", file};
  } else if (IsProgram(file)) {
    argv = platform::SplitCommandLine(parameters);
    argv.insert(argv.begin(), file);
  } else {
    std::string target = (file[0] == '/' || directory.empty()) ? file : directory + "/" + file;
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) return ShellResult(SE_ERR_FNF);
    argv = {"xdg-open", target};
  }
  int err = platform::StartProgram(argv, directory);
  if (err != 0) return ShellResult(ShellErrorFromErrno(err));
  return ShellResult(33);
}

std::string Narrow(LPCWSTR s) { return s ? platform::Utf16ToUtf8(s) : std::string(); }

}  // namespace

namespace platform {

bool RuntimeFolder(std::string& folder) {
  if (const char* over = std::getenv("PLATFORM_RUNTIME_DIR"); over && *over) {
    folder = over;
  } else if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg) {
    folder = std::string(xdg) + "/mmsplatform";
  } else {
    folder = "/tmp/mmsplatform-" + std::to_string(::getuid());
  }
  if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
    SetLastErrorFromErrno();
    return false;
  }
  struct stat st {};
  if (::lstat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::getuid() ||
      (st.st_mode & 0777) != 0700) {
    SetLastError(ERROR_ACCESS_DENIED);  // someone else's folder, or open to others: never use it
    return false;
  }
  return true;
}

void SetProgramStarter(ProgramStarter starter) {
  std::lock_guard<std::mutex> guard(gStarterMutex);
  gStarter = std::move(starter);
}

int StartProgram(const std::vector<std::string>& argv, const std::string& directory) {
  ProgramStarter starter;
  {
    std::lock_guard<std::mutex> guard(gStarterMutex);
    starter = gStarter;
  }
  return starter ? starter(argv, directory) : SpawnDetached(argv, directory);
}

std::vector<std::string> SplitCommandLine(const std::string& commandLine) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < commandLine.size()) {
    while (i < commandLine.size() && (commandLine[i] == ' ' || commandLine[i] == '\t')) ++i;
    if (i >= commandLine.size()) break;
    std::string arg;
    bool quoted = false;
    for (; i < commandLine.size(); ++i) {
      char c = commandLine[i];
      if (c == '"') {
        quoted = !quoted;
      } else if ((c == ' ' || c == '\t') && !quoted) {
        break;
      } else {
        arg += c;
      }
    }
    out.push_back(arg);
  }
  return out;
}

}  // namespace platform

HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES, BOOL, LPCSTR name) {
  if (!name || !*name) {
    HANDLE h = platform::AddHandle(platform::HandleKind::Mutex, std::make_shared<MutexObject>(-1));
    if (h) SetLastError(ERROR_SUCCESS);
    return h;
  }
  std::string folder;
  if (!platform::RuntimeFolder(folder)) return nullptr;
  std::string path = folder + "/mutex-" + EscapeName(name) + ".lock";
  // A link planted at the name is never followed, and only a regular file is a lock: nothing
  // outside the folder is created or locked in its place.
  int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
  if (fd < 0) {
    if (errno == ELOOP)
      SetLastError(ERROR_ACCESS_DENIED);
    else
      platform::SetLastErrorFromErrno();
    return nullptr;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return nullptr;
  }
  int rc;
  while ((rc = ::flock(fd, LOCK_EX | LOCK_NB)) != 0 && errno == EINTR) {
  }
  const bool heldElsewhere = rc != 0 && errno == EWOULDBLOCK;
  if (rc != 0 && !heldElsewhere) {
    platform::SetLastErrorFromErrno();
    ::close(fd);
    return nullptr;
  }
  HANDLE h = platform::AddHandle(platform::HandleKind::Mutex, std::make_shared<MutexObject>(fd));
  if (!h) return nullptr;
  SetLastError(heldElsewhere ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
  return h;
}

UINT WinExec(LPCSTR commandLine, UINT /*show*/) {
  std::string line = commandLine ? commandLine : "";
  std::vector<std::string> argv = platform::SplitCommandLine(line);
  if (argv.empty()) return ERROR_FILE_NOT_FOUND;
  std::string program = argv[0];
  std::string base = program.substr(program.find_last_of("/\\") + 1);
  for (char& c : base) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (base == "hh" || base == "hh.exe") {
    // The help viewer: the rest of the line is one path, blanks and all.
    std::size_t start = line.find(argv[0]) + argv[0].size();
    std::string rest = line.substr(start);
    rest.erase(0, rest.find_first_not_of(" \t"));
    rest.erase(rest.find_last_not_of(" \t") + 1);
    if (rest.size() >= 2 && rest.front() == '"' && rest.back() == '"') rest = rest.substr(1, rest.size() - 2);
    std::string file = platform::FsPath(rest.c_str());
    struct stat st {};
    if (file.empty() || ::stat(file.c_str(), &st) != 0) return ERROR_FILE_NOT_FOUND;
    argv = {"xdg-open", file};
  } else {
    argv[0] = platform::FsPath(argv[0].c_str());
  }
  int err = platform::StartProgram(argv, std::string());
  if (err == 0) return 33;
  if (err == ENOENT) return ERROR_FILE_NOT_FOUND;
  if (err == ENOTDIR) return ERROR_PATH_NOT_FOUND;
  return ERROR_BAD_FORMAT;
}

HINSTANCE ShellExecuteA(HWND__*, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory, int) {
  return Execute(verb ? verb : "", file ? file : "", parameters ? parameters : "",
                 directory ? directory : "");
}

HINSTANCE ShellExecuteW(HWND__*, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory, int) {
  return Execute(Narrow(verb), Narrow(file), Narrow(parameters), Narrow(directory));
}
