#include "platform/forms/TWinControl.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "platform/controls/Controls.h"
#include "platform/forms/ControlColorBrush.h"
#include "platform/forms/ShortCuts.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TControlActionLink.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/forms/TScreen.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/ScopeExit.h"

// The application's exception handler (TApplication.cpp).
void ApplicationHandleException(TObject* sender);

namespace {

thread_local TWinControl* g_creationControl = nullptr;

// The two properties that map a window to its control; their names carry the process id so
// another copy of the library in the process (or another process) never reads ours.
const char* ControlProperty() { return TWinControl::ControlPropertyName(); }
const char* InstanceProperty() { return TWinControl::InstancePropertyName(); }

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK; }

// The child window an owner-draw request is about: by its handle for drawing, by its id for
// measuring (list and combo boxes give their windows ids of their own); null for menus.
TWinControl* OwnerDrawChild(HWND parent, const TMessage& m) {
  if (!m.LParam) return nullptr;
  if (m.Msg == WM_DRAWITEM) {
    const auto* dis = reinterpret_cast<const DRAWITEMSTRUCT*>(m.LParam);
    return dis->CtlType == ODT_MENU ? nullptr : FindControl(dis->hwndItem);
  }
  const auto* mis = reinterpret_cast<const MEASUREITEMSTRUCT*>(m.LParam);
  if (mis->CtlType == ODT_MENU || mis->CtlID == 0) return nullptr;
  return FindControl(GetDlgItem(parent, static_cast<int>(mis->CtlID)));
}

}  // namespace

const char* TWinControl::ControlPropertyName() {
  static char name[40] = {0};
  if (!name[0]) std::snprintf(name, sizeof name, "ControlOfs%08X", static_cast<unsigned>(getpid()));
  return name;
}

const char* TWinControl::InstancePropertyName() {
  static char name[40] = {0};
  if (!name[0]) std::snprintf(name, sizeof name, "WndProcPtr%08X", static_cast<unsigned>(getpid()));
  return name;
}

TWinControl* TWinControl::CreationControl() { return g_creationControl; }
void TWinControl::SetCreationControl(TWinControl* control) { g_creationControl = control; }

void TWinControl::UpdateControlState() {
  if (!handle_) return;
  ShowWindow(handle_, Showing() ? SW_SHOWNOACTIVATE : SW_HIDE);
}

TWinControl* FindControl(HWND hwnd) {
  if (!hwnd) return nullptr;
  return static_cast<TWinControl*>(GetPropA(hwnd, ControlProperty()));
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
  DefWndProc = WNDPROC(&DefWindowProcA);
  objectInstance_ = MakeObjectInstance([this](TMessage& m) { MainWndProc(m); });
}

TWinControl::~TWinControl() {
  // The form forgets a focused or active control before it goes.
  RemoveFocus(true);
  // Children go first, while this class's handlers still stand. Every child goes with its
  // parent, whoever owns it (a form docked here leaves its owner as it goes).
  while (!controls_.empty()) delete controls_.back();
  if (handle_) DestroyWindowHandle();
  FreeObjectInstance(objectInstance_);
}

TActionLinkClass TWinControl::GetActionLinkClass() const {
  return ActionLinkClassOf<TWinControlActionLink>();
}

void TWinControl::InsertControl(TControl* control) {
  controls_.push_back(control);
  if (dynamic_cast<TWinControl*>(control)) tabList_.push_back(control);
  control->parent_ = this;
  control->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
  control->Perform(CM_PARENTCOLORCHANGED, 0, 0);
  if (auto* w = dynamic_cast<TWinControl*>(control); w && HandleAllocated() && w->Visible())
    w->HandleNeeded();
  Realign();
  control->Invalidate();
}

void TWinControl::RemoveControl(TControl* control) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  control->Invalidate();
  // The control may be half destroyed (its own destructor called this): compare, do not cast.
  if (auto tab = std::find(tabList_.begin(), tabList_.end(), control); tab != tabList_.end()) {
    tabList_.erase(tab);
    if (TCustomForm* form = GetParentForm(this)) form->DefocusControl(control, true);
  }
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->HandleAllocated()) w->DestroyHandle();
  controls_.erase(std::find(controls_.begin(), controls_.end(), control));
  control->parent_ = nullptr;
  Realign();
}

