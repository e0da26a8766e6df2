// The window system's state on the interface thread: classes, windows, the procedure table, the
// queues, timers, hooks and atoms. Internal to platform/win.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/gdi/WindowDrawing.h"
#include "platform/win/Backend.h"
#include "platform/win/Win.h"

namespace platform::win {

struct WindowClass {
  std::u16string name;
  HINSTANCE instance = nullptr;
  UINT style = 0;
  WNDPROC proc;
  bool unicode = false;
  bool dual = false;  // system classes: the create call decides the set
  int clsExtra = 0, wndExtra = 0;
  HICON icon = nullptr;
  HCURSOR cursor = nullptr;
  HBRUSH background = nullptr;
  std::string menuNameA;
  std::u16string menuNameW;
  uintptr_t menuId = 0;
  int windows = 0;
};

struct Window {
  HWND handle = nullptr;
  std::shared_ptr<WindowClass> cls;
  WNDPROC proc;
  bool unicode = false;
  DWORD style = 0, exStyle = 0;
  HWND parent = nullptr;       // WS_CHILD windows
  HWND owner = nullptr;        // top-level windows
  std::vector<HWND> children;  // topmost first
  RECT rect{};                 // window rectangle: parent client coordinates (children), screen (top-level)
  RECT client{};               // client rectangle, same coordinates
  std::u16string text;
  LONG_PTR id = 0, userData = 0;
  HINSTANCE instance = nullptr;
  std::vector<uint8_t> extra;
  std::map<ATOM, HANDLE> props;
  gdi::Region update;  // client coordinates
  bool erase = false;
  bool internalPaint = false;
  bool frameDirty = false;               // the border (non-client area) needs WM_NCPAINT
  std::optional<gdi::Region> shape;      // window coordinates
  std::shared_ptr<gdi::Bitmap> surface;  // top-level windows
  std::vector<RECT> dirty;               // surface rectangles changed since the last present
  bool destroying = false;
  bool created = false;
  bool everActivated = false;
  HWND lastActivePopup = nullptr;
  bool trackLeave = false;
  // Messages from WM_USER up that this window takes from other processes (it declared them).
  std::set<UINT> acceptedFromOthers;
};

struct Timer {
  HWND hwnd;
  UINT_PTR id;
  UINT period;
  TIMERPROC proc;
  int64_t due;
  uint64_t sequence;
};

struct Hook {
  HHOOK handle;
  HOOKPROC proc;
  bool unicode;
};

struct SentMessage {
  HWND hwnd;
  UINT msg;
  WPARAM wParam;
  LPARAM lParam;
  bool unicode;
  LRESULT result = 0;
  bool done = false;
};

struct ProcEntry {
  enum class Kind { Function, Method, StandIn };
  Kind kind = Kind::Function;
  WndProcFunction function = nullptr;
  std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)> method;
  uintptr_t real = 0;
  bool realUnicode = false;
  bool freed = false;
};

struct State {
  std::unique_ptr<Backend> backend;
  std::thread::id interfaceThread;
  std::map<uintptr_t, std::unique_ptr<Window>> windows;  // by handle value
  uint32_t nextIndex = 0;
  uint32_t slot = 1;
  std::vector<std::shared_ptr<WindowClass>> classes;
  std::vector<HWND> topLevels;  // topmost first

  // Procedure table.
  std::vector<ProcEntry> procs;
  std::map<WndProcFunction, uintptr_t> procByFunction;
  std::map<std::pair<uintptr_t, bool>, uintptr_t> standIns;

  // Queues.
  std::mutex mutex;  // guards what other threads touch: input, crossPosted, sent
  std::deque<InputEvent> input;
  std::deque<MSG> crossPosted;
  std::deque<SentMessage*> sent;
  std::condition_variable sentDone;
  std::deque<MSG> posted;
  std::deque<MSG> translated;        // characters from TranslateMessage, retrieved next
  std::deque<MSG> pendingAnsiChars;  // remaining bytes of a character for an 8-bit retriever
  bool quit = false;
  int quitCode = 0;
  LONG messageTime = 0;
  POINT messagePos{0, 0};

  std::vector<Timer> timers;
  uint64_t timerSequence = 0;
  UINT_PTR nextThreadTimerId = 1;
  std::vector<Hook> hooks;  // newest last
  uintptr_t nextHook = 0;

