// The items of a Unicode list box as a wide string list (see TUcListControlStrings). Put,
// Exchange and Move keep each item's object and the selection.
#pragma once

#include "unicode/TUcListControlStrings.h"

class TUcCustomListBox;

class TUcListBoxStrings : public TUcListControlStrings {
 public:
  explicit TUcListBoxStrings(TUcCustomListBox* listBox);
  void Delete(int index) override;
  void Clear() override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;

 protected:
  // Raises EStringListError "List index out of bounds (%d)" for an index outside the items.
  WideString Get(int index) const override;
  void Put(int index, const WideString& s) override;
  TStrings* AnsiItems() const override;

 private:
  TUcCustomListBox* listBox_;
};
