// TWindowAction and the window actions over the program's top-level forms (there are no
// frame windows holding child forms here): close the form, cascade or tile the shown forms over
// the screen's work area, minimize them all, and arrange the minimized ones.
#pragma once

#include <vector>

#include "platform/forms/TCustomAction.h"
#include "platform/forms/TForm.h"

class TWindowAction : public TAction {
 public:
  explicit TWindowAction(TComponent* owner) : TAction(owner) {}

  // The one form the action works on; null: whichever top-level form is offered it.
  TCustomForm* Form() const { return form_; }
  void SetForm(TCustomForm* value);

  // A top-level form (Form itself when one is named).
  bool HandlesTarget(TObject* target) override;
  // Enabled while a form is shown on the screen.
  void UpdateTarget(TObject* target) override;

 protected:
  TCustomForm* GetForm(TObject* target) const;
  // The shown top-level forms, in the screen's order.
  static std::vector<TCustomForm*> ShownForms();
  void Notification(TComponent* component, TOperation operation) override;

 private:
  TCustomForm* form_ = nullptr;
};

class TWindowClose : public TWindowAction {
 public:
  explicit TWindowClose(TComponent* owner) : TWindowAction(owner) {}
  void ExecuteTarget(TObject* target) override;
};

// Each shown form one caption's height lower and further right than the one before.
class TWindowCascade : public TWindowAction {
 public:
  explicit TWindowCascade(TComponent* owner) : TWindowAction(owner) {}
  void ExecuteTarget(TObject* target) override;
};

// The shown forms one above the other, each the work area's width.
class TWindowTileHorizontal : public TWindowAction {
 public:
  explicit TWindowTileHorizontal(TComponent* owner) : TWindowAction(owner) {}
  void ExecuteTarget(TObject* target) override;
};

// The shown forms side by side, each the work area's height.
class TWindowTileVertical : public TWindowAction {
 public:
  explicit TWindowTileVertical(TComponent* owner) : TWindowAction(owner) {}
  void ExecuteTarget(TObject* target) override;
};

class TWindowMinimizeAll : public TWindowAction {
 public:
  explicit TWindowMinimizeAll(TComponent* owner) : TWindowAction(owner) {}
  void ExecuteTarget(TObject* target) override;
};

// Lines up minimized forms; enabled only while one of the program's windows is iconic.
class TWindowArrange : public TWindowAction {
 public:
  explicit TWindowArrange(TComponent* owner) : TWindowAction(owner) {}
  void UpdateTarget(TObject* target) override;
  void ExecuteTarget(TObject* target) override;
};
