// System information over Linux: the computer's host name, the user's name from the password
// database, free space and volume details of a file system, and numbered temporary files. The
// classic system folders do not exist here: those calls fail cleanly (0, ERROR_NOT_SUPPORTED).
#pragma once

#include "platform/rtl/Types.h"

constexpr DWORD ERROR_BUFFER_OVERFLOW = 111;
constexpr DWORD ERROR_NONE_MAPPED = 1332;

constexpr DWORD FILE_CASE_SENSITIVE_SEARCH = 0x1;
constexpr DWORD FILE_CASE_PRESERVED_NAMES = 0x2;
constexpr DWORD FILE_UNICODE_ON_DISK = 0x4;
constexpr DWORD FILE_READ_ONLY_VOLUME = 0x80000;

// The host name (uname -n), however long. On success *size is the length written without the
// terminator; a buffer of *size units too small fails with ERROR_BUFFER_OVERFLOW and *size set
// to the size needed, terminator included.
BOOL GetComputerNameA(LPSTR buffer, LPDWORD size);
BOOL GetComputerNameW(LPWSTR buffer, LPDWORD size);
// The effective user's login name from the password database (ERROR_NONE_MAPPED when it has no
// entry). *size becomes the size written or needed, terminator included; a buffer too small
// fails with ERROR_INSUFFICIENT_BUFFER.
BOOL GetUserNameA(LPSTR buffer, LPDWORD size);
BOOL GetUserNameW(LPWSTR buffer, LPDWORD size);
// The file system holding `root` (any path in it; null: the current folder). Clusters are the
// file system's fragments, doubled as often as the counts need to fit 32 bits; free clusters
// are those an unprivileged user may fill. Any out pointer may be null.
BOOL GetDiskFreeSpaceA(LPCSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD freeClusters,
                       LPDWORD totalClusters);
BOOL GetDiskFreeSpaceW(LPCWSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector, LPDWORD freeClusters,
                       LPDWORD totalClusters);
// The volume's label (empty where the file system has none the system shows), its serial (the
// file-system id folded to 32 bits), longest name, flags and file-system type as the mount
// table names it ("ext4", "tmpfs"). A buffer too small for its text fails with
// ERROR_INSUFFICIENT_BUFFER; a null buffer is not filled.
BOOL GetVolumeInformationA(LPCSTR root, LPSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                           LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPSTR fileSystemName,
                           DWORD fileSystemNameSize);
BOOL GetVolumeInformationW(LPCWSTR root, LPWSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                           LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPWSTR fileSystemName,
                           DWORD fileSystemNameSize);
UINT GetWindowsDirectoryA(LPSTR buffer, UINT size);
UINT GetWindowsDirectoryW(LPWSTR buffer, UINT size);
UINT GetSystemDirectoryA(LPSTR buffer, UINT size);
UINT GetSystemDirectoryW(LPWSTR buffer, UINT size);
// "path/" + up to three units of the prefix + the number in upper-case hexadecimal + ".tmp",
// into a buffer of 260 units. With `unique` 0 the number is chosen and the file created empty,
// exclusively (never replacing or following anything already there; owner-only access), and the
// number returned; otherwise the name is only made, from the low 16 bits of `unique`. A name
// longer than the buffer fails with ERROR_BUFFER_OVERFLOW, a prefix holding a path separator
// with ERROR_INVALID_PARAMETER, a missing folder with ERROR_PATH_NOT_FOUND, and every number in
// use with ERROR_FILE_EXISTS.
UINT GetTempFileNameA(LPCSTR path, LPCSTR prefix, UINT unique, LPSTR tempFileName);
UINT GetTempFileNameW(LPCWSTR path, LPCWSTR prefix, UINT unique, LPWSTR tempFileName);
