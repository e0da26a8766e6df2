#include "pictures/png/TChunkIDAT.h"

#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "pictures/png/PngCrc.h"
#include "pictures/png/PngExceptions.h"
#include "pictures/png/TChunkIHDR.h"
#include "pictures/png/TPNGObject.h"
#include "platform/gdi/Gdi.h"

namespace {
constexpr std::uint32_t kRowStart[7] = {0, 0, 4, 0, 2, 0, 1};
constexpr std::uint32_t kColumnStart[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr std::uint32_t kRowIncrement[7] = {8, 8, 8, 4, 4, 2, 2};
constexpr std::uint32_t kColumnIncrement[7] = {8, 8, 4, 4, 2, 2, 1};
constexpr std::uint32_t kInputPiece = 65535;

[[noreturn]] void RaiseZlib(int result) {
  throw EPNGZLIBError(AnsiString(std::string(pngtext::ZLIBError) + pngtext::ZLIBErrors(result)));
}

std::uint32_t PassColumns(std::uint32_t width, int pass) {
  return (width + kColumnIncrement[pass] - kColumnStart[pass] - 1) / kColumnIncrement[pass];
}

// The bit field of pixel x in a packed row, most significant bits first.
inline std::uint8_t GetField(const std::uint8_t* row, std::uint32_t x, int bits) {
  const std::uint32_t bit = x * std::uint32_t(bits);
  return std::uint8_t((row[bit >> 3] >> (8 - bits - int(bit & 7))) & ((1 << bits) - 1));
}
inline void SetField(std::uint8_t* row, std::uint32_t x, int bits, std::uint8_t value) {
  const std::uint32_t bit = x * std::uint32_t(bits);
  const int shift = 8 - bits - int(bit & 7);
  const std::uint8_t mask = std::uint8_t(((1 << bits) - 1) << shift);
  row[bit >> 3] = std::uint8_t((row[bit >> 3] & ~mask) | ((value << shift) & mask));
}

inline std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return std::uint8_t(a);
  return std::uint8_t(pb <= pc ? b : c);
}
}  // namespace

// The inflate side: the zlib stream over the consecutive IDAT chunks, with the running CRC of
// the chunk being read.
struct TChunkIDAT::Reader {
  TStream* stream = nullptr;
  z_stream z{};
  bool open = false;
  bool ended = false;  // the zlib stream is complete
  std::vector<std::uint8_t> input;
  std::int64_t endPosition = 0;
  std::uint32_t crc = 0;

  ~Reader() {
    if (open) inflateEnd(&z);
  }

  void CheckChunkCrc() {
    std::uint8_t stored[4];
    if (!ReadFully(stream, stored, 4) || ReadBigEndian32(stored) != ~crc)
      RaiseError<EPngInvalidCRC>(pngtext::InvalidCRC);
  }

  // The next IDAT chunk's header, after the CRC of the one just finished.
  void NextChunk() {
    CheckChunkCrc();
    std::uint8_t head[8];
    if (!ReadFully(stream, head, 8)) RaiseError<EPngUnexpectedEnd>(pngtext::UnexpectedEnd);
    if (std::memcmp(head + 4, "IDAT", 4) != 0)
      RaiseError<EPNGMissingMultipleIDAT>(pngtext::MissingMultipleIDAT);
    const std::uint32_t length = ReadBigEndian32(head);
    if (length > kMaxChunkLength) RaiseError<EPngUnexpectedEnd>(pngtext::UnexpectedEnd);
    crc = update_crc(0xFFFFFFFFu, head + 4, 4);
    endPosition = stream->Position() + length;
  }

