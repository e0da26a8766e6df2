// The system classes and services: EDIT, BUTTON, STATIC, SCROLLBAR, LISTBOX, COMBOBOX
// (registered by Startup), window scroll bars,
// menus and popup tracking, the message box, the file dialogs, theme services (absent) and
// sound. Names and values are the classic ones.
#pragma once

#include <string>

#include "platform/win/ControlMessages.h"
#include "platform/win/Win.h"

namespace platform::controls {
// Registers the system classes and the layer's own windows (menus, message boxes); the window
// system must be started. Safe to call again.
void Startup();
}  // namespace platform::controls

// ---- EDIT
constexpr DWORD ES_LEFT = 0, ES_CENTER = 0x1, ES_RIGHT = 0x2, ES_MULTILINE = 0x4, ES_UPPERCASE = 0x8,
                ES_LOWERCASE = 0x10, ES_PASSWORD = 0x20, ES_AUTOVSCROLL = 0x40, ES_AUTOHSCROLL = 0x80,
                ES_NOHIDESEL = 0x100, ES_OEMCONVERT = 0x400, ES_READONLY = 0x800, ES_WANTRETURN = 0x1000,
                ES_NUMBER = 0x2000;
constexpr WORD EN_SETFOCUS = 0x100, EN_KILLFOCUS = 0x200, EN_CHANGE = 0x300, EN_UPDATE = 0x400,
               EN_ERRSPACE = 0x500, EN_MAXTEXT = 0x501, EN_HSCROLL = 0x601, EN_VSCROLL = 0x602;

// ---- BUTTON
constexpr DWORD BS_PUSHBUTTON = 0, BS_DEFPUSHBUTTON = 0x1, BS_CHECKBOX = 0x2, BS_AUTOCHECKBOX = 0x3,
                BS_RADIOBUTTON = 0x4, BS_3STATE = 0x5, BS_AUTO3STATE = 0x6, BS_GROUPBOX = 0x7,
                BS_AUTORADIOBUTTON = 0x9, BS_OWNERDRAW = 0xB, BS_TYPEMASK = 0xF, BS_LEFTTEXT = 0x20,
                BS_MULTILINE = 0x2000, BS_NOTIFY = 0x4000;
constexpr UINT BM_GETCHECK = 0xF0, BM_SETCHECK = 0xF1, BM_GETSTATE = 0xF2, BM_SETSTATE = 0xF3,
               BM_SETSTYLE = 0xF4, BM_CLICK = 0xF5;
constexpr LRESULT BST_UNCHECKED = 0, BST_CHECKED = 1, BST_INDETERMINATE = 2, BST_PUSHED = 4, BST_FOCUS = 8;
constexpr WORD BN_CLICKED = 0, BN_DOUBLECLICKED = 5, BN_SETFOCUS = 6, BN_KILLFOCUS = 7;
constexpr UINT ODT_MENU = 1, ODT_LISTBOX = 2, ODT_COMBOBOX = 3, ODT_BUTTON = 4;
constexpr UINT ODA_DRAWENTIRE = 0x1, ODA_SELECT = 0x2, ODA_FOCUS = 0x4;
constexpr UINT ODS_SELECTED = 0x1, ODS_GRAYED = 0x2, ODS_DISABLED = 0x4, ODS_CHECKED = 0x8, ODS_FOCUS = 0x10,
               ODS_DEFAULT = 0x20, ODS_HOTLIGHT = 0x40, ODS_NOACCEL = 0x100, ODS_NOFOCUSRECT = 0x200;
struct DRAWITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemAction;
  UINT itemState;
  HWND hwndItem;
  HDC hDC;
  RECT rcItem;
  ULONG_PTR itemData;
};
struct MEASUREITEMSTRUCT {
  UINT CtlType;
  UINT CtlID;
  UINT itemID;
  UINT itemWidth;
  UINT itemHeight;
  ULONG_PTR itemData;
};
static_assert(sizeof(DRAWITEMSTRUCT) == 64);
static_assert(sizeof(MEASUREITEMSTRUCT) == 32);

// ---- SCROLLBAR and STATIC
constexpr DWORD SBS_HORZ = 0, SBS_VERT = 1;
constexpr UINT SBM_SETPOS = 0xE0, SBM_GETPOS = 0xE1, SBM_SETRANGE = 0xE2, SBM_GETRANGE = 0xE3,
               SBM_ENABLE_ARROWS = 0xE4, SBM_SETRANGEREDRAW = 0xE6, SBM_SETSCROLLINFO = 0xE9,
               SBM_GETSCROLLINFO = 0xEA;
