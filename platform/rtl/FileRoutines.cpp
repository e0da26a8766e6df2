// File-system routines over POSIX calls.
#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <random>
#include <string>

#include "platform/rtl/LastError.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

namespace platform {

std::string FsPath(const char* path) {
  std::string out(path ? path : "");
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

std::string FsPath(const char16_t* path) {
  std::string out = path ? Utf16ToUtf8(path) : std::string();
  for (char& c : out)
    if (c == '\\') c = '/';
  return out;
}

namespace {

// Closes a descriptor on every path out of a function.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  int release() {
    int f = fd_;
    fd_ = -1;
    return f;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* p, std::size_t n) {
  while (n > 0) {
    ssize_t w = ::write(fd, p, n);
    if (w < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    p += w;
    n -= static_cast<std::size_t>(w);
  }
  return true;
}

}  // namespace

bool ReadWholeFile(const std::string& fsPath, std::string& contents, std::size_t limit) {
  contents.clear();
  // Without O_NONBLOCK opening a FIFO waits for a writer; anything but a regular file is refused
  // before a read could wait for ever (a FIFO, a terminal) or never end (a device).
  Fd fd(::open(fsPath.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (fd.get() < 0) {
    SetLastErrorFromErrno();
    return false;
  }
  struct stat st {};
  if (::fstat(fd.get(), &st) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);  // a folder, a FIFO, a socket or a device is no file to read
    return false;
  }
  if (static_cast<unsigned long long>(st.st_size) > limit) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return false;
  }
  contents.reserve(static_cast<std::size_t>(st.st_size));
  char buffer[65536];
  for (;;) {
    ssize_t r = ::read(fd.get(), buffer, sizeof buffer);
    if (r < 0) {
      if (errno == EINTR) continue;
      SetLastErrorFromErrno();
      contents.clear();
      return false;
    }
    if (r == 0) break;
    if (contents.size() + static_cast<std::size_t>(r) > limit) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      contents.clear();
      return false;
    }
    contents.append(buffer, static_cast<std::size_t>(r));
  }
  return true;
}

namespace {

// The file a path names once symbolic links in its last part are followed (a dangling link
// names the file it would create). A save replaces that file and keeps the links.
bool FollowLinks(std::string& path) {
  for (int depth = 0; depth < 40; ++depth) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
    std::string target(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n < 0 || static_cast<std::size_t>(n) >= target.size()) return false;
    target.resize(static_cast<std::size_t>(n));
    if (target.empty()) return false;
    if (target[0] != '/') {
      const std::size_t slash = path.find_last_of('/');
      if (slash != std::string::npos) target = path.substr(0, slash + 1) + target;
    }
    path = std::move(target);
  }
  errno = ELOOP;
  return false;
}

constexpr std::time_t kStaleTemporarySeconds = 60;
// The pid of a temporary's name is at most this long (Linux pids stay under 2^22).
constexpr std::size_t kPidDigits = 10;

// The part of a target's name its temporaries show: the whole name while ".<name>.<pid>.<8 hex>.tmp"
// fits the folder's limit on names, else as many whole characters from its start as fit. The
// pid and the random part always stay whole, so a legal name of the longest length can be saved.
std::string TemporaryStem(int folder, const std::string& name) {
  long nameMax = ::fpathconf(folder, _PC_NAME_MAX);
  if (nameMax <= 0) nameMax = 255;
  const std::size_t fixed = 1 + 1 + kPidDigits + 1 + 8 + 4;  // "." "." pid "." hex ".tmp"
  const std::size_t room = std::size_t(nameMax) > fixed ? std::size_t(nameMax) - fixed : 1;
  if (name.size() <= room) return name;
  std::size_t cut = room;
  // Never end inside a UTF-8 sequence: step back over continuation bytes.
  while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) --cut;
  return name.substr(0, cut);
}