  // Fills `count` bytes; returns how many were produced before the data ran out.
  std::size_t Read(std::uint8_t* buffer, std::size_t count) {
    z.next_out = buffer;
    z.avail_out = uInt(count);
    while (z.avail_out > 0 && !ended) {
      if (z.avail_in == 0 && stream->Position() >= endPosition) {
        NextChunk();
        continue;  // an empty IDAT chunk moves on to the next one
      }
      if (z.avail_in == 0) {
        const std::int64_t left = endPosition - stream->Position();
        const int want = int(std::min<std::int64_t>(left, kInputPiece));
        const int got = stream->Read(input.data(), want);
        if (got <= 0) break;
        crc = update_crc(crc, input.data(), std::size_t(got));
        z.next_in = input.data();
        z.avail_in = uInt(got);
      }
      const int result = inflate(&z, Z_NO_FLUSH);
      if (result == Z_STREAM_END) {
        ended = true;
      } else if (result != Z_OK) {
        RaiseZlib(result);
      }
    }
    return count - z.avail_out;
  }

  // Runs the CRC over the rest of the current chunk and checks it.
  void Finish() {
    std::int64_t left = endPosition - stream->Position();
    while (left > 0) {
      const int want = int(std::min<std::int64_t>(left, kInputPiece));
      if (!ReadFully(stream, input.data(), std::size_t(want)))
        RaiseError<EPngInvalidCRC>(pngtext::InvalidCRC);
      crc = update_crc(crc, input.data(), std::size_t(want));
      left -= want;
    }
    CheckChunkCrc();
  }
};

// The deflate side: output gathered into one IDAT chunk until it holds the maximum size.
struct TChunkIDAT::Writer {
  TStream* stream = nullptr;
  z_stream z{};
  bool open = false;
  std::vector<std::uint8_t> output;
  std::size_t used = 0;
  std::size_t maxSize = 65535;

  ~Writer() {
    if (open) deflateEnd(&z);
  }

  void WriteChunk() {
    if (used == 0) return;
    ::WriteChunk(stream, "IDAT", output.data(), std::uint32_t(used));
    used = 0;
  }

  // One deflate call into the free part of the chunk buffer (grown as the data needs it).
  int Step(int flush) {
    if (used == maxSize) WriteChunk();
    const std::size_t piece = std::min<std::size_t>(maxSize - used, 1u << 16);
    if (output.size() < used + piece) output.resize(used + piece);
    z.next_out = output.data() + used;
    z.avail_out = uInt(piece);
    const int result = deflate(&z, flush);
    used += piece - z.avail_out;
    if (result == Z_STREAM_ERROR || (result < 0 && result != Z_BUF_ERROR)) RaiseZlib(result);
    return result;
  }

  void Write(const std::uint8_t* data, std::size_t length) {
    z.next_in = const_cast<Bytef*>(data);
    z.avail_in = uInt(length);
    while (z.avail_in > 0) {
      const uInt before = z.avail_in;
      const std::size_t usedBefore = used;
      const int result = Step(Z_NO_FLUSH);
      if (result == Z_BUF_ERROR && z.avail_in == before && used == usedBefore) RaiseZlib(result);
    }
    if (used == maxSize) WriteChunk();
  }

  void Finish() {
    for (;;) {
      const std::size_t usedBefore = used;
      const int result = Step(Z_FINISH);
      if (result == Z_STREAM_END) break;
      if (result == Z_BUF_ERROR && used == usedBefore) RaiseZlib(result);
    }
    WriteChunk();
  }
};

std::uint64_t TChunkIDAT::RowLength(std::uint8_t colorType, std::uint8_t bitDepth, std::uint64_t n) {
  switch (colorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE:
      return (n * bitDepth + 7) / 8;
    case COLOR_RGB:
      return n * bitDepth * 3 / 8;
    case COLOR_GRAYSCALEALPHA:
      return n * bitDepth * 2 / 8;
    case COLOR_RGBALPHA:
      return n * bitDepth * 4 / 8;
    default:
      return 0;
  }
}

std::uint32_t TChunkIDAT::PixelOffset(std::uint8_t colorType, std::uint8_t bitDepth) {
  if (colorType == COLOR_GRAYSCALE || colorType == COLOR_PALETTE) return bitDepth == 16 ? 2 : 1;
  return std::uint32_t(RowLength(colorType, bitDepth, 1));
}

