// TApplication: the program's application object. It owns the forms made by CreateForm, keeps a
// hidden window that owns them and carries the title, runs the message loop, and is where every
// exception that leaves an event handler ends up (HandleException: OnException, or a message box).
#pragma once

#include <functional>
#include <vector>

#include "platform/forms/TForm.h"
#include "platform/rtl/Exceptions.h"

using TExceptionEvent = std::function<void(TObject* sender, Exception* e)>;
using TMessageEvent = std::function<void(MSG& msg, bool& handled)>;
using TIdleEvent = std::function<void(TObject* sender, bool& done)>;
class TBasicAction;
using TApplicationActionEvent = std::function<void(TBasicAction* action, bool& handled)>;

class TApplication : public TComponent {
 public:
  explicit TApplication(TComponent* owner);
  ~TApplication() override;

  void Initialize() {}
  HWND Handle() const { return handle_; }
  const AnsiString& Title() const { return title_; }
  void SetTitle(const AnsiString& value);

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
  int MessageBox(const char* text, const char* caption, UINT flags);

  // Frees `component` after the message being handled (a released form).
  void ReleaseLater(TComponent* component);

  // OnActionExecute / OnActionUpdate for an action its own list did not handle.
  bool ExecuteAction(TBasicAction* action) override;
  bool UpdateAction(TBasicAction* action) override;
  // The application's part of the shortcut step: the main form's shortcuts while the main
  // form is enabled (not behind a modal form); `asked` is a form that was already asked.
  bool IsShortCut(TWMKey& message, TCustomForm* asked = nullptr);
  // Updates the actions of every visible, enabled form (idle time).
  void UpdateFormActions();

  AnsiString Hint;
  // Hints of controls with an action name its shortcut.
  bool HintShortCuts = true;
  TExceptionEvent OnException;
  TApplicationActionEvent OnActionExecute;
  TApplicationActionEvent OnActionUpdate;
  TMessageEvent OnMessage;
  TIdleEvent OnIdle;

 private:
  bool ProcessMessage(MSG& msg);
  // Offers a key message to its control as CN_KEYDOWN, CN_CHAR ... before it is translated;
  // true when the control used it up.
  bool IsKeyMsg(MSG& msg);
  // CM_ACTIONEXECUTE / CM_ACTIONUPDATE at the application window: the active form, then the
  // main form, look for the action's target.
  bool DispatchAction(UINT msg, TBasicAction* action);
  void Idle();
  void WndProc(TMessage& message);

  HWND handle_ = nullptr;
  WNDPROC instance_;
  AnsiString title_;
  bool terminated_ = false;
  std::vector<TComponent*> released_;
};

extern TApplication* Application;

// The form library's part of the platform's start-up and shut-down: the application object
// and the built-in picture formats (after the window system and the system classes).
void FormsStartup();
void FormsShutdown();
