// TCustomCheckBox and TCheckBox: a check box with a third, greyed state when AllowGrayed. The
// control keeps the state itself (a plain three-state window) so that every change, by the
// user or by code, fires OnClick once; a click cycles unchecked, (greyed,) checked. The
// Unicode check box derives from TCustomCheckBox.
#pragma once

#include "platform/forms/TButtonControl.h"

enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };

class TCustomCheckBox : public TButtonControl {
 public:
  explicit TCustomCheckBox(TComponent* owner);

  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState value);
  bool AllowGrayed() const { return allowGrayed_; }
  void SetAllowGrayed(bool value) { allowGrayed_ = value; }
  // taRightJustify: the text right of the box; taLeftJustify: left of it.
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  // The next state of a click.
  virtual void Toggle();

  void Dispatch(void* message) override;

 protected:
  bool GetChecked() const override { return state_ == cbChecked; }
  void SetChecked(bool value) override { SetState(value ? cbChecked : cbUnchecked); }
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void Click() override;

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allowGrayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

class TCheckBox : public TCustomCheckBox {
 public:
  explicit TCheckBox(TComponent* owner) : TCustomCheckBox(owner) {}
};
