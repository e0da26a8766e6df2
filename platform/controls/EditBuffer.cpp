#include "platform/controls/EditBuffer.h"

#include <algorithm>

#include "platform/controls/GraphemeClusters.h"
#include "platform/rtl/CodePage.h"

namespace platform::controls {

namespace {
bool IsHigh(char16_t u) { return u >= 0xD800 && u <= 0xDBFF; }
bool IsLow(char16_t u) { return u >= 0xDC00 && u <= 0xDFFF; }
}  // namespace

void EditBuffer::Changed() { stopsValid_ = linesValid_ = false; }

size_t EditBuffer::OffPair(size_t pos) const {
  pos = std::min(pos, text_.size());
  if (pos > 0 && pos < text_.size() && IsLow(text_[pos]) && IsHigh(text_[pos - 1])) --pos;
  return pos;
}

void EditBuffer::SetText(std::u16string text) {
  text_ = std::move(text);
  anchor_ = caret_ = 0;
  EmptyUndo();
  Changed();
}

void EditBuffer::Select(size_t anchor, size_t caret) {
  anchor_ = OffPair(anchor);
  caret_ = OffPair(caret);
  typingRun_ = false;
}

// How many units of `s` fit in place of [start, end) under the limit, whole characters only.
size_t EditBuffer::Fitting(const std::u16string& s, size_t start, size_t end) const {
  if (!limitInBytes_ || limit_ == kMaxLimit) {
    const size_t kept = text_.size() - (end - start);
    size_t n = std::min(s.size(), limit_ > kept ? limit_ - kept : 0);
    if (n > 0 && n < s.size() && IsHigh(s[n - 1])) --n;
    return n;
  }
  auto bytes = [](std::u16string_view t) { return Utf16ToMultiByte(t, CP_ACP).size(); };
  const std::u16string_view text(text_);
  const size_t kept = bytes(text.substr(0, start)) + bytes(text.substr(end));
  const size_t room = limit_ > kept ? limit_ - kept : 0;
  size_t n = 0, used = 0;
  while (n < s.size()) {
    const size_t step = IsHigh(s[n]) && n + 1 < s.size() && IsLow(s[n + 1]) ? 2 : 1;
    const size_t b = bytes(std::u16string_view(s).substr(n, step));
    if (used + b > room) break;
    used += b;
    n += step;
  }
  return n;
}

bool EditBuffer::ReplaceSelection(const std::u16string& s, bool typing, bool* cut) {
  const size_t start = SelStart(), end = SelEnd();
  const size_t n = Fitting(s, start, end);
  if (cut) *cut = n < s.size();
  if (n == 0 && start == end) return false;
  if (!(typing && typingRun_ && start == end)) {
    undoText_ = text_;
    undoAnchor_ = anchor_;
    undoCaret_ = caret_;
    canUndo_ = true;
  }
  text_.replace(start, end - start, s, 0, n);
  anchor_ = caret_ = start + n;
  typingRun_ = typing;
  Changed();
  return true;
}

bool EditBuffer::Backspace() {
  if (HasSelection()) return ReplaceSelection(u"");
  if (caret_ == 0) return false;
  size_t from = caret_ - 1;
  if (from > 0 && IsLow(text_[from]) && IsHigh(text_[from - 1])) --from;
  // CR LF typed as one line break goes as one.
  if (from > 0 && text_[from] == u'\n' && text_[from - 1] == u'\r') --from;
  anchor_ = from;
  return ReplaceSelection(u"");
}

bool EditBuffer::DeleteForward() {
  if (HasSelection()) return ReplaceSelection(u"");
  if (caret_ >= text_.size()) return false;
  anchor_ = caret_;
  caret_ = NextStop(caret_);
  return ReplaceSelection(u"");
}

bool EditBuffer::Undo() {
  if (!canUndo_) return false;
  std::swap(text_, undoText_);
  const size_t a = undoAnchor_, c = undoCaret_;
  undoAnchor_ = anchor_;
  undoCaret_ = caret_;
  anchor_ = std::min(a, text_.size());
  caret_ = std::min(c, text_.size());
  typingRun_ = false;
  Changed();
  return true;
}

const std::vector<size_t>& EditBuffer::Stops() const {
  if (!stopsValid_) {
    stops_ = ClusterStops(text_);
    // A line break is a stop on both sides of CR LF, never between them.
    std::vector<size_t> out;
    out.reserve(stops_.size());
    for (size_t p : stops_)
      if (!(p > 0 && p < text_.size() && text_[p - 1] == u'\r' && text_[p] == u'\n')) out.push_back(p);
    stops_ = std::move(out);
    stopsValid_ = true;
  }
  return stops_;
}

size_t EditBuffer::NextStop(size_t pos) const {
  const auto& s = Stops();
  auto it = std::upper_bound(s.begin(), s.end(), pos);
  return it == s.end() ? text_.size() : *it;
}

size_t EditBuffer::PrevStop(size_t pos) const {
  const auto& s = Stops();
  auto it = std::lower_bound(s.begin(), s.end(), pos);
  return it == s.begin() ? 0 : *(it - 1);
}

size_t EditBuffer::SnapToStop(size_t pos) const {
  const auto& s = Stops();
  auto it = std::upper_bound(s.begin(), s.end(), pos);
  return it == s.begin() ? 0 : *(it - 1);
}

size_t EditBuffer::NextWord(size_t pos) const {
  const auto words = WordStarts(text_);
  auto it = std::upper_bound(words.begin(), words.end(), pos);
  return it == words.end() ? text_.size() : *it;
}

size_t EditBuffer::PrevWord(size_t pos) const {
  const auto words = WordStarts(text_);
  auto it = std::lower_bound(words.begin(), words.end(), pos);
  return it == words.begin() ? 0 : *(it - 1);
}

const std::vector<size_t>& EditBuffer::LineStarts() const {
  if (!linesValid_) {
    lineStarts_.assign(1, 0);
    for (size_t i = 0; i + 1 < text_.size(); ++i)
      if (text_[i] == u'\r' && text_[i + 1] == u'\n') lineStarts_.push_back(i + 2);
    linesValid_ = true;
  }
  return lineStarts_;
}

size_t EditBuffer::LineFromChar(size_t pos) const {
  const auto& starts = LineStarts();
  auto it = std::upper_bound(starts.begin(), starts.end(), pos);
  return size_t(it - starts.begin()) - 1;
}

size_t EditBuffer::LineLength(size_t line) const {
  const auto& starts = LineStarts();
  if (line >= starts.size()) return 0;
  const size_t end = line + 1 < starts.size() ? starts[line + 1] - 2 : text_.size();
  return end - starts[line];
}

}  // namespace platform::controls
