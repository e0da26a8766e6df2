// The decoder of GIF's variable-length LZW code streams (codes least-significant bit first,
// carried in data sub-blocks). It hands the decoded palette indices on one line at a time, so
// the caller decides where each line goes (plain or interlaced rows, compositing, counting).
// Built for hostile input: codes past the table, cyclic or over-long strings, streams longer
// than the picture and truncated data all end the stream without reading or writing out of
// bounds.
#pragma once

#include <cstdint>
#include <vector>

#include "imagelib/IxMemoryCursor.h"

// Receives the decoded lines of one frame.
class IxGifLineSink {
 public:
  virtual ~IxGifLineSink() = default;
  // `count` indices, one per byte; `count` is the line width except for a partial last line.
  // Returns false when the picture has no row left for this line, which ends the decoding.
  virtual bool PutLine(const uint8_t* indices, int count) = 0;
};

class IxGifLzwDecoder {
 public:
  enum class Status {
    kEndCode,      // the end code was read
    kEndOfBlocks,  // a zero-length sub-block ended the data before an end code
    kReadError,    // the file ended inside the code stream
    kBadCodeSize,  // the minimum code size is outside 2..11 (codes are at most 12 bits)
    kPictureFull,  // more lines arrived than the picture has rows
    kBadString,    // a string longer than the table allows
  };

  IxGifLzwDecoder();

  // Decodes the code stream that starts at the cursor (its minimum code size byte) into lines of
  // `lineWidth` pixels. `badCodes` counts codes that lay beyond the next free table slot. On
  // return the cursor stands just after the code stream's zero-length terminator (or at the end
  // of the data), whatever stopped the decoding, so the caller reads the next block from there.
  Status Decode(IxMemoryCursor& in, int lineWidth, IxGifLineSink& sink, int& badCodes);

  // Pixels the last Decode handed to the sink (lines the sink refused are not counted).
  uint64_t PixelsDecoded() const { return pixels_; }
  // Whether the last Decode met damage: a bad code size, codes past the table, a string too
  // long, or data that ended inside the stream.
  static bool IsDamage(Status status, int badCodes) {
    return badCodes > 0 || status == Status::kReadError || status == Status::kBadCodeSize ||
           status == Status::kBadString;
  }

  // The most table entries a code stream can define, and so the longest string.
  static constexpr int kTableSize = 4096;

 private:
  Status Run(IxMemoryCursor& in, int minCodeSize, int lineWidth, IxGifLineSink& sink, int& badCodes);
  // The next code of `width` bits; -1 after a zero-length sub-block, -2 when the data ends.
  int NextCode(IxMemoryCursor& in, int width);

  uint16_t prefix_[kTableSize];
  uint8_t suffix_[kTableSize];
  uint8_t stack_[kTableSize + 1];
  std::vector<uint8_t> line_;
  // Bit reader state over the current sub-block.
  uint32_t bits_ = 0;
  int bitCount_ = 0;
  int blockLeft_ = 0;
  bool terminated_ = false;
  uint64_t pixels_ = 0;
};
