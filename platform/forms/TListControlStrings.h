// TListControlStrings: the items of a list or combo box, a TStrings over the control's window.
// While the control has no window the items wait in a list of their own (kept sorted when the
// control sorts, with the current item following them) and the control moves them into the
// window when it is made and back when it goes; with a window every call asks the window. The
// two controls differ only in the numbers of the same messages, given as a TListMessages.
#pragma once

#include <vector>

#include "platform/rtl/TStringList.h"
#include "platform/win/Win.h"

class TWinControl;

// The window messages one kind of list answers (LB_* or CB_*).
struct TListMessages {
  UINT GetCount;
  UINT GetTextLen;
  UINT GetText;
  UINT AddString;
  UINT InsertString;
  UINT DeleteString;
  UINT FindStringExact;
  UINT GetItemData;
  UINT SetItemData;
};

extern const TListMessages kListBoxMessages;
extern const TListMessages kComboBoxMessages;

class TListControlStrings : public TStrings {
 public:
  // The text an item holds.
  using Text = AnsiString;

  TListControlStrings(TWinControl* control, const TListMessages& messages)
      : control_(control), messages_(messages) {}

  // Raise EOutOfResources "Unable to insert a line" when the window refuses the item.
  int Add(const AnsiString& s) override;
  void Insert(int index, const AnsiString& s) override;
  int IndexOf(const AnsiString& s) override;
  void DefineProperties(TFiler* filer) override;

  // The item's data word (its object), raw: the window's error answer (-1) for an index it
  // does not have, and likewise without a window.
  LPARAM GetItemData(int index) const;
  void SetItemData(int index, LPARAM data);

  // For the control as its window comes and goes: moves the kept items into the new window,
  // each with its object (where the window sorts them when the control sorts), and answers
  // where each one went (-1 where the window refused it); and keeps the window's items before
  // it goes.
  std::vector<int> RestoreStoredItems();
  void StoreWindowItems();

 protected:
  int GetCount() const override;
  // Stops the window redrawing while the items are updated, and repaints it after.
  void SetUpdateState(bool updating) override;

  // The text of an item; false for an index outside the items.
  bool ItemText(int index, AnsiString& text) const;
  // Removes an item; true when it was one of the items kept without a window.
  bool DeleteItem(int index);

  // Whether the control sorts its items, and its current item kept while it has no window.
  virtual bool Sorted() const = 0;
  virtual int& SavedItemIndex() const = 0;

  TWinControl* control_;
  const TListMessages& messages_;
  // The items while there is no window.
  TStringList stored_;
};
