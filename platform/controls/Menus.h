// Menu objects (items addressed by command id or by position, with sub-menus) and popup
// tracking: TrackPopupMenu shows a non-activating window of the menu class and runs a modal
// loop that reports highlights and the chosen item to the owner.
#pragma once

#include "platform/win/WinTypes.h"

struct MENUITEMINFOA {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData;
  LPSTR dwTypeData;
  UINT cch;
  HBITMAP hbmpItem;
};
struct MENUITEMINFOW {
  UINT cbSize;
  UINT fMask;
  UINT fType;
  UINT fState;
  UINT wID;
  HMENU hSubMenu;
  HBITMAP hbmpChecked;
  HBITMAP hbmpUnchecked;
  ULONG_PTR dwItemData;
  LPWSTR dwTypeData;
  UINT cch;
  HBITMAP hbmpItem;
};
static_assert(sizeof(MENUITEMINFOW) == 80);

constexpr UINT MIIM_STATE = 0x1, MIIM_ID = 0x2, MIIM_SUBMENU = 0x4, MIIM_CHECKMARKS = 0x8, MIIM_TYPE = 0x10,
               MIIM_DATA = 0x20, MIIM_STRING = 0x40, MIIM_BITMAP = 0x80, MIIM_FTYPE = 0x100;
constexpr UINT MFT_STRING = 0, MFT_BITMAP = 0x4, MFT_MENUBARBREAK = 0x20, MFT_MENUBREAK = 0x40,
               MFT_OWNERDRAW = 0x100, MFT_RADIOCHECK = 0x200, MFT_SEPARATOR = 0x800, MFT_RIGHTORDER = 0x2000,
               MFT_RIGHTJUSTIFY = 0x4000;
constexpr UINT MFS_ENABLED = 0, MFS_GRAYED = 0x3, MFS_DISABLED = 0x3, MFS_CHECKED = 0x8, MFS_HILITE = 0x80,
               MFS_DEFAULT = 0x1000;
constexpr UINT MF_STRING = 0, MF_BYCOMMAND = 0, MF_ENABLED = 0, MF_UNCHECKED = 0, MF_GRAYED = 0x1,
               MF_DISABLED = 0x2, MF_BITMAP = 0x4, MF_CHECKED = 0x8, MF_POPUP = 0x10, MF_MENUBARBREAK = 0x20,
               MF_MENUBREAK = 0x40, MF_HILITE = 0x80, MF_OWNERDRAW = 0x100, MF_BYPOSITION = 0x400,
               MF_SEPARATOR = 0x800, MF_DEFAULT = 0x1000, MF_RIGHTJUSTIFY = 0x4000, MF_MOUSESELECT = 0x8000;
constexpr UINT TPM_LEFTBUTTON = 0, TPM_RIGHTBUTTON = 0x2, TPM_LEFTALIGN = 0, TPM_CENTERALIGN = 0x4,
               TPM_RIGHTALIGN = 0x8, TPM_TOPALIGN = 0, TPM_VCENTERALIGN = 0x10, TPM_BOTTOMALIGN = 0x20,
               TPM_NONOTIFY = 0x80, TPM_RETURNCMD = 0x100;

HMENU CreateMenu();
HMENU CreatePopupMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
BOOL InsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
BOOL InsertMenuItemW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info);
BOOL GetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOA* info);
BOOL GetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, MENUITEMINFOW* info);
BOOL SetMenuItemInfoA(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOA* info);
BOOL SetMenuItemInfoW(HMENU menu, UINT item, BOOL byPosition, const MENUITEMINFOW* info);
BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSubMenu, LPCSTR text);
BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrSubMenu, LPCWSTR text);
BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSubMenu, LPCSTR text);
int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int max, UINT flags);
int GetMenuItemCount(HMENU menu);
UINT GetMenuItemID(HMENU menu, int position);
HMENU GetSubMenu(HMENU menu, int position);
UINT GetMenuState(HMENU menu, UINT item, UINT flags);
DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags);
BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags);
BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition);
BOOL RemoveMenu(HMENU menu, UINT item, UINT flags);
BOOL DeleteMenu(HMENU menu, UINT item, UINT flags);
BOOL DrawMenuBar(HWND hwnd);
BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int reserved, HWND owner, const RECT* rect);
BOOL EndMenu();

namespace platform::controls {
// The popup menu window's class name and procedure (registered by Startup).
inline constexpr char16_t kMenuClass[] = u"#32768";
WndProcFunction MenuWindowProc();
}  // namespace platform::controls
