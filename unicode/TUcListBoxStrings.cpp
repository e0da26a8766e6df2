#include "unicode/TUcListBoxStrings.h"

#include <string>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "unicode/TUcListBox.h"
#include "unicode/UcControls.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"

namespace {
AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }
}  // namespace

bool TUcListBoxStrings::UnicodeWindow() const {
  // A control that can have its window gets it now, so that items go in as UTF-16 text rather
  // than through the code page; one without a parent keeps them in the 8-bit list meanwhile.
  if (!listBox_->HandleAllocated() && Win32PlatformIsUnicode() && listBox_->Parent() &&
      !(listBox_->ComponentState() & (csLoading | csDestroying)))
    listBox_->HandleNeeded();
  return listBox_->HandleAllocated() && IsWindowUnicode(listBox_->Handle());
}

TStrings* TUcListBoxStrings::AnsiItems() const { return listBox_->AnsiItems(); }

int TUcListBoxStrings::GetCount() const { return AnsiItems()->Count(); }
TObject* TUcListBoxStrings::GetObject(int index) const { return AnsiItems()->Objects(index); }
void TUcListBoxStrings::PutObject(int index, TObject* object) { AnsiItems()->SetObjects(index, object); }

void TUcListBoxStrings::SetUpdateState(bool updating) {
  if (updating)
    AnsiItems()->BeginUpdate();
  else
    AnsiItems()->EndUpdate();
}

WideString TUcListBoxStrings::Get(int index) const {
  if (!UnicodeWindow()) return UcWiden(AnsiItems()->Strings(index));
  const HWND h = listBox_->Handle();
  const LRESULT length = SendMessageW(h, LB_GETTEXTLEN, WPARAM(index), 0);
  if (length < 0) throw EStringListError("List index out of bounds (%d)", {TVarRec(index)});
  std::u16string buffer(size_t(length) + 1, u'\0');
  const LRESULT got = SendMessageW(h, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buffer.data()));
  if (got < 0) return WideString();
  buffer.resize(std::char_traits<char16_t>::length(buffer.c_str()));
  return WideString(std::move(buffer));
}

int TUcListBoxStrings::Add(const WideString& s) {
  if (!UnicodeWindow()) return AnsiItems()->Add(Narrow(s));
  const LRESULT at = SendMessageW(listBox_->Handle(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  if (at < 0) throw EOutOfResources("Unable to insert a line");
  return int(at);
}

void TUcListBoxStrings::Insert(int index, const WideString& s) {
  if (!UnicodeWindow()) {
    AnsiItems()->Insert(index, Narrow(s));
    return;
  }
  const LRESULT at =
      SendMessageW(listBox_->Handle(), LB_INSERTSTRING, WPARAM(index), reinterpret_cast<LPARAM>(s.c_str()));
  if (at < 0) throw EOutOfResources("Unable to insert a line");
}

void TUcListBoxStrings::Delete(int index) { listBox_->DeleteString(index); }
void TUcListBoxStrings::Clear() { listBox_->ResetContent(); }

int TUcListBoxStrings::IndexOf(const WideString& s) {
  if (!UnicodeWindow()) return AnsiItems()->IndexOf(Narrow(s));
  return int(
      SendMessageW(listBox_->Handle(), LB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(s.c_str())));
}

void TUcListBoxStrings::Put(int index, const WideString& s) {
  const int selected = listBox_->ItemIndex();
  const LPARAM data = listBox_->InternalGetItemData(index);
  listBox_->InternalSetItemData(index, 0);
  Delete(index);
  InsertObject(index, s, nullptr);
  listBox_->InternalSetItemData(index, data);
  listBox_->SetItemIndex(selected);
}

void TUcListBoxStrings::Exchange(int index1, int index2) {
  BeginUpdate();
  try {
    const int selected = listBox_->ItemIndex();
    const WideString text1 = Get(index1);
    const LPARAM data1 = listBox_->InternalGetItemData(index1);
    Put(index1, Get(index2));
    listBox_->InternalSetItemData(index1, listBox_->InternalGetItemData(index2));
    Put(index2, text1);
    listBox_->InternalSetItemData(index2, data1);
    if (selected == index1)
      listBox_->SetItemIndex(index2);
    else if (selected == index2)
      listBox_->SetItemIndex(index1);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TUcListBoxStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  BeginUpdate();
  try {
    const WideString text = Get(curIndex);
    const LPARAM data = listBox_->InternalGetItemData(curIndex);
    listBox_->InternalSetItemData(curIndex, 0);
    Delete(curIndex);
    InsertObject(newIndex, text, nullptr);
    listBox_->InternalSetItemData(newIndex, data);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}
