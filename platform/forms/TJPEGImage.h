// TJPEGImage: the form library's JPEG picture over libjpeg. A loaded file is kept as it came
// and decoded once, to 24 bits (8 for grey), into a cached bitmap that Draw uses; Assign from a
// bitmap takes its pixels, and Compress writes a baseline JFIF file at CompressionQuality.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/forms/TBitmap.h"
#include "platform/forms/TGraphic.h"

enum TJPEGPixelFormat { jf24Bit, jf8Bit };
enum TJPEGScale { jsFullSize, jsHalf, jsQuarter, jsEighth };
enum TJPEGPerformance { jpBestQuality, jpBestSpeed };

class TJPEGImage : public TGraphic {
 public:
  TJPEGImage();
  ~TJPEGImage() override;

  int CompressionQuality = 90;  // 1-100
  TJPEGPixelFormat PixelFormat = jf24Bit;
  bool Grayscale = false;
  TJPEGScale Scale = jsFullSize;
  TJPEGPerformance Performance = jpBestQuality;

  // Makes the compressed data from the bitmap when there is none.
  void Compress();
  // Decodes the data into the cached bitmap when it is not there yet.
  void DIBNeeded();
  // The decoded pixels (decoded on demand).
  TBitmap* Bitmap();

  void LoadFromStream(TStream* stream) override;
  void SaveToStream(TStream* stream) override;
  void Assign(TPersistent* source) override;

 protected:
  // The "Data" form: a 4-byte size, then the file image.
  void ReadData(TStream* stream) override;
  void WriteData(TStream* stream) override;
  void AssignTo(TPersistent* dest) override;
  void Draw(TCanvas* canvas, const RECT& rect) override;
  bool GetEmpty() const override;
  int GetWidth() const override;
  int GetHeight() const override;
  void SetWidthImpl(int) override {}
  void SetHeightImpl(int) override {}

 private:
  std::vector<std::uint8_t> data_;  // the JPEG file
  std::unique_ptr<TBitmap> bitmap_;
  int width_ = 0, height_ = 0;
};
