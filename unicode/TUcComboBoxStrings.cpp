#include "unicode/TUcComboBoxStrings.h"

#include "platform/rtl/Exceptions.h"
#include "unicode/TUcComboBox.h"
#include "unicode/UcNarrowText.h"

TUcComboBoxStrings::TUcComboBoxStrings(TUcCustomComboBox* comboBox)
    : TUcListControlStrings(comboBox, kComboBoxMessages), comboBox_(comboBox) {}

TStrings* TUcComboBoxStrings::AnsiItems() const { return comboBox_->AnsiItems(); }

WideString TUcComboBoxStrings::Get(int index) const {
  if (!UnicodeWindow()) return UcWiden(AnsiItems()->Strings(index));
  WideString text;
  WindowText(index, text);
  return text;
}

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
