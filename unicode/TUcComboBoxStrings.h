// The items of a Unicode combo box as a wide string list: texts go to and come from the window
// with the wide CB_ messages while the window is a UTF-16 one; otherwise, and for the count,
// the objects and the update state, the form library's 8-bit item list does the work.
#pragma once

#include "unicode/TUcStrings.h"

class TUcCustomComboBox;

class TUcComboBoxStrings : public TUcStrings {
 public:
  explicit TUcComboBoxStrings(TUcCustomComboBox* comboBox) : comboBox_(comboBox) {}
  // Raise EOutOfResources "Unable to insert a line" when the window refuses the item.
  int Add(const WideString& s) override;
  void Insert(int index, const WideString& s) override;
  void Delete(int index) override;
  // Keeps the combo box's text.
  void Clear() override;
  int IndexOf(const WideString& s) override;
  using TUcStrings::Add;

 protected:
  // An index outside the items reads as "".
  WideString Get(int index) const override;
  int GetCount() const override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void SetUpdateState(bool updating) override;

 private:
  bool UnicodeWindow() const;
  TStrings* AnsiItems() const;
  TUcCustomComboBox* comboBox_;
};
