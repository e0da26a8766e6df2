#include "unicode/TUcListControlStrings.h"

#include <string>

#include "platform/forms/TWinControl.h"
#include "platform/rtl/Exceptions.h"
#include "unicode/UcControls.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"

namespace {
AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }
}  // namespace

bool TUcListControlStrings::UnicodeWindow() const {
  // A control that can have its window gets it now, so that items go in as UTF-16 text rather
  // than through the code page; one without a parent keeps them in the 8-bit list meanwhile.
  if (!control_->HandleAllocated() && Win32PlatformIsUnicode() && control_->Parent() &&
      !(control_->ComponentState() & (csLoading | csDestroying)))
    control_->HandleNeeded();
  return control_->HandleAllocated() && IsWindowUnicode(control_->Handle());
}

int TUcListControlStrings::GetCount() const { return AnsiItems()->Count(); }
TObject* TUcListControlStrings::GetObject(int index) const { return AnsiItems()->Objects(index); }
void TUcListControlStrings::PutObject(int index, TObject* object) { AnsiItems()->SetObjects(index, object); }

void TUcListControlStrings::SetUpdateState(bool updating) {
  if (updating)
    AnsiItems()->BeginUpdate();
  else
    AnsiItems()->EndUpdate();
}

bool TUcListControlStrings::ItemText(int index, WideString& text) const {
  if (UnicodeWindow()) return WindowText(index, text);
  text = UcWiden(AnsiItems()->Strings(index));
  return true;
}

bool TUcListControlStrings::WindowText(int index, WideString& text) const {
  const HWND h = control_->Handle();
  const LRESULT length = SendMessageW(h, messages_.GetTextLen, WPARAM(index), 0);
  if (length < 0) return false;
  std::u16string buffer(size_t(length) + 1, u'\0');
  const LRESULT got =
      SendMessageW(h, messages_.GetText, WPARAM(index), reinterpret_cast<LPARAM>(buffer.data()));
  if (got < 0) {
    text = WideString();
    return true;
  }
  // The text ends at its zero, whatever the window claims.
  buffer.resize(std::char_traits<char16_t>::length(buffer.c_str()));
  text = WideString(std::move(buffer));
  return true;
}

int TUcListControlStrings::Add(const WideString& s) {
  if (!UnicodeWindow()) return AnsiItems()->Add(Narrow(s));
  const LRESULT at =
      SendMessageW(control_->Handle(), messages_.AddString, 0, reinterpret_cast<LPARAM>(s.c_str()));
  if (at < 0) throw EOutOfResources("Unable to insert a line");
  return int(at);
}

void TUcListControlStrings::Insert(int index, const WideString& s) {
  if (!UnicodeWindow()) {
    AnsiItems()->Insert(index, Narrow(s));
    return;
  }
  const LRESULT at = SendMessageW(control_->Handle(), messages_.InsertString, WPARAM(index),
                                  reinterpret_cast<LPARAM>(s.c_str()));
  if (at < 0) throw EOutOfResources("Unable to insert a line");
}

int TUcListControlStrings::IndexOf(const WideString& s) {
  if (!UnicodeWindow()) return AnsiItems()->IndexOf(Narrow(s));
  return int(SendMessageW(control_->Handle(), messages_.FindStringExact, WPARAM(-1),
                          reinterpret_cast<LPARAM>(s.c_str())));
}
