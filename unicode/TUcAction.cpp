#include "unicode/TUcAction.h"

#include "platform/forms/THintAction.h"
#include "unicode/UcActions.h"

template <class A>
WideString TUcActionOf<A>::Caption() {
  return UcAction_GetCaption(this);
}
template <class A>
void TUcActionOf<A>::SetCaption(const WideString& value) {
  UcAction_SetCaption(this, value);
}
template <class A>
WideString TUcActionOf<A>::Hint() {
  return UcAction_GetHint(this);
}
template <class A>
void TUcActionOf<A>::SetHint(const WideString& value) {
  UcAction_SetHint(this, value);
}
template <class A>
void TUcActionOf<A>::Assign(TPersistent* source) {
  A::Assign(source);
  UcAction_AfterInherited_Assign(this, source);
}

template class TUcActionOf<TCustomAction>;
template class TUcActionOf<TAction>;
template class TUcActionOf<THintAction>;
