#include "platform/forms/TApplication.h"

#include <algorithm>

#include "platform/controls/Controls.h"
#include "platform/forms/TClipboard.h"
#include "platform/forms/TPicture.h"
#include "platform/forms/TPopupList.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Synchronize.h"
#include "platform/rtl/SysUtils.h"

TApplication* Application = nullptr;

void ApplicationHandleException(TObject* sender) {
  if (Application) Application->HandleException(sender);
}

namespace {
const char kAppClass[] = "TApplication";
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
  handle_ = CreateWindowExA(0, kAppClass, title_.c_str(), WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU, 0, 0,
                            0, 0, nullptr, nullptr, HInstance, nullptr);
  if (handle_) SetWindowLongPtrA(handle_, GWL_WNDPROC, static_cast<LONG_PTR>(instance_));
}

TApplication::~TApplication() {
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

void TApplication::WndProc(TMessage& m) {
  try {
    if (m.Msg == CM_ACTIONEXECUTE || m.Msg == CM_ACTIONUPDATE) {
      m.Result = DispatchAction(m.Msg, reinterpret_cast<TBasicAction*>(m.LParam)) ? 1 : 0;
      return;
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
  if (std::find(released_.begin(), released_.end(), component) == released_.end()) released_.push_back(component);
}

void TApplication::Run() {
  if (MainForm && ShowMainForm) MainForm->Show();
  while (!terminated_) HandleMessage();
}

void TApplication::Terminate() { PostQuitMessage(0); }

bool TApplication::ProcessMessage(MSG& msg) {
  if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    terminated_ = true;
    return true;
  }
  bool handled = false;
  if (OnMessage) OnMessage(msg, handled);
  if (!handled && !IsKeyMsg(msg)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  std::vector<TComponent*> released = std::move(released_);
  released_.clear();
  for (TComponent* c : released) delete c;
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

void TApplication::ShowException(Exception* e) {
  AnsiString message = e->Message;
  // A message whose last character sorts above "." gets one ("Why?" -> "Why?."), as classic.
  if (!message.IsEmpty() && static_cast<unsigned char>(message[message.Length()]) > '.') message += ".";
  MessageBox(message.c_str(), title_.c_str(), MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const char* text, const char* caption, UINT flags) {
  HWND owner = GetActiveWindow();
  return MessageBoxA(owner ? owner : handle_, text, caption, flags);
}

void RegisterFormsClasses();  // FormsClasses.cpp

void FormsStartup() {
  RegisterFormsClasses();
  TPicture::RegisterBuiltInFormats();
  MenusStartup();
  if (!Application) Application = new TApplication(nullptr);
}

void FormsShutdown() {
  delete SetClipboard(nullptr);  // it may hold the clipboard open through the application's window
  delete Application;
  Application = nullptr;
  MenusShutdown();
}
