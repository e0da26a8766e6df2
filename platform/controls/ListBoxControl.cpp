// The LISTBOX class: a UTF-16 item store with item data; single, multiple and extended
// selection; sorting without regard to case; owner drawing of fixed-height items; keyboard,
// type-ahead and mouse selection; LBN_SELCHANGE/LBN_DBLCLK under LBS_NOTIFY; a vertical window
// scroll bar when the items do not fit. The same procedure serves a combo box's drop-down list
// (LBS_COMBOBOX): it then reports to the combo box and has its items drawn and measured as
// the combo box's.
#include "platform/controls/ListBoxControl.h"

#include <algorithm>
#include <new>
#include <vector>

#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/ControlSupport.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/rtl/CharCase.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/PaintDC.h"

namespace platform::controls {

namespace {

// Type-ahead keys closer together than this extend the prefix searched for.
constexpr unsigned kTypeAheadMs = 1000;

struct Item {
  std::u16string text;
  ULONG_PTR data = 0;
  bool selected = false;  // multiple and extended selection
  int height = 0;         // LBS_OWNERDRAWVARIABLE: as the owner measured it
};

struct ListBox {
  std::vector<Item> items;
  int selected = -1;  // single selection
  int caret = -1;     // the focus item
  int anchor = -1;    // where a Shift range starts (extended selection)
  int top = 0;
  int itemHeight = 0;        // 0: the font's height, measured when needed
  bool heightFixed = false;  // LB_SETITEMHEIGHT or owner-draw measuring decided it
  HFONT font = nullptr;
  bool focused = false;
  bool tracking = false;  // the left button is held after a press inside
  bool dropped = false;   // a combo box's list, shown
  bool wantsScrollBar = false;
  bool inScrollUpdate = false;
  bool redraw = true;
  HWND combo = nullptr;
  std::u16string typed;
  unsigned typedAt = 0;
  platform::Utf8Collector pendingBytes;  // an incomplete UTF-8 character typed into an 8-bit list
};

WindowStates<ListBox>& States() {
  static WindowStates<ListBox> states;
  return states;
}

DWORD Style(HWND hwnd) { return DWORD(GetWindowLongW(hwnd, GWL_STYLE)); }
bool OwnerDraw(DWORD s) { return s & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE); }
bool HasStrings(DWORD s) { return !(s & LBS_NODATA) && (!OwnerDraw(s) || (s & LBS_HASSTRINGS)); }
bool MultipleSel(DWORD s) { return s & LBS_MULTIPLESEL; }
bool AnyMulti(DWORD s) { return s & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL); }

int Count(const ListBox& lb) { return int(lb.items.size()); }
bool Valid(const ListBox& lb, WPARAM index) { return int64_t(int(index)) >= 0 && int(index) < Count(lb); }

bool Selected(HWND hwnd, const ListBox& lb, int i) {
  if (i < 0 || i >= Count(lb)) return false;
  return AnyMulti(Style(hwnd)) ? lb.items[size_t(i)].selected : lb.selected == i;
}

// The window that gets owner-draw messages and colour questions, and what the items are
// reported as: a combo box's list asks the combo box, which passes the questions on to its
// parent (so the combo box's own procedure may answer them first).
struct Owner {
  HWND to;
  HWND control;
  UINT type;
};
Owner OwnerOf(HWND hwnd, const ListBox& lb) {
  if (lb.combo) return {lb.combo, lb.combo, ODT_COMBOBOX};
  return {GetParent(hwnd), hwnd, ODT_LISTBOX};
}

void Notify(HWND hwnd, const ListBox& lb, WORD code) {
  if (lb.combo || !(Style(hwnd) & LBS_NOTIFY)) return;
  NotifyParent(hwnd, code);
}

int ItemHeight(HWND hwnd, ListBox& lb) {
  if (lb.itemHeight <= 0) lb.itemHeight = FontHeight(hwnd, lb.font);
  return lb.itemHeight;
}

int ClientHeight(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return int(r.bottom);
}

bool Variable(HWND hwnd) { return Style(hwnd) & LBS_OWNERDRAWVARIABLE; }

int HeightOf(HWND hwnd, ListBox& lb, int i) {
  if (Variable(hwnd) && i >= 0 && i < Count(lb)) return std::max(1, lb.items[size_t(i)].height);
  return ItemHeight(hwnd, lb);
}

// Items that fit whole from `top` (at least one, so paging always moves).
int FitFrom(HWND hwnd, ListBox& lb, int top) {
  if (!Variable(hwnd)) return std::max(1, ClientHeight(hwnd) / ItemHeight(hwnd, lb));
  int n = 0;
  for (int i = std::max(0, top), y = 0; i < Count(lb) && (y += HeightOf(hwnd, lb, i)) <= ClientHeight(hwnd);
       ++i)
    ++n;
  return std::max(1, n);
}
int PageItems(HWND hwnd, ListBox& lb) { return FitFrom(hwnd, lb, lb.top); }

// The last top that still fills the window.
int MaxTop(HWND hwnd, ListBox& lb) {
  if (!Variable(hwnd)) return std::max(0, Count(lb) - PageItems(hwnd, lb));
  int top = Count(lb), y = 0;
  while (top > 0 && (y += HeightOf(hwnd, lb, top - 1)) <= ClientHeight(hwnd)) --top;
  return std::min(top, std::max(0, Count(lb) - 1));
}

