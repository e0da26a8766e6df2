#include "unicode/UcShellWrappers.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/controls/ThemeServices.h"
#include "platform/rtl/ScopeExit.h"
#include "unicode/UcNarrowCopyBack.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"
#include "unicode/UcSystemWrappers.h"
#include "unicode/WStrRoutines.h"
#include "unicode/WideException.h"

namespace {

using FileOperationW = int (*)(SHFILEOPSTRUCTW*);
using BrowseForFolderW = LPITEMIDLIST (*)(BROWSEINFOW*);
using GetPathFromIDListW = BOOL (*)(PCIDLIST_ABSOLUTE, LPWSTR);
using GetFileInfoW = DWORD_PTR (*)(LPCWSTR, DWORD, SHFILEINFOW*, UINT, UINT);

struct ShellBinding {
  HMODULE library = nullptr;
  FileOperationW fileOperation = nullptr;
  BrowseForFolderW browseForFolder = nullptr;
  GetPathFromIDListW getPathFromIDList = nullptr;
  GetFileInfoW getFileInfo = nullptr;
};

ShellBinding& Binding() {
  static ShellBinding binding;
  return binding;
}

FARPROC Entry(HMODULE library, const char* name) {
  FARPROC p = GetProcAddress(library, name);
  if (!p) WideRaiseLastOSError();
  return p;
}

// Loads the shell library and its four entries on first use; raises the last OS error when
// either cannot be had.
const ShellBinding& Shell() {
  ShellBinding& b = Binding();
  if (b.library) return b;
  HMODULE library = Uc_LoadLibraryW(u"shell32.dll");
  if (!library) WideRaiseLastOSError();
  // The library goes again when an entry is missing.
  platform::ScopeExit unload([library] { FreeLibrary(library); });
  ShellBinding bound;
  bound.library = library;
  bound.fileOperation = reinterpret_cast<FileOperationW>(Entry(library, "SHFileOperationW"));
  bound.browseForFolder = reinterpret_cast<BrowseForFolderW>(Entry(library, "SHBrowseForFolderW"));
  bound.getPathFromIDList = reinterpret_cast<GetPathFromIDListW>(Entry(library, "SHGetPathFromIDListW"));
  bound.getFileInfo = reinterpret_cast<GetFileInfoW>(Entry(library, "SHGetFileInfoW"));
  b = bound;
  unload.Release();
  return b;
}

// A list of zero-terminated names ended by an empty one, in the system code page.
std::string NarrowList(LPCWSTR list) {
  std::string out;
  if (!list) return out;
  for (LPCWSTR p = list; *p; p += WStrLen(p) + 1) {
    AnsiString item = UcNarrow(std::u16string_view(p, WStrLen(p)));
    out.append(item.c_str(), static_cast<std::size_t>(item.Length()));
    out.push_back('\0');
  }
  out.push_back('\0');
  return out;
}

char16_t* NewWide(const char* narrow, int& length) {
  WideString w = UcWiden(AnsiString(narrow ? narrow : ""));
  length = w.Length();
  auto* copy = new char16_t[static_cast<std::size_t>(w.Length()) + 1];
  std::copy(w.c_str(), w.c_str() + w.Length() + 1, copy);
  return copy;
}

template <std::size_t N>
void WidenInto(const char (&narrow)[N], WCHAR (&wide)[N]) {
  UcCopyBack(UcWiden(AnsiString(narrow, static_cast<int>(strnlen(narrow, N)))), wide, N, cbClearing);
}

}  // namespace

int Uc_SHFileOperationW(SHFILEOPSTRUCTW* operation) {
  if (Win32PlatformIsUnicode()) return Shell().fileOperation(operation);
  if (!operation) return SHFileOperationA(nullptr);
  std::string from = NarrowList(operation->pFrom), to = NarrowList(operation->pTo);
  AnsiString title;
  SHFILEOPSTRUCTA narrow{};
  narrow.hwnd = operation->hwnd;
  narrow.wFunc = operation->wFunc;
  narrow.pFrom = operation->pFrom ? from.data() : nullptr;
  narrow.pTo = operation->pTo ? to.data() : nullptr;
  narrow.fFlags = operation->fFlags;
  narrow.lpszProgressTitle = UcNarrowArg(operation->lpszProgressTitle, title);
  int r = SHFileOperationA(&narrow);
  operation->fAnyOperationsAborted = narrow.fAnyOperationsAborted;
  operation->hNameMappings = nullptr;
  if ((operation->fFlags & FOF_WANTMAPPINGHANDLE) && narrow.hNameMappings) {
    // The 8-bit handle: a count and that many 8-bit mappings.
    struct NarrowMappings {
      UINT count;
      SHNAMEMAPPINGA* mappings;
    };
    const auto* source = static_cast<const NarrowMappings*>(narrow.hNameMappings);
    auto* wide = new TUcNameMappings{source->count, new SHNAMEMAPPINGW[source->count]};
    for (UINT i = 0; i < source->count; ++i) {
      wide->mappings[i].pszOldPath = NewWide(source->mappings[i].pszOldPath, wide->mappings[i].cchOldPath);
      wide->mappings[i].pszNewPath = NewWide(source->mappings[i].pszNewPath, wide->mappings[i].cchNewPath);
    }
    operation->hNameMappings = wide;
  }
  return r;
}

