#include "unicode/TUcListBoxStrings.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/UpdateScope.h"
#include "unicode/TUcListBox.h"

TUcListBoxStrings::TUcListBoxStrings(TUcCustomListBox* listBox) : TListBoxStringsOf(listBox) {}

TStrings* TUcListBoxStrings::AnsiItems() const { return listBox_->AnsiItems(); }

WideString TUcListBoxStrings::Get(int index) const {
  WideString text;
  if (!ItemText(index, text)) throw EStringListError("List index out of bounds (%d)", {TVarRec(index)});
  return text;
}

void TUcListBoxStrings::Exchange(int index1, int index2) {
  const platform::UpdateScope update(*this);
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
}

void TUcListBoxStrings::Move(int curIndex, int newIndex) {
  if (curIndex == newIndex) return;
  const platform::UpdateScope update(*this);
  const WideString text = Get(curIndex);
  const LPARAM data = listBox_->InternalGetItemData(curIndex);
  listBox_->InternalSetItemData(curIndex, 0);
  Delete(curIndex);
  InsertObject(newIndex, text, nullptr);
  listBox_->InternalSetItemData(newIndex, data);
}
