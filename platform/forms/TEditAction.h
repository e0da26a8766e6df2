// TEditAction and the edit actions: cut, copy, paste, select all, undo and delete on the
// focused edit or memo (or on the one edit named by Control). Each enables itself by what its
// target can do now: a selection to cut, copy or delete, text on the clipboard, something to
// undo or select.
#pragma once

#include "platform/forms/TCustomAction.h"
#include "platform/forms/TEdit.h"

class TEditAction : public TAction {
 public:
  explicit TEditAction(TComponent* owner) : TAction(owner) {}

  // The one edit the action works on; null: whichever edit or memo has the focus.
  TCustomEdit* Control() const { return control_; }
  void SetControl(TCustomEdit* value);

  // A focused edit or memo (Control itself when one is named).
  bool HandlesTarget(TObject* target) override;

 protected:
  // The target as an edit.
  TCustomEdit* GetControl(TObject* target) const;
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCustomEdit* control_ = nullptr;
};

class TEditCut : public TEditAction {
 public:
  explicit TEditCut(TComponent* owner) : TEditAction(owner) {}
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

class TEditCopy : public TEditAction {
 public:
  explicit TEditCopy(TComponent* owner) : TEditAction(owner) {}
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

class TEditPaste : public TEditAction {
 public:
  explicit TEditPaste(TComponent* owner) : TEditAction(owner) {}
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

class TEditSelectAll : public TEditAction {
 public:
  explicit TEditSelectAll(TComponent* owner) : TEditAction(owner) {}
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

class TEditUndo : public TEditAction {
 public:
  explicit TEditUndo(TComponent* owner) : TEditAction(owner) {}
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};

class TEditDelete : public TEditAction {
 public:
  explicit TEditDelete(TComponent* owner) : TEditAction(owner) {}
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};
