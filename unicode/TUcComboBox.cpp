#include "unicode/TUcComboBox.h"

#include <algorithm>

#include "platform/forms/FormMessages.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TWMKey.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/ScopeExit.h"
#include "unicode/UcActions.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"
#include "unicode/WideCanvasText.h"
#include "unicode/WideException.h"

namespace {

// The pause after which a key in a list-only box starts a new search.
constexpr unsigned kSearchPauseMs = 1250;
// The IME's composition message; the edit child answers it itself.
constexpr UINT kImeComposition = 0x010F;

AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }

bool HasEditStyle(TComboBoxStyle style) { return style == csDropDown || style == csSimple; }

}  // namespace

// ---- finding and completing

int UcCombo_FindString(TUcCustomComboBox* comboBox, const WideString& text, int startIndex) {
  if (auto* own = dynamic_cast<IUcComboFindString*>(comboBox)) return own->FindString(text, startIndex);
  const HWND h = comboBox->Handle();
  if (IsWindowUnicode(h))
    return int(SendMessageW(h, CB_FINDSTRING, WPARAM(startIndex), reinterpret_cast<LPARAM>(text.c_str())));
  const AnsiString narrow = Narrow(text);
  return int(SendMessageA(h, CB_FINDSTRING, WPARAM(startIndex), reinterpret_cast<LPARAM>(narrow.c_str())));
}

int UcCombo_FindUniqueString(TUcCustomComboBox* comboBox, const WideString& text) {
  const int first = UcCombo_FindString(comboBox, text, -1);
  if (first < 0) return -1;
  // The search wraps round: only a single match finds itself again.
  return UcCombo_FindString(comboBox, text, first) == first ? first : -1;
}

bool UcCombo_AutoCompleteSelect(TUcCustomComboBox* comboBox, const WideString& text, bool preserveCase,
                                bool uniqueOnly) {
  const int index =
      uniqueOnly ? UcCombo_FindUniqueString(comboBox, text) : UcCombo_FindString(comboBox, text, -1);
  if (index < 0) return false;
  const WideString item = comboBox->Items()->Strings(index);
  const bool changed =
      comboBox->Style() == csDropDown ? comboBox->Text() != item : index != comboBox->ItemIndex();
  comboBox->SetItemIndex(index);
  if (comboBox->HasEdit()) {
    const WideString completed =
        preserveCase ? text + item.SubString(text.Length() + 1, item.Length()) : item;
    comboBox->SetText(completed);
    comboBox->SetSelStart(text.Length());
    comboBox->SetSelLength(completed.Length() - text.Length());
  }
  if (changed) {
    comboBox->Click();
    comboBox->Select();
  }
  return true;
}

void UcCombo_AutoCompleteKeyPress(TUcCustomComboBox* comboBox, WideChar& key, bool preserveCase,
                                  bool uniqueOnly) {
  if (!HasEditStyle(comboBox->Style()))
    throw EUcInternalError(
        "Internal Error: UcCombo_AutoCompleteKeyPress is only for csSimple and csDropDown style combo "
        "boxes.");
  if (!comboBox->AutoComplete()) return;
  if (key == 8 || key == 27) return;
  if (key == 9) {
    if (comboBox->AutoDropDown() && comboBox->DroppedDown()) comboBox->SetDroppedDown(false);
    return;
  }
  if (comboBox->AutoDropDown() && !comboBox->DroppedDown()) {
    // Dropping the list down must not lose what was typed or where.
    const WideString text = comboBox->Text();
    const int start = comboBox->SelStart(), length = comboBox->SelLength();
    comboBox->SetDroppedDown(true);
    comboBox->SetText(text);
    comboBox->SetSelStart(start);
    comboBox->SetSelLength(length);
  }
  const WideString text = comboBox->Text();
  const int start = comboBox->SelStart();
  // Completing only while typing at the end of the text.
  if (start + comboBox->SelLength() < text.Length()) return;
  if (UcCombo_AutoCompleteSelect(comboBox, text.SubString(1, start) + WideString(key), preserveCase,
                                 uniqueOnly))
    key = 0;
}

