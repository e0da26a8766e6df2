#include "platform/forms/TActionLink.h"

#include "platform/forms/TCustomAction.h"

bool TActionLink::LinkedToCustomAction() const { return dynamic_cast<TCustomAction*>(action_) != nullptr; }

bool TActionLink::IsCaptionLinked() { return LinkedToCustomAction(); }
bool TActionLink::IsCheckedLinked() { return LinkedToCustomAction(); }
bool TActionLink::IsEnabledLinked() { return LinkedToCustomAction(); }
bool TActionLink::IsHintLinked() { return LinkedToCustomAction(); }
bool TActionLink::IsShortCutLinked() { return LinkedToCustomAction(); }
bool TActionLink::IsVisibleLinked() { return LinkedToCustomAction(); }
