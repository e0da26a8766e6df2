// Handles, procedure values, structures, messages and constants of the window system, with the
// classic names and values. The functions are declared in Win.h.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/gdi/GdiTypes.h"
#include "platform/rtl/ShowCommands.h"

MMS_DECLARE_HANDLE(HWND);
MMS_DECLARE_HANDLE(HMENU);
MMS_DECLARE_HANDLE(HHOOK);
MMS_DECLARE_HANDLE(HICON);
MMS_DECLARE_HANDLE(HKL);
using HCURSOR = HICON;

inline HWND MakeHwnd(uintptr_t v) { return reinterpret_cast<HWND>(v); }
inline const HWND HWND_BROADCAST = MakeHwnd(0xFFFF);
inline const HWND HWND_TOP = MakeHwnd(0);
inline const HWND HWND_BOTTOM = MakeHwnd(1);
inline const HWND HWND_TOPMOST = MakeHwnd(uintptr_t(-1));
inline const HWND HWND_NOTOPMOST = MakeHwnd(uintptr_t(-2));
inline const HWND HWND_MESSAGE = MakeHwnd(uintptr_t(-3));

using WndProcFunction = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);

// A window procedure value: an opaque entry of the layer's procedure table (never a code
// address). Plain functions convert implicitly; values compare for identity.
class WNDPROC {
 public:
  WNDPROC() = default;
  WNDPROC(std::nullptr_t) {}
  WNDPROC(WndProcFunction function);  // NOLINT: functions are procedure values
  explicit WNDPROC(LONG_PTR value) : value_(uintptr_t(value)) {}
  explicit operator LONG_PTR() const { return LONG_PTR(value_); }
  explicit operator bool() const { return value_ != 0; }
  uintptr_t value() const { return value_; }
  bool operator==(const WNDPROC&) const = default;

 private:
  uintptr_t value_ = 0;
};

using HOOKPROC = LRESULT (*)(int code, WPARAM wParam, LPARAM lParam);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using WNDENUMPROC = BOOL (*)(HWND, LPARAM);

// The form library's message record, handed to object-instance methods.
struct TMessage {
  UINT Msg;
  WPARAM WParam;
  LPARAM LParam;
  LRESULT Result;
  WORD WParamLo() const { return WORD(WParam & 0xFFFF); }
  WORD WParamHi() const { return WORD((WParam >> 16) & 0xFFFF); }
  WORD LParamLo() const { return WORD(LParam & 0xFFFF); }
  WORD LParamHi() const { return WORD((LParam >> 16) & 0xFFFF); }
};

struct WNDCLASSA {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCSTR lpszMenuName;
  LPCSTR lpszClassName;
};
struct WNDCLASSW {
  UINT style;
  WNDPROC lpfnWndProc;
  int cbClsExtra;
  int cbWndExtra;
  HINSTANCE hInstance;
  HICON hIcon;
  HCURSOR hCursor;
  HBRUSH hbrBackground;
  LPCWSTR lpszMenuName;
  LPCWSTR lpszClassName;
};
struct CREATESTRUCTA {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy, cx, y, x;
  LONG style;
  LPCSTR lpszName;
  LPCSTR lpszClass;
  DWORD dwExStyle;
};
struct CREATESTRUCTW {
  LPVOID lpCreateParams;
  HINSTANCE hInstance;
  HMENU hMenu;
  HWND hwndParent;
  int cy, cx, y, x;
  LONG style;
  LPCWSTR lpszName;
  LPCWSTR lpszClass;
  DWORD dwExStyle;
};
struct WINDOWPOS {
  HWND hwnd;
  HWND hwndInsertAfter;
  int x, y, cx, cy;
  UINT flags;
};
struct MINMAXINFO {
  POINT ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};
