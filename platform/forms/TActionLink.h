// TActionLink: the link of a client to a TCustomAction. The action calls the Set* members
// before it stores a new value; a client's link applies the value only where the client still
// shows what the action showed (Is*Linked compares the two). The base class links everything
// to a TCustomAction and applies nothing; the client classes' links do the applying.
#pragma once

#include "platform/forms/ShortCuts.h"
#include "platform/forms/TBasicAction.h"

class TActionLink : public TBasicActionLink {
 public:
  using inherited = TBasicActionLink;
  explicit TActionLink(TObject* client) : TBasicActionLink(client) {}

  virtual bool IsCaptionLinked();
  virtual bool IsCheckedLinked();
  virtual bool IsEnabledLinked();
  virtual bool IsHintLinked();
  virtual bool IsShortCutLinked();
  virtual bool IsVisibleLinked();
  virtual void SetCaption(const AnsiString& /*value*/) {}
  virtual void SetChecked(bool /*value*/) {}
  virtual void SetEnabled(bool /*value*/) {}
  virtual void SetHint(const AnsiString& /*value*/) {}
  virtual void SetShortCut(TShortCut /*value*/) {}
  virtual void SetVisible(bool /*value*/) {}

 protected:
  // Linked at all: the action is a TCustomAction.
  bool LinkedToCustomAction() const;
};
