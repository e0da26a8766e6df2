#include "mms/SlideTextWrap.h"

#include <cstdint>

#include "mms/SlideTextWords.h"

int WrapTextLines(const std::string& text, int width, const TTextMeasurer& canvas,
                  std::vector<std::string>& lines) {
  lines.clear();
  std::vector<_K3VN_MMS_Text_Word> words;
  if (SplitTextWords(text, words) != 0) return 0;

  bool canTakeMore = false;  // whether the last line of the list may still grow
  int64_t lineWidth = 0;
  size_t i = 0;
  while (i < words.size()) {
    const _K3VN_MMS_Text_Word& word = words[i];
    const bool isBreak = word.Kind == _K3VN_MMS_Text_Word::kBreak;
    if (!canTakeMore) {
      // A break here stands for an empty line of its own.
      if (isBreak) {
        lines.emplace_back();
      } else {
        lines.push_back(word.Text);
        lineWidth = canvas.TextWidth(word.Text);
        canTakeMore = lineWidth < width;
      }
      ++i;
      continue;
    }
    if (isBreak) {
      canTakeMore = false;
      ++i;
      continue;
    }
    const int64_t widened = lineWidth + canvas.TextWidth(word.Text);
    if (widened >= width) {
      // The line is full. Blanks at its end are dropped; any other word opens the next line.
      canTakeMore = false;
      if (word.Kind == _K3VN_MMS_Text_Word::kBlanks) ++i;
      continue;
    }
    lines.back() += word.Text;
    lineWidth = widened;
    ++i;
  }
  return 0;
}
