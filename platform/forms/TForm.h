// TCustomForm and TForm: a top-level window owned by the application's window (or, docked,
// a child of another control). Show, Hide, Close with OnCloseQuery and OnClose, ShowModal with
// ModalResult, OnCreate after construction and Loaded, OnDestroy at the start of destruction,
// activation events, placement by Position when first shown, the stay-on-top style, and the
// colour key (TransparentColor) that leaves key-coloured areas out of the window's shape.
#pragma once

#include <vector>

#include "platform/forms/TControlCanvas.h"
#include "platform/forms/TWMKey.h"
#include "platform/forms/TWinControl.h"

namespace platform::win {
struct ModalInfo;
}

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition {
  poDesigned,
  poDefault,
  poDefaultPosOnly,
  poDefaultSizeOnly,
  poScreenCenter,
  poDesktopCenter,
  poMainFormCenter,
  poOwnerFormCenter
};
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TFormStateFlag : unsigned {
  fsCreating = 1u << 0,
  fsVisible = 1u << 1,
  fsShowing = 1u << 2,
  fsModal = 1u << 3,
  fsCreatedMDIChild = 1u << 4,
  fsActivated = 1u << 5
};
using TFormState = unsigned;
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

class TMainMenu;

class TCustomForm : public TWinControl {
 public:
  explicit TCustomForm(TComponent* owner);
  // CreateNew: an empty form; no layout is read for it.
  TCustomForm(TComponent* owner, int dummy);
  ~TCustomForm() override;

  // Reads the form's layout when one is registered under its class name, runs Loaded and then
  // OnCreate. The application's CreateForm calls it; code that news a form calls it too.
  void AfterConstruction() override;

  TFormBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TFormBorderStyle value);
  TPosition Position = poDesigned;
  TFormStyle FormStyle() const { return formStyle_; }
  void SetFormStyle(TFormStyle value);
  TFormState FormState() const { return formState_; }
  bool KeyPreview = false;
  TModalResult ModalResult = mrNone;
  // Creation order of old layouts: OnCreate from AfterConstruction either way here.
  bool OldCreateOrder = false;

  // A colour key: pixels of TransparentColorValue are left out of the window's shape, so they
  // are neither shown nor clickable.
  bool TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(bool value);
  TColor TransparentColorValue() const { return transparentColorValue_; }
  void SetTransparentColorValue(TColor value);
  // A translucent form: its window is layered with AlphaBlendValue as opacity (top-level forms).
  bool AlphaBlend() const { return alphaBlend_; }
  void SetAlphaBlend(bool value);
  BYTE AlphaBlendValue() const { return alphaBlendValue_; }
  void SetAlphaBlendValue(BYTE value);

  // The form's menu bar. No menu bar is drawn here; the menu knows the form's window, so the
  // menu messages (WM_MENUSELECT) of its items go to the form.
  TMainMenu* Menu() const { return menu_; }
  void SetMenu(TMainMenu* value);

  // Drawing on the form: the paint DC while painting, else a DC of its window.
  TCanvas* Canvas() { return &canvas_; }

  void Show();
  void Close();
  virtual bool CloseQuery();
  // Frees the form once the current message has been handled.
  void Release();
  virtual TModalResult ShowModal();

  // The control that has (or gets, when the form is active) the focus; null: the form's own
  // window. Raises EInvalidOperation "Cannot focus a disabled or invisible control" for a
  // control that cannot take it.
  TWinControl* ActiveControl() const { return activeControl_; }
  void SetActiveControl(TWinControl* control);
  // A compound control whose inner window took the focus stands for it as the active control;
  // the focus stays where it is. Ignored for a control of another form.
  void SetActiveControlInPlace(TWinControl* control);
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
  TNotifyEvent OnActivate;
  TNotifyEvent OnDeactivate;
  TNotifyEvent OnPaint;
  TCloseEvent OnClose;
  TCloseQueryEvent OnCloseQuery;

  void SetParent(TWinControl* parent) override;
  void Dispatch(void* message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void Notification(TComponent* component, TOperation operation) override;
  void PaintWindow(HDC dc) override;
  bool KeyDown(WORD& key, TShiftState shift) override;
  // Reads the form's layout while it is being created (the one registered under its class
  // name, when there is one).
  virtual void ReadFormLayout();
  virtual void DoCreate();
  virtual void DoShow();
  virtual void DoHide();
  virtual void DoClose(TCloseAction& action);
  virtual void Activate();
  virtual void Deactivate();
  virtual void Paint();
  // What ShowModal tells a test's script about the form (kind, texts); the base says nothing
  // beyond class and caption.
  virtual void DescribeModal(platform::win::ModalInfo& /*info*/) {}

 private:
  void PlaceOnFirstShow();
  void CloseModal();
  void SetActive(bool value);
  void UpdateShape();
  void PaintForm(TMessage& message);
  TFormBorderStyle borderStyle_ = bsSizeable;
  TFormStyle formStyle_ = fsNormal;
  TFormState formState_ = 0;
  void SetWindowFocus();
  TWinControl* activeControl_ = nullptr;
  TWinControl* focusedControl_ = nullptr;
  bool active_ = false;
  bool placed_ = false;
  bool createdNew_ = false;
  void UpdateLayered();
  bool alphaBlend_ = false;
  BYTE alphaBlendValue_ = 255;
  TMainMenu* menu_ = nullptr;
  bool transparentColor_ = false;
  TColor transparentColorValue_ = clBlack;
  TControlCanvas canvas_;
};

class TForm : public TCustomForm {
 public:
  explicit TForm(TComponent* owner) : TCustomForm(owner) {}
  TForm(TComponent* owner, int dummy) : TCustomForm(owner, dummy) {}
};

// Layouts of forms by class name, read when a form of that class is made: a registered text,
// else the RCDATA resource named after the class (layouts compiled in from resources/forms).
void RegisterFormLayout(const AnsiString& className, std::string layoutText);
const std::string* FindFormLayout(const AnsiString& className);
// The form a control sits on (the outermost one when forms are docked), or null.
TCustomForm* GetParentForm(TControl* control);

// The windows a modal window disabled, to enable again afterwards.
struct TTaskWindowList {
  std::vector<HWND> windows;
};
// Disables every visible, enabled top-level window of the program except `activeWindow`.
TTaskWindowList* DisableTaskWindows(HWND activeWindow);
// Enables them again (those still there) and frees the list.
void EnableTaskWindows(TTaskWindowList* list);
