// Feeds arbitrary bytes to the TIFF bridge (libtiff underneath), and re-encodes whatever it accepts: nothing
// may crash, read or write out of bounds, or allocate beyond what the input can justify.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"

namespace {

// Pictures beyond this many pixels are skipped: they decode and encode correctly but slowly (the
// size limits have unit tests), and the campaign's time goes further on the directory structure.
constexpr uint64_t kMaxFuzzPixels = 1u << 14;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> copy(data, data + size);
  {
    IxImage probe;
    probe.SetEscape(-1);
    IxMemFile in(copy.empty() ? nullptr : copy.data(), copy.size());
    if (probe.Decode(&in, IXIMAGE_FORMAT_TIF) &&
        static_cast<uint64_t>(probe.GetWidth()) * static_cast<uint64_t>(probe.GetHeight()) > kMaxFuzzPixels)
      return 0;
  }
  IxMemFile in(copy.empty() ? nullptr : copy.data(), copy.size());
  IxImage img;
  if (img.Decode(&in, IXIMAGE_FORMAT_TIF) && img.IsValid()) {
    IxMemFile out;
    if (out.Open()) img.Encode(&out, IXIMAGE_FORMAT_TIF);
  }
  return 0;
}
