// TButtonControl: the base of the push, check and radio buttons over the system "BUTTON"
// class. A press on a button that is not focused focuses it first with clicks held back, so
// focusing alone never clicks; Checked is the check and radio buttons' (a push button has
// none). Buttons fill their background with their Color through the window's colour question.
#pragma once

#include "platform/controls/Controls.h"
#include "platform/forms/ControlTypes.h"
#include "platform/forms/TWinControl.h"

class TButtonControl : public TWinControl {
 public:
  explicit TButtonControl(TComponent* owner);

  bool Checked() const { return GetChecked(); }
  void SetCheckedProp(bool value) { SetChecked(value); }
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool value);

  void WndProc(TMessage& message) override;
  void Dispatch(void* message) override;

 protected:
  friend class TButtonActionLink;
  TActionLinkClass GetActionLinkClass() const override;
  // Also takes the action's Checked (with checkDefaults only while unchecked).
  void ActionChange(TObject* sender, bool checkDefaults) override;
  virtual bool GetChecked() const { return false; }
  virtual void SetChecked(bool /*value*/) {}
  void CreateParams(TCreateParams& params) override;
  bool ClicksDisabled() const { return clicksDisabled_; }
  void SetClicksDisabled(bool value) { clicksDisabled_ = value; }

 private:
  bool clicksDisabled_ = false;
  bool wordWrap_ = false;
};
