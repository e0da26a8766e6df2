// Wide-aware standard actions: the form library's edit, window, help, file, search and dialog
// actions with a UTF-16 caption and hint. Assigning one copies, beside the wide texts, what the
// form library's own copy leaves out: the dialog events, the file to open with, the find action
// a find-next action continues.
#pragma once

#include "platform/forms/TCustomAction.h"
#include "unicode/TUcAction.h"
#include "unicode/UcPersistent.h"

// After the inherited Assign: the wide caption and hint, then the dialog events (both dialog
// actions), FileName (both open-with actions) and SearchFind (both find-next actions).
void UcStdActn_AfterInherited_Assign(TCustomAction* action, TPersistent* source);

// A standard action class A of the form library, made wide.
template <class A>
class TUcStdActionOf : public TUcActionOf<A> {
 public:
  explicit TUcStdActionOf(TComponent* owner) : TUcActionOf<A>(owner) {}
  void Assign(TPersistent* source) override {
    A::Assign(source);
    UcStdActn_AfterInherited_Assign(this, source);
  }

 protected:
  void DefineProperties(TFiler* filer) override {
    A::DefineProperties(filer);
    UcPersistent_AfterInherited_DefineProperties(filer, this);
  }
};
