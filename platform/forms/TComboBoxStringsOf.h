// A combo box's items written once for both kinds of text: `Base` (TListControlStrings, or the
// Unicode layer's TUcListControlStrings) serving one `ComboBox`. An index outside the items reads
// as "", the window's answer.
#pragma once

#include "platform/forms/TListControlStrings.h"

template <class Base, class ComboBox>
class TComboBoxStringsOf : public Base {
 public:
  explicit TComboBoxStringsOf(ComboBox* comboBox) : Base(comboBox, kComboBoxMessages), comboBox_(comboBox) {}

 protected:
  typename Base::Text Get(int index) const override {
    typename Base::Text text;
    this->ItemText(index, text);
    return text;
  }

  ComboBox* comboBox_;
};
