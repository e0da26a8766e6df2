// The form library's panel with a UTF-16 window, caption and hint; the caption is drawn with the
// wide text call.
#pragma once

#include "platform/forms/TCustomPanel.h"
#include "unicode/TUcControlMembers.h"

class TUcCustomPanel : public TUcCaptionedMembers<TCustomPanel> {
 public:
  explicit TUcCustomPanel(TComponent* owner) : TUcCaptionedMembers(owner) {}

 protected:
  void CreateWindowHandle(const TCreateParams& params) override {
    CreateUnicodeHandle(this, params, WideString(), false);
  }
  void Paint() override;
};

class TUcPanel : public TUcCustomPanel {
 public:
  explicit TUcPanel(TComponent* owner) : TUcCustomPanel(owner) {}
};