struct PAINTSTRUCT {
  HDC hdc;
  BOOL fErase;
  RECT rcPaint;
  BOOL fRestore;
  BOOL fIncUpdate;
  BYTE rgbReserved[32];
};
struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos;
};
struct MSG {
  HWND hwnd;
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  DWORD time;
  POINT pt;
};
struct COPYDATASTRUCT {
  ULONG_PTR dwData;
  DWORD cbData;
  LPVOID lpData;
};
struct TRACKMOUSEEVENT {
  DWORD cbSize;
  DWORD dwFlags;
  HWND hwndTrack;
  DWORD dwHoverTime;
};
static_assert(sizeof(WNDCLASSA) == 72);
static_assert(sizeof(CREATESTRUCTA) == 80);
static_assert(sizeof(WINDOWPOS) == 40);
static_assert(sizeof(MINMAXINFO) == 40);
static_assert(sizeof(PAINTSTRUCT) == 72);
static_assert(sizeof(NCCALCSIZE_PARAMS) == 56);
static_assert(sizeof(MSG) == 48);
static_assert(sizeof(COPYDATASTRUCT) == 24);
static_assert(sizeof(TRACKMOUSEEVENT) == 24);

// ---- class and window styles
constexpr UINT CS_VREDRAW = 0x1, CS_HREDRAW = 0x2, CS_DBLCLKS = 0x8, CS_OWNDC = 0x20, CS_CLASSDC = 0x40,
               CS_PARENTDC = 0x80, CS_SAVEBITS = 0x800, CS_GLOBALCLASS = 0x4000, CS_DROPSHADOW = 0x20000;
constexpr DWORD WS_OVERLAPPED = 0, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_MINIMIZE = 0x20000000,
                WS_VISIBLE = 0x10000000, WS_DISABLED = 0x08000000, WS_CLIPSIBLINGS = 0x04000000,
                WS_CLIPCHILDREN = 0x02000000, WS_MAXIMIZE = 0x01000000, WS_CAPTION = 0x00C00000,
                WS_BORDER = 0x00800000, WS_DLGFRAME = 0x00400000, WS_VSCROLL = 0x00200000,
                WS_HSCROLL = 0x00100000, WS_SYSMENU = 0x00080000, WS_THICKFRAME = 0x00040000,
                WS_GROUP = 0x00020000, WS_MINIMIZEBOX = 0x00020000, WS_TABSTOP = 0x00010000,
                WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_EX_DLGMODALFRAME = 0x1, WS_EX_NOPARENTNOTIFY = 0x4, WS_EX_TOPMOST = 0x8,
                WS_EX_TRANSPARENT = 0x20, WS_EX_TOOLWINDOW = 0x80, WS_EX_WINDOWEDGE = 0x100,
                WS_EX_CLIENTEDGE = 0x200, WS_EX_CONTROLPARENT = 0x10000, WS_EX_APPWINDOW = 0x40000,
                WS_EX_LAYERED = 0x80000, WS_EX_NOACTIVATE = 0x08000000;
constexpr int CW_USEDEFAULT = int(0x80000000);

constexpr int GWL_WNDPROC = -4, GWL_HINSTANCE = -6, GWL_HWNDPARENT = -8, GWL_ID = -12, GWL_STYLE = -16,
              GWL_EXSTYLE = -20, GWL_USERDATA = -21, DWL_MSGRESULT = 0;
constexpr UINT GW_HWNDFIRST = 0, GW_HWNDLAST = 1, GW_HWNDNEXT = 2, GW_HWNDPREV = 3, GW_OWNER = 4,
               GW_CHILD = 5;

constexpr UINT SWP_NOSIZE = 0x1, SWP_NOMOVE = 0x2, SWP_NOZORDER = 0x4, SWP_NOREDRAW = 0x8,
               SWP_NOACTIVATE = 0x10, SWP_FRAMECHANGED = 0x20, SWP_SHOWWINDOW = 0x40, SWP_HIDEWINDOW = 0x80,
               SWP_NOOWNERZORDER = 0x200;
