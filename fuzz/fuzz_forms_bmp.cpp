// BMP file images as a TBitmap reads them: whatever decodes must write and read back to the
// same pixels; bad data may only raise the bitmap error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/forms/BmpFile.h"
#include "platform/rtl/Exceptions.h"

namespace {

// Pictures the header asks for beyond this many pixels are skipped: reading, writing and reading
// them back again is correct but slow work on memory (the reader's own limits have unit tests),
// and the campaign's time goes further on the headers, tables and run-length data.
constexpr int64_t kMaxFuzzPixels = int64_t(1) << 16;

int32_t Le(const uint8_t* p, int bytes) {
  uint32_t v = 0;
  for (int i = 0; i < bytes; ++i) v |= uint32_t(p[i]) << (8 * i);
  return bytes == 2 ? int16_t(v) : int32_t(v);
}

// The width times the height the file's header names (0 when it names none).
int64_t AskedPixels(const uint8_t* data, size_t size) {
  if (size < 26) return 0;
  const bool core = Le(data + 14, 4) == 12;
  if (!core && size < 26 + 4) return 0;
  const int64_t width = core ? int64_t(uint16_t(Le(data + 18, 2))) : Le(data + 18, 4);
  const int64_t height = core ? Le(data + 20, 2) : Le(data + 22, 4);
  return (width < 0 ? -width : width) * (height < 0 ? -height : height);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (AskedPixels(data, size) > kMaxFuzzPixels) return 0;
  TDibImage image;
  try {
    image = ReadBmpFile(data, size);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  if (image.Bits.size() != static_cast<size_t>(image.Stride()) * static_cast<size_t>(image.Height))
    std::abort();
  std::vector<uint8_t> file = WriteBmpFile(image);
  TDibImage again = ReadBmpFile(file.data(), file.size());
  if (again.Bits != image.Bits || again.Width != image.Width || again.Height != image.Height) std::abort();
  return 0;
}
