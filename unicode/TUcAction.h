// Actions with a UTF-16 caption and hint that reach their Unicode clients exactly.
#pragma once

#include "platform/forms/TCustomAction.h"
#include "platform/rtl/WideString.h"
#include "unicode/TCustomActionHelper.h"

// The wide caption and hint of an action class A of the form library.
template <class A>
class TUcActionOf : public A, public IUcAction {
 public:
  explicit TUcActionOf(TComponent* owner) : A(owner) {}
  WideString Caption();
  void SetCaption(const WideString& value);
  WideString Hint();
  void SetHint(const WideString& value);
  // The inherited copy, then the source's wide caption and hint.
  void Assign(TPersistent* source) override;
};

class TUcCustomAction : public TUcActionOf<TCustomAction> {
 public:
  explicit TUcCustomAction(TComponent* owner) : TUcActionOf(owner) {}
};

class TUcAction : public TUcActionOf<TAction> {
 public:
  explicit TUcAction(TComponent* owner) : TUcActionOf(owner) {}
};
