// The common file dialogs: GetOpenFileNameA/W and GetSaveFileNameA/W with the classic record.
// The dialog is the backend's: the headless backend answers from the test's script.
#pragma once

#include "platform/win/WinTypes.h"

using LPOFNHOOKPROC = UINT_PTR (*)(HWND, UINT, WPARAM, LPARAM);

struct OPENFILENAMEA {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCSTR lpstrFilter;
  LPSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPSTR lpstrFile;
  DWORD nMaxFile;
  LPSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCSTR lpstrInitialDir;
  LPCSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCSTR lpTemplateName;
  void* pvReserved;
  DWORD dwReserved;
  DWORD FlagsEx;
};
struct OPENFILENAMEW {
  DWORD lStructSize;
  HWND hwndOwner;
  HINSTANCE hInstance;
  LPCWSTR lpstrFilter;
  LPWSTR lpstrCustomFilter;
  DWORD nMaxCustFilter;
  DWORD nFilterIndex;
  LPWSTR lpstrFile;
  DWORD nMaxFile;
  LPWSTR lpstrFileTitle;
  DWORD nMaxFileTitle;
  LPCWSTR lpstrInitialDir;
  LPCWSTR lpstrTitle;
  DWORD Flags;
  WORD nFileOffset;
  WORD nFileExtension;
  LPCWSTR lpstrDefExt;
  LPARAM lCustData;
  LPOFNHOOKPROC lpfnHook;
  LPCWSTR lpTemplateName;
  void* pvReserved;
  DWORD dwReserved;
  DWORD FlagsEx;
};
static_assert(sizeof(OPENFILENAMEA) == 152);
static_assert(sizeof(OPENFILENAMEW) == 152);

constexpr DWORD OFN_READONLY = 0x1, OFN_OVERWRITEPROMPT = 0x2, OFN_HIDEREADONLY = 0x4, OFN_NOCHANGEDIR = 0x8,
                OFN_ENABLEHOOK = 0x20, OFN_ALLOWMULTISELECT = 0x200, OFN_EXTENSIONDIFFERENT = 0x400,
                OFN_PATHMUSTEXIST = 0x800, OFN_FILEMUSTEXIST = 0x1000, OFN_CREATEPROMPT = 0x2000,
                OFN_NOREADONLYRETURN = 0x8000, OFN_EXPLORER = 0x80000, OFN_ENABLESIZING = 0x800000;
constexpr DWORD CDERR_STRUCTSIZE = 0x1, CDERR_INITIALIZATION = 0x2, FNERR_BUFFERTOOSMALL = 0x3003;

// A hooked dialog (OFN_ENABLEHOOK with lpfnHook) has a window while it is open. The hook is its
// dialog procedure: WM_INITDIALOG first (lParam: the caller's record), then WM_NOTIFY with
// CDN_FILEOK once a choice passed the dialog's own checks and the record holds it; the hook
// keeps the dialog open by storing a nonzero DWLP_MSGRESULT in its window. An explorer-style
// dialog (OFN_EXPLORER) runs the hook in a child of the dialog's window, and the CDM_ messages
// go to that parent.
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr int DWLP_MSGRESULT = 0, DWLP_DLGPROC = 8, DWLP_USER = 16;
constexpr UINT CDN_FIRST = 0U - 601U, CDN_FILEOK = CDN_FIRST - 5;
// wParam: the buffer's capacity in characters (bytes for the 8-bit call), lParam: the buffer.
// Answers the length the path needs with its terminator (nothing is copied when that is more
// than the capacity), or -1 while the dialog has no path.
constexpr UINT CDM_FIRST = 0x0464, CDM_GETFILEPATH = CDM_FIRST + 1;

struct NMHDR {
  HWND hwndFrom;
  UINT_PTR idFrom;
  UINT code;
};
struct OFNOTIFYA {
  NMHDR hdr;
  OPENFILENAMEA* lpOFN;
  LPSTR pszFile;
};
struct OFNOTIFYW {
  NMHDR hdr;
  OPENFILENAMEW* lpOFN;
  LPWSTR pszFile;
};

BOOL GetOpenFileNameA(OPENFILENAMEA* ofn);
BOOL GetOpenFileNameW(OPENFILENAMEW* ofn);
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn);
BOOL GetSaveFileNameW(OPENFILENAMEW* ofn);
DWORD CommDlgExtendedError();
