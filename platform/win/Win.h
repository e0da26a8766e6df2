// The window system's functions: classes, windows, procedures and their 8-bit / UTF-16
// translation, the message queue, timers, hooks, atoms, properties, painting, focus, capture
// and input. Behaviour follows the classic desktop model; names and values are in WinTypes.h.
#pragma once

#include <functional>

#include "platform/gdi/Gdi.h"
#include "platform/rtl/GlobalMemory.h"
#include "platform/win/WinTypes.h"

// ---- classes
ATOM RegisterClassA(const WNDCLASSA* wc);
ATOM RegisterClassW(const WNDCLASSW* wc);
BOOL UnregisterClassA(LPCSTR name, HINSTANCE instance);
BOOL UnregisterClassW(LPCWSTR name, HINSTANCE instance);
BOOL GetClassInfoA(HINSTANCE instance, LPCSTR name, WNDCLASSA* out);
BOOL GetClassInfoW(HINSTANCE instance, LPCWSTR name, WNDCLASSW* out);
int GetClassNameA(HWND hwnd, LPSTR buffer, int size);
int GetClassNameW(HWND hwnd, LPWSTR buffer, int size);

// ---- windows
HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR caption, DWORD style, int x, int y, int w, int h,
                     HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param);
HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR caption, DWORD style, int x, int y, int w,
                     int h, HWND parent, HMENU menuOrId, HINSTANCE instance, LPVOID param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
BOOL IsWindowUnicode(HWND hwnd);
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetParent(HWND hwnd);
HWND SetParent(HWND hwnd, HWND parent);
HWND GetWindow(HWND hwnd, UINT relation);
HWND GetDesktopWindow();
HWND GetTopWindow(HWND hwnd);
BOOL EnumWindows(WNDENUMPROC proc, LPARAM param);
BOOL EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM param);
HWND FindWindowA(LPCSTR className, LPCSTR title);
HWND FindWindowW(LPCWSTR className, LPCWSTR title);

LONG_PTR GetWindowLongPtrA(HWND hwnd, int index);
LONG_PTR GetWindowLongPtrW(HWND hwnd, int index);
LONG_PTR SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value);
LONG_PTR SetWindowLongPtrW(HWND hwnd, int index, LONG_PTR value);
LONG GetWindowLongA(HWND hwnd, int index);
LONG GetWindowLongW(HWND hwnd, int index);
LONG SetWindowLongA(HWND hwnd, int index, LONG value);
LONG SetWindowLongW(HWND hwnd, int index, LONG value);
int GetWindowTextA(HWND hwnd, LPSTR buffer, int size);
int GetWindowTextW(HWND hwnd, LPWSTR buffer, int size);
BOOL SetWindowTextA(HWND hwnd, LPCSTR text);
BOOL SetWindowTextW(HWND hwnd, LPCWSTR text);
int GetWindowTextLengthA(HWND hwnd);
int GetWindowTextLengthW(HWND hwnd);
int GetDlgCtrlID(HWND hwnd);
HWND GetDlgItem(HWND parent, int id);

// ---- geometry and state
BOOL GetWindowRect(HWND hwnd, RECT* out);
BOOL GetClientRect(HWND hwnd, RECT* out);
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
int MapWindowPoints(HWND from, HWND to, POINT* points, UINT count);
HWND WindowFromPoint(POINT point);
HWND ChildWindowFromPoint(HWND parent, POINT point);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int w, int h, UINT flags);
BOOL MoveWindow(HWND hwnd, int x, int y, int w, int h, BOOL repaint);
BOOL ShowWindow(HWND hwnd, int command);
BOOL IsWindowVisible(HWND hwnd);
BOOL IsIconic(HWND hwnd);
BOOL IsZoomed(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);
BOOL BringWindowToTop(HWND hwnd);
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND hwnd);
HWND GetLastActivePopup(HWND hwnd);
HWND GetFocus();
HWND SetFocus(HWND hwnd);
HWND GetCapture();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
int SetWindowRgn(HWND hwnd, HRGN region, BOOL redraw);
int GetWindowRgn(HWND hwnd, HRGN out);

