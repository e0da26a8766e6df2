#include "unicode/UcActionLinks.h"

#include "unicode/TUcMenuItem.h"
#include "unicode/UcActions.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcShortCuts.h"

template <class B>
bool TUcControlActionLinkOf<B>::IsCaptionLinked() {
  return UcActionLink_IsCaptionLinked(B::IsCaptionLinked(), this->Action(), this->Client());
}
template <class B>
bool TUcControlActionLinkOf<B>::IsHintLinked() {
  return UcActionLink_IsHintLinked(B::IsHintLinked(), this->Action(), this->Client());
}
template <class B>
void TUcControlActionLinkOf<B>::SetCaption(const AnsiString& value) {
  UcActionLink_SetCaption(IsCaptionLinked(), this->Action(), this->Client(), value);
}
template <class B>
void TUcControlActionLinkOf<B>::SetHint(const AnsiString& value) {
  UcActionLink_SetHint(IsHintLinked(), this->Action(), this->Client(), value);
}

template class TUcControlActionLinkOf<TControlActionLink>;
template class TUcControlActionLinkOf<TWinControlActionLink>;
template class TUcControlActionLinkOf<TButtonActionLink>;

namespace {
TCustomAction* CustomAction(TBasicAction* action) { return dynamic_cast<TCustomAction*>(action); }
}  // namespace

bool TUcMenuActionLink::IsCaptionLinked() {
  TCustomAction* a = CustomAction(Action());
  // The menu's own test compares the 8-bit captions exactly; the wide one ignores marks and case.
  return TActionLink::IsCaptionLinked() && a &&
         WideSameCaption(UcAction_GetCaption(a), WideGetMenuItemCaption(Client()));
}

bool TUcMenuActionLink::IsHintLinked() {
  TCustomAction* a = CustomAction(Action());
  return TMenuActionLink::IsHintLinked() && a && UcAction_GetHint(a) == WideGetMenuItemHint(Client());
}

void TUcMenuActionLink::SetCaption(const AnsiString& value) {
  TCustomAction* a = CustomAction(Action());
  auto* item = dynamic_cast<TUcMenuItem*>(Client());
  if (!a || !IsCaptionLinked()) return;
  if (item)
    item->SetCaption(UcAction_GetNewCaption(a, UcWiden(value)));
  else
    Client()->SetCaption(value);
}

void TUcMenuActionLink::SetHint(const AnsiString& value) {
  TCustomAction* a = CustomAction(Action());
  auto* item = dynamic_cast<TUcMenuItem*>(Client());
  if (!a || !IsHintLinked()) return;
  if (item)
    item->SetHint(UcAction_GetNewHint(a, UcWiden(value)));
  else
    Client()->SetHint(value);
}
