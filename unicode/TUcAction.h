// Actions with a UTF-16 caption and hint that reach their Unicode clients exactly.
#pragma once

#include "platform/forms/TCustomAction.h"
#include "platform/rtl/WideString.h"
#include "unicode/TCustomActionHelper.h"
#include "unicode/UcActions.h"

// The wide caption and hint of an action class A of the form library.
template <class A>
class TUcActionOf : public A, public IUcAction {
 public:
  explicit TUcActionOf(TComponent* owner) : A(owner) {}
  // The 8-bit setters stay reachable beside the wide ones.
  using A::SetCaption;
  using A::SetHint;
  WideString Caption();
  void SetCaption(const WideString& value);
  void SetCaption(const char16_t* value) { SetCaption(WideString(value)); }
  WideString Hint();
  void SetHint(const WideString& value);
  void SetHint(const char16_t* value) { SetHint(WideString(value)); }
  // The inherited copy, then the source's wide caption and hint.
  void Assign(TPersistent* source) override;
};

// Defined here so that every action class of the form library can be made wide.
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

class TUcCustomAction : public TUcActionOf<TCustomAction> {
 public:
  explicit TUcCustomAction(TComponent* owner) : TUcActionOf(owner) {}
};

class TUcAction : public TUcActionOf<TAction> {
 public:
  explicit TUcAction(TComponent* owner) : TUcActionOf(owner) {}
};