// The top edge of item i in client coordinates (above the window for items before the top).
int TopOf(HWND hwnd, ListBox& lb, int i) {
  if (!Variable(hwnd)) return (i - lb.top) * ItemHeight(hwnd, lb);
  int y = 0;
  for (int k = lb.top; k < i; ++k) y += HeightOf(hwnd, lb, k);
  for (int k = i; k < lb.top; ++k) y -= HeightOf(hwnd, lb, k);
  return y;
}

void Redraw(HWND hwnd, const ListBox& lb) {
  if (lb.redraw) InvalidateRect(hwnd, nullptr, TRUE);
}

void UpdateScrollBar(HWND hwnd, ListBox& lb) {
  if (!lb.wantsScrollBar || lb.inScrollUpdate) return;
  lb.inScrollUpdate = true;
  SCROLLINFO si{sizeof(SCROLLINFO),
                SIF_RANGE | SIF_PAGE | SIF_POS,
                0,
                std::max(0, Count(lb) - 1),
                UINT(PageItems(hwnd, lb)),
                lb.top,
                0};
  if (Style(hwnd) & LBS_DISABLENOSCROLL) si.fMask |= SIF_DISABLENOSCROLL;
  SetScrollInfo(hwnd, SB_VERT, &si, lb.redraw);
  lb.inScrollUpdate = false;
}

void SetTop(HWND hwnd, ListBox& lb, int top) {
  top = std::clamp(top, 0, MaxTop(hwnd, lb));
  if (top == lb.top) return;
  lb.top = top;
  UpdateScrollBar(hwnd, lb);
  Redraw(hwnd, lb);
}

void EnsureVisible(HWND hwnd, ListBox& lb, int i) {
  if (i < 0 || i >= Count(lb)) return;
  if (i < lb.top) {
    SetTop(hwnd, lb, i);
    return;
  }
  if (i < lb.top + PageItems(hwnd, lb)) return;
  int top = i;  // the first top from which item i still fits whole
  while (top > 0 && FitFrom(hwnd, lb, top - 1) > i - (top - 1)) --top;
  SetTop(hwnd, lb, top);
}

// Single selection; true when it changed.
bool SelectOne(HWND hwnd, ListBox& lb, int i) {
  if (i >= Count(lb)) i = -1;
  if (i >= 0) lb.caret = i;
  if (i == lb.selected) return false;
  lb.selected = i;
  EnsureVisible(hwnd, lb, i);
  Redraw(hwnd, lb);
  return true;
}

// Multiple selection: exactly the items from a to b (either order) selected; true on change.
bool SelectRange(HWND hwnd, ListBox& lb, int a, int b, bool clearOthers) {
  if (a > b) std::swap(a, b);
  bool changed = false;
  for (int i = 0; i < Count(lb); ++i) {
    const bool inside = i >= a && i <= b;
    const bool want = inside || (!clearOthers && lb.items[size_t(i)].selected);
    if (lb.items[size_t(i)].selected != want) {
      lb.items[size_t(i)].selected = want;
      changed = true;
    }
  }
  if (changed) Redraw(hwnd, lb);
  return changed;
}

void MoveCaret(HWND hwnd, ListBox& lb, int i) {
  lb.caret = i;
  EnsureVisible(hwnd, lb, i);
  Redraw(hwnd, lb);
}

bool SameText(const std::u16string& a, const std::u16string& b, size_t length) {
  return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, reinterpret_cast<LPCWSTR>(a.data()),
                        int(length), reinterpret_cast<LPCWSTR>(b.data()), int(length)) == CSTR_EQUAL;
}

// The first item after `start` (wrapping round; -1 = from the top) whose text starts with, or
// (exact) equals, the needle without regard to case; items without strings match by data.
LRESULT Find(HWND hwnd, const ListBox& lb, WPARAM start, LPARAM needleParam, bool exact) {
  const int n = Count(lb);
  if (n == 0) return LB_ERR;
  const int from = int(start) < 0 || int(start) >= n ? 0 : int(start) + 1;
  const bool strings = HasStrings(Style(hwnd));
  const std::u16string needle = strings ? TextParam(hwnd, needleParam) : std::u16string();
  for (int k = 0; k < n; ++k) {
    const int i = (from + k) % n;
    const Item& item = lb.items[size_t(i)];
    if (!strings) {
      if (item.data == ULONG_PTR(needleParam)) return i;
      continue;
    }
    if (exact ? item.text.size() == needle.size() && SameText(item.text, needle, needle.size())
              : item.text.size() >= needle.size() && SameText(item.text, needle, needle.size()))
      return i;
  }
  return LB_ERR;
}

// Asks the owner for an item's height (a fixed list once, for item 0; a variable one per item).
int MeasureItem(HWND hwnd, ListBox& lb, UINT id, ULONG_PTR data) {
  const Owner owner = OwnerOf(hwnd, lb);
  RECT r;
  GetClientRect(hwnd, &r);
  MEASUREITEMSTRUCT mis{owner.type,    UINT(GetDlgCtrlID(owner.control)), id,
                        UINT(r.right), UINT(FontHeight(hwnd, lb.font)),   data};
  if (owner.to) SendMessageW(owner.to, WM_MEASUREITEM, WPARAM(mis.CtlID), LPARAM(&mis));
  return std::clamp(int(mis.itemHeight), 1, 255);
}