constexpr int SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3;
constexpr UINT SIF_RANGE = 0x1, SIF_PAGE = 0x2, SIF_POS = 0x4, SIF_DISABLENOSCROLL = 0x8, SIF_TRACKPOS = 0x10,
               SIF_ALL = 0x17;
constexpr WORD SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1, SB_PAGEUP = 2,
               SB_PAGEDOWN = 3, SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6, SB_BOTTOM = 7,
               SB_ENDSCROLL = 8, SB_PAGELEFT = 2, SB_PAGERIGHT = 3, SB_LEFT = 6, SB_RIGHT = 7;
struct SCROLLINFO {
  UINT cbSize;
  UINT fMask;
  int nMin;
  int nMax;
  UINT nPage;
  int nPos;
  int nTrackPos;
};
static_assert(sizeof(SCROLLINFO) == 28);
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
int SetScrollPos(HWND hwnd, int bar, int pos, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);
BOOL SetScrollRange(HWND hwnd, int bar, int minPos, int maxPos, BOOL redraw);
BOOL GetScrollRange(HWND hwnd, int bar, int* minPos, int* maxPos);
// A window's bar shown or hidden (its client area follows); SB_CTL shows the control itself.
BOOL ShowScrollBar(HWND hwnd, int bar, BOOL show);
constexpr UINT ESB_ENABLE_BOTH = 0, ESB_DISABLE_LTUP = 1, ESB_DISABLE_RTDN = 2, ESB_DISABLE_BOTH = 3;
BOOL EnableScrollBar(HWND hwnd, UINT bar, UINT arrows);
constexpr DWORD SS_LEFT = 0, SS_CENTER = 1, SS_RIGHT = 2, SS_NOPREFIX = 0x80, SS_NOTIFY = 0x100,
                SS_SUNKEN = 0x1000;

// ---- LISTBOX and COMBOBOX
constexpr LRESULT LB_OKAY = 0, LB_ERR = -1, LB_ERRSPACE = -2;
constexpr WORD LBN_ERRSPACE = WORD(-2), LBN_SELCHANGE = 1, LBN_DBLCLK = 2, LBN_SELCANCEL = 3,
               LBN_SETFOCUS = 4, LBN_KILLFOCUS = 5;
constexpr LRESULT CB_OKAY = 0, CB_ERR = -1, CB_ERRSPACE = -2;
constexpr WORD CBN_ERRSPACE = WORD(-1), CBN_SELCHANGE = 1, CBN_DBLCLK = 2, CBN_SETFOCUS = 3,
               CBN_KILLFOCUS = 4, CBN_EDITCHANGE = 5, CBN_EDITUPDATE = 6, CBN_DROPDOWN = 7, CBN_CLOSEUP = 8,
               CBN_SELENDOK = 9, CBN_SELENDCANCEL = 10;
// Item state of the owner-drawn selection field of a combo box.
constexpr UINT ODS_COMBOBOXEDIT = 0x1000;
// The parts of a combo box: its button, its edit child (CBS_DROPDOWN) and its drop-down list.
struct COMBOBOXINFO {
  DWORD cbSize;
  RECT rcItem;
  RECT rcButton;
  DWORD stateButton;
  HWND hwndCombo;
  HWND hwndItem;
  HWND hwndList;
};
constexpr DWORD STATE_SYSTEM_PRESSED = 0x8, STATE_SYSTEM_INVISIBLE = 0x8000;
BOOL GetComboBoxInfo(HWND combo, COMBOBOXINFO* info);

// ---- message box
constexpr UINT MB_OK = 0, MB_OKCANCEL = 1, MB_ABORTRETRYIGNORE = 2, MB_YESNOCANCEL = 3, MB_YESNO = 4,
               MB_RETRYCANCEL = 5, MB_TYPEMASK = 0xF, MB_ICONHAND = 0x10, MB_ICONERROR = 0x10,
               MB_ICONSTOP = 0x10, MB_ICONQUESTION = 0x20, MB_ICONEXCLAMATION = 0x30, MB_ICONWARNING = 0x30,
               MB_ICONASTERISK = 0x40, MB_ICONINFORMATION = 0x40, MB_ICONMASK = 0xF0, MB_DEFBUTTON1 = 0,
               MB_DEFBUTTON2 = 0x100, MB_DEFBUTTON3 = 0x200, MB_DEFMASK = 0xF00, MB_APPLMODAL = 0,
               MB_SYSTEMMODAL = 0x1000, MB_TASKMODAL = 0x2000, MB_SETFOREGROUND = 0x10000,
               MB_TOPMOST = 0x40000, MB_RTLREADING = 0x100000;
constexpr int IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7;
int MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT flags);
int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT flags);
BOOL MessageBeep(UINT type);
BOOL Beep(DWORD frequency, DWORD duration);
