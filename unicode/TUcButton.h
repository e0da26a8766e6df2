// The form library's push button with a UTF-16 window, caption and hint; Alt with its hotkey in
// any script clicks it.
#pragma once

#include "platform/forms/TButton.h"
#include "unicode/TUcControlMembers.h"

class TUcButton : public TUcCaptionedMembers<TButton> {
 public:
  explicit TUcButton(TComponent* owner) : TUcCaptionedMembers(owner) {}
  void Dispatch(void* message) override;

 protected:
  void CreateWindowHandle(const TCreateParams& params) override;
};

// Alt with the button's hotkey: clicks it and answers 1; false when the character is not its.
bool UcButton_CMDialogChar(TButton* button, TMessage& message, const WideString& caption);
