// Wrappers of the file services: the UTF-16 entry point on a Unicode system, otherwise the 8-bit
// one with names converted through the system code page and results widened back into the
// caller's buffers.
#pragma once

#include "platform/rtl/FileApi.h"
#include "platform/rtl/SystemInfo.h"

BOOL Uc_RemoveDirectoryW(LPCWSTR name);
DWORD Uc_GetShortPathNameW(LPCWSTR longPath, LPWSTR shortPath, DWORD size);
DWORD Uc_GetFullPathNameW(LPCWSTR name, DWORD size, LPWSTR buffer, LPWSTR* filePart);
HANDLE Uc_CreateFileW(LPCWSTR name, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                      DWORD disposition, DWORD attributes, HANDLE templateFile);
HANDLE Uc_FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data);
BOOL Uc_FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data);
DWORD Uc_GetFileAttributesW(LPCWSTR name);
BOOL Uc_CreateDirectoryW(LPCWSTR name, LPSECURITY_ATTRIBUTES security);
BOOL Uc_MoveFileW(LPCWSTR from, LPCWSTR to);
BOOL Uc_DeleteFileW(LPCWSTR name);
DWORD Uc_GetCurrentDirectoryW(DWORD size, LPWSTR buffer);
BOOL Uc_SetCurrentDirectoryW(LPCWSTR path);
BOOL Uc_SetFileAttributesW(LPCWSTR name, DWORD attributes);
BOOL Uc_CopyFileW(LPCWSTR from, LPCWSTR to, BOOL failIfExists);
BOOL Uc_GetDiskFreeSpaceW(LPCWSTR root, LPDWORD sectorsPerCluster, LPDWORD bytesPerSector,
                          LPDWORD freeClusters, LPDWORD totalClusters);
// On an 8-bit system it fails unless the caller's file-system-name buffer holds more than 16
// units and the name is not empty; then both names are widened into the caller's buffers.
BOOL Uc_GetVolumeInformationW(LPCWSTR root, LPWSTR volumeName, DWORD volumeNameSize, LPDWORD serialNumber,
                              LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPWSTR fileSystemName,
                              DWORD fileSystemNameSize);
DWORD Uc_GetTempPathW(DWORD size, LPWSTR buffer);
// The caller's buffer holds MAX_PATH (260) units, as the system call requires.
UINT Uc_GetTempFileNameW(LPCWSTR path, LPCWSTR prefix, UINT unique, LPWSTR tempFileName);
