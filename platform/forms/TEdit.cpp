#include "platform/forms/TEdit.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/ScopeExit.h"

TCustomEdit::TCustomEdit(TComponent* owner) : TWinControl(owner) {
  ControlStyle = csClickEvents | csSetCaption | csDoubleClicks;
  SetBounds(0, 0, 121, 25);
  TabStop = true;
}

void TCustomEdit::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "EDIT");
  p.Style |= ES_AUTOHSCROLL | ES_AUTOVSCROLL | AlignmentStyle();
  if (borderStyle_ == bsSingle) p.Style |= WS_BORDER;
  if (passwordChar_) p.Style |= ES_PASSWORD;
  if (readOnly_) p.Style |= ES_READONLY;
  if (!hideSelection_) p.Style |= ES_NOHIDESEL;
  if (charCase_ == ecUpperCase) p.Style |= ES_UPPERCASE;
  if (charCase_ == ecLowerCase) p.Style |= ES_LOWERCASE;
  if (oemConvert_) p.Style |= ES_OEMCONVERT;
}

void TCustomEdit::CreateWnd() {
  creating_ = true;
  {
    platform::ScopeExit restore([&] { creating_ = false; });
    TWinControl::CreateWnd();
  }
  HWND h = Handle();
  SendMessageA(h, EM_LIMITTEXT, static_cast<WPARAM>(maxLength_), 0);
  SendMessageA(h, EM_SETMODIFY, modified_ ? 1 : 0, 0);
  if (passwordChar_)
    SendMessageA(h, EM_SETPASSWORDCHAR, static_cast<WPARAM>(static_cast<unsigned char>(passwordChar_)), 0);
}

void TCustomEdit::DestroyWnd() {
  modified_ = Modified();
  TWinControl::DestroyWnd();
}

void TCustomEdit::SetMaxLength(int value) {
  value = std::max(value, 0);
  if (maxLength_ == value) return;
  maxLength_ = value;
  if (HandleAllocated()) SendMessageA(handle_, EM_LIMITTEXT, static_cast<WPARAM>(value), 0);
}

void TCustomEdit::SetReadOnly(bool value) {
  if (readOnly_ == value) return;
  readOnly_ = value;
  if (HandleAllocated()) SendMessageA(handle_, EM_SETREADONLY, value ? 1 : 0, 0);
}

void TCustomEdit::SetPasswordChar(char value) {
  if (passwordChar_ == value) return;
  passwordChar_ = value;
  RecreateWnd();
}

void TCustomEdit::SetCharCase(TEditCharCase value) {
  if (charCase_ == value) return;
  charCase_ = value;
  RecreateWnd();
}

void TCustomEdit::SetHideSelection(bool value) {
  if (hideSelection_ == value) return;
  hideSelection_ = value;
  RecreateWnd();
}

void TCustomEdit::SetBorderStyle(TBorderStyle value) {
  if (value != bsNone) value = bsSingle;
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  RecreateWnd();
}

bool TCustomEdit::Modified() {
  if (HandleAllocated()) return SendMessageA(handle_, EM_GETMODIFY, 0, 0) != 0;
  return modified_;
}

void TCustomEdit::SetModified(bool value) {
  if (HandleAllocated())
    SendMessageA(handle_, EM_SETMODIFY, value ? 1 : 0, 0);
  else
    modified_ = value;
}

int TCustomEdit::SelStart() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void TCustomEdit::SetSelStart(int value) {
  SendMessageA(Handle(), EM_SETSEL, static_cast<WPARAM>(value), value);
}

int TCustomEdit::SelLength() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(end - start);
}

void TCustomEdit::SetSelLength(int value) {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  SendMessageA(Handle(), EM_SETSEL, start, static_cast<LPARAM>(start) + value);
  SendMessageA(Handle(), EM_SCROLLCARET, 0, 0);
}

AnsiString TCustomEdit::SelText() {
  DWORD start = 0, end = 0;
  SendMessageA(Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const std::string text = Text().ToStd();
  const std::size_t from = std::min<std::size_t>(start, text.size());
  const std::size_t to = std::clamp<std::size_t>(end, from, text.size());
  return AnsiString(text.substr(from, to - from));
}

void TCustomEdit::SetSelText(const AnsiString& value) {
  SendMessageA(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(value.c_str()));
}

int TCustomEdit::GetSelTextBuf(char* buffer, int size) {
  if (!buffer || size <= 0) return 0;
  const AnsiString s = SelText();
  const int n = std::min(s.Length(), size - 1);
  std::memcpy(buffer, s.c_str(), static_cast<std::size_t>(n));
  buffer[n] = '\0';
  return n;
}

void TCustomEdit::SetSelTextBuf(const char* buffer) {
  SendMessageA(Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(buffer ? buffer : ""));
}

void TCustomEdit::SelectAll() {
  if (HandleAllocated()) SendMessageA(handle_, EM_SETSEL, 0, -1);
}

void TCustomEdit::ClearSelection() { SendMessageA(Handle(), WM_CLEAR, 0, 0); }
void TCustomEdit::Clear() { SetText(AnsiString()); }
void TCustomEdit::CopyToClipboard() { SendMessageA(Handle(), WM_COPY, 0, 0); }
void TCustomEdit::CutToClipboard() { SendMessageA(Handle(), WM_CUT, 0, 0); }
void TCustomEdit::PasteFromClipboard() { SendMessageA(Handle(), WM_PASTE, 0, 0); }
void TCustomEdit::Undo() {
  if (HandleAllocated()) SendMessageA(handle_, WM_UNDO, 0, 0);
}
bool TCustomEdit::CanUndo() { return HandleAllocated() && SendMessageA(handle_, EM_CANUNDO, 0, 0) != 0; }
void TCustomEdit::ClearUndo() {
  if (HandleAllocated()) SendMessageA(handle_, EM_EMPTYUNDOBUFFER, 0, 0);
}

void TCustomEdit::Change() {
  Changed();
  if (OnChange) OnChange(this);
}

void TCustomEdit::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case CN_COMMAND:
      // The window changed its text: the one place OnChange comes from while there is a window.
      if (HIWORD(m.WParam) == EN_CHANGE && !creating_) Change();
      return;
    case CM_TEXTCHANGED:
      TWinControl::Dispatch(message);
      if (!HandleAllocated()) Change();
      return;
    case WM_SETFOCUS:
      TWinControl::Dispatch(message);
      // Entering by keyboard selects everything; a click places the caret instead.
      if (autoSelect_ && !(ControlState & csLButtonDown) && HandleAllocated() &&
          !(GetWindowLongA(handle_, GWL_STYLE) & ES_MULTILINE))
        SelectAll();
      return;
    default:
      if (AnswerColorQuestion(m)) return;
      break;
  }
  TWinControl::Dispatch(message);
}
