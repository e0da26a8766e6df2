#include "mms/SlideTextLines.h"

#include <memory>
#include <string>
#include <vector>

#include "mms/SlideTextFile.h"
#include "mms/SlideTextWrap.h"
#include "mms/TMmsFrame.h"
#include "platform/rtl/CodePage.h"

namespace {

// The text in the system code page, without the byte-order mark a UTF-16 text file may start with
// (it would otherwise be measured as a character of the first line).
std::string ToSystemCodePage(const std::unique_ptr<char16_t[]>& units) {
  if (!units) return std::string();
  const char16_t* text = units.get();
  if (*text == 0xFEFF) ++text;
  // A double-byte system code page converts nothing, and so measures no lines.
  return platform::Utf16ToMultiByte(text, CP_ACP);
}

int CountLines(const std::unique_ptr<char16_t[]>& units, int width, const TTextMeasurer& canvas) {
  std::vector<std::string> lines;
  WrapTextLines(ToSystemCodePage(units), width, canvas, lines);
  return static_cast<int>(lines.size());
}

}  // namespace

int CountItemTextLines(const TMediaItem* item, int width, const TTextMeasurer& canvas) {
  return CountLines(ReadItemText(item), width, canvas);
}

int CountItemTextLines(const TMediaItem* item, int width) {
  return CountItemTextLines(item, width, *DefaultTextMeasurer());
}

int CountFrameTextLines(const TMmsFrame* frame, int width, const TTextMeasurer& canvas) {
  return CountLines(ReadFrameText(frame), width, canvas);
}

int CountFrameTextLines(const TMmsFrame* frame, int width) {
  return CountFrameTextLines(frame, width, *DefaultTextMeasurer());
}
