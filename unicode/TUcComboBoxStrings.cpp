#include "unicode/TUcComboBoxStrings.h"

#include "platform/rtl/Exceptions.h"
#include "unicode/TUcComboBox.h"

TUcComboBoxStrings::TUcComboBoxStrings(TUcCustomComboBox* comboBox) : TComboBoxStringsOf(comboBox) {}

TStrings* TUcComboBoxStrings::AnsiItems() const { return comboBox_->AnsiItems(); }

void TUcComboBoxStrings::Delete(int index) { AnsiItems()->Delete(index); }

void TUcComboBoxStrings::Clear() {
  if (!UnicodeWindow()) {
    AnsiItems()->Clear();
    return;
  }
  const WideString text = comboBox_->Text();
  SendMessageA(comboBox_->Handle(), CB_RESETCONTENT, 0, 0);
  comboBox_->SetText(text);
  comboBox_->Update();
}
