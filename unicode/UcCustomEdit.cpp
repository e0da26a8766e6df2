#include "unicode/UcCustomEdit.h"

#include "platform/controls/Controls.h"
#include "platform/rtl/Program.h"
#include "unicode/UcControls.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"

namespace {
AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }

// The selection of a Unicode window in UTF-16 units. The form library asks with the 8-bit call,
// whose positions count bytes of the code-page text (under UTF-8 a Khmer letter is three), so
// the layer asks the window wide.
void WideSelection(TCustomEdit* edit, DWORD& start, DWORD& end) {
  start = end = 0;
  SendMessageW(edit->Handle(), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
}
void SetWideSelection(TCustomEdit* edit, DWORD start, DWORD end) {
  SendMessageW(edit->Handle(), EM_SETSEL, start, static_cast<LPARAM>(end));
  SendMessageW(edit->Handle(), EM_SCROLLCARET, 0, 0);
}
}  // namespace

char UcNarrowPasswordChar(WideChar ch) {
  if (ch == 0) return 0;
  const AnsiString narrow = Narrow(WideString(ch));
  if (narrow.Length() == 1 && UcWiden(narrow) == WideString(ch)) return narrow[1];
  return '*';
}

void UcCustomEdit_CreateWindowHandle(TCustomEdit* edit, const TCreateParams& params) {
  if (!Win32PlatformIsUnicode() && SysLocale.FarEast && (params.Style & ES_READONLY)) {
    TCreateParams writable = params;
    writable.Style &= ~DWORD(ES_READONLY);
    CreateUnicodeHandle(edit, writable, u"EDIT", false);
    if (edit->HandleAllocated()) SendMessageA(edit->Handle(), EM_SETREADONLY, 1, 0);
    return;
  }
  CreateUnicodeHandle(edit, params, u"EDIT", false);
}

void UcCustomEdit_AfterInherited_CreateWnd(TCustomEdit* edit, WideChar widePasswordChar) {
  if (Win32PlatformIsUnicode() && edit->HandleAllocated())
    SendMessageW(edit->Handle(), EM_SETPASSWORDCHAR, widePasswordChar, 0);
}

int UcCustomEdit_GetSelStart(TCustomEdit* edit) {
  if (Win32PlatformIsUnicode()) {
    DWORD start, end;
    WideSelection(edit, start, end);
    return static_cast<int>(start);
  }
  const AnsiString text = edit->Text();
  return UcWiden(text.SubString(1, edit->TCustomEdit::SelStart())).Length();
}

void UcCustomEdit_SetSelStart(TCustomEdit* edit, int value) {
  if (Win32PlatformIsUnicode()) {
    SendMessageW(edit->Handle(), EM_SETSEL, static_cast<WPARAM>(value), value);
    return;
  }
  edit->TCustomEdit::SetSelStart(Narrow(UcControl_GetText(edit).SubString(1, value)).Length());
}

int UcCustomEdit_GetSelLength(TCustomEdit* edit) {
  if (Win32PlatformIsUnicode()) {
    DWORD start, end;
    WideSelection(edit, start, end);
    return static_cast<int>(end - start);
  }
  return UcCustomEdit_GetSelText(edit).Length();
}

void UcCustomEdit_SetSelLength(TCustomEdit* edit, int value) {
  if (Win32PlatformIsUnicode()) {
    DWORD start, end;
    WideSelection(edit, start, end);
    SetWideSelection(edit, start, start + DWORD(value));
    return;
  }
  const WideString text = UcControl_GetText(edit);
  edit->TCustomEdit::SetSelLength(Narrow(text.SubString(UcCustomEdit_GetSelStart(edit) + 1, value)).Length());
}

WideString UcCustomEdit_GetSelText(TCustomEdit* edit) {
  if (!Win32PlatformIsUnicode()) return UcWiden(edit->TCustomEdit::SelText());
  DWORD start, end;
  WideSelection(edit, start, end);
  return UcControl_GetText(edit).SubString(int(start) + 1, int(end - start));
}

void UcCustomEdit_SetSelText(TCustomEdit* edit, const WideString& text) {
  if (!Win32PlatformIsUnicode()) {
    edit->TCustomEdit::SetSelText(Narrow(text));
    return;
  }
  SendMessageW(edit->Handle(), EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

WideChar UcCustomEdit_GetPasswordChar(TCustomEdit* edit, WideChar& widePasswordChar) {
  // 8-bit code that changed the character wins.
  if (UcNarrowPasswordChar(widePasswordChar) != edit->PasswordChar())
    widePasswordChar = WideChar(static_cast<unsigned char>(edit->PasswordChar()));
  return widePasswordChar;
}

void UcCustomEdit_SetPasswordChar(TCustomEdit* edit, WideChar& widePasswordChar, WideChar value) {
  if (UcCustomEdit_GetPasswordChar(edit, widePasswordChar) == value) return;
  widePasswordChar = value;
  const char narrow = UcNarrowPasswordChar(value);
  if (!Win32PlatformIsUnicode() || !edit->HandleAllocated()) {
    // Without a window, or with an 8-bit one, the form library's setter does it all.
    edit->TCustomEdit::SetPasswordChar(narrow);
    return;
  }
  // The window stays; only the character changes, sent wide.
  edit->StorePasswordChar(narrow);
  SendMessageW(edit->Handle(), EM_SETPASSWORDCHAR, value, 0);
  edit->Invalidate();
}
