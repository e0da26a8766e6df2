#include "unicode/TUcMemoStrings.h"

#include <algorithm>

#include "platform/controls/Controls.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "unicode/UcControls.h"
#include "unicode/UcNarrowText.h"

namespace {
AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }

// The selection a rich edit reports for EM_EXGETSEL.
struct CharRange {
  LONG cpMin;
  LONG cpMax;
};
}  // namespace

int UcMemo_LineStart(HWND window, int index) {
  return int(SendMessageW(window, EM_LINEINDEX, WPARAM(index), 0));
}

int UcMemo_LineLength(HWND window, int index, int start) {
  if (start == -1) start = UcMemo_LineStart(window, index);
  if (start < 0) return 0;
  return int(SendMessageW(window, EM_LINELENGTH, WPARAM(start), 0));
}

TUcMemoStrings::TUcMemoStrings(TCustomMemo* memo, TStrings* ansiLines) : memo_(memo), ansiLines_(ansiLines) {
  SetLineBreakStyle(tlbsCRLF);
}

bool TUcMemoStrings::UnicodeWindow() const {
  return memo_->HandleAllocated() && IsWindowUnicode(memo_->Handle());
}

int TUcMemoStrings::GetCount() const { return ansiLines_->Count(); }

WideString TUcMemoStrings::Get(int index) const {
  if (!UnicodeWindow()) return UcWiden(ansiLines_->Strings(index));
  const HWND window = memo_->Handle();
  const int n = UcMemo_LineLength(window, index);
  if (n <= 0) return WideString();
  if (n > 65535) throw EOutOfResources("Line too long");
  std::u16string buffer(size_t(n) + 1, u'\0');
  buffer[0] = char16_t(n);  // the length the window may copy
  const LRESULT got =
      SendMessageW(window, EM_GETLINE, WPARAM(index), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(size_t(std::clamp<LRESULT>(got, 0, n)));
  return WideString(std::move(buffer));
}

void TUcMemoStrings::Put(int index, const WideString& text) {
  if (!UnicodeWindow()) {
    ansiLines_->SetStrings(index, Narrow(text));
    return;
  }
  const HWND window = memo_->Handle();
  const int start = UcMemo_LineStart(window, index);
  if (start < 0) return;
  const int length = UcMemo_LineLength(window, index, start);
  SendMessageW(window, EM_SETSEL, WPARAM(start), LPARAM(start + length));
  SendMessageW(window, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void TUcMemoStrings::Insert(int index, const WideString& text) {
  if (!UnicodeWindow()) {
    ansiLines_->Insert(index, Narrow(text));
    return;
  }
  if (index < 0) return;
  // Every index up to the count inserts; one past it is an error, as for the 8-bit lines.
  if (index > GetCount()) throw EStringListError("List index out of bounds (%d)", {TVarRec(index)});
  const HWND window = memo_->Handle();
  int start = UcMemo_LineStart(window, index);
  WideString line;
  if (start >= 0) {
    line = text + u"\r\n";
  } else {
    start = UcMemo_LineStart(window, index - 1);
    start += UcMemo_LineLength(window, index - 1, start);
    line = u"\r\n" + text;
  }
  // A rich edit keeps the list's own line breaks; it holds a paragraph mark as one character, so
  // a lone CR is sent as CR LF and counts one.
  const bool richBreaks = RichEditMode && LineBreakStyle() != tlbsCRLF;
  int expected = 0;
  if (richBreaks) {
    line = UcAdjustLineBreaks(line, LineBreakStyle());
    expected = start + line.Length();
    if (line == u"\r") line = u"\r\n";
  }
  SendMessageW(window, EM_SETSEL, WPARAM(start), LPARAM(start));
  SendMessageW(window, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(line.c_str()));
  if (richBreaks) {
    CharRange caret{-1, -1};
    SendMessageW(window, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&caret));
    if (caret.cpMin != expected) throw EOutOfResources("RichEdit line insertion error");
  }
}

void TUcMemoStrings::Delete(int index) { ansiLines_->Delete(index); }
void TUcMemoStrings::Clear() { ansiLines_->Clear(); }
void TUcMemoStrings::SetUpdateState(bool updating) {
  if (updating)
    ansiLines_->BeginUpdate();
  else
    ansiLines_->EndUpdate();
}

WideString TUcMemoStrings::GetTextStr() const {
  if (RichEditMode) return TUcStrings::GetTextStr();
  return UcControl_GetText(memo_);
}

void TUcMemoStrings::SetTextStr(const WideString& text) {
  const WideString adjusted = UcAdjustLineBreaks(text, LineBreakStyle());
  if (adjusted == GetTextStr()) return;
  memo_->HandleNeeded();
  UcControl_SetText(memo_, adjusted);
}
