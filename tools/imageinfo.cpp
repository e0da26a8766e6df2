// The image inspector: loads a picture through the image library's format detection and prints
// one JSON object with the format found (id and name), the size, bits per pixel, frame count and
// transparency, or the reason the load failed (exit 1). With --out OUT.png it writes frame N
// (--frame N, the first by default), composed as a viewer shows it, as an RGBA PNG through the
// library's own PNG code, so that its pixels can be compared with another decoder's.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "imagelib/IxImage.h"
#include "imagelib/IxImageTypes.h"
#include "tools/JsonText.h"

namespace {

const char* FormatName(uint32_t id) {
  static const char* const kNames[] = {"unknown", "BMP",  "GIF", "JPG", "PNG", "ICO", "TIF", "TGA",
                                       "PCX",     "WBMP", "WMF", "JP2", "JPC", "PGX", "PNM", "RAS"};
  return id < sizeof(kNames) / sizeof(kNames[0]) ? kNames[id] : "unknown";
}

// How visible a pixel is: the alpha plane's value, the palette's alpha when the palette carries
// it, else 0 for the transparent index or colour and 255 for every other pixel.
uint8_t Visibility(const IxImage& img, int64_t x, int64_t y) {
  if (img.AlphaIsValid()) return img.AlphaGet(x, y);
  if (img.IsIndexed() && img.GetInfo().bAlphaPaletteEnabled) {
    return img.GetPaletteColor(img.GetPixelIndex(x, y)).rgbReserved;
  }
  if (!img.IsTransparent()) return 255;
  if (img.IsIndexed()) return img.GetPixelIndex(x, y) == img.GetTransIndex() ? 0 : 255;
  const IxRGBQuad c = img.GetPixelColor(x, y, false);
  const IxRGBQuad t = img.GetTransColor();
  return c.rgbRed == t.rgbRed && c.rgbGreen == t.rgbGreen && c.rgbBlue == t.rgbBlue ? 0 : 255;
}

// The picture as a 24-bit image with an alpha plane for every pixel.
bool WriteRgbaPng(const IxImage& img, const char* path, std::string& error) {
  const int64_t w = img.GetWidth(), h = img.GetHeight();
  IxImage out(static_cast<int32_t>(w), static_cast<int32_t>(h), 24, IXIMAGE_FORMAT_PNG);
  if (!out.IsValid()) {
    error = out.GetLastError();
    return false;
  }
  out.AlphaCreate();
  if (!out.AlphaIsValid()) {
    error = "Can't allocate memory";
    return false;
  }
  for (int64_t y = 0; y < h; ++y) {
    for (int64_t x = 0; x < w; ++x) {
      out.SetPixelColor(x, y, img.GetPixelColor(x, y, false));
      out.AlphaSet(x, y, Visibility(img, x, y));
    }
  }
  if (!out.Save(path, IXIMAGE_FORMAT_PNG)) {
    error = out.GetLastError()[0] != '\0' ? out.GetLastError() : "cannot write the file";
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string input, out;
  long frame = 0;
  bool usage = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--out") == 0 && i + 1 < argc) {
      out = argv[++i];
    } else if (std::strcmp(argv[i], "--frame") == 0 && i + 1 < argc) {
      char* end = nullptr;
      frame = std::strtol(argv[++i], &end, 10);
      if (end == argv[i] || *end != '\0' || frame < 0 || frame > INT32_MAX) usage = true;
    } else if (input.empty()) {
      input = argv[i];
    } else {
      usage = true;
    }
  }
  if (input.empty() || usage) {
    std::fprintf(stderr, "usage: imageinfo FILE [--frame N] [--out OUT.png]\n");
    return 2;
  }

  IxImage img;
  img.SetFrame(static_cast<int32_t>(frame));
  const bool ok = img.Load(input.c_str(), IXIMAGE_FORMAT_UNKNOWN);
  std::string json = "{\"file\": " + JsonQuote(input);
  if (!ok) {
    const char* reason = img.GetLastError();
    json += ", \"error\": " + JsonQuote(reason[0] != '\0' ? reason : "cannot open the file") + "}";
    std::printf("%s\n", json.c_str());
    return 1;
  }
  const uint32_t type = img.GetType();
  const bool alpha = img.AlphaIsValid() || (img.IsIndexed() && img.GetInfo().bAlphaPaletteEnabled);
  json += ", \"format\": " + std::to_string(type) + ", \"name\": " + JsonQuote(FormatName(type)) +
          ", \"width\": " + std::to_string(img.GetWidth()) +
          ", \"height\": " + std::to_string(img.GetHeight()) + ", \"bpp\": " + std::to_string(img.GetBpp()) +
          ", \"frames\": " + std::to_string(img.GetNumFrames() > 0 ? img.GetNumFrames() : 1) +
          ", \"alpha\": " + (alpha ? "true" : "false") +
          ", \"transparent\": " + (img.IsTransparent() ? "true" : "false");
  // A picture decoded in part (a damaged code stream) loads, and says what was damaged.
  if (img.GetLastError()[0] != '\0') json += ", \"warning\": " + JsonQuote(img.GetLastError());
  int status = 0;
  if (!out.empty()) {
    std::string error;
    if (!WriteRgbaPng(img, out.c_str(), error)) {
      json += ", \"error\": " + JsonQuote(error);
      status = 1;
    }
  }
  std::printf("%s}\n", json.c_str());
  return status;
}
