// THelpAction and the help actions (contents, topic search, help on help, the focused
// control's help context). They keep their properties for layouts and programs that set them,
// but the platform has no help viewer of this kind: executing one raises EInvalidOperation.
#pragma once

#include "platform/forms/TCustomAction.h"

class THelpAction : public TAction {
 public:
  explicit THelpAction(TComponent* owner) : TAction(owner) {}
  bool HandlesTarget(TObject* /*target*/) override { return true; }
  // Raises EInvalidOperation "Help is not available".
  void ExecuteTarget(TObject* target) override;
};

class THelpContents : public THelpAction {
 public:
  explicit THelpContents(TComponent* owner) : THelpAction(owner) {}
};

class THelpTopicSearch : public THelpAction {
 public:
  explicit THelpTopicSearch(TComponent* owner) : THelpAction(owner) {}
};

class THelpOnHelp : public THelpAction {
 public:
  explicit THelpOnHelp(TComponent* owner) : THelpAction(owner) {}
};

class THelpContextAction : public THelpAction {
 public:
  explicit THelpContextAction(TComponent* owner) : THelpAction(owner) {}
};