// ---- painting
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL InvalidateRgn(HWND hwnd, HRGN region, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL ValidateRgn(HWND hwnd, HRGN region);
BOOL GetUpdateRect(HWND hwnd, RECT* out, BOOL erase);
int GetUpdateRgn(HWND hwnd, HRGN out, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, HRGN region, UINT flags);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* ps);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* ps);
HDC GetDC(HWND hwnd);
HDC GetWindowDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC dc);

// ---- messages
LRESULT SendMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT SendMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessageA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
BOOL PostMessageW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int code);
BOOL GetMessageA(MSG* msg, HWND hwnd, UINT first, UINT last);
BOOL GetMessageW(MSG* msg, HWND hwnd, UINT first, UINT last);
BOOL PeekMessageA(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove);
BOOL PeekMessageW(MSG* msg, HWND hwnd, UINT first, UINT last, UINT remove);
BOOL TranslateMessage(const MSG* msg);
LRESULT DispatchMessageA(const MSG* msg);
LRESULT DispatchMessageW(const MSG* msg);
BOOL WaitMessage();
LONG GetMessageTime();
DWORD GetMessagePos();
LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcA(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
LRESULT DefWindowProcW(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

HHOOK SetWindowsHookExA(int id, HOOKPROC proc, HINSTANCE module, DWORD threadId);
HHOOK SetWindowsHookExW(int id, HOOKPROC proc, HINSTANCE module, DWORD threadId);
LRESULT CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam);
BOOL UnhookWindowsHookEx(HHOOK hook);

UINT RegisterWindowMessageA(LPCSTR name);
UINT RegisterWindowMessageW(LPCWSTR name);
// The messages from WM_USER up (registered ones included) that a window takes from other
// processes: none until it declares them. MSGFLT_ALLOW declares one, MSGFLT_DISALLOW withdraws
// it, MSGFLT_RESET withdraws all; a message below WM_USER or of the form library's own range
// cannot be declared (ERROR_INVALID_PARAMETER). Below WM_USER only messages of plain numbers cross.
constexpr DWORD MSGFLT_RESET = 0, MSGFLT_ALLOW = 1, MSGFLT_DISALLOW = 2;
struct CHANGEFILTERSTRUCT {
  DWORD cbSize;
  DWORD ExtStatus;
};
BOOL ChangeWindowMessageFilterEx(HWND hwnd, UINT message, DWORD action, CHANGEFILTERSTRUCT* status);
ATOM GlobalAddAtomA(LPCSTR name);
ATOM GlobalAddAtomW(LPCWSTR name);
ATOM GlobalFindAtomA(LPCSTR name);
ATOM GlobalDeleteAtom(ATOM atom);
UINT GlobalGetAtomNameA(ATOM atom, LPSTR buffer, int size);
BOOL SetPropA(HWND hwnd, LPCSTR name, HANDLE value);
BOOL SetPropW(HWND hwnd, LPCWSTR name, HANDLE value);
HANDLE GetPropA(HWND hwnd, LPCSTR name);
HANDLE GetPropW(HWND hwnd, LPCWSTR name);
HANDLE RemovePropA(HWND hwnd, LPCSTR name);
HANDLE RemovePropW(HWND hwnd, LPCWSTR name);

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT ms, TIMERPROC proc);
BOOL KillTimer(HWND hwnd, UINT_PTR id);

