// TGIFLZWDecoder: turns a frame's image data (variable-width LZW codes, least significant bit
// first, in data sub-blocks) into pixel indices, in plain or interlaced row order. Tolerant:
// data that runs out ends the frame early, the rest keeping its fill. Data that cannot be
// decoded within the fixed tables (a circular entry) raises. The stream is always left after
// the image data's terminator (or at its end).
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "pictures/GIFTypes.h"
#include "platform/rtl/TStream.h"
#include "platform/rtl/Types.h"

class TGIFLZWDecoder {
 public:
  using Reporter = std::function<void(TGIFSeverity severity, const AnsiString& message)>;
  // Warnings go to `reporter`.
  TGIFLZWDecoder(TStream* stream, Reporter reporter) : stream_(stream), reporter_(std::move(reporter)) {}
  // `codeSize` is the data's first byte, at most 11.
  void Decode(int codeSize, BYTE* pixels, int width, int height, bool interlaced);

 private:
  static constexpr int TableSize = 4096;
  static constexpr int StackSize = 8192;

  int ReadCode();
  int NextCode();
  int NextPixel() { return sp_ > 0 ? stack_[std::size_t(--sp_)] : NextCode(); }
  void Push(BYTE value);
  void ResetTables();
  // The end of the image data: skips what is left up to the terminator.
  void SkipRest();

  TStream* stream_;
  Reporter reporter_;
  int codeSize_ = 0;
  int clearCode_ = 0;
  int endCode_ = 0;
  int width_ = 0;
  int limit_ = 0;
  int nextFree_ = 0;
  int firstCode_ = 0;
  int previousCode_ = 0;
  std::array<WORD, TableSize> prefix_{};
  std::array<BYTE, TableSize> suffix_{};
  // Entries at and above this index are as a reset leaves them (codes are only added at
  // nextFree_), so a clear code costs only what was added since the last one.
  int cleanFrom_ = 0;
  std::array<BYTE, StackSize> stack_{};
  int sp_ = 0;
  // The current data sub-block and the bits taken from it but not used yet.
  std::array<BYTE, 256> block_{};
  int blockLength_ = 0;
  int blockPosition_ = 0;
  std::uint32_t bits_ = 0;
  int bitCount_ = 0;
  bool start_ = true;
  bool terminatorSeen_ = false;
  bool exhausted_ = false;
  bool underRunWarned_ = false;
};