void TWinControl::Loaded() {
  TControl::Loaded();
  FixupTabList();
  Realign();
}

// ---- focus and Tab order

int TWinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TWinControl::SetTabOrder(int value) {
  // A layout names each control's place before its siblings exist: applied once loaded.
  if (ComponentState() & csLoading) {
    tabOrderWanted_ = value;
    return;
  }
  if (!Parent()) return;
  auto& list = Parent()->tabList_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  int count = static_cast<int>(list.size());
  if (value < 0 || value > count) value = count;
  list.insert(list.begin() + value, this);
}

void TWinControl::FixupTabList() {
  auto wanted = [](const TControl* c) {
    int w = static_cast<const TWinControl*>(c)->tabOrderWanted_;
    return w < 0 ? INT32_MAX : w;
  };
  std::stable_sort(tabList_.begin(), tabList_.end(),
                   [&](const TControl* a, const TControl* b) { return wanted(a) < wanted(b); });
  for (TControl* c : tabList_) static_cast<TWinControl*>(c)->tabOrderWanted_ = -1;
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
  for (TControl* c : tabList_) {
    auto* w = static_cast<TWinControl*>(c);
    list.push_back(w);
    w->GetTabOrderList(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                                          bool checkParent) const {
  std::vector<TWinControl*> list;
  GetTabOrderList(list);
  int count = static_cast<int>(list.size());
  if (count == 0) return nullptr;
  auto found = std::find(list.begin(), list.end(), current);
  int start = found == list.end() ? (goForward ? count - 1 : 0) : static_cast<int>(found - list.begin());
  int i = start;
  do {
    i = goForward ? (i + 1) % count : (i + count - 1) % count;
    TWinControl* c = list[static_cast<std::size_t>(i)];
    if (c->CanFocus() && (!checkTabStop || c->TabStop) && (!checkParent || c->Parent() == this)) return c;
  } while (i != start);
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, !checkTabStop)) next->SetFocus();
}

void TWinControl::SelectFirst() {
  TCustomForm* form = GetParentForm(this);
  if (!form) return;
  TWinControl* first = FindNextControl(nullptr, true, true, false);
  if (!first) first = FindNextControl(nullptr, true, false, false);
  if (first) form->SetActiveControl(first);
}

bool TWinControl::ContainsControl(const TControl* control) const {
  for (const TControl* c = control; c; c = c->Parent())
    if (c == this) return true;
  return false;
}

void TWinControl::RemoveFocus(bool removing) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this) form->DefocusControl(this, removing);
}

void TWinControl::Realign() {
  if (aligning_ || (ComponentState() & (csLoading | csDestroying))) return;
  aligning_ = true;
  platform::ScopeExit restore([&] { aligning_ = false; });
  AnchorControls(ClientRect());
  RECT r = ClientRect();
  AdjustClientRect(r);
  AlignControls(r);
  if (AutoSize()) {
    aligning_ = false;
    AdjustSize();
  }
}

void TWinControl::AnchorControls(const RECT& client) {
  SIZE now{client.right - client.left, client.bottom - client.top};
  SIZE before = alignedClient_;
  alignedClient_ = now;
  if (before.cx < 0) return;
  int dw = now.cx - before.cx, dh = now.cy - before.cy;
  if (dw == 0 && dh == 0) return;
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (c->Align() != alNone) continue;
    TAnchors a = c->Anchors();
    int l = c->Left(), t = c->Top(), w = c->Width(), h = c->Height();
    // Both edges anchored: stretch; the far edge only: move; neither: keep the centre.
    if (a & AnchorBit(akRight)) {
      if (a & AnchorBit(akLeft))
        w += dw;
      else
        l += dw;
    } else if (!(a & AnchorBit(akLeft))) {
      l += dw / 2;
    }
    if (a & AnchorBit(akBottom)) {
      if (a & AnchorBit(akTop))
        h += dh;
      else
        t += dh;
    } else if (!(a & AnchorBit(akTop))) {
      t += dh / 2;
    }
    c->SetBounds(l, t, w, h);
  }
}

