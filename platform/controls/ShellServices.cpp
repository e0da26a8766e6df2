#include "platform/controls/ShellServices.h"

#include "platform/rtl/LastError.h"

namespace {

template <class R>
R Unsupported(R result) {
  SetLastError(ERROR_NOT_SUPPORTED);
  return result;
}

}  // namespace

int SHFileOperationA(SHFILEOPSTRUCTA*) { return Unsupported<int>(static_cast<int>(ERROR_NOT_SUPPORTED)); }
int SHFileOperationW(SHFILEOPSTRUCTW*) { return Unsupported<int>(static_cast<int>(ERROR_NOT_SUPPORTED)); }
LPITEMIDLIST SHBrowseForFolderA(BROWSEINFOA*) { return Unsupported<LPITEMIDLIST>(nullptr); }
LPITEMIDLIST SHBrowseForFolderW(BROWSEINFOW*) { return Unsupported<LPITEMIDLIST>(nullptr); }
BOOL SHGetPathFromIDListA(PCIDLIST_ABSOLUTE, LPSTR) { return Unsupported<BOOL>(FALSE); }
BOOL SHGetPathFromIDListW(PCIDLIST_ABSOLUTE, LPWSTR) { return Unsupported<BOOL>(FALSE); }
DWORD_PTR SHGetFileInfoA(LPCSTR, DWORD, SHFILEINFOA*, UINT, UINT) { return Unsupported<DWORD_PTR>(0); }
DWORD_PTR SHGetFileInfoW(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT) { return Unsupported<DWORD_PTR>(0); }
UINT ExtractIconExA(LPCSTR, int, HICON*, HICON*, UINT) { return Unsupported<UINT>(0); }
UINT ExtractIconExW(LPCWSTR, int, HICON*, HICON*, UINT) { return Unsupported<UINT>(0); }
HICON ExtractAssociatedIconA(HINSTANCE, LPSTR, WORD*) { return Unsupported<HICON>(nullptr); }
HICON ExtractAssociatedIconW(HINSTANCE, LPWSTR, WORD*) { return Unsupported<HICON>(nullptr); }
