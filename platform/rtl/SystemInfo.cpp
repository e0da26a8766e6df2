// System information over the C library and the kernel's views of mounts and disks.
#include "platform/rtl/SystemInfo.h"

#include <dirent.h>
#include <fcntl.h>
#include <limits.h>
#include <pwd.h>
#include <stdlib.h>
#include <sys/statfs.h>
#include <sys/statvfs.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"

namespace {

constexpr DWORD kMaxPath = 260;

template <class R>
R Unsupported(R result) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return result;
}

std::u16string Wide(const std::string& utf8) { return platform::Utf8ToUtf16(utf8); }
std::string Narrow(const std::u16string& s) { return platform::Utf16ToMultiByte(s); }
std::u16string FromNarrow(LPCSTR s) { return platform::MultiByteToUtf16(s ? s : ""); }

// A path argument as the file system takes it; null means the current folder.
std::string Root(const std::u16string* root) { return root ? platform::FsPath(root->c_str()) : "."; }

// Copies a name with its terminator when the caller's *size units hold it; else *size gets the
// size needed and the call fails with `tooSmall`. `countTerminator`: the size reported on
// success includes the terminator.
template <class Char>
BOOL NameOut(const std::basic_string<Char>& name, Char* buffer, LPDWORD size, DWORD tooSmall,
             bool countTerminator) {
  if (!size) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const auto needed = static_cast<DWORD>(name.size() + 1);
  if (!buffer || *size < needed) {
    *size = needed;
    SetLastError(tooSmall);
    return FALSE;
  }
  std::copy(name.begin(), name.end(), buffer);
  buffer[name.size()] = Char{};
  *size = countTerminator ? needed : needed - 1;
  return TRUE;
}

bool HostName(std::string& out) {
  char name[HOST_NAME_MAX + 1] = {};
  if (::gethostname(name, sizeof name - 1) != 0) {
    platform::SetLastErrorFromErrno();
    return false;
  }
  out = name;
  return true;
}

bool UserName(std::string& out) {
  std::vector<char> buffer(1024);
  for (;;) {
    struct passwd entry {};
    struct passwd* found = nullptr;
    int rc = ::getpwuid_r(::geteuid(), &entry, buffer.data(), buffer.size(), &found);
    if (rc == ERANGE && buffer.size() < (std::size_t{1} << 20)) {
      buffer.resize(buffer.size() * 2);
      continue;
    }
    if (rc != 0 || !found || !found->pw_name) {
      SetLastError(rc != 0 && rc != ENOENT ? platform::ErrorFromErrno(rc) : ERROR_NONE_MAPPED);
      return false;
    }
    out = found->pw_name;
    return true;
  }
}

BOOL DiskFreeSpace(const std::string& path, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                   LPDWORD freeClusters, LPDWORD totalClusters) {
  struct statvfs st {};
  if (::statvfs(path.c_str(), &st) != 0) {
    platform::SetLastErrorFromErrno();
    return FALSE;
  }
  const unsigned long long fragment = st.f_frsize ? st.f_frsize : st.f_bsize;
  const unsigned long long total = st.f_blocks * fragment, available = st.f_bavail * fragment;
  unsigned long long cluster = fragment ? fragment : 512;
  while (total / cluster > 0xFFFFFFFFull) cluster *= 2;
  const unsigned long long sector = cluster % 512 == 0 ? 512 : cluster;
  if (sectorsPerCluster) *sectorsPerCluster = static_cast<DWORD>(cluster / sector);
  if (bytesPerSector) *bytesPerSector = static_cast<DWORD>(sector);
  if (freeClusters) *freeClusters = static_cast<DWORD>(available / cluster);
  if (totalClusters) *totalClusters = static_cast<DWORD>(total / cluster);
  return TRUE;
}

// The mount table writes blanks and a few other bytes as "\040"-style octal escapes, and udev
// its link names with "\x20"-style hexadecimal ones.
std::string Unescape(const std::string& s) {
  auto octal = [](char c) { return c >= '0' && c <= '7'; };
  auto hex = [](char c) { return std::isxdigit(static_cast<unsigned char>(c)) != 0; };
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() && s[i + 1] == 'x' && hex(s[i + 2]) && hex(s[i + 3])) {
      out += static_cast<char>(std::stoi(s.substr(i + 2, 2), nullptr, 16));
      i += 3;
    } else if (s[i] == '\\' && i + 3 < s.size() && octal(s[i + 1]) && octal(s[i + 2]) && octal(s[i + 3])) {
      out += static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0'));
      i += 3;
    } else {
      out += s[i];
    }
  }
  return out;
}

struct Mount {
  std::string point, type, source;
};

