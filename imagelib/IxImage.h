// The one picture type of the image library: a device-independent bitmap (40-byte header,
// palette, bottom-up pixel rows in one heap block) with the information block that carries the
// format, last error, resolution, transparency and codec settings. Format classes (IxImageBMP,
// IxImageJPG, ...) derive from it and add only their codec; loading and saving by format id
// builds a short-lived format object per call (IxImageCodec.cpp, IxFormatTable.cpp).
//
// Coordinates are (x, y) with y = 0 the bottom stored row. Indexed pictures (1, 4, 8 bits per
// pixel) hold palette indices, leftmost pixel in the most significant bits; 24-bit pictures hold
// blue, green, red.
//
// Palette layout: the DIB block always reserves 2^bpp palette entries for an indexed picture, so a
// decoder may lower "colours used" in the header without moving the pixel area.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "imagelib/IxImageTypes.h"

class IxFile;

class IxImage {
 public:
  // Construction and destruction.
  explicit IxImage(uint32_t imagetype = 0);
  IxImage(int32_t width, int32_t height, uint32_t bpp, uint32_t imagetype = 0);
  IxImage(const IxImage& src, bool copypixels, bool copyselection, bool copyalpha);
  IxImage(const char* filename, uint32_t imagetype);
  virtual ~IxImage();
  IxImage(const IxImage&) = delete;
  IxImage& operator=(const IxImage&) = delete;

  // Life cycle.
  void* Create(int32_t width, int32_t height, uint32_t bpp, uint32_t imagetype = 0);
  bool Destroy();
  void Clear(uint8_t bval = 0);
  void Copy(const IxImage& src, bool copypixels = true, bool copyselection = true, bool copyalpha = true);
  void CopyInfo(const IxImage& src);
  bool Transfer(IxImage& from);
  void Ghost(const IxImage* src);

  // Geometry and buffers.
  uint8_t* GetBits(int32_t row = 0) const;
  uint32_t GetSize() const;
  bool IsInside(int64_t x, int64_t y) const;
  bool IsValid() const { return pDib != nullptr; }

  // Resolution.
  void SetXDPI(int32_t dpi);
  void SetYDPI(int32_t dpi);
  int32_t GetXDPI() const { return info.xDPI; }
  int32_t GetYDPI() const { return info.yDPI; }

  // Accessors.
  uint32_t GetWidth() const { return static_cast<uint32_t>(head.biWidth); }
  uint32_t GetHeight() const { return static_cast<uint32_t>(head.biHeight); }
  uint16_t GetBpp() const { return head.biBitCount; }
  uint32_t GetNumColors() const { return head.biClrUsed; }
  uint32_t GetEffWidth() const { return info.dwEffWidth; }
  uint32_t GetType() const { return info.dwType; }
  const char* GetLastError() const { return info.szLastError; }
  void SetJpegQuality(uint8_t q) { info.nQuality = q; }
  uint8_t GetJpegQuality() const { return info.nQuality; }
  uint8_t GetJpegScale() const { return info.nJpegScale; }
  void SetJpegScale(uint8_t scale) { info.nJpegScale = scale; }
  void SetOffset(int32_t x, int32_t y) {
    info.xOffset = x;
    info.yOffset = y;
  }
  void GetOffset(int32_t* x, int32_t* y) const;
  int32_t GetTransIndex() const { return info.nBkgndIndex; }
  void SetTransIndex(int32_t idx) { info.nBkgndIndex = idx; }
  void SetTransColor(IxRGBQuad rgb);
  IxRGBQuad GetTransColor() const;
  bool IsTransparent() const { return info.nBkgndIndex >= 0; }
  bool IsIndexed() const { return head.biClrUsed != 0; }
  uint8_t GetColorType() const;
  // Bytes of palette in the DIB block: 2^bpp entries for an indexed picture, none at 24 bits.
  uint32_t GetPaletteSize() const;
  int32_t GetFrame() const { return info.nFrame; }
  void SetFrame(int32_t frame) { info.nFrame = frame; }
  int32_t GetNumFrames() const { return info.nNumFrames; }
  uint32_t GetFrameDelay() const { return info.dwFrameDelay; }
  void SetFrameDelay(uint32_t d) { info.dwFrameDelay = d; }
  int32_t GetEscape() const { return info.nEscape; }
  void SetEscape(int32_t escape) { info.nEscape = escape; }
  int32_t GetProgress() const { return info.nProgress; }
  bool IsEnabled() const { return info.bEnabled != 0; }
  void Enable(bool enable = true) { info.bEnabled = enable ? 1 : 0; }
  const IxBitmapInfoHeader& GetHeader() const { return head; }
  const IxImageInfo& GetInfo() const { return info; }

  // Codec option words, indexed by format id (0: this object's own format).
  uint32_t GetCodecOption(uint32_t imagetype = 0) const;
  bool SetCodecOption(uint32_t opt, uint32_t imagetype = 0);

  // Loading, decoding and encoding by format id (IxImageCodec.cpp).
  bool Load(const char* filename, uint32_t imagetype = 0);
  bool Decode(FILE* hFile, uint32_t imagetype);
  bool Decode(IxFile* hFile, uint32_t imagetype);
  bool Save(const char* filename, uint32_t imagetype);
  bool Encode(FILE* hFile, uint32_t imagetype);
  bool Encode(IxFile* hFile, uint32_t imagetype);
  // True means refuse: no stream, or no picture (last error says which).
  bool EncodeSafeCheck(IxFile* hFile);

