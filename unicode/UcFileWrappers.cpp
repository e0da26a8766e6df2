#include "unicode/UcFileWrappers.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/rtl/LastError.h"
#include "unicode/UcNarrowCopyBack.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"

namespace {

template <std::size_t N>
void WidenInto(const char (&narrow)[N], WCHAR (&wide)[N]) {
  WideString w = UcWiden(AnsiString(narrow, static_cast<int>(strnlen(narrow, N))));
  std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(w.Length()), N - 1);
  std::copy(w.c_str(), w.c_str() + n, wide);
  wide[n] = 0;
}

void WidenFindData(const WIN32_FIND_DATAA& a, WIN32_FIND_DATAW* w) {
  w->dwFileAttributes = a.dwFileAttributes;
  w->ftCreationTime = a.ftCreationTime;
  w->ftLastAccessTime = a.ftLastAccessTime;
  w->ftLastWriteTime = a.ftLastWriteTime;
  w->nFileSizeHigh = a.nFileSizeHigh;
  w->nFileSizeLow = a.nFileSizeLow;
  w->dwReserved0 = a.dwReserved0;
  w->dwReserved1 = a.dwReserved1;
  WidenInto(a.cFileName, w->cFileName);
  WidenInto(a.cAlternateFileName, w->cAlternateFileName);
}

// The wide call on a Unicode system, else the 8-bit one with the name in the system code page.
template <typename Wide, typename Narrow>
auto ByName(LPCWSTR name, Wide wide, Narrow narrow) {
  if (Win32PlatformIsUnicode()) return wide(name);
  AnsiString holder;
  return narrow(UcNarrowArg(name, holder));
}

}  // namespace

BOOL Uc_RemoveDirectoryW(LPCWSTR name) { return ByName(name, RemoveDirectoryW, RemoveDirectoryA); }

DWORD Uc_GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD size) {
  if (Win32PlatformIsUnicode()) return GetShortPathNameW(longPath, shortPath, size);
  AnsiString name, path;
  if (!UcFetchNarrow([&](char* b, DWORD s) { return GetShortPathNameA(UcNarrowArg(longPath, name), b, s); },
                     path))
    return 0;
  return UcCopyBack(UcWiden(path), shortPath, size, cbPartialPath);
}

DWORD Uc_GetFullPathNameW(LPCWSTR name, DWORD size, LPWSTR buffer, LPWSTR* filePart) {
  if (Win32PlatformIsUnicode()) return GetFullPathNameW(name, size, buffer, filePart);
  AnsiString n, full;
  std::size_t partOffset = 0;
  bool hasPart = false;
  bool ok = UcFetchNarrow(
      [&](char* b, DWORD s) {
        LPSTR part = nullptr;
        DWORD r = GetFullPathNameA(UcNarrowArg(name, n), s, b, &part);
        hasPart = r > 0 && r < s && part;
        if (hasPart) partOffset = static_cast<std::size_t>(part - b);
        return r;
      },
      full);
  if (filePart) *filePart = nullptr;
  if (!ok) return 0;
  WideString wide = UcWiden(full);
  DWORD r = UcCopyBack(wide, buffer, size, cbClearing);
  if (filePart && hasPart && r < size)
    *filePart = buffer + UcWiden(AnsiString(full.c_str(), static_cast<int>(partOffset))).Length();
  return r;
}

HANDLE Uc_CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                      DWORD disposition, DWORD attributes, HANDLE templateFile) {
  return ByName(
      name,
      [&](LPCWSTR n) {
        return CreateFileW(n, access, share, security, disposition, attributes, templateFile);
      },
      [&](LPCSTR n) {
        return CreateFileA(n, access, share, security, disposition, attributes, templateFile);
      });
}

HANDLE Uc_FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data) {
  if (Win32PlatformIsUnicode()) return FindFirstFileW(pattern, data);
  AnsiString p;
  WIN32_FIND_DATAA narrow{};
  HANDLE h = FindFirstFileA(UcNarrowArg(pattern, p), &narrow);
  if (h != INVALID_HANDLE_VALUE) WidenFindData(narrow, data);
  return h;
}

BOOL Uc_FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data) {
  if (Win32PlatformIsUnicode()) return FindNextFileW(search, data);
  WIN32_FIND_DATAA narrow{};
  BOOL ok = FindNextFileA(search, &narrow);
  if (ok) WidenFindData(narrow, data);
  return ok;
}

DWORD Uc_GetFileAttributesW(LPCWSTR name) { return ByName(name, GetFileAttributesW, GetFileAttributesA); }

BOOL Uc_CreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES security) {
  return ByName(
      name, [security](LPCWSTR n) { return CreateDirectoryW(n, security); },
      [security](LPCSTR n) { return CreateDirectoryA(n, security); });
}

