// TCustomForm and TForm: a top-level window owned by the application's window (or, docked,
// a child of another control). Show, Hide, Close with OnCloseQuery and OnClose, ShowModal with
// ModalResult, OnCreate after construction and Loaded, OnDestroy at the start of destruction.
#pragma once

#include "platform/forms/TWMKey.h"
#include "platform/forms/TWinControl.h"

namespace platform::win {
struct ModalInfo;
}

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition {
  poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter, poMainFormCenter,
  poOwnerFormCenter
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
using TModalResult = int;
constexpr TModalResult mrNone = 0, mrOk = 1, mrCancel = 2, mrAbort = 3, mrRetry = 4, mrIgnore = 5, mrYes = 6,
                       mrNo = 7, mrAll = 8, mrNoToAll = 9, mrYesToAll = 10;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
using TShortCutEvent = std::function<void(TWMKey& message, bool& handled)>;

// The form's menu bar's part of the shortcut step, installed where menu bars are attached to
// forms: answers whether the form's menu took the chord.
using TMenuShortCutHook = std::function<bool(TComponent* form, TWMKey& message)>;
extern TMenuShortCutHook FormMenuShortCut;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* owner);
  ~TCustomForm() override;

  // Reads the form's layout when one is registered under its class name, runs Loaded and then
  // OnCreate. The application's CreateForm calls it; code that news a form calls it too.
  void AfterConstruction() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TPosition Position = poDesigned;
  bool KeyPreview = false;
  TModalResult ModalResult = mrNone;

  void Show();
  void Close();
  bool CloseQuery();
  // Frees the form once the current message has been handled.
  void Release();
  TModalResult ShowModal();

  // The control that has (or gets, when the form is active) the focus; null: the form's own
  // window. Raises EInvalidOperation "Cannot focus a disabled or invisible control" for a
  // control that cannot take it.
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  // Makes `control` active and gives the form the focus.
  void FocusControl(TWinControl* control);
  // The focus moved to `control`: CM_EXIT to the controls it left and CM_ENTER to those it
  // entered, outermost first. False when a handler moved the focus again meanwhile.
  bool SetFocusedControl(TWinControl* control);
  // `control` can no longer have the focus (hidden, disabled or, with removing, going).
  void DefocusControl(TControl* control, bool removing);
  void SetFocus() override;
  bool Active() const { return active_; }

  // The shortcut step: OnShortCut, then the form's menu bar, then its action lists in creation
  // order; true when one of them took the chord. (Popup menus of the focused control and its
  // parents come before the form.)
  virtual bool IsShortCut(TWMKey& message);
  // Updates the actions of the form's lists and of its visible controls (idle time).
  virtual void UpdateActions();
  TShortCutEvent OnShortCut;

  TNotifyEvent OnCreate;
  TNotifyEvent OnDestroy;
  TNotifyEvent OnShow;
  TNotifyEvent OnHide;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void Dispatch(void* message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  bool KeyDown(WORD& key, TShiftState shift) override;
  // What ShowModal tells a test's script about the form (kind, texts); the base says nothing
  // beyond class and caption.
  virtual void DescribeModal(platform::win::ModalInfo& /*info*/) {}

 private:
  void PlaceOnFirstShow();
  void SetWindowFocus();
  TFormBorderStyle borderStyle_ = bsSizeable;
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  bool active_ = false;
  bool placed_ = false;
  bool modal_ = false;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
};

// Layouts of forms by class name, read when a form of that class is made: a registered text,
// else the RCDATA resource named after the class (layouts compiled in from resources/forms).
void RegisterFormLayout(const AnsiString& className, std::string layoutText);
const std::string* FindFormLayout(const AnsiString& className);
// The form a control sits on, or null.
TCustomForm* GetParentForm(TControl* control);
