// TControlActionLink and TWinControlActionLink: the links of controls to their action. A
// control shows the action's caption, hint, enabled state and visibility as long as it still
// shows the action's previous value of each; clicking the control executes the action.
#pragma once

#include "platform/forms/TActionLink.h"

class TControl;
class TWinControl;

class TControlActionLink : public TActionLink {
 public:
  using inherited = TActionLink;
  explicit TControlActionLink(TObject* client);

  TControl* Client() const { return client_; }

  bool IsCaptionLinked() override;
  bool IsEnabledLinked() override;
  bool IsHintLinked() override;
  bool IsVisibleLinked() override;
  void SetCaption(const AnsiString& value) override;
  void SetEnabled(bool value) override;
  void SetHint(const AnsiString& value) override;
  void SetVisible(bool value) override;
  // The hint a control of the action shows: the action's OnHint may change it, and unless OnHint
  // says no, the application's HintShortCuts adds the shortcut as " (Ctrl+S)".
  virtual bool DoShowHint(AnsiString& hintStr);

 protected:
  TControl* client_;
};

class TWinControlActionLink : public TControlActionLink {
 public:
  using inherited = TControlActionLink;
  explicit TWinControlActionLink(TObject* client);

  TWinControl* WinClient() const { return winClient_; }

 protected:
  TWinControl* winClient_;
};
