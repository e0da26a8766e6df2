// TComboBoxStrings: a combo box's Items, a TStrings over the window's CB_* messages, each
// item with an object in its item data. While the combo box has no window the items wait in a
// list of their own and go into the window when it is made (and back when it goes). Clear
// keeps the text in the combo box's field.
#pragma once

#include "platform/rtl/TStringList.h"

class TCustomComboBox;

class TComboBoxStrings : public TStrings {
 public:
  explicit TComboBoxStrings(TCustomComboBox* comboBox) : comboBox_(comboBox) {}

  // Raise EOutOfResources "Unable to insert a line" when the window refuses the item.
  int Add(const AnsiString& s) override;
  void Insert(int index, const AnsiString& s) override;
  void Delete(int index) override;
  void Clear() override;
  int IndexOf(const AnsiString& s) override;
  void DefineProperties(TFiler* filer) override;

 protected:
  // An index outside the items reads as "" (the window's answer).
  AnsiString Get(int index) const override;
  int GetCount() const override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void SetUpdateState(bool updating) override;

 private:
  friend class TCustomComboBox;
  TCustomComboBox* comboBox_;
  TStringList stored_;
};
