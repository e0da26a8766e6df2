// Feeds arbitrary bytes to format detection: every decoder built into the image library sees
// every input, as a damaged file reaching the dispatch would.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "fuzz/PictureSizeCap.h"
#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"

namespace {

// Whether the bytes start with the signature of a format detection tries before TGA, whose
// decoder takes any bytes at all.
bool SignedBeforeTga(const uint8_t* h, size_t n) {
  auto starts = [&](std::initializer_list<uint8_t> sig) {
    return n >= sig.size() && std::equal(sig.begin(), sig.end(), h);
  };
  return starts({'B', 'M'}) || starts({0xFF, 0xD8}) || starts({'G', 'I', 'F'}) ||
         starts({0x89, 'P', 'N', 'G'}) || starts({'I', 'I'}) || starts({'M', 'M'}) || starts({0x00, 0x00});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> copy(data, data + size);
  // Pictures too large to be worth a run, by the headers that say their size before any pixel.
  for (uint32_t format : {IXIMAGE_FORMAT_BMP, IXIMAGE_FORMAT_JPG, IXIMAGE_FORMAT_GIF, IXIMAGE_FORMAT_TIF})
    if (fuzzcap::ProbedTooLarge(copy, format)) return 0;
  if (!SignedBeforeTga(data, size) && fuzzcap::TgaTooLarge(data, size)) return 0;
  IxMemFile in(copy.empty() ? nullptr : copy.data(), copy.size());
  IxImage img;
  img.Decode(&in, IXIMAGE_FORMAT_UNKNOWN);
  return 0;
}
