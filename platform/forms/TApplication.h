// TApplication: the program's application object. It owns the forms made by CreateForm, keeps a
// hidden window that owns them and carries the title, runs the message loop, and is where every
// exception that leaves an event handler ends up (HandleException: OnException, or a message box).
// It also follows the mouse: the control under the pointer gets CM_MOUSEENTER/CM_MOUSELEAVE,
// its long hint becomes Hint, and after a rest over a control with hints on, the short hint
// shows in a hint window (timed on the application window's timer, so on the platform clock).
#pragma once

#include <functional>
#include <vector>

#include "platform/forms/TForm.h"
#include "platform/forms/THintWindow.h"
#include "platform/rtl/Exceptions.h"

using TExceptionEvent = std::function<void(TObject* sender, Exception* e)>;
using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
class TBasicAction;
using TApplicationActionEvent = std::function<void(TBasicAction* action, bool& handled)>;

// A hook on the application window: a comparable method value (object, member), so whoever
// hooked can unhook exactly its own. A hook returning true has handled the message.
class TWindowHook {
 public:
  TWindowHook() = default;
  template <class C, bool (C::*M)(TMessage&)>
  static TWindowHook Of(C* object) {
    TWindowHook h;
    h.object_ = object;
    h.thunk_ = [](void* o, TMessage& m) { return (static_cast<C*>(o)->*M)(m); };
    return h;
  }
  bool operator()(TMessage& message) const { return thunk_ && thunk_(object_, message); }
  explicit operator bool() const { return thunk_ != nullptr; }
  bool operator==(const TWindowHook&) const = default;

 private:
  void* object_ = nullptr;
  bool (*thunk_)(void*, TMessage&) = nullptr;
};

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  void Initialize() {}
  HWND Handle() const { return handle_; }
  const AnsiString& Title() const { return title_; }
  void SetTitle(const AnsiString& value);
  // The program's own path.
  AnsiString ExeName() const;
  // True while one of the program's windows is active.
  bool Active() const;
  TBiDiMode BiDiMode = bdLeftToRight;
  // The modeless dialog whose keys the loop hands to it (none in this library).
  HWND DialogHandle = nullptr;
  // Around a modal box of the system's: remembers the focused window and gives it back.
  void SaveFocusState();
  void RestoreFocusState();

  // Makes a form owned by the application, assigns `ref`, then runs its OnCreate; the first
  // form made is the main form.
  template <class T>
  void CreateForm(T*& ref) {
    T* form = new T(this);
    ref = form;
    if (!MainForm) MainForm = form;
    form->AfterConstruction();
  }
  TCustomForm* MainForm = nullptr;
  bool ShowMainForm = true;

  void Run();
  void Terminate();
  bool Terminated() const { return terminated_; }
  void HandleMessage();
  void ProcessMessages();
  // Handles the exception being caught (call it from a catch block).
  void HandleException(TObject* sender);
  void ShowException(Exception* e);
  // The exception display a layer above may install in place of the form library's own; null
  // restores it. Returns the one installed before.
  using TShowExceptionProc = void (*)(TApplication* application, Exception* e);
  static TShowExceptionProc SetShowExceptionProc(TShowExceptionProc proc);
  static TShowExceptionProc GetShowExceptionProc();
  // A message box over the active window; the other windows are disabled while it is up.
  int MessageBox(const char* text, const char* caption, UINT flags);

  // Hooks see every message of the application window first, in the order they were added.
  void HookMainWindow(TWindowHook hook);
  void UnhookMainWindow(TWindowHook hook);

  // Frees `component` after the message being handled (a released form).
  void ReleaseLater(TComponent* component);

  // The long hint of the control under the mouse, or what the program set. Setting a new
  // value fires OnHint.
  const AnsiString& Hint() const { return hint_; }
  void SetHint(const AnsiString& value);
  TColor HintColor = clInfoBk;
  int HintPause = 500;
  int HintShortPause = 50;
  int HintHidePause = 2500;
  bool HintShortCuts = true;
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  // Hides the hint and forgets the control it was for.
  void CancelHint();
  // Shows the hint of the hint control for a pointer at `cursorPos` (screen), now.
  void ActivateHint(POINT cursorPos);
  // The control under the mouse (windowed or not), or null.
  TControl* MouseControl() const { return mouseControl_; }
  // The hint window once one was shown, or null.
  THintWindow* HintWindow() const { return hintWindow_; }

  // The form library's controls report their mouse messages here (enter and leave, hints).
  void ControlMouseMessage(TControl* control, TMessage& message);
  // A control is going away: forget it wherever it is remembered.
  void ControlDestroyed(TControl* control);

  // OnActionExecute / OnActionUpdate for an action its own list did not handle.
  bool ExecuteAction(TBasicAction* action) override;
  bool UpdateAction(TBasicAction* action) override;
  // The application's part of the shortcut step: the main form's shortcuts while the main
  // form is enabled (not behind a modal form); `asked` is a form that was already asked.
  bool IsShortCut(TWMKey& message, TCustomForm* asked = nullptr);
  // Updates the actions of every visible, enabled form (idle time).
  void UpdateFormActions();

  TExceptionEvent OnException;
  TApplicationActionEvent OnActionExecute;
  TApplicationActionEvent OnActionUpdate;
  TMessageEvent OnMessage;
  TIdleEvent OnIdle;
  TNotifyEvent OnHint;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  enum class HintTimer { None, Show, Hide };
  bool ProcessMessage(MSG& msg);
  // Offers a key message to its control as CN_KEYDOWN, CN_CHAR ... before it is translated;
  // true when the control used it up.
  bool IsKeyMsg(MSG& msg);
  // CM_ACTIONEXECUTE / CM_ACTIONUPDATE at the application window: the active form, then the
  // main form, look for the action's target.
  bool DispatchAction(UINT msg, TBasicAction* action);
  void Idle();
  void WndProc(TMessage& message);
  void FreeReleased();
  bool IsHintMsg(const MSG& msg);
  // Finds the control under the pointer and sends leave and enter when it changed.
  TControl* UpdateMouseControl();
  void HintMouseMove();
  void StartHintTimer(int ms, HintTimer mode);
  void StopHintTimer();
  void HintTimerExpired();
  void HideHint();

  HWND handle_ = nullptr;
  std::vector<HWND> savedFocus_;
  WNDPROC instance_;
  AnsiString title_;
  bool terminated_ = false;
  std::vector<TComponent*> released_;
  std::vector<TWindowHook> hooks_;

  AnsiString hint_;
  bool showHint_ = true;
  TControl* mouseControl_ = nullptr;
  TControl* hintControl_ = nullptr;
  THintWindow* hintWindow_ = nullptr;
  bool hintActive_ = false;
  RECT hintCursorRect_{0, 0, 0, 0};  // screen
  HintTimer hintTimer_ = HintTimer::None;
};

extern TApplication* Application;

// The control under a screen point: the form-library window there, or its windowless child
// under the point.
TControl* FindDragTarget(POINT screen, bool allowDisabled);

// The form library's part of the platform's start-up and shut-down: the application object,
// the screen, the hint window class and the built-in picture formats (after the window system
// and the system classes).
void FormsStartup();
void FormsShutdown();