void TWinControl::AdjustSize() {
  if (aligning_ || (ComponentState() & (csLoading | csDestroying))) return;
  // Children aligned to the full width say nothing about the width, and likewise for heights.
  int right = 0, bottom = 0;
  bool any = false;
  for (TControl* c : controls_) {
    if (!c->Visible() || c->Align() == alClient) continue;
    any = true;
    if (c->Align() != alTop && c->Align() != alBottom) right = std::max(right, c->Left() + c->Width());
    if (c->Align() != alLeft && c->Align() != alRight) bottom = std::max(bottom, c->Top() + c->Height());
  }
  if (!any || autoSizing_) return;
  RECT inner = ClientRect();
  AdjustClientRect(inner);
  int w = right + (Width() - (inner.right - inner.left));
  int h = bottom + (Height() - (inner.bottom - inner.top));
  if (w == Width() && h == Height()) return;
  // One resize per request: children anchored to the far edges would otherwise chase it.
  autoSizing_ = true;
  platform::ScopeExit restore([&] { autoSizing_ = false; });
  SetBounds(Left(), Top(), w, h);
}

void TWinControl::AlignControls(RECT& r) {
  // Top, bottom, left and right take their edges in that order; client takes what is left.
  for (TAlign pass : {alTop, alBottom, alLeft, alRight, alClient}) {
    for (TControl* c : controls_) {
      if (c->Align() != pass || !c->Visible()) continue;
      int w = r.right - r.left, h = r.bottom - r.top;
      switch (pass) {
        case alTop:
          c->SetBounds(r.left, r.top, w, c->Height());
          r.top += c->Height();
          break;
        case alBottom:
          c->SetBounds(r.left, r.bottom - c->Height(), w, c->Height());
          r.bottom -= c->Height();
          break;
        case alLeft:
          c->SetBounds(r.left, r.top, c->Width(), h);
          r.left += c->Width();
          break;
        case alRight:
          c->SetBounds(r.right - c->Width(), r.top, c->Width(), h);
          r.right -= c->Width();
          break;
        default:
          c->SetBounds(r.left, r.top, w, h);
          break;
      }
    }
  }
}

void TWinControl::SetChildOrder(TControl* control, bool front) {
  auto it = std::find(controls_.begin(), controls_.end(), control);
  if (it == controls_.end()) return;
  controls_.erase(it);
  if (front)
    controls_.push_back(control);
  else
    controls_.insert(controls_.begin(), control);
  if (auto* w = dynamic_cast<TWinControl*>(control); w && w->HandleAllocated())
    SetWindowPos(w->Handle(), front ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  control->Invalidate();
}

void TWinControl::Broadcast(TMessage& message) {
  for (TControl* c : std::vector<TControl*>(controls_)) {
    c->WindowProc(message);
    if (message.Result) return;
  }
}

TControl* TWinControl::ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls) const {
  for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
    TControl* c = *it;
    bool windowed = dynamic_cast<TWinControl*>(c) != nullptr;
    if (windowed && !allowWinControls) continue;
    if (!c->Visible() || (!c->Enabled() && !allowDisabled) || c->Width() <= 0 || c->Height() <= 0) continue;
    RECT r = c->BoundsRect();
    if (p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom) return c;
  }
  return nullptr;
}

// ---- the window

void TWinControl::CreateParams(TCreateParams& p) {
  p = TCreateParams();
  p.Caption = text_.c_str();
  p.Style = WS_CHILD | WS_CLIPSIBLINGS;
  if (ControlStyle & csAcceptsControls) p.Style |= WS_CLIPCHILDREN;
  if (Visible()) p.Style |= WS_VISIBLE;
  if (!Enabled()) p.Style |= WS_DISABLED;
  if (TabStop) p.Style |= WS_TABSTOP;
  p.X = left_;
  p.Y = top_;
  p.Width = width_;
  p.Height = height_;
  p.WndParent = Parent() ? Parent()->Handle() : ParentWindow;
  p.WindowClass.style = CS_VREDRAW | CS_HREDRAW | ((ControlStyle & csDoubleClicks) ? CS_DBLCLKS : 0);
  p.WindowClass.lpfnWndProc = WNDPROC(&DefWindowProcA);
  p.WindowClass.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  p.WindowClass.hInstance = HInstance;
  std::snprintf(p.WinClassName, sizeof p.WinClassName, "%s", ClassName().c_str());
}