// ---- keyboard, mouse, cursors, caret
short GetKeyState(int vk);
HKL GetKeyboardLayout(DWORD thread);
BOOL GetCursorPos(POINT* out);
HCURSOR SetCursor(HCURSOR cursor);
HCURSOR GetCursor();
HCURSOR LoadCursorA(HINSTANCE instance, LPCSTR name);
HCURSOR LoadCursorW(HINSTANCE instance, LPCWSTR name);
BOOL DestroyCursor(HCURSOR cursor);
UINT GetDoubleClickTime();
BOOL TrackMouseEvent(TRACKMOUSEEVENT* track);
BOOL CreateCaret(HWND hwnd, HBITMAP bitmap, int width, int height);
BOOL DestroyCaret();
BOOL ShowCaret(HWND hwnd);
BOOL HideCaret(HWND hwnd);
BOOL SetCaretPos(int x, int y);
BOOL GetCaretPos(POINT* out);
UINT GetCaretBlinkTime();
int GetSystemMetrics(int index);

// ---- monitors: one, the screen
MMS_DECLARE_HANDLE(HMONITOR);
constexpr DWORD MONITOR_DEFAULTTONULL = 0, MONITOR_DEFAULTTOPRIMARY = 1, MONITOR_DEFAULTTONEAREST = 2,
                MONITORINFOF_PRIMARY = 1;
struct MONITORINFO {
  DWORD cbSize;
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags;
};
HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags);
BOOL GetMonitorInfoA(HMONITOR monitor, MONITORINFO* info);
BOOL GetMonitorInfoW(HMONITOR monitor, MONITORINFO* info);

// ---- dialog keys: Tab and the arrows move between the WS_TABSTOP children of `dialog`, Enter
// and Esc become WM_COMMAND IDOK / IDCANCEL, unless the focused window asks for the key
// (WM_GETDLGCODE). True when the message was the dialog's.
BOOL IsDialogMessageA(HWND dialog, MSG* msg);
BOOL IsDialogMessageW(HWND dialog, MSG* msg);

// ---- key names of the keyboard layout (US English)
// type 0: virtual key -> scan code; 1: scan code -> virtual key; 2: virtual key -> character.
UINT MapVirtualKeyW(UINT code, UINT mapType);
// The virtual key (low byte) and shift state (high byte: 1 Shift) that type the character; -1.
SHORT VkKeyScanW(WCHAR ch);
// The name of the key whose scan code sits in bits 16-23 of lParam (bit 24: extended key).
int GetKeyNameTextW(LONG lParam, LPWSTR buffer, int size);

// ---- rectangles
BOOL SetRect(RECT* r, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* r);
BOOL CopyRect(RECT* dst, const RECT* src);
BOOL OffsetRect(RECT* r, int dx, int dy);
BOOL InflateRect(RECT* r, int dx, int dy);
BOOL IntersectRect(RECT* dst, const RECT* a, const RECT* b);
BOOL UnionRect(RECT* dst, const RECT* a, const RECT* b);
// `a` less the part of `b` that covers it across its whole width or height; else `a`.
BOOL SubtractRect(RECT* dst, const RECT* a, const RECT* b);
BOOL PtInRect(const RECT* r, POINT p);
BOOL IsRectEmpty(const RECT* r);
BOOL EqualRect(const RECT* a, const RECT* b);

// ---- object instances of the form library
using TWndMethod = std::function<void(TMessage&)>;
WNDPROC MakeObjectInstance(TWndMethod method);
void FreeObjectInstance(WNDPROC instance);

// ---- clipboard
constexpr UINT CF_TEXT = 1, CF_BITMAP = 2, CF_METAFILEPICT = 3, CF_OEMTEXT = 7, CF_DIB = 8, CF_PALETTE = 9,
               CF_UNICODETEXT = 13, CF_ENHMETAFILE = 14, CF_HDROP = 15;
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
BOOL EmptyClipboard();
HANDLE SetClipboardData(UINT format, HANDLE data);
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
UINT EnumClipboardFormats(UINT format);
int CountClipboardFormats();
UINT RegisterClipboardFormatA(LPCSTR name);
UINT RegisterClipboardFormatW(LPCWSTR name);
int GetClipboardFormatNameA(UINT format, LPSTR buffer, int size);
HWND GetClipboardOwner();

// Utility windows of the form library (timers, popup list, hint upkeep): a hidden top-level
// window whose messages go to `method`.
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND hwnd);
