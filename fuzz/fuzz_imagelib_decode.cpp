// Feeds arbitrary bytes to format detection: every decoder built into the image library sees
// every input, as a damaged file reaching the dispatch would.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> copy(data, data + size);
  IxMemFile in(copy.empty() ? nullptr : copy.data(), copy.size());
  IxImage img;
  img.Decode(&in, IXIMAGE_FORMAT_UNKNOWN);
  return 0;
}