void TWinControl::CreateSubClass(TCreateParams& p, const char* className) {
  WNDCLASSA wc{};
  if (GetClassInfoA(HInstance, className, &wc) || GetClassInfoA(nullptr, className, &wc)) {
    DWORD keep = p.WindowClass.style & CS_DBLCLKS;
    p.WindowClass = wc;
    p.WindowClass.style = (wc.style & ~CS_DBLCLKS) | keep;
  }
}

void TWinControl::CreateHandle() {
  if (handle_) return;
  CreateWnd();
  // Windows of the visible windowed children come with this one.
  for (TControl* c : std::vector<TControl*>(controls_))
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->Visible()) w->HandleNeeded();
}

HWND TWinControl::Handle() {
  if (!handle_) {
    if (Parent()) Parent()->HandleNeeded();
    if (!handle_) CreateHandle();
  }
  return handle_;
}

void TWinControl::CreateWnd() {
  TCreateParams p;
  CreateParams(p);
  if ((p.Style & WS_CHILD) && !p.WndParent)
    throw EInvalidOperation("Control '%s' needs a parent window", {Name()});
  DefWndProc = p.WindowClass.lpfnWndProc;
  // A layer may put another default procedure in place; the class decides who paints.
  classPaints_ = !(p.WindowClass.lpfnWndProc == WNDPROC(&DefWindowProcA));
  WNDCLASSA existing{};
  bool registered = GetClassInfoA(p.WindowClass.hInstance, p.WinClassName, &existing);
  if (!registered || !(existing.lpfnWndProc == WNDPROC(&InitWndProc))) {
    if (registered) UnregisterClassA(p.WinClassName, p.WindowClass.hInstance);
    WNDCLASSA wc = p.WindowClass;
    wc.lpfnWndProc = WNDPROC(&InitWndProc);
    wc.lpszClassName = p.WinClassName;
    if (!RegisterClassA(&wc)) RaiseLastOSError();
  }
  g_creationControl = this;
  {
    platform::ScopeExit restore([&] { g_creationControl = nullptr; });
    CreateWindowHandle(p);
  }
  if (!handle_) RaiseLastOSError();
  SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 0);
  text_ = AnsiString();  // the window holds the text now
}

void TWinControl::CreateWindowHandle(const TCreateParams& p) {
  HWND h = CreateWindowExA(p.ExStyle, p.WinClassName, p.Caption, p.Style, p.X, p.Y, p.Width, p.Height,
                           p.WndParent, nullptr, p.WindowClass.hInstance, p.Param);
  if (h) handle_ = h;
}

LRESULT TWinControl::InitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = g_creationControl;
  if (!control) return DefWindowProcA(hwnd, msg, wParam, lParam);
  g_creationControl = nullptr;
  control->handle_ = hwnd;
  SetWindowLongPtrA(hwnd, GWL_WNDPROC, static_cast<LONG_PTR>(control->objectInstance_));
  // A child window gets its handle as its id: a measuring request names the asking child by id
  // alone, and with id 0 a variable-height list or combo box could not be told from another.
  if ((GetWindowLongA(hwnd, GWL_STYLE) & WS_CHILD) && GetWindowLongA(hwnd, GWL_ID) == 0)
    SetWindowLongPtrA(hwnd, GWL_ID, reinterpret_cast<LONG_PTR>(hwnd));
  SetPropA(hwnd, ControlProperty(), reinterpret_cast<HANDLE>(control));
  SetPropA(hwnd, InstanceProperty(), reinterpret_cast<HANDLE>(control->objectInstance_.value()));
  return CallWindowProcA(control->objectInstance_, hwnd, msg, wParam, lParam);
}

void TWinControl::DestroyWnd() {
  // The text goes back into the buffer (none when empty) before the window goes.
  AnsiString text = GetText();
  for (TControl* c : controls_)
    if (auto* w = dynamic_cast<TWinControl*>(c); w && w->HandleAllocated()) w->DestroyWnd();
  DestroyWindowHandle();
  text_ = text;
}

void TWinControl::DestroyWindowHandle() {
  HWND h = handle_;
  if (!h) return;
  ControlState |= csDestroyingHandle;
  ::DestroyWindow(h);
  ControlState &= ~csDestroyingHandle;
  handle_ = nullptr;
}