LRESULT Insert(HWND hwnd, ListBox& lb, int at, LPARAM l, bool sorted) {
  const DWORD style = Style(hwnd);
  if (style & LBS_NODATA) return LB_ERR;
  Item item;
  if (HasStrings(style))
    item.text = TextParam(hwnd, l);
  else
    item.data = ULONG_PTR(l);
  if (sorted && HasStrings(style)) {
    // After the items that compare equal, so equal texts keep their order of arrival.
    at = Count(lb);
    for (int i = 0; i < Count(lb); ++i) {
      const std::u16string& t = lb.items[size_t(i)].text;
      if (CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, reinterpret_cast<LPCWSTR>(item.text.c_str()),
                         int(item.text.size()), reinterpret_cast<LPCWSTR>(t.c_str()),
                         int(t.size())) == CSTR_LESS_THAN) {
        at = i;
        break;
      }
    }
  }
  const ULONG_PTR data = item.data;
  try {
    lb.items.insert(lb.items.begin() + at, std::move(item));
  } catch (const std::bad_alloc&) {
    Notify(hwnd, lb, LBN_ERRSPACE);
    return LB_ERRSPACE;
  }
  for (int* index : {&lb.selected, &lb.caret, &lb.anchor})
    if (*index >= at) ++*index;
  if (Variable(hwnd)) {
    const int height = MeasureItem(hwnd, lb, UINT(at), data);
    if (!States().Get(hwnd) || at >= Count(lb)) return LB_ERR;  // the owner took the list away
    lb.items[size_t(at)].height = height;
  }
  UpdateScrollBar(hwnd, lb);
  Redraw(hwnd, lb);
  return at;
}

LRESULT Delete(HWND hwnd, ListBox& lb, WPARAM index) {
  if (!Valid(lb, index)) return LB_ERR;
  const int at = int(index);
  lb.items.erase(lb.items.begin() + at);
  if (lb.selected == at)
    lb.selected = -1;
  else if (lb.selected > at)
    --lb.selected;
  for (int* i : {&lb.caret, &lb.anchor})
    if (*i > at || *i >= Count(lb)) --*i;
  lb.top = std::clamp(lb.top, 0, MaxTop(hwnd, lb));
  UpdateScrollBar(hwnd, lb);
  Redraw(hwnd, lb);
  return Count(lb);
}

void Reset(HWND hwnd, ListBox& lb) {
  lb.items.clear();
  lb.selected = lb.caret = lb.anchor = -1;
  lb.top = 0;
  UpdateScrollBar(hwnd, lb);
  Redraw(hwnd, lb);
}

// ---- drawing

