// TCustomForm and TForm: a top-level window owned by the application's window (or, docked,
// a child of another control). Show, Hide, Close with OnCloseQuery and OnClose, ShowModal with
// ModalResult, OnCreate after construction and Loaded, OnDestroy at the start of destruction.
#pragma once

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
  TFormBorderStyle borderStyle_ = bsSizeable;
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
