#include "platform/forms/TComboBoxStrings.h"

#include "platform/forms/TComboBox.h"

TComboBoxStrings::TComboBoxStrings(TCustomComboBox* comboBox) : TComboBoxStringsOf(comboBox) {}

bool TComboBoxStrings::Sorted() const { return comboBox_->Sorted(); }

int& TComboBoxStrings::SavedItemIndex() const { return comboBox_->savedItemIndex_; }

TObject* TComboBoxStrings::GetObject(int index) const {
  const LPARAM data = GetItemData(index);
  return data == CB_ERR ? nullptr : reinterpret_cast<TObject*>(data);
}

void TComboBoxStrings::PutObject(int index, TObject* object) {
  SetItemData(index, reinterpret_cast<LPARAM>(object));
}

void TComboBoxStrings::Delete(int index) { DeleteItem(index); }

void TComboBoxStrings::Clear() {
  if (!comboBox_->HandleAllocated()) {
    stored_.Clear();
    comboBox_->savedItemIndex_ = -1;
    return;
  }
  // The field keeps what it shows.
  const AnsiString text = comboBox_->Text();
  SendMessageA(comboBox_->Handle(), CB_RESETCONTENT, 0, 0);
  if (comboBox_->HasEdit())
    SendMessageA(comboBox_->Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
  comboBox_->Update();
}
