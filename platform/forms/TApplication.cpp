#include "platform/forms/TApplication.h"

#include <algorithm>
#include <memory>

#include "platform/controls/Controls.h"
#include "platform/forms/TClipboard.h"
#include "platform/forms/THintAction.h"
#include "platform/forms/TPicture.h"
#include "platform/forms/TPopupList.h"
#include "platform/forms/TScreen.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Synchronize.h"
#include "platform/rtl/SysUtils.h"

TApplication* Application = nullptr;

void ApplicationHandleException(TObject* sender) {
  if (Application) Application->HandleException(sender);
}
void ApplicationMouseMessage(TControl* control, TMessage& message) {
  if (Application) Application->ControlMouseMessage(control, message);
}
void ApplicationControlDestroyed(TControl* control) {
  if (Application) Application->ControlDestroyed(control);
}

namespace {

const char kAppClass[] = "TApplication";
constexpr UINT_PTR kHintTimerId = 0x4854;

// The first control from `control` up whose hints are on.
TControl* GetHintControl(TControl* control) {
  while (control && !control->ShowHint()) control = control->Parent();
  return control;
}

}  // namespace

TControl* FindDragTarget(POINT screen, bool allowDisabled) {
  HWND h = WindowFromPoint(screen);
  TWinControl* window = nullptr;
  // A system window inside a control (the edit of a combo box) belongs to that control.
  for (; h && !window; h = GetParent(h)) window = FindControl(h);
  if (!window) return nullptr;
  POINT client = screen;
  ::ScreenToClient(window->Handle(), &client);
  TControl* child = window->ControlAtPos(client, allowDisabled);
  return child ? child : window;
}

TApplication::TApplication(TComponent* owner) : TComponent(owner) {
  instance_ = MakeObjectInstance([this](TMessage& m) { WndProc(m); });
  WNDCLASSA wc{};
  if (!GetClassInfoA(HInstance, kAppClass, &wc)) {
    wc.lpfnWndProc = WNDPROC(&DefWindowProcA);
    wc.hInstance = HInstance;
    wc.lpszClassName = kAppClass;
    RegisterClassA(&wc);
  }
  title_ = ExtractFileName(ParamStr(0));
  handle_ =
      CreateWindowExA(0, kAppClass, title_.c_str(), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU, 0,
                      0, 0, 0, nullptr, nullptr, HInstance, nullptr);
  if (handle_) SetWindowLongPtrA(handle_, GWL_WNDPROC, static_cast<LONG_PTR>(instance_));
}

TApplication::~TApplication() {
  // The hint goes before the components: a control freed below may still ask to hide it.
  CancelHint();
  THintWindow* hint = hintWindow_;
  hintWindow_ = nullptr;
  delete hint;
  // The forms go first, while the window that owns theirs is still there.
  DestroyComponents();
  if (handle_) DestroyWindow(handle_);
  FreeObjectInstance(instance_);
  if (Application == this) Application = nullptr;
}

void TApplication::SetTitle(const AnsiString& value) {
  title_ = value;
  // Kept as UTF-16 window text.
  if (handle_) SetWindowTextW(handle_, WideString(value).c_bstr());
}

AnsiString TApplication::ExeName() const { return ParamStr(0); }

bool TApplication::Active() const { return GetActiveWindow() != nullptr; }

void TApplication::HookMainWindow(TWindowHook hook) {
  if (std::find(hooks_.begin(), hooks_.end(), hook) == hooks_.end()) hooks_.push_back(hook);
}

void TApplication::UnhookMainWindow(TWindowHook hook) {
  hooks_.erase(std::remove(hooks_.begin(), hooks_.end(), hook), hooks_.end());
}

void TApplication::WndProc(TMessage& m) {
  try {
    m.Result = 0;
    // By index: a hook may unhook itself or another while it runs.
    for (std::size_t i = 0; i < hooks_.size(); ++i) {
      TWindowHook hook = hooks_[i];
      if (hook(m)) return;
    }
    switch (m.Msg) {
      case WM_TIMER:
        if (m.WParam == kHintTimerId) {
          HintTimerExpired();
          return;
        }
        break;
      case CM_RELEASE:
        FreeReleased();
        return;
      case WM_CLOSE:
        if (MainForm) MainForm->Close();
        return;
      case CM_ACTIONEXECUTE:
      case CM_ACTIONUPDATE:
        m.Result = DispatchAction(m.Msg, reinterpret_cast<TBasicAction*>(m.LParam)) ? 1 : 0;
        return;
      default:
        break;
    }
    m.Result = DefWindowProcA(handle_, m.Msg, m.WParam, m.LParam);
  } catch (...) {
    HandleException(this);
  }
}

bool TApplication::ExecuteAction(TBasicAction* action) {
  bool handled = false;
  if (OnActionExecute) OnActionExecute(action, handled);
  return handled;
}

