// The GIF LZW compressor (open-addressing hash over 5003 slots, the classic compress scheme)
// and its literal-only variant, which emits every pixel as its own code while keeping the code
// width in step with a decoder's table. Both read one palette index per byte, top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "imagelib/IxGifCodeWriter.h"

class IxGifLzwEncoder {
 public:
  // `initBits` is the minimum code size plus one (3..9). The code stream's sub-blocks are
  // appended to `out`, without the zero-length terminator.
  void Compress(const uint8_t* pixels, size_t count, int initBits, std::vector<uint8_t>& out);
  void CompressLiteral(const uint8_t* pixels, size_t count, int initBits, std::vector<uint8_t>& out);

 private:
  static constexpr int kHashSize = 5003;
  static constexpr int kMaxCodes = 4096;

  void Start(int initBits);
  void Output(int code);
  // Gives the next code to a new string, or clears the table when it is full.
  bool TakeCode();
  void ClearHash();

  IxGifCodeWriter* writer_ = nullptr;
  int32_t hashKeys_[kHashSize];
  uint16_t hashCodes_[kHashSize];
  int initBits_ = 0;
  int width_ = 0;
  int maxCode_ = 0;
  int clearCode_ = 0;
  int endCode_ = 0;
  int nextFree_ = 0;
  bool clearFlag_ = false;
};
