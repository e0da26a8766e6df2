// The form library's group box with a UTF-16 window, caption and hint; the caption is drawn with
// the wide text call over the frame, and Alt with its hotkey focuses the first child.
#pragma once

#include "platform/forms/TGroupBox.h"
#include "unicode/TUcControlMembers.h"

class TUcCustomGroupBox : public TUcCaptionedMembers<TCustomGroupBox> {
 public:
  explicit TUcCustomGroupBox(TComponent* owner) : TUcCaptionedMembers(owner) {}
  void Dispatch(void* message) override;

 protected:
  void CreateWindowHandle(const TCreateParams& params) override;
  void Paint() override;
};

class TUcGroupBox : public TUcCustomGroupBox {
 public:
  explicit TUcGroupBox(TComponent* owner) : TUcCustomGroupBox(owner) {}
};
