#include "platform/forms/TComboBox.h"

#include <algorithm>

#include "platform/forms/TApplication.h"
#include "platform/rtl/Clock.h"

// The wait after which a new key in a list-only box starts a new search.
constexpr unsigned kSearchPauseMs = 500;

TCustomComboBox::TCustomComboBox(TComponent* owner)
    : TCustomListControl(owner), items_(std::make_unique<TComboBoxStrings>(this)) {
  // Clicks come from the window's selection changes.
  ControlStyle = csSetCaption | csReplicatable;
  editInstance_ = MakeObjectInstance([this](TMessage& m) { ComboWndProc(m, editHandle_, defEditProc_); });
  listInstance_ = MakeObjectInstance([this](TMessage& m) { ComboWndProc(m, listHandle_, defListProc_); });
  SetBounds(0, 0, 145, 21);
  TabStop = true;
}

TCustomComboBox::~TCustomComboBox() {
  // The children's stubs call this object: they go before it does.
  if (HandleAllocated()) DestroyWindowHandle();
  FreeObjectInstance(editInstance_);
  FreeObjectInstance(listInstance_);
}

void TCustomComboBox::SetItems(TStrings* value) { items_->Assign(value); }

void TCustomComboBox::CreateParams(TCreateParams& p) {
  TCustomListControl::CreateParams(p);
  CreateSubClass(p, "COMBOBOX");
  p.Style |= CBS_HASSTRINGS | CBS_AUTOHSCROLL;
  switch (style_) {
    case csDropDown:
      p.Style |= CBS_DROPDOWN;
      break;
    case csSimple:
      p.Style |= CBS_SIMPLE;
      break;
    case csDropDownList:
      p.Style |= CBS_DROPDOWNLIST;
      break;
    case csOwnerDrawFixed:
      p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWFIXED;
      break;
    case csOwnerDrawVariable:
      p.Style |= CBS_DROPDOWNLIST | CBS_OWNERDRAWVARIABLE;
      break;
  }
  if (sorted_) p.Style |= CBS_SORT;
  // The window's height at creation is the dropped-down height; it keeps its field's height.
  if (style_ != csSimple) p.Height = height_ + dropDownCount_ * itemHeight_ + 2;
  p.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TCustomComboBox::CreateWnd() {
  const AnsiString text = text_;
  TCustomListControl::CreateWnd();
  HWND h = Handle();
  SendMessageA(h, CB_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  if (style_ == csOwnerDrawFixed || style_ == csOwnerDrawVariable)
    SendMessageA(h, CB_SETITEMHEIGHT, 0, itemHeight_);
  COMBOBOXINFO info{};
  info.cbSize = sizeof info;
  if (GetComboBoxInfo(h, &info)) {
    editHandle_ = HasEdit() && info.hwndItem != h ? info.hwndItem : nullptr;
    listHandle_ = info.hwndList;
  }
  // The children's messages pass ComboWndProc first.
  if (editHandle_) {
    defEditProc_ = WNDPROC(GetWindowLongPtrA(editHandle_, GWL_WNDPROC));
    SetWindowLongPtrA(editHandle_, GWL_WNDPROC, static_cast<LONG_PTR>(editInstance_));
  }
  if (listHandle_) {
    defListProc_ = WNDPROC(GetWindowLongPtrA(listHandle_, GWL_WNDPROC));
    SetWindowLongPtrA(listHandle_, GWL_WNDPROC, static_cast<LONG_PTR>(listInstance_));
  }
  // A sorted window may place the selected item elsewhere, and later items before it.
  const std::vector<int> placed = items_->RestoreStoredItems();
  const int selected = savedItemIndex_ >= 0 && static_cast<std::size_t>(savedItemIndex_) < placed.size()
                           ? placed[static_cast<std::size_t>(savedItemIndex_)]
                           : -1;
  if (selected >= 0) SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
  if (HasEdit() && !text.IsEmpty()) SendMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomComboBox::DestroyWnd() {
  if (HandleAllocated()) {
    HWND h = Handle();
    savedItemIndex_ = static_cast<int>(SendMessageA(h, CB_GETCURSEL, 0, 0));
    items_->StoreWindowItems();
  }
  TCustomListControl::DestroyWnd();
}

void TCustomComboBox::UnhookChildren() {
  if (editHandle_ && IsWindow(editHandle_) &&
      WNDPROC(GetWindowLongPtrA(editHandle_, GWL_WNDPROC)) == editInstance_)
    SetWindowLongPtrA(editHandle_, GWL_WNDPROC, static_cast<LONG_PTR>(defEditProc_));
  if (listHandle_ && IsWindow(listHandle_) &&
      WNDPROC(GetWindowLongPtrA(listHandle_, GWL_WNDPROC)) == listInstance_)
    SetWindowLongPtrA(listHandle_, GWL_WNDPROC, static_cast<LONG_PTR>(defListProc_));
  editHandle_ = listHandle_ = nullptr;
}

void TCustomComboBox::DestroyWindowHandle() {
  UnhookChildren();
  TCustomListControl::DestroyWindowHandle();
}

void TCustomComboBox::ComboWndProc(TMessage& m, HWND child, WNDPROC childProc) {
  try {
    TShiftState shift = 0;
    if (GetKeyState(VK_SHIFT) < 0) shift |= ssShift;
    if (GetKeyState(VK_CONTROL) < 0) shift |= ssCtrl;
    if (GetKeyState(VK_MENU) < 0) shift |= ssAlt;
    switch (m.Msg) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        if (child != listHandle_) {
          WORD key = static_cast<WORD>(m.WParam);
          if (KeyDown(key, shift)) return;
          m.WParam = key;
        }
        break;
      case WM_CHAR: {
        char key = static_cast<char>(m.WParam);
        if (KeyPress(key)) return;
        m.WParam = static_cast<unsigned char>(key);
        // Enter and Esc close a dropped-down list instead of reaching the field.
        if ((key == '\r' || key == 27) && DroppedDown()) {
          SetDroppedDown(false);
          return;
        }
        break;
      }
      case WM_KEYUP:
      case WM_SYSKEYUP: {
        WORD key = static_cast<WORD>(m.WParam);
        KeyUp(key, shift);
        if (key == 0) return;
        break;
      }
      default:
        break;
    }
    m.Result = CallWindowProcA(childProc, child, m.Msg, m.WParam, m.LParam);
  } catch (...) {
    m.Result = 0;
    if (Application) Application->HandleException(this);
  }
}

bool TCustomComboBox::KeyPress(char& key) {
  if (TCustomListControl::KeyPress(key)) return true;
  if (!autoComplete_) return false;
  const auto c = static_cast<unsigned char>(key);
  if (c == 27) return false;
  if (c == '\t') {
    if (autoDropDown_ && DroppedDown()) SetDroppedDown(false);
    return false;
  }
  if (c == 8) {
    if (!HasEdit() && !filter_.empty()) filter_.pop_back();
    return false;
  }
  // Only whole characters of one byte search; longer ones go to the field as they are.
  if (c < 32 || c >= 0x80) return false;
  if (autoDropDown_ && !DroppedDown()) SetDroppedDown(true);
  std::string prefix;
  if (HasEdit()) {
    DWORD start = 0, end = 0;
    SendMessageA(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    const std::string text = Text().ToStd();
    // Completing only while typing at the end of the text.
    if (end < text.size()) return false;
    prefix = text.substr(0, std::min<std::size_t>(start, text.size())) + key;
  } else {
    const unsigned now = GetTickCount();
    if (now - lastKeyTime_ >= kSearchPauseMs) filter_.clear();
    lastKeyTime_ = now;
    prefix = filter_ + key;
  }
  if (!SelectItem(prefix)) return false;
  if (!HasEdit()) filter_ = prefix;
  key = 0;
  return true;
}

bool TCustomComboBox::SelectItem(const std::string& prefix) {
  HWND h = Handle();
  const LRESULT found =
      SendMessageA(h, CB_FINDSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(prefix.c_str()));
  if (found == CB_ERR || found < 0) return false;
  const int index = static_cast<int>(found);
  const std::string item = items_->Get(index).ToStd();
  const bool changed = HasEdit() ? Text().ToStd() != item : index != ItemIndex();
  SendMessageA(h, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  if (HasEdit()) {
    // The typed part keeps the case it was typed in; the completed tail is selected.
    const std::string text = prefix + item.substr(std::min(prefix.size(), item.size()));
    SendMessageA(h, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    SendMessageA(h, CB_SETEDITSEL, 0, MAKELPARAM(prefix.size(), text.size()));
  }
  if (changed) {
    Click();
    Select();
  }
  return true;
}

int TCustomComboBox::ItemIndex() {
  if (!HandleAllocated()) return savedItemIndex_;
  return static_cast<int>(SendMessageA(handle_, CB_GETCURSEL, 0, 0));
}

void TCustomComboBox::SetItemIndex(int value) {
  if (!HandleAllocated()) {
    savedItemIndex_ = value >= 0 && value < items_->Count() ? value : -1;
    return;
  }
  if (ItemIndex() != value) SendMessageA(handle_, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
}

bool TCustomComboBox::DroppedDown() {
  return HandleAllocated() && SendMessageA(handle_, CB_GETDROPPEDSTATE, 0, 0) != 0;
}

void TCustomComboBox::SetDroppedDown(bool value) {
  SendMessageA(Handle(), CB_SHOWDROPDOWN, value ? 1 : 0, 0);
}

void TCustomComboBox::SetStyle(TComboBoxStyle value) {
  if (style_ == value) return;
  style_ = value;
  RecreateWnd();
}

void TCustomComboBox::SetSorted(bool value) {
  if (sorted_ == value) return;
  sorted_ = value;
  RecreateWnd();
}

void TCustomComboBox::SetMaxLength(int value) {
  value = std::max(value, 0);
  if (maxLength_ == value) return;
  maxLength_ = value;
  if (HandleAllocated()) SendMessageA(handle_, CB_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

int TCustomComboBox::ItemHeight() {
  if (HandleAllocated()) return static_cast<int>(SendMessageA(handle_, CB_GETITEMHEIGHT, 0, 0));
  return itemHeight_;
}

void TCustomComboBox::SetItemHeight(int value) {
  if (value <= 0 || itemHeight_ == value) return;
  itemHeight_ = value;
  if (HandleAllocated()) SendMessageA(handle_, CB_SETITEMHEIGHT, 0, value);
}

int TCustomComboBox::SelStart() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TCustomComboBox::SetSelStart(int value) {
  SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(value, value));
}

int TCustomComboBox::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomComboBox::SetSelLength(int value) {
  const int start = SelStart();
  SendMessageA(Handle(), CB_SETEDITSEL, 0, MAKELPARAM(start, start + value));
}

AnsiString TCustomComboBox::SelText() {
  const std::string text = Text().ToStd();
  const std::size_t from = std::min<std::size_t>(static_cast<std::size_t>(SelStart()), text.size());
  const std::size_t length =
      std::min<std::size_t>(static_cast<std::size_t>(std::max(SelLength(), 0)), text.size() - from);
  return AnsiString(text.substr(from, length));
}

void TCustomComboBox::SetSelText(const AnsiString& value) {
  HandleNeeded();
  if (editHandle_) SendMessageA(editHandle_, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

void TCustomComboBox::AddItem(const AnsiString& item, TObject* object) { items_->AddObject(item, object); }

void TCustomComboBox::Clear() {
  SetTextProp(AnsiString());
  items_->Clear();
  savedItemIndex_ = -1;
}

void TCustomComboBox::ClearSelection() { SetItemIndex(-1); }

void TCustomComboBox::CopySelection(TCustomListControl* destination) {
  if (!destination) return;
  if (const int i = ItemIndex(); i >= 0) destination->AddItem(items_->Strings(i), items_->Objects(i));
}

void TCustomComboBox::DeleteSelected() {
  if (const int i = ItemIndex(); i >= 0) items_->Delete(i);
}

void TCustomComboBox::SelectAll() {
  if (HandleAllocated() && HasEdit()) SendMessageA(handle_, CB_SETEDITSEL, 0, MAKELPARAM(0, 0xFFFF));
}

void TCustomComboBox::Change() {
  Changed();
  if (OnChange) OnChange(this);
}

void TCustomComboBox::Select() {
  if (OnSelect)
    OnSelect(this);
  else
    Change();
}

void TCustomComboBox::DropDown() {
  if (OnDropDown) OnDropDown(this);
}

void TCustomComboBox::CloseUp() {
  if (OnCloseUp) OnCloseUp(this);
}

bool TCustomComboBox::ItemText(int index, AnsiString& text) {
  if (index < 0) return false;
  text = items_->Strings(index);
  return true;
}

void TCustomComboBox::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case CN_COMMAND:
      switch (HIWORD(m.WParam)) {
        case CBN_DBLCLK:
          DblClick();
          break;
        case CBN_EDITCHANGE:
          Change();
          break;
        case CBN_DROPDOWN:
          DropDown();
          break;
        case CBN_CLOSEUP:
          CloseUp();
          break;
        case CBN_SELCHANGE:
          if (const int i = ItemIndex(); i >= 0) SetTextProp(items_->Strings(i));
          Click();
          Select();
          break;
        default:
          break;
      }
      return;
    case CN_DRAWITEM:
      // The field of a list-only box is drawn as item -1.
      DrawOwnerItem(m, true);
      return;
    case CN_MEASUREITEM:
      MeasureOwnerItem(m, itemHeight_, style_ == csOwnerDrawVariable);
      return;
    default:
      if (AnswerColorQuestion(m)) return;
      break;
  }
  TCustomListControl::Dispatch(message);
}