void Uc_SHFreeNameMappings(void* handle) {
  auto* wide = static_cast<TUcNameMappings*>(handle);
  if (!wide) return;
  for (UINT i = 0; i < wide->count; ++i) {
    delete[] wide->mappings[i].pszOldPath;
    delete[] wide->mappings[i].pszNewPath;
  }
  delete[] wide->mappings;
  delete wide;
}

LPITEMIDLIST Uc_SHBrowseForFolderW(BROWSEINFOW* info) {
  if (Win32PlatformIsUnicode()) return Shell().browseForFolder(info);
  if (!info) return SHBrowseForFolderA(nullptr);
  AnsiString title;
  char displayName[260 * 4] = {};
  BROWSEINFOA narrow{};
  narrow.hwndOwner = info->hwndOwner;
  narrow.pidlRoot = info->pidlRoot;
  narrow.pszDisplayName = displayName;
  narrow.lpszTitle = UcNarrowArg(info->lpszTitle, title);
  narrow.ulFlags = info->ulFlags;
  narrow.lpfn = info->lpfn;
  narrow.lParam = info->lParam;
  LPITEMIDLIST r = SHBrowseForFolderA(&narrow);
  if (info->pszDisplayName)
    UcCopyBack(UcWiden(AnsiString(displayName)), info->pszDisplayName, 260, cbClearing);
  info->iImage = narrow.iImage;
  return r;
}

BOOL Uc_SHGetPathFromIDListW(PCIDLIST_ABSOLUTE list, LPWSTR path) {
  if (Win32PlatformIsUnicode()) return Shell().getPathFromIDList(list, path);
  char narrow[260 * 4] = {};
  BOOL ok = SHGetPathFromIDListA(list, narrow);
  if (ok && path) UcCopyBack(UcWiden(AnsiString(narrow)), path, 260, cbClearing);
  return ok;
}

DWORD_PTR Uc_SHGetFileInfoW(LPCWSTR path, DWORD attributes, SHFILEINFOW* info, UINT size, UINT flags) {
  if (Win32PlatformIsUnicode()) return Shell().getFileInfo(path, attributes, info, size, flags);
  AnsiString p;
  SHFILEINFOA narrow{};
  DWORD_PTR r = SHGetFileInfoA(UcNarrowArg(path, p), attributes, info ? &narrow : nullptr,
                               info ? static_cast<UINT>(sizeof narrow) : 0, flags);
  if (info) {
    *info = SHFILEINFOW{};
    info->hIcon = narrow.hIcon;
    info->iIcon = narrow.iIcon;
    info->dwAttributes = narrow.dwAttributes;
    WidenInto(narrow.szDisplayName, info->szDisplayName);
    WidenInto(narrow.szTypeName, info->szTypeName);
  }
  return r;
}

UINT Uc_ExtractIconExW(LPCWSTR file, int index, HICON* large, HICON* small, UINT count) {
  if (Win32PlatformIsUnicode()) return ExtractIconExW(file, index, large, small, count);
  AnsiString f;
  return ExtractIconExA(UcNarrowArg(file, f), index, large, small, count);
}

HICON Uc_ExtractAssociatedIconW(HINSTANCE instance, LPWSTR path, WORD* index) {
  if (Win32PlatformIsUnicode()) return ExtractAssociatedIconW(instance, path, index);
  AnsiString p;
  return ExtractAssociatedIconA(instance, const_cast<LPSTR>(UcNarrowArg(path, p)), index);
}

void UcReleaseShellBinding() {
  ShellBinding& b = Binding();
  if (b.library) FreeLibrary(b.library);
  b = ShellBinding{};
}
