#include "editor/WorkingArea.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace workarea {

namespace {

constexpr int kFolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;
// The lock file in tmp/: no working folder is named so, and the clean-up never reaches tmp/
// itself.
constexpr const char* kLockName = ".editor.lock";

int lockFd = -1;

struct CloseListing {
  void operator()(DIR* dir) const { ::closedir(dir); }
};

// The names in a folder but "." and "..".
std::vector<std::string> NamesIn(int folder) {
  std::vector<std::string> names;
  const int copy = ::dup(folder);
  if (copy < 0) return names;
  // A listing takes the copy over: closing the listing closes the copy.
  const std::unique_ptr<DIR, CloseListing> dir(::fdopendir(copy));
  if (!dir) {
    ::close(copy);
    return names;
  }
  ::rewinddir(dir.get());
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string name = entry->d_name;
    if (name != "." && name != "..") names.push_back(name);
  }
  return names;
}

bool IsFolder(int parent, const char* name) {
  struct stat st {};
  return ::fstatat(parent, name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

int OwnFolder(int parent, const char* name) {
  for (int attempt = 0; attempt < 3; ++attempt) {
    const int fd = ::openat(parent, name, kFolderFlags);
    if (fd >= 0) return fd;
    if (errno == ENOENT) {
      if (::mkdirat(parent, name, 0700) != 0 && errno != EEXIST) return -1;
      continue;
    }
    // A link (ELOOP) or a file (ENOTDIR) at the folder's name: it goes, the folder comes.
    if (errno != ELOOP && errno != ENOTDIR) return -1;
    if (IsFolder(parent, name) || ::unlinkat(parent, name, 0) != 0) return -1;
  }
  return -1;
}

void DeleteFilesIn(int folder) {
  for (const std::string& name : NamesIn(folder)) {
    // A subfolder stays (with what it holds); a link is removed as the entry it is.
    if (!IsFolder(folder, name.c_str())) ::unlinkat(folder, name.c_str(), 0);
  }
}

void TruncateFilesIn(int folder) {
  for (const std::string& name : NamesIn(folder)) {
    const int fd = ::openat(folder, name.c_str(), O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::ftruncate(fd, 0) == 0) {
      const char zero = 0;
      if (::write(fd, &zero, 1) != 1) {
        // A text that cannot be rewritten is deleted next anyway.
      }
    }
    ::close(fd);
  }
}

bool WriteOwnFile(const AnsiString& folderPath, const char* name, const void* data, std::size_t size) {
  const int folder = ::open(platform::FsPath(folderPath).c_str(), kFolderFlags);
  if (folder < 0) return false;
  // Renamed over whatever stands at the name (a link as the link; an empty folder is not ours
  // either), so a failed write leaves the old file as it was.
  platform::ReplaceOptions options;
  options.mode = 0600;
  options.overEmptyFolder = true;
  const bool whole = platform::WriteFileReplacingAt(folder, name, data, size, options);
  ::close(folder);
  return whole;
}

bool ClaimWorkingArea(const AnsiString& appFolder) {
  ReleaseWorkingArea();
  const int root = OwnFolder(AT_FDCWD, platform::FsPath(appFolder + "tmp").c_str());
  if (root < 0) return true;  // no working folder can be made: the editor's saves will say so
  int fd = -1;
  for (int attempt = 0; attempt < 2 && fd < 0; ++attempt) {
    fd = ::openat(root, kLockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    struct stat st {};
    if (fd >= 0 && ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode)) break;
    // Whatever else stands at the lock's name (a link above all) is not ours: it goes.
    if (fd >= 0) ::close(fd);
    fd = -1;
    if (::unlinkat(root, kLockName, 0) != 0) ::unlinkat(root, kLockName, AT_REMOVEDIR);
  }
  ::close(root);
  if (fd < 0) return true;
  if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
    const bool held = errno == EWOULDBLOCK;
    ::close(fd);
    return !held;
  }
  lockFd = fd;
  return true;
}

void ReleaseWorkingArea() {
  if (lockFd < 0) return;
  ::close(lockFd);
  lockFd = -1;
}

}  // namespace workarea
