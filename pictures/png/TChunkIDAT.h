// TChunkIDAT: the image data. Loading reads every consecutive IDAT chunk as one zlib stream,
// undoes the row filters and Adam7 interlacing and fills the header's storage with the file's
// samples; saving encodes the storage again, choosing a filter for each row, into IDAT chunks
// of at most the image's maximum IDAT size.
#pragma once

#include <cstdint>
#include <vector>

#include "pictures/png/TChunk.h"

class TChunkIDAT : public TChunk {
 public:
  static constexpr const char* kChunkName = "IDAT";
  explicit TChunkIDAT(TPNGObject* owner) : TChunk(owner, kChunkName) {}
  const char* GetName() const override { return kChunkName; }

  bool LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) override;
  bool SaveToStream(TStream* stream) override;

  // Bytes of one unfiltered row of n pixels.
  static std::uint64_t RowLength(std::uint8_t colorType, std::uint8_t bitDepth, std::uint64_t n);
  // Bytes of one whole pixel (1 for packed pixels): the distance the row filters look back.
  static std::uint32_t PixelOffset(std::uint8_t colorType, std::uint8_t bitDepth);

 private:
  struct Reader;
  struct Writer;

  void PreparePalette();
  void DecodeNonInterlaced(Reader& reader);
  void DecodeInterlacedAdam7(Reader& reader);
  void EncodeNonInterlaced(Writer& writer);
  void EncodeInterlacedAdam7(Writer& writer);
  // Reads one filtered row into the current row buffer; false when the data ran out.
  bool ReadRow(Reader& reader);
  void FilterRow();
  // Places `cols` pixels of a file row at columns colStart + k * colInc of image row y.
  void CopyRow(const std::uint8_t* src, std::uint32_t y, std::uint32_t colStart, std::uint32_t colInc,
               std::uint32_t cols);
  // Builds the file row of those pixels into the current raw row.
  void EncodeRow(std::uint32_t y, std::uint32_t colStart, std::uint32_t colInc, std::uint32_t cols);
  // Fills the filter buffers and returns the type to write.
  int FilterToEncode();
  void WriteRow(Writer& writer);

  TChunkIHDR* header_ = nullptr;
  std::uint32_t imageWidth_ = 0, imageHeight_ = 0;
  std::uint8_t colorType_ = 0, bitDepth_ = 0;
  std::uint32_t rowBytes_ = 0, offset_ = 0;
  std::vector<std::uint8_t> encode_[6];
  std::vector<std::uint8_t> rows_[2];
  bool rowSelector_ = false;
};
