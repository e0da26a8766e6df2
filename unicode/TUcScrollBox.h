// The form library's scroll box with a UTF-16 window and hint. Size changes that re-enter its
// size handler (a child aligned to a size that changes the box again) stop after 31 levels.
#pragma once

#include "platform/forms/TScrollBox.h"
#include "unicode/TUcControlMembers.h"

class TUcScrollBox : public TUcControlMembers<TScrollBox> {
 public:
  explicit TUcScrollBox(TComponent* owner) : TUcControlMembers(owner) {}
  void Dispatch(void* message) override;

 protected:
  void CreateWindowHandle(const TCreateParams& params) override {
    CreateUnicodeHandle(this, params, WideString(), false);
  }

 private:
  int32_t sizeNesting_ = 0;
};
