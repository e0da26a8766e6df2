// Menu handles and their items.
#include "platform/controls/MenuObjects.h"

#include <algorithm>
#include <map>
#include <memory>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/LastError.h"
#include "platform/win/Win.h"

namespace platform::controls {

namespace {

constexpr uintptr_t kMenuBase = 0x00A00000;

struct Table {
  std::map<uintptr_t, std::unique_ptr<Menu>> menus;
  uintptr_t next = 0;
};

Table& T() {
  static Table table;
  return table;
}

HMENU NewMenu(bool popup) {
  Table& t = T();
  const uintptr_t v = kMenuBase + ++t.next;
  t.menus[v] = std::make_unique<Menu>();
  t.menus[v]->popup = popup;
  return reinterpret_cast<HMENU>(v);
}

bool InfoSizeOk(UINT size) { return size == sizeof(MENUITEMINFOW) || size == 48; }

// Applies the masked fields of an item record; `text` is the caption already in UTF-16.
void Apply(MenuItem& item, UINT mask, UINT type, UINT state, UINT id, HMENU sub, ULONG_PTR data,
           HBITMAP bitmap, const std::u16string* text) {
  if (mask & MIIM_FTYPE) item.type = type;
  if (mask & MIIM_TYPE) {
    item.type = type;
    if (text && !(type & (MFT_SEPARATOR | MFT_BITMAP | MFT_OWNERDRAW))) item.text = *text;
  }
  if (mask & MIIM_STATE) item.state = state;
  if (mask & MIIM_ID) item.id = id;
  if (mask & MIIM_SUBMENU) item.subMenu = sub;
  if (mask & MIIM_DATA) item.data = data;
  if (mask & MIIM_BITMAP) item.bitmap = bitmap;
  if ((mask & MIIM_STRING) && text) item.text = *text;
}

// Copies a caption out: capacity `cch` in the caller's units; returns the length written (or
// the needed length when there is no buffer).
template <typename Char>
UINT CopyCaption(const std::u16string& text, Char* out, UINT cch) {
  if constexpr (sizeof(Char) == 1) {
    const std::string bytes = Utf16ToMultiByte(text, CP_ACP);
    if (!out || cch == 0) return UINT(bytes.size());
    const size_t n = std::min<size_t>(bytes.size(), cch - 1);
    std::copy(bytes.begin(), bytes.begin() + long(n), out);
    out[n] = 0;
    return UINT(n);
  } else {
    if (!out || cch == 0) return UINT(text.size());
    size_t n = std::min<size_t>(text.size(), cch - 1);
    if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
    std::copy(text.begin(), text.begin() + long(n), out);
    out[n] = 0;
    return UINT(n);
  }
}

template <typename Info>
BOOL GetInfo(HMENU menu, UINT item, BOOL byPosition, Info* info) {
  if (!info || !InfoSizeOk(info->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  MenuItem* it = FindItem(menu, item, byPosition);
  if (!it) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const UINT mask = info->fMask;
  if (mask & (MIIM_FTYPE | MIIM_TYPE)) info->fType = it->type;
  if (mask & MIIM_STATE) info->fState = it->state;
  if (mask & MIIM_ID) info->wID = it->id;
  if (mask & MIIM_SUBMENU) info->hSubMenu = it->subMenu;
  if (mask & MIIM_DATA) info->dwItemData = it->data;
  if ((mask & MIIM_BITMAP) && info->cbSize > 48) info->hbmpItem = it->bitmap;
  if (mask & (MIIM_STRING | MIIM_TYPE)) info->cch = CopyCaption(it->text, info->dwTypeData, info->cch);
  return TRUE;
}

template <typename Info>
std::u16string CaptionIn(const Info* info) {
  if constexpr (std::is_same_v<Info, MENUITEMINFOA>)
    return info->dwTypeData ? MultiByteToUtf16(info->dwTypeData, CP_ACP) : std::u16string();
  else
    return info->dwTypeData ? std::u16string(info->dwTypeData) : std::u16string();
}

template <typename Info>
BOOL InsertInfo(HMENU menu, UINT item, BOOL byPosition, const Info* info) {
  Menu* m = FindMenu(menu);
  if (!m || !info || !InfoSizeOk(info->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  HMENU target = menu;
  int index = int(m->items.size());
  if (byPosition) {
    index = std::min<int>(int(item), index);
  } else if (FindItem(menu, item, false, &target, &index)) {
    m = FindMenu(target);
  }
  MenuItem fresh;
  const std::u16string text = CaptionIn(info);
  Apply(fresh, info->fMask, info->fType, info->fState, info->wID, info->hSubMenu, info->dwItemData,
        info->cbSize > 48 ? info->hbmpItem : nullptr, info->dwTypeData ? &text : nullptr);
  m->items.insert(m->items.begin() + index, std::move(fresh));
  return TRUE;
}

template <typename Info>
BOOL SetInfo(HMENU menu, UINT item, BOOL byPosition, const Info* info) {
  if (!info || !InfoSizeOk(info->cbSize)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  MenuItem* it = FindItem(menu, item, byPosition);
  if (!it) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  const std::u16string text = CaptionIn(info);
  Apply(*it, info->fMask, info->fType, info->fState, info->wID, info->hSubMenu, info->dwItemData,
        info->cbSize > 48 ? info->hbmpItem : nullptr, info->dwTypeData ? &text : nullptr);
  return TRUE;
}

// An item from the classic flags of AppendMenu/InsertMenu.
MenuItem FromFlags(UINT flags, UINT_PTR idOrSub, const std::u16string& text) {
  MenuItem m;
  m.type =
      flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW | MF_MENUBREAK | MF_MENUBARBREAK | MF_RIGHTJUSTIFY);
  m.state = flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_HILITE | MF_DEFAULT);
  if (flags & MF_POPUP)
    m.subMenu = reinterpret_cast<HMENU>(idOrSub);
  else
    m.id = UINT(idOrSub);
  if (!(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW))) m.text = text;
  if (flags & (MF_BITMAP | MF_OWNERDRAW)) m.data = ULONG_PTR(idOrSub);
  return m;
}

}  // namespace

Menu* FindMenu(HMENU menu) {
  auto it = T().menus.find(reinterpret_cast<uintptr_t>(menu));
  return it == T().menus.end() ? nullptr : it->second.get();
}

MenuItem* FindItem(HMENU menu, UINT item, bool byPosition, HMENU* owner, int* index) {
  Menu* m = FindMenu(menu);
  if (!m) return nullptr;
  if (byPosition) {
    if (item >= m->items.size()) return nullptr;
    if (owner) *owner = menu;
    if (index) *index = int(item);
    return &m->items[item];
  }
  for (size_t i = 0; i < m->items.size(); ++i) {
    MenuItem& it = m->items[i];
    if (!it.subMenu && it.id == item) {
      if (owner) *owner = menu;
      if (index) *index = int(i);
      return &it;
    }
    if (it.subMenu && it.subMenu != menu)
      if (MenuItem* found = FindItem(it.subMenu, item, false, owner, index)) return found;
  }
  return nullptr;
}

char16_t Mnemonic(const std::u16string& text) {
  for (size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != u'&') continue;
    if (text[i + 1] == u'&') {
      ++i;
      continue;
    }
    char16_t c = text[i + 1];
    if (c >= u'a' && c <= u'z') c = char16_t(c - 32);
    return c;
  }
  return 0;
}

}  // namespace platform::controls

using namespace platform::controls;

HMENU CreateMenu() { return NewMenu(false); }
HMENU CreatePopupMenu() { return NewMenu(true); }
BOOL IsMenu(HMENU menu) { return FindMenu(menu) != nullptr; }

BOOL DestroyMenu(HMENU menu) {
  Menu* m = FindMenu(menu);
  if (!m) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  std::vector<HMENU> subs;
  for (auto& it : m->items)
    if (it.subMenu) subs.push_back(it.subMenu);
  T().menus.erase(reinterpret_cast<uintptr_t>(menu));
  for (HMENU s : subs)
    if (s != menu) DestroyMenu(s);
  return TRUE;
}

BOOL InsertMenuItemA(HMENU m, UINT i, BOOL p, const MENUITEMINFOA* info) { return InsertInfo(m, i, p, info); }
BOOL InsertMenuItemW(HMENU m, UINT i, BOOL p, const MENUITEMINFOW* info) { return InsertInfo(m, i, p, info); }
BOOL GetMenuItemInfoA(HMENU m, UINT i, BOOL p, MENUITEMINFOA* info) { return GetInfo(m, i, p, info); }
BOOL GetMenuItemInfoW(HMENU m, UINT i, BOOL p, MENUITEMINFOW* info) { return GetInfo(m, i, p, info); }
BOOL SetMenuItemInfoA(HMENU m, UINT i, BOOL p, const MENUITEMINFOA* info) { return SetInfo(m, i, p, info); }
BOOL SetMenuItemInfoW(HMENU m, UINT i, BOOL p, const MENUITEMINFOW* info) { return SetInfo(m, i, p, info); }

BOOL AppendMenuW(HMENU menu, UINT flags, UINT_PTR idOrSub, LPCWSTR text) {
  Menu* m = FindMenu(menu);
  if (!m) return FALSE;
  m->items.push_back(FromFlags(flags, idOrSub, text && !(flags & (MF_BITMAP | MF_OWNERDRAW)) ? text : u""));
  return TRUE;
}

BOOL AppendMenuA(HMENU menu, UINT flags, UINT_PTR idOrSub, LPCSTR text) {
  Menu* m = FindMenu(menu);
  if (!m) return FALSE;
  const std::u16string wide =
      text && !(flags & (MF_BITMAP | MF_OWNERDRAW)) ? platform::MultiByteToUtf16(text, CP_ACP) : u"";
  m->items.push_back(FromFlags(flags, idOrSub, wide));
  return TRUE;
}

BOOL InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR idOrSub, LPCSTR text) {
  Menu* m = FindMenu(menu);
  if (!m) return FALSE;
  HMENU target = menu;
  int index = int(m->items.size());
  if (flags & MF_BYPOSITION) {
    if (position != UINT(-1)) index = std::min<int>(int(position), index);
  } else if (FindItem(menu, position, false, &target, &index)) {
    m = FindMenu(target);
  }
  const std::u16string wide =
      text && !(flags & (MF_BITMAP | MF_OWNERDRAW)) ? platform::MultiByteToUtf16(text, CP_ACP) : u"";
  m->items.insert(m->items.begin() + index, FromFlags(flags & ~MF_BYPOSITION, idOrSub, wide));
  return TRUE;
}

