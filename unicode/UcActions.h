// Wide captions and hints of actions, and the routines by which the links of the layer's
// controls copy and compare them.
#pragma once

#include "platform/forms/TActionLink.h"
#include "platform/forms/TBasicAction.h"
#include "platform/forms/TControl.h"
#include "platform/forms/TCustomAction.h"
#include "platform/rtl/WideString.h"

bool UcIsWideAction(TBasicAction* action);
WideString UcAction_GetCaption(TCustomAction* action);
void UcAction_SetCaption(TCustomAction* action, const WideString& text);
WideString UcAction_GetNewCaption(TCustomAction* action, const WideString& defaultText);
WideString UcAction_GetHint(TCustomAction* action);
void UcAction_SetHint(TCustomAction* action, const WideString& text);
WideString UcAction_GetNewHint(TCustomAction* action, const WideString& defaultText);
// After the inherited Assign: the wide caption and hint of a source action or control.
void UcAction_AfterInherited_Assign(TCustomAction* action, TPersistent* source);

TActionLinkClass UcControl_GetActionLinkClass(TControl* control, TActionLinkClass inheritedClass);
void UcControl_BeforeInherited_ActionChange(TControl* control, TObject* sender, bool checkDefaults);
bool UcActionLink_IsCaptionLinked(bool inheritedResult, TBasicAction* action, TControl* control);
bool UcActionLink_IsHintLinked(bool inheritedResult, TBasicAction* action, TControl* control);
void UcActionLink_SetCaption(bool linked, TBasicAction* action, TControl* control, const AnsiString& value);
void UcActionLink_SetHint(bool linked, TBasicAction* action, TControl* control, const AnsiString& value);
