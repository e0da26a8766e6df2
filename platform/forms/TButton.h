// TButton: a push button. A click (BN_CLICKED from the window, reflected as CN_COMMAND) sets
// the parent form's ModalResult to the button's and fires OnClick, so a button with a
// ModalResult closes a modal form. The default button takes Enter and the cancel button Esc
// when the form offers them (CM_DIALOGKEY); the focused push button is the active one and
// shows the default frame, else the default button does (CM_FOCUSCHANGED). The Unicode button
// derives from it.
#pragma once

#include "platform/forms/TButtonControl.h"

class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* owner);

  bool Default() const { return default_; }
  void SetDefault(bool value);
  bool Cancel() const { return cancel_; }
  void SetCancel(bool value) { cancel_ = value; }
  TModalResult ModalResult() const { return modalResult_; }
  void SetModalResult(TModalResult value) { modalResult_ = value; }
  // Shows or drops the default frame (BM_SETSTYLE).
  virtual void SetButtonStyle(bool isDefault);
  void Click() override;

  void Dispatch(void* message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  // The active button: the focused push button, else the default one.
  void UpdateActive(TWinControl* focused);

 private:
  bool default_ = false;
  bool cancel_ = false;
  bool active_ = false;
  bool showsDefault_ = false;
  TModalResult modalResult_ = mrNone;
};
