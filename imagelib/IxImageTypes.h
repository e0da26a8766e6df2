// Plain records of the image library: format ids, the palette entry, the bitmap information
// header (kept in memory as fields and serialised field by field, little-endian) and the
// information block that image objects copy between each other as a whole.
#pragma once

#include <cstdint>
#include <type_traits>

class IxImage;

// Format ids; they also index the codec option words of the information block.
enum IxImageFormat : uint32_t {
  IXIMAGE_FORMAT_UNKNOWN = 0,  // detect from the content
  IXIMAGE_FORMAT_BMP = 1,
  IXIMAGE_FORMAT_GIF = 2,
  IXIMAGE_FORMAT_JPG = 3,
  IXIMAGE_FORMAT_PNG = 4,
  IXIMAGE_FORMAT_ICO = 5,
  IXIMAGE_FORMAT_TIF = 6,
  IXIMAGE_FORMAT_TGA = 7,
  IXIMAGE_FORMAT_PCX = 8,
  IXIMAGE_FORMAT_WBMP = 9,
  IXIMAGE_FORMAT_WMF = 10,
  IXIMAGE_FORMAT_JP2 = 11,
  IXIMAGE_FORMAT_JPC = 12,
  IXIMAGE_FORMAT_PGX = 13,
  IXIMAGE_FORMAT_PNM = 14,
  IXIMAGE_FORMAT_RAS = 15,
};
constexpr uint32_t IXIMAGE_FORMATS = 16;

// Create refuses pictures whose width x height x bits per pixel / 256 exceeds this.
constexpr uint64_t IXIMAGE_MAX_MEMORY = 256000000;

// A palette entry, or a colour passed around as one: blue, green, red, reserved (alpha).
struct IxRGBQuad {
  uint8_t rgbBlue;
  uint8_t rgbGreen;
  uint8_t rgbRed;
  uint8_t rgbReserved;
};

// A Windows-style colour value: red in the low byte, then green, then blue.
using IxColorRef = uint32_t;
constexpr IxColorRef IxRGB(uint8_t r, uint8_t g, uint8_t b) {
  return static_cast<uint32_t>(r) | (static_cast<uint32_t>(g) << 8) | (static_cast<uint32_t>(b) << 16);
}

// The 40-byte bitmap information header. Never copied to or from bytes as a struct: see
// IxImage::WriteInfoHeader / ReadInfoHeader.
struct IxBitmapInfoHeader {
  uint32_t biSize;
  int32_t biWidth;
  int32_t biHeight;
  uint16_t biPlanes;
  uint16_t biBitCount;
  uint32_t biCompression;
  uint32_t biSizeImage;
  int32_t biXPelsPerMeter;
  int32_t biYPelsPerMeter;
  uint32_t biClrUsed;
  uint32_t biClrImportant;
};
constexpr uint32_t IX_BITMAPINFOHEADER_SIZE = 40;

struct IxRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
};

// The information block. It holds raw pointers and travels between objects by plain copy
// (CopyInfo, Transfer, Ghost), so it must stay trivially copyable. The first-row pointer is
// only meaningful in the object that owns or shares the DIB it points into.
struct IxImageInfo {
  uint32_t dwEffWidth;  // row size in bytes, rows padded to 4 bytes
  uint8_t* pImage;      // first pixel row inside the DIB block
  IxImage* pGhost;      // the owner whose buffers this object shares; null for an owner
  uint32_t dwType;      // format id
  char szLastError[256];
  int32_t nProgress;      // percent, set by Resample and the rotations
  int32_t nEscape;        // 0 runs; any other value stops; -1 asks decoders for dimensions only
  int32_t nBkgndIndex;    // transparent index, -1 for none
  IxRGBQuad nBkgndColor;  // transparent colour (reserved byte kept 0 by SetTransColor)
  uint8_t nQuality;       // JPEG quality
  uint8_t nJpegScale;     // JPEG scale denominator
  int32_t nFrame;         // frame to load
  int32_t nNumFrames;     // set by the multi-frame decoders, also when they fail
  uint32_t dwFrameDelay;  // hundredths of a second
  int32_t xDPI;
  int32_t yDPI;
  IxRect rSelectionBox;
  uint8_t nAlphaMax;
  uint8_t bAlphaPaletteEnabled;
  uint8_t bEnabled;
  int32_t xOffset;
  int32_t yOffset;
  uint32_t dwCodecOpt[IXIMAGE_FORMATS];
  IxRGBQuad last_c;  // nearest-colour cache: colour, index, valid flag
  uint8_t last_c_index;
  uint8_t last_c_isvalid;
  int32_t nNumLayers;
};
static_assert(std::is_trivially_copyable_v<IxImageInfo>);
