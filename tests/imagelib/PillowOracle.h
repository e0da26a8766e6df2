// Decodes pictures with Pillow (Debian's python3-pil), the independent reader the image tests
// compare our pixels with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace imagetest {

struct OraclePicture {
  bool ok = false;
  std::string error;  // Pillow's refusal, or why the oracle could not run
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgb;  // top row first, 3 bytes per pixel (4 when read as "RGBA")

  const uint8_t* at(int x, int topRow) const {
    return rgb.data() + (static_cast<size_t>(topRow) * width + x) * 3;
  }
};

// Which frame of a multi-frame file is read: the first, or the last (for GIF, the whole screen
// after every frame has been drawn).
enum class PillowFrame { First, Last };

// Pillow's reading of many files in one run of the interpreter (one per file is slow), in the
// order given. `mode` is the Pillow mode converted to: "RGB" or "RGBA".
std::vector<OraclePicture> PillowDecodeAll(const std::vector<std::string>& paths,
                                           const std::string& mode = "RGB",
                                           PillowFrame frame = PillowFrame::First);

OraclePicture PillowDecode(const std::string& path);

// Writes `rgb` (top row first) as a 24-bit file of the given Pillow format name ("BMP", "GIF", ...).
bool PillowEncode(const std::string& path, const std::string& format, int width, int height,
                  const std::vector<uint8_t>& rgb);

}  // namespace imagetest
