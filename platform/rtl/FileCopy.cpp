// Copying files, changing their attributes, and the folder for temporary files.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/FileApi.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

namespace {

bool ReadWhole(const std::string& path, std::vector<char>& bytes, mode_t& mode) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    platform::SetLastErrorFromErrno();
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    if (S_ISDIR(st.st_mode))
      SetLastError(ERROR_ACCESS_DENIED);
    else
      platform::SetLastErrorFromErrno();
    ::close(fd);
    return false;
  }
  mode = st.st_mode & 07777;
  char chunk[65536];
  while (true) {
    ssize_t n = ::read(fd, chunk, sizeof chunk);
    if (n < 0) {
      platform::SetLastErrorFromErrno();
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.insert(bytes.end(), chunk, chunk + n);
  }
  ::close(fd);
  return true;
}

BOOL Copy(const std::string& from, const std::string& to, BOOL failIfExists) {
  if (from.empty() || to.empty()) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  if (failIfExists && ::access(to.c_str(), F_OK) == 0) {
    SetLastError(ERROR_FILE_EXISTS);
    return FALSE;
  }
  std::vector<char> bytes;
  mode_t mode = 0644;
  if (!ReadWhole(from, bytes, mode)) return FALSE;
  if (!platform::WriteFileReplacing(to, bytes.data(), bytes.size())) return FALSE;
  ::chmod(to.c_str(), mode);
  return TRUE;
}

BOOL SetAttributes(const std::string& path, DWORD attributes) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    platform::SetLastErrorFromErrno();
    return FALSE;
  }
  mode_t mode = st.st_mode & 07777;
  mode = (attributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~mode_t{0222}) : (mode | S_IWUSR);
  if (::chmod(path.c_str(), mode) != 0) {
    platform::SetLastErrorFromErrno();
    return FALSE;
  }
  return TRUE;
}

std::string TempFolder() {
  const char* dir = std::getenv("TMPDIR");
  std::string folder = dir && *dir ? dir : P_tmpdir;
  if (folder.empty() || folder.back() != '/') folder += '/';
  return folder;
}

template <class Char>
DWORD CopyPath(const std::basic_string<Char>& path, DWORD size, Char* buffer) {
  if (path.size() + 1 > size || !buffer) return static_cast<DWORD>(path.size() + 1);
  std::copy(path.begin(), path.end(), buffer);
  buffer[path.size()] = Char{};
  return static_cast<DWORD>(path.size());
}

}  // namespace

BOOL CopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists) {
  if (!from || !to) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return Copy(platform::FsPath(from), platform::FsPath(to), failIfExists);
}

BOOL CopyFileW(LPCWSTR from, LPCWSTR to, BOOL failIfExists) {
  if (!from || !to) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return Copy(platform::FsPath(from), platform::FsPath(to), failIfExists);
}

BOOL SetFileAttributesA(LPCSTR name, DWORD attributes) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return SetAttributes(platform::FsPath(name), attributes);
}

BOOL SetFileAttributesW(LPCWSTR name, DWORD attributes) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return SetAttributes(platform::FsPath(name), attributes);
}

DWORD GetTempPathA(DWORD size, LPSTR buffer) {
  return CopyPath(platform::Utf16ToMultiByte(platform::Utf8ToUtf16(TempFolder())), size, buffer);
}

DWORD GetTempPathW(DWORD size, LPWSTR buffer) {
  return CopyPath(platform::Utf8ToUtf16(TempFolder()), size, reinterpret_cast<char16_t*>(buffer));
}