void DrawItem(HWND hwnd, ListBox& lb, HDC dc, int i, const RECT& r, COLORREF text) {
  const DWORD style = Style(hwnd);
  const bool selected = Selected(hwnd, lb, i);
  const bool focus = lb.focused && i == lb.caret;
  if (OwnerDraw(style)) {
    const Owner owner = OwnerOf(hwnd, lb);
    DRAWITEMSTRUCT dis{};
    dis.CtlType = owner.type;
    dis.CtlID = UINT(GetDlgCtrlID(owner.control));
    dis.itemID = UINT(i);
    dis.itemAction = ODA_DRAWENTIRE;
    dis.itemState =
        (selected ? ODS_SELECTED : 0) | (focus ? ODS_FOCUS : 0) | (IsWindowEnabled(hwnd) ? 0 : ODS_DISABLED);
    dis.hwndItem = owner.control;
    dis.hDC = dc;
    dis.rcItem = r;
    dis.itemData = lb.items[size_t(i)].data;
    if (owner.to) SendMessageW(owner.to, WM_DRAWITEM, WPARAM(dis.CtlID), LPARAM(&dis));
    return;
  }
  if (selected) FillSolid(dc, r, GetSysColor(COLOR_HIGHLIGHT));
  SetTextColor(dc, !IsWindowEnabled(hwnd) ? GetSysColor(COLOR_GRAYTEXT)
                   : selected             ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                          : text);
  const std::u16string& s = lb.items[size_t(i)].text;
  RECT tr{r.left + 2, r.top, r.right, r.bottom};
  DrawTextW(dc, reinterpret_cast<LPCWSTR>(s.c_str()), int(s.size()), &tr,
            DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  if (focus) DrawFocusRect(dc, &r);
}

void Paint(HWND hwnd, ListBox& lb) {
  const PaintDC dc(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  const Owner owner = OwnerOf(hwnd, lb);
  LRESULT brush = owner.to ? SendMessageW(owner.to, WM_CTLCOLORLISTBOX, WPARAM(dc.Get()), LPARAM(hwnd)) : 0;
  if (!brush) brush = DefWindowProcW(hwnd, WM_CTLCOLORLISTBOX, WPARAM(dc.Get()), LPARAM(hwnd));
  FillRect(dc, &client, reinterpret_cast<HBRUSH>(brush));
  const COLORREF text = GetTextColor(dc);
  const SelectedObject font(dc, ControlFont(lb.font));
  SetBkMode(dc, TRANSPARENT);
  for (int i = lb.top, y = 0; i < Count(lb) && y < client.bottom; y += HeightOf(hwnd, lb, i), ++i)
    DrawItem(hwnd, lb, dc, i, RECT{0, y, client.right, y + HeightOf(hwnd, lb, i)}, text);
}

// ---- keyboard and mouse

int ItemAtY(HWND hwnd, ListBox& lb, int y) {
  if (y < 0) return lb.top - 1;
  if (!Variable(hwnd)) return lb.top + y / ItemHeight(hwnd, lb);
  int i = lb.top;
  for (int bottom = HeightOf(hwnd, lb, i); bottom <= y && i < Count(lb); bottom += HeightOf(hwnd, lb, ++i)) {
  }
  return i;
}

// Moves to item i by a key (arrows, Home/End, pages, type-ahead).
void KeyTo(HWND hwnd, ListBox& lb, int i, bool shift, bool ctrl) {
  if (Count(lb) == 0) return;
  i = std::clamp(i, 0, Count(lb) - 1);
  const DWORD style = Style(hwnd);
  if (!AnyMulti(style)) {
    if (SelectOne(hwnd, lb, i)) Notify(hwnd, lb, LBN_SELCHANGE);
    return;
  }
  MoveCaret(hwnd, lb, i);
  if (MultipleSel(style) || ctrl) return;  // the caret moves alone; Space selects
  if (!shift || lb.anchor < 0) lb.anchor = i;
  if (SelectRange(hwnd, lb, lb.anchor, i, true)) Notify(hwnd, lb, LBN_SELCHANGE);
}

void OnKeyDown(HWND hwnd, ListBox& lb, int vk) {
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  const int current = AnyMulti(Style(hwnd)) ? lb.caret : lb.selected;
  const int page = PageItems(hwnd, lb);
  switch (vk) {
    case VK_UP:
      KeyTo(hwnd, lb, current < 0 ? 0 : current - 1, shift, ctrl);
      break;
    case VK_DOWN:
      KeyTo(hwnd, lb, current + 1, shift, ctrl);
      break;
    case VK_HOME:
      KeyTo(hwnd, lb, 0, shift, ctrl);
      break;
    case VK_END:
      KeyTo(hwnd, lb, Count(lb) - 1, shift, ctrl);
      break;
    case VK_PRIOR:
      KeyTo(hwnd, lb, std::max(0, current) - (page - 1), shift, ctrl);
      break;
    case VK_NEXT:
      KeyTo(hwnd, lb, std::max(0, current) + (page - 1), shift, ctrl);
      break;
    case VK_SPACE: {
      const DWORD style = Style(hwnd);
      if (!AnyMulti(style) || lb.caret < 0 || lb.caret >= Count(lb)) break;
      Item& item = lb.items[size_t(lb.caret)];
      if (MultipleSel(style) || ctrl)
        item.selected = !item.selected;
      else
        SelectRange(hwnd, lb, lb.caret, lb.caret, true);
      lb.anchor = lb.caret;
      Redraw(hwnd, lb);
      Notify(hwnd, lb, LBN_SELCHANGE);
      break;
    }
    default:
      break;
  }
}

// Type-ahead: keys typed in quick succession search for the item starting with them; the same
// key again moves on to the next such item.
void OnChar(HWND hwnd, ListBox& lb, char16_t c) {
  if (c < 32 || c == 127 || !HasStrings(Style(hwnd)) || Count(lb) == 0) return;
  const unsigned now = GetTickCount();
  if (now - lb.typedAt > kTypeAheadMs) lb.typed.clear();
  lb.typedAt = now;
  lb.typed.push_back(c);
  const int current = AnyMulti(Style(hwnd)) ? lb.caret : lb.selected;
  // A longer prefix may still match the current item; a first key looks past it.
  const int start = lb.typed.size() == 1 ? current : current - 1;
  const int n = Count(lb);
  for (int k = 0; k < n; ++k) {
    const int i = ((start < 0 ? -1 : start) + 1 + k) % n;
    const std::u16string& t = lb.items[size_t(i)].text;
    if (t.size() >= lb.typed.size() && SameText(t, lb.typed, lb.typed.size())) {
      KeyTo(hwnd, lb, i, false, false);
      return;
    }
  }
}

void OnPress(HWND hwnd, ListBox& lb, POINT p, WPARAM keys) {
  if (GetFocus() != hwnd) SetFocus(hwnd);
  SetCapture(hwnd);
  lb.tracking = true;
  const int i = ItemAtY(hwnd, lb, p.y);
  if (i < 0 || i >= Count(lb)) return;
  const DWORD style = Style(hwnd);
  if (!AnyMulti(style)) {
    if (SelectOne(hwnd, lb, i)) Notify(hwnd, lb, LBN_SELCHANGE);
    return;
  }
  MoveCaret(hwnd, lb, i);
  if (MultipleSel(style)) {
    lb.items[size_t(i)].selected = !lb.items[size_t(i)].selected;
    lb.anchor = i;
    Redraw(hwnd, lb);
    Notify(hwnd, lb, LBN_SELCHANGE);
    return;
  }
  bool changed;
  if ((keys & MK_SHIFT) && lb.anchor >= 0) {
    changed = SelectRange(hwnd, lb, lb.anchor, i, !(keys & MK_CONTROL));
  } else if (keys & MK_CONTROL) {
    lb.items[size_t(i)].selected = !lb.items[size_t(i)].selected;
    lb.anchor = i;
    Redraw(hwnd, lb);
    changed = true;
  } else {
    lb.anchor = i;
    changed = SelectRange(hwnd, lb, i, i, true);
  }
  if (changed) Notify(hwnd, lb, LBN_SELCHANGE);
}

// Dragging with the button held selects the item under the pointer (scrolling past the edges).
void OnDrag(HWND hwnd, ListBox& lb, POINT p) {
  if (Count(lb) == 0) return;
  const int i = std::clamp(ItemAtY(hwnd, lb, p.y), 0, Count(lb) - 1);
  const DWORD style = Style(hwnd);
  if (MultipleSel(style)) return;
  if (!AnyMulti(style)) {
    if (SelectOne(hwnd, lb, i)) Notify(hwnd, lb, LBN_SELCHANGE);
    return;
  }
  MoveCaret(hwnd, lb, i);
  if (lb.anchor >= 0 && SelectRange(hwnd, lb, lb.anchor, i, true)) Notify(hwnd, lb, LBN_SELCHANGE);
}

// ---- a combo box's dropped-down list

bool InClient(HWND hwnd, POINT p) {
  RECT r;
  GetClientRect(hwnd, &r);
  return PtInRect(&r, p);
}

// A press while dropped: on an item it starts choosing; on the list's own scroll bar it scrolls;
// anywhere else it closes the list.
void DroppedPress(HWND hwnd, ListBox& lb, POINT p) {
  if (InClient(hwnd, p)) {
    lb.tracking = true;
    const int i = ItemAtY(hwnd, lb, p.y);
    if (i >= 0 && i < Count(lb)) SelectOne(hwnd, lb, i);
    return;
  }
  POINT screen = p;
  ClientToScreen(hwnd, &screen);
  const LRESULT hit = SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(WORD(screen.x), WORD(screen.y)));
  if (hit == HTVSCROLL || hit == HTHSCROLL) {
    SendMessageW(hwnd, WM_NCLBUTTONDOWN, WPARAM(hit), MAKELPARAM(WORD(screen.x), WORD(screen.y)));
    return;
  }
  ComboListDone(lb.combo, false);
}

void DroppedMove(HWND hwnd, ListBox& lb, POINT p) {
  if (!InClient(hwnd, p)) return;
  const int i = ItemAtY(hwnd, lb, p.y);
  if (i >= 0 && i < Count(lb)) SelectOne(hwnd, lb, i);
}

void DroppedRelease(HWND hwnd, ListBox& lb, POINT p) {
  lb.tracking = false;
  if (!InClient(hwnd, p)) return;  // released elsewhere (after the press that dropped it): stays open
  const int i = ItemAtY(hwnd, lb, p.y);
  if (i < 0 || i >= Count(lb)) return;
  SelectOne(hwnd, lb, i);
  ComboListDone(lb.combo, true);
}

void OnVScroll(HWND hwnd, ListBox& lb, WORD code) {
  const int page = PageItems(hwnd, lb);
  switch (code) {
    case SB_LINEUP:
      SetTop(hwnd, lb, lb.top - 1);
      break;
    case SB_LINEDOWN:
      SetTop(hwnd, lb, lb.top + 1);
      break;
    case SB_PAGEUP:
      SetTop(hwnd, lb, lb.top - page);
      break;
    case SB_PAGEDOWN:
      SetTop(hwnd, lb, lb.top + page);
      break;
    case SB_TOP:
      SetTop(hwnd, lb, 0);
      break;
    case SB_BOTTOM:
      SetTop(hwnd, lb, MaxTop(hwnd, lb));
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(hwnd, SB_VERT, &si);
      SetTop(hwnd, lb, si.nTrackPos);
      break;
    }
    default:
      break;
  }
}

