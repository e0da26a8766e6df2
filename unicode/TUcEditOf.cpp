#include "unicode/TUcEditOf.h"

#include "unicode/UcActions.h"
#include "unicode/UcControls.h"
#include "unicode/UcCustomEdit.h"

template <class Base>
WideString TUcEditOf<Base>::Text() {
  return UcControl_GetText(this);
}
template <class Base>
void TUcEditOf<Base>::SetText(const WideString& text) {
  UcControl_SetText(this, text);
}
template <class Base>
WideString TUcEditOf<Base>::Hint() {
  return UcControl_GetHint(this);
}
template <class Base>
void TUcEditOf<Base>::SetHint(const WideString& text) {
  UcControl_SetHint(this, text);
}
template <class Base>
int TUcEditOf<Base>::GetSelStart() {
  return UcCustomEdit_GetSelStart(this);
}
template <class Base>
void TUcEditOf<Base>::SetSelStartW(int value) {
  UcCustomEdit_SetSelStart(this, value);
}
template <class Base>
int TUcEditOf<Base>::GetSelLength() {
  return UcCustomEdit_GetSelLength(this);
}
template <class Base>
void TUcEditOf<Base>::SetSelLengthW(int value) {
  UcCustomEdit_SetSelLength(this, value);
}
template <class Base>
WideString TUcEditOf<Base>::GetSelText() {
  return UcCustomEdit_GetSelText(this);
}
template <class Base>
void TUcEditOf<Base>::SetSelText(const WideString& text) {
  UcCustomEdit_SetSelText(this, text);
}

template <class Base>
void TUcEditOf<Base>::CreateWindowHandle(const TCreateParams& params) {
  UcCustomEdit_CreateWindowHandle(this, params);
}

template <class Base>
TActionLinkClass TUcEditOf<Base>::GetActionLinkClass() const {
  return UcControl_GetActionLinkClass(const_cast<TUcEditOf*>(this), Base::GetActionLinkClass());
}

template <class Base>
void TUcEditOf<Base>::ActionChange(TObject* sender, bool checkDefaults) {
  UcControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
  Base::ActionChange(sender, checkDefaults);
}

template class TUcEditOf<TCustomEdit>;
template class TUcEditOf<TCustomMemo>;
