#include "platform/forms/TListBoxStrings.h"

#include <algorithm>

#include "platform/forms/StringsProperty.h"
#include "platform/forms/TListBox.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringRoutines.h"

namespace {
[[noreturn]] void IndexError(int index) {
  throw EStringListError("List index out of bounds (%d)", {TVarRec(index)});
}
[[noreturn]] void InsertError() { throw EOutOfResources("Unable to insert a line"); }
}  // namespace

int TListBoxStrings::GetCount() const {
  if (listBox_->IsVirtual()) return listBox_->Count();
  if (listBox_->HandleAllocated())
    return static_cast<int>(SendMessageA(listBox_->Handle(), LB_GETCOUNT, 0, 0));
  return stored_.Count();
}

AnsiString TListBoxStrings::Get(int index) const {
  if (listBox_->IsVirtual()) {
    if (index < 0 || index >= listBox_->Count()) IndexError(index);
    return listBox_->DoGetData(index);
  }
  if (!listBox_->HandleAllocated()) {
    if (index < 0 || index >= stored_.Count()) IndexError(index);
    return stored_.Strings(index);
  }
  HWND h = listBox_->Handle();
  const LRESULT length = SendMessageA(h, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || index < 0) IndexError(index);
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT got =
      SendMessageA(h, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, length)));
  return AnsiString(std::move(buffer));
}

TObject* TListBoxStrings::GetObject(int index) const {
  if (listBox_->IsVirtual()) return nullptr;
  if (index < 0 || index >= GetCount()) IndexError(index);
  return reinterpret_cast<TObject*>(listBox_->InternalGetItemData(index));
}

void TListBoxStrings::PutObject(int index, TObject* object) {
  if (listBox_->IsVirtual()) return;
  if (index < 0 || index >= GetCount()) IndexError(index);
  listBox_->InternalSetItemData(index, reinterpret_cast<LPARAM>(object));
}

int TListBoxStrings::Add(const AnsiString& s) {
  if (listBox_->IsVirtual()) return -1;
  if (listBox_->HandleAllocated()) {
    const LRESULT at = SendMessageA(listBox_->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
    if (at < 0) InsertError();
    return static_cast<int>(at);
  }
  int at = stored_.Count();
  if (listBox_->Sorted()) {
    // After the items that compare equal, as the window sorts.
    at = 0;
    while (at < stored_.Count() && AnsiCompareText(stored_.Strings(at), s) <= 0) ++at;
  }
  stored_.Insert(at, s);
  if (listBox_->savedItemIndex_ >= at) ++listBox_->savedItemIndex_;
  return at;
}

void TListBoxStrings::Insert(int index, const AnsiString& s) {
  if (listBox_->IsVirtual()) return;
  if (listBox_->HandleAllocated()) {
    const LRESULT at = SendMessageA(listBox_->Handle(), LB_INSERTSTRING, static_cast<WPARAM>(index),
                                    reinterpret_cast<LPARAM>(s.c_str()));
    if (at < 0) InsertError();
    return;
  }
  if (index == -1) index = stored_.Count();
  if (index < 0 || index > stored_.Count()) InsertError();
  stored_.Insert(index, s);
  if (listBox_->savedItemIndex_ >= index) ++listBox_->savedItemIndex_;
}

void TListBoxStrings::Put(int index, const AnsiString& s) {
  if (listBox_->IsVirtual()) return;
  // The item's data and the selection stay with it.
  const int selected = listBox_->ItemIndex();
  const LPARAM data = listBox_->InternalGetItemData(index);
  listBox_->InternalSetItemData(index, 0);
  Delete(index);
  InsertObject(index, s, nullptr);
  listBox_->InternalSetItemData(index, data);
  listBox_->SetItemIndex(selected);
}

void TListBoxStrings::Delete(int index) { listBox_->DeleteString(index); }

void TListBoxStrings::Clear() { listBox_->ResetContent(); }

int TListBoxStrings::IndexOf(const AnsiString& s) {
  if (listBox_->IsVirtual()) return -1;
  if (listBox_->HandleAllocated())
    return static_cast<int>(SendMessageA(listBox_->Handle(), LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                         reinterpret_cast<LPARAM>(s.c_str())));
  for (int i = 0; i < stored_.Count(); ++i)
    if (AnsiCompareText(stored_.Strings(i), s) == 0) return i;
  return -1;
}

void TListBoxStrings::SetUpdateState(bool updating) {
  if (!listBox_->HandleAllocated()) return;
  SendMessageA(listBox_->Handle(), WM_SETREDRAW, updating ? 0 : 1, 0);
  if (!updating) listBox_->Refresh();
}

void TListBoxStrings::DefineProperties(TFiler* filer) { DefineStringsProperty(this, filer); }
