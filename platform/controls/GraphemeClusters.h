// Where the caret may stand in UTF-16 text: boundaries of whole grapheme clusters (a Khmer
// syllable or a Vietnamese letter with its marks is one step), and word starts for Ctrl moves.
#pragma once

#include <string>
#include <vector>

namespace platform::controls {

// Caret stops of `text`: ascending unit positions, 0 and text.size() included; never inside a
// surrogate pair or a cluster.
std::vector<size_t> ClusterStops(const std::u16string& text);
// Word starts of `text` (ascending, text.size() included).
std::vector<size_t> WordStarts(const std::u16string& text);

}  // namespace platform::controls
