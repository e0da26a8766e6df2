#include "unicode/TUcListBox.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "unicode/UcActions.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"
#include "unicode/UcTextWrappers.h"

namespace {
AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }

// The text up to its first zero unit.
WideString CutAtZero(const WideString& s) {
  const int n = int(std::char_traits<char16_t>::length(s.c_str()));
  return n < s.Length() ? s.SubString(1, n) : s;
}
}  // namespace

TUcCustomListBox::TUcCustomListBox(TComponent* owner)
    : TCustomListBox(owner), items_(std::make_unique<TUcListBoxStrings>(this)) {}

TUcCustomListBox::~TUcCustomListBox() {
  Destroying();
  items_.reset();
  savedItems_.reset();
}

void TUcCustomListBox::SetItems(TUcStrings* value) { items_->Assign(value); }
void TUcCustomListBox::SetItems(TStrings* value) { items_->Assign(value); }
WideString TUcCustomListBox::Hint() { return UcControl_GetHint(this); }
void TUcCustomListBox::SetHint(const WideString& text) { UcControl_SetHint(this, text); }

void TUcCustomListBox::AddItem(const WideString& item, TObject* object) {
  items_->AddObject(CutAtZero(item), object);
}

void TUcCustomListBox::CopySelection(TCustomListControl* destination) {
  if (!destination) return;
  if (MultiSelect()) {
    for (int i = 0; i < items_->Count(); ++i)
      if (Selected(i))
        WideListControl_AddItem(destination, CutAtZero(items_->Strings(i)), items_->Objects(i));
  } else if (const int i = ItemIndex(); i != -1) {
    WideListControl_AddItem(destination, CutAtZero(items_->Strings(i)), items_->Objects(i));
  }
}

void TUcCustomListBox::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, u"LISTBOX", false);
}

void TUcCustomListBox::CreateWnd() {
  TCustomListBox::CreateWnd();
  if (!savedItems_) return;
  items_->Assign(savedItems_.get());
  savedItems_.reset();
  SetTopIndex(savedTopIndex_);
  SetItemIndex(savedItemIndex_);
}

void TUcCustomListBox::DestroyWnd() {
  if (HandleAllocated() && !IsVirtual() && items_->Count() > 0 && !(ComponentState() & csDestroying)) {
    savedItems_ = std::make_unique<TUcStringList>();
    savedItems_->Assign(items_.get());
    savedTopIndex_ = TopIndex();
    savedItemIndex_ = ItemIndex();
    AnsiItems()->Clear();
  }
  reportedLength_.clear();
  TCustomListBox::DestroyWnd();
}

bool TUcCustomListBox::VirtualText(int index, WideString& text) {
  if (index < 0 || index >= Count()) return false;
  if (OnDataW) {
    OnDataW(this, index, text);
    return true;
  }
  if (OnData) {
    text = UcWiden(DoGetData(index));
    return true;
  }
  return false;
}

void TUcCustomListBox::AnswerGetTextLength(TMessage& m) {
  const int index = int(m.WParam);
  WideString text;
  if (!VirtualText(index, text)) {
    m.Result = LB_ERR;
    return;
  }
  const int length = Win32PlatformIsUnicode() ? text.Length() : Narrow(text).Length();
  reportedLength_[index] = length;
  m.Result = length;
}

void TUcCustomListBox::AnswerGetText(TMessage& m) {
  const int index = int(m.WParam);
  WideString text;
  const auto reported = reportedLength_.find(index);
  // The caller sized its buffer by the length it was told: without one nothing is safe to write.
  if (m.LParam == 0 || reported == reportedLength_.end() || !VirtualText(index, text)) {
    m.Result = LB_ERR;
    return;
  }
  const size_t room = size_t(reported->second);
  if (Win32PlatformIsUnicode()) {
    const size_t n = std::min(room, size_t(text.Length()));
    auto* out = reinterpret_cast<char16_t*>(m.LParam);
    std::copy_n(text.c_str(), n, out);
    out[n] = 0;
    m.Result = LRESULT(n);
  } else {
    const AnsiString narrow = Narrow(text);
    const size_t n = std::min(room, size_t(narrow.Length()));
    auto* out = reinterpret_cast<char*>(m.LParam);
    std::memcpy(out, narrow.c_str(), n);
    out[n] = 0;
    m.Result = LRESULT(n);
  }
}

void TUcCustomListBox::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (IsVirtual()) {
    if (m.Msg == LB_GETTEXT) {
      AnswerGetText(m);
      return;
    }
    if (m.Msg == LB_GETTEXTLEN) {
      AnswerGetTextLength(m);
      return;
    }
  }
  TCustomListBox::Dispatch(message);
}

void TUcCustomListBox::DrawItem(int index, const RECT& rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  Canvas()->FillRect(rect);
  if (index < 0 || index >= Count()) return;
  WideString text;
  if (IsVirtual()) {
    if (!VirtualText(index, text)) return;
  } else {
    text = items_->Strings(index);
  }
  RECT r = rect;
  UINT flags = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
  if (UseRightToLeftReading()) {
    flags |= DT_RIGHT | DT_RTLREADING;
    r.right -= 2;
  } else {
    r.left += 2;
  }
  const HDC dc = Canvas()->Handle();
  SetBkMode(dc, TRANSPARENT);
  Uc_DrawTextW(dc, text.c_str(), text.Length(), &r, flags);
}

TActionLinkClass TUcCustomListBox::GetActionLinkClass() const {
  return UcControl_GetActionLinkClass(const_cast<TUcCustomListBox*>(this),
                                      TCustomListBox::GetActionLinkClass());
}

void TUcCustomListBox::ActionChange(TObject* sender, bool checkDefaults) {
  UcControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
  TCustomListBox::ActionChange(sender, checkDefaults);
}
