// Feeds arbitrary bytes to format detection: every decoder built into the image library sees
// every input, as a damaged file reaching the dispatch would.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/PictureSizeCap.h"
#include "imagelib/IxFormatTable.h"
#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> copy(data, data + size);
  // Pictures too large to be worth a run, by the headers that say their size before any pixel.
  for (uint32_t format : {IXIMAGE_FORMAT_BMP, IXIMAGE_FORMAT_JPG, IXIMAGE_FORMAT_GIF, IXIMAGE_FORMAT_TIF})
    if (fuzzcap::ProbedTooLarge(copy, format)) return 0;
  // The TGA decoder takes bytes that no format signs, reading its size from them.
  if (IxClaimedFormat(data, size) == IXIMAGE_FORMAT_UNKNOWN && fuzzcap::TgaTooLarge(data, size)) return 0;
  IxMemFile in(copy.empty() ? nullptr : copy.data(), copy.size());
  IxImage img;
  img.Decode(&in, IXIMAGE_FORMAT_UNKNOWN);
  return 0;
}
