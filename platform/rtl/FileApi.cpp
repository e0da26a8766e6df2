// The function-level file API over POSIX calls.
#include "platform/rtl/FileApi.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/LastError.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

namespace {

class FileObject : public platform::KernelObject {
 public:
  explicit FileObject(int fd) : fd(fd) {}
  ~FileObject() override { ::close(fd); }
  const int fd;
};

std::shared_ptr<FileObject> FileOf(HANDLE h) {
  return platform::LookupHandleAs<FileObject>(h, platform::HandleKind::File);
}

HANDLE OpenFile(const std::string& path, DWORD access, DWORD disposition) {
  int flags = O_CLOEXEC;
  bool read = access & GENERIC_READ, write = access & GENERIC_WRITE;
  flags |= (read && write) ? O_RDWR : (write ? O_WRONLY : O_RDONLY);
  switch (disposition) {
    case CREATE_NEW:
      flags |= O_CREAT | O_EXCL;
      break;
    case CREATE_ALWAYS:
      flags |= O_CREAT | O_TRUNC;
      break;
    case OPEN_EXISTING:
      break;
    case OPEN_ALWAYS:
      flags |= O_CREAT;
      break;
    case TRUNCATE_EXISTING:
      flags |= O_TRUNC;
      break;
    default:
      SetLastError(ERROR_INVALID_PARAMETER);
      return INVALID_HANDLE_VALUE;
  }
  bool existed = ::access(path.c_str(), F_OK) == 0;
  int fd = ::open(path.c_str(), flags, 0666);
  if (fd < 0) {
    DWORD code = platform::SetLastErrorFromErrno();
    if (code == ERROR_ALREADY_EXISTS) SetLastError(ERROR_FILE_EXISTS);
    return INVALID_HANDLE_VALUE;
  }
  struct stat st {};
  if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
    ::close(fd);
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE h = platform::AddHandle(platform::HandleKind::File, std::make_shared<FileObject>(fd));
  if (!h) return INVALID_HANDLE_VALUE;
  // The classic functions report an overwritten or reopened existing file this way.
  SetLastError((existed && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS))
                   ? ERROR_ALREADY_EXISTS
                   : ERROR_SUCCESS);
  return h;
}

bool Check(int rc) {
  if (rc == 0) return true;
  platform::SetLastErrorFromErrno();
  return false;
}

bool Move(const std::string& from, const std::string& to) { return platform::RenameNoReplace(from, to); }

FILETIME FromTimespec(const struct timespec& ts) { return platform::FileTimeFromUnix(ts.tv_sec, ts.tv_nsec); }

// Birth time where the file system keeps it, else the last write.
FILETIME CreationTime(int dirfd, const char* name, const struct stat& st) {
  struct statx sx {};
  int flags = AT_SYMLINK_NOFOLLOW | (name[0] == 0 ? AT_EMPTY_PATH : 0);
  if (::statx(dirfd, name, flags, STATX_BTIME, &sx) == 0 && (sx.stx_mask & STATX_BTIME))
    return platform::FileTimeFromUnix(sx.stx_btime.tv_sec, sx.stx_btime.tv_nsec);
  return FromTimespec(st.st_mtim);
}

DWORD Attributes(const char* name, const struct stat& st, bool writable) {
  DWORD a = 0;
  if (S_ISDIR(st.st_mode))
    a |= FILE_ATTRIBUTE_DIRECTORY;
  else
    a |= FILE_ATTRIBUTE_ARCHIVE;
  // A file nobody may write is read-only even for a user the system lets write anyway.
  if (!writable || (st.st_mode & 0222) == 0) a |= FILE_ATTRIBUTE_READONLY;
  if (name[0] == '.' && std::strcmp(name, ".") != 0 && std::strcmp(name, "..") != 0)
    a |= FILE_ATTRIBUTE_HIDDEN;
  return a;
}

// One search: the open folder and the mask.
class SearchObject : public platform::KernelObject {
 public:
  SearchObject(DIR* dir, std::u16string mask) : dir(dir), mask(std::move(mask)) {}
  ~SearchObject() override { ::closedir(dir); }
  DIR* const dir;
  const std::u16string mask;
};

struct Found {
  std::string name;
  DWORD attributes;
  FILETIME creation, access, write;
  std::uint64_t size;
};

