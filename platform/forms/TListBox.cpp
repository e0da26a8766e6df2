#include "platform/forms/TListBox.h"

#include <algorithm>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringRoutines.h"

TCustomListBox::TCustomListBox(TComponent* owner)
    : TCustomListControl(owner), items_(std::make_unique<TListBoxStrings>(this)) {
  // Clicks come from the window's selection changes, double clicks from its LBN_DBLCLK.
  ControlStyle = csSetCaption;
  SetBounds(0, 0, 121, 97);
  TabStop = true;
}

TCustomListBox::~TCustomListBox() = default;

void TCustomListBox::SetItems(TStrings* value) { items_->Assign(value); }

void TCustomListBox::CreateParams(TCreateParams& p) {
  TCustomListControl::CreateParams(p);
  CreateSubClass(p, "LISTBOX");
  p.Style |= WS_VSCROLL | LBS_NOTIFY;
  switch (style_) {
    case lbStandard:
      p.Style |= LBS_HASSTRINGS;
      break;
    case lbOwnerDrawFixed:
      p.Style |= LBS_OWNERDRAWFIXED | LBS_HASSTRINGS;
      break;
    case lbOwnerDrawVariable:
      p.Style |= LBS_OWNERDRAWVARIABLE | LBS_HASSTRINGS;
      break;
    case lbVirtual:
    case lbVirtualOwnerDraw:
      p.Style |= LBS_NODATA | LBS_OWNERDRAWFIXED;
      break;
  }
  if (sorted_ && !IsVirtual()) p.Style |= LBS_SORT;
  if (multiSelect_) p.Style |= extendedSelect_ ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
  if (!integralHeight_) p.Style |= LBS_NOINTEGRALHEIGHT;
  if (borderStyle_ == bsSingle) p.Style |= WS_BORDER;
  p.WindowClass.style |= CS_DBLCLKS;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomListBox::CreateWnd() {
  TCustomListControl::CreateWnd();
  HWND h = Handle();
  if (style_ != lbStandard && style_ != lbOwnerDrawVariable)
    SendMessageA(h, LB_SETITEMHEIGHT, 0, itemHeight_);
  if (IsVirtual()) {
    SendMessageA(h, LB_SETCOUNT, static_cast<WPARAM>(savedCount_), 0);
  } else {
    // The items that waited for the window go into it, with their objects.
    // A sorted window may place items elsewhere: the selection follows them.
    const std::vector<int> placed = items_->RestoreStoredItems();
    auto moved = [&placed](int index) {
      return index >= 0 && static_cast<std::size_t>(index) < placed.size()
                 ? placed[static_cast<std::size_t>(index)]
                 : -1;
    };
    if (multiSelect_)
      for (std::size_t i = 0; i < savedSelected_.size(); ++i)
        if (savedSelected_[i] && moved(static_cast<int>(i)) >= 0)
          SendMessageA(h, LB_SETSEL, 1, moved(static_cast<int>(i)));
    savedItemIndex_ = moved(savedItemIndex_);
  }
  if (IsVirtual() && multiSelect_)
    for (std::size_t i = 0; i < savedSelected_.size(); ++i)
      if (savedSelected_[i]) SendMessageA(h, LB_SETSEL, 1, static_cast<LPARAM>(i));
  savedSelected_.clear();
  SendMessageA(h, LB_SETTOPINDEX, static_cast<WPARAM>(savedTopIndex_), 0);
  if (savedItemIndex_ >= 0)
    SendMessageA(h, multiSelect_ ? LB_SETCARETINDEX : LB_SETCURSEL, static_cast<WPARAM>(savedItemIndex_), 0);
}

void TCustomListBox::DestroyWnd() {
  if (HandleAllocated()) {
    HWND h = Handle();
    const int count = static_cast<int>(SendMessageA(h, LB_GETCOUNT, 0, 0));
    savedItemIndex_ = ItemIndex();
    savedTopIndex_ = static_cast<int>(SendMessageA(h, LB_GETTOPINDEX, 0, 0));
    savedSelected_.assign(static_cast<std::size_t>(std::max(count, 0)), false);
    if (multiSelect_)
      for (int i = 0; i < count; ++i)
        savedSelected_[static_cast<std::size_t>(i)] = SendMessageA(h, LB_GETSEL, i, 0) > 0;
    if (IsVirtual()) {
      savedCount_ = count;
    } else {
      items_->StoreWindowItems();
    }
  }
  TCustomListControl::DestroyWnd();
}

int TCustomListBox::ItemIndex() {
  if (!HandleAllocated()) return savedItemIndex_;
  return static_cast<int>(SendMessageA(handle_, multiSelect_ ? LB_GETCARETINDEX : LB_GETCURSEL, 0, 0));
}

void TCustomListBox::SetItemIndex(int value) {
  if (!HandleAllocated()) {
    savedItemIndex_ = value >= 0 && value < Count() ? value : -1;
    return;
  }
  if (ItemIndex() == value) return;
  if (multiSelect_)
    SendMessageA(handle_, LB_SETCARETINDEX, static_cast<WPARAM>(value), 0);
  else
    SendMessageA(handle_, LB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

int TCustomListBox::TopIndex() {
  if (!HandleAllocated()) return savedTopIndex_;
  return static_cast<int>(SendMessageA(handle_, LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int value) {
  if (!HandleAllocated()) {
    savedTopIndex_ = std::max(value, 0);
    return;
  }
  if (TopIndex() != value) SendMessageA(handle_, LB_SETTOPINDEX, static_cast<WPARAM>(value), 0);
}

bool TCustomListBox::Selected(int index) {
  if (index < 0 || index >= Count())
    throw EStringListError("List index out of bounds (%d)", {TVarRec(index)});
  if (!multiSelect_) return ItemIndex() == index;
  if (!HandleAllocated())
    return static_cast<std::size_t>(index) < savedSelected_.size() &&
           savedSelected_[static_cast<std::size_t>(index)];
  return SendMessageA(handle_, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void TCustomListBox::SetSelected(int index, bool value) {
  if (index < 0 || index >= Count())
    throw EStringListError("List index out of bounds (%d)", {TVarRec(index)});
  if (!multiSelect_) {
    if (value)
      SetItemIndex(index);
    else if (ItemIndex() == index)
      SetItemIndex(-1);
    return;
  }
  if (!HandleAllocated()) {
    if (savedSelected_.size() <= static_cast<std::size_t>(index))
      savedSelected_.resize(static_cast<std::size_t>(index) + 1);
    savedSelected_[static_cast<std::size_t>(index)] = value;
    return;
  }
  SendMessageA(handle_, LB_SETSEL, value ? 1 : 0, index);
}

int TCustomListBox::SelCount() {
  if (!multiSelect_) return ItemIndex() >= 0 ? 1 : 0;
  if (HandleAllocated()) return static_cast<int>(SendMessageA(handle_, LB_GETSELCOUNT, 0, 0));
  return static_cast<int>(std::count(savedSelected_.begin(), savedSelected_.end(), true));
}

int TCustomListBox::Count() {
  if (!IsVirtual()) return items_->Count();
  if (HandleAllocated()) return static_cast<int>(SendMessageA(handle_, LB_GETCOUNT, 0, 0));
  return savedCount_;
}

void TCustomListBox::SetCount(int value) {
  if (!IsVirtual()) return;
  value = std::max(value, 0);
  if (HandleAllocated())
    SendMessageA(handle_, LB_SETCOUNT, static_cast<WPARAM>(value), 0);
  else
    savedCount_ = value;
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
  if (style_ == value) return;
  style_ = value;
  RecreateWnd();
}

void TCustomListBox::SetSorted(bool value) {
  if (sorted_ == value) return;
  sorted_ = value;
  if (value && !HandleAllocated()) {
    TStringList& stored = items_->stored_;
    TStringList sortedItems;
    for (int i = 0; i < stored.Count(); ++i) {
      int at = 0;
      while (at < sortedItems.Count() && AnsiCompareText(sortedItems.Strings(at), stored.Strings(i)) <= 0)
        ++at;
      sortedItems.InsertObject(at, stored.Strings(i), stored.Objects(i));
    }
    stored.Assign(&sortedItems);
    savedItemIndex_ = -1;
  }
  RecreateWnd();
}

void TCustomListBox::SetMultiSelect(bool value) {
  if (multiSelect_ == value) return;
  multiSelect_ = value;
  RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool value) {
  if (extendedSelect_ == value) return;
  extendedSelect_ = value;
  RecreateWnd();
}

void TCustomListBox::SetIntegralHeight(bool value) {
  if (integralHeight_ == value) return;
  integralHeight_ = value;
  RecreateWnd();
}

int TCustomListBox::ItemHeight() {
  if (HandleAllocated() && style_ == lbStandard)
    return static_cast<int>(SendMessageA(handle_, LB_GETITEMHEIGHT, 0, 0));
  return itemHeight_;
}

void TCustomListBox::SetItemHeight(int value) {
  if (value <= 0 || itemHeight_ == value) return;
  itemHeight_ = value;
  if (style_ != lbStandard) RecreateWnd();
}

void TCustomListBox::SetBorderStyle(TBorderStyle value) {
  if (value != bsNone) value = bsSingle;
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TCustomListBox::AddItem(const AnsiString& item, TObject* object) { items_->AddObject(item, object); }

void TCustomListBox::Clear() { items_->Clear(); }

void TCustomListBox::ClearSelection() {
  if (!multiSelect_) {
    SetItemIndex(-1);
    return;
  }
  for (int i = 0; i < Count(); ++i) SetSelected(i, false);
}

void TCustomListBox::CopySelection(TCustomListControl* destination) {
  if (!destination) return;
  if (multiSelect_) {
    for (int i = 0; i < Count(); ++i)
      if (Selected(i)) destination->AddItem(items_->Strings(i), items_->Objects(i));
  } else if (const int i = ItemIndex(); i >= 0) {
    destination->AddItem(items_->Strings(i), items_->Objects(i));
  }
}

void TCustomListBox::DeleteSelected() {
  if (multiSelect_) {
    for (int i = Count() - 1; i >= 0; --i)
      if (Selected(i)) items_->Delete(i);
  } else if (const int i = ItemIndex(); i >= 0) {
    items_->Delete(i);
  }
}

void TCustomListBox::SelectAll() {
  if (!multiSelect_) return;
  for (int i = 0; i < Count(); ++i) SetSelected(i, true);
}

void TCustomListBox::DeleteString(int index) {
  if (items_->DeleteItem(index) && static_cast<std::size_t>(index) < savedSelected_.size())
    savedSelected_.erase(savedSelected_.begin() + index);
}

void TCustomListBox::ResetContent() {
  if (HandleAllocated()) {
    SendMessageA(handle_, LB_RESETCONTENT, 0, 0);
    return;
  }
  items_->stored_.Clear();
  savedItemIndex_ = -1;
  savedTopIndex_ = 0;
  savedCount_ = 0;
  savedSelected_.clear();
}

LPARAM TCustomListBox::InternalGetItemData(int index) { return items_->GetItemData(index); }

void TCustomListBox::InternalSetItemData(int index, LPARAM data) { items_->SetItemData(index, data); }

AnsiString TCustomListBox::DoGetData(int index) {
  AnsiString data;
  if (OnData) OnData(this, index, data);
  return data;
}

bool TCustomListBox::ItemText(int index, AnsiString& text) {
  if (index >= Count()) return false;
  text = IsVirtual() ? DoGetData(index) : items_->Strings(index);
  return true;
}

void TCustomListBox::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case CN_COMMAND:
      switch (HIWORD(m.WParam)) {
        case LBN_SELCHANGE:
          Changed();
          Click();
          break;
        case LBN_DBLCLK:
          DblClick();
          break;
        default:
          break;
      }
      return;
    case CN_DRAWITEM:
      DrawOwnerItem(m, false);
      return;
    case CN_MEASUREITEM:
      MeasureOwnerItem(m, itemHeight_, style_ == lbOwnerDrawVariable);
      return;
    default:
      if (AnswerColorQuestion(m)) return;
      break;
  }
  TCustomListControl::Dispatch(message);
}
