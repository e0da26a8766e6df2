// The items of a Unicode combo box as a wide string list (see TUcListControlStrings).
#pragma once

#include "unicode/TUcListControlStrings.h"

class TUcCustomComboBox;

class TUcComboBoxStrings : public TUcListControlStrings {
 public:
  explicit TUcComboBoxStrings(TUcCustomComboBox* comboBox);
  void Delete(int index) override;
  // Keeps the combo box's text.
  void Clear() override;

 protected:
  // An index outside the items reads as "".
  WideString Get(int index) const override;
  TStrings* AnsiItems() const override;

 private:
  TUcCustomComboBox* comboBox_;
};