void TWinControl::DestroyHandle() {
  if (handle_) DestroyWnd();
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  bool showing = Showing();
  DestroyHandle();
  if (showing) HandleNeeded();
}

void TWinControl::SetBounds(int left, int top, int width, int height) {
  ConstrainSize(width, height);
  if (handle_ && (left != left_ || top != top_ || width != width_ || height != height_))
    SetWindowPos(handle_, nullptr, left, top, std::max(width, 0), std::max(height, 0),
                 SWP_NOZORDER | SWP_NOACTIVATE);
  TControl::SetBounds(left, top, width, height);
  Realign();
}

void TWinControl::Invalidate() {
  if (handle_) InvalidateRect(handle_, nullptr, (ControlStyle & csOpaque) ? FALSE : TRUE);
}

void TWinControl::Update() {
  if (handle_) UpdateWindow(handle_);
}

bool TWinControl::Focused() const { return handle_ && GetFocus() == handle_; }

bool TWinControl::CanFocus() const {
  const TCustomForm* form = GetParentForm(const_cast<TWinControl*>(this));
  if (!form) return false;
  for (const TControl* c = this; c && c != form; c = c->Parent())
    if (!c->Visible() || !c->Enabled()) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (TCustomForm* form = GetParentForm(this)) {
    form->FocusControl(this);
    return;
  }
  if (!ParentWindow) throw EInvalidOperation("Cannot focus a disabled or invisible control");
  ::SetFocus(Handle());
}

// ---- messages

void TWinControl::MainWndProc(TMessage& message) {
  try {
    WindowProc(message);
  } catch (...) {
    // No exception leaves a window procedure into the window system.
    message.Result = 0;
    ApplicationHandleException(this);
  }
}

bool TWinControl::ForwardMouse(TMessage& m) {
  if (!IsMouseMessage(m.Msg)) return false;
  POINT p{static_cast<SHORT>(m.LParamLo()), static_cast<SHORT>(m.LParamHi())};
  TControl* target = nullptr;
  TControl* capture = GetCaptureControl();
  if (capture) {
    if (capture->Parent() == this && !dynamic_cast<TWinControl*>(capture)) target = capture;
  } else {
    target = ControlAtPos(p, false);
  }
  if (!target) return false;
  LPARAM l = static_cast<LPARAM>(static_cast<WORD>(p.x - target->Left())) |
             (static_cast<LPARAM>(static_cast<WORD>(p.y - target->Top())) << 16);
  m.Result = target->Perform(m.Msg, m.WParam, l);
  return true;
}

void TWinControl::WndProc(TMessage& m) {
  if (ForwardMouse(m)) {
    // The window's own handling of a right release is what asks for the context menu, also
    // for the windowless control under the pointer.
    if (m.Msg == WM_RBUTTONUP && HandleAllocated()) DefWindowProcA(Handle(), m.Msg, m.WParam, m.LParam);
    return;
  }
  switch (m.Msg) {
    case WM_SETFOCUS:
      // The form follows the focus: CM_EXIT and CM_ENTER along the way; a handler that moved
      // the focus elsewhere meanwhile ends this one.
      if (TCustomForm* form = GetParentForm(this); form && !form->SetFocusedControl(this)) return;
      break;
    case WM_KILLFOCUS:
      if (ControlState & csFocusing) return;
      break;
    case WM_CAPTURECHANGED:
      if (HandleAllocated()) CaptureLeftWindow(Handle(), reinterpret_cast<HWND>(m.LParam));
      break;
    default:
      break;
  }
  TControl::WndProc(m);
}

bool TWinControl::IsMenuKey(TWMKey& message) {
  for (TControl* c = this; c; c = c->Parent())
    if (TPopupMenu* menu = c->PopupMenu(); menu && menu->IsShortCut(message)) return true;
  TCustomForm* form = GetParentForm(this);
  if (form && form->IsShortCut(message)) return true;
  return Application && Application->IsShortCut(message, form);
}

bool TWinControl::DoKeyDown(TWMKey& message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyDown(message)) return true;
  if (ControlStyle & csNoStdEvents) return false;
  WORD key = message.CharCode;
  KeyDown(key, KeyDataToShiftState(message.KeyData));
  message.CharCode = key;
  return key == 0;
}

