// Rectangles, system metrics, cursors, mouse tracking and the caret.
#include <algorithm>
#include <string>

#include "platform/gdi/WindowDrawing.h"
#include "platform/rtl/Resources.h"
#include "platform/win/WindowSystem.h"

using namespace platform::win;
namespace gdi = platform::gdi;

BOOL SetRect(RECT* r, int left, int top, int right, int bottom) {
  if (!r) return FALSE;
  *r = {left, top, right, bottom};
  return TRUE;
}
BOOL SetRectEmpty(RECT* r) { return SetRect(r, 0, 0, 0, 0); }
BOOL CopyRect(RECT* dst, const RECT* src) {
  if (!dst || !src) return FALSE;
  *dst = *src;
  return TRUE;
}
BOOL OffsetRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  *r = {r->left + dx, r->top + dy, r->right + dx, r->bottom + dy};
  return TRUE;
}
BOOL InflateRect(RECT* r, int dx, int dy) {
  if (!r) return FALSE;
  *r = {r->left - dx, r->top - dy, r->right + dx, r->bottom + dy};
  return TRUE;
}
BOOL IsRectEmpty(const RECT* r) { return !r || r->left >= r->right || r->top >= r->bottom; }
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r{std::max(a->left, b->left), std::max(a->top, b->top), std::min(a->right, b->right),
         std::min(a->bottom, b->bottom)};
  if (IsRectEmpty(&r)) {
    *dst = {0, 0, 0, 0};
    return FALSE;
  }
  *dst = r;
  return TRUE;
}
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  if (IsRectEmpty(a)) return CopyRect(dst, b) && !IsRectEmpty(b);
  if (IsRectEmpty(b)) return CopyRect(dst, a);
  *dst = {std::min(a->left, b->left), std::min(a->top, b->top), std::max(a->right, b->right),
          std::max(a->bottom, b->bottom)};
  return TRUE;
}
BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b) {
  if (!dst || !a || !b) return FALSE;
  RECT r = *a;
  // Only a cut across the whole width or height leaves a rectangle; otherwise `a` stays whole.
  if (b->left <= r.left && b->right >= r.right) {
    if (b->top <= r.top && b->bottom > r.top)
      r.top = std::min(b->bottom, r.bottom);
    else if (b->bottom >= r.bottom && b->top < r.bottom)
      r.bottom = std::max(b->top, r.top);
  } else if (b->top <= r.top && b->bottom >= r.bottom) {
    if (b->left <= r.left && b->right > r.left)
      r.left = std::min(b->right, r.right);
    else if (b->right >= r.right && b->left < r.right)
      r.right = std::max(b->left, r.left);
  }
  *dst = r;
  return !IsRectEmpty(dst);
}
BOOL PtInRect(const RECT* r, POINT p) {
  return r && p.x >= r->left && p.x < r->right && p.y >= r->top && p.y < r->bottom;
}
BOOL EqualRect(const RECT* a, const RECT* b) {
  return a && b && a->left == b->left && a->top == b->top && a->right == b->right && a->bottom == b->bottom;
}

int GetSystemMetrics(int index) {
  const SIZE screen = platform::gdi::ScreenSize();
  switch (index) {
    case SM_CXSCREEN:
    case SM_CXFULLSCREEN:
      return int(screen.cx);
    case SM_CYSCREEN:
    case SM_CYFULLSCREEN:
      return int(screen.cy);
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
      return 17;
    case SM_CYCAPTION:
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
      return 0;
    case SM_CXBORDER:
    case SM_CYBORDER:
      return 1;
    case SM_CXICON:
    case SM_CYICON:
    case SM_CXCURSOR:
    case SM_CYCURSOR:
      return 32;
    case SM_CYMENU:
      return 19;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK:
    case SM_CXDRAG:
    case SM_CYDRAG:
      return 4;
    case SM_CXEDGE:
    case SM_CYEDGE:
      return 2;
    case SM_CMONITORS:
      return 1;
    default:
      return 0;
  }
}

