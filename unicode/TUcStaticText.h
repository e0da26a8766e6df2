// The form library's static text with a UTF-16 window, caption and hint. With AutoSize it takes
// the size of its wide caption; Alt with its hotkey focuses its FocusControl.
#pragma once

#include "platform/forms/TStaticText.h"
#include "unicode/TUcControlMembers.h"

class TUcCustomStaticText : public TUcCaptionedMembers<TCustomStaticText> {
 public:
  explicit TUcCustomStaticText(TComponent* owner) : TUcCaptionedMembers(owner) {}
  void SetCaption(const WideString& text);
  void Dispatch(void* message) override;

 protected:
  void CreateWindowHandle(const TCreateParams& params) override;
  void AdjustBounds() override;
};

class TUcStaticText : public TUcCustomStaticText {
 public:
  explicit TUcStaticText(TComponent* owner) : TUcCustomStaticText(owner) {}
};
