// TBitmap: a picture held as a device-independent bitmap of a chosen pixel format, with a
// canvas to draw on it, scan-line access (row 0 is the top row), transparency by a colour
// (tmAuto: the bottom-left pixel's), and BMP file images as its stream form. Assign shares
// the pixels; the first change makes a private copy. A 1-, 4- or 8-bit bitmap has a palette
// made from its colour table.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/BmpFile.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TColor.h"
#include "platform/forms/TGraphic.h"
#include "platform/gdi/OwnedGdiObject.h"

class TCustomMemoryStream;

enum TPixelFormat { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
enum TBitmapHandleType { bmDIB, bmDDB };
enum TTransparentMode { tmAuto, tmFixed };

class TBitmap : public TGraphic {
 public:
  TBitmap();
  ~TBitmap() override;

  TCanvas* Canvas();
  // The bitmap's handle (null while empty); it stays the bitmap's.
  HBITMAP Handle();
  // Hands the handle over to the caller; the bitmap becomes empty.
  HBITMAP ReleaseHandle();
  TBitmapHandleType HandleType() const { return bmDIB; }
  TPixelFormat PixelFormat() const { return pixelFormat_; }
  // Converts the pixels (pfDevice is 32 bits).
  void SetPixelFormat(TPixelFormat value);
  bool Monochrome() const { return pixelFormat_ == pf1bit; }
  void SetMonochrome(bool value);
  // Valid until the next change; EInvalidGraphic "Scan line index out of range" outside.
  void* ScanLine(int row);
  void SetSize(int width, int height);

  TTransparentMode TransparentMode() const { return transparentMode_; }
  void SetTransparentMode(TTransparentMode value);
  // tmAuto: the bottom-left pixel's colour; tmFixed: the colour set.
  TColor TransparentColor();
  void SetTransparentColor(TColor value);
  // A monochrome mask: 1 (white) where the picture has its transparent colour. Kept by the bitmap.
  HBITMAP MaskHandle();

  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;
  void LoadFromClipboardFormat(WORD format, HANDLE data, HPALETTE palette) override;
  void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& palette) override;
  void Assign(TPersistent* source) override;
  // A bitmap resource of the program: a packed DIB, or a whole BMP file image. EResNotFound
  // "Resource %s not found" when absent; the bitmap is unchanged when the data are bad.
  void LoadFromResourceName(HINSTANCE instance, const AnsiString& name);
  void LoadFromResourceID(HINSTANCE instance, int id);

  // The pixels as a DIB image (top-down rows), for writers and converters.
  TDibImage ToDibImage();
  void FromDibImage(const TDibImage& image);

 protected:
  // The "Data" form: a 4-byte size, then the file image.
  void ReadData(TStream* stream) override;
  void WriteData(TStream* stream) override;
  void Draw(TCanvas* canvas, const RECT& rect) override;
  bool GetEmpty() const override;
  int GetWidth() const override;
  int GetHeight() const override;
  void SetWidthImpl(int value) override { SetSize(value, GetHeight()); }
  void SetHeightImpl(int value) override { SetSize(GetWidth(), value); }
  // A palette of the colour table, kept by the bitmap (null for deeper or empty bitmaps).
  HPALETTE GetPalette() override;
  // Copies the palette's entries into the colour table (up to 2^bits); the caller keeps it.
  void SetPaletteImpl(HPALETTE value) override;

 private:
  struct Image;
  class TBitmapCanvas;
  // Reads a packed DIB (a BMP file image without its 14-byte file header).
  void LoadPackedDib(const std::uint8_t* data, std::size_t size);
  void LoadResourceBytes(TCustomMemoryStream& stream);
  friend class TBitmapCanvas;

  void Unshare();
  void Replace(std::shared_ptr<Image> image);
  void FreeContext();
  void FreeMask();
  class SourceDC;

  std::shared_ptr<Image> image_;
  TPixelFormat pixelFormat_ = pfDevice;
  std::unique_ptr<TBitmapCanvas> canvas_;
  TTransparentMode transparentMode_ = tmAuto;
  TColor transparentColor_ = clDefault;
  OwnedGdiObject<HBITMAP> mask_;
  OwnedGdiObject<HPALETTE> palette_;
};
