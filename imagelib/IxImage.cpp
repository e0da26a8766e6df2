// The image object's life cycle: start-up defaults, Create with its limits, the ways one object
// takes or shares another's buffers, the resolution and the small accessors.
#include "imagelib/IxImage.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace {

void PutLE16(uint8_t* p, uint16_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void PutLE32(uint8_t* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

uint16_t GetLE16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

uint32_t GetLE32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
         (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

}  // namespace

IxImage::IxImage(uint32_t imagetype) { Startup(imagetype); }

IxImage::IxImage(int32_t width, int32_t height, uint32_t bpp, uint32_t imagetype) {
  Startup(imagetype);
  Create(width, height, bpp, imagetype);
}

IxImage::IxImage(const IxImage& src, bool copypixels, bool copyselection, bool copyalpha) {
  Startup(src.GetType());
  Copy(src, copypixels, copyselection, copyalpha);
}

IxImage::IxImage(const char* filename, uint32_t imagetype) {
  Startup(imagetype);
  Load(filename, imagetype);
}

IxImage::~IxImage() { Destroy(); }

void IxImage::Startup(uint32_t imagetype) {
  pDib = nullptr;
  pSelection = nullptr;
  pAlpha = nullptr;
  ppLayers = nullptr;
  memset(&head, 0, sizeof(head));
  memset(&info, 0, sizeof(info));
  info.dwType = imagetype;
  info.nQuality = 90;
  info.nBkgndIndex = -1;
  info.nAlphaMax = 255;
  info.bEnabled = 1;
  SetXDPI(96);
  SetYDPI(96);
}

void IxImage::SetLastError(const char* text) {
  if (text == nullptr) text = "";
  strncpy(info.szLastError, text, sizeof(info.szLastError) - 1);
  info.szLastError[sizeof(info.szLastError) - 1] = '\0';
}

bool IxImage::Destroy() {
  if (info.pGhost != nullptr) return false;
  if (ppLayers != nullptr) {
    for (int32_t n = 0; n < info.nNumLayers; ++n) delete ppLayers[n];
    delete[] ppLayers;
    ppLayers = nullptr;
    info.nNumLayers = 0;
  }
  free(pSelection);
  pSelection = nullptr;
  free(pAlpha);
  pAlpha = nullptr;
  free(pDib);
  pDib = nullptr;
  info.pImage = nullptr;
  return true;
}

void* IxImage::Create(int32_t width, int32_t height, uint32_t bpp, uint32_t imagetype) {
  return CreateBlock(width, height, bpp, imagetype, true);
}

void* IxImage::CreateUncleared(int32_t width, int32_t height, uint32_t bpp, uint32_t imagetype) {
  return CreateBlock(width, height, bpp, imagetype, false);
}

void* IxImage::CreateBlock(int32_t width, int32_t height, uint32_t bpp, uint32_t imagetype,
                           bool clearPixels) {
  if (!Destroy()) return nullptr;

  if (width <= 0 || height <= 0) {
    SetLastError("IxImage::Create : width and height must be greater than zero");
    return nullptr;
  }

  if (bpp <= 1)
    bpp = 1;
  else if (bpp <= 4)
    bpp = 4;
  else if (bpp <= 8)
    bpp = 8;
  else
    bpp = 24;

  // Every size in 64 bits: the header's fields are 32-bit, so a block that does not fit them
  // is refused as well as one over the memory limit.
  const uint64_t w = static_cast<uint64_t>(width);
  const uint64_t h = static_cast<uint64_t>(height);
  const uint64_t rowSize = ((bpp * w + 31) / 32) * 4;
  const uint64_t bitsSize = rowSize * h;
  const uint64_t paletteSize = bpp <= 8 ? (uint64_t{1} << bpp) * 4 : 0;
  const uint64_t dibSize = IX_BITMAPINFOHEADER_SIZE + paletteSize + bitsSize;
  if (w * h * bpp / 256 > IXIMAGE_MAX_MEMORY || dibSize > std::numeric_limits<uint32_t>::max()) {
    SetLastError("IXIMAGE_MAX_MEMORY exceeded");
    return nullptr;
  }

  switch (bpp) {
    case 1:
      head.biClrUsed = 2;
      break;
    case 4:
      head.biClrUsed = 16;
      break;
    case 8:
      head.biClrUsed = 256;
      break;
    default:
      head.biClrUsed = 0;
      break;
  }
  info.dwEffWidth = static_cast<uint32_t>(rowSize);
  info.dwType = imagetype;

  head.biSize = IX_BITMAPINFOHEADER_SIZE;
  head.biWidth = width;
  head.biHeight = height;
  head.biPlanes = 1;
  head.biBitCount = static_cast<uint16_t>(bpp);
  head.biCompression = 0;
  head.biSizeImage = static_cast<uint32_t>(bitsSize);
  head.biClrImportant = 0;

  // Cleared, so that a short read of pixel data never shows what the heap held before; a decoder
  // that writes every pixel byte itself is spared clearing them first.
  pDib = clearPixels ? calloc(1, static_cast<size_t>(dibSize)) : malloc(static_cast<size_t>(dibSize));
  if (pDib == nullptr) {
    SetLastError("IxImage::Create can't allocate memory");
    return nullptr;
  }
  if (!clearPixels) memset(pDib, 0, static_cast<size_t>(dibSize - bitsSize));

  // The palette just changed under the nearest-colour cache.
  info.last_c_isvalid = 0;

  if (pSelection != nullptr) SelectionDelete();
  if (pAlpha != nullptr) AlphaDelete();

  WriteInfoHeader(head, static_cast<uint8_t*>(pDib));
  info.pImage = GetBits(0);
  return pDib;
}

void IxImage::Clear(uint8_t bval) {
  if (pDib == nullptr) return;
  if (head.biBitCount == 1 && bval > 0) bval = 255;
  if (head.biBitCount == 4) bval = static_cast<uint8_t>(17 * (bval & 0x0F));
  memset(GetBits(0), bval, head.biSizeImage);
}

void IxImage::Copy(const IxImage& src, bool copypixels, bool copyselection, bool copyalpha) {
  if (&src == this) return;
  if (!Destroy()) return;
  info = src.info;
  // The copy owns what it creates: it is nobody's ghost and its row pointer is set by Create.
  info.pGhost = nullptr;
  info.pImage = nullptr;
  info.nNumLayers = 0;
  if (Create(src.head.biWidth, src.head.biHeight, src.head.biBitCount, src.info.dwType) == nullptr) return;
  if (copypixels && pDib != nullptr && src.pDib != nullptr) {
    memcpy(pDib, src.pDib, GetSize());
  } else if (src.GetPalette() != nullptr) {
    SetPalette(src.GetPalette(), 256);
  }
  const size_t plane = static_cast<size_t>(head.biWidth) * static_cast<size_t>(head.biHeight);
  if (copyselection && src.pSelection != nullptr) {
    uint8_t* mask = static_cast<uint8_t*>(malloc(plane));
    if (mask != nullptr) {
      memcpy(mask, src.pSelection, plane);
      free(pSelection);
      pSelection = mask;
    }
  }
  if (copyalpha && src.pAlpha != nullptr) {
    uint8_t* alpha = static_cast<uint8_t*>(malloc(plane));
    if (alpha != nullptr) {
      memcpy(alpha, src.pAlpha, plane);
      free(pAlpha);
      pAlpha = alpha;
    }
  }
}

void IxImage::CopyInfo(const IxImage& src) {
  if (pDib != nullptr) return;
  info = src.info;
  // Without a DIB of its own this object has no rows to point at and shares nobody's buffers.
  info.pImage = nullptr;
  info.pGhost = nullptr;
  info.nNumLayers = 0;
}

bool IxImage::Transfer(IxImage& from) {
  if (&from == this) return true;
  if (!Destroy()) return false;
  head = from.head;
  info = from.info;
  pDib = from.pDib;
  pSelection = from.pSelection;
  pAlpha = from.pAlpha;
  ppLayers = from.ppLayers;
  memset(&from.head, 0, sizeof(from.head));
  memset(&from.info, 0, sizeof(from.info));
  from.pDib = nullptr;
  from.pSelection = nullptr;
  from.pAlpha = nullptr;
  from.ppLayers = nullptr;
  return true;
}

void IxImage::Ghost(const IxImage* src) {
  if (src == nullptr || src == this) return;
  if (info.pGhost == nullptr) Destroy();  // a fresh ghost must not leak buffers of its own
  head = src->head;
  info = src->info;
  pDib = src->pDib;
  pSelection = src->pSelection;
  pAlpha = src->pAlpha;
  ppLayers = src->ppLayers;
  info.pGhost = const_cast<IxImage*>(src);
}

uint8_t* IxImage::GetBits(int32_t row) const {
  if (pDib == nullptr || row < 0) return nullptr;
  uint8_t* base = static_cast<uint8_t*>(pDib) + head.biSize + GetPaletteSize();
  if (row == 0) return base;
  if (row >= head.biHeight) return nullptr;
  return base + static_cast<size_t>(row) * info.dwEffWidth;
}

uint32_t IxImage::GetPaletteSize() const {
  if (head.biClrUsed == 0 || head.biBitCount > 8) return 0;
  return (1u << head.biBitCount) * 4;
}

uint32_t IxImage::GetSize() const { return head.biSize + GetPaletteSize() + head.biSizeImage; }

bool IxImage::IsInside(int64_t x, int64_t y) const {
  return x >= 0 && y >= 0 && x < head.biWidth && y < head.biHeight;
}

int32_t IxImage::DpiToPelsPerMeter(double dpi) {
  const double pels = std::floor(dpi * 10000.0 / 254.0 + 0.5);
  if (!(pels >= std::numeric_limits<int32_t>::min())) return std::numeric_limits<int32_t>::min();
  if (pels > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(pels);
}

void IxImage::SetXDPI(int32_t dpi) {
  if (dpi <= 0) dpi = 96;
  info.xDPI = dpi;
  head.biXPelsPerMeter = DpiToPelsPerMeter(dpi);
}

void IxImage::SetYDPI(int32_t dpi) {
  if (dpi <= 0) dpi = 96;
  info.yDPI = dpi;
  head.biYPelsPerMeter = DpiToPelsPerMeter(dpi);
}

void IxImage::GetOffset(int32_t* x, int32_t* y) const {
  if (x != nullptr) *x = info.xOffset;
  if (y != nullptr) *y = info.yOffset;
}

void IxImage::SetTransColor(IxRGBQuad rgb) {
  rgb.rgbReserved = 0;
  info.nBkgndColor = rgb;
}

IxRGBQuad IxImage::GetTransColor() const {
  if (head.biBitCount < 24 && info.nBkgndIndex >= 0 && info.nBkgndIndex < 256) {
    return GetPaletteColor(static_cast<uint8_t>(info.nBkgndIndex));
  }
  return info.nBkgndColor;
}

uint8_t IxImage::GetColorType() const {
  if (pAlpha != nullptr) return 4;
  return head.biBitCount <= 8 ? 1 : 2;
}

uint32_t IxImage::GetCodecOption(uint32_t imagetype) const {
  if (imagetype == 0) imagetype = info.dwType;
  if (imagetype >= IXIMAGE_FORMATS) return 0;
  return info.dwCodecOpt[imagetype];
}

bool IxImage::SetCodecOption(uint32_t opt, uint32_t imagetype) {
  if (imagetype == 0) imagetype = info.dwType;
  if (imagetype >= IXIMAGE_FORMATS) return false;
  info.dwCodecOpt[imagetype] = opt;
  return true;
}

void IxImage::WriteInfoHeader(const IxBitmapInfoHeader& h, uint8_t* out) {
  PutLE32(out + 0, h.biSize);
  PutLE32(out + 4, static_cast<uint32_t>(h.biWidth));
  PutLE32(out + 8, static_cast<uint32_t>(h.biHeight));
  PutLE16(out + 12, h.biPlanes);
  PutLE16(out + 14, h.biBitCount);
  PutLE32(out + 16, h.biCompression);
  PutLE32(out + 20, h.biSizeImage);
  PutLE32(out + 24, static_cast<uint32_t>(h.biXPelsPerMeter));
  PutLE32(out + 28, static_cast<uint32_t>(h.biYPelsPerMeter));
  PutLE32(out + 32, h.biClrUsed);
  PutLE32(out + 36, h.biClrImportant);
}

IxBitmapInfoHeader IxImage::ReadInfoHeader(const uint8_t* in) {
  IxBitmapInfoHeader h;
  h.biSize = GetLE32(in + 0);
  h.biWidth = static_cast<int32_t>(GetLE32(in + 4));
  h.biHeight = static_cast<int32_t>(GetLE32(in + 8));
  h.biPlanes = GetLE16(in + 12);
  h.biBitCount = GetLE16(in + 14);
  h.biCompression = GetLE32(in + 16);
  h.biSizeImage = GetLE32(in + 20);
  h.biXPelsPerMeter = static_cast<int32_t>(GetLE32(in + 24));
  h.biYPelsPerMeter = static_cast<int32_t>(GetLE32(in + 28));
  h.biClrUsed = GetLE32(in + 32);
  h.biClrImportant = GetLE32(in + 36);
  return h;
}
