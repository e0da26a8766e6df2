#include "unicode/WideFileSystem.h"

#include <vector>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/SearchRec.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "unicode/UcFileWrappers.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"
#include "unicode/UcSystemWrappers.h"
#include "unicode/WideException.h"
#include "unicode/WideFileNames.h"

namespace {

constexpr int kSpecialAttributes = faHidden | faSysFile | faVolumeID | faDirectory;

int DosDateTime(const FILETIME& utc) {
  FILETIME local{};
  WORD date = 0, time = 0;
  if (!FileTimeToLocalFileTime(&utc, &local) || !FileTimeToDosDateTime(&local, &date, &time)) return -1;
  return static_cast<int>((DWORD{date} << 16) | time);
}

// The find data of exactly this name (a search would also match other names for "*" and "?").
bool FindExact(const WideString& fileName, WIN32_FIND_DATAW& data) {
  HANDLE h = Uc_FindFirstFileW(fileName.c_str(), &data);
  if (h == INVALID_HANDLE_VALUE) return false;
  WideString name = WideExtractFileName(fileName);
  bool found = false;
  do found = name == WideString(data.cFileName);
  while (!found && Uc_FindNextFileW(h, &data));
  FindClose(h);
  return found;
}

bool IsRoot(const WideString& dir) {
  return dir.IsEmpty() || (dir.Length() == 2 && dir[2] == u':' && WideExtractFileDrive(dir) == dir);
}

// Fills the record from its find data when the entry is wanted; false to skip it.
bool Accept(TSearchRecW& rec) {
  const WIN32_FIND_DATAW& d = rec.FindData;
  if (static_cast<int>(d.dwFileAttributes) & rec.ExcludeAttr) return false;
  rec.Time = DosDateTime(d.ftLastWriteTime);
  rec.Size = (static_cast<std::int64_t>(d.nFileSizeHigh) << 32) | d.nFileSizeLow;
  rec.Attr = static_cast<int>(d.dwFileAttributes);
  rec.Name = WideString(d.cFileName);
  return true;
}

int NextAccepted(TSearchRecW& rec) {
  while (Uc_FindNextFileW(rec.FindHandle, &rec.FindData))
    if (Accept(rec)) return 0;
  return static_cast<int>(GetLastError());
}

}  // namespace

// The name itself as UTF-8 (which is how it reaches the file system) on a Unicode system, else its
// form in the system code page.
AnsiString UcFileSystemName(const WideString& fileName) {
  return Win32PlatformIsUnicode() ? AnsiString(platform::Utf16ToUtf8(fileName.ToU16()))
                                  : UcNarrow(fileName.ToU16());
}

int WideFileCreate(const WideString& fileName) { return FileCreate(UcFileSystemName(fileName)); }

int WideFileOpen(const WideString& fileName, unsigned mode) {
  return FileOpen(UcFileSystemName(fileName), mode);
}

