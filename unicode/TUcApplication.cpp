#include "unicode/TUcApplication.h"

#include <memory>
#include <typeinfo>

#include "platform/controls/Controls.h"
#include "platform/forms/TFont.h"
#include "platform/forms/TForm.h"
#include "platform/forms/THintAction.h"
#include "platform/forms/TScreen.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/MainThread.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/ScopeExit.h"
#include "unicode/SettingChangeTime.h"
#include "unicode/TUcAction.h"
#include "unicode/TUcForm.h"
#include "unicode/TUcHintAction.h"
#include "unicode/TUcHintWindow.h"
#include "unicode/UcControls.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"
#include "unicode/UcSyncedWideString.h"
#include "unicode/UcSystemUpdates.h"
#include "unicode/WideException.h"

TUcApplication* UcApplication = nullptr;

namespace {

HHOOK g_hook = nullptr;
int g_manualPeek = 0;

AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }

LRESULT GetMessageHook(int code, WPARAM wParam, LPARAM lParam) {
  if (code >= 0 && wParam == PM_REMOVE && g_manualPeek == 0 && UcApplication && lParam) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (UcApplication->ProcessMessage(*msg)) msg->message = WM_NULL;
  }
  return CallNextHookEx(g_hook, code, wParam, lParam);
}

WideString WindowTextOf(HWND window) {
  const LRESULT length = DefWindowProcW(window, WM_GETTEXTLENGTH, 0, 0);
  std::u16string text(size_t(std::max<LRESULT>(length, 0)) + 1, u'\0');
  const LRESULT got = DefWindowProcW(window, WM_GETTEXT, WPARAM(text.size()), LPARAM(text.data()));
  text.resize(size_t(std::clamp<LRESULT>(got, 0, length)));
  return WideString(std::move(text));
}

}  // namespace

TUcApplication::TUcApplication(TComponent* owner) : TComponent(owner) {
  if (Application)
    Application->HookMainWindow(TWindowHook::Of<TUcApplication, &TUcApplication::WndProc>(this));
  settingChangeTime_ = GetTickCount();
  _SettingChangeTime = settingChangeTime_;
}

TUcApplication::~TUcApplication() {
  delete idleEventControl_;
  if (Application)
    Application->UnhookMainWindow(TWindowHook::Of<TUcApplication, &TUcApplication::WndProc>(this));
}

WideString TUcApplication::ApplicationMouseControlHint() {
  return Application ? WideGetLongHint(WideGetHint(Application->MouseControl())) : WideString();
}

WideString TUcApplication::Hint() {
  if (!Application) return wideHint_;
  const WideString mouseHint = ApplicationMouseControlHint();
  if (Application->Hint() == Narrow(mouseHint)) wideHint_ = mouseHint;
  return GetSyncedWideString(wideHint_, Application->Hint());
}

void TUcApplication::SetHint(const WideString& hint) {
  if (!Application) {
    wideHint_ = hint;
    return;
  }
  SetSyncedWideString(hint, wideHint_, Application->Hint(),
                      [](const AnsiString& value) { Application->SetHint(value); });
}

WideString TUcApplication::Title() {
  if (Application && Application->Handle() && Win32PlatformIsUnicode())
    return WindowTextOf(Application->Handle());
  return GetSyncedWideString(wideTitle_, Application ? Application->Title() : AnsiString());
}

void TUcApplication::SetTitle(const WideString& title) {
  if (Application && Application->Handle() && Win32PlatformIsUnicode()) {
    if (Title() != title || !wideTitle_.IsEmpty()) {
      DefWindowProcW(Application->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(title.c_str()));
      wideTitle_ = WideString();
    }
    return;
  }
  if (!Application) {
    wideTitle_ = title;
    return;
  }
  SetSyncedWideString(title, wideTitle_, Application->Title(),
                      [](const AnsiString& value) { Application->SetTitle(value); });
}

WideString TUcApplication::ExeName() const { return UcWiden(ParamStr(0)); }

void TUcApplication::DoIdle() {
  if (!Application) return;
  const WideString mouseHint = ApplicationMouseControlHint();
  if (Application->Hint() == Narrow(mouseHint)) SetHint(mouseHint);
}

bool TUcApplication::IsDlgMsg(MSG& msg) {
  HWND dialog = Application ? Application->DialogHandle : nullptr;
  if (!dialog) return false;
  return IsWindowUnicode(dialog) ? IsDialogMessageW(dialog, &msg) : IsDialogMessageA(dialog, &msg);
}

bool TUcApplication::ProcessMessage(MSG& msg) {
  if (!mainFormSeen_ && Application && Application->MainForm) {
    // A Unicode main form updates the layer's application itself at idle time.
    if (!idleEventControl_ && !dynamic_cast<TUcForm*>(Application->MainForm))
      new TUcAppIdleEventControl(Application->MainForm);
    mainFormSeen_ = true;
  }
  // Every code an 8-bit loop would spoil: from 0x80 on (bytes of a character under UTF-8, or a
  // letter the code page lacks); plain ASCII stays with the form library.
  if (msg.message != WM_CHAR || msg.wParam < 0x80 || !IsWindowUnicode(msg.hwnd)) return false;
  HWND dialog = Application ? Application->DialogHandle : nullptr;
  if (dialog && !IsWindowUnicode(dialog)) return false;
  bool handled = false;
  if (Application && Application->OnMessage) Application->OnMessage(msg, handled);
  if (Application) Application->CancelHint();
  if (!handled && !IsDlgMsg(msg)) DispatchMessageW(&msg);
  return true;
}

