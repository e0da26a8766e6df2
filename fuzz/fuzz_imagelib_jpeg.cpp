// Feeds arbitrary bytes to the JPEG decoder (which reads the EXIF sections first), with decoder
// options taken from the last byte, and re-encodes what decodes so that the EXIF rewrite runs too.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagelib/IxImageJPG.h"
#include "imagelib/IxMemFile.h"

namespace {

// Pictures beyond this many pixels are skipped: they decode correctly but slowly, which a fuzzer
// would report as a hang.
constexpr uint64_t kMaxPixels = 4u << 20;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> copy(data, data + size);
  const uint8_t selector = size ? data[size - 1] : 0;
  {
    IxImageJPG probe;
    probe.SetEscape(-1);
    IxMemFile in(copy.empty() ? nullptr : copy.data(), copy.size());
    if (probe.Decode(&in) && static_cast<uint64_t>(probe.GetWidth()) * probe.GetHeight() > kMaxPixels) {
      return 0;
    }
  }
  IxImageJPG image;
  uint32_t options = 0;
  if (selector & 1) options |= IxImageJPG::DECODE_GRAYSCALE;
  if (selector & 2) options |= IxImageJPG::DECODE_QUANTIZE;
  if (selector & 4) options |= IxImageJPG::DECODE_NOTWOPASS | IxImageJPG::DECODE_DITHER;
  if (selector & 8) options |= IxImageJPG::DECODE_NOFANCYUPSAMPLING;
  image.SetCodecOption(options, IXIMAGE_FORMAT_JPG);
  image.SetJpegScale(static_cast<uint8_t>((selector >> 4) & 7));
  image.SetJpegQuality(static_cast<uint8_t>(8 + (selector & 0x7F)));
  IxMemFile in(copy.empty() ? nullptr : copy.data(), copy.size());
  if (image.Decode(&in) && image.GetBpp() == 24) {
    IxMemFile out;
    out.Open();
    image.Encode(&out);
  }
  return 0;
}
