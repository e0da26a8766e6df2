// The form library's scroll bar with a UTF-16 window and hint.
#pragma once

#include "platform/forms/TScrollBar.h"
#include "unicode/TUcControlMembers.h"

class TUcScrollBar : public TUcControlMembers<TScrollBar> {
 public:
  explicit TUcScrollBar(TComponent* owner) : TUcControlMembers(owner) {}

 protected:
  void CreateWindowHandle(const TCreateParams& params) override {
    CreateUnicodeHandle(this, params, u"SCROLLBAR", false);
  }
};