constexpr UINT RDW_INVALIDATE = 0x1, RDW_INTERNALPAINT = 0x2, RDW_ERASE = 0x4, RDW_VALIDATE = 0x8,
               RDW_NOINTERNALPAINT = 0x10, RDW_NOERASE = 0x20, RDW_NOCHILDREN = 0x40, RDW_ALLCHILDREN = 0x80,
               RDW_UPDATENOW = 0x100, RDW_ERASENOW = 0x200, RDW_FRAME = 0x400, RDW_NOFRAME = 0x800;

// ---- messages
constexpr UINT WM_NULL = 0x0000, WM_CREATE = 0x0001, WM_DESTROY = 0x0002, WM_MOVE = 0x0003, WM_SIZE = 0x0005,
               WM_ACTIVATE = 0x0006, WM_SETFOCUS = 0x0007, WM_KILLFOCUS = 0x0008, WM_ENABLE = 0x000A,
               WM_SETREDRAW = 0x000B, WM_SETTEXT = 0x000C, WM_GETTEXT = 0x000D, WM_GETTEXTLENGTH = 0x000E,
               WM_PAINT = 0x000F, WM_CLOSE = 0x0010, WM_QUIT = 0x0012, WM_ERASEBKGND = 0x0014,
               WM_SYSCOLORCHANGE = 0x0015, WM_SHOWWINDOW = 0x0018, WM_SETTINGCHANGE = 0x001A,
               WM_ACTIVATEAPP = 0x001C, WM_CANCELMODE = 0x001F, WM_SETCURSOR = 0x0020,
               WM_MOUSEACTIVATE = 0x0021, WM_GETMINMAXINFO = 0x0024, WM_DRAWITEM = 0x002B,
               WM_MEASUREITEM = 0x002C, WM_SETFONT = 0x0030, WM_GETFONT = 0x0031,
               WM_WINDOWPOSCHANGING = 0x0046, WM_WINDOWPOSCHANGED = 0x0047, WM_COPYDATA = 0x004A,
               WM_NOTIFY = 0x004E, WM_NOTIFYFORMAT = 0x0055, WM_CONTEXTMENU = 0x007B,
               WM_STYLECHANGING = 0x007C, WM_STYLECHANGED = 0x007D, WM_NCCREATE = 0x0081,
               WM_NCDESTROY = 0x0082, WM_NCCALCSIZE = 0x0083, WM_NCHITTEST = 0x0084, WM_NCPAINT = 0x0085,
               WM_NCACTIVATE = 0x0086, WM_GETDLGCODE = 0x0087, WM_NCMOUSEMOVE = 0x00A0,
               WM_NCLBUTTONDOWN = 0x00A1, WM_NCLBUTTONUP = 0x00A2, WM_NCLBUTTONDBLCLK = 0x00A3,
               WM_KEYDOWN = 0x0100, WM_KEYUP = 0x0101, WM_CHAR = 0x0102, WM_DEADCHAR = 0x0103,
               WM_SYSKEYDOWN = 0x0104, WM_SYSKEYUP = 0x0105, WM_SYSCHAR = 0x0106, WM_COMMAND = 0x0111,
               WM_SYSCOMMAND = 0x0112, WM_TIMER = 0x0113, WM_HSCROLL = 0x0114, WM_VSCROLL = 0x0115,
               WM_INITMENU = 0x0116, WM_INITMENUPOPUP = 0x0117, WM_MENUSELECT = 0x011F, WM_MENUCHAR = 0x0120,
               WM_ENTERIDLE = 0x0121, WM_CTLCOLORMSGBOX = 0x0132, WM_CTLCOLOREDIT = 0x0133,
               WM_CTLCOLORLISTBOX = 0x0134, WM_CTLCOLORBTN = 0x0135, WM_CTLCOLORDLG = 0x0136,
               WM_CTLCOLORSCROLLBAR = 0x0137, WM_CTLCOLORSTATIC = 0x0138, WM_MOUSEMOVE = 0x0200,
               WM_LBUTTONDOWN = 0x0201, WM_LBUTTONUP = 0x0202, WM_LBUTTONDBLCLK = 0x0203,
               WM_RBUTTONDOWN = 0x0204, WM_RBUTTONUP = 0x0205, WM_RBUTTONDBLCLK = 0x0206,
               WM_MBUTTONDOWN = 0x0207, WM_MBUTTONUP = 0x0208, WM_MBUTTONDBLCLK = 0x0209,
               WM_MOUSEWHEEL = 0x020A, WM_PARENTNOTIFY = 0x0210, WM_ENTERMENULOOP = 0x0211,
               WM_EXITMENULOOP = 0x0212, WM_CAPTURECHANGED = 0x0215, WM_ENTERSIZEMOVE = 0x0231,
               WM_EXITSIZEMOVE = 0x0232, WM_IME_CHAR = 0x0286, WM_MOUSELEAVE = 0x02A3, WM_CUT = 0x0300,
               WM_COPY = 0x0301, WM_PASTE = 0x0302, WM_CLEAR = 0x0303, WM_UNDO = 0x0304,
               WM_PRINTCLIENT = 0x0318, WM_THEMECHANGED = 0x031A, WM_USER = 0x0400, WM_APP = 0x8000;
