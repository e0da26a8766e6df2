// The search actions over the focused edit or memo: find, replace, find first, and find next
// (which goes on with the search of its find action). The platform has no find or replace
// dialog: they keep their properties and events, and executing one raises EInvalidOperation.
#pragma once

#include "platform/forms/TCommonDialogAction.h"
#include "platform/forms/TEdit.h"

class TSearchAction : public TCommonDialogAction {
 public:
  explicit TSearchAction(TComponent* owner) : TCommonDialogAction(owner) {}

  // The focused edit or memo.
  bool HandlesTarget(TObject* target) override;
  // Enabled while the edit has text to search.
  void UpdateTarget(TObject* target) override;
  // Remembers the edit, then shows the dialog (none here: raises EInvalidOperation).
  void ExecuteTarget(TObject* target) override;

  // The edit the last search ran on, or null.
  TCustomEdit* Control() const { return control_; }

 protected:
  const char* DialogKind() const override { return "find"; }
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCustomEdit* control_ = nullptr;
};

class TSearchFind : public TSearchAction {
 public:
  explicit TSearchFind(TComponent* owner) : TSearchAction(owner) {}
};

class TSearchReplace : public TSearchAction {
 public:
  explicit TSearchReplace(TComponent* owner) : TSearchAction(owner) {}

 protected:
  const char* DialogKind() const override { return "replace"; }
};

class TSearchFindFirst : public TSearchFind {
 public:
  explicit TSearchFindFirst(TComponent* owner) : TSearchFind(owner) {}
};

class TSearchFindNext : public TCustomAction {
 public:
  explicit TSearchFindNext(TComponent* owner) : TCustomAction(owner) {}

  // The find action whose search this one continues.
  TSearchFind* SearchFind() const { return searchFind_; }
  void SetSearchFind(TSearchFind* value);

  // A focused edit or memo, once the action has a find action; enabled while the edit has text.
  bool HandlesTarget(TObject* target) override;
  void UpdateTarget(TObject* target) override;
  // The find dialog holds what to find; without one, raises EInvalidOperation.
  void ExecuteTarget(TObject* target) override;

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TSearchFind* searchFind_ = nullptr;
};
