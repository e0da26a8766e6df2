// Wrappers of the shell's file operations, folder browsing, file information and icon
// extraction. On a Unicode system the four shell entry points are bound on first use from the
// shell library through the library loader; when it cannot be loaded (always so here) the call
// raises the last OS error. On an 8-bit system each goes to its 8-bit entry point.
#pragma once

#include "platform/controls/ShellServices.h"

// The wide name-mapping handle an 8-bit file operation hands back: `count` entries.
struct TUcNameMappings {
  UINT count;
  SHNAMEMAPPINGW* mappings;
};

int Uc_SHFileOperationW(SHFILEOPSTRUCTW* operation);
void Uc_SHFreeNameMappings(void* handle);
LPITEMIDLIST Uc_SHBrowseForFolderW(BROWSEINFOW* info);
BOOL Uc_SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path);
DWORD_PTR Uc_SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT size, UINT flags);
UINT Uc_ExtractIconExW(LPCWSTR file, int index, HICON* large, HICON* small, UINT count);
HICON Uc_ExtractAssociatedIconW(HINSTANCE instance, LPWSTR path, WORD* index);

// Frees the shell library when it was loaded; the next wide call binds again.
void UcReleaseShellBinding();
