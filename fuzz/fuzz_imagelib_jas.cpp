// Feeds arbitrary bytes to the JPEG-2000 family class (OpenJPEG, and our PGX, PNM and Sun raster codecs), and
// re-encodes whatever it accepts: nothing may crash, read or write out of bounds, or allocate beyond what the
// input can justify.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> copy(data, data + size);
  IxMemFile in(copy.empty() ? nullptr : copy.data(), copy.size());
  IxImage img;
  if (img.Decode(&in, IXIMAGE_FORMAT_JP2) && img.IsValid()) {
    IxMemFile out;
    if (out.Open()) img.Encode(&out, IXIMAGE_FORMAT_JP2);
  }
  return 0;
}