bool TUcApplication::WndProc(TMessage& m) {
  switch (m.Msg) {
    case WM_SETTINGCHANGE:
      settingChangeTime_ = GetTickCount();
      _SettingChangeTime = settingChangeTime_;
      return false;
    case WM_CREATE:
      if (!wideTitle_.IsEmpty()) {
        const WideString waiting = wideTitle_;
        SetTitle(waiting);
        wideTitle_ = WideString();
      }
      return false;
    case CM_ACTIONEXECUTE: {
      auto* action = reinterpret_cast<TBasicAction*>(m.LParam);
      // Exactly the form library's hint action: its subclasses (ours too) are left alone.
      if (!action || typeid(*action) != typeid(THintAction)) return false;
      const WideString hint = Hint();
      if (static_cast<THintAction*>(action)->Hint() != Narrow(hint)) return false;
      m.Result = 1;
      const auto wide = std::make_unique<TUcHintAction>(this);
      wide->SetHint(hint);
      wide->Execute();
      return true;
    }
    default:
      return false;
  }
}

int TUcApplication::MessageBox(const WideString& text, const WideString& caption, UINT flags) {
  HWND appWindow = Application ? Application->Handle() : nullptr;
  HWND active = GetActiveWindow();
  HWND owner = active ? active : (appWindow ? GetLastActivePopup(appWindow) : nullptr);
  if (!owner) owner = appWindow;
  RECT oldRect{};
  bool moved = false;
  HMONITOR ownerMonitor = MonitorFromWindow(owner, MONITOR_DEFAULTTONEAREST);
  if (appWindow && ownerMonitor != MonitorFromWindow(appWindow, MONITOR_DEFAULTTONEAREST)) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (GetMonitorInfoW(ownerMonitor, &info)) {
      GetWindowRect(appWindow, &oldRect);
      const RECT& r = info.rcMonitor;
      SetWindowPos(appWindow, nullptr, r.left + (r.right - r.left) / 2, r.top + (r.bottom - r.top) / 2, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
      moved = true;
    }
  }
  TTaskWindowList* disabled = DisableTaskWindows(active);
  if (Application) Application->SaveFocusState();
  if (Application && Application->BiDiMode != bdLeftToRight) flags |= MB_RTLREADING;
  const platform::ScopeExit restore([&] {
    // The application window goes back where it stood.
    if (moved)
      SetWindowPos(appWindow, nullptr, oldRect.left, oldRect.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW);
    EnableTaskWindows(disabled);
    if (active && IsWindow(active)) SetActiveWindow(active);
    if (Application) Application->RestoreFocusState();
  });
  return MessageBoxW(owner, text.c_str(), caption.c_str(), flags);
}

void TUcApplication::ShowException(Exception* e) {
  WideString message;
  if (auto* wide = dynamic_cast<WideException*>(e))
    message = wide->WideMessage();
  else
    message = UcWiden(e->Message);
  if (!message.IsEmpty() && message[message.Length()] > u'.') message += u".";
  MessageBox(message, Title(), MB_ICONERROR);
}

void TUcApplication::EnableManualPeekMessageWithRemove() { ++g_manualPeek; }
void TUcApplication::DisableManualPeekMessageWithRemove() {
  if (g_manualPeek > 0) --g_manualPeek;
}

TUcAppIdleEventControl::TUcAppIdleEventControl(TComponent* owner) : TControl(owner) {
  SetBounds(0, 0, 0, 0);
  if (Application && Application->MainForm) SetParent(Application->MainForm);
  SetVisible(true);
  auto* action = new TUcAction(this);
  action->OnExecute = [](TObject*) {
    if (UcApplication) UcApplication->DoIdle();
  };
  action->OnUpdate = [](TObject*) {
    if (UcApplication) UcApplication->DoIdle();
  };
  SetAction(action);
  if (UcApplication) UcApplication->idleEventControl_ = this;
}

TUcAppIdleEventControl::~TUcAppIdleEventControl() {
  if (UcApplication && UcApplication->idleEventControl_ == this) UcApplication->idleEventControl_ = nullptr;
}

namespace unicode {

void ApplicationStartup() {
  if (!UcApplication) UcApplication = new TUcApplication(nullptr);
  if (!g_hook && Win32Platform == VER_PLATFORM_WIN32_NT) {
    g_hook = SetWindowsHookExW(WH_GETMESSAGE, &GetMessageHook, nullptr, GetCurrentThreadId());
    if (!g_hook) RaiseLastOSError();
  }
}

void ApplicationShutdown() {
  if (g_hook) UnhookWindowsHookEx(g_hook);
  g_hook = nullptr;
  g_manualPeek = 0;
  delete UcApplication;
  UcApplication = nullptr;
}

}  // namespace unicode

namespace {

// The face the classic dialog font "MS Shell Dlg 2" stands for. This system keeps no profile of
// font substitutes (fonts are matched to installed ones when text is drawn), so the lookups find
// the classic defaults: "Tahoma" where the screen lists it, else what "MS Shell Dlg" stands for,
// "MS Sans Serif".
AnsiString ShellDlg2Substitute() {
  const AnsiString shellDlg = "MS Sans Serif";
  return Screen && Screen->Fonts()->IndexOf("Tahoma") >= 0 ? AnsiString("Tahoma") : shellDlg;
}

}  // namespace

void InitUcEnvironment() {
  InstallUcSystemUpdates(AllUcSystemUpdates);
  // The form library's default font names at most 31 characters.
  const AnsiString face = ShellDlg2Substitute();
  DefFontData.Name = face.Length() > 31 ? face.SubString(1, 31) : face;
  HintWindowClass = THintWindowClass::Of<TUcHintWindow>();
}
