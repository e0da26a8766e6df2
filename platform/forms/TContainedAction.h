// TContainedAction: an action that sits in an action list. Executing it tries, in order, the
// list's OnExecute, the application's OnActionExecute, its own OnExecute and finally
// CM_ACTIONEXECUTE to the application window (whose hooks see it first); updating it goes the
// same way with OnUpdate and CM_ACTIONUPDATE. In a layout it is written inside its list.
#pragma once

#include "platform/forms/TBasicAction.h"

class TCustomActionList;

class TContainedAction : public TBasicAction {
 public:
  explicit TContainedAction(TComponent* owner);
  ~TContainedAction() override;

  TCustomActionList* ActionList() const { return actionList_; }
  void SetActionList(TCustomActionList* list);
  // Position in the action list, -1 outside one.
  int Index() const;
  const AnsiString& Category() const { return category_; }
  void SetCategory(const AnsiString& value);

  bool Execute() override;
  bool Update() override;

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;

 protected:
  void Change() override;

 private:
  friend class TCustomActionList;
  TCustomActionList* actionList_ = nullptr;
  AnsiString category_;
};
