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
// (it would otherwise be measured, and drawn, as a character of the first line). In a double-byte
// code page a character becomes a lead and a trail byte, which the split keeps together as a word
// of its own.
std::string ToSystemCodePage(const std::unique_ptr<char16_t[]>& units) {
  if (!units) return std::string();
  const char16_t* text = units.get();
  if (*text == 0xFEFF) ++text;
  return platform::Utf16ToMultiByte(text, CP_ACP);
}

std::vector<std::string> Lines(const std::unique_ptr<char16_t[]>& units, int width,
                               const TTextMeasurer& canvas) {
  std::vector<std::string> lines;
  WrapTextLines(ToSystemCodePage(units), width, canvas, lines);
  return lines;
}

int CountLines(const std::unique_ptr<char16_t[]>& units, int width, const TTextMeasurer& canvas) {
  return static_cast<int>(Lines(units, width, canvas).size());
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

std::vector<std::string> FrameTextLines(const TMmsFrame* frame, int width, const TTextMeasurer& canvas) {
  return Lines(ReadFrameText(frame), width, canvas);
}