bool TApplication::UpdateAction(TBasicAction* action) {
  bool handled = false;
  if (OnActionUpdate) OnActionUpdate(action, handled);
  return handled;
}

void TApplication::ReleaseLater(TComponent* component) {
  if (std::find(released_.begin(), released_.end(), component) != released_.end()) return;
  released_.push_back(component);
  // Freed early by someone else, it leaves the list (Notification).
  component->FreeNotification(this);
  // Whoever runs the loop (this object or a test's), the application window frees it next.
  if (handle_) PostMessageA(handle_, CM_RELEASE, 0, 0);
}

void TApplication::FreeReleased() {
  // One at a time: freeing one may free another on the list, which then leaves it.
  while (!released_.empty()) {
    TComponent* c = released_.front();
    released_.erase(released_.begin());
    c->RemoveFreeNotification(this);
    delete c;
  }
}

void TApplication::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation != opRemove) return;
  released_.erase(std::remove(released_.begin(), released_.end(), component), released_.end());
  if (component == hintWindow_) hintWindow_ = nullptr;
}

void TApplication::Run() {
  if (MainForm && ShowMainForm) MainForm->Show();
  while (!terminated_) {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  }
}

void TApplication::Terminate() { PostQuitMessage(0); }

bool TApplication::IsHintMsg(const MSG& msg) {
  if (hintWindow_ && hintWindow_->IsHintMsg(msg)) CancelHint();
  return false;
}

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) OnMessage(msg, handled);
  if (!IsHintMsg(msg) && !handled && !IsKeyMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  FreeReleased();
  return true;
}

bool TApplication::IsKeyMsg(MSG& msg) {
  constexpr UINT kKeyLast = 0x0108;
  if (msg.message < WM_KEYDOWN || msg.message > kKeyLast) return false;
  HWND target = GetCapture();
  if (target) {
    if (!FindControl(target)) return false;
  } else {
    // The nearest window of the form library's own; others would not know CN_* messages.
    target = msg.hwnd;
    while (target && !FindControl(target)) target = GetParent(target);
    if (!target) target = msg.hwnd;
  }
  if (!target) return false;
  UINT cn = CN_BASE + msg.message;
  LRESULT used = IsWindowUnicode(target) ? SendMessageW(target, cn, msg.wParam, msg.lParam)
                                         : SendMessageA(target, cn, msg.wParam, msg.lParam);
  return used != 0;
}

bool TApplication::DispatchAction(UINT msg, TBasicAction* action) {
  if (!action) return false;
  auto* form = dynamic_cast<TCustomForm*>(FindControl(GetActiveWindow()));
  if (form && form->Perform(msg, 0, reinterpret_cast<LPARAM>(action)) == 1) return true;
  return MainForm && MainForm != form && MainForm->Perform(msg, 0, reinterpret_cast<LPARAM>(action)) == 1;
}

bool TApplication::IsShortCut(TWMKey& message, TCustomForm* asked) {
  if (!MainForm || MainForm == asked || !MainForm->HandleAllocated() || !IsWindowEnabled(MainForm->Handle()))
    return false;
  return MainForm->IsShortCut(message);
}

void TApplication::UpdateFormActions() {
  std::vector<TCustomForm*> forms;
  std::function<void(TComponent*)> collect = [&](TComponent* owner) {
    for (int i = 0; i < owner->ComponentCount(); ++i) {
      TComponent* c = owner->Components(i);
      if (auto* form = dynamic_cast<TCustomForm*>(c)) {
        forms.push_back(form);
        collect(form);
      }
    }
  };
  collect(this);
  for (TCustomForm* form : forms)
    if (form->HandleAllocated() && IsWindowVisible(form->Handle()) && IsWindowEnabled(form->Handle()))
      form->UpdateActions();
}

void TApplication::Idle() {
  bool done = true;
  try {
    TControl* control = UpdateMouseControl();
    if (showHint_ && !mouseControl_) CancelHint();
    SetHint(GetLongHint(GetHint(control)));
    if (OnIdle) OnIdle(this, done);
    if (done) UpdateFormActions();
  } catch (...) {
    HandleException(this);
  }
  if (CheckSynchronize(0)) done = false;
  if (done) WaitMessage();
}

void TApplication::HandleMessage() {
  MSG msg{};
  if (!ProcessMessage(msg)) Idle();
}

void TApplication::ProcessMessages() {
  MSG msg{};
  while (ProcessMessage(msg)) {
    if (terminated_) break;
  }
}

