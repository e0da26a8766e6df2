#include "platform/forms/TComboBoxStrings.h"

#include <algorithm>

#include "platform/forms/StringsProperty.h"
#include "platform/forms/TComboBox.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringRoutines.h"

namespace {
[[noreturn]] void InsertError() { throw EOutOfResources("Unable to insert a line"); }
}  // namespace

int TComboBoxStrings::GetCount() const {
  if (comboBox_->HandleAllocated())
    return static_cast<int>(SendMessageA(comboBox_->Handle(), CB_GETCOUNT, 0, 0));
  return stored_.Count();
}

AnsiString TComboBoxStrings::Get(int index) const {
  if (!comboBox_->HandleAllocated())
    return index >= 0 && index < stored_.Count() ? stored_.Strings(index) : AnsiString();
  HWND h = comboBox_->Handle();
  const LRESULT length = SendMessageA(h, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length < 0) return AnsiString();
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got =
      SendMessageA(h, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, length)));
  return AnsiString(std::move(buffer));
}

TObject* TComboBoxStrings::GetObject(int index) const {
  if (!comboBox_->HandleAllocated())
    return index >= 0 && index < stored_.Count() ? stored_.Objects(index) : nullptr;
  const LRESULT data = SendMessageA(comboBox_->Handle(), CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  return data == CB_ERR ? nullptr : reinterpret_cast<TObject*>(data);
}

void TComboBoxStrings::PutObject(int index, TObject* object) {
  if (!comboBox_->HandleAllocated()) {
    if (index >= 0 && index < stored_.Count()) stored_.SetObjects(index, object);
    return;
  }
  SendMessageA(comboBox_->Handle(), CB_SETITEMDATA, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(object));
}

int TComboBoxStrings::Add(const AnsiString& s) {
  if (comboBox_->HandleAllocated()) {
    const LRESULT at =
        SendMessageA(comboBox_->Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    if (at < 0) InsertError();
    return static_cast<int>(at);
  }
  int at = stored_.Count();
  if (comboBox_->Sorted()) {
    at = 0;
    while (at < stored_.Count() && AnsiCompareText(stored_.Strings(at), s) <= 0) ++at;
  }
  stored_.Insert(at, s);
  if (comboBox_->savedItemIndex_ >= at) ++comboBox_->savedItemIndex_;
  return at;
}

void TComboBoxStrings::Insert(int index, const AnsiString& s) {
  if (comboBox_->HandleAllocated()) {
    const LRESULT at = SendMessageA(comboBox_->Handle(), CB_INSERTSTRING, static_cast<WPARAM>(index),
                                    reinterpret_cast<LPARAM>(s.c_str()));
    if (at < 0) InsertError();
    return;
  }
  if (index == -1) index = stored_.Count();
  if (index < 0 || index > stored_.Count()) InsertError();
  stored_.Insert(index, s);
  if (comboBox_->savedItemIndex_ >= index) ++comboBox_->savedItemIndex_;
}

void TComboBoxStrings::Delete(int index) {
  if (comboBox_->HandleAllocated()) {
    SendMessageA(comboBox_->Handle(), CB_DELETESTRING, static_cast<WPARAM>(index), 0);
    return;
  }
  if (index < 0 || index >= stored_.Count()) return;
  stored_.Delete(index);
  int& saved = comboBox_->savedItemIndex_;
  if (saved == index) saved = -1;
  if (saved > index) --saved;
}

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

int TComboBoxStrings::IndexOf(const AnsiString& s) {
  if (comboBox_->HandleAllocated())
    return static_cast<int>(SendMessageA(comboBox_->Handle(), CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(s.c_str())));
  for (int i = 0; i < stored_.Count(); ++i)
    if (AnsiCompareText(stored_.Strings(i), s) == 0) return i;
  return -1;
}

void TComboBoxStrings::SetUpdateState(bool updating) {
  if (!comboBox_->HandleAllocated()) return;
  SendMessageA(comboBox_->Handle(), WM_SETREDRAW, updating ? 0 : 1, 0);
  if (!updating) comboBox_->Refresh();
}

void TComboBoxStrings::DefineProperties(TFiler* filer) { DefineStringsProperty(this, filer); }
