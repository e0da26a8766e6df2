// TMenuActionLink: the link of a menu item to its action. The item shows the action's caption,
// hint, checked and enabled states, shortcut and visibility as long as it still shows the
// action's previous value of each; choosing the item executes the action.
#pragma once

#include "platform/forms/TActionLink.h"

class TMenuItem;

class TMenuActionLink : public TActionLink {
 public:
  using inherited = TActionLink;
  explicit TMenuActionLink(TObject* client);

  TMenuItem* Client() const { return client_; }

  bool IsCaptionLinked() override;
  bool IsCheckedLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsShortCutLinked() override;
  bool IsVisibleLinked() override;
  void SetCaption(const AnsiString& value) override;
  void SetChecked(bool value) override;
  void SetEnabled(bool value) override;
  void SetHint(const AnsiString& value) override;
  void SetShortCut(TShortCut value) override;
  void SetVisible(bool value) override;

 protected:
  TMenuItem* client_;
};