  // Input state.
  HWND focus = nullptr, active = nullptr, capture = nullptr;
  bool appActive = false;
  POINT cursorPos{0, 0};
  HCURSOR cursor = nullptr;
  uint8_t keys[256] = {};
  HWND lastMouseWindow = nullptr;
  // Double-click detection.
  HWND lastPressWindow = nullptr;
  int lastPressButton = -1;
  int64_t lastPressTime = 0;
  POINT lastPressPos{0, 0};
  bool lastWasDouble = false;

  // Caret.
  HWND caretOwner = nullptr;
  POINT caretPos{0, 0};
  SIZE caretSize{0, 0};
  int caretHidden = 1;
};

State& S();
bool OnInterfaceThread();
Window* Find(HWND hwnd);
// This process's top-level window of that class and title (either may be null: any), top first.
HWND FindTopLevel(const std::u16string* cls, const std::u16string* title);
inline uintptr_t Value(const void* h) { return reinterpret_cast<uintptr_t>(h); }
int64_t Now();

// Procedures and translation (Procedures.cpp).
LRESULT CallProc(WNDPROC proc, bool installedUnicode, bool callerUnicode, HWND hwnd, UINT msg, WPARAM w,
                 LPARAM l);
// What GetWindowLong(GWL_WNDPROC) of the given variant answers for a procedure installed with a set.
WNDPROC ProcForVariant(WNDPROC proc, bool installedUnicode, bool variantUnicode);
// A value given to SetWindowLong(GWL_WNDPROC) or RegisterClass: the procedure and set to install.
bool ResolveInstall(WNDPROC value, bool variantUnicode, WNDPROC& proc, bool& unicode);
// Sends to a window of this thread: the window's current procedure with translation.
LRESULT SendTo(HWND hwnd, UINT msg, WPARAM w, LPARAM l, bool unicode);

// Text conversion through the system code page.
std::u16string ToWide(const char* s, size_t n);
std::string ToAnsi(const char16_t* s, size_t n);
std::u16string ToWide(const char* s);
std::string ToAnsi(const char16_t* s);
size_t Length(const char16_t* s);
bool SystemPageIsUtf8();

// Windows (WindowState.cpp).
POINT ClientOriginOnSurface(const Window& w);
HWND TopLevelOf(HWND hwnd);
bool IsVisibleDeep(const Window& w);
bool IsEnabledDeep(const Window& w);
void DestroyAll();

// Classes (WindowClasses.cpp).
// Class names compare without regard to ASCII case.
bool SameName(const std::u16string& a, const std::u16string& b);
std::shared_ptr<WindowClass> FindClass(const std::u16string& name, HINSTANCE instance);
// A class name given as text of either set or as an atom.
std::u16string ClassNameOf(const void* name, bool unicode);

// The tree (WindowTree.cpp): the list a window stands in among its siblings, and taking it out.
std::vector<HWND>& SiblingList(Window& w);
void Unlink(Window& w);

// Geometry and z-order (WindowGeometry.cpp).
// Border widths of a child window's non-client area (top-level frames belong to the desktop).
RECT NonClient(const Window& w);
// Whether a window has a border of its own (children with WS_BORDER, WS_EX_CLIENTEDGE, scroll bars).
bool HasFrame(const Window& w);
void ComputeClient(Window& w);
void PlaceTopLevel(Window& w, HWND insertAfter);
void SendPosChange(Window& w, UINT flags, bool sizeChanged, bool moved);

// Activation (WindowFocus.cpp).
void Activate(HWND hwnd, bool byClick);

// Painting (Painting.cpp).
void InvalidateWindow(Window& w, const gdi::Region* clientArea, bool erase, bool children);
gdi::Region VisibleRegion(const Window& w, bool clientOnly);  // surface coordinates
HWND NextWindowToPaint();
void PresentDirty();
void PaintNowFor(HWND hwnd);
void ReallocateSurface(Window& w);
void MarkDirty(const Window& w, const RECT& surfaceRect);

// Clipboard (Clipboard.cpp): forgets everything at shut-down.
void ResetClipboard();

// Queue (Queue.cpp) and timers (Timers.cpp).
void RemoveMessagesFor(HWND hwnd);
void KillTimersFor(HWND hwnd);

// Atoms (Atoms.cpp): adding counts a use; finding neither adds nor counts (0: unknown).
ATOM AddAtom(const std::u16string& name);
ATOM FindAtom(const std::u16string& name);
std::u16string AtomName(ATOM atom);

}  // namespace platform::win
