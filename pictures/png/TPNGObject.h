// TPNGObject: the PNG picture. It holds the chunks of one image in file order; the header
// chunk holds the pixels as the file gives them, and gamma applies only where display colours
// are made (the colour tables of grey and palette images, a display copy of truecolour pixels,
// and the blending of transparent pixels).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "pictures/png/TChunkIHDR.h"
#include "pictures/png/TPNGList.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TColor.h"
#include "platform/forms/TGraphic.h"

class TChunkpHYs;

enum TFilter { pfNone, pfSub, pfUp, pfAverage, pfPaeth };
// A set of filters: bit (1 << filter) for each.
using TFilters = std::uint8_t;
constexpr TFilters FilterBit(TFilter f) { return TFilters(1u << f); }
constexpr TFilters kAllFilters = 0x1F;
using TCompressionLevel = int;
enum TInterlaceMethod { imNone, imAdam7 };
enum TPNGTransparencyMode { ptmNone, ptmBit, ptmPartial };

class TPNGObject : public TGraphic {
 public:
  TPNGObject();
  // A blank image (EPNGInvalidSpec for a type and depth the format does not define, or a size
  // outside 1 .. 65535); bit depth 2 is held as 4.
  TPNGObject(unsigned colorType, unsigned bitDepth, int width, int height);
  ~TPNGObject() override;

  BYTE GammaTable[256];
  BYTE InverseGamma[256];
  TFilters Filters = FilterBit(pfSub);
  TCompressionLevel CompressionLevel = 7;
  TInterlaceMethod InterlaceMethod = imNone;

  std::uint32_t MaxIdatSize() const { return maxIdatSize_; }
  // At least 65535, at most 2^31 - 1.
  void SetMaxIdatSize(std::uint32_t value);
  TCanvas* Canvas() { return canvas_.get(); }
  TPNGList* Chunks() { return &chunks_; }
  bool BeingCreated() const { return beingCreated_; }
  static AnsiString GetLibraryVersion() { return "1.564"; }

  void ClearChunks();
  void InitializeGamma();
  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;
  void LoadFromResourceName(HINSTANCE instance, const AnsiString& name);
  void LoadFromResourceID(HINSTANCE instance, int id);
  void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) override;
  void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) override;

  bool HeaderPresent() const;
  // EPNGHeaderNotPresent without one.
  TChunkIHDR* GetHeader() const;
  void GetPixelInfo(std::uint32_t& rowBytes, std::uint32_t& offset) const;
  // Rows counted from the top; null where the plane does not exist.
  std::uint8_t* GetScanline(std::uint32_t row);
  std::uint8_t* GetExtraScanline(std::uint32_t row);
  std::uint8_t* GetAlphaScanline(std::uint32_t row);

  TPNGTransparencyMode GetTransparencyMode();
  TColor GetTransparentColor();
  void SetTransparentColor(TColor color);
  void RemoveTransparency();
  void CreateAlpha();
  void DoSetPalette(HPALETTE palette, bool updateColorTable);

  // Pixels in the file's values: palette images give their palette colour, grey images the
  // grey expanded to 8 bits, 16-bit images their high bytes. 0 outside the image.
  virtual TColor GetPixels(int x, int y);
  virtual void SetPixels(int x, int y, TColor color);
  // EPNGInvalidNewSize below 1; keeps the top-left pixels, new alpha opaque.
  void Resize(int width, int height);

  void Assign(TPersistent* source) override;
  void AssignPNG(TPNGObject* source);
  void AssignHandle(HBITMAP bitmap, bool transparent, COLORREF transparentColor);

  void AddtEXt(const AnsiString& keyword, const AnsiString& text);
  void AddzTXt(const AnsiString& keyword, const AnsiString& text);
  bool HasPixelInformation();
  TChunkpHYs* GetPixelInformation();
  void DrawUsingPixelInformation(TCanvas* canvas, POINT point);

  // The pixels changed: the display copy is made again when next needed, and the image no
  // longer is the one that was loaded.
  void ImageChanged() {
    displayValid_ = false;
    imageAsLoaded_ = false;
  }

 protected:
  void AssignTo(TPersistent* dest) override;
  void Draw(TCanvas* canvas, const RECT& rect) override;
  bool GetEmpty() const override { return chunks_.Count() == 0; }
  int GetWidth() const override;
  int GetHeight() const override;
  HPALETTE GetPalette() override;
  void SetPaletteImpl(HPALETTE palette) override { DoSetPalette(palette, true); }
  bool GetTransparent() const override;
  void SetWidthImpl(int value) override { Resize(value, GetHeight()); }
  void SetHeightImpl(int value) override { Resize(GetWidth(), value); }

 private:
  // Blends the image over the target, pixel by pixel, with its alpha (partial transparency)
  // or its transparent colour (bit transparency).
  void DrawTransparent(HDC dc, RECT rect, bool bitMode);
  // The bits StretchDIBits shows: the stored ones, or their display copy through the gamma
  // table for truecolour images.
  const std::uint8_t* DisplayBits();
  bool GammaIsIdentity() const;
  // The bitmap's value (palette index, grey index) of a pixel of a 1, 4 or 8-bit image.
  std::uint8_t StoredIndex(std::uint32_t x, std::uint32_t y);
  // True where the stored pixel equals the transparent sample of the tRNS chunk.
  bool IsTransparentSample(std::uint32_t x, std::uint32_t y, class TChunktRNS* trns);
  // Gives grey images below 8 bits an 8-bit storage (values expanded), for alpha.
  void WidenGrayTo8();
  // A new chunk of the same class as `from`, owned by this image.
  TChunk* CreateChunkLike(TChunk* from);

  std::unique_ptr<TCanvas> canvas_;
  TPNGList chunks_;
  std::uint32_t maxIdatSize_ = 65535;
  bool beingCreated_ = false;
  std::vector<std::uint8_t> displayBits_;
  bool displayValid_ = false;
  // The header as loaded, and whether palette and pixels are still as loaded: chunks this class
  // does not know that depend on the image data are saved only beside the image they came with.
  std::vector<std::uint8_t> loadedHeader_;
  bool imageAsLoaded_ = false;
};