// The mount that holds a canonical path: the longest mount point above it, the later of equals
// (a mount hides what was mounted there before).
bool MountOf(const std::string& path, Mount& found) {
  std::ifstream table("/proc/self/mountinfo");
  std::string line;
  std::size_t best = 0;
  bool any = false;
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string id, parent, device, root, point, word;
    if (!(fields >> id >> parent >> device >> root >> point)) continue;
    while (fields >> word && word != "-") {
    }
    Mount m;
    if (!(fields >> m.type >> m.source)) continue;
    m.point = Unescape(point);
    bool above = m.point == "/" || path == m.point ||
                 (path.compare(0, m.point.size(), m.point) == 0 && path.size() > m.point.size() &&
                  path[m.point.size()] == '/');
    if (above && m.point.size() >= best) {
      best = m.point.size();
      found = m;
      found.source = Unescape(m.source);
      any = true;
    }
  }
  return any;
}

// The label udev shows for a block device, empty when it has none.
std::string LabelOf(const std::string& device) {
  if (device.empty() || device[0] != '/') return {};
  char* target = ::realpath(device.c_str(), nullptr);
  if (!target) return {};
  std::string resolved = target;
  std::free(target);
  std::string label;
  if (DIR* dir = ::opendir("/dev/disk/by-label")) {
    while (struct dirent* e = ::readdir(dir)) {
      if (e->d_name[0] == '.') continue;
      std::string link = std::string("/dev/disk/by-label/") + e->d_name;
      char* to = ::realpath(link.c_str(), nullptr);
      if (!to) continue;
      bool same = resolved == to;
      std::free(to);
      if (same) {
        label = Unescape(e->d_name);
        break;
      }
    }
    ::closedir(dir);
  }
  return label;
}

struct Volume {
  std::string label, type;
  DWORD serial = 0, maxComponent = 0, flags = 0;
};

bool VolumeOf(const std::string& path, Volume& v) {
  struct statvfs st {};
  if (::statvfs(path.c_str(), &st) != 0) {
    platform::SetLastErrorFromErrno();
    return false;
  }
  char* canonical = ::realpath(path.c_str(), nullptr);
  if (!canonical) {
    platform::SetLastErrorFromErrno();
    return false;
  }
  Mount m;
  bool mounted = MountOf(canonical, m);
  std::free(canonical);
  if (mounted) {
    v.type = m.type;
    v.label = LabelOf(m.source);
  } else {
    // No mount table to read: the type's magic number is all there is to go on.
    struct statfs fs {};
    if (::statfs(path.c_str(), &fs) != 0) {
      platform::SetLastErrorFromErrno();
      return false;
    }
    char hex[24];
    std::snprintf(hex, sizeof hex, "0x%lx", static_cast<unsigned long>(fs.f_type));
    v.type = hex;
  }
  const unsigned long long id = st.f_fsid;
  v.serial = static_cast<DWORD>(id ^ (id >> 32));
  v.maxComponent = static_cast<DWORD>(st.f_namemax);
  v.flags = FILE_CASE_SENSITIVE_SEARCH | FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK;
  if (st.f_flag & ST_RDONLY) v.flags |= FILE_READ_ONLY_VOLUME;
  return true;
}

template <class Char>
bool TextOut(const std::basic_string<Char>& text, Char* buffer, DWORD size) {
  if (!buffer) return true;
  if (size <= text.size()) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return false;
  }
  std::copy(text.begin(), text.end(), buffer);
  buffer[text.size()] = Char{};
  return true;
}

template <class Char, class Convert>
BOOL VolumeInformation(const std::string& path, Char* volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                       LPDWORD maxComponentLength, LPDWORD fileSystemFlags, Char* fileSystemName,
                       DWORD fileSystemNameSize, Convert convert) {
  Volume v;
  if (!VolumeOf(path, v) || !TextOut(convert(v.label), volumeName, volumeNameSize) ||
      !TextOut(convert(v.type), fileSystemName, fileSystemNameSize))
    return FALSE;
  if (serialNumber) *serialNumber = v.serial;
  if (maxComponentLength) *maxComponentLength = v.maxComponent;
  if (fileSystemFlags) *fileSystemFlags = v.flags;
  return TRUE;
}

// Where the search for a free number starts: different in each process and each call.
unsigned NextStart() {
  static std::atomic<unsigned> counter{
      static_cast<unsigned>(std::chrono::steady_clock::now().time_since_epoch().count() ^
                            (static_cast<unsigned>(::getpid()) << 8))};
  return counter.fetch_add(0x9E37u) & 0xFFFFu;
}

std::u16string Hex(unsigned n) {
  char text[8];
  std::snprintf(text, sizeof text, "%X", n);
  return std::u16string(text, text + std::char_traits<char>::length(text));
}

