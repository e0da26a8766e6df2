// The shell's file operations, folder browsing, file information and icon extraction. This
// system has no shell of that kind: each call fails cleanly (0, null or FALSE; the file operation
// a non-zero result) with ERROR_NOT_SUPPORTED.
#pragma once

#include "platform/win/WinTypes.h"

constexpr WORD FOF_WANTMAPPINGHANDLE = 0x20;

struct SHFILEOPSTRUCTA {
  HWND hwnd;
  UINT wFunc;
  LPCSTR pFrom;
  LPCSTR pTo;
  WORD fFlags;
  BOOL fAnyOperationsAborted;
  LPVOID hNameMappings;
  LPCSTR lpszProgressTitle;
};
struct SHFILEOPSTRUCTW {
  HWND hwnd;
  UINT wFunc;
  LPCWSTR pFrom;
  LPCWSTR pTo;
  WORD fFlags;
  BOOL fAnyOperationsAborted;
  LPVOID hNameMappings;
  LPCWSTR lpszProgressTitle;
};
struct SHNAMEMAPPINGA {
  LPSTR pszOldPath;
  LPSTR pszNewPath;
  int cchOldPath;
  int cchNewPath;
};
struct SHNAMEMAPPINGW {
  LPWSTR pszOldPath;
  LPWSTR pszNewPath;
  int cchOldPath;
  int cchNewPath;
};

struct ITEMIDLIST;
using LPITEMIDLIST = ITEMIDLIST*;
using PCIDLIST_ABSOLUTE = const ITEMIDLIST*;
using BFFCALLBACK = int (*)(HWND hwnd, UINT message, LPARAM lParam, LPARAM data);

struct BROWSEINFOA {
  HWND hwndOwner;
  PCIDLIST_ABSOLUTE pidlRoot;
  LPSTR pszDisplayName;
  LPCSTR lpszTitle;
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;
  int iImage;
};
struct BROWSEINFOW {
  HWND hwndOwner;
  PCIDLIST_ABSOLUTE pidlRoot;
  LPWSTR pszDisplayName;
  LPCWSTR lpszTitle;
  UINT ulFlags;
  BFFCALLBACK lpfn;
  LPARAM lParam;
  int iImage;
};

struct SHFILEINFOA {
  HICON hIcon;
  int iIcon;
  DWORD dwAttributes;
  CHAR szDisplayName[260];
  CHAR szTypeName[80];
};
struct SHFILEINFOW {
  HICON hIcon;
  int iIcon;
  DWORD dwAttributes;
  WCHAR szDisplayName[260];
  WCHAR szTypeName[80];
};

int SHFileOperationA(SHFILEOPSTRUCTA* operation);
int SHFileOperationW(SHFILEOPSTRUCTW* operation);
LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA* info);
LPITEMIDLIST SHBrowseForFolderW(BROWSEINFOW* info);
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE list, LPSTR path);
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path);
DWORD_PTR SHGetFileInfoA(LPCSTR path, DWORD attributes, SHFILEINFOA* info, UINT size, UINT flags);
DWORD_PTR SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT size, UINT flags);
UINT ExtractIconExA(LPCSTR file, int index, HICON* large, HICON* small, UINT count);
UINT ExtractIconExW(LPCWSTR file, int index, HICON* large, HICON* small, UINT count);
HICON ExtractAssociatedIconA(HINSTANCE instance, LPSTR path, WORD* index);
HICON ExtractAssociatedIconW(HINSTANCE instance, LPWSTR path, WORD* index);
