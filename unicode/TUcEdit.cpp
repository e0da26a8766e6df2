#include "unicode/TUcEdit.h"

#include "unicode/UcCustomEdit.h"

TUcCustomEdit::~TUcCustomEdit() { Destroying(); }

WideChar TUcCustomEdit::PasswordChar() { return UcCustomEdit_GetPasswordChar(this, passwordChar_); }
void TUcCustomEdit::SetPasswordChar(WideChar value) {
  UcCustomEdit_SetPasswordChar(this, passwordChar_, value);
}

void TUcCustomEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  UcCustomEdit_AfterInherited_CreateWnd(this, PasswordChar());
}
