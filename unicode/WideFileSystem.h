// The file system by UTF-16 name, through the wrappers of the file services: handles, existence
// and attributes, folders, searches and the program's own path.
#pragma once

#include <cstdint>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/FileApi.h"
#include "platform/rtl/WideString.h"

// The run-time library's integer file handles (what THandleStream reads and writes), -1 with the
// last error set on failure. Create: read and write, replacing any file. Open: an existing file,
// access by (mode & 3): read, write, both; the sharing bits are accepted.
int WideFileCreate(const WideString& fileName);
// The 8-bit name the run-time library's file routines take for a UTF-16 name.
AnsiString UcFileSystemName(const WideString& fileName);
int WideFileOpen(const WideString& fileName, unsigned mode);

// The last write as a packed DOS date-time in local time; -1 when missing or a folder.
int WideFileAge(const WideString& fileName);
// The last write in local time, milliseconds included; false when missing or a folder.
bool WideFileAge(const WideString& fileName, TDateTime& fileDateTime);

// An entry of exactly this name that is not a folder ("*" and "?" are plain characters).
bool WideFileExists(const WideString& fileName);
bool WideDirectoryExists(const WideString& name);
int WideFileGetAttr(const WideString& fileName);  // -1 when missing
bool WideFileSetAttr(const WideString& fileName, int attr);
// A missing file counts as read-only.
bool WideFileIsReadOnly(const WideString& fileName);
// Sets or clears the read-only attribute; false when the attributes cannot be read or set.
bool WideFileSetReadOnly(const WideString& fileName, bool readOnly);

// Creates the folder and any missing parents. An empty name raises EUcGeneralError "Unable to
// create directory"; only a root ("/", or a drive with its separator) counts as present.
bool WideForceDirectories(const WideString& dir);
// The name itself when it exists, else the first folder of the ";"-separated list holding it.
WideString WideFileSearch(const WideString& name, const WideString& dirList);

bool WideRenameFile(const WideString& oldName, const WideString& newName);
bool WideDeleteFile(const WideString& fileName);
// Through a temporary beside the target, so a failed copy leaves the target as it was.
bool WideCopyFile(const WideString& fromFile, const WideString& toFile, bool failIfExists);
bool WideCreateDir(const WideString& dir);
bool WideRemoveDir(const WideString& dir);
bool WideSetCurrentDir(const WideString& dir);
WideString WideGetCurrentDir();

struct TSearchRecW {
  int Time = 0;  // last write, packed DOS date-time in local time
  std::int64_t Size = 0;
  int Attr = 0;
  WideString Name;
  int ExcludeAttr = 0;
  HANDLE FindHandle = INVALID_HANDLE_VALUE;
  WIN32_FIND_DATAW FindData{};
};

// Entries with a special attribute (hidden, system, volume, folder) not asked for are skipped.
// 0 or the OS error; the search is closed on error.
int WideFindFirst(const WideString& path, int attr, TSearchRecW& rec);
int WideFindNext(TSearchRecW& rec);
void WideFindClose(TSearchRecW& rec);

// The module's path, however long; raises the last OS error when there is none.
WideString WideGetModuleFileName(HMODULE module);
