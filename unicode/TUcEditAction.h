// The wide-aware edit actions. The Delete action is always enabled and, when nothing is
// selected, deletes the character after the caret.
#pragma once

#include "platform/forms/TEditAction.h"
#include "unicode/UcStdActns.h"

class TUcEditAction : public TUcStdActionOf<TEditAction> {
 public:
  explicit TUcEditAction(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcEditCut : public TUcStdActionOf<TEditCut> {
 public:
  explicit TUcEditCut(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcEditCopy : public TUcStdActionOf<TEditCopy> {
 public:
  explicit TUcEditCopy(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcEditPaste : public TUcStdActionOf<TEditPaste> {
 public:
  explicit TUcEditPaste(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcEditSelectAll : public TUcStdActionOf<TEditSelectAll> {
 public:
  explicit TUcEditSelectAll(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcEditUndo : public TUcStdActionOf<TEditUndo> {
 public:
  explicit TUcEditUndo(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcEditDelete : public TUcStdActionOf<TEditDelete> {
 public:
  explicit TUcEditDelete(TComponent* owner) : TUcStdActionOf(owner) {}
  void UpdateTarget(TObject* target) override;
  // With nothing selected, the character after the caret is selected first: a surrogate pair
  // or a line break (CR LF) goes as a whole, never half of it.
  void ExecuteTarget(TObject* target) override;
};