int GetMenuStringW(HMENU menu, UINT item, LPWSTR buffer, int max, UINT flags) {
  MenuItem* it = FindItem(menu, item, flags & MF_BYPOSITION);
  if (!it) return 0;
  if (!buffer || max <= 0) return int(it->text.size());
  return int(CopyCaption(it->text, buffer, UINT(max)));
}

int GetMenuItemCount(HMENU menu) {
  Menu* m = FindMenu(menu);
  if (!m) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  return int(m->items.size());
}

UINT GetMenuItemID(HMENU menu, int position) {
  MenuItem* it = position >= 0 ? FindItem(menu, UINT(position), true) : nullptr;
  if (!it) return UINT(-1);
  return it->subMenu ? UINT(-1) : it->id;
}

HMENU GetSubMenu(HMENU menu, int position) {
  MenuItem* it = position >= 0 ? FindItem(menu, UINT(position), true) : nullptr;
  return it ? it->subMenu : nullptr;
}

UINT GetMenuState(HMENU menu, UINT item, UINT flags) {
  MenuItem* it = FindItem(menu, item, flags & MF_BYPOSITION);
  if (!it) return UINT(-1);
  UINT state = it->state | it->type;
  if (it->subMenu) {
    Menu* sub = FindMenu(it->subMenu);
    state = (sub ? UINT(sub->items.size()) << 8 : 0) | (it->state & 0xFF) | MF_POPUP;
  }
  return state;
}

