// The items of a Unicode combo box as a wide string list (see TComboBoxStringsOf and
// TUcListControlStrings).
#pragma once

#include "platform/forms/TComboBoxStringsOf.h"
#include "unicode/TUcListControlStrings.h"

class TUcCustomComboBox;

class TUcComboBoxStrings : public TComboBoxStringsOf<TUcListControlStrings, TUcCustomComboBox> {
 public:
  explicit TUcComboBoxStrings(TUcCustomComboBox* comboBox);
  void Delete(int index) override;
  // Keeps the combo box's text.
  void Clear() override;

 protected:
  TStrings* AnsiItems() const override;
};
