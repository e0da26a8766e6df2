// The COMBOBOX class: a selection field (an EDIT child for CBS_DROPDOWN, drawn text or an
// owner-drawn field for CBS_DROPDOWNLIST), a drop-down button and a list of class "ComboLBox"
// in a top-level popup. The CB_ item messages go to the list; its choices and the edit's
// changes come back as CBN_ notifications to the combo box's parent. The height given at
// creation (or by a later resize) is the dropped-down height; the box itself keeps the height
// of its field.
#include "platform/controls/ComboBoxControl.h"

#include <algorithm>

#include "platform/controls/ControlSupport.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/win/PaintDC.h"

namespace platform::controls {

namespace {

constexpr int kEdge = 2;          // the sunken edge around the field
constexpr int kButtonWidth = 17;  // SM_CXVSCROLL
constexpr int kEditId = 1001;

struct Combo {
  HWND edit = nullptr;
  HWND list = nullptr;
  HWND popup = nullptr;
  WNDPROC editProc;  // the edit's own procedure, under our key handling
  HFONT font = nullptr;
  int fieldHeight = 0;  // the selection field, inside the edge: the text and the edit's margins
  int dropHeight = 0;   // the whole box when dropped down, as the creator sized it
  int droppedWidth = 0;
  bool dropped = false;
  bool focused = false;
  bool pressed = false;      // the button shows pushed
  bool settingText = false;  // the edit's text is changed by the box, not the user
  int selAtDrop = -1;
};

WindowStates<Combo>& States() {
  static WindowStates<Combo> states;
  return states;
}

DWORD Style(HWND hwnd) { return DWORD(GetWindowLongW(hwnd, GWL_STYLE)); }
bool ListOnly(DWORD style) { return (style & 3) == CBS_DROPDOWNLIST; }

int ClosedHeight(const Combo& c) { return c.fieldHeight + 2 * kEdge; }

// Messages to the children, in the set the box itself was given its message in.
LRESULT ToChild(HWND hwnd, HWND child, UINT msg, WPARAM w, LPARAM l) {
  return IsAnsi(hwnd) ? SendMessageA(child, msg, w, l) : SendMessageW(child, msg, w, l);
}
LRESULT ToList(const Combo& c, UINT msg, WPARAM w = 0, LPARAM l = 0) {
  return SendMessageW(c.list, msg, w, l);
}

int CurSel(const Combo& c) { return int(ToList(c, LB_GETCURSEL)); }

std::u16string ItemText(const Combo& c, int i) {
  const LRESULT n = ToList(c, LB_GETTEXTLEN, WPARAM(i));
  if (n < 0) return {};
  std::u16string s(size_t(n) + 1, u'\0');
  const LRESULT got = ToList(c, LB_GETTEXT, WPARAM(i), LPARAM(s.data()));
  s.resize(size_t(std::max<LRESULT>(got, 0)));
  return s;
}

RECT ButtonRect(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return {r.right - kEdge - kButtonWidth, kEdge, r.right - kEdge, r.bottom - kEdge};
}

RECT FieldRect(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  return {kEdge, kEdge, ButtonRect(hwnd).left, r.bottom - kEdge};
}

void Notify(HWND hwnd, WORD code) { NotifyParent(hwnd, code); }

// Runs a change of the edit's text made by the box itself, so that the edit's EN_CHANGE is not
// taken for the user's typing; the mark goes on every way out.
template <typename Change>
LRESULT BoxSetsText(Combo& c, Change change) {
  c.settingText = true;
  const platform::ScopeExit done([&c] { c.settingText = false; });
  return change();
}

std::u16string EditText(const Combo& c) {
  std::u16string text(size_t(GetWindowTextLengthW(c.edit)) + 1, u'\0');
  text.resize(size_t(GetWindowTextW(c.edit, text.data(), int(text.size()))));
  return text;
}

// The field shows the list's selection: the edit's text for CBS_DROPDOWN (selected whole),
// the drawn field otherwise.
void ShowSelection(HWND hwnd, Combo& c) {
  if (c.edit) {
    const int sel = CurSel(c);
    const std::u16string text = sel >= 0 ? ItemText(c, sel) : std::u16string();
    BoxSetsText(c, [&] {
      SendMessageW(c.edit, WM_SETTEXT, 0, LPARAM(text.c_str()));
      return SendMessageW(c.edit, EM_SETSEL, 0, LPARAM(-1));
    });
  }
  InvalidateRect(hwnd, nullptr, FALSE);
}

void LayOut(HWND hwnd, Combo& c) {
  if (!c.edit) return;
  const RECT f = FieldRect(hwnd);
  MoveWindow(c.edit, f.left, f.top, std::max(0, int(f.right - f.left)), std::max(0, int(f.bottom - f.top)),
             TRUE);
}

void Resize(HWND hwnd, Combo& c) {
  RECT r;
  GetWindowRect(hwnd, &r);
  SetWindowPos(hwnd, nullptr, 0, 0, r.right - r.left, ClosedHeight(c),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  LayOut(hwnd, c);
}

RECT DroppedRect(HWND hwnd, Combo& c) {
  RECT r;
  GetWindowRect(hwnd, &r);
  const int itemHeight = std::max(1, int(ToList(c, LB_GETITEMHEIGHT)));
  const int count = std::max(1, int(ToList(c, LB_GETCOUNT)));
  const int available = std::max(itemHeight + 2, c.dropHeight - ClosedHeight(c));
  const int height = std::min(count * itemHeight + 2, available);
  const int width = std::max(int(r.right - r.left), c.droppedWidth);
  return {r.left, r.bottom, r.left + width, r.bottom + height};
}

void DropDown(HWND hwnd, Combo& c) {
  if (c.dropped || !IsWindowEnabled(hwnd)) return;
  Notify(hwnd, CBN_DROPDOWN);  // the owner may fill the list now
  if (!IsWindow(hwnd) || c.dropped) return;
  if (c.edit) {
    // The item the edit's text names is the one highlighted.
    const std::u16string text = EditText(c);
    const LRESULT i = text.empty() ? LB_ERR : ToList(c, LB_FINDSTRINGEXACT, WPARAM(-1), LPARAM(text.c_str()));
    ToList(c, LB_SETCURSEL, WPARAM(i));
  }
  c.selAtDrop = CurSel(c);
  const RECT d = DroppedRect(hwnd, c);
  SetWindowPos(c.popup, HWND_TOPMOST, d.left, d.top, d.right - d.left, d.bottom - d.top,
               SWP_SHOWWINDOW | SWP_NOACTIVATE);
  c.dropped = true;
  c.pressed = true;
  SetListDropped(c.list, true);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void CloseUp(HWND hwnd, Combo& c, bool ok) {
  if (!c.dropped) return;
  c.dropped = false;
  c.pressed = false;
  Notify(hwnd, ok ? CBN_SELENDOK : CBN_SELENDCANCEL);
  if (!IsWindow(hwnd)) return;
  SetListDropped(c.list, false);
  ShowWindow(c.popup, SW_HIDE);
  Notify(hwnd, CBN_CLOSEUP);
  if (IsWindow(hwnd)) InvalidateRect(hwnd, nullptr, FALSE);
}

// The list's selection becomes the box's choice: shown, and reported when it changed.
void Commit(HWND hwnd, Combo& c, int before) {
  const int now = CurSel(c);
  ShowSelection(hwnd, c);
  if (now != before) Notify(hwnd, CBN_SELCHANGE);
}

// Keys of the box and of its edit: true when the box used the key.
bool OnKey(HWND hwnd, Combo& c, int vk, bool alt) {
  const DWORD style = Style(hwnd);
  if (vk == VK_F1 + 3 ||  // F4
      (alt && (vk == VK_DOWN || vk == VK_UP))) {
    if (c.dropped) {
      const int before = c.selAtDrop;
      CloseUp(hwnd, c, true);
      Commit(hwnd, c, before);
    } else {
      DropDown(hwnd, c);
    }
    return true;
  }
  if (alt) return false;
  if (vk == VK_RETURN || vk == VK_ESCAPE) {
    if (!c.dropped) return false;
    if (vk == VK_ESCAPE) {
      ToList(c, LB_SETCURSEL, WPARAM(c.selAtDrop));
      CloseUp(hwnd, c, false);
      ShowSelection(hwnd, c);
      return true;
    }
    const int before = c.selAtDrop;
    CloseUp(hwnd, c, true);
    Commit(hwnd, c, before);
    return true;
  }
  const int count = int(ToList(c, LB_GETCOUNT));
  const int sel = CurSel(c);
  const int page = std::max(1, (DroppedRect(hwnd, c).bottom - DroppedRect(hwnd, c).top) /
                                   std::max(1, int(ToList(c, LB_GETITEMHEIGHT))));
  int to;
  switch (vk) {
    case VK_UP:
      to = sel < 0 ? 0 : sel - 1;
      break;
    case VK_DOWN:
      to = sel + 1;
      break;
    case VK_PRIOR:
      to = std::max(0, sel) - (page - 1);
      break;
    case VK_NEXT:
      to = std::max(0, sel) + (page - 1);
      break;
    case VK_HOME:
      if (!ListOnly(style) && !c.dropped) return false;  // the edit's own key
      to = 0;
      break;
    case VK_END:
      if (!ListOnly(style) && !c.dropped) return false;
      to = count - 1;
      break;
    default:
      return false;
  }
  if (count == 0) return true;
  to = std::clamp(to, 0, count - 1);
  if (to != sel) {
    ToList(c, LB_SETCURSEL, WPARAM(to));
    if (c.dropped) c.selAtDrop = to;
    Commit(hwnd, c, sel);
  }
  return true;
}

// A list-only box selects by typed characters like its list would.
void OnChar(HWND hwnd, Combo& c, UINT msg, WPARAM w, LPARAM l) {
  const int before = CurSel(c);
  ToChild(hwnd, c.list, msg, w, l);
  if (c.dropped) c.selAtDrop = CurSel(c);
  Commit(hwnd, c, before);
}

LRESULT EditSubclass(HWND edit, UINT msg, WPARAM w, LPARAM l) {
  const HWND hwnd = GetParent(edit);
  Combo* c = States().Get(hwnd);
  if (!c) return IsAnsi(edit) ? DefWindowProcA(edit, msg, w, l) : DefWindowProcW(edit, msg, w, l);
  const WNDPROC own = c->editProc;
  switch (msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (OnKey(hwnd, *c, int(w), msg == WM_SYSKEYDOWN)) return 0;
      break;
    case WM_CHAR:
      if ((w == 13 || w == 27) && c->dropped) return 0;
      break;
    case WM_GETDLGCODE: {
      // While the list is down, Enter and Escape are the box's, not the dialog's.
      const LRESULT code =
          IsAnsi(edit) ? CallWindowProcA(own, edit, msg, w, l) : CallWindowProcW(own, edit, msg, w, l);
      return c->dropped ? code | DLGC_WANTALLKEYS : code;
    }
    default:
      break;
  }
  return IsAnsi(edit) ? CallWindowProcA(own, edit, msg, w, l) : CallWindowProcW(own, edit, msg, w, l);
}

void Paint(HWND hwnd, Combo& c) {
  const PaintDC dc(hwnd);
  RECT r;
  GetClientRect(hwnd, &r);
  DrawSunkenEdge(dc, r);
  const RECT field = FieldRect(hwnd);
  const DWORD style = Style(hwnd);
  const bool enabled = IsWindowEnabled(hwnd);
  if (c.edit) {
    FillSolid(dc, field, GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE));
  } else {
    HBRUSH brush = ParentColors(hwnd, dc, WM_CTLCOLORLISTBOX);
    FillRect(dc, &field, brush);
    const int sel = CurSel(c);
    const bool highlight = c.focused && !c.dropped;
    RECT inner = field;
    InflateRect(&inner, -1, -1);
    if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
      DRAWITEMSTRUCT dis{};
      dis.CtlType = ODT_COMBOBOX;
      dis.CtlID = UINT(GetDlgCtrlID(hwnd));
      dis.itemID = UINT(sel);
      dis.itemAction = ODA_DRAWENTIRE;
      dis.itemState =
          ODS_COMBOBOXEDIT | (highlight ? ODS_SELECTED | ODS_FOCUS : 0) | (enabled ? 0 : ODS_DISABLED);
      dis.hwndItem = hwnd;
      dis.hDC = dc;
      dis.rcItem = inner;
      dis.itemData = sel >= 0 ? ULONG_PTR(ToList(c, LB_GETITEMDATA, WPARAM(sel))) : 0;
      if (HWND parent = GetParent(hwnd)) SendMessageW(parent, WM_DRAWITEM, WPARAM(dis.CtlID), LPARAM(&dis));
    } else {
      if (highlight) FillSolid(dc, inner, GetSysColor(COLOR_HIGHLIGHT));
      SetTextColor(dc, !enabled    ? GetSysColor(COLOR_GRAYTEXT)
                       : highlight ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                   : GetTextColor(dc));
      SetBkMode(dc, TRANSPARENT);
      const SelectedObject font(dc, ControlFont(c.font));
      const std::u16string text = sel >= 0 ? ItemText(c, sel) : std::u16string();
      RECT tr{inner.left + 2, inner.top, inner.right, inner.bottom};
      DrawTextW(dc, reinterpret_cast<LPCWSTR>(text.c_str()), int(text.size()), &tr,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
      if (highlight) DrawFocusRect(dc, &inner);
    }
  }
  DrawArrowButton(dc, ButtonRect(hwnd), true, true, c.pressed);
}

void Create(HWND hwnd, Combo& c, const CREATESTRUCTW* cs) {
  const DWORD style = cs->style;
  const bool ansi = IsAnsi(hwnd);
  c.font = nullptr;
  c.fieldHeight = FontHeight(hwnd, c.font) + 4;
  if (style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) {
    MEASUREITEMSTRUCT mis{ODT_COMBOBOX, UINT(GetDlgCtrlID(hwnd)), UINT(-1),
                          UINT(cs->cx), UINT(c.fieldHeight),      0};
    if (HWND parent = GetParent(hwnd)) SendMessageW(parent, WM_MEASUREITEM, WPARAM(mis.CtlID), LPARAM(&mis));
    c.fieldHeight = std::clamp(int(mis.itemHeight), 1, 255);
  }
  c.dropHeight = cs->cy;
  // The popup holding the list, owned by the box's top-level window; the list inside it has
  // the box's set, so the box passes strings to it as they came.
  const DWORD listStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_COMBOBOX |
                          (style & CBS_SORT ? LBS_SORT : 0) | (style & CBS_HASSTRINGS ? LBS_HASSTRINGS : 0) |
                          (style & CBS_OWNERDRAWFIXED ? LBS_OWNERDRAWFIXED : 0) |
                          (style & CBS_OWNERDRAWVARIABLE ? LBS_OWNERDRAWVARIABLE : 0) |
                          (style & CBS_DISABLENOSCROLL ? LBS_DISABLENOSCROLL : 0);
  const DWORD popupEx = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  if (ansi) {
    c.popup = CreateWindowExA(popupEx, "ComboDropDown", "", WS_POPUP, 0, 0, std::max(1, cs->cx), 20, hwnd,
                              nullptr, nullptr, nullptr);
    c.list = CreateWindowExA(0, "ComboLBox", "", listStyle, 0, 0, std::max(1, cs->cx), 20, c.popup, nullptr,
                             nullptr, hwnd);
  } else {
    c.popup = CreateWindowExW(popupEx, kComboDropDownClass, u"", WS_POPUP, 0, 0, std::max(1, cs->cx), 20,
                              hwnd, nullptr, nullptr, nullptr);
    c.list = CreateWindowExW(0, kComboListClass, u"", listStyle, 0, 0, std::max(1, cs->cx), 20, c.popup,
                             nullptr, nullptr, hwnd);
  }
  if ((style & 3) != CBS_DROPDOWNLIST) {
    const DWORD editStyle = WS_CHILD | WS_VISIBLE | (style & CBS_AUTOHSCROLL ? ES_AUTOHSCROLL : 0) |
                            (style & CBS_UPPERCASE ? ES_UPPERCASE : 0) |
                            (style & CBS_LOWERCASE ? ES_LOWERCASE : 0);
    const HMENU id = reinterpret_cast<HMENU>(uintptr_t(kEditId));
    c.edit = ansi ? CreateWindowExA(0, "EDIT", "", editStyle, 0, 0, 10, 10, hwnd, id, nullptr, nullptr)
                  : CreateWindowExW(0, u"EDIT", u"", editStyle, 0, 0, 10, 10, hwnd, id, nullptr, nullptr);
    const WndProcFunction sub = &EditSubclass;
    c.editProc = WNDPROC(ansi ? SetWindowLongPtrA(c.edit, GWL_WNDPROC, LONG_PTR(WNDPROC(sub)))
                              : SetWindowLongPtrW(c.edit, GWL_WNDPROC, LONG_PTR(WNDPROC(sub))));
  }
}

// ---- the procedure's handlers

LRESULT OnCreate(HWND hwnd, Combo& c, LPARAM l) {
  const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(l);  // the same layout in both sets
  if (!cs) return -1;
  Create(hwnd, c, cs);
  if (!c.list || !c.popup) return -1;
  Resize(hwnd, c);
  if (c.edit && cs->lpszName && (reinterpret_cast<uintptr_t>(cs->lpszName) >> 16)) {
    const std::u16string caption = CreationCaption(hwnd, l);
    BoxSetsText(c, [&] { return SendMessageW(c.edit, WM_SETTEXT, 0, LPARAM(caption.c_str())); });
  }
  return 0;
}

void OnDestroy(Combo& c) {
  if (IsWindow(c.popup)) DestroyWindow(c.popup);
  c.popup = c.list = nullptr;
}

// A new height is the dropped-down height; the box keeps its field's.
void KeepFieldHeight(Combo& c, WINDOWPOS* pos) {
  if (!pos || (pos->flags & SWP_NOSIZE) || pos->cy == ClosedHeight(c)) return;
  if (pos->cy > ClosedHeight(c)) c.dropHeight = pos->cy;
  pos->cy = ClosedHeight(c);
}

void OnSetFont(HWND hwnd, Combo& c, WPARAM w, LPARAM l) {
  c.font = reinterpret_cast<HFONT>(w);
  if (!(Style(hwnd) & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)))
    c.fieldHeight = FontHeight(hwnd, c.font) + 4;
  if (c.edit) SendMessageW(c.edit, WM_SETFONT, w, l);
  SendMessageW(c.list, WM_SETFONT, w, l);
  Resize(hwnd, c);
  if (l) InvalidateRect(hwnd, nullptr, TRUE);
}

void OnEnable(HWND hwnd, Combo& c, bool enabled) {
  if (c.edit) EnableWindow(c.edit, enabled);
  if (!enabled) CloseUp(hwnd, c, false);
  InvalidateRect(hwnd, nullptr, FALSE);
}

void OnSetFocus(HWND hwnd, Combo& c) {
  if (c.edit) {
    SetFocus(c.edit);  // the edit reports its focus (EN_SETFOCUS)
    return;
  }
  c.focused = true;
  InvalidateRect(hwnd, nullptr, FALSE);
  Notify(hwnd, CBN_SETFOCUS);
}

void OnKillFocus(HWND hwnd, Combo& c) {
  if (c.edit) return;
  CloseUp(hwnd, c, false);
  c.focused = false;
  InvalidateRect(hwnd, nullptr, FALSE);
  Notify(hwnd, CBN_KILLFOCUS);
}

// What the user types names no item yet: the list's selection goes; its caret moves to the
// first item that starts with the text.
void OnEditChange(HWND hwnd, Combo& c) {
  if (c.settingText) return;
  const std::u16string text = EditText(c);
  const LRESULT i = text.empty() ? LB_ERR : ToList(c, LB_FINDSTRING, WPARAM(-1), LPARAM(text.c_str()));
  ToList(c, LB_SETCURSEL, WPARAM(c.dropped ? i : -1));
  if (i >= 0) ToList(c, LB_SETTOPINDEX, WPARAM(i));
  Notify(hwnd, CBN_EDITCHANGE);
}

void OnEditNotify(HWND hwnd, Combo& c, WORD code) {
  switch (code) {
    case EN_CHANGE:
      OnEditChange(hwnd, c);
      return;
    case EN_SETFOCUS:
      c.focused = true;
      SendMessageW(c.edit, EM_SETSEL, 0, LPARAM(-1));
      Notify(hwnd, CBN_SETFOCUS);
      return;
    case EN_KILLFOCUS:
      CloseUp(hwnd, c, false);
      c.focused = false;
      Notify(hwnd, CBN_KILLFOCUS);
      return;
    default:
      return;
  }
}

void OnPress(HWND hwnd, Combo& c, POINT p) {
  const RECT button = ButtonRect(hwnd);
  if (GetFocus() != hwnd && GetFocus() != c.edit) SetFocus(hwnd);
  if (ListOnly(Style(hwnd)) || PtInRect(&button, p)) DropDown(hwnd, c);
}

LRESULT OnSetText(HWND hwnd, Combo& c, WPARAM w, LPARAM l) {
  if (c.edit) return BoxSetsText(c, [&] { return ToChild(hwnd, c.edit, WM_SETTEXT, w, l); });
  // A list-only box shows only its items: the text must name one.
  const LRESULT i = ToChild(hwnd, c.list, LB_FINDSTRINGEXACT, WPARAM(-1), l);
  if (i < 0) return CB_ERR;
  ToList(c, LB_SETCURSEL, WPARAM(i));
  InvalidateRect(hwnd, nullptr, FALSE);
  return TRUE;
}

// The text of a box without an edit: its selected item's.
std::u16string ChosenText(const Combo& c) {
  return CurSel(c) >= 0 ? ItemText(c, CurSel(c)) : std::u16string();
}

LRESULT OnDeleteString(HWND hwnd, Combo& c, WPARAM w) {
  const LRESULT r = ToList(c, LB_DELETESTRING, w);
  InvalidateRect(hwnd, nullptr, FALSE);
  return r;
}

LRESULT OnSelectString(HWND hwnd, Combo& c, WPARAM w, LPARAM l) {
  const LRESULT i = ToChild(hwnd, c.list, LB_FINDSTRING, w, l);
  if (i < 0) return CB_ERR;
  ToList(c, LB_SETCURSEL, WPARAM(i));
  ShowSelection(hwnd, c);
  return i;
}

// A bad index clears the selection and the field.
LRESULT OnSetCurSel(HWND hwnd, Combo& c, WPARAM w) {
  const int count = int(ToList(c, LB_GETCOUNT));
  const bool valid = int(w) >= 0 && int(w) < count;
  ToList(c, LB_SETCURSEL, valid ? w : WPARAM(-1));
  if (c.dropped) c.selAtDrop = CurSel(c);
  ShowSelection(hwnd, c);
  return valid ? LRESULT(int(w)) : CB_ERR;
}

LRESULT OnSetEditSel(HWND hwnd, Combo& c, LPARAM l) {
  if (!c.edit) return CB_ERR;
  ToChild(hwnd, c.edit, EM_SETSEL, WPARAM(int16_t(LOWORD(uint64_t(l)))),
          LPARAM(int16_t(HIWORD(uint64_t(l)))));
  return TRUE;
}

LRESULT OnSetItemHeight(HWND hwnd, Combo& c, WPARAM w, LPARAM l) {
  if (int(l) < 1 || int(l) > 255) return CB_ERR;
  if (int(w) != -1) return ToList(c, LB_SETITEMHEIGHT, w, l);
  c.fieldHeight = int(l);
  Resize(hwnd, c);
  InvalidateRect(hwnd, nullptr, TRUE);
  return CB_OKAY;
}

LRESULT OnGetDroppedWidth(HWND hwnd, const Combo& c) {
  RECT r;
  GetWindowRect(hwnd, &r);
  return std::max(int(r.right - r.left), c.droppedWidth);
}

LRESULT OnGetComboBoxInfo(HWND hwnd, const Combo& c, LPARAM l) {
  auto* info = reinterpret_cast<COMBOBOXINFO*>(l);
  if (!info || info->cbSize != sizeof(COMBOBOXINFO)) return FALSE;
  info->rcItem = FieldRect(hwnd);
  info->rcButton = ButtonRect(hwnd);
  info->stateButton = c.pressed ? STATE_SYSTEM_PRESSED : 0;
  info->hwndCombo = hwnd;
  info->hwndItem = c.edit;
  info->hwndList = c.list;
  return TRUE;
}

// CB_ messages the list answers as they stand; those with strings go in the caller's set.
struct Forwarded {
  UINT comboMessage;
  UINT listMessage;
  bool text;
};
constexpr Forwarded kForwarded[] = {
    {CB_ADDSTRING, LB_ADDSTRING, true},      {CB_INSERTSTRING, LB_INSERTSTRING, true},
    {CB_GETLBTEXT, LB_GETTEXT, true},        {CB_GETLBTEXTLEN, LB_GETTEXTLEN, true},
    {CB_FINDSTRING, LB_FINDSTRING, true},    {CB_FINDSTRINGEXACT, LB_FINDSTRINGEXACT, true},
    {CB_GETCOUNT, LB_GETCOUNT, false},       {CB_GETITEMDATA, LB_GETITEMDATA, false},
    {CB_SETITEMDATA, LB_SETITEMDATA, false}, {CB_GETTOPINDEX, LB_GETTOPINDEX, false},
    {CB_SETTOPINDEX, LB_SETTOPINDEX, false},
};

const Forwarded* ForwardedToList(UINT msg) {
  for (const Forwarded& f : kForwarded)
    if (f.comboMessage == msg) return &f;
  return nullptr;
}

LRESULT ComboProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  auto def = [&] { return IsAnsi(hwnd) ? DefWindowProcA(hwnd, msg, w, l) : DefWindowProcW(hwnd, msg, w, l); };
  if (msg == WM_NCCREATE) {
    States().Create(hwnd);
    return def();
  }
  Combo* state = States().Get(hwnd);
  if (!state) return def();
  Combo& c = *state;
  switch (msg) {
    case WM_CREATE:
      return OnCreate(hwnd, c, l);
    case WM_DESTROY:
      OnDestroy(c);
      return def();
    case WM_NCDESTROY:
      States().Drop(hwnd);
      return def();
    case WM_WINDOWPOSCHANGING:
      KeepFieldHeight(c, reinterpret_cast<WINDOWPOS*>(l));
      return def();
    case WM_SIZE:
      LayOut(hwnd, c);
      return 0;
    case WM_SETFONT:
      OnSetFont(hwnd, c, w, l);
      return 0;
    case WM_GETFONT:
      return LRESULT(c.font);
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(hwnd, c);
      return 0;
    case WM_ENABLE:
      OnEnable(hwnd, c, w != 0);
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (c.dropped ? DLGC_WANTMESSAGE : 0);
    case WM_SETFOCUS:
      OnSetFocus(hwnd, c);
      return 0;
    case WM_KILLFOCUS:
      OnKillFocus(hwnd, c);
      return 0;
    case WM_COMMAND:
      if (reinterpret_cast<HWND>(l) == c.edit && c.edit) OnEditNotify(hwnd, c, HIWORD(w));
      return 0;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORLISTBOX:
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      // The children ask the box; the box's parent answers.
      if (HWND parent = GetParent(hwnd)) return SendMessageW(parent, msg, w, l);
      return def();
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      OnPress(hwnd, c, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
      return 0;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (OnKey(hwnd, c, int(w), msg == WM_SYSKEYDOWN)) return 0;
      return msg == WM_SYSKEYDOWN ? def() : 0;
    case WM_CHAR:
      if (ListOnly(Style(hwnd)) && w != 13 && w != 27) OnChar(hwnd, c, msg, w, l);
      return 0;
    case WM_MOUSEWHEEL:
      if (!c.dropped) OnKey(hwnd, c, int16_t(HIWORD(w)) > 0 ? VK_UP : VK_DOWN, false);
      return 0;
    case WM_SETTEXT:
      return OnSetText(hwnd, c, w, l);
    case WM_GETTEXT:
      return c.edit ? ToChild(hwnd, c.edit, msg, w, l) : CopyTextOut(hwnd, ChosenText(c), w, l);
    case WM_GETTEXTLENGTH:
      return c.edit ? ToChild(hwnd, c.edit, msg, w, l) : TextLengthFor(hwnd, ChosenText(c));

    case CB_DELETESTRING:
      return OnDeleteString(hwnd, c, w);
    case CB_RESETCONTENT:
      ToList(c, LB_RESETCONTENT);
      ShowSelection(hwnd, c);  // an empty field
      return CB_OKAY;
    case CB_GETCURSEL:
      return CurSel(c);
    case CB_SELECTSTRING:
      return OnSelectString(hwnd, c, w, l);
    case CB_SETCURSEL:
      return OnSetCurSel(hwnd, c, w);
    case CB_SHOWDROPDOWN:
      if (w)
        DropDown(hwnd, c);
      else
        CloseUp(hwnd, c, false);
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return c.dropped;
    case 0x0145:      // CB_DIR
      return CB_ERR;  // no file listings
    case CB_LIMITTEXT:
      if (!c.edit) return CB_ERR;
      ToChild(hwnd, c.edit, EM_LIMITTEXT, w, 0);
      return TRUE;
    case CB_GETEDITSEL:
      return c.edit ? ToChild(hwnd, c.edit, EM_GETSEL, w, l) : CB_ERR;
    case CB_SETEDITSEL:
      return OnSetEditSel(hwnd, c, l);
    case CB_GETITEMHEIGHT:
      return int(w) == -1 ? c.fieldHeight : ToList(c, LB_GETITEMHEIGHT, w);
    case CB_SETITEMHEIGHT:
      return OnSetItemHeight(hwnd, c, w, l);
    case CB_GETDROPPEDCONTROLRECT:
      if (!l) return CB_ERR;
      *reinterpret_cast<RECT*>(l) = DroppedRect(hwnd, c);
      return TRUE;
    case CB_GETDROPPEDWIDTH:
      return OnGetDroppedWidth(hwnd, c);
    case CB_SETDROPPEDWIDTH:
      c.droppedWidth = std::max(0, int(w));
      return std::max(int(ButtonRect(hwnd).right + kEdge), c.droppedWidth);
    case CB_GETCOMBOBOXINFO:
      return OnGetComboBoxInfo(hwnd, c, l);
    default:
      if (const Forwarded* f = ForwardedToList(msg))
        return f->text ? ToChild(hwnd, c.list, f->listMessage, w, l) : ToList(c, f->listMessage, w, l);
      return def();
  }
}

// The popup never takes activation from the form; its list fills it.
LRESULT DropDownProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_SIZE:
      if (HWND list = GetWindow(hwnd, GW_CHILD))
        MoveWindow(list, 0, 0, LOWORD(uint64_t(l)), HIWORD(uint64_t(l)), TRUE);
      return 0;
    case WM_ERASEBKGND:
      return 1;
    default:
      return IsAnsi(hwnd) ? DefWindowProcA(hwnd, msg, w, l) : DefWindowProcW(hwnd, msg, w, l);
  }
}

}  // namespace

WndProcFunction ComboBoxWindowProc() { return &ComboProc; }
WndProcFunction ComboDropDownWindowProc() { return &DropDownProc; }

void ComboListDone(HWND combo, bool chosen) {
  Combo* c = States().Get(combo);
  if (!c || !c->dropped) return;
  const int before = c->selAtDrop;
  if (!chosen) {
    ToList(*c, LB_SETCURSEL, WPARAM(before));
    CloseUp(combo, *c, false);
    return;
  }
  CloseUp(combo, *c, true);
  if (!IsWindow(combo) || !States().Get(combo)) return;
  Commit(combo, *c, before);
  c = States().Get(combo);  // the owner may have destroyed the box on hearing the change
  if (c && c->edit && GetFocus() != c->edit) SetFocus(c->edit);
}

}  // namespace platform::controls

using namespace platform::controls;

BOOL GetComboBoxInfo(HWND combo, COMBOBOXINFO* info) {
  if (!info || !States().Get(combo)) return FALSE;
  return BOOL(SendMessageW(combo, CB_GETCOMBOBOXINFO, 0, LPARAM(info)));
}