bool TWinControl::DoKeyPress(TWMKey& message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyPress(message)) return true;
  if (ControlStyle & csNoStdEvents) return false;
  char key = static_cast<char>(message.CharCode);
  KeyPress(key);
  message.CharCode = static_cast<unsigned char>(key);
  return key == 0;
}

bool TWinControl::DoKeyUp(TWMKey& message) {
  TCustomForm* form = GetParentForm(this);
  if (form && form != this && form->KeyPreview && form->DoKeyUp(message)) return true;
  if (ControlStyle & csNoStdEvents) return false;
  WORD key = message.CharCode;
  KeyUp(key, KeyDataToShiftState(message.KeyData));
  message.CharCode = key;
  return key == 0;
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

bool TWinControl::DialogKey(TMessage& m) {
  WORD key = static_cast<WORD>(m.WParam);
  LRESULT mask = 0;
  switch (key) {
    case VK_TAB:
      mask = DLGC_WANTTAB;
      break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
      mask = DLGC_WANTARROWS;
      break;
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_CANCEL:
      mask = DLGC_WANTALLKEYS;
      break;
    default:
      return false;
  }
  if (Perform(CM_WANTSPECIALKEY, key, m.LParam) != 0) return false;
  if (Perform(WM_GETDLGCODE, 0, 0) & mask) return false;
  TCustomForm* form = GetParentForm(this);
  if (!form || form->Perform(CM_DIALOGKEY, key, m.LParam) == 0) return false;
  // The key was used up here: its character, already made from it, must not follow.
  MSG pending{};
  if (handle_ && PeekMessageA(&pending, handle_, WM_CHAR, WM_CHAR, PM_NOREMOVE) && pending.lParam == m.LParam)
    PeekMessageA(&pending, handle_, WM_CHAR, WM_CHAR, PM_REMOVE);
  return true;
}

bool TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
  return key == 0;
}
bool TWinControl::KeyPress(char& key) {
  if (OnKeyPress) OnKeyPress(this, key);
  return key == 0;
}
void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::PaintWindow(HDC) {}

void TWinControl::PaintControls(HDC dc) {
  RECT clip{};
  GetClipBox(dc, &clip);
  for (TControl* c : std::vector<TControl*>(controls_)) {
    if (dynamic_cast<TWinControl*>(c) || !c->Visible() || c->Width() <= 0 || c->Height() <= 0) continue;
    RECT r = c->BoundsRect(), meet{};
    if (!IntersectRect(&meet, &r, &clip)) continue;
    const int saved = SaveDC(dc);
    platform::ScopeExit restore([&] { RestoreDC(dc, saved); });
    OffsetViewportOrgEx(dc, c->Left(), c->Top(), nullptr);
    IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
    c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
  }
}

void TWinControl::PaintHandler(TMessage& m) {
  auto paint = [this](HDC dc) {
    if (!DoubleBuffered) {
      PaintWindow(dc);
      PaintControls(dc);
      return;
    }
    // The same pixels, drawn off screen first; only what the target's clipping lets through is
    // drawn, so a small update (the slide strip gliding a pixel) does not repaint the whole form.
    RECT r = ClientRect();
    RECT clip{};
    if (GetClipBox(dc, &clip) == NULLREGION) return;
    BITMAPINFO bi{};
    bi.bmiHeader = {40, std::max<LONG>(r.right, 1), -std::max<LONG>(r.bottom, 1), 1, 32, BI_RGB, 0, 0, 0, 0,
                    0};
    void* bits = nullptr;
    const OwnedGdiObject<HBITMAP> buffer(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    const OwnedMemoryDC mem(nullptr);
    const HGDIOBJ old = SelectObject(mem, buffer);
    platform::ScopeExit deselect([&] { SelectObject(mem, old); });
    IntersectClipRect(mem, clip.left, clip.top, clip.right, clip.bottom);
    {
      const OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color())));
      ::FillRect(mem, &r, brush);
    }
    PaintWindow(mem);
    PaintControls(mem);
    BitBlt(dc, clip.left, clip.top, clip.right - clip.left, clip.bottom - clip.top, mem, clip.left, clip.top,
           SRCCOPY);
  };
  if (m.WParam) {
    // Paint into the caller's DC at its origin, without validating anything.
    paint(reinterpret_cast<HDC>(m.WParam));
    return;
  }
  PAINTSTRUCT ps{};
  HDC dc = BeginPaint(handle_, &ps);
  platform::ScopeExit endPaint([&] { EndPaint(handle_, &ps); });
  paint(dc);
}

