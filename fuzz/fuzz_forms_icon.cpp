// Icon files as TIcon reads them: whatever decodes has one colour and one coverage value per
// pixel within the sizes icons have; bad data may only raise the graphic error.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/forms/IcoFile.h"
#include "platform/rtl/Exceptions.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TIcoImage image;
  try {
    image = DecodeIco(data, size);
  } catch (const EInvalidGraphic&) {
    return 0;
  }
  if (image.Width <= 0 || image.Width > 256 || image.Height <= 0 || image.Height > 256) std::abort();
  const size_t pixels = static_cast<size_t>(image.Width) * static_cast<size_t>(image.Height);
  if (image.Pixels.size() != pixels || image.Opaque.size() != pixels) std::abort();
  for (uint32_t p : image.Pixels)
    if (p > 0xFFFFFF) std::abort();
  return 0;
}