constexpr UINT EM_REPLACESEL = 0x00C2;

// ---- message parameters
constexpr WPARAM SIZE_RESTORED = 0, SIZE_MINIMIZED = 1, SIZE_MAXIMIZED = 2;
constexpr WPARAM WA_INACTIVE = 0, WA_ACTIVE = 1, WA_CLICKACTIVE = 2;
constexpr LRESULT MA_ACTIVATE = 1, MA_ACTIVATEANDEAT = 2, MA_NOACTIVATE = 3, MA_NOACTIVATEANDEAT = 4;
constexpr LRESULT HTERROR = -2, HTTRANSPARENT = -1, HTNOWHERE = 0, HTCLIENT = 1, HTCAPTION = 2, HTSYSMENU = 3,
                  HTHSCROLL = 6, HTVSCROLL = 7, HTLEFT = 10, HTRIGHT = 11, HTTOP = 12, HTTOPLEFT = 13,
                  HTTOPRIGHT = 14, HTBOTTOM = 15, HTBOTTOMLEFT = 16, HTBOTTOMRIGHT = 17, HTBORDER = 18;
constexpr WPARAM SC_SIZE = 0xF000, SC_MOVE = 0xF010, SC_MINIMIZE = 0xF020, SC_MAXIMIZE = 0xF030,
                 SC_CLOSE = 0xF060, SC_KEYMENU = 0xF100, SC_RESTORE = 0xF120;
constexpr WPARAM MK_LBUTTON = 0x1, MK_RBUTTON = 0x2, MK_SHIFT = 0x4, MK_CONTROL = 0x8, MK_MBUTTON = 0x10;
constexpr LRESULT NFR_ANSI = 1, NFR_UNICODE = 2;
constexpr LPARAM NF_QUERY = 3, NF_REQUERY = 4;
constexpr LRESULT DLGC_WANTARROWS = 0x1, DLGC_WANTTAB = 0x2, DLGC_WANTALLKEYS = 0x4, DLGC_WANTMESSAGE = 0x4,
                  DLGC_HASSETSEL = 0x8, DLGC_DEFPUSHBUTTON = 0x10, DLGC_UNDEFPUSHBUTTON = 0x20,
                  DLGC_RADIOBUTTON = 0x40, DLGC_WANTCHARS = 0x80, DLGC_STATIC = 0x100, DLGC_BUTTON = 0x2000;

constexpr UINT PM_NOREMOVE = 0, PM_REMOVE = 1, PM_NOYIELD = 2;
constexpr int WH_GETMESSAGE = 3, HC_ACTION = 0;
constexpr DWORD TME_HOVER = 1, TME_LEAVE = 2, TME_CANCEL = 0x80000000;

