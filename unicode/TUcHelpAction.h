// The wide-aware help actions (executing one raises, as the form library's do).
#pragma once

#include "platform/forms/THelpAction.h"
#include "unicode/UcStdActns.h"

class TUcHelpAction : public TUcStdActionOf<THelpAction> {
 public:
  explicit TUcHelpAction(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcHelpContents : public TUcStdActionOf<THelpContents> {
 public:
  explicit TUcHelpContents(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcHelpTopicSearch : public TUcStdActionOf<THelpTopicSearch> {
 public:
  explicit TUcHelpTopicSearch(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcHelpOnHelp : public TUcStdActionOf<THelpOnHelp> {
 public:
  explicit TUcHelpOnHelp(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcHelpContextAction : public TUcStdActionOf<THelpContextAction> {
 public:
  explicit TUcHelpContextAction(TComponent* owner) : TUcStdActionOf(owner) {}
};
