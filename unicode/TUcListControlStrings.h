// The items of a Unicode list or combo box as a wide string list: texts go to and come from the
// window with the wide messages of its kind (a TListMessages) while the window is a UTF-16 one;
// otherwise, and for the count, the objects and the update state, the form library's 8-bit item
// list does the work.
#pragma once

#include "platform/forms/TListControlStrings.h"
#include "unicode/TUcStrings.h"

class TWinControl;

class TUcListControlStrings : public TUcStrings {
 public:
  // The text an item holds.
  using Text = WideString;

  TUcListControlStrings(TWinControl* control, const TListMessages& messages)
      : control_(control), messages_(messages) {}
  // Raise EOutOfResources "Unable to insert a line" when the window refuses the item.
  int Add(const WideString& s) override;
  void Insert(int index, const WideString& s) override;
  int IndexOf(const WideString& s) override;
  using TUcStrings::Add;

 protected:
  int GetCount() const override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void SetUpdateState(bool updating) override;

  // Whether the texts go through a UTF-16 window; a control that can have its window gets it
  // now.
  bool UnicodeWindow() const;
  // The text of an item of the window ("" when the window gives none); false for an index it
  // does not have.
  bool WindowText(int index, WideString& text) const;
  // The text of an item, from the window or the 8-bit items (where an index outside them reads
  // or raises as theirs does); false for an index the window does not have.
  bool ItemText(int index, WideString& text) const;
  // The form library's item list of the control.
  virtual TStrings* AnsiItems() const = 0;

  TWinControl* control_;
  const TListMessages& messages_;
};
