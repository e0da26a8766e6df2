// The form library's control bar with a UTF-16 window and hint.
#pragma once

#include "platform/forms/TCustomControlBar.h"
#include "unicode/TUcControlMembers.h"

class TUcCustomControlBar : public TUcControlMembers<TCustomControlBar> {
 public:
  explicit TUcCustomControlBar(TComponent* owner) : TUcControlMembers(owner) {}

 protected:
  void CreateWindowHandle(const TCreateParams& params) override {
    CreateUnicodeHandle(this, params, WideString(), false);
  }
};

class TUcControlBar : public TUcCustomControlBar {
 public:
  explicit TUcControlBar(TComponent* owner) : TUcCustomControlBar(owner) {}
};
