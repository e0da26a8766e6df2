// Packs variable-width GIF codes least-significant bit first into bytes and groups the bytes
// into data sub-blocks (a length byte, then the data). Shared by the three code-stream coders.
#pragma once

#include <cstdint>
#include <vector>

class IxGifCodeWriter {
 public:
  // Sub-blocks are written to `out` whenever `blockSize` (1..255) bytes are waiting.
  IxGifCodeWriter(std::vector<uint8_t>& out, int blockSize);

  void Put(int code, int width) {
    accumulator_ |= (static_cast<uint32_t>(code) & ((1u << width) - 1)) << bitCount_;
    bitCount_ += width;
    while (bitCount_ >= 8) {
      PutByte(static_cast<uint8_t>(accumulator_ & 0xFF));
      accumulator_ >>= 8;
      bitCount_ -= 8;
    }
  }
  // Writes the bits still held (padded to a byte) and the last, partial sub-block. The
  // zero-length terminator is the caller's.
  void Finish();

 private:
  void PutByte(uint8_t b) {
    block_[blockCount_++] = b;
    if (blockCount_ >= blockSize_) FlushBlock();
  }
  void FlushBlock();

  std::vector<uint8_t>& out_;
  int blockSize_;
  uint8_t block_[255];
  int blockCount_ = 0;
  uint32_t accumulator_ = 0;
  int bitCount_ = 0;
};