// A killed save leaves its temporary ".<stem>.<pid>.<random>.tmp" behind. Those of the same
// target older than a minute whose writer no longer runs are removed.
void RemoveStaleTemporaries(const std::string& folder, const std::string& stem) {
  DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
  if (!dir) return;
  const std::string prefix = "." + stem + ".";
  const std::time_t now = std::time(nullptr);
  while (dirent* entry = ::readdir(dir)) {
    const std::string entryName = entry->d_name;
    if (entryName.size() <= prefix.size() + 4 || entryName.compare(0, prefix.size(), prefix) != 0 ||
        entryName.compare(entryName.size() - 4, 4, ".tmp") != 0)
      continue;
    // What lies between is "<pid>.<8 hex digits>"; anything else is not ours.
    const std::string middle = entryName.substr(prefix.size(), entryName.size() - prefix.size() - 4);
    const std::size_t dot = middle.find('.');
    if (dot == 0 || dot == std::string::npos || middle.size() - dot - 1 != 8 ||
        middle.find_first_not_of("0123456789") != dot ||
        middle.find_first_not_of("0123456789abcdef", dot + 1) != std::string::npos)
      continue;
    const long pid = std::strtol(middle.c_str(), nullptr, 10);
    const std::string path = folder + entryName;
    struct stat st {};
    if (pid <= 0 || ::lstat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
        now - st.st_mtime < kStaleTemporarySeconds)
      continue;
    if (::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) continue;  // its writer still runs
    ::unlink(path.c_str());
  }
  ::closedir(dir);
}

}  // namespace

bool WriteFileReplacingAt(int folder, const std::string& name, const void* data, std::size_t size,
                          const ReplaceOptions& options) {
  const std::string stem = TemporaryStem(folder, name);
  std::random_device rd;
  std::string temp;
  int raw = -1;
  for (int attempt = 0; attempt < 100 && raw < 0; ++attempt) {
    char suffix[32];
    std::snprintf(suffix, sizeof suffix, "%ld.%08x", static_cast<long>(::getpid()),
                  static_cast<unsigned>(rd()));
    temp = "." + stem + "." + suffix + ".tmp";
    raw = ::openat(folder, temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, options.mode);
    if (raw < 0 && errno != EEXIST) break;
  }
  if (raw < 0) {
    SetLastErrorFromErrno();
    return false;
  }
  Fd fd(raw);
  bool whole = (!options.exactMode || ::fchmod(fd.get(), options.mode) == 0) &&
               WriteAll(fd.get(), static_cast<const char*>(data), size) && ::fsync(fd.get()) == 0;
  whole = ::close(fd.release()) == 0 && whole;
  if (whole && ::renameat(folder, temp.c_str(), folder, name.c_str()) != 0) {
    whole = options.overEmptyFolder && (errno == EISDIR || errno == ENOTEMPTY || errno == EEXIST) &&
            ::unlinkat(folder, name.c_str(), AT_REMOVEDIR) == 0 &&
            ::renameat(folder, temp.c_str(), folder, name.c_str()) == 0;
  }
  if (!whole) {
    SetLastErrorFromErrno();
    ::unlinkat(folder, temp.c_str(), 0);
  }
  return whole;
}

bool WriteFileReplacing(const std::string& fsPath, const void* data, std::size_t size) {
  std::string target = fsPath;
  if (!FollowLinks(target)) {
    SetLastErrorFromErrno();
    return false;
  }
  std::size_t slash = target.find_last_of('/');
  std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
  std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
  Fd folderFd(::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folderFd.get() < 0) {
    SetLastErrorFromErrno();
    return false;
  }
  // A replaced file keeps its permission bits; a new one gets what the umask leaves of 0666.
  struct stat st {};
  ReplaceOptions options;
  if (::stat(target.c_str(), &st) == 0) {
    options.mode = st.st_mode & 07777;
    options.exactMode = true;
  }
  RemoveStaleTemporaries(folder, TemporaryStem(folderFd.get(), name));
  return WriteFileReplacingAt(folderFd.get(), name, data, size, options);
}

void IgnoreFileSizeSignal() {
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  sigemptyset(&ignore.sa_mask);
  ::sigaction(SIGXFSZ, &ignore, nullptr);
}

// One step that never replaces an existing entry: renameat2 with RENAME_NOREPLACE, or where the
// file system refuses that, a hard link to the new name (which fails on an existing one) and the
// removal of the old name.
bool RenameNoReplace(const std::string& from, const std::string& to) {
  if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS && errno != ENOTSUP) {
    SetLastErrorFromErrno();
    return false;
  }
  struct stat st {};
  if (::lstat(from.c_str(), &st) != 0) {
    SetLastErrorFromErrno();
    return false;
  }
  if (!S_ISDIR(st.st_mode)) {
    if (::link(from.c_str(), to.c_str()) == 0) {
      ::unlink(from.c_str());
      return true;
    }
    if (errno != EPERM && errno != ENOTSUP && errno != EOPNOTSUPP) {
      SetLastErrorFromErrno();
      return false;
    }
  }
  // A folder, or a file system with neither: the check and the rename are two steps here.
  if (::lstat(to.c_str(), &st) == 0) {
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  if (::rename(from.c_str(), to.c_str()) == 0) return true;
  SetLastErrorFromErrno();
  return false;
}

}  // namespace platform

