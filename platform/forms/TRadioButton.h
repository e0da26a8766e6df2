// TRadioButton: checking one unchecks the other radio buttons of the same parent (a group box
// or panel makes a group); the control keeps the check itself (a plain radio window), and
// OnClick fires when it becomes checked, by the user or by code. The Unicode radio button and
// the radio group's buttons derive from it.
#pragma once

#include "platform/forms/TButtonControl.h"

class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);

  void Dispatch(void* message) override;

 protected:
  bool GetChecked() const override { return checked_; }
  void SetChecked(bool value) override;
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
};