BOOL Uc_MoveFileW(LPCWSTR from, LPCWSTR to) {
  if (Win32PlatformIsUnicode()) return MoveFileW(from, to);
  AnsiString f, t;
  return MoveFileA(UcNarrowArg(from, f), UcNarrowArg(to, t));
}

BOOL Uc_DeleteFileW(LPCWSTR name) { return ByName(name, DeleteFileW, DeleteFileA); }

DWORD Uc_GetCurrentDirectoryW(DWORD size, LPWSTR buffer) {
  if (Win32PlatformIsUnicode()) return GetCurrentDirectoryW(size, buffer);
  AnsiString dir;
  if (!UcFetchNarrow([](char* b, DWORD s) { return GetCurrentDirectoryA(s, b); }, dir)) return 0;
  return UcCopyBack(UcWiden(dir), buffer, size, cbExactFit | cbClearing);
}

BOOL Uc_SetCurrentDirectoryW(LPCWSTR path) {
  return ByName(path, SetCurrentDirectoryW, SetCurrentDirectoryA);
}

BOOL Uc_SetFileAttributesW(LPCWSTR name, DWORD attributes) {
  return ByName(
      name, [attributes](LPCWSTR n) { return SetFileAttributesW(n, attributes); },
      [attributes](LPCSTR n) { return SetFileAttributesA(n, attributes); });
}

BOOL Uc_CopyFileW(LPCWSTR from, LPCWSTR to, BOOL failIfExists) {
  if (Win32PlatformIsUnicode()) return CopyFileW(from, to, failIfExists);
  AnsiString f, t;
  return CopyFileA(UcNarrowArg(from, f), UcNarrowArg(to, t), failIfExists);
}

BOOL Uc_GetDiskFreeSpaceW(LPCWSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                          LPDWORD freeClusters, LPDWORD totalClusters) {
  return ByName(
      root,
      [&](LPCWSTR r) {
        return GetDiskFreeSpaceW(r, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
      },
      [&](LPCSTR r) {
        return GetDiskFreeSpaceA(r, sectorsPerCluster, bytesPerSector, freeClusters, totalClusters);
      });
}

BOOL Uc_GetVolumeInformationW(LPCWSTR root, LPWSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                              LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPWSTR fileSystemName,
                              DWORD fileSystemNameSize) {
  if (Win32PlatformIsUnicode())
    return GetVolumeInformationW(root, volumeName, volumeNameSize, serialNumber, maxComponentLength,
                                 fileSystemFlags, fileSystemName, fileSystemNameSize);
  AnsiString r;
  // Room for every unit of the caller's buffers in the longest 8-bit form (four bytes each).
  std::vector<char> volume(std::size_t{volumeNameSize} * 4 + 1),
      system(std::size_t{fileSystemNameSize} * 4 + 1);
  BOOL ok = GetVolumeInformationA(UcNarrowArg(root, r), volume.data(), static_cast<DWORD>(volume.size()),
                                  serialNumber, maxComponentLength, fileSystemFlags, system.data(),
                                  static_cast<DWORD>(system.size()));
  if (!ok || fileSystemNameSize <= 16 || !fileSystemName || system[0] == 0) return FALSE;
  UcCopyBack(UcWiden(AnsiString(system.data())), fileSystemName, fileSystemNameSize, cbClearing);
  if (volumeName && volumeNameSize > 0)
    UcCopyBack(UcWiden(AnsiString(volume.data())), volumeName, volumeNameSize, cbClearing);
  return TRUE;
}

DWORD Uc_GetTempPathW(DWORD size, LPWSTR buffer) {
  if (Win32PlatformIsUnicode()) return GetTempPathW(size, buffer);
  AnsiString path;
  if (!UcFetchNarrow([](char* b, DWORD s) { return GetTempPathA(s, b); }, path)) return 0;
  return UcCopyBack(UcWiden(path), buffer, size, cbExactFit | cbClearing);
}

UINT Uc_GetTempFileNameW(LPCWSTR path, LPCWSTR prefix, UINT unique, LPWSTR tempFileName) {
  if (Win32PlatformIsUnicode()) return GetTempFileNameW(path, prefix, unique, tempFileName);
  constexpr DWORD kMaxPath = 260;
  AnsiString p, x;
  std::vector<char> name(kMaxPath * 4 + 1,
                         '\0');  // every unit of a full-length name in the longest 8-bit form
  UINT r = GetTempFileNameA(UcNarrowArg(path, p), UcNarrowArg(prefix, x), unique, name.data());
  if (r != 0 && tempFileName)
    UcCopyBack(UcWiden(AnsiString(name.data())), tempFileName, kMaxPath, cbClearing);
  return r;
}