// ---- keys
constexpr int VK_LBUTTON = 0x01, VK_RBUTTON = 0x02, VK_CANCEL = 0x03, VK_MBUTTON = 0x04, VK_BACK = 0x08,
              VK_TAB = 0x09, VK_CLEAR = 0x0C, VK_RETURN = 0x0D, VK_SHIFT = 0x10, VK_CONTROL = 0x11,
              VK_MENU = 0x12, VK_PAUSE = 0x13, VK_CAPITAL = 0x14, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
              VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26,
              VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_LWIN = 0x5B,
              VK_APPS = 0x5D, VK_NUMPAD0 = 0x60, VK_NUMPAD9 = 0x69, VK_MULTIPLY = 0x6A, VK_ADD = 0x6B,
              VK_SEPARATOR = 0x6C, VK_SUBTRACT = 0x6D, VK_DECIMAL = 0x6E, VK_DIVIDE = 0x6F, VK_F1 = 0x70,
              VK_F10 = 0x79, VK_F24 = 0x87, VK_NUMLOCK = 0x90, VK_SCROLL = 0x91, VK_OEM_1 = 0xBA,
              VK_OEM_PLUS = 0xBB, VK_OEM_COMMA = 0xBC, VK_OEM_MINUS = 0xBD, VK_OEM_PERIOD = 0xBE,
              VK_OEM_2 = 0xBF, VK_OEM_3 = 0xC0, VK_OEM_4 = 0xDB, VK_OEM_5 = 0xDC, VK_OEM_6 = 0xDD,
              VK_OEM_7 = 0xDE, VK_PROCESSKEY = 0xE5;

// ---- cursors and metrics
constexpr uintptr_t IDC_ARROW = 32512, IDC_IBEAM = 32513, IDC_WAIT = 32514, IDC_CROSS = 32515,
                    IDC_UPARROW = 32516, IDC_SIZENWSE = 32642, IDC_SIZENESW = 32643, IDC_SIZEWE = 32644,
                    IDC_SIZENS = 32645, IDC_SIZEALL = 32646, IDC_NO = 32648, IDC_HAND = 32649,
                    IDC_APPSTARTING = 32650, IDC_HELP = 32651;
constexpr int SM_CXSCREEN = 0, SM_CYSCREEN = 1, SM_CXVSCROLL = 2, SM_CYHSCROLL = 3, SM_CYCAPTION = 4,
              SM_CXBORDER = 5, SM_CYBORDER = 6, SM_CXDLGFRAME = 7, SM_CYDLGFRAME = 8, SM_CXICON = 11,
              SM_CYICON = 12, SM_CXCURSOR = 13, SM_CYCURSOR = 14, SM_CYMENU = 15, SM_CXFULLSCREEN = 16,
              SM_CYFULLSCREEN = 17, SM_CXDOUBLECLK = 36, SM_CYDOUBLECLK = 37, SM_CXEDGE = 45, SM_CYEDGE = 46,
              SM_CXDRAG = 68, SM_CYDRAG = 69, SM_CMONITORS = 80;

// ---- word helpers
constexpr WORD LOWORD(uint64_t v) { return WORD(v & 0xFFFF); }
constexpr WORD HIWORD(uint64_t v) { return WORD((v >> 16) & 0xFFFF); }
constexpr LONG MAKELONG(WORD lo, WORD hi) { return LONG(DWORD(lo) | (DWORD(hi) << 16)); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return LPARAM(MAKELONG(lo, hi)); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return WPARAM(DWORD(MAKELONG(lo, hi))); }
constexpr int GET_X_LPARAM(LPARAM l) { return int(int16_t(l & 0xFFFF)); }
constexpr int GET_Y_LPARAM(LPARAM l) { return int(int16_t((l >> 16) & 0xFFFF)); }
inline LPCSTR MAKEINTATOM(ATOM a) { return reinterpret_cast<LPCSTR>(uintptr_t(a)); }
inline LPCWSTR MAKEINTATOMW(ATOM a) { return reinterpret_cast<LPCWSTR>(uintptr_t(a)); }
