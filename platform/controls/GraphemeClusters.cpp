// Cluster and word boundaries from the text engine's own break rules, so the caret agrees with
// how the text is shaped on screen.
#include "platform/controls/GraphemeClusters.h"

#include <pango/pango.h>

#include "platform/rtl/Utf8.h"

namespace platform::controls {

namespace {

// Log attributes of the text, one per character plus one; `unitOf` maps a character index to
// its unit position.
std::vector<PangoLogAttr> Attributes(const std::u16string& text, std::vector<size_t>& unitOf) {
  unitOf.clear();
  std::u16string clean = text;
  for (size_t i = 0; i < clean.size(); ++i) {
    const char16_t u = clean[i];
    const bool high = u >= 0xD800 && u <= 0xDBFF, low = u >= 0xDC00 && u <= 0xDFFF;
    if (high && i + 1 < clean.size() && clean[i + 1] >= 0xDC00 && clean[i + 1] <= 0xDFFF) {
      unitOf.push_back(i);
      ++i;
      continue;
    }
    if (high || low) clean[i] = 0xFFFD;  // a lone half is one character of its own
    unitOf.push_back(i);
  }
  unitOf.push_back(text.size());
  const std::string utf8 = Utf16ToUtf8(clean);
  std::vector<PangoLogAttr> attrs(unitOf.size());
  pango_get_log_attrs(utf8.data(), int(utf8.size()), -1, pango_language_from_string("en"), attrs.data(),
                      int(attrs.size()));
  return attrs;
}

}  // namespace

std::vector<size_t> ClusterStops(const std::u16string& text) {
  std::vector<size_t> unitOf;
  const auto attrs = Attributes(text, unitOf);
  std::vector<size_t> stops;
  for (size_t i = 0; i < unitOf.size(); ++i) {
    const size_t p = unitOf[i];
    // A subscript sign (Khmer COENG, Myanmar virama) joins the next consonant to its syllable,
    // which the generic cluster rules do not know.
    const bool joined = p > 0 && p < text.size() && (text[p - 1] == 0x17D2 || text[p - 1] == 0x1039);
    if (i == 0 || i + 1 == unitOf.size() || (attrs[i].is_cursor_position && !joined)) stops.push_back(p);
  }
  return stops;
}

std::vector<size_t> WordStarts(const std::u16string& text) {
  std::vector<size_t> unitOf;
  const auto attrs = Attributes(text, unitOf);
  std::vector<size_t> starts;
  for (size_t i = 0; i < unitOf.size(); ++i)
    if (i + 1 == unitOf.size() || attrs[i].is_word_start) starts.push_back(unitOf[i]);
  return starts;
}

}  // namespace platform::controls