void TChunkIDAT::PreparePalette() {
  if (!header_->HasPalette) return;
  if (colorType_ != COLOR_GRAYSCALE && colorType_ != COLOR_GRAYSCALEALPHA) return;
  // The gamma chunk may have come after the header: the grey table is made again through it.
  owner_->SetPalette(header_->CreateGrayscalePalette(header_->BitmapInfo.bmiHeader.biBitCount));
}

bool TChunkIDAT::LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) {
  header_ = GetHeader();
  if (size > kMaxChunkLength) RaiseError<EPngUnexpectedEnd>(pngtext::UnexpectedEnd);
  imageWidth_ = header_->IHDRData.Width;
  imageHeight_ = header_->IHDRData.Height;
  colorType_ = header_->IHDRData.ColorType;
  bitDepth_ = header_->IHDRData.BitDepth;
  offset_ = PixelOffset(colorType_, bitDepth_);
  PreparePalette();

  Reader reader;
  reader.stream = stream;
  reader.crc = update_crc(0xFFFFFFFFu, reinterpret_cast<const std::uint8_t*>(name.data()), 4);
  reader.input.resize(kInputPiece);
  if (inflateInit(&reader.z) != Z_OK) RaiseError<EPNGOutMemory>(pngtext::OutMemory);
  reader.open = true;
  reader.endPosition = stream->Position() + size;

  if (owner_->InterlaceMethod == imAdam7) {
    DecodeInterlacedAdam7(reader);
  } else {
    DecodeNonInterlaced(reader);
  }
  rows_[0].clear();
  rows_[1].clear();
  reader.Finish();
  owner_->ImageChanged();
  return true;
}

bool TChunkIDAT::ReadRow(Reader& reader) {
  std::vector<std::uint8_t>& row = rows_[rowSelector_];
  return reader.Read(row.data(), rowBytes_ + 1) == rowBytes_ + 1;
}

void TChunkIDAT::FilterRow() {
  std::uint8_t* row = rows_[rowSelector_].data() + 1;
  const std::uint8_t* above = rows_[!rowSelector_].data() + 1;
  const std::uint32_t n = rowBytes_, off = offset_;
  switch (rows_[rowSelector_][0]) {
    case 1:
      for (std::uint32_t x = off; x < n; ++x) row[x] = std::uint8_t(row[x] + row[x - off]);
      break;
    case 2:
      for (std::uint32_t x = 0; x < n; ++x) row[x] = std::uint8_t(row[x] + above[x]);
      break;
    case 3:
      for (std::uint32_t x = 0; x < n; ++x) {
        const int a = x >= off ? row[x - off] : 0;
        row[x] = std::uint8_t(row[x] + ((a + above[x]) >> 1));
      }
      break;
    case 4:
      for (std::uint32_t x = 0; x < n; ++x) {
        const int a = x >= off ? row[x - off] : 0;
        const int c = x >= off ? above[x - off] : 0;
        row[x] = std::uint8_t(row[x] + Paeth(a, above[x], c));
      }
      break;
    default:
      break;
  }
}