void UcCombo_AutoSearchKeyPress(TUcCustomComboBox* comboBox, WideChar& key) {
  if (!comboBox->AutoComplete()) return;
  switch (key) {
    case 8:
      if (!comboBox->searchText_.IsEmpty())
        comboBox->searchText_ = comboBox->searchText_.SubString(1, comboBox->searchText_.Length() - 1);
      return;
    case 27:
      return;
    case 9:
      if (comboBox->AutoDropDown() && comboBox->DroppedDown()) comboBox->SetDroppedDown(false);
      return;
    default:
      break;
  }
  if (comboBox->AutoDropDown() && !comboBox->DroppedDown()) comboBox->SetDroppedDown(true);
  const unsigned now = GetTickCount();
  if (now - comboBox->lastKeyTime_ >= kSearchPauseMs) comboBox->searchText_ = WideString();
  comboBox->lastKeyTime_ = now;
  const WideString search = comboBox->searchText_ + WideString(key);
  if (UcCombo_AutoCompleteSelect(comboBox, search, true, false)) {
    comboBox->searchText_ = search;
    key = 0;
  }
}

// ---- the combo box

TUcCustomComboBox::TUcCustomComboBox(TComponent* owner)
    : TCustomComboBox(owner), items_(std::make_unique<TUcComboBoxStrings>(this)) {}

TUcCustomComboBox::~TUcCustomComboBox() {
  Destroying();
  // The children's stubs call this object's ComboWndProc: the window goes while it is whole.
  if (HandleAllocated()) DestroyWindowHandle();
  items_.reset();
  savedItems_.reset();
}

void TUcCustomComboBox::SetItems(TUcStrings* value) { items_->Assign(value); }
void TUcCustomComboBox::SetItems(TStrings* value) { items_->Assign(value); }
WideString TUcCustomComboBox::Text() { return UcControl_GetText(this); }
void TUcCustomComboBox::SetText(const WideString& text) { UcControl_SetText(this, text); }
WideString TUcCustomComboBox::Hint() { return UcControl_GetHint(this); }
void TUcCustomComboBox::SetHint(const WideString& text) { UcControl_SetHint(this, text); }

int TUcCustomComboBox::SelStart() {
  if (!Win32PlatformIsUnicode()) {
    const AnsiString text = TControl::Text();
    return UcWiden(text.SubString(1, TCustomComboBox::SelStart())).Length();
  }
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return int(start);
}

void TUcCustomComboBox::SetSelStart(int value) {
  if (!Win32PlatformIsUnicode()) {
    TCustomComboBox::SetSelStart(Narrow(Text().SubString(1, value)).Length());
    return;
  }
  SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(value, value));
}

