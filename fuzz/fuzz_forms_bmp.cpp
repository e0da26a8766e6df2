// BMP file images as a TBitmap reads them: whatever decodes must write and read back to the
// same pixels; bad data may only raise the bitmap error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/forms/BmpFile.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
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
