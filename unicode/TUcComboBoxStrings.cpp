#include "unicode/TUcComboBoxStrings.h"

#include <string>

#include "platform/rtl/Exceptions.h"
#include "unicode/TUcComboBox.h"
#include "unicode/UcControls.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"

namespace {
AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }
}  // namespace

bool TUcComboBoxStrings::UnicodeWindow() const {
  // A control that can have its window gets it now, so that items go in as UTF-16 text rather
  // than through the code page; one without a parent keeps them in the 8-bit list meanwhile.
  if (!comboBox_->HandleAllocated() && Win32PlatformIsUnicode() && comboBox_->Parent() &&
      !(comboBox_->ComponentState() & (csLoading | csDestroying)))
    comboBox_->HandleNeeded();
  return comboBox_->HandleAllocated() && IsWindowUnicode(comboBox_->Handle());
}

TStrings* TUcComboBoxStrings::AnsiItems() const { return comboBox_->AnsiItems(); }

int TUcComboBoxStrings::GetCount() const { return AnsiItems()->Count(); }
TObject* TUcComboBoxStrings::GetObject(int index) const { return AnsiItems()->Objects(index); }
void TUcComboBoxStrings::PutObject(int index, TObject* object) { AnsiItems()->SetObjects(index, object); }

void TUcComboBoxStrings::SetUpdateState(bool updating) {
  if (updating)
    AnsiItems()->BeginUpdate();
  else
    AnsiItems()->EndUpdate();
}

WideString TUcComboBoxStrings::Get(int index) const {
  if (!UnicodeWindow()) return UcWiden(AnsiItems()->Strings(index));
  const HWND h = comboBox_->Handle();
  const LRESULT length = SendMessageW(h, CB_GETLBTEXTLEN, WPARAM(index), 0);
  if (length < 0) return WideString();
  std::u16string buffer(size_t(length) + 1, u'\0');
  const LRESULT got = SendMessageW(h, CB_GETLBTEXT, WPARAM(index), reinterpret_cast<LPARAM>(buffer.data()));
  if (got < 0) return WideString();
  // The text ends at its zero, whatever the window claims.
  buffer.resize(std::char_traits<char16_t>::length(buffer.c_str()));
  return WideString(std::move(buffer));
}

int TUcComboBoxStrings::Add(const WideString& s) {
  if (!UnicodeWindow()) return AnsiItems()->Add(Narrow(s));
  const LRESULT at = SendMessageW(comboBox_->Handle(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(s.c_str()));
  if (at < 0) throw EOutOfResources("Unable to insert a line");
  return int(at);
}

void TUcComboBoxStrings::Insert(int index, const WideString& s) {
  if (!UnicodeWindow()) {
    AnsiItems()->Insert(index, Narrow(s));
    return;
  }
  const LRESULT at =
      SendMessageW(comboBox_->Handle(), CB_INSERTSTRING, WPARAM(index), reinterpret_cast<LPARAM>(s.c_str()));
  if (at < 0) throw EOutOfResources("Unable to insert a line");
}

void TUcComboBoxStrings::Delete(int index) { AnsiItems()->Delete(index); }

void TUcComboBoxStrings::Clear() {
  if (!UnicodeWindow()) {
    AnsiItems()->Clear();
    return;
  }
  const WideString text = comboBox_->Text();
  SendMessageA(comboBox_->Handle(), CB_RESETCONTENT, 0, 0);
  comboBox_->SetText(text);
  comboBox_->Update();
}

int TUcComboBoxStrings::IndexOf(const WideString& s) {
  if (!UnicodeWindow()) return AnsiItems()->IndexOf(Narrow(s));
  return int(
      SendMessageW(comboBox_->Handle(), CB_FINDSTRINGEXACT, WPARAM(-1), reinterpret_cast<LPARAM>(s.c_str())));
}
