#include "platform/forms/TButtonActionLink.h"

#include "platform/forms/TButtonControl.h"
#include "platform/forms/TCustomAction.h"
#include "platform/rtl/ScopeExit.h"

TButtonActionLink::TButtonActionLink(TObject* client)
    : TWinControlActionLink(client), buttonClient_(dynamic_cast<TButtonControl*>(client)) {}

bool TButtonActionLink::IsCheckedLinked() {
  auto* action = dynamic_cast<TCustomAction*>(action_);
  return TWinControlActionLink::IsCheckedLinked() && buttonClient_ && action &&
         buttonClient_->Checked() == action->Checked();
}

void TButtonActionLink::SetChecked(bool value) {
  if (!IsCheckedLinked()) return;
  // The action changed, not the user: the button follows without a click of its own.
  buttonClient_->SetClicksDisabled(true);
  platform::ScopeExit restore([&] { buttonClient_->SetClicksDisabled(false); });
  buttonClient_->SetCheckedProp(value);
}
