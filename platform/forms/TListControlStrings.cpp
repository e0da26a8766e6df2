#include "platform/forms/TListControlStrings.h"

#include <algorithm>

#include "platform/controls/Controls.h"
#include "platform/forms/StringsProperty.h"
#include "platform/forms/TWinControl.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/StringRoutines.h"

const TListMessages kListBoxMessages{LB_GETCOUNT,        LB_GETTEXTLEN,   LB_GETTEXT,
                                     LB_ADDSTRING,       LB_INSERTSTRING, LB_DELETESTRING,
                                     LB_FINDSTRINGEXACT, LB_GETITEMDATA,  LB_SETITEMDATA};
const TListMessages kComboBoxMessages{CB_GETCOUNT,        CB_GETLBTEXTLEN, CB_GETLBTEXT,
                                      CB_ADDSTRING,       CB_INSERTSTRING, CB_DELETESTRING,
                                      CB_FINDSTRINGEXACT, CB_GETITEMDATA,  CB_SETITEMDATA};

namespace {
[[noreturn]] void InsertError() { throw EOutOfResources("Unable to insert a line"); }
}  // namespace

int TListControlStrings::GetCount() const {
  if (control_->HandleAllocated())
    return static_cast<int>(SendMessageA(control_->Handle(), messages_.GetCount, 0, 0));
  return stored_.Count();
}

bool TListControlStrings::ItemText(int index, AnsiString& text) const {
  if (!control_->HandleAllocated()) {
    if (index < 0 || index >= stored_.Count()) return false;
    text = stored_.Strings(index);
    return true;
  }
  HWND h = control_->Handle();
  const LRESULT length = SendMessageA(h, messages_.GetTextLen, static_cast<WPARAM>(index), 0);
  if (length < 0 || index < 0) return false;
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got =
      SendMessageA(h, messages_.GetText, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, length)));
  text = AnsiString(std::move(buffer));
  return true;
}

LPARAM TListControlStrings::GetItemData(int index) const {
  if (control_->HandleAllocated())
    return SendMessageA(control_->Handle(), messages_.GetItemData, static_cast<WPARAM>(index), 0);
  if (index < 0 || index >= stored_.Count()) return LB_ERR;
  return reinterpret_cast<LPARAM>(stored_.Objects(index));
}

void TListControlStrings::SetItemData(int index, LPARAM data) {
  if (control_->HandleAllocated()) {
    SendMessageA(control_->Handle(), messages_.SetItemData, static_cast<WPARAM>(index), data);
    return;
  }
  if (index >= 0 && index < stored_.Count()) stored_.SetObjects(index, reinterpret_cast<TObject*>(data));
}

std::vector<int> TListControlStrings::RestoreStoredItems() {
  HWND h = control_->Handle();
  std::vector<int> placed(static_cast<std::size_t>(stored_.Count()), -1);
  for (int i = 0; i < stored_.Count(); ++i) {
    const AnsiString text = stored_.Strings(i);
    const LRESULT at = Sorted()
                           ? SendMessageA(h, messages_.AddString, 0, reinterpret_cast<LPARAM>(text.c_str()))
                           : SendMessageA(h, messages_.InsertString, static_cast<WPARAM>(-1),
                                          reinterpret_cast<LPARAM>(text.c_str()));
    if (at < 0) continue;
    SendMessageA(h, messages_.SetItemData, static_cast<WPARAM>(at),
                 reinterpret_cast<LPARAM>(stored_.Objects(i)));
    // Items placed before earlier ones move those down by one.
    for (int& p : placed)
      if (p >= at) ++p;
    placed[static_cast<std::size_t>(i)] = static_cast<int>(at);
  }
  stored_.Clear();
  return placed;
}

void TListControlStrings::StoreWindowItems() {
  TStringList kept;
  for (int i = 0, count = GetCount(); i < count; ++i) kept.AddObject(Get(i), GetObject(i));
  stored_.Assign(&kept);
}

int TListControlStrings::Add(const AnsiString& s) {
  if (control_->HandleAllocated()) {
    const LRESULT at =
        SendMessageA(control_->Handle(), messages_.AddString, 0, reinterpret_cast<LPARAM>(s.c_str()));
    if (at < 0) InsertError();
    return static_cast<int>(at);
  }
  int at = stored_.Count();
  if (Sorted()) {
    // After the items that compare equal, as the window sorts.
    at = 0;
    while (at < stored_.Count() && AnsiCompareText(stored_.Strings(at), s) <= 0) ++at;
  }
  stored_.Insert(at, s);
  if (int& saved = SavedItemIndex(); saved >= at) ++saved;
  return at;
}

void TListControlStrings::Insert(int index, const AnsiString& s) {
  if (control_->HandleAllocated()) {
    const LRESULT at = SendMessageA(control_->Handle(), messages_.InsertString, static_cast<WPARAM>(index),
                                    reinterpret_cast<LPARAM>(s.c_str()));
    if (at < 0) InsertError();
    return;
  }
  if (index == -1) index = stored_.Count();
  if (index < 0 || index > stored_.Count()) InsertError();
  stored_.Insert(index, s);
  if (int& saved = SavedItemIndex(); saved >= index) ++saved;
}

bool TListControlStrings::DeleteItem(int index) {
  if (control_->HandleAllocated()) {
    SendMessageA(control_->Handle(), messages_.DeleteString, static_cast<WPARAM>(index), 0);
    return false;
  }
  if (index < 0 || index >= stored_.Count()) return false;
  stored_.Delete(index);
  int& saved = SavedItemIndex();
  if (saved == index) saved = -1;
  if (saved > index) --saved;
  return true;
}

int TListControlStrings::IndexOf(const AnsiString& s) {
  if (control_->HandleAllocated())
    return static_cast<int>(SendMessageA(control_->Handle(), messages_.FindStringExact,
                                         static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(s.c_str())));
  for (int i = 0; i < stored_.Count(); ++i)
    if (AnsiCompareText(stored_.Strings(i), s) == 0) return i;
  return -1;
}

void TListControlStrings::SetUpdateState(bool updating) {
  if (!control_->HandleAllocated()) return;
  SendMessageA(control_->Handle(), WM_SETREDRAW, updating ? 0 : 1, 0);
  if (!updating) control_->Refresh();
}

void TListControlStrings::DefineProperties(TFiler* filer) { DefineStringsProperty(this, filer); }