void TWinControl::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_PAINT:
      // A control over a system class (an edit, a button) lets the class paint, unless it holds
      // windowless controls of its own to paint over it.
      if (ControlCount() == 0 && classPaints_) break;
      PaintHandler(m);
      return;
    case WM_ERASEBKGND:
      WMEraseBkgnd(m);
      return;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN:
      CNKeyDown(m);
      return;
    case CN_CHAR:
      CNChar(m);
      return;
    case CN_SYSCHAR:
      CNSysChar(m);
      return;
    case WM_CONTEXTMENU:
      if (WMContextMenu(m)) return;
      break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (WMKeyDown(m)) return;
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (WMKeyUp(m)) return;
      break;
    case WM_CHAR:
      if (WMChar(m)) return;
      break;
    case CM_ENTER:
      DoEnter();
      return;
    case CM_EXIT:
      DoExit();
      return;
    case CM_DIALOGKEY:
    case CM_DIALOGCHAR:
      // Children answer in turn; buttons take Enter, Esc and their accelerators.
      Broadcast(m);
      return;
    case CM_FOCUSCHANGED:
      // Every control hears where the focus went (push buttons move the default frame).
      for (TControl* c : std::vector<TControl*>(controls_)) c->WindowProc(m);
      return;
    case CM_CHILDKEY:
      if (Parent()) m.Result = Parent()->Perform(CM_CHILDKEY, m.WParam, m.LParam);
      return;
    case WM_SIZE:
      WMSize();
      break;
    case WM_COMMAND:
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
      // A child window's notification goes back to the child's control.
      if (ReflectToChild(m, FindControl(reinterpret_cast<HWND>(m.LParam)))) return;
      break;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
      // Owner-drawn child windows ask their parent; the child's control draws (menus are not ours).
      if (ReflectToChild(m, OwnerDrawChild(handle_, m))) return;
      break;
    case WM_NCDESTROY:
      WMNCDestroy(m);
      return;
    case WM_SETCURSOR:
      if (SetCursorFor(m)) return;
      break;
    case CM_SHOWHINTCHANGED:
      for (TControl* c : std::vector<TControl*>(controls_)) c->Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
      break;
    case CM_VISIBLECHANGED:
      CMVisibleChanged();
      break;
    case CM_ENABLEDCHANGED:
      CMEnabledChanged();
      break;
    case CM_FONTCHANGED:
      if (handle_) SendMessageA(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(Font()->Handle()), 1);
      break;
    case CM_COLORCHANGED: {
      TMessage parentColor{CM_PARENTCOLORCHANGED, 0, 0, 0};
      Broadcast(parentColor);
      break;
    }
    default:
      break;
  }
  TControl::Dispatch(message);
}

void TWinControl::WMEraseBkgnd(TMessage& m) {
  // A double-buffered control paints its background with the rest.
  if (!DoubleBuffered) {
    const auto dc = reinterpret_cast<HDC>(m.WParam);
    RECT r{};
    GetClipBox(dc, &r);
    const OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(ColorToRGB(Color())));
    ::FillRect(dc, &r, brush);
  }
  m.Result = 1;
}

void TWinControl::CNKeyDown(TMessage& m) {
  // Before the key is translated: a chord a shortcut takes makes no character.
  TWMKey key(m);
  m.Result = 1;
  if (IsMenuKey(key)) return;
  if (m.Msg == CN_KEYDOWN && Perform(CM_CHILDKEY, key.CharCode, reinterpret_cast<LPARAM>(this)) != 0) return;
  m.Result = 0;
}

void TWinControl::CNChar(TMessage& m) {
  m.Result = 1;
  TCustomForm* form = GetParentForm(this);
  if (form && !(Perform(WM_GETDLGCODE, 0, 0) & DLGC_WANTCHARS) &&
      form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam) != 0)
    return;
  m.Result = 0;
}

