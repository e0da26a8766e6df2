// The function-level file API: handles from CreateFile, attributes, searches with wildcards,
// full paths and the current folder. 8-bit names are UTF-8 at the file system whatever the
// system code page; a "\" reads as "/"; sharing bits are ignored.
#pragma once

#include "platform/rtl/FileTimes.h"
#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/Types.h"

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;

constexpr DWORD GENERIC_READ = 0x80000000;
constexpr DWORD GENERIC_WRITE = 0x40000000;
constexpr DWORD FILE_SHARE_READ = 1;
constexpr DWORD FILE_SHARE_WRITE = 2;
constexpr DWORD CREATE_NEW = 1;
constexpr DWORD CREATE_ALWAYS = 2;
constexpr DWORD OPEN_EXISTING = 3;
constexpr DWORD OPEN_ALWAYS = 4;
constexpr DWORD TRUNCATE_EXISTING = 5;
constexpr DWORD FILE_BEGIN = 0;
constexpr DWORD FILE_CURRENT = 1;
constexpr DWORD FILE_END = 2;
constexpr DWORD INVALID_SET_FILE_POINTER = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_SIZE = 0xFFFFFFFF;
constexpr DWORD INVALID_FILE_ATTRIBUTES = 0xFFFFFFFF;
constexpr DWORD FILE_ATTRIBUTE_READONLY = 0x1;
constexpr DWORD FILE_ATTRIBUTE_HIDDEN = 0x2;
constexpr DWORD FILE_ATTRIBUTE_SYSTEM = 0x4;
constexpr DWORD FILE_ATTRIBUTE_DIRECTORY = 0x10;
constexpr DWORD FILE_ATTRIBUTE_ARCHIVE = 0x20;
constexpr DWORD FILE_ATTRIBUTE_NORMAL = 0x80;

HANDLE CreateFileA(LPCSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                   DWORD attributes, HANDLE templateFile);
HANDLE CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security, DWORD disposition,
                   DWORD attributes, HANDLE templateFile);
BOOL ReadFile(HANDLE file, LPVOID buffer, DWORD toRead, LPDWORD read, void* overlapped);
BOOL WriteFile(HANDLE file, LPCVOID buffer, DWORD toWrite, LPDWORD written, void* overlapped);
DWORD SetFilePointer(HANDLE file, LONG distance, LONG* distanceHigh, DWORD method);
DWORD GetFileSize(HANDLE file, LPDWORD sizeHigh);
BOOL FlushFileBuffers(HANDLE file);
BOOL GetFileTime(HANDLE file, LPFILETIME creation, LPFILETIME lastAccess, LPFILETIME lastWrite);

BOOL DeleteFileA(LPCSTR name);
BOOL DeleteFileW(LPCWSTR name);
// Never replaces an existing target (ERROR_ALREADY_EXISTS).
BOOL MoveFileA(LPCSTR from, LPCSTR to);
BOOL MoveFileW(LPCWSTR from, LPCWSTR to);
BOOL CreateDirectoryA(LPCSTR name, LPSECURITY_ATTRIBUTES security);
BOOL CreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES security);
BOOL RemoveDirectoryA(LPCSTR name);
BOOL RemoveDirectoryW(LPCWSTR name);
// Directory 0x10; read-only 0x01 when not writable or without any write bit; hidden 0x02 for
// dot names; archive 0x20 for files.
DWORD GetFileAttributesA(LPCSTR name);
DWORD GetFileAttributesW(LPCWSTR name);

struct WIN32_FIND_DATAA {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  CHAR cFileName[260];
  CHAR cAlternateFileName[14];
};
struct WIN32_FIND_DATAW {
  DWORD dwFileAttributes;
  FILETIME ftCreationTime;
  FILETIME ftLastAccessTime;
  FILETIME ftLastWriteTime;
  DWORD nFileSizeHigh;
  DWORD nFileSizeLow;
  DWORD dwReserved0;
  DWORD dwReserved1;
  WCHAR cFileName[260];
  WCHAR cAlternateFileName[14];
};
static_assert(sizeof(WIN32_FIND_DATAA) == 320 && sizeof(WIN32_FIND_DATAW) == 592);

// "folder/mask": entries in directory order, "." and ".." included, "*" and "?" matched
// ASCII-case-insensitively ("*.*" is every name). INVALID_HANDLE_VALUE with
// ERROR_FILE_NOT_FOUND (no match) or ERROR_PATH_NOT_FOUND (no folder).
HANDLE FindFirstFileA(LPCSTR pattern, WIN32_FIND_DATAA* data);
HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data);
// FALSE with ERROR_NO_MORE_FILES at the end.
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data);
BOOL FindClose(HANDLE search);

// Lexical absolute path. A buffer too small gets ERROR_INSUFFICIENT_BUFFER and the needed size
// (terminator included); nothing is cut. `filePart` (optional) points at the name in the buffer.
DWORD GetFullPathNameA(LPCSTR name, DWORD size, LPSTR buffer, LPSTR* filePart);
DWORD GetFullPathNameW(LPCWSTR name, DWORD size, LPWSTR buffer, LPWSTR* filePart);
// There are no short names: a path that exists is copied as given (the length returned; the
// size needed, terminator included, when the buffer is too small); one that does not fails with
// ERROR_FILE_NOT_FOUND (ERROR_PATH_NOT_FOUND when a folder on the way is a file).
DWORD GetShortPathNameA(LPCSTR longPath, LPSTR shortPath, DWORD size);
DWORD GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD size);
DWORD GetCurrentDirectoryA(DWORD size, LPSTR buffer);
DWORD GetCurrentDirectoryW(DWORD size, LPWSTR buffer);
BOOL SetCurrentDirectoryA(LPCSTR path);
BOOL SetCurrentDirectoryW(LPCWSTR path);

// Copies a file's bytes (and its permission bits) through a temporary beside the target and a
// rename, so a failed copy leaves the target as it was. With failIfExists an existing target
// fails with ERROR_FILE_EXISTS.
BOOL CopyFileA(LPCSTR from, LPCSTR to, BOOL failIfExists);
BOOL CopyFileW(LPCWSTR from, LPCWSTR to, BOOL failIfExists);
// FILE_ATTRIBUTE_READONLY clears the write bits, its absence gives the owner's write bit back;
// the other bits are accepted and change nothing.
BOOL SetFileAttributesA(LPCSTR name, DWORD attributes);
BOOL SetFileAttributesW(LPCWSTR name, DWORD attributes);
// $TMPDIR, else P_tmpdir, with a final "/". Returns the length, or the size needed (terminator
// included) when the buffer is too small.
DWORD GetTempPathA(DWORD size, LPSTR buffer);
DWORD GetTempPathW(DWORD size, LPWSTR buffer);

namespace platform {
// Classic wildcard matching of one name against a mask, ASCII-case-insensitive, per unit.
bool MatchesMask(const char16_t* name, const char16_t* mask);
// The attributes of a path, or INVALID_FILE_ATTRIBUTES with the last error set.
DWORD AttributesOf(const std::string& fsPath);
}  // namespace platform
