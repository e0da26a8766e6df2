// TButtonActionLink: the link of a button control (push, check or radio button) to its action.
// Besides what every control follows, a check or radio button follows the action's Checked,
// without firing its own click for that change. The Unicode buttons' link derives from it.
#pragma once

#include "platform/forms/TControlActionLink.h"

class TButtonControl;

class TButtonActionLink : public TWinControlActionLink {
 public:
  using inherited = TWinControlActionLink;
  explicit TButtonActionLink(TObject* client);

  bool IsCheckedLinked() override;
  void SetChecked(bool value) override;

 protected:
  TButtonControl* buttonClient_;
};
