// GIF decoding over arbitrary bytes (format id 2), frame 0 and, for animations, the last frame.
// A picture that decodes is encoded again with the coder the input's length picks and decoded
// back: the pixels must survive, which checks the three code-stream coders on odd pictures too.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"

namespace {

bool SamePixels(const IxImage& a, const IxImage& b) {
  if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
  for (int64_t y = 0; y < a.GetHeight(); ++y)
    for (int64_t x = 0; x < a.GetWidth(); ++x) {
      const IxRGBQuad p = a.GetPixelColor(x, y, false), q = b.GetPixelColor(x, y, false);
      if (p.rgbRed != q.rgbRed || p.rgbGreen != q.rgbGreen || p.rgbBlue != q.rgbBlue) return false;
    }
  return true;
}

// The round trip runs on pictures up to 4 K pixels: a true-colour picture is encoded as tiles of
// its own palette each, work that grows with every pixel, and the coders' odd cases show on small
// pictures as well.
void RoundTrip(IxImage& image, uint32_t coder) {
  if (!image.IsValid() || uint64_t{image.GetWidth()} * image.GetHeight() > (1u << 12)) return;
  image.SetCodecOption(coder, IXIMAGE_FORMAT_GIF);
  IxMemFile out;
  if (!out.Open() || !image.Encode(&out, IXIMAGE_FORMAT_GIF)) abort();
  out.Seek(0, SEEK_SET);
  IxImage back;
  if (!back.Decode(&out, IXIMAGE_FORMAT_GIF) || !SamePixels(image, back)) abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<uint8_t> copy(data, data + size);
  // Screens above 64 K pixels only cost time clearing memory (the size limits have unit tests);
  // the campaign's time goes further on the block and code-stream structure.
  const bool hugeScreen = size >= 10 && static_cast<uint64_t>(data[6] | (data[7] << 8)) *
                                                static_cast<uint64_t>(data[8] | (data[9] << 8)) >
                                            (1u << 16);
  if (!hugeScreen) {
    IxMemFile in(copy.data(), copy.size());
    IxImage image;
    if (image.Decode(&in, IXIMAGE_FORMAT_GIF)) RoundTrip(image, static_cast<uint32_t>(size % 3));
    if (image.GetNumFrames() > 1) {
      IxMemFile again(copy.data(), copy.size());
      IxImage last;
      last.SetFrame(image.GetNumFrames() - 1);
      last.Decode(&again, IXIMAGE_FORMAT_GIF);
    }
  }
  {
    IxMemFile in(copy.data(), copy.size());
    IxImage dims;
    dims.SetEscape(-1);
    dims.Decode(&in, IXIMAGE_FORMAT_GIF);
  }
  return 0;
}
