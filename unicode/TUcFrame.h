// The form library's frame with a UTF-16 window and hint.
#pragma once

#include "platform/forms/TCustomFrame.h"
#include "unicode/TUcControlMembers.h"

class TUcCustomFrame : public TUcControlMembers<TCustomFrame> {
 public:
  explicit TUcCustomFrame(TComponent* owner) : TUcControlMembers(owner) {}

 protected:
  void CreateWindowHandle(const TCreateParams& params) override {
    CreateUnicodeHandle(this, params, WideString(), false);
  }
};

class TUcFrame : public TUcCustomFrame {
 public:
  explicit TUcFrame(TComponent* owner) : TUcCustomFrame(owner) {}
};