// The temporary name (and file) as UTF-16; the number, or 0 with the last error set. `length`
// measures a name in the units of the caller's form of the call.
UINT TempFileName(const std::u16string& path, const std::u16string& prefix, UINT unique, std::u16string& name,
                  const std::function<std::size_t(const std::u16string&)>& length) {
  std::u16string head = path;
  if (!head.empty() && head.back() != u'/' && head.back() != u'\\') head += u'/';
  std::size_t keep = std::min<std::size_t>(prefix.size(), 3);
  if (keep == 3 && prefix[2] >= 0xD800 && prefix[2] <= 0xDBFF) keep = 2;
  std::u16string start = prefix.substr(0, keep);
  if (start.find_first_of(u"/\\") != std::u16string::npos) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  head += start;
  if (length(head + u"FFFF.tmp") >= kMaxPath) {
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return 0;
  }
  if (unique != 0) {
    name = head + Hex(unique & 0xFFFFu) + u".tmp";
    return unique & 0xFFFFu;
  }
  unsigned number = NextStart();
  for (unsigned tries = 0; tries < 0xFFFFu; ++tries, number = number % 0xFFFFu + 1) {
    if (number == 0) number = 1;
    std::u16string candidate = head + Hex(number) + u".tmp";
    int fd = ::open(platform::FsPath(candidate.c_str()).c_str(),
                    O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd >= 0) {
      ::close(fd);
      name = candidate;
      return number;
    }
    if (errno == EEXIST) continue;
    if (errno == ENOENT || errno == ENOTDIR)
      SetLastError(ERROR_PATH_NOT_FOUND);
    else
      platform::SetLastErrorFromErrno();
    return 0;
  }
  SetLastError(ERROR_FILE_EXISTS);
  return 0;
}

}  // namespace

BOOL GetComputerNameA(LPSTR buffer, LPDWORD size) {
  std::string name;
  return HostName(name) ? NameOut(Narrow(Wide(name)), buffer, size, ERROR_BUFFER_OVERFLOW, false) : FALSE;
}

BOOL GetComputerNameW(LPWSTR buffer, LPDWORD size) {
  std::string name;
  return HostName(name) ? NameOut(Wide(name), buffer, size, ERROR_BUFFER_OVERFLOW, false) : FALSE;
}

BOOL GetUserNameA(LPSTR buffer, LPDWORD size) {
  std::string name;
  return UserName(name) ? NameOut(Narrow(Wide(name)), buffer, size, ERROR_INSUFFICIENT_BUFFER, true) : FALSE;
}

BOOL GetUserNameW(LPWSTR buffer, LPDWORD size) {
  std::string name;
  return UserName(name) ? NameOut(Wide(name), buffer, size, ERROR_INSUFFICIENT_BUFFER, true) : FALSE;
}

BOOL GetDiskFreeSpaceA(LPCSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD freeClusters,
                       LPDWORD totalClusters) {
  std::u16string r = FromNarrow(root);
  return DiskFreeSpace(Root(root ? &r : nullptr), sectorsPerCluster, bytesPerSector, freeClusters,
                       totalClusters);
}

BOOL GetDiskFreeSpaceW(LPCWSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD freeClusters,
                       LPDWORD totalClusters) {
  std::u16string r = root ? root : u"";
  return DiskFreeSpace(Root(root ? &r : nullptr), sectorsPerCluster, bytesPerSector, freeClusters,
                       totalClusters);
}

BOOL GetVolumeInformationA(LPCSTR root, LPSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                           LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPSTR fileSystemName,
                           DWORD fileSystemNameSize) {
  std::u16string r = FromNarrow(root);
  return VolumeInformation(Root(root ? &r : nullptr), volumeName, volumeNameSize, serialNumber,
                           maxComponentLength, fileSystemFlags, fileSystemName, fileSystemNameSize,
                           [](const std::string& s) { return Narrow(Wide(s)); });
}

BOOL GetVolumeInformationW(LPCWSTR root, LPWSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                           LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPWSTR fileSystemName,
                           DWORD fileSystemNameSize) {
  std::u16string r = root ? root : u"";
  return VolumeInformation(Root(root ? &r : nullptr), volumeName, volumeNameSize, serialNumber,
                           maxComponentLength, fileSystemFlags, fileSystemName, fileSystemNameSize,
                           [](const std::string& s) { return Wide(s); });
}

UINT GetWindowsDirectoryA(LPSTR, UINT) { return Unsupported<UINT>(0); }
UINT GetWindowsDirectoryW(LPWSTR, UINT) { return Unsupported<UINT>(0); }
UINT GetSystemDirectoryA(LPSTR, UINT) { return Unsupported<UINT>(0); }
UINT GetSystemDirectoryW(LPWSTR, UINT) { return Unsupported<UINT>(0); }

UINT GetTempFileNameA(LPCSTR path, LPCSTR prefix, UINT unique, LPSTR tempFileName) {
  if (!path || !tempFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string name;
  UINT n = TempFileName(FromNarrow(path), FromNarrow(prefix), unique, name,
                        [](const std::u16string& s) { return Narrow(s).size(); });
  if (name.empty()) return 0;
  std::string out = Narrow(name);
  std::copy(out.begin(), out.end(), tempFileName);
  tempFileName[out.size()] = 0;
  return n;
}

UINT GetTempFileNameW(LPCWSTR path, LPCWSTR prefix, UINT unique, LPWSTR tempFileName) {
  if (!path || !tempFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  std::u16string name;
  UINT n = TempFileName(path, prefix ? prefix : u"", unique, name,
                        [](const std::u16string& s) { return s.size(); });
  if (name.empty()) return 0;
  std::copy(name.begin(), name.end(), tempFileName);
  tempFileName[name.size()] = 0;
  return n;
}
