// The text store of the EDIT class: UTF-16 text, an anchor and a caret, one level of undo, the
// length limit and the hard lines (split at CR LF). Everything counts UTF-16 units; the window
// procedure converts for 8-bit windows.
#pragma once

#include <string>
#include <vector>

namespace platform::controls {

class EditBuffer {
 public:
  static constexpr size_t kMaxLimit = 0x7FFFFFFE;

  const std::u16string& Text() const { return text_; }
  // Replaces the whole text (no limit applies); the caret goes to the start, undo is emptied.
  void SetText(std::u16string text);

  size_t Anchor() const { return anchor_; }
  size_t Caret() const { return caret_; }
  size_t SelStart() const { return std::min(anchor_, caret_); }
  size_t SelEnd() const { return std::max(anchor_, caret_); }
  bool HasSelection() const { return anchor_ != caret_; }
  std::u16string SelectedText() const { return text_.substr(SelStart(), SelEnd() - SelStart()); }
  // Selects [anchor, caret) with both moved off the inside of a surrogate pair; the caret is
  // where it says.
  void Select(size_t anchor, size_t caret);

  size_t Limit() const { return limit_; }
  void SetLimit(size_t limit) { limit_ = limit == 0 || limit > kMaxLimit ? kMaxLimit : limit; }
  // Whether the limit counts bytes of the system code page (an 8-bit window's positions) rather
  // than UTF-16 units.
  void SetLimitInBytes(bool bytes) { limitInBytes_ = bytes; }

  // Replaces the selection with `s`, cut to fit the limit without cutting a character; the caret
  // ends after the insertion. `typing` merges consecutive typed characters into one undo step.
  // Returns false when nothing changed; `cut` tells whether the limit cut the text.
  bool ReplaceSelection(const std::u16string& s, bool typing = false, bool* cut = nullptr);
  // Removes the selection, or else the code point before the caret (a pair at once).
  bool Backspace();
  // Removes the selection, or else the cluster after the caret.
  bool DeleteForward();

  bool CanUndo() const { return canUndo_; }
  // Swaps the text with the one before the last change (so undoing twice redoes).
  bool Undo();
  void EmptyUndo() { canUndo_ = false, typingRun_ = false; }
  // Any caret move ends a run of typing.
  void EndTypingRun() { typingRun_ = false; }

  // Cluster and word steps from a position.
  size_t NextStop(size_t pos) const;
  size_t PrevStop(size_t pos) const;
  size_t NextWord(size_t pos) const;
  size_t PrevWord(size_t pos) const;
  size_t SnapToStop(size_t pos) const;
  const std::vector<size_t>& Stops() const;

  // Hard lines.
  size_t LineCount() const { return LineStarts().size(); }
  const std::vector<size_t>& LineStarts() const;
  size_t LineFromChar(size_t pos) const;
  size_t LineLength(size_t line) const;  // without its CR LF

 private:
  void Changed();
  size_t OffPair(size_t pos) const;
  size_t Fitting(const std::u16string& s, size_t start, size_t end) const;

  std::u16string text_;
  size_t anchor_ = 0, caret_ = 0;
  size_t limit_ = kMaxLimit;
  bool limitInBytes_ = false;
  bool canUndo_ = false, typingRun_ = false;
  std::u16string undoText_;
  size_t undoAnchor_ = 0, undoCaret_ = 0;
  mutable std::vector<size_t> stops_, lineStarts_;
  mutable bool stopsValid_ = false, linesValid_ = false;
};

}  // namespace platform::controls