void TChunkIDAT::CopyRow(const std::uint8_t* src, std::uint32_t y, std::uint32_t colStart,
                         std::uint32_t colInc, std::uint32_t cols) {
  std::uint8_t* bits = header_->ImageData + std::uint64_t(header_->BytesPerRow) * (imageHeight_ - 1 - y);
  std::uint8_t* extra = header_->ExtraData() ? header_->ExtraData() + std::uint64_t(header_->BytesPerRow) *
                                                                          (imageHeight_ - 1 - y)
                                             : nullptr;
  std::uint8_t* alpha =
      header_->AlphaData() ? header_->AlphaData() + std::uint64_t(imageWidth_) * y : nullptr;
  std::uint8_t* alphaLow =
      header_->ExtraAlphaData() ? header_->ExtraAlphaData() + std::uint64_t(imageWidth_) * y : nullptr;
  switch (colorType_) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE:
      if (bitDepth_ == 16) {
        for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc) {
          bits[x] = src[2 * k];
          extra[x] = src[2 * k + 1];
        }
      } else if (bitDepth_ == 2) {
        // Held at 4 bits: palette indices as they are, grey v as 5v (the same grey of 16).
        const int scale = colorType_ == COLOR_GRAYSCALE ? 5 : 1;
        for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc)
          SetField(bits, x, 4, std::uint8_t(GetField(src, k, 2) * scale));
      } else if (colInc == 1) {
        std::memcpy(bits, src, rowBytes_);
      } else {
        for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc)
          SetField(bits, x, bitDepth_, GetField(src, k, bitDepth_));
      }
      break;
    case COLOR_RGB:
      if (bitDepth_ == 16) {
        for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc) {
          const std::uint8_t* s = src + 6 * k;
          std::uint8_t* d = bits + 3 * x;
          std::uint8_t* e = extra + 3 * x;
          d[0] = s[4], d[1] = s[2], d[2] = s[0];
          e[0] = s[5], e[1] = s[3], e[2] = s[1];
        }
      } else {
        for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc) {
          const std::uint8_t* s = src + 3 * k;
          std::uint8_t* d = bits + 3 * x;
          d[0] = s[2], d[1] = s[1], d[2] = s[0];
        }
      }
      break;
    case COLOR_GRAYSCALEALPHA:
      if (bitDepth_ == 16) {
        for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc) {
          const std::uint8_t* s = src + 4 * k;
          bits[x] = s[0], extra[x] = s[1], alpha[x] = s[2], alphaLow[x] = s[3];
        }
      } else {
        for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc) {
          bits[x] = src[2 * k];
          alpha[x] = src[2 * k + 1];
        }
      }
      break;
    case COLOR_RGBALPHA:
      if (bitDepth_ == 16) {
        for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc) {
          const std::uint8_t* s = src + 8 * k;
          std::uint8_t* d = bits + 3 * x;
          std::uint8_t* e = extra + 3 * x;
          d[0] = s[4], d[1] = s[2], d[2] = s[0];
          e[0] = s[5], e[1] = s[3], e[2] = s[1];
          alpha[x] = s[6], alphaLow[x] = s[7];
        }
      } else {
        for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc) {
          const std::uint8_t* s = src + 4 * k;
          std::uint8_t* d = bits + 3 * x;
          d[0] = s[2], d[1] = s[1], d[2] = s[0];
          alpha[x] = s[3];
        }
      }
      break;
    default:
      break;
  }
}

void TChunkIDAT::DecodeNonInterlaced(Reader& reader) {
  rowBytes_ = std::uint32_t(RowLength(colorType_, bitDepth_, imageWidth_));
  rows_[0].assign(rowBytes_ + 1, 0);
  rows_[1].assign(rowBytes_ + 1, 0);
  rowSelector_ = true;
  for (std::uint32_t y = 0; y < imageHeight_; ++y) {
    if (!ReadRow(reader)) return;
    FilterRow();
    CopyRow(rows_[rowSelector_].data() + 1, y, 0, 1, imageWidth_);
    rowSelector_ = !rowSelector_;
  }
}

void TChunkIDAT::DecodeInterlacedAdam7(Reader& reader) {
  const std::uint64_t widest = RowLength(colorType_, bitDepth_, imageWidth_) + 1;
  rows_[0].assign(widest, 0);
  rows_[1].assign(widest, 0);
  rowSelector_ = true;
  for (int pass = 0; pass < 7; ++pass) {
    const std::uint32_t cols = PassColumns(imageWidth_, pass);
    rowBytes_ = std::uint32_t(RowLength(colorType_, bitDepth_, cols));
    std::fill(rows_[!rowSelector_].begin(), rows_[!rowSelector_].end(), 0);
    if (rowBytes_ == 0) continue;
    for (std::uint32_t y = kRowStart[pass]; y < imageHeight_; y += kRowIncrement[pass]) {
      if (!ReadRow(reader)) break;
      FilterRow();
      CopyRow(rows_[rowSelector_].data() + 1, y, kColumnStart[pass], kColumnIncrement[pass], cols);
      rowSelector_ = !rowSelector_;
    }
  }
}

