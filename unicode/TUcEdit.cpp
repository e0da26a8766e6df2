#include "unicode/TUcEdit.h"

#include "unicode/UcActions.h"
#include "unicode/UcControls.h"
#include "unicode/UcCustomEdit.h"

TUcCustomEdit::~TUcCustomEdit() { Destroying(); }

WideString TUcCustomEdit::Text() { return UcControl_GetText(this); }
void TUcCustomEdit::SetText(const WideString& text) { UcControl_SetText(this, text); }
WideString TUcCustomEdit::Hint() { return UcControl_GetHint(this); }
void TUcCustomEdit::SetHint(const WideString& text) { UcControl_SetHint(this, text); }
int TUcCustomEdit::GetSelStart() { return UcCustomEdit_GetSelStart(this); }
void TUcCustomEdit::SetSelStartW(int value) { UcCustomEdit_SetSelStart(this, value); }
int TUcCustomEdit::GetSelLength() { return UcCustomEdit_GetSelLength(this); }
void TUcCustomEdit::SetSelLengthW(int value) { UcCustomEdit_SetSelLength(this, value); }
WideString TUcCustomEdit::GetSelText() { return UcCustomEdit_GetSelText(this); }
void TUcCustomEdit::SetSelText(const WideString& text) { UcCustomEdit_SetSelText(this, text); }
WideChar TUcCustomEdit::PasswordChar() { return UcCustomEdit_GetPasswordChar(this, passwordChar_); }
void TUcCustomEdit::SetPasswordChar(WideChar value) {
  UcCustomEdit_SetPasswordChar(this, passwordChar_, value);
}

void TUcCustomEdit::CreateWindowHandle(const TCreateParams& params) {
  UcCustomEdit_CreateWindowHandle(this, params);
}

void TUcCustomEdit::CreateWnd() {
  TCustomEdit::CreateWnd();
  UcCustomEdit_AfterInherited_CreateWnd(this, PasswordChar());
}

TActionLinkClass TUcCustomEdit::GetActionLinkClass() const {
  return UcControl_GetActionLinkClass(const_cast<TUcCustomEdit*>(this), TCustomEdit::GetActionLinkClass());
}

void TUcCustomEdit::ActionChange(TObject* sender, bool checkDefaults) {
  UcControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
  TCustomEdit::ActionChange(sender, checkDefaults);
}
