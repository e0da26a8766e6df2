// TComboBoxStrings: a combo box's Items, over the window's CB_* messages, each item with an
// object in its item data. Clear keeps the text in the combo box's field.
#pragma once

#include "platform/forms/TComboBoxStringsOf.h"

class TCustomComboBox;

class TComboBoxStrings : public TComboBoxStringsOf<TListControlStrings, TCustomComboBox> {
 public:
  explicit TComboBoxStrings(TCustomComboBox* comboBox);

  void Delete(int index) override;
  void Clear() override;

 protected:
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  bool Sorted() const override;
  int& SavedItemIndex() const override;

 private:
  friend class TCustomComboBox;
};
