#include "platform/forms/TMemoStrings.h"

#include <algorithm>
#include <string>
#include <vector>

#include "platform/forms/StringsProperty.h"
#include "platform/forms/TMemo.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"

namespace {

// First positions of the hard lines of a text (split at CR LF only, as the window does).
std::vector<int> LineStarts(const std::string& text) {
  std::vector<int> starts{0};
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    if (text[i] == '\r' && text[i + 1] == '\n') starts.push_back(static_cast<int>(i + 2));
  return starts;
}

}  // namespace

int TMemoStrings::LineCount() const {
  if (memo_->HandleAllocated()) return static_cast<int>(SendMessageA(memo_->Handle(), EM_GETLINECOUNT, 0, 0));
  return static_cast<int>(LineStarts(memo_->Text().ToStd()).size());
}

int TMemoStrings::LineIndex(int line) const {
  if (line < 0) return -1;
  if (memo_->HandleAllocated())
    return static_cast<int>(SendMessageA(memo_->Handle(), EM_LINEINDEX, static_cast<WPARAM>(line), 0));
  const std::vector<int> starts = LineStarts(memo_->Text().ToStd());
  return line < static_cast<int>(starts.size()) ? starts[static_cast<std::size_t>(line)] : -1;
}

int TMemoStrings::LineLength(int pos) const {
  if (pos < 0) return 0;
  if (memo_->HandleAllocated())
    return static_cast<int>(SendMessageA(memo_->Handle(), EM_LINELENGTH, static_cast<WPARAM>(pos), 0));
  const std::string text = memo_->Text().ToStd();
  const std::vector<int> starts = LineStarts(text);
  auto it = std::upper_bound(starts.begin(), starts.end(), pos);
  const std::size_t start = static_cast<std::size_t>(*(it - 1));
  const std::size_t end = it == starts.end() ? text.size() : static_cast<std::size_t>(*it) - 2;
  return static_cast<int>(end - start);
}

void TMemoStrings::Replace(int start, int end, const AnsiString& s) {
  if (memo_->HandleAllocated()) {
    HWND h = memo_->Handle();
    SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(start), end);
    SendMessageA(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(s.c_str()));
    return;
  }
  const std::string text = memo_->Text().ToStd();
  const std::size_t from = std::min<std::size_t>(static_cast<std::size_t>(start), text.size());
  const std::size_t to = std::clamp<std::size_t>(static_cast<std::size_t>(end), from, text.size());
  memo_->SetTextProp(AnsiString(text.substr(0, from) + s.ToStd() + text.substr(to)));
}

int TMemoStrings::GetCount() const {
  const int n = LineCount();
  if (n <= 0) return 0;
  // A text ending in a line break has an empty last line that is no line of the list.
  return LineLength(LineIndex(n - 1)) == 0 ? n - 1 : n;
}

AnsiString TMemoStrings::Get(int index) const {
  const int start = LineIndex(index);
  if (start < 0) return AnsiString();
  const int length = LineLength(start);
  if (length <= 0) return AnsiString();
  if (memo_->HandleAllocated() && length <= 0xFFFF) {
    std::string buffer(static_cast<std::size_t>(std::max(length, 2)), '\0');
    const WORD capacity = static_cast<WORD>(length);
    buffer[0] = static_cast<char>(capacity & 0xFF);
    buffer[1] = static_cast<char>(capacity >> 8);
    const LRESULT got = SendMessageA(memo_->Handle(), EM_GETLINE, static_cast<WPARAM>(index),
                                     reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, length)));
    return AnsiString(std::move(buffer));
  }
  // A line too long for the message's buffer word is read from the whole text instead of cut.
  return AnsiString(
      memo_->Text().ToStd().substr(static_cast<std::size_t>(start), static_cast<std::size_t>(length)));
}

void TMemoStrings::Put(int index, const AnsiString& s) {
  const int start = LineIndex(index);
  if (start < 0) return;
  Replace(start, start + LineLength(start), s);
}

void TMemoStrings::Insert(int index, const AnsiString& s) {
  if (index < 0 || index > GetCount())
    throw EStringListError("List index out of bounds (%d)", {TVarRec(index)});
  int start = LineIndex(index);
  if (start >= 0) {
    Replace(start, start, AnsiString(s.ToStd() + "\r\n"));
    return;
  }
  // After the last line, which holds text (an empty last line has an index of its own).
  start = LineIndex(index - 1);
  if (start < 0) return;
  const int length = LineLength(start);
  if (length == 0) return;
  Replace(start + length, start + length, AnsiString("\r\n" + s.ToStd()));
}

void TMemoStrings::Delete(int index) {
  const int start = LineIndex(index);
  if (start < 0) return;
  int end = LineIndex(index + 1);
  if (end < 0) end = start + LineLength(start);
  Replace(start, end, AnsiString());
}

void TMemoStrings::Clear() { memo_->Clear(); }

void TMemoStrings::SetUpdateState(bool updating) {
  if (!memo_->HandleAllocated()) return;
  SendMessageA(memo_->Handle(), WM_SETREDRAW, updating ? 0 : 1, 0);
  if (!updating) memo_->Refresh();
}

AnsiString TMemoStrings::GetTextStr() const { return memo_->Text(); }

void TMemoStrings::SetTextStr(const AnsiString& text) {
  const std::string& in = text.ToStd();
  std::string out;
  out.reserve(in.size() + in.size() / 8);
  for (std::size_t i = 0; i < in.size(); ++i) {
    if (in[i] == '\r') {
      out += "\r\n";
      if (i + 1 < in.size() && in[i + 1] == '\n') ++i;
    } else if (in[i] == '\n') {
      out += "\r\n";
    } else {
      out += in[i];
    }
  }
  memo_->SetTextProp(AnsiString(std::move(out)));
}

void TMemoStrings::DefineProperties(TFiler* filer) { DefineStringsProperty(this, filer); }
