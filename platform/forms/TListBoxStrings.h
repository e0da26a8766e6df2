// TListBoxStrings: a list box's Items, over the window's LB_* messages; each item carries an
// object in its item data. Items added before the window exists, or kept over RecreateWnd,
// keep their order, objects and selection. A virtual list box has no items of its own: its
// texts come from OnData and adding does nothing.
#pragma once

#include "platform/forms/TListBoxStringsOf.h"

class TCustomListBox;

class TListBoxStrings : public TListBoxStringsOf<TListControlStrings, TCustomListBox> {
 public:
  explicit TListBoxStrings(TCustomListBox* listBox);

  int Add(const AnsiString& s) override;
  void Insert(int index, const AnsiString& s) override;
  int IndexOf(const AnsiString& s) override;

 protected:
  // Raises EStringListError "List index out of bounds (%d)" for an index outside the items.
  AnsiString Get(int index) const override;
  int GetCount() const override;
  TObject* GetObject(int index) const override;
  // A virtual list box's texts are not its own: Put does nothing.
  void Put(int index, const AnsiString& s) override;
  void PutObject(int index, TObject* object) override;
  bool Sorted() const override;
  int& SavedItemIndex() const override;

 private:
  friend class TCustomListBox;
};
