// TListBoxStrings: a list box's Items, a TStrings over the window's LB_* messages; each item
// carries an object in its item data. While the list box has no window the items wait in a
// list of their own and go into the window when it is made (and back when it goes), so items
// added before the window exists, or kept over RecreateWnd, keep their order, objects and
// selection.
#pragma once

#include "platform/rtl/TStringList.h"

class TCustomListBox;

class TListBoxStrings : public TStrings {
 public:
  explicit TListBoxStrings(TCustomListBox* listBox) : listBox_(listBox) {}

  int Add(const AnsiString& s) override;
  // Raises EOutOfResources "Unable to insert a line" when the window refuses the item.
  void Insert(int index, const AnsiString& s) override;
  void Delete(int index) override;
  void Clear() override;
  int IndexOf(const AnsiString& s) override;
  void DefineProperties(TFiler* filer) override;

 protected:
  // Raises EStringListError "List index out of bounds (%d)" for an index outside the items.
  AnsiString Get(int index) const override;
  int GetCount() const override;
  TObject* GetObject(int index) const override;
  void Put(int index, const AnsiString& s) override;
  void PutObject(int index, TObject* object) override;
  void SetUpdateState(bool updating) override;

 private:
  friend class TCustomListBox;
  TCustomListBox* listBox_;
  // The items while there is no window.
  TStringList stored_;
};