// ---- writing

bool TChunkIDAT::SaveToStream(TStream* stream) {
  header_ = GetHeader();
  imageWidth_ = header_->IHDRData.Width;
  imageHeight_ = header_->IHDRData.Height;
  colorType_ = header_->IHDRData.ColorType;
  // 2-bit images are held, and written, at 4 bits.
  bitDepth_ = header_->IHDRData.BitDepth == 2 ? 4 : header_->IHDRData.BitDepth;
  const std::uint64_t widest = RowLength(colorType_, bitDepth_, imageWidth_);
  offset_ = PixelOffset(colorType_, bitDepth_);
  const TFilters filters = owner_->Filters;
  encode_[0].assign(widest, 0);
  encode_[5].assign(widest, 0);
  for (int f = 1; f <= 4; ++f) {
    if (filters & (1 << f)) {
      encode_[f].assign(widest, 0);
    } else {
      encode_[f].clear();
    }
  }

  Writer writer;
  writer.stream = stream;
  writer.maxSize = owner_->MaxIdatSize();
  if (deflateInit(&writer.z, owner_->CompressionLevel) != Z_OK) RaiseZlib(Z_STREAM_ERROR);
  writer.open = true;
  if (owner_->InterlaceMethod == imAdam7) {
    EncodeInterlacedAdam7(writer);
  } else {
    EncodeNonInterlaced(writer);
  }
  for (auto& buffer : encode_) std::vector<std::uint8_t>().swap(buffer);
  return true;
}

void TChunkIDAT::EncodeRow(std::uint32_t y, std::uint32_t colStart, std::uint32_t colInc,
                           std::uint32_t cols) {
  const std::uint8_t* bits =
      header_->ImageData + std::uint64_t(header_->BytesPerRow) * (imageHeight_ - 1 - y);
  const std::uint8_t* extra =
      header_->ExtraData()
          ? header_->ExtraData() + std::uint64_t(header_->BytesPerRow) * (imageHeight_ - 1 - y)
          : nullptr;
  const std::uint8_t* alpha =
      header_->AlphaData() ? header_->AlphaData() + std::uint64_t(imageWidth_) * y : nullptr;
  const std::uint8_t* alphaLow =
      header_->ExtraAlphaData() ? header_->ExtraAlphaData() + std::uint64_t(imageWidth_) * y : nullptr;
  std::uint8_t* dst = encode_[5].data();
  switch (colorType_) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE:
      if (bitDepth_ == 16) {
        for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc) {
          dst[2 * k] = bits[x];
          dst[2 * k + 1] = extra ? extra[x] : 0;
        }
      } else if (colInc == 1) {
        std::memcpy(dst, bits, rowBytes_);
      } else {
        std::memset(dst, 0, rowBytes_);
        for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc)
          SetField(dst, k, bitDepth_, GetField(bits, x, bitDepth_));
      }
      break;
    case COLOR_RGB:
      for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc) {
        const std::uint8_t* s = bits + 3 * x;
        if (bitDepth_ == 16) {
          const std::uint8_t* e = extra + 3 * x;
          std::uint8_t* d = dst + 6 * k;
          d[0] = s[2], d[1] = e[2], d[2] = s[1], d[3] = e[1], d[4] = s[0], d[5] = e[0];
        } else {
          std::uint8_t* d = dst + 3 * k;
          d[0] = s[2], d[1] = s[1], d[2] = s[0];
        }
      }
      break;
    case COLOR_GRAYSCALEALPHA:
      for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc) {
        if (bitDepth_ == 16) {
          std::uint8_t* d = dst + 4 * k;
          d[0] = bits[x], d[1] = extra[x], d[2] = alpha[x], d[3] = alphaLow ? alphaLow[x] : alpha[x];
        } else {
          dst[2 * k] = bits[x];
          dst[2 * k + 1] = alpha[x];
        }
      }
      break;
    case COLOR_RGBALPHA:
      for (std::uint32_t k = 0, x = colStart; k < cols; ++k, x += colInc) {
        const std::uint8_t* s = bits + 3 * x;
        if (bitDepth_ == 16) {
          const std::uint8_t* e = extra + 3 * x;
          std::uint8_t* d = dst + 8 * k;
          d[0] = s[2], d[1] = e[2], d[2] = s[1], d[3] = e[1], d[4] = s[0], d[5] = e[0];
          d[6] = alpha[x], d[7] = alphaLow ? alphaLow[x] : alpha[x];
        } else {
          std::uint8_t* d = dst + 4 * k;
          d[0] = s[2], d[1] = s[1], d[2] = s[0], d[3] = alpha[x];
        }
      }
      break;
    default:
      break;
  }
}

