#include "unicode/UcStdActns.h"

#include "platform/forms/TCommonDialogAction.h"
#include "platform/forms/TFileAction.h"
#include "platform/forms/TSearchAction.h"
#include "unicode/UcActions.h"

namespace {

// The handler and the name the layout writer gives it.
void CopyEvent(TComponent* to, TNotifyEvent& toEvent, TComponent* from, const TNotifyEvent& fromEvent,
               const char* name) {
  toEvent = fromEvent;
  to->SetHandlerName(name, from->HandlerName(name));
}

}  // namespace

void UcStdActn_AfterInherited_Assign(TCustomAction* action, TPersistent* source) {
  UcAction_AfterInherited_Assign(action, source);
  auto* dialogAction = dynamic_cast<TCommonDialogAction*>(action);
  if (auto* from = dynamic_cast<TCommonDialogAction*>(source); dialogAction && from) {
    CopyEvent(dialogAction, dialogAction->BeforeExecute, from, from->BeforeExecute, "BeforeExecute");
    CopyEvent(dialogAction, dialogAction->OnAccept, from, from->OnAccept, "OnAccept");
    CopyEvent(dialogAction, dialogAction->OnCancel, from, from->OnCancel, "OnCancel");
  }
  auto* openWith = dynamic_cast<TFileOpenWith*>(action);
  if (auto* from = dynamic_cast<TFileOpenWith*>(source); openWith && from)
    openWith->SetFileName(from->FileName());
  auto* findNext = dynamic_cast<TSearchFindNext*>(action);
  if (auto* from = dynamic_cast<TSearchFindNext*>(source); findNext && from)
    findNext->SetSearchFind(from->SearchFind());
}
