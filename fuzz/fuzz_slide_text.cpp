// Splits and wraps arbitrary bytes as a slide text under the code page the first byte picks, and
// checks what every split must hold: words cover the bytes they claim, a character is never cut.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "mms/SlideTextWords.h"
#include "mms/SlideTextWrap.h"
#include "platform/rtl/CodePage.h"

namespace {

class ByteWidth : public TTextMeasurer {
 public:
  int TextWidth(const std::string& text) const override { return static_cast<int>(text.size()) * 3; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  static const unsigned pages[] = {65001, 1252, 932, 936, 949, 950};
  SetSystemCodePage(pages[data[0] % 6]);
  const std::string text(reinterpret_cast<const char*>(data + 1), size - 1);

  std::vector<_K3VN_MMS_Text_Word> words;
  const int result = SplitTextWords(text, words);
  if (result != 0 && !words.empty()) abort();
  size_t covered = 0;
  for (const auto& w : words) {
    if (w.Kind > 3 || w.Text.empty()) abort();
    if (w.Kind == _K3VN_MMS_Text_Word::kBreak) {
      if (w.Count != 0 || w.Text.size() != 1) abort();
      covered += (w.Text[0] == '\r' && text.compare(covered, 2, "\r\n") == 0) ? 2 : 1;
      continue;
    }
    if (static_cast<size_t>(w.Count) != w.Text.size() || text.compare(covered, w.Text.size(), w.Text) != 0)
      abort();
    if (w.Kind == _K3VN_MMS_Text_Word::kMultiByte && w.Count > 4) abort();
    covered += w.Text.size();
  }
  // A successful split covers every byte but, at most, one trail byte at the very end.
  if (result == 0 && covered != text.size() && covered + 1 != text.size()) abort();

  std::vector<std::string> lines;
  WrapTextLines(text, static_cast<int>(data[0]), ByteWidth(), lines);
  if (lines.size() > words.size()) abort();
  return 0;
}