namespace {

bool StatPath(const AnsiString& name, struct stat& st) {
  if (::stat(platform::FsPath(name).c_str(), &st) == 0) return true;
  platform::SetLastErrorFromErrno();
  return false;
}

bool Check(int result) {
  if (result == 0) return true;
  platform::SetLastErrorFromErrno();
  return false;
}

}  // namespace

bool FileExists(const AnsiString& fileName) {
  struct stat st {};
  return !fileName.IsEmpty() && StatPath(fileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const AnsiString& name) {
  struct stat st {};
  return !name.IsEmpty() && StatPath(name, st) && S_ISDIR(st.st_mode);
}

bool CreateDir(const AnsiString& dir) { return Check(::mkdir(platform::FsPath(dir).c_str(), 0777)); }

bool RemoveDir(const AnsiString& dir) { return Check(::rmdir(platform::FsPath(dir).c_str())); }

bool ForceDirectories(const AnsiString& dir) {
  std::string path = platform::FsPath(ExcludeTrailingPathDelimiter(dir));
  if (path.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return false;
  }
  struct stat st {};
  if (::stat(path.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return true;
    SetLastError(ERROR_ALREADY_EXISTS);
    return false;
  }
  std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !ForceDirectories(AnsiString(path.substr(0, slash))))
    return false;
  if (::mkdir(path.c_str(), 0777) == 0 || errno == EEXIST) return DirectoryExists(AnsiString(path));
  platform::SetLastErrorFromErrno();
  return false;
}

bool DeleteFile(const AnsiString& fileName) {
  std::string path = platform::FsPath(fileName);
  struct stat st {};
  if (::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode)) {
    SetLastError(ERROR_ACCESS_DENIED);  // a folder is not a file
    return false;
  }
  return Check(::unlink(path.c_str()));
}

bool RenameFile(const AnsiString& oldName, const AnsiString& newName) {
  // The classic rename never replaces a file, not even one created at the same moment.
  return platform::RenameNoReplace(platform::FsPath(oldName), platform::FsPath(newName));
}

int FileOpen(const AnsiString& fileName, unsigned mode) {
  int flags = O_CLOEXEC;
  switch (mode & 3) {
    case fmOpenWrite:
      flags |= O_WRONLY;
      break;
    case fmOpenReadWrite:
      flags |= O_RDWR;
      break;
    default:
      flags |= O_RDONLY;
  }
  std::string path = platform::FsPath(fileName);
  int fd = ::open(path.c_str(), flags);
  if (fd < 0) {
    platform::SetLastErrorFromErrno();
    return -1;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {  // a folder is no file
    ::close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return -1;
  }
  return fd;
}

int FileCreate(const AnsiString& fileName) {
  int fd = ::open(platform::FsPath(fileName).c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
  if (fd < 0) platform::SetLastErrorFromErrno();
  return fd;
}

int FileRead(int handle, void* buffer, unsigned count) {
  for (;;) {
    ssize_t r = ::read(handle, buffer, count);
    if (r >= 0) return static_cast<int>(r);
    if (errno != EINTR) {
      platform::SetLastErrorFromErrno();
      return -1;
    }
  }
}

int FileWrite(int handle, const void* buffer, unsigned count) {
  for (;;) {
    ssize_t w = ::write(handle, buffer, count);
    if (w >= 0) return static_cast<int>(w);
    if (errno != EINTR) {
      platform::SetLastErrorFromErrno();
      return -1;
    }
  }
}

long long FileSeek(int handle, long long offset, int origin) {
  int whence = origin == 1 ? SEEK_CUR : (origin == 2 ? SEEK_END : SEEK_SET);
  off_t r = ::lseek(handle, static_cast<off_t>(offset), whence);
  if (r < 0) platform::SetLastErrorFromErrno();
  return r;
}

void FileClose(int handle) {
  if (handle >= 0) ::close(handle);
}