int TChunkIDAT::FilterToEncode() {
  const std::uint8_t* raw = encode_[5].data();
  const std::uint8_t* above = encode_[0].data();
  const std::uint32_t n = rowBytes_, off = offset_;
  const TFilters filters = owner_->Filters;
  for (std::uint32_t x = 0; x < n; ++x) {
    const int a = x >= off ? raw[x - off] : 0;
    const int b = above[x];
    const int c = x >= off ? above[x - off] : 0;
    if (filters & (1 << pfSub)) encode_[1][x] = std::uint8_t(raw[x] - a);
    if (filters & (1 << pfUp)) encode_[2][x] = std::uint8_t(raw[x] - b);
    if (filters & (1 << pfAverage)) encode_[3][x] = std::uint8_t(raw[x] - ((a + b) >> 1));
    if (filters & (1 << pfPaeth)) encode_[4][x] = std::uint8_t(raw[x] - Paeth(a, b, c));
  }
  std::memcpy(encode_[0].data(), raw, n);
  const TFilters set = filters & 0x1F;
  if (set == 0 || set == (1 << pfNone)) return 0;
  if ((set & (set - 1)) == 0) {
    for (int f = 0; f <= 4; ++f)
      if (set == (1 << f)) return f;
  }
  // Rows whose bytes repeat their neighbours compress best.
  int best = 0;
  std::uint32_t bestScore = 0;
  for (int f = 0; f <= 4; ++f) {
    if (!(set & (1 << f))) continue;
    const std::uint8_t* buffer = encode_[f].data();
    std::uint32_t score = 0;
    for (std::uint32_t j = 2; j < n; ++j)
      if (buffer[j] == buffer[j - 1] || buffer[j] == buffer[j - 2]) ++score;
    if (score > bestScore) {
      best = f;
      bestScore = score;
    }
  }
  return best;
}

void TChunkIDAT::WriteRow(Writer& writer) {
  const std::uint8_t type = std::uint8_t(FilterToEncode());
  writer.Write(&type, 1);
  writer.Write(encode_[type].data(), rowBytes_);
}

void TChunkIDAT::EncodeNonInterlaced(Writer& writer) {
  rowBytes_ = std::uint32_t(RowLength(colorType_, bitDepth_, imageWidth_));
  for (std::uint32_t y = 0; y < imageHeight_; ++y) {
    EncodeRow(y, 0, 1, imageWidth_);
    WriteRow(writer);
  }
  writer.Finish();
}

void TChunkIDAT::EncodeInterlacedAdam7(Writer& writer) {
  for (int pass = 0; pass < 7; ++pass) {
    const std::uint32_t cols = PassColumns(imageWidth_, pass);
    rowBytes_ = std::uint32_t(RowLength(colorType_, bitDepth_, cols));
    std::fill(encode_[0].begin(), encode_[0].end(), 0);
    if (rowBytes_ == 0) continue;
    for (std::uint32_t y = kRowStart[pass]; y < imageHeight_; y += kRowIncrement[pass]) {
      EncodeRow(y, kColumnStart[pass], kColumnIncrement[pass], cols);
      WriteRow(writer);
    }
  }
  writer.Finish();
}