void TApplication::HandleException(TObject* sender) {
  std::exception_ptr current = std::current_exception();
  if (!current) return;
  try {
    std::rethrow_exception(current);
  } catch (EAbort&) {
    // Silent by design.
  } catch (Exception& e) {
    if (OnException)
      OnException(sender, &e);
    else
      ShowException(&e);
  } catch (std::exception& e) {
    Exception wrapped{AnsiString(e.what())};
    if (OnException)
      OnException(sender, &wrapped);
    else
      ShowException(&wrapped);
  } catch (...) {
    Exception wrapped{AnsiString("Unknown exception")};
    if (OnException)
      OnException(sender, &wrapped);
    else
      ShowException(&wrapped);
  }
}

namespace {
TApplication::TShowExceptionProc gShowException = nullptr;
}  // namespace

TApplication::TShowExceptionProc TApplication::SetShowExceptionProc(TShowExceptionProc proc) {
  TShowExceptionProc before = gShowException;
  gShowException = proc;
  return before;
}

TApplication::TShowExceptionProc TApplication::GetShowExceptionProc() { return gShowException; }

void TApplication::ShowException(Exception* e) {
  if (gShowException) {
    gShowException(this, e);
    return;
  }
  AnsiString message = e->Message;
  // A message whose last character sorts above "." gets one ("Why?" -> "Why?."), as classic.
  if (!message.IsEmpty() && static_cast<unsigned char>(message[message.Length()]) > '.') message += ".";
  MessageBox(message.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const char* text, const char* caption, UINT flags) {
  HWND active = GetActiveWindow();
  TTaskWindowList* disabled = DisableTaskWindows(nullptr);
  auto restore = [&] {
    EnableTaskWindows(disabled);
    if (active && IsWindow(active) && IsWindowVisible(active)) SetActiveWindow(active);
  };
  int result = 0;
  {
    platform::ScopeExit undo([&] { restore(); });
    result = MessageBoxA(active ? active : handle_, text, caption, flags);
  }
  return result;
}

// ---- the mouse and hints

void TApplication::SetHint(const AnsiString& value) {
  if (hint_ == value) return;
  hint_ = value;
  if (OnHint) {
    OnHint(this);
    return;
  }
  // Without a handler the hint travels as an action, to whoever handles that.
  auto action = std::make_unique<THintAction>(this);
  action->SetHint(value);
  action->Execute();
}

void TApplication::SetShowHint(bool value) {
  if (showHint_ == value) return;
  showHint_ = value;
  if (!value) CancelHint();
}

TControl* TApplication::UpdateMouseControl() {
  POINT p{};
  GetCursorPos(&p);
  TControl* target = FindDragTarget(p, true);
  // Leaving every window of the program is leaving: ask to hear of it.
  if (target) {
    HWND under = WindowFromPoint(p);
    TRACKMOUSEEVENT track{sizeof(TRACKMOUSEEVENT), TME_LEAVE, under, 0};
    TrackMouseEvent(&track);
  }
  // While a control holds the mouse only it hears of entering and leaving: the pointer is over
  // it or over nothing, so the control under it once it lets go is entered then.
  TControl* capture = GetCaptureControl();
  if (capture && target != capture) target = nullptr;
  if (mouseControl_ != target) {
    TControl* old = mouseControl_;
    mouseControl_ = target;
    if (old) old->Perform(CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(old));
    // A leave handler may have moved things: enter only what is still the control under the mouse.
    if (target && mouseControl_ == target)
      target->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(target));
  }
  return mouseControl_;
}

void TApplication::ControlMouseMessage(TControl*, TMessage& m) {
  switch (m.Msg) {
    case WM_MOUSEMOVE:
      UpdateMouseControl();
      SetHint(GetLongHint(GetHint(mouseControl_)));
      HintMouseMove();
      break;
    case WM_MOUSELEAVE:
      if (!UpdateMouseControl()) CancelHint();
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      CancelHint();
      break;
    default:
      break;
  }
}

void TApplication::HintMouseMove() {
  if (!showHint_) return;
  POINT p{};
  GetCursorPos(&p);
  TControl* newHintControl = GetHintControl(mouseControl_);
  if (!newHintControl) {
    CancelHint();
    return;
  }
  if (newHintControl == hintControl_ && PtInRect(&hintCursorRect_, p)) return;
  // Moving on while a hint is up shows the next one sooner.
  bool wasActive = hintActive_;
  int pause = wasActive ? HintShortPause : HintPause;
  newHintControl->Perform(CM_HINTSHOWPAUSE, wasActive ? 1 : 0, reinterpret_cast<LPARAM>(&pause));
  CancelHint();
  hintActive_ = wasActive;
  hintControl_ = newHintControl;
  hintCursorRect_ = RECT{0, 0, 0, 0};
  StartHintTimer(pause, HintTimer::Show);
}

