// Feeds arbitrary bytes to the BMP decoder, and re-encodes whatever it accepts: nothing may
// crash, read or write out of bounds, or allocate beyond what the input can justify.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/PictureSizeCap.h"
#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> copy(data, data + size);
  if (fuzzcap::ProbedTooLarge(copy, IXIMAGE_FORMAT_BMP)) return 0;
  IxMemFile in(copy.empty() ? nullptr : copy.data(), copy.size());
  IxImage img;
  if (img.Decode(&in, IXIMAGE_FORMAT_BMP) && img.IsValid()) {
    IxMemFile out;
    if (out.Open()) img.Encode(&out, IXIMAGE_FORMAT_BMP);
    img.Resample(3, 2, 1);
  }
  return 0;
}