void Measure(HWND hwnd, ListBox& lb) {
  if (!(Style(hwnd) & LBS_OWNERDRAWFIXED) || Variable(hwnd)) return;
  lb.itemHeight = MeasureItem(hwnd, lb, 0, 0);
  lb.heightFixed = true;
}

// ---- the procedure's handlers

void OnNcCreate(HWND hwnd, LPARAM l) {
  ListBox& lb = States().Create(hwnd);
  const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(l);  // the same layout in both sets
  if (!cs) return;
  lb.wantsScrollBar = cs->style & WS_VSCROLL;
  if (cs->style & LBS_COMBOBOX) lb.combo = reinterpret_cast<HWND>(cs->lpCreateParams);
}

// The window's size or item heights changed: the top stays inside, the bar follows.
void Refit(HWND hwnd, ListBox& lb) {
  lb.top = std::clamp(lb.top, 0, MaxTop(hwnd, lb));
  UpdateScrollBar(hwnd, lb);
}

void OnSetFont(HWND hwnd, ListBox& lb, WPARAM w, LPARAM l) {
  lb.font = reinterpret_cast<HFONT>(w);
  if (!lb.heightFixed) lb.itemHeight = 0;
  UpdateScrollBar(hwnd, lb);
  if (l) Redraw(hwnd, lb);
}

void OnSetRedraw(HWND hwnd, ListBox& lb, bool redraw) {
  lb.redraw = redraw;
  if (!redraw) return;
  UpdateScrollBar(hwnd, lb);
  Redraw(hwnd, lb);
}

void OnFocus(HWND hwnd, ListBox& lb, bool focused) {
  lb.focused = focused;
  Redraw(hwnd, lb);
  Notify(hwnd, lb, focused ? LBN_SETFOCUS : LBN_KILLFOCUS);
}

