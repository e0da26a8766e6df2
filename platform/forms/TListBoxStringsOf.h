// A list box's items written once for both kinds of text: `Base` (TListControlStrings, or the
// Unicode layer's TUcListControlStrings) serving one `ListBox`. Delete and Clear go to the list
// box, and Put replaces an item's text while its object and the selection stay with it.
#pragma once

#include "platform/forms/TListControlStrings.h"

template <class Base, class ListBox>
class TListBoxStringsOf : public Base {
 public:
  explicit TListBoxStringsOf(ListBox* listBox) : Base(listBox, kListBoxMessages), listBox_(listBox) {}

  void Delete(int index) override { listBox_->DeleteString(index); }
  void Clear() override { listBox_->ResetContent(); }

 protected:
  void Put(int index, const typename Base::Text& s) override {
    const int selected = listBox_->ItemIndex();
    const LPARAM data = listBox_->InternalGetItemData(index);
    listBox_->InternalSetItemData(index, 0);
    Delete(index);
    this->InsertObject(index, s, nullptr);
    listBox_->InternalSetItemData(index, data);
    listBox_->SetItemIndex(selected);
  }

  ListBox* listBox_;
};
