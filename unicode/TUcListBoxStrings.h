// The items of a Unicode list box as a wide string list: texts go to and come from the window
// with the wide LB_ messages while the window is a UTF-16 one; otherwise, and for the count,
// the objects and the update state, the form library's 8-bit item list does the work. Put,
// Exchange and Move keep each item's object and the selection.
#pragma once

#include "unicode/TUcStrings.h"

class TUcCustomListBox;

class TUcListBoxStrings : public TUcStrings {
 public:
  explicit TUcListBoxStrings(TUcCustomListBox* listBox) : listBox_(listBox) {}
  // Raise EOutOfResources "Unable to insert a line" when the window refuses the item.
  int Add(const WideString& s) override;
  void Insert(int index, const WideString& s) override;
  void Delete(int index) override;
  void Clear() override;
  int IndexOf(const WideString& s) override;
  void Exchange(int index1, int index2) override;
  void Move(int curIndex, int newIndex) override;
  using TUcStrings::Add;

 protected:
  // Raises EStringListError "List index out of bounds (%d)" for an index outside the items.
  WideString Get(int index) const override;
  int GetCount() const override;
  TObject* GetObject(int index) const override;
  void Put(int index, const WideString& s) override;
  void PutObject(int index, TObject* object) override;
  void SetUpdateState(bool updating) override;

 private:
  bool UnicodeWindow() const;
  TStrings* AnsiItems() const;
  TUcCustomListBox* listBox_;
};