void TWinControl::CNSysChar(TMessage& m) {
  m.Result = 0;
  if (TCustomForm* form = GetParentForm(this); form && m.WParam != VK_SPACE)
    m.Result = form->Perform(CM_DIALOGCHAR, m.WParam, m.LParam);
}

bool TWinControl::WMContextMenu(TMessage& m) {
  // The windowless control under the pointer answers first, then this control.
  POINT p{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  if ((p.x == -1 && p.y == -1) || !HandleAllocated()) return false;
  ::ScreenToClient(Handle(), &p);
  TControl* child = ControlAtPos(p, false);
  if (!child || !child->Perform(WM_CONTEXTMENU, m.WParam, m.LParam)) return false;
  m.Result = 1;
  return true;
}

bool TWinControl::WMKeyDown(TMessage& m) {
  TWMKey key(m);
  if (DoKeyDown(key)) return true;
  m.WParam = key.CharCode;
  return DialogKey(m);
}

bool TWinControl::WMKeyUp(TMessage& m) {
  TWMKey key(m);
  if (DoKeyUp(key)) return true;
  m.WParam = key.CharCode;
  return false;
}

bool TWinControl::WMChar(TMessage& m) {
  TWMKey key(m);
  if (DoKeyPress(key)) return true;
  // The character is the low half; a layer may keep a wider code in the high half.
  m.WParam = (m.WParam & ~WPARAM{0xFFFF}) | key.CharCode;
  return false;
}

void TWinControl::WMSize() {
  if (!handle_ || (ComponentState() & csDestroying)) return;
  RECT r{};
  GetWindowRect(handle_, &r);
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w == width_ && h == height_) return;
  width_ = w;
  height_ = h;
  Realign();
  // The size may have come from SetBounds, which then finds nothing changed: the siblings
  // aligned after this control move here.
  if (Parent()) Parent()->Realign();
  Resize();
}

bool TWinControl::ReflectToChild(TMessage& m, TWinControl* child) {
  if (!child || child == this) return false;
  m.Result = child->Perform(m.Msg + CN_BASE, m.WParam, m.LParam);
  return true;
}

void TWinControl::WMNCDestroy(TMessage& m) {
  TControl::Dispatch(&m);
  // The window is gone, perhaps behind the control's back: forget it.
  if (handle_) {
    RemovePropA(handle_, ControlProperty());
    RemovePropA(handle_, InstanceProperty());
  }
  handle_ = nullptr;
}

void TWinControl::CMVisibleChanged() {
  if (!Visible() && Parent()) RemoveFocus(false);
  if (Visible() && Parent() && Parent()->HandleAllocated()) HandleNeeded();
  if (handle_) ShowWindow(handle_, Visible() ? SW_SHOWNOACTIVATE : SW_HIDE);
}

void TWinControl::CMEnabledChanged() {
  if (!Enabled() && Parent()) RemoveFocus(false);
  if (handle_) EnableWindow(handle_, Enabled());
}

bool TWinControl::AnswerColorQuestion(TMessage& m) {
  if (!IsControlColorMessage(m.Msg)) return false;
  if (!colorBrush_) colorBrush_ = std::make_unique<TControlColorBrush>();
  colorBrush_->Answer(*this, m);
  return true;
}

bool TWinControl::SetCursorFor(TMessage& m) {
  // Only for the pointer over this window's own client area; other windows choose their own.
  if (reinterpret_cast<HWND>(m.WParam) != handle_ ||
      static_cast<SHORT>(LOWORD(static_cast<uint64_t>(m.LParam))) != HTCLIENT || !Screen)
    return false;
  TCursor cursor = Screen->Cursor();
  if (cursor == crDefault) {
    POINT p{};
    GetCursorPos(&p);
    ::ScreenToClient(handle_, &p);
    if (TControl* child = ControlAtPos(p, false)) cursor = child->Cursor();
    if (cursor == crDefault) cursor = Cursor();
  }
  if (cursor == crDefault) return false;
  ::SetCursor(Screen->Cursors(cursor));
  m.Result = 1;
  return true;
}

void TWinControl::DefaultHandler(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (handle_) {
    m.Result = CallWindowProcA(DefWndProc, handle_, m.Msg, m.WParam, m.LParam);
    return;
  }
  TControl::DefaultHandler(message);
}
