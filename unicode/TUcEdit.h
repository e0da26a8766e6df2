// The form library's single-line edit with a UTF-16 window (see TUcEditOf) and a wide password
// character.
#pragma once

#include "platform/forms/TEdit.h"
#include "unicode/TUcEditOf.h"

class TUcCustomEdit : public TUcEditOf<TCustomEdit> {
 public:
  explicit TUcCustomEdit(TComponent* owner) : TUcEditOf(owner) {}
  ~TUcCustomEdit() override;
  WideChar PasswordChar();
  void SetPasswordChar(WideChar value);
  // The 8-bit form stays reachable beside the wide one.
  using TCustomEdit::SetPasswordChar;

 protected:
  void CreateWnd() override;

 private:
  WideChar passwordChar_ = 0;
};

class TUcEdit : public TUcCustomEdit {
 public:
  explicit TUcEdit(TComponent* owner) : TUcCustomEdit(owner) {}
};