BOOL GetCursorPos(POINT* out) {
  if (!out) return FALSE;
  *out = S().cursorPos;
  return TRUE;
}

HCURSOR SetCursor(HCURSOR cursor) {
  State& s = S();
  const HCURSOR previous = s.cursor;
  s.cursor = cursor;
  if (s.backend && cursor != previous) s.backend->SetCursorShape(reinterpret_cast<uintptr_t>(cursor));
  return previous;
}
HCURSOR GetCursor() { return S().cursor; }

// Standard cursors are their IDC_ numbers in the cursor range; nothing is loaded. A cursor of the
// program's resources (RT_GROUP_CURSOR, a .cur file compiled in) is its resource handle, once
// its header says it is a cursor file.
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name) {
  const uintptr_t id = reinterpret_cast<uintptr_t>(name);
  if (instance) {
    HRSRC found = name ? FindResourceW(instance, name, MAKEINTRESOURCEW(12 /* RT_GROUP_CURSOR */)) : nullptr;
    const auto* bytes =
        found ? static_cast<const uint8_t*>(LockResource(LoadResource(instance, found))) : nullptr;
    const DWORD size = found ? SizeofResource(instance, found) : 0;
    // ICONDIR: reserved 0, type 2 (cursor), at least one image of 16 bytes after the 6.
    if (!bytes || size < 22 || bytes[0] || bytes[1] || bytes[2] != 2 || bytes[3] ||
        (!bytes[4] && !bytes[5])) {
      SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return nullptr;
    }
    return reinterpret_cast<HCURSOR>(found);
  }
  if ((id >> 16) || id < IDC_ARROW || id > IDC_HELP) {
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
  }
  return reinterpret_cast<HCURSOR>(0x6000000 + id);
}
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name) {
  const uintptr_t id = reinterpret_cast<uintptr_t>(name);
  if (!(id >> 16)) return LoadCursorW(instance, reinterpret_cast<LPCWSTR>(name));
  std::u16string wide;
  for (const char* c = name; *c; ++c) wide += static_cast<char16_t>(static_cast<unsigned char>(*c));
  return LoadCursorW(instance, wide.c_str());
}
BOOL DestroyCursor(HCURSOR) { return TRUE; }
UINT GetDoubleClickTime() { return 500; }

BOOL TrackMouseEvent(TRACKMOUSEEVENT* track) {
  if (!track || track->cbSize != sizeof(TRACKMOUSEEVENT)) return FALSE;
  Window* w = Find(track->hwndTrack);
  if (!w) return FALSE;
  if (track->dwFlags & TME_LEAVE) w->trackLeave = !(track->dwFlags & TME_CANCEL);
  return TRUE;
}

BOOL CreateCaret(HWND hwnd, HBITMAP, int width, int height) {
  State& s = S();
  if (!Find(hwnd)) return FALSE;
  s.caretOwner = hwnd;
  s.caretSize = {width ? width : 1, height};
  s.caretHidden = 1;
  return TRUE;
}
BOOL DestroyCaret() {
  S().caretOwner = nullptr;
  return TRUE;
}
BOOL ShowCaret(HWND hwnd) {
  State& s = S();
  if (!s.caretOwner || (hwnd && hwnd != s.caretOwner)) return FALSE;
  if (s.caretHidden > 0) --s.caretHidden;
  return TRUE;
}
BOOL HideCaret(HWND hwnd) {
  State& s = S();
  if (!s.caretOwner || (hwnd && hwnd != s.caretOwner)) return FALSE;
  ++s.caretHidden;
  return TRUE;
}
BOOL SetCaretPos(int x, int y) {
  State& s = S();
  if (!s.caretOwner) return FALSE;
  s.caretPos = {x, y};
  return TRUE;
}
BOOL GetCaretPos(POINT* out) {
  if (!out) return FALSE;
  *out = S().caretPos;
  return TRUE;
}
UINT GetCaretBlinkTime() { return 500; }

HWND platform::win::CaretOwner() { return S().caretOwner; }