int WideFileAge(const WideString& fileName) {
  WIN32_FIND_DATAW data{};
  if (!FindExact(fileName, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return -1;
  return DosDateTime(data.ftLastWriteTime);
}

bool WideFileAge(const WideString& fileName, TDateTime& fileDateTime) {
  WIN32_FIND_DATAW data{};
  FILETIME local{};
  if (!FindExact(fileName, data) || (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
  if (!FileTimeToLocalFileTime(&data.ftLastWriteTime, &local)) return false;
  // 100 ns steps since 1601-01-01; the date-time counts days from 1899-12-30.
  constexpr double kTicksPerDay = 864e9;
  constexpr double kDaysFrom1601To1899 = 109205;
  double ticks = static_cast<double>((std::uint64_t{local.dwHighDateTime} << 32) | local.dwLowDateTime);
  fileDateTime = ticks / kTicksPerDay - kDaysFrom1601To1899;
  return true;
}

bool WideFileExists(const WideString& fileName) {
  DWORD attributes = Uc_GetFileAttributesW(fileName.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool WideDirectoryExists(const WideString& name) {
  DWORD attributes = Uc_GetFileAttributesW(name.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int WideFileGetAttr(const WideString& fileName) {
  return static_cast<int>(Uc_GetFileAttributesW(fileName.c_str()));
}

bool WideFileSetAttr(const WideString& fileName, int attr) {
  return Uc_SetFileAttributesW(fileName.c_str(), static_cast<DWORD>(attr)) != FALSE;
}

bool WideFileIsReadOnly(const WideString& fileName) { return (WideFileGetAttr(fileName) & faReadOnly) != 0; }

bool WideFileSetReadOnly(const WideString& fileName, bool readOnly) {
  const int attr = WideFileGetAttr(fileName);
  if (attr == -1) return false;
  return WideFileSetAttr(fileName, readOnly ? attr | faReadOnly : attr & ~faReadOnly);
}

bool WideForceDirectories(const WideString& dir) {
  if (dir.IsEmpty()) throw EUcGeneralError("Unable to create directory");
  WideString name = WideExcludeTrailingPathDelimiter(dir);
  if (IsRoot(name) || WideDirectoryExists(name)) return true;
  WideString parent = WideExcludeTrailingPathDelimiter(WideExtractFilePath(name));
  if (!parent.IsEmpty() && parent != name && !WideForceDirectories(WideExtractFilePath(name))) return false;
  return WideCreateDir(name) || WideDirectoryExists(name);
}

WideString WideFileSearch(const WideString& name, const WideString& dirList) {
  if (WideFileExists(name)) return name;
  const std::u16string& list = dirList.ToU16();
  std::size_t start = 0;
  while (start <= list.size() && !list.empty()) {
    std::size_t end = list.find(u';', start);
    if (end == std::u16string::npos) end = list.size();
    WideString folder(list.substr(start, end - start));
    if (!folder.IsEmpty()) {
      char16_t last = folder[folder.Length()];
      if (last != u':' && last != u'\\' && last != u'/') folder += u"/";
      WideString candidate = folder + name;
      if (WideFileExists(candidate)) return candidate;
    }
    start = end + 1;
  }
  return WideString();
}

bool WideRenameFile(const WideString& oldName, const WideString& newName) {
  return Uc_MoveFileW(oldName.c_str(), newName.c_str()) != FALSE;
}
bool WideDeleteFile(const WideString& fileName) { return Uc_DeleteFileW(fileName.c_str()) != FALSE; }
bool WideCopyFile(const WideString& fromFile, const WideString& toFile, bool failIfExists) {
  return Uc_CopyFileW(fromFile.c_str(), toFile.c_str(), failIfExists ? TRUE : FALSE) != FALSE;
}
bool WideCreateDir(const WideString& dir) { return Uc_CreateDirectoryW(dir.c_str(), nullptr) != FALSE; }
bool WideRemoveDir(const WideString& dir) { return Uc_RemoveDirectoryW(dir.c_str()) != FALSE; }
bool WideSetCurrentDir(const WideString& dir) { return Uc_SetCurrentDirectoryW(dir.c_str()) != FALSE; }

WideString WideGetCurrentDir() {
  std::vector<char16_t> buffer(261);
  for (;;) {
    DWORD n = Uc_GetCurrentDirectoryW(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n < buffer.size()) return WideString(buffer.data(), static_cast<int>(n));
    buffer.resize(n + 1);
  }
}

int WideFindFirst(const WideString& path, int attr, TSearchRecW& rec) {
  rec.ExcludeAttr = ~attr & kSpecialAttributes;
  rec.FindHandle = Uc_FindFirstFileW(path.c_str(), &rec.FindData);
  if (rec.FindHandle == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
  if (Accept(rec)) return 0;
  int error = NextAccepted(rec);
  if (error) WideFindClose(rec);
  return error;
}

int WideFindNext(TSearchRecW& rec) { return NextAccepted(rec); }

void WideFindClose(TSearchRecW& rec) {
  if (rec.FindHandle != INVALID_HANDLE_VALUE) FindClose(rec.FindHandle);
  rec.FindHandle = INVALID_HANDLE_VALUE;
}

WideString WideGetModuleFileName(HMODULE module) {
  std::vector<char16_t> buffer(261);
  for (;;) {
    DWORD n = Uc_GetModuleFileNameW(module, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) RaiseLastOSError();
    if (n < buffer.size()) return WideString(buffer.data(), static_cast<int>(n));
    buffer.resize(buffer.size() * 2);
  }
}