// An 8-bit window gets a UTF-8 character byte by byte: search once it is whole.
void OnAnsiChar(HWND hwnd, ListBox& lb, uint8_t byte) {
  if (GetACP() != CP_UTF8 || (lb.pendingBytes.Empty() && byte < 0x80)) {
    const char b = char(byte);
    for (char16_t c : MultiByteToUtf16(std::string_view(&b, 1), CP_ACP)) OnChar(hwnd, lb, c);
    return;
  }
  if ((byte & 0xC0) != 0x80) lb.pendingBytes.Clear();  // a new lead byte starts over
  const std::u16string units = lb.pendingBytes.Add(char(byte));
  if (units.size() == 1) OnChar(hwnd, lb, units[0]);  // type-ahead searches by single units
}

void OnButtonDown(HWND hwnd, ListBox& lb, WPARAM w, LPARAM l) {
  const POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  if (lb.dropped)
    DroppedPress(hwnd, lb, p);
  else
    OnPress(hwnd, lb, p, w);
}

void OnDoubleClick(HWND hwnd, ListBox& lb, WPARAM w, LPARAM l) {
  const POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  if (lb.dropped) {
    DroppedPress(hwnd, lb, p);
    return;
  }
  OnPress(hwnd, lb, p, w);                               // the press of a double click selects like any press
  if (States().Get(hwnd)) Notify(hwnd, lb, LBN_DBLCLK);  // unless the selection's owner destroyed it
}

void OnMouseMove(HWND hwnd, ListBox& lb, LPARAM l) {
  const POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  if (lb.dropped)
    DroppedMove(hwnd, lb, p);
  else if (lb.tracking && GetCapture() == hwnd)
    OnDrag(hwnd, lb, p);
}

