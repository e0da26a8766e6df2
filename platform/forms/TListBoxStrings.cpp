#include "platform/forms/TListBoxStrings.h"

#include "platform/forms/TListBox.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {
[[noreturn]] void IndexError(int index) {
  throw EStringListError("List index out of bounds (%d)", {TVarRec(index)});
}
}  // namespace

TListBoxStrings::TListBoxStrings(TCustomListBox* listBox) : TListBoxStringsOf(listBox) {}

bool TListBoxStrings::Sorted() const { return listBox_->Sorted(); }

int& TListBoxStrings::SavedItemIndex() const { return listBox_->savedItemIndex_; }

int TListBoxStrings::GetCount() const {
  if (listBox_->IsVirtual()) return listBox_->Count();
  return TListControlStrings::GetCount();
}

AnsiString TListBoxStrings::Get(int index) const {
  if (listBox_->IsVirtual()) {
    if (index < 0 || index >= listBox_->Count()) IndexError(index);
    return listBox_->DoGetData(index);
  }
  AnsiString text;
  if (!ItemText(index, text)) IndexError(index);
  return text;
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
  return TListControlStrings::Add(s);
}

void TListBoxStrings::Insert(int index, const AnsiString& s) {
  if (listBox_->IsVirtual()) return;
  TListControlStrings::Insert(index, s);
}

void TListBoxStrings::Put(int index, const AnsiString& s) {
  if (listBox_->IsVirtual()) return;
  TListBoxStringsOf::Put(index, s);
}

int TListBoxStrings::IndexOf(const AnsiString& s) {
  if (listBox_->IsVirtual()) return -1;
  return TListControlStrings::IndexOf(s);
}
