// TrackPopupMenu: each open menu level is a non-activating top-level window of the menu class;
// a get-message hook takes the keys and presses elsewhere while the modal loop runs, so the
// focused window never sees them. Drawing is the classic look: mnemonics underlined, shortcut
// text after a Tab right-aligned, check marks, separators and sub-menu arrows.
#include <algorithm>
#include <vector>

#include "platform/controls/ControlSupport.h"
#include "platform/controls/MenuObjects.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/win/Backend.h"
#include "platform/win/PaintDC.h"
#include "platform/win/WindowDC.h"

namespace platform::controls {

namespace {

constexpr int kItemHeight = 19, kSeparatorHeight = 9, kCheckColumn = 20, kArrowColumn = 16, kFrame = 3;

struct Level {
  HMENU menu = nullptr;
  HWND hwnd = nullptr;
  int hot = -1;
  std::vector<RECT> rects;  // client coordinates of each item
};

struct Tracker {
  HWND owner = nullptr;
  UINT flags = 0;
  std::vector<Level> levels;
  bool finished = false;
  UINT chosen = 0;
  HHOOK hook = nullptr;
};

Tracker* active = nullptr;

bool Notify(const Tracker& t) { return !(t.flags & TPM_NONOTIFY); }

bool Disabled(const MenuItem& it) { return it.state & (MF_GRAYED | MF_DISABLED); }
bool Selectable(const MenuItem& it) { return !(it.type & MFT_SEPARATOR); }

Level* LevelOf(HWND hwnd) {
  if (!active) return nullptr;
  for (auto& l : active->levels)
    if (l.hwnd == hwnd) return &l;
  return nullptr;
}

std::u16string LeftPart(const std::u16string& s) { return s.substr(0, s.find(u'\t')); }
std::u16string RightPart(const std::u16string& s) {
  const size_t tab = s.find(u'\t');
  return tab == std::u16string::npos ? u"" : s.substr(tab + 1);
}

int TextWidth(HDC dc, const std::u16string& s) {
  RECT r{0, 0, 0, 0};
  DrawTextW(dc, s.c_str(), int(s.size()), &r, DT_CALCRECT | DT_SINGLELINE);
  return int(r.right - r.left);
}

// Item rectangles and the window size for a menu.
SIZE Measure(Tracker& t, Level& level) {
  Menu* m = FindMenu(level.menu);
  int left = 0, right = 0;
  std::vector<int> heights;
  const WindowDC dc(nullptr);
  const SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
  for (size_t i = 0; m && i < m->items.size(); ++i) {
    MenuItem& it = m->items[i];
    int h = (it.type & MFT_SEPARATOR) ? kSeparatorHeight : kItemHeight;
    if (it.type & MFT_OWNERDRAW) {
      MEASUREITEMSTRUCT mi{ODT_MENU, 0, it.id, 0, UINT(kItemHeight), it.data};
      SendMessageW(t.owner, WM_MEASUREITEM, 0, LPARAM(&mi));
      h = int(mi.itemHeight);
      left = std::max(left, int(mi.itemWidth));
    } else if (!(it.type & MFT_SEPARATOR)) {
      left = std::max(left, TextWidth(dc, LeftPart(it.text)));
      right = std::max(right, TextWidth(dc, RightPart(it.text)));
    }
    heights.push_back(h);
  }
  const int width = kFrame * 2 + kCheckColumn + left + (right ? right + 24 : 0) + kArrowColumn;
  level.rects.clear();
  int y = kFrame;
  for (int h : heights) {
    level.rects.push_back(RECT{kFrame, y, width - kFrame, y + h});
    y += h;
  }
  return SIZE{std::max(width, 60), y + kFrame};
}

void Select(Tracker& t, Level& level, int hot, bool byMouse) {
  if (level.hot == hot) return;
  level.hot = hot;
  InvalidateRect(level.hwnd, nullptr, FALSE);
  Menu* m = FindMenu(level.menu);
  if (!Notify(t) || !m || hot < 0) return;
  const MenuItem& it = m->items[size_t(hot)];
  UINT f = MF_HILITE | (it.state & (MF_GRAYED | MF_DISABLED | MF_CHECKED)) | (byMouse ? MF_MOUSESELECT : 0);
  WORD idOrPos = WORD(it.id);
  if (it.subMenu) f |= MF_POPUP, idOrPos = WORD(hot);
  SendMessageW(t.owner, WM_MENUSELECT, MAKEWPARAM(idOrPos, WORD(f)), LPARAM(level.menu));
}

void CloseLevelsFrom(Tracker& t, size_t first) {
  while (t.levels.size() > first) {
    DestroyWindow(t.levels.back().hwnd);
    t.levels.pop_back();
  }
}

void OpenLevel(Tracker& t, HMENU menu, int x, int y) {
  if (Notify(t)) SendMessageW(t.owner, WM_INITMENUPOPUP, WPARAM(menu), MAKELPARAM(WORD(t.levels.size()), 0));
  Level level;
  level.menu = menu;
  const SIZE size = Measure(t, level);
  const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  if (t.levels.empty()) {
    if (t.flags & TPM_RIGHTALIGN) x -= size.cx;
    if (t.flags & TPM_CENTERALIGN) x -= size.cx / 2;
    if (t.flags & TPM_BOTTOMALIGN) y -= size.cy;
    if (t.flags & TPM_VCENTERALIGN) y -= size.cy / 2;
  }
  x = std::clamp(x, 0, std::max(0, sw - int(size.cx)));
  y = std::clamp(y, 0, std::max(0, sh - int(size.cy)));
  level.hwnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, kMenuClass, u"", WS_POPUP,
                               x, y, size.cx, size.cy, t.owner, nullptr, nullptr, nullptr);
  t.levels.push_back(std::move(level));
  ShowWindow(t.levels.back().hwnd, SW_SHOWNOACTIVATE);
}

void OpenSubMenu(Tracker& t, size_t levelIndex) {
  Level& level = t.levels[levelIndex];
  Menu* m = FindMenu(level.menu);
  if (!m || level.hot < 0) return;
  const MenuItem& it = m->items[size_t(level.hot)];
  if (!it.subMenu || Disabled(it)) return;
  CloseLevelsFrom(t, levelIndex + 1);
  RECT wr;
  GetWindowRect(level.hwnd, &wr);
  const RECT& r = level.rects[size_t(level.hot)];
  OpenLevel(t, it.subMenu, int(wr.right) - kFrame, int(wr.top + r.top) - kFrame);
}

void Finish(Tracker& t, UINT chosen) {
  t.chosen = chosen;
  t.finished = true;
}

// The item at `index` of the deepest level is activated (Enter, click, mnemonic).
void Activate(Tracker& t, size_t levelIndex, int index) {
  Level& level = t.levels[levelIndex];
  Menu* m = FindMenu(level.menu);
  if (!m || index < 0 || size_t(index) >= m->items.size()) return;
  const MenuItem& it = m->items[size_t(index)];
  if (!Selectable(it)) return;
  if (it.subMenu) {
    Select(t, level, index, false);
    OpenSubMenu(t, levelIndex);
    if (t.levels.size() > levelIndex + 1) {
      Level& sub = t.levels.back();
      Menu* sm = FindMenu(sub.menu);
      for (size_t i = 0; sm && i < sm->items.size(); ++i)
        if (Selectable(sm->items[i])) {
          Select(t, sub, int(i), false);
          break;
        }
    }
    return;
  }
  if (Disabled(it)) return;  // grayed items highlight but are never chosen
  Finish(t, it.id);
}

void MoveHot(Tracker& t, Level& level, int dir) {
  Menu* m = FindMenu(level.menu);
  if (!m || m->items.empty()) return;
  const int n = int(m->items.size());
  int i = level.hot;
  for (int step = 0; step < n; ++step) {
    i = i < 0 ? (dir > 0 ? 0 : n - 1) : (i + dir + n) % n;
    if (Selectable(m->items[size_t(i)])) {
      Select(t, level, i, false);
      return;
    }
  }
}

void OnKey(Tracker& t, int vk) {
  const size_t deepest = t.levels.size() - 1;
  Level& level = t.levels[deepest];
  switch (vk) {
    case VK_UP:
      MoveHot(t, level, -1);
      return;
    case VK_DOWN:
      MoveHot(t, level, 1);
      return;
    case VK_RIGHT:
      Activate(t, deepest, level.hot);
      return;
    case VK_LEFT:
      if (deepest > 0) CloseLevelsFrom(t, deepest);
      return;
    case VK_RETURN:
      Activate(t, deepest, level.hot);
      return;
    case VK_ESCAPE:
      if (deepest > 0)
        CloseLevelsFrom(t, deepest);
      else
        Finish(t, 0);
      return;
    default:
      break;
  }
  if (!((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9'))) return;
  Menu* m = FindMenu(level.menu);
  for (size_t i = 0; m && i < m->items.size(); ++i)
    if (Selectable(m->items[i]) && Mnemonic(m->items[i].text) == char16_t(vk)) {
      Activate(t, deepest, int(i));
      return;
    }
}

LRESULT HookProc(int code, WPARAM w, LPARAM l) {
  MSG* msg = reinterpret_cast<MSG*>(l);
  if (code == HC_ACTION && active && !active->finished && w == PM_REMOVE && msg) {
    switch (msg->message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        OnKey(*active, int(msg->wParam));
        msg->message = WM_NULL;
        break;
      case WM_KEYUP:
      case WM_SYSKEYUP:
      case WM_CHAR:
      case WM_SYSCHAR:
        msg->message = WM_NULL;
        break;
      case WM_CANCELMODE:  // the desktop saw a press outside the program
        Finish(*active, 0);
        msg->message = WM_NULL;
        break;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_NCLBUTTONDOWN:
        if (!LevelOf(msg->hwnd)) {  // a press outside every menu closes it
          Finish(*active, 0);
          msg->message = WM_NULL;
        }
        break;
      default:
        break;
    }
  }
  return CallNextHookEx(active ? active->hook : nullptr, code, w, l);
}

int ItemAt(const Level& level, POINT client) {
  for (size_t i = 0; i < level.rects.size(); ++i)
    if (PtInRect(&level.rects[i], client)) return int(i);
  return -1;
}

void PaintLevel(HWND hwnd, Level& level) {
  const PaintDC dc(hwnd);
  RECT client;
  GetClientRect(hwnd, &client);
  FillSolid(dc, client, GetSysColor(COLOR_MENU));
  DrawButtonFrame(dc, client, false);
  const SelectedObject font(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  Menu* m = FindMenu(level.menu);
  for (size_t i = 0; m && i < m->items.size() && i < level.rects.size(); ++i) {
    const MenuItem& it = m->items[i];
    const RECT r = level.rects[i];
    const bool hot = int(i) == level.hot;
    if (it.type & MFT_SEPARATOR) {
      const int y = (r.top + r.bottom) / 2 - 1;
      FillSolid(dc, RECT{r.left + 1, y, r.right - 1, y + 1}, GetSysColor(COLOR_3DSHADOW));
      FillSolid(dc, RECT{r.left + 1, y + 1, r.right - 1, y + 2}, GetSysColor(COLOR_3DHILIGHT));
      continue;
    }
    if (it.type & MFT_OWNERDRAW) {
      DRAWITEMSTRUCT di{ODT_MENU,
                        0,
                        it.id,
                        ODA_DRAWENTIRE,
                        UINT((hot ? ODS_SELECTED : 0) | (Disabled(it) ? ODS_GRAYED : 0) |
                             ((it.state & MF_CHECKED) ? ODS_CHECKED : 0)),
                        reinterpret_cast<HWND>(level.menu),
                        dc,
                        r,
                        it.data};
      if (active) SendMessageW(active->owner, WM_DRAWITEM, 0, LPARAM(&di));
      continue;
    }
    if (hot) FillSolid(dc, r, GetSysColor(COLOR_HIGHLIGHT));
    SetTextColor(dc, GetSysColor(Disabled(it) ? COLOR_GRAYTEXT : hot ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT));
    if (it.state & MF_CHECKED) {
      RECT c{r.left, r.top, r.left + kCheckColumn, r.bottom};
      const std::u16string mark = (it.type & MFT_RADIOCHECK) ? u"\u2022" : u"\u2713";
      DrawTextW(dc, mark.c_str(), int(mark.size()), &c, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    RECT textRect{r.left + kCheckColumn, r.top, r.right - kArrowColumn, r.bottom};
    const std::u16string left = LeftPart(it.text), right = RightPart(it.text);
    DrawTextW(dc, left.c_str(), int(left.size()), &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (!right.empty())
      DrawTextW(dc, right.c_str(), int(right.size()), &textRect, DT_RIGHT | DT_VCENTER | DT_SINGLELINE);
    if (it.subMenu) {
      const COLORREF ink = GetTextColor(dc);
      const int cx = r.right - kArrowColumn / 2 - 2, cy = (r.top + r.bottom) / 2;
      for (int k = 0; k < 4; ++k)
        for (int j = -k; j <= k; ++j) SetPixel(dc, cx + 3 - k, cy + j, ink);
    }
  }
}

LRESULT MenuProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  Level* level = LevelOf(hwnd);
  switch (msg) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      if (level) {
        PaintLevel(hwnd, *level);
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      if (level && active) {
        const int hot = ItemAt(*level, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        const size_t index = size_t(level - active->levels.data());
        if (hot >= 0 && hot != level->hot) {
          Select(*active, *level, hot, true);
          CloseLevelsFrom(*active, index + 1);
          OpenSubMenu(*active, index);
        }
      }
      return 0;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
      if (level && active) {
        const int hot = ItemAt(*level, POINT{GET_X_LPARAM(l), GET_Y_LPARAM(l)});
        if (hot >= 0) Activate(*active, size_t(level - active->levels.data()), hot);
      }
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, w, l);
}

}  // namespace

WndProcFunction MenuWindowProc() { return &MenuProc; }

}  // namespace platform::controls

using namespace platform::controls;

BOOL TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND owner, const RECT*) {
  Menu* m = FindMenu(menu);
  if (!m || !IsWindow(owner) || active) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  Tracker t;
  t.owner = owner;
  t.flags = flags;
  active = &t;
  struct Reset {
    Tracker& t;
    ~Reset() {
      if (t.hook) UnhookWindowsHookEx(t.hook);
      CloseLevelsFrom(t, 0);
      active = nullptr;
    }
  } reset{t};
  if (Notify(t)) SendMessageW(owner, WM_ENTERMENULOOP, TRUE, 0);
  OpenLevel(t, menu, x, y);

  platform::win::ModalInfo info;
  info.kind = platform::win::ModalInfo::Kind::PopupMenu;
  info.hwnd = t.levels[0].hwnd;
  info.className = kMenuClass;
  for (const auto& it : m->items) info.texts.push_back(it.text);
  bool loop = true;
  if (auto answer = platform::win::AskModal(info)) {
    using Type = platform::win::ModalAnswer::Type;
    if (answer->type == Type::MenuItem) {
      MenuItem* it = nullptr;
      if (!answer->menuCaption.empty()) {
        for (auto& item : m->items) {
          std::u16string plain;
          for (char16_t c : LeftPart(item.text))
            if (c != u'&') plain.push_back(c);
          if (item.text == answer->menuCaption || plain == answer->menuCaption) it = &item;
        }
      } else {
        it = FindItem(menu, UINT(answer->menuId), false);
      }
      Finish(t, it && !Disabled(*it) && !it->subMenu && Selectable(*it) ? it->id : 0);
      loop = false;
    } else if (answer->type == Type::Drive) {
      t.hook = SetWindowsHookExW(WH_GETMESSAGE, &HookProc, nullptr, 0);
      if (answer->drive) answer->drive();
    } else {
      Finish(t, 0);
      loop = false;
    }
  }
  if (loop) {
    if (!t.hook) t.hook = SetWindowsHookExW(WH_GETMESSAGE, &HookProc, nullptr, 0);
    // The menu's own loop: the owner stays enabled and focused, and the hook takes the keys.
    MSG msg;
    while (!t.finished) {
      if (!GetMessageA(&msg, nullptr, 0, 0)) {
        PostQuitMessage(int(msg.wParam));  // the outer loops end as well
        Finish(t, 0);
        break;
      }
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
  }
  CloseLevelsFrom(t, 0);
  if (Notify(t)) {
    SendMessageW(owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    SendMessageW(owner, WM_EXITMENULOOP, TRUE, 0);
  }
  if (flags & TPM_RETURNCMD) return BOOL(t.chosen);
  if (t.chosen) PostMessageW(owner, WM_COMMAND, MAKEWPARAM(WORD(t.chosen), 0), 0);
  return TRUE;
}

BOOL EndMenu() {
  if (!active) return FALSE;
  Finish(*active, 0);
  return TRUE;
}