void TApplication::StartHintTimer(int ms, HintTimer mode) {
  StopHintTimer();
  if (!handle_) return;
  hintTimer_ = mode;
  SetTimer(handle_, kHintTimerId, static_cast<UINT>(std::max(ms, 1)), nullptr);
}

void TApplication::StopHintTimer() {
  if (hintTimer_ == HintTimer::None) return;
  hintTimer_ = HintTimer::None;
  if (handle_) KillTimer(handle_, kHintTimerId);
}

void TApplication::HintTimerExpired() {
  HintTimer mode = hintTimer_;
  StopHintTimer();
  if (mode == HintTimer::Show) {
    POINT p{};
    GetCursorPos(&p);
    ActivateHint(p);
  } else if (mode == HintTimer::Hide) {
    CancelHint();
  }
}

void TApplication::HideHint() {
  if (hintWindow_ && hintWindow_->HandleAllocated() && IsWindowVisible(hintWindow_->Handle()))
    ShowWindow(hintWindow_->Handle(), SW_HIDE);
}

void TApplication::CancelHint() {
  HideHint();
  hintControl_ = nullptr;
  hintActive_ = false;
  hintCursorRect_ = RECT{0, 0, 0, 0};
  StopHintTimer();
}

void TApplication::ActivateHint(POINT cursorPos) {
  hintActive_ = false;
  TControl* control = hintControl_;
  if (!showHint_ || !control || GetHintControl(FindDragTarget(cursorPos, true)) != control) {
    CancelHint();
    return;
  }
  THintInfo info;
  info.HintControl = control;
  info.HintWindowClass = ::HintWindowClass;
  info.HintPos = POINT{cursorPos.x, cursorPos.y + GetSystemMetrics(SM_CYCURSOR)};
  info.HintMaxWidth = Screen ? Screen->Width() : GetSystemMetrics(SM_CXSCREEN);
  info.HintColor = HintColor;
  info.CursorRect = control->ClientRect();
  info.CursorPos = control->ScreenToClient(cursorPos);
  info.ReshowTimeout = 0;
  info.HideTimeout = HintHidePause;
  info.HintStr = GetShortHint(GetHint(control));
  info.HintData = nullptr;
  bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  // The control may have gone while it was asked.
  if (hintControl_ != control) return;
  if (canShow && !info.HintStr.IsEmpty()) {
    if (!info.HintWindowClass) info.HintWindowClass = ::HintWindowClass;
    // One window of the asked class, made once and reused.
    if (!hintWindow_ || *hintWindow_->ClassType() != *info.HintWindowClass.ClassType()) {
      delete hintWindow_;
      hintWindow_ = nullptr;
      hintWindow_ = info.HintWindowClass.Create(this);
    }
    if (!hintWindow_) return;
    hintWindow_->SetColor(info.HintColor);
    RECT rect = hintWindow_->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
    OffsetRect(&rect, info.HintPos.x, info.HintPos.y);
    POINT topLeft = control->ClientToScreen(POINT{info.CursorRect.left, info.CursorRect.top});
    POINT bottomRight = control->ClientToScreen(POINT{info.CursorRect.right, info.CursorRect.bottom});
    hintCursorRect_ = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    hintWindow_->ActivateHintData(rect, info.HintStr, info.HintData);
    hintActive_ = true;
    if (info.ReshowTimeout > 0)
      StartHintTimer(info.ReshowTimeout, HintTimer::Show);
    else if (info.HideTimeout > 0)
      StartHintTimer(info.HideTimeout, HintTimer::Hide);
    return;
  }
  if (info.ReshowTimeout > 0) {
    HideHint();
    StartHintTimer(info.ReshowTimeout, HintTimer::Show);
  } else {
    CancelHint();
  }
}

void TApplication::ControlDestroyed(TControl* control) {
  if (control == MainForm) MainForm = nullptr;
  if (control == mouseControl_) mouseControl_ = nullptr;
  if (control == hintControl_) CancelHint();
}

void RegisterFormsClasses();  // FormsClasses.cpp

void FormsStartup() {
  RegisterFormsClasses();
  TPicture::RegisterBuiltInFormats();
  MenusStartup();
  if (!Application) Application = new TApplication(nullptr);
  if (!Screen) Screen = new TScreen(nullptr);
  HintWindowClass = THintWindowClass::Of<THintWindow>();
}

void FormsShutdown() {
  delete SetClipboard(nullptr);  // it may hold the clipboard open through the application's window
  delete Application;
  Application = nullptr;
  delete Screen;
  Screen = nullptr;
  MenusShutdown();
}

void TApplication::SaveFocusState() { savedFocus_.push_back(GetFocus()); }

void TApplication::RestoreFocusState() {
  if (savedFocus_.empty()) return;
  HWND focus = savedFocus_.back();
  savedFocus_.pop_back();
  if (focus && IsWindow(focus)) ::SetFocus(focus);
}
