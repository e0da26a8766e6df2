// The form library's check box with a UTF-16 window, caption and hint; Alt with its hotkey in
// any script focuses and toggles it.
#pragma once

#include "platform/forms/TCheckBox.h"
#include "unicode/TUcControlMembers.h"

class TUcCustomCheckBox : public TUcCaptionedMembers<TCustomCheckBox> {
 public:
  explicit TUcCustomCheckBox(TComponent* owner) : TUcCaptionedMembers(owner) {}
  void Dispatch(void* message) override;

 protected:
  void CreateWindowHandle(const TCreateParams& params) override;
};

class TUcCheckBox : public TUcCustomCheckBox {
 public:
  explicit TUcCheckBox(TComponent* owner) : TUcCustomCheckBox(owner) {}
};
