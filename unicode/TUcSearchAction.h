// The wide-aware search actions over the focused edit or memo.
#pragma once

#include "platform/forms/TSearchAction.h"
#include "unicode/UcStdActns.h"

class TUcSearchAction : public TUcStdActionOf<TSearchAction> {
 public:
  explicit TUcSearchAction(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcSearchFind : public TUcStdActionOf<TSearchFind> {
 public:
  explicit TUcSearchFind(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcSearchReplace : public TUcStdActionOf<TSearchReplace> {
 public:
  explicit TUcSearchReplace(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcSearchFindFirst : public TUcStdActionOf<TSearchFindFirst> {
 public:
  explicit TUcSearchFindFirst(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcSearchFindNext : public TUcStdActionOf<TSearchFindNext> {
 public:
  explicit TUcSearchFindNext(TComponent* owner) : TUcStdActionOf(owner) {}
};