  // Palette (IxImagePixels.cpp).
  IxRGBQuad* GetPalette() const;
  IxRGBQuad GetPaletteColor(uint8_t idx) const;
  bool GetPaletteColor(uint8_t idx, uint8_t* r, uint8_t* g, uint8_t* b) const;
  void SetPaletteColor(uint8_t idx, uint8_t r, uint8_t g, uint8_t b, uint8_t alpha = 0);
  void SetPaletteColor(uint8_t idx, IxRGBQuad c);
  void SetPalette(const IxRGBQuad* pPal, uint32_t nColors = 256);
  void SetPalette(uint32_t n, const uint8_t* r, const uint8_t* g = nullptr, const uint8_t* b = nullptr);
  // Table of red-green-blue triples.
  void SetPaletteRGB(const uint8_t* rgb, uint32_t nColors);
  void SetGrayPalette();
  bool IsGrayScale() const;
  void SwapIndex(uint8_t idx1, uint8_t idx2);
  uint8_t GetNearestIndex(IxRGBQuad c);

  // Pixels.
  uint8_t GetPixelIndex(int64_t x, int64_t y) const;
  uint8_t BlindGetPixelIndex(int64_t x, int64_t y) const;
  void SetPixelIndex(int64_t x, int64_t y, uint8_t i);
  IxRGBQuad GetPixelColor(int64_t x, int64_t y, bool bGetAlpha = true) const;
  void SetPixelColor(int64_t x, int64_t y, IxRGBQuad c, bool bSetAlpha = false);
  void SetPixelColor(int64_t x, int64_t y, IxColorRef cr);
  uint8_t* BlindGetPixelPointer(int64_t x, int64_t y) const;
  static IxRGBQuad RGBtoRGBQUAD(IxColorRef cr);
  void RGBtoBGR(uint8_t* buffer, size_t length) const;
  // Fills the 24-bit pixel area from packed pixels (bottom-up rows) of 16 or 32 bits. Each channel
  // is placed by its mask (lowest set bit and width) and scaled to 8 bits, a narrow one over the
  // whole range. At 32 bits, all-zero masks mean bytes 0, 1, 2 are blue, green, red. The source may
  // lie inside the pixel area: it is read from the last pixel backwards. srcLength bounds what is
  // read from src. With an alpha mask and an alpha plane the plane is filled too; a plane left all
  // 0 is deleted (the picture is opaque).
  void Bitfield2RGB(const uint8_t* src, size_t srcLength, uint32_t redmask, uint32_t greenmask,
                    uint32_t bluemask, uint8_t bpp, uint32_t alphamask = 0);
  static int32_t CompareColors(const IxRGBQuad& a, const IxRGBQuad& b);

  // Alpha plane.
  bool AlphaIsValid() const { return pAlpha != nullptr; }
  void AlphaCreate();
  void AlphaDelete();
  void AlphaSet(int64_t x, int64_t y, uint8_t a);
  uint8_t AlphaGet(int64_t x, int64_t y) const;
  uint8_t BlindAlphaGet(int64_t x, int64_t y) const;
  bool AlphaPaletteIsValid() const;
  bool AlphaFlip();
  bool AlphaMirror();
  uint8_t* AlphaGetPointer() const { return pAlpha; }

  // Selection.
  void SelectionDelete();
  bool SelectionIsInside(int64_t x, int64_t y) const;
  bool SelectionIsValid() const { return pSelection != nullptr; }

  // Resampling and transforms (IxImageResample.cpp, IxImageTransform.cpp).
  bool Resample(int32_t newx, int32_t newy, int mode = 1, IxImage* iDst = nullptr);
  static float KernelBSpline(float x);
  bool Flip();
  bool Mirror();
  bool RotateLeft(IxImage* iDst = nullptr);
  bool RotateRight(IxImage* iDst = nullptr);
  bool Negative();

  // The header copy as its 40 little-endian bytes, and back.
  static void WriteInfoHeader(const IxBitmapInfoHeader& h, uint8_t* out40);
  static IxBitmapInfoHeader ReadInfoHeader(const uint8_t* in40);

 protected:
  void Startup(uint32_t imagetype);
  bool Rotate90(IxImage* iDst, bool clockwise);
  // Stores at most 255 characters of text as the last error.
  void SetLastError(const char* text);
  // Create for a decoder that writes every byte of every row itself, row padding included, and
  // clears the rows it has not written when it stops early: header and palette start cleared,
  // the pixel area as allocated.
  void* CreateUncleared(int32_t width, int32_t height, uint32_t bpp, uint32_t imagetype);
  // A decoder's refusal: stores the reason as the last error and answers false.
  bool Fail(const char* text) {
    SetLastError(text);
    return false;
  }
  bool Fail(const std::string& text) { return Fail(text.c_str()); }
  // pixels per metre for a dpi value, computed in double and clamped to the int range.
  static int32_t DpiToPelsPerMeter(double dpi);

  void* pDib;  // header, palette, pixels
  IxBitmapInfoHeader head;
  IxImageInfo info;
  uint8_t* pSelection;
  uint8_t* pAlpha;
  IxImage** ppLayers;

  friend class CImageIterator;

 private:
  void* CreateBlock(int32_t width, int32_t height, uint32_t bpp, uint32_t imagetype, bool clearPixels);
};
