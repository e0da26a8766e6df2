// The items of a Unicode list box as a wide string list (see TListBoxStringsOf and
// TUcListControlStrings). Put, Exchange and Move keep each item's object and the selection.
#pragma once

#include "platform/forms/TListBoxStringsOf.h"
#include "unicode/TUcListControlStrings.h"

class TUcCustomListBox;

class TUcListBoxStrings : public TListBoxStringsOf<TUcListControlStrings, TUcCustomListBox> {
 public:
  explicit TUcListBoxStrings(TUcCustomListBox* listBox);
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;

 protected:
  // Raises EStringListError "List index out of bounds (%d)" for an index outside the items.
  WideString Get(int index) const override;
  TStrings* AnsiItems() const override;
};