// The next entry matching the mask, or false at the end.
bool NextMatch(SearchObject& s, Found& out) {
  for (;;) {
    errno = 0;
    struct dirent* e = ::readdir(s.dir);
    if (!e) return false;
    std::u16string name16 = platform::Utf8ToUtf16(e->d_name);
    if (!platform::MatchesMask(name16.c_str(), s.mask.c_str())) continue;
    struct stat st {};
    int dfd = ::dirfd(s.dir);
    if (::fstatat(dfd, e->d_name, &st, 0) != 0) continue;  // vanished or a dangling link
    out.name = e->d_name;
    out.attributes = Attributes(e->d_name, st, ::faccessat(dfd, e->d_name, W_OK, 0) == 0);
    out.creation = CreationTime(dfd, e->d_name, st);
    out.access = FromTimespec(st.st_atim);
    out.write = FromTimespec(st.st_mtim);
    out.size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
    return true;
  }
}

template <typename Data, typename C>
void Fill(const Found& f, Data* data, const std::basic_string<C>& name) {
  std::memset(data, 0, sizeof *data);
  data->dwFileAttributes = f.attributes;
  data->ftCreationTime = f.creation;
  data->ftLastAccessTime = f.access;
  data->ftLastWriteTime = f.write;
  data->nFileSizeHigh = static_cast<DWORD>(f.size >> 32);
  data->nFileSizeLow = static_cast<DWORD>(f.size & 0xFFFFFFFFu);
  std::size_t n = std::min<std::size_t>(name.size(), 259);  // names are at most 255 bytes here
  std::copy(name.begin(), name.begin() + static_cast<std::ptrdiff_t>(n), data->cFileName);
}

HANDLE StartSearch(const std::string& pattern, Found& first) {
  std::size_t slash = pattern.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : pattern.substr(0, slash));
  std::string mask = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
  if (mask.empty()) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) {
    SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                     : platform::ErrorFromErrno(errno));
    return INVALID_HANDLE_VALUE;
  }
  auto search = std::make_shared<SearchObject>(dir, platform::Utf8ToUtf16(mask));
  if (!NextMatch(*search, first)) {
    SetLastError(ERROR_FILE_NOT_FOUND);
    return INVALID_HANDLE_VALUE;
  }
  HANDLE h = platform::AddHandle(platform::HandleKind::FindSearch, search);
  return h ? h : INVALID_HANDLE_VALUE;
}

bool ContinueSearch(HANDLE h, Found& next) {
  auto search = platform::LookupHandleAs<SearchObject>(h, platform::HandleKind::FindSearch);
  if (!search) return false;
  if (!NextMatch(*search, next)) {
    SetLastError(ERROR_NO_MORE_FILES);
    return false;
  }
  return true;
}

std::string Lexical(const std::string& fsPath) { return ExpandFileName(AnsiString(fsPath)).ToStd(); }

template <typename C>
DWORD CopyOut(const std::basic_string<C>& text, DWORD size, C* buffer) {
  if (!buffer || text.size() + 1 > size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return static_cast<DWORD>(text.size() + 1);
  }
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = 0;
  return static_cast<DWORD>(text.size());
}

std::string CurrentDirectory() {
  std::vector<char> buf(4096);
  while (!::getcwd(buf.data(), buf.size())) {
    if (errno != ERANGE || buf.size() > (1u << 20)) {
      platform::SetLastErrorFromErrno();
      return std::string();
    }
    buf.resize(buf.size() * 2);
  }
  return buf.data();
}

}  // namespace

namespace platform {

bool MatchesMask(const char16_t* name, const char16_t* mask) {
  auto lower = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; };
  if (mask[0] == u'*' && mask[1] == u'.' && mask[2] == u'*' && mask[3] == 0) return true;  // every name
  // Iterative matching with one backtrack point for the last "*".
  const char16_t* star = nullptr;
  const char16_t* resume = nullptr;
  while (*name) {
    if (*mask == u'*') {
      star = mask++;
      resume = name;
    } else if (*mask == u'?' || (*mask && lower(*mask) == lower(*name))) {
      ++mask;
      ++name;
    } else if (star) {
      mask = star + 1;
      name = ++resume;
    } else {
      return false;
    }
  }
  while (*mask == u'*') ++mask;
  return *mask == 0;
}

DWORD AttributesOf(const std::string& fsPath) {
  struct stat st {};
  if (::stat(fsPath.c_str(), &st) != 0) {
    SetLastErrorFromErrno();
    return INVALID_FILE_ATTRIBUTES;
  }
  std::string base = fsPath.substr(fsPath.find_last_of('/') + 1);
  return Attributes(base.c_str(), st, ::access(fsPath.c_str(), W_OK) == 0);
}

}  // namespace platform

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD,
                   HANDLE) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  return OpenFile(platform::FsPath(name), access, disposition);
}

HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD, LPSECURITY_ATTRIBUTES, DWORD disposition, DWORD,
                   HANDLE) {
  if (!name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return INVALID_HANDLE_VALUE;
  }
  return OpenFile(platform::FsPath(name), access, disposition);
}

BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, void*) {
  auto f = FileOf(file);
  if (read) *read = 0;
  if (!f) return FALSE;
  DWORD done = 0;
  while (done < toRead) {
    ssize_t r = ::read(f->fd, static_cast<char*>(buffer) + done, toRead - done);
    if (r < 0) {
      if (errno == EINTR) continue;
      platform::SetLastErrorFromErrno();
      if (read) *read = done;
      return FALSE;
    }
    if (r == 0) break;
    done += static_cast<DWORD>(r);
  }
  if (read) *read = done;
  return TRUE;
}

BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, void*) {
  auto f = FileOf(file);
  if (written) *written = 0;
  if (!f) return FALSE;
  DWORD done = 0;
  while (done < toWrite) {
    ssize_t w = ::write(f->fd, static_cast<const char*>(buffer) + done, toWrite - done);
    if (w < 0) {
      if (errno == EINTR) continue;
      platform::SetLastErrorFromErrno();
      if (written) *written = done;
      return FALSE;
    }
    done += static_cast<DWORD>(w);
  }
  if (written) *written = done;
  return TRUE;
}

DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method) {
  auto f = FileOf(file);
  if (!f) return INVALID_SET_FILE_POINTER;
  std::int64_t offset =
      distanceHigh ? (static_cast<std::int64_t>(*distanceHigh) << 32) | static_cast<std::uint32_t>(distance)
                   : distance;
  int whence = method == FILE_CURRENT ? SEEK_CUR : (method == FILE_END ? SEEK_END : SEEK_SET);
  off_t r = ::lseek(f->fd, offset, whence);
  if (r < 0) {
    SetLastError(ERROR_INVALID_PARAMETER);  // a position before the start
    return INVALID_SET_FILE_POINTER;
  }
  if (distanceHigh) *distanceHigh = static_cast<LONG>(r >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(r & 0xFFFFFFFF);
}

DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh) {
  auto f = FileOf(file);
  if (!f) return INVALID_FILE_SIZE;
  struct stat st {};
  if (::fstat(f->fd, &st) != 0) {
    platform::SetLastErrorFromErrno();
    return INVALID_FILE_SIZE;
  }
  if (sizeHigh) *sizeHigh = static_cast<DWORD>(static_cast<std::uint64_t>(st.st_size) >> 32);
  SetLastError(ERROR_SUCCESS);
  return static_cast<DWORD>(static_cast<std::uint64_t>(st.st_size) & 0xFFFFFFFFu);
}

BOOL FlushFileBuffers(HANDLE file) {
  auto f = FileOf(file);
  return f && Check(::fsync(f->fd)) ? TRUE : FALSE;
}

BOOL GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite) {
  auto f = FileOf(file);
  if (!f) return FALSE;
  struct stat st {};
  if (::fstat(f->fd, &st) != 0) return Check(-1) ? TRUE : FALSE;
  if (creation) *creation = CreationTime(f->fd, "", st);
  if (lastAccess) *lastAccess = FromTimespec(st.st_atim);
  if (lastWrite) *lastWrite = FromTimespec(st.st_mtim);
  return TRUE;
}

BOOL DeleteFileA(LPCSTR name) {
  return name && DeleteFile(AnsiString(platform::FsPath(name))) ? TRUE : FALSE;
}
BOOL DeleteFileW(LPCWSTR name) {
  return name && DeleteFile(AnsiString(platform::FsPath(name))) ? TRUE : FALSE;
}
BOOL MoveFileA(LPCSTR from, LPCSTR to) {
  return from && to && Move(platform::FsPath(from), platform::FsPath(to)) ? TRUE : FALSE;
}
BOOL MoveFileW(LPCWSTR from, LPCWSTR to) {
  return from && to && Move(platform::FsPath(from), platform::FsPath(to)) ? TRUE : FALSE;
}
BOOL CreateDirectoryA(LPCSTR name, LPSECURITY_ATTRIBUTES) {
  return name && Check(::mkdir(platform::FsPath(name).c_str(), 0777)) ? TRUE : FALSE;
}
BOOL CreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES) {
  return name && Check(::mkdir(platform::FsPath(name).c_str(), 0777)) ? TRUE : FALSE;
}
BOOL RemoveDirectoryA(LPCSTR name) {
  return name && Check(::rmdir(platform::FsPath(name).c_str())) ? TRUE : FALSE;
}
BOOL RemoveDirectoryW(LPCWSTR name) {
  return name && Check(::rmdir(platform::FsPath(name).c_str())) ? TRUE : FALSE;
}
DWORD GetFileAttributesA(LPCSTR name) {
  return name ? platform::AttributesOf(platform::FsPath(name)) : INVALID_FILE_ATTRIBUTES;
}
DWORD GetFileAttributesW(LPCWSTR name) {
  return name ? platform::AttributesOf(platform::FsPath(name)) : INVALID_FILE_ATTRIBUTES;
}

HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data) {
  Found f;
  HANDLE h = pattern && data ? StartSearch(platform::FsPath(pattern), f) : INVALID_HANDLE_VALUE;
  if (h != INVALID_HANDLE_VALUE) Fill(f, data, f.name);
  return h;
}

HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data) {
  Found f;
  HANDLE h = pattern && data ? StartSearch(platform::FsPath(pattern), f) : INVALID_HANDLE_VALUE;
  if (h != INVALID_HANDLE_VALUE) Fill(f, data, platform::Utf8ToUtf16(f.name));
  return h;
}

BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data) {
  Found f;
  if (!data || !ContinueSearch(search, f)) return FALSE;
  Fill(f, data, f.name);
  return TRUE;
}

BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data) {
  Found f;
  if (!data || !ContinueSearch(search, f)) return FALSE;
  Fill(f, data, platform::Utf8ToUtf16(f.name));
  return TRUE;
}

BOOL FindClose(HANDLE search) {
  return platform::RemoveHandle(search, platform::HandleKind::FindSearch) ? TRUE : FALSE;
}

DWORD GetFullPathNameA(LPCSTR name, DWORD size, LPSTR buffer, LPSTR* filePart) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::string full = Lexical(platform::FsPath(name));
  DWORD n = CopyOut(full, size, buffer);
  if (filePart && n < size) {
    std::size_t slash = full.find_last_of('/');
    *filePart = slash + 1 < full.size() ? buffer + slash + 1 : nullptr;
  }
  return n;
}

DWORD GetFullPathNameW(LPCWSTR name, DWORD size, LPWSTR buffer, LPWSTR* filePart) {
  if (!name || !*name) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string full = platform::Utf8ToUtf16(Lexical(platform::FsPath(name)));
  DWORD n = CopyOut(full, size, buffer);
  if (filePart && n < size) {
    std::size_t slash = full.find_last_of(u'/');
    *filePart = slash + 1 < full.size() ? buffer + slash + 1 : nullptr;
  }
  return n;
}

namespace {

// There are no short names: an existing path is its own short form, handed back as given.
template <class Char>
DWORD ShortPath(const Char* longPath, Char* shortPath, DWORD size) {
  if (!longPath || !*longPath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  struct stat st {};
  if (::stat(platform::FsPath(longPath).c_str(), &st) != 0) {
    SetLastError(errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : platform::ErrorFromErrno(errno));
    return 0;
  }
  std::basic_string<Char> path(longPath);
  if (!shortPath || size <= path.size()) return static_cast<DWORD>(path.size() + 1);
  std::copy(path.c_str(), path.c_str() + path.size() + 1, shortPath);
  return static_cast<DWORD>(path.size());
}

}  // namespace

DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size) {
  return ShortPath(longPath, shortPath, size);
}

DWORD GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD size) {
  return ShortPath(longPath, shortPath, size);
}

DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer) {
  std::string cwd = CurrentDirectory();
  return cwd.empty() ? 0 : CopyOut(cwd, size, buffer);
}

DWORD GetCurrentDirectoryW(DWORD size, LPWSTR buffer) {
  std::string cwd = CurrentDirectory();
  return cwd.empty() ? 0 : CopyOut(platform::Utf8ToUtf16(cwd), size, buffer);
}

BOOL SetCurrentDirectoryA(LPCSTR path) {
  return path && Check(::chdir(platform::FsPath(path).c_str())) ? TRUE : FALSE;
}
BOOL SetCurrentDirectoryW(LPCWSTR path) {
  return path && Check(::chdir(platform::FsPath(path).c_str())) ? TRUE : FALSE;
}