DWORD CheckMenuItem(HMENU menu, UINT item, UINT flags) {
  MenuItem* it = FindItem(menu, item, flags & MF_BYPOSITION);
  if (!it) return DWORD(-1);
  const DWORD previous = it->state & MF_CHECKED;
  it->state = (it->state & ~MF_CHECKED) | (flags & MF_CHECKED);
  return previous;
}

BOOL EnableMenuItem(HMENU menu, UINT item, UINT flags) {
  MenuItem* it = FindItem(menu, item, flags & MF_BYPOSITION);
  if (!it) return -1;
  const BOOL previous = BOOL(it->state & (MF_GRAYED | MF_DISABLED));
  it->state = (it->state & ~(MF_GRAYED | MF_DISABLED)) | (flags & (MF_GRAYED | MF_DISABLED));
  return previous;
}

BOOL SetMenuDefaultItem(HMENU menu, UINT item, UINT byPosition) {
  Menu* m = FindMenu(menu);
  if (!m) return FALSE;
  for (auto& it : m->items) it.state &= ~MFS_DEFAULT;
  if (item == UINT(-1)) return TRUE;
  MenuItem* it = FindItem(menu, item, byPosition);
  if (!it) return FALSE;
  it->state |= MFS_DEFAULT;
  return TRUE;
}

BOOL RemoveMenu(HMENU menu, UINT item, UINT flags) {
  HMENU owner = nullptr;
  int index = 0;
  if (!FindItem(menu, item, flags & MF_BYPOSITION, &owner, &index)) return FALSE;
  Menu* m = FindMenu(owner);
  m->items.erase(m->items.begin() + index);
  return TRUE;
}

BOOL DeleteMenu(HMENU menu, UINT item, UINT flags) {
  HMENU owner = nullptr;
  int index = 0;
  if (!FindItem(menu, item, flags & MF_BYPOSITION, &owner, &index)) return FALSE;
  Menu* m = FindMenu(owner);
  const HMENU sub = m->items[size_t(index)].subMenu;
  m->items.erase(m->items.begin() + index);
  if (sub) DestroyMenu(sub);
  return TRUE;
}

BOOL DrawMenuBar(HWND hwnd) { return IsWindow(hwnd); }
