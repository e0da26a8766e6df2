// The form library's radio button with a UTF-16 window, caption and hint; Alt with its hotkey in
// any script focuses it. The radio group's buttons derive from it.
#pragma once

#include "platform/forms/TRadioButton.h"
#include "unicode/TUcControlMembers.h"

class TUcRadioButton : public TUcCaptionedMembers<TRadioButton> {
 public:
  explicit TUcRadioButton(TComponent* owner) : TUcCaptionedMembers(owner) {}
  void Dispatch(void* message) override;

 protected:
  void CreateWindowHandle(const TCreateParams& params) override;
};