void OnButtonUp(HWND hwnd, ListBox& lb, LPARAM l) {
  if (lb.dropped) {
    DroppedRelease(hwnd, lb, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
    return;
  }
  lb.tracking = false;
  if (GetCapture() == hwnd) ReleaseCapture();
}

void OnCaptureChanged(HWND hwnd, ListBox& lb, LPARAM l) {
  lb.tracking = false;
  if (lb.dropped && reinterpret_cast<HWND>(l) != hwnd) ComboListDone(lb.combo, false);
}

LRESULT OnInsertString(HWND hwnd, ListBox& lb, WPARAM w, LPARAM l) {
  if (int(w) == -1) return Insert(hwnd, lb, Count(lb), l, false);
  if (int(w) < 0 || int(w) > Count(lb)) return LB_ERR;
  return Insert(hwnd, lb, int(w), l, false);
}

LRESULT OnSetCount(HWND hwnd, ListBox& lb, WPARAM w) {
  if (!(Style(hwnd) & LBS_NODATA)) return LB_ERR;
  try {
    lb.items.assign(size_t(std::max(0, int(w))), Item{});
  } catch (const std::bad_alloc&) {
    return LB_ERRSPACE;
  }
  lb.selected = lb.caret = lb.anchor = -1;
  lb.top = 0;
  UpdateScrollBar(hwnd, lb);
  Redraw(hwnd, lb);
  return LB_OKAY;
}

LRESULT OnGetText(HWND hwnd, const ListBox& lb, WPARAM w, LPARAM l) {
  if (!Valid(lb, w) || !l) return LB_ERR;
  const Item& item = lb.items[size_t(w)];
  if (!HasStrings(Style(hwnd))) {
    *reinterpret_cast<ULONG_PTR*>(l) = item.data;
    return sizeof(ULONG_PTR);
  }
  // The caller sized its buffer by LB_GETTEXTLEN: never write past that length and the zero.
  return CopyTextOut(hwnd, item.text, WPARAM(TextLengthFor(hwnd, item.text) + 1), l);
}

LRESULT OnGetTextLen(HWND hwnd, const ListBox& lb, WPARAM w) {
  if (!Valid(lb, w)) return LB_ERR;
  if (!HasStrings(Style(hwnd))) return sizeof(ULONG_PTR);
  return TextLengthFor(hwnd, lb.items[size_t(w)].text);
}

LRESULT OnSetItemData(ListBox& lb, WPARAM w, LPARAM l) {
  if (!Valid(lb, w)) return LB_ERR;
  lb.items[size_t(w)].data = ULONG_PTR(l);
  return LB_OKAY;
}

LRESULT OnSetCurSel(HWND hwnd, ListBox& lb, WPARAM w) {
  if (AnyMulti(Style(hwnd))) return LB_ERR;
  if (int(w) == -1) {
    SelectOne(hwnd, lb, -1);
    return LB_ERR;  // the classic answer, though nothing failed
  }
  if (!Valid(lb, w)) return LB_ERR;
  SelectOne(hwnd, lb, int(w));
  return LRESULT(int(w));
}

LRESULT OnGetCurSel(HWND hwnd, const ListBox& lb) {
  if (!AnyMulti(Style(hwnd))) return lb.selected;
  return Count(lb) == 0 ? LB_ERR : LRESULT(std::max(0, lb.caret));
}

LRESULT OnSetSel(HWND hwnd, ListBox& lb, WPARAM w, LPARAM l) {
  if (!AnyMulti(Style(hwnd))) return LB_ERR;
  const int i = int(l);
  if (i == -1) {
    for (Item& item : lb.items) item.selected = w != 0;
  } else {
    if (!Valid(lb, WPARAM(l))) return LB_ERR;
    lb.items[size_t(i)].selected = w != 0;
    lb.caret = i;
  }
  Redraw(hwnd, lb);
  return LB_OKAY;
}

LRESULT OnGetSelCount(HWND hwnd, const ListBox& lb) {
  if (!AnyMulti(Style(hwnd))) return LB_ERR;
  return std::count_if(lb.items.begin(), lb.items.end(), [](const Item& i) { return i.selected; });
}

LRESULT OnGetSelItems(HWND hwnd, const ListBox& lb, WPARAM w, LPARAM l) {
  if (!AnyMulti(Style(hwnd))) return LB_ERR;
  auto* out = reinterpret_cast<int*>(l);
  int n = 0;
  for (int i = 0; i < Count(lb) && n < int(w) && out; ++i)
    if (lb.items[size_t(i)].selected) out[n++] = i;
  return n;
}

LRESULT OnSelItemRange(HWND hwnd, ListBox& lb, WPARAM w, LPARAM l) {
  if (!AnyMulti(Style(hwnd))) return LB_ERR;
  const int a = std::max(0, int(LOWORD(uint64_t(l)))), b = std::min(Count(lb) - 1, int(HIWORD(uint64_t(l))));
  for (int i = a; i <= b; ++i) lb.items[size_t(i)].selected = w != 0;
  Redraw(hwnd, lb);
  return LB_OKAY;
}

LRESULT OnSelectString(HWND hwnd, ListBox& lb, WPARAM w, LPARAM l) {
  const LRESULT i = Find(hwnd, lb, w, l, false);
  if (i == LB_ERR) return LB_ERR;
  if (AnyMulti(Style(hwnd))) {
    lb.items[size_t(i)].selected = true;
    MoveCaret(hwnd, lb, int(i));
  } else {
    SelectOne(hwnd, lb, int(i));
  }
  return i;
}

LRESULT OnSetTopIndex(HWND hwnd, ListBox& lb, WPARAM w) {
  if (!Valid(lb, w) && !(w == 0 && Count(lb) == 0)) return LB_ERR;
  SetTop(hwnd, lb, int(w));
  return LB_OKAY;
}

LRESULT OnSetCaretIndex(HWND hwnd, ListBox& lb, WPARAM w) {
  if (!Valid(lb, w)) return LB_ERR;
  if (!AnyMulti(Style(hwnd)))
    SelectOne(hwnd, lb, int(w));
  else
    MoveCaret(hwnd, lb, int(w));
  return LB_OKAY;
}

LRESULT OnSetAnchorIndex(ListBox& lb, WPARAM w) {
  if (!Valid(lb, w)) return LB_ERR;
  lb.anchor = int(w);
  return LB_OKAY;
}

LRESULT OnGetItemHeight(HWND hwnd, ListBox& lb, WPARAM w) {
  if (Variable(hwnd)) return Valid(lb, w) ? LRESULT(HeightOf(hwnd, lb, int(w))) : LB_ERR;
  return ItemHeight(hwnd, lb);
}

LRESULT OnSetItemHeight(HWND hwnd, ListBox& lb, WPARAM w, LPARAM l) {
  if (int(l) < 1 || int(l) > 255) return LB_ERR;
  if (Variable(hwnd)) {
    if (!Valid(lb, w)) return LB_ERR;
    lb.items[size_t(w)].height = int(l);
  } else {
    lb.itemHeight = int(l);
    lb.heightFixed = true;
  }
  Refit(hwnd, lb);
  Redraw(hwnd, lb);
  return LB_OKAY;
}

LRESULT OnGetItemRect(HWND hwnd, ListBox& lb, WPARAM w, LPARAM l) {
  if ((!Valid(lb, w) && !(w == 0 && Count(lb) == 0)) || !l) return LB_ERR;
  RECT client;
  GetClientRect(hwnd, &client);
  const int h = HeightOf(hwnd, lb, int(w)), y = TopOf(hwnd, lb, int(w));
  *reinterpret_cast<RECT*>(l) = RECT{0, y, client.right, y + h};
  return 1;
}

LRESULT OnItemFromPoint(HWND hwnd, ListBox& lb, LPARAM l) {
  const POINT p{GET_X_LPARAM(l), GET_Y_LPARAM(l)};
  if (Count(lb) == 0) return MAKELONG(0, 1);
  const int i = ItemAtY(hwnd, lb, p.y);
  const bool outside = !InClient(hwnd, p) || i < 0 || i >= Count(lb);
  return MAKELONG(WORD(std::clamp(i, 0, Count(lb) - 1)), outside ? 1 : 0);
}

LRESULT ListProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  auto def = [&] { return IsAnsi(hwnd) ? DefWindowProcA(hwnd, msg, w, l) : DefWindowProcW(hwnd, msg, w, l); };
  if (msg == WM_NCCREATE) {
    OnNcCreate(hwnd, l);
    return def();
  }
  ListBox* state = States().Get(hwnd);
  if (!state) return def();
  ListBox& lb = *state;
  switch (msg) {
    case WM_NCDESTROY:
      States().Drop(hwnd);
      return def();
    case WM_CREATE:
      Measure(hwnd, lb);
      UpdateScrollBar(hwnd, lb);
      return 0;
    case WM_SIZE:
      Refit(hwnd, lb);
      return 0;
    case WM_SETFONT:
      OnSetFont(hwnd, lb, w, l);
      return 0;
    case WM_GETFONT:
      return LRESULT(lb.font);
    case WM_SETREDRAW:
      OnSetRedraw(hwnd, lb, w != 0);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting fills the whole client area
    case WM_PAINT:
      Paint(hwnd, lb);
      return 0;
    case WM_ENABLE:
      Redraw(hwnd, lb);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      OnFocus(hwnd, lb, msg == WM_SETFOCUS);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(hwnd, lb, int(w));
      return 0;
    case WM_CHAR:
      if (IsAnsi(hwnd))
        OnAnsiChar(hwnd, lb, uint8_t(w));
      else
        OnChar(hwnd, lb, char16_t(w));
      return 0;
    case WM_MOUSEACTIVATE:
      return lb.combo ? MA_NOACTIVATE : def();
    case WM_LBUTTONDOWN:
      OnButtonDown(hwnd, lb, w, l);
      return 0;
    case WM_LBUTTONDBLCLK:
      OnDoubleClick(hwnd, lb, w, l);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(hwnd, lb, l);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(hwnd, lb, l);
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureChanged(hwnd, lb, l);
      return 0;
    case WM_MOUSEWHEEL:
      SetTop(hwnd, lb, lb.top - 3 * (int(int16_t(HIWORD(w))) / 120));
      return 0;
    case WM_VSCROLL:
      OnVScroll(hwnd, lb, LOWORD(w));
      return 0;

    case LB_ADDSTRING:
      return Insert(hwnd, lb, Count(lb), l, Style(hwnd) & LBS_SORT);
    case LB_INSERTSTRING:
      return OnInsertString(hwnd, lb, w, l);
    case LB_DELETESTRING:
      return Delete(hwnd, lb, w);
    case LB_RESETCONTENT:
      Reset(hwnd, lb);
      return LB_OKAY;
    case LB_GETCOUNT:
      return Count(lb);
    case LB_SETCOUNT:
      return OnSetCount(hwnd, lb, w);
    case LB_INITSTORAGE:
      return Count(lb) + LRESULT(std::max(0, int(w)));
    case LB_GETTEXT:
      return OnGetText(hwnd, lb, w, l);
    case LB_GETTEXTLEN:
      return OnGetTextLen(hwnd, lb, w);
    case LB_GETITEMDATA:
      return Valid(lb, w) ? LRESULT(lb.items[size_t(w)].data) : LB_ERR;
    case LB_SETITEMDATA:
      return OnSetItemData(lb, w, l);
    case LB_SETCURSEL:
      return OnSetCurSel(hwnd, lb, w);
    case LB_GETCURSEL:
      return OnGetCurSel(hwnd, lb);
    case LB_SETSEL:
      return OnSetSel(hwnd, lb, w, l);
    case LB_GETSEL:
      return Valid(lb, w) ? LRESULT(Selected(hwnd, lb, int(w)) ? 1 : 0) : LB_ERR;
    case LB_GETSELCOUNT:
      return OnGetSelCount(hwnd, lb);
    case LB_GETSELITEMS:
      return OnGetSelItems(hwnd, lb, w, l);
    case LB_SELITEMRANGE:
      return OnSelItemRange(hwnd, lb, w, l);
    case LB_SELECTSTRING:
      return OnSelectString(hwnd, lb, w, l);
    case LB_FINDSTRING:
      return Find(hwnd, lb, w, l, false);
    case LB_FINDSTRINGEXACT:
      return Find(hwnd, lb, w, l, true);
    case LB_SETTOPINDEX:
      return OnSetTopIndex(hwnd, lb, w);
    case LB_GETTOPINDEX:
      return lb.top;
    case LB_SETCARETINDEX:
      return OnSetCaretIndex(hwnd, lb, w);
    case LB_GETCARETINDEX:
      return AnyMulti(Style(hwnd)) ? std::max(0, lb.caret) : std::max(0, lb.selected);
    case LB_SETANCHORINDEX:
      return OnSetAnchorIndex(lb, w);
    case LB_GETANCHORINDEX:
      return lb.anchor;
    case LB_GETITEMHEIGHT:
      return OnGetItemHeight(hwnd, lb, w);
    case LB_SETITEMHEIGHT:
      return OnSetItemHeight(hwnd, lb, w, l);
    case LB_GETITEMRECT:
      return OnGetItemRect(hwnd, lb, w, l);
    case 0x018D:      // LB_DIR
    case 0x0196:      // LB_ADDFILE
      return LB_ERR;  // no file listings
    case LB_ITEMFROMPOINT:
      return OnItemFromPoint(hwnd, lb, l);
    default:
      return def();
  }
}

}  // namespace

WndProcFunction ListBoxWindowProc() { return &ListProc; }

void SetListDropped(HWND list, bool dropped) {
  ListBox* lb = States().Get(list);
  if (!lb || lb->dropped == dropped) return;
  lb->dropped = dropped;
  lb->tracking = false;
  if (dropped) {
    EnsureVisible(list, *lb, lb->selected);
    SetCapture(list);
  } else if (GetCapture() == list) {
    ReleaseCapture();
  }
}

}  // namespace platform::controls
