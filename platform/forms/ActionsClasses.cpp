// The action classes in the registry, so layouts can hold action lists with their actions and
// controls can name their action.
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TCustomAction.h"
#include "platform/forms/TCustomActionList.h"
#include "platform/forms/THintAction.h"

void RegisterStdActnClasses();  // StdActnsClasses.cpp

void RegisterActionClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  // A shortcut is written as its number, as the classic layouts hold it.
  RegisterProperties<TBasicAction>("TBasicAction", "TComponent")
      .Event("OnExecute", &TBasicAction::OnExecute)
      .Event("OnUpdate", &TBasicAction::OnUpdate);
  RegisterProperties<TContainedAction>("TContainedAction", "TBasicAction")
      .Str("Category", &TContainedAction::Category, &TContainedAction::SetCategory);
  RegisterProperties<TCustomAction>("TCustomAction", "TContainedAction")
      .Str("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption)
      .Bool("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked, false)
      .Bool("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled, true)
      .Str("Hint", &TCustomAction::Hint, &TCustomAction::SetHint)
      .Int("ShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut, 0)
      .Bool("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible, true);
  RegisterProperties<TAction>("TAction", "TCustomAction", Factory<TAction>());
  RegisterProperties<THintAction>("THintAction", "TCustomAction", Factory<THintAction>());
  RegisterProperties<TCustomActionList>("TCustomActionList", "TComponent")
      .Event("OnExecute", &TCustomActionList::OnExecute)
      .Event("OnUpdate", &TCustomActionList::OnUpdate);
  RegisterProperties<TActionList>("TActionList", "TCustomActionList", Factory<TActionList>());
  RegisterStdActnClasses();
}
