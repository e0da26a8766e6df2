// Indexed to 24-bit conversion, pixel by pixel through the palette.
#include "imagelib/IxConvertTo24Bits.h"

#include "imagelib/IxImage.h"

bool IxConvertTo24Bits(IxImage& image) {
  if (!image.IsValid()) return false;
  if (!image.IsIndexed()) return true;

  const int32_t width = static_cast<int32_t>(image.GetWidth());
  const int32_t height = static_cast<int32_t>(image.GetHeight());
  IxImage converted;
  converted.CopyInfo(image);  // resolution, quality, codec options, transparency
  if (!converted.Create(width, height, 24, image.GetType())) return false;
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* row = converted.GetBits(y);
    for (int32_t x = 0; x < width; ++x) {
      const IxRGBQuad c = image.GetPixelColor(x, y, false);
      row[3 * x] = c.rgbBlue;
      row[3 * x + 1] = c.rgbGreen;
      row[3 * x + 2] = c.rgbRed;
    }
  }
  if (image.IsTransparent()) converted.SetTransColor(image.GetTransColor());
  if (image.AlphaIsValid()) {
    converted.AlphaCreate();
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) converted.AlphaSet(x, y, image.AlphaGet(x, y));
    }
  }
  if (!image.Transfer(converted)) return false;
  // Transfer brings the new object's header, whose pixels-per-metre came from its start-up.
  image.SetXDPI(image.GetXDPI());
  image.SetYDPI(image.GetYDPI());
  return true;
}