int TUcCustomComboBox::SelLength() {
  if (!Win32PlatformIsUnicode()) return GetSelText().Length();
  DWORD start = 0, end = 0;
  SendMessageW(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return int(end) - int(start);
}

void TUcCustomComboBox::SetSelLength(int value) {
  if (!Win32PlatformIsUnicode()) {
    TCustomComboBox::SetSelLength(Narrow(Text().SubString(SelStart() + 1, value)).Length());
    return;
  }
  const int start = SelStart();
  SendMessageW(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(start, start + value));
}

WideString TUcCustomComboBox::GetSelText() {
  if (!HasEdit()) return WideString();
  if (!Win32PlatformIsUnicode()) return UcWiden(TCustomComboBox::SelText());
  return Text().SubString(SelStart() + 1, SelLength());
}

void TUcCustomComboBox::SetSelText(const WideString& text) {
  if (!HasEdit()) return;
  if (!Win32PlatformIsUnicode()) {
    TCustomComboBox::SetSelText(Narrow(text));
    return;
  }
  HandleNeeded();
  if (editHandle_) SendMessageW(editHandle_, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TUcCustomComboBox::AddItem(const WideString& item, TObject* object) { items_->AddObject(item, object); }

void TUcCustomComboBox::CopySelection(TCustomListControl* destination) {
  if (!destination) return;
  if (const int i = ItemIndex(); i != -1)
    WideListControl_AddItem(destination, items_->Strings(i), items_->Objects(i));
}

void TUcCustomComboBox::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, u"COMBOBOX", false);
}

void TUcCustomComboBox::CreateWnd() {
  const AnsiString ansiText = TControl::Text();
  TCustomComboBox::CreateWnd();
  if (!Win32PlatformIsUnicode()) {
    SetTextProp(ansiText);
    return;
  }
  // The form library subclassed the children with 8-bit procedures: the list child gets its
  // own procedure back, read as a UTF-16 one, under a stub installed the UTF-16 way, and the
  // edit child's stub is installed again the UTF-16 way, so that both stay UTF-16 windows.
  // The box made its children while the form library passed it its creation as 8-bit
  // messages: the list's own procedure is installed again the UTF-16 way too, so that texts
  // reach it without a detour through the code page.
  if (listHandle_) {
    SetWindowLongPtrA(listHandle_, GWL_WNDPROC, static_cast<LONG_PTR>(defListProc_));
    SetWindowLongPtrW(listHandle_, GWL_WNDPROC, GetWindowLongPtrA(listHandle_, GWL_WNDPROC));
    defListProc_ = WNDPROC(GetWindowLongPtrW(listHandle_, GWL_WNDPROC));
    SetWindowLongPtrW(listHandle_, GWL_WNDPROC, static_cast<LONG_PTR>(listInstance_));
  }
  if (editHandle_) SetWindowLongPtrW(editHandle_, GWL_WNDPROC, GetWindowLongPtrA(editHandle_, GWL_WNDPROC));
  if (savedItems_) {
    items_->Assign(savedItems_.get());
    savedItems_.reset();
    if (savedItemIndex_ != -1 && items_->Count() > 0)
      SendMessageW(Handle(), CB_SETCURSEL, WPARAM(std::min(savedItemIndex_, items_->Count() - 1)), 0);
  }
  UcControl_SetText(this, UcControl_GetStoredText(this, UcWiden(ansiText)));
}

void TUcCustomComboBox::DestroyWnd() {
  if ((ControlState & csDestroyingHandle) || (ComponentState() & csDestroying)) {
    TCustomComboBox::DestroyWnd();
    return;
  }
  // The 8-bit platform keeps the items the form library's way.
  const bool keep = Win32PlatformIsUnicode() && HandleAllocated();
  WideString text;
  if (keep) {
    text = Text();
    if (items_->Count() > 0) {
      savedItems_ = std::make_unique<TUcStringList>();
      savedItems_->Assign(items_.get());
      savedItemIndex_ = ItemIndex();
      items_->Clear();
    }
  }
  TCustomComboBox::DestroyWnd();
  if (keep) UcControl_SetStoredText(this, text);
}

void TUcCustomComboBox::ComboWndProc(TMessage& m, HWND child, WNDPROC childProc) {
  try {
    const bool unicodeChild = IsWindowUnicode(child);
    if (m.Msg == WM_CHAR) {
      if (unicodeChild) MakeWMCharMsgSafeForAnsi(m);
      TWMKey key(m);
      if (DoKeyPress(key)) return;
      m.WParam = (m.WParam & ~WPARAM{0xFFFF}) | key.CharCode;
      // An 8-bit child's characters from 0x80 on may be parts of one character: they go to the
      // child as they are.
      if (unicodeChild || GetWideCharFromWMCharMsg(m) < 0x80) {
        TMessage copy = m;
        DoEditCharMsg(copy);
        if (GetWideCharFromWMCharMsg(copy) == 0) return;
      }
      if (unicodeChild) RestoreWMCharMsg(m);
      const WPARAM ch = m.WParam & 0xFFFF;
      if ((ch == 13 || ch == 27) && DroppedDown()) {
        SetDroppedDown(false);
        return;
      }
      m.Result = unicodeChild ? CallWindowProcW(childProc, child, m.Msg, m.WParam, m.LParam)
                              : CallWindowProcA(childProc, child, m.Msg, m.WParam, m.LParam);
      return;
    }
    if (unicodeChild) {
      if (m.Msg == WM_IME_CHAR) {
        m.Result = SendMessageW(child, WM_CHAR, m.WParam, m.LParam);
        return;
      }
      // The form library passes messages on as 8-bit ones: only the key messages, which
      // carry no text, may take that road to a UTF-16 child; text messages (EM_REPLACESEL,
      // the IME's composition) and the list's item messages go straight to it.
      const bool keyMessage =
          m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN || m.Msg == WM_KEYUP || m.Msg == WM_SYSKEYUP;
      if (!keyMessage || IsTextMessage(m.Msg) || m.Msg == EM_REPLACESEL || m.Msg == kImeComposition) {
        m.Result = CallWindowProcW(childProc, child, m.Msg, m.WParam, m.LParam);
        return;
      }
    }
  } catch (...) {
    m.Result = 0;
    if (Application) Application->HandleException(this);
    return;
  }
  TCustomComboBox::ComboWndProc(m, child, childProc);
}

void TUcCustomComboBox::DoEditCharMsg(TMessage& m) {
  if (m.Msg != WM_CHAR || !HasEdit()) return;
  WideChar key = GetWideCharFromWMCharMsg(m);
  UcCombo_AutoCompleteKeyPress(this, key, GetAutoComplete_PreserveDataEntryCase(),
                               GetAutoComplete_UniqueMatchOnly());
  SetWideCharForWMCharMsg(m, key);
}

bool TUcCustomComboBox::KeyPress(char& key) {
  // The layer completes wide text itself: the form library's 8-bit completion stays off.
  const bool autoComplete = AutoComplete();
  SetAutoComplete(false);
  const platform::ScopeExit restore([this, autoComplete] { SetAutoComplete(autoComplete); });
  return TCustomComboBox::KeyPress(key);
}

void TUcCustomComboBox::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  // On an 8-bit window a character from 0x80 on may be part of one: it goes on as it is.
  if (m.Msg == WM_CHAR && !HasEdit() && (IsWindowUnicode(Handle()) || GetWideCharFromWMCharMsg(m) < 0x80)) {
    WideChar key = GetWideCharFromWMCharMsg(m);
    UcCombo_AutoSearchKeyPress(this, key);
    if (key == 0) return;
  } else if (m.Msg == CN_COMMAND && HIWORD(m.WParam) == CBN_SELCHANGE) {
    if (const int i = ItemIndex(); i >= 0) SetText(items_->Strings(i));
    Click();
    Select();
    return;
  }
  TCustomComboBox::Dispatch(message);
}

void TUcCustomComboBox::DrawItem(int index, const RECT& rect, TOwnerDrawState state) {
  if (OnDrawItem) {
    OnDrawItem(this, index, rect, state);
    return;
  }
  Canvas()->FillRect(rect);
  if (index >= 0) WideCanvasTextOut(Canvas(), rect.left + 2, rect.top, items_->Strings(index));
}

TActionLinkClass TUcCustomComboBox::GetActionLinkClass() const {
  return UcControl_GetActionLinkClass(const_cast<TUcCustomComboBox*>(this),
                                      TCustomComboBox::GetActionLinkClass());
}

void TUcCustomComboBox::ActionChange(TObject* sender, bool checkDefaults) {
  UcControl_BeforeInherited_ActionChange(this, sender, checkDefaults);
  TCustomComboBox::ActionChange(sender, checkDefaults);
}
