// The action links of the layer's controls and menu items: they copy and compare the wide
// caption and hint of the action with the client's wide text and hint.
#pragma once

#include "platform/forms/TButtonActionLink.h"
#include "platform/forms/TControlActionLink.h"
#include "platform/forms/TMenuActionLink.h"

// The four overrides of a control link, over the base link class B.
template <class B>
class TUcControlActionLinkOf : public B {
 public:
  using inherited = B;
  explicit TUcControlActionLinkOf(TObject* client) : B(client) {}
  bool IsCaptionLinked() override;
  bool IsHintLinked() override;
  void SetCaption(const AnsiString& value) override;
  void SetHint(const AnsiString& value) override;
};

class TUcControlActionLink : public TUcControlActionLinkOf<TControlActionLink> {
 public:
  using inherited = TControlActionLink;
  using TUcControlActionLinkOf::TUcControlActionLinkOf;
};
class TUcWinControlActionLink : public TUcControlActionLinkOf<TWinControlActionLink> {
 public:
  using inherited = TWinControlActionLink;
  using TUcControlActionLinkOf::TUcControlActionLinkOf;
};
class TUcButtonActionLink : public TUcControlActionLinkOf<TButtonActionLink> {
 public:
  using inherited = TButtonActionLink;
  using TUcControlActionLinkOf::TUcControlActionLinkOf;
};

// A menu item stays linked while its caption differs only by hotkey marks or letter case.
class TUcMenuActionLink : public TMenuActionLink {
 public:
  using inherited = TMenuActionLink;
  explicit TUcMenuActionLink(TObject* client) : TMenuActionLink(client) {}
  bool IsCaptionLinked() override;
  bool IsHintLinked() override;
  void SetCaption(const AnsiString& value) override;
  void SetHint(const AnsiString& value) override;
};
