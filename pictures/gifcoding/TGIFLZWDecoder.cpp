#include "pictures/gifcoding/TGIFLZWDecoder.h"

#include <algorithm>

#include "pictures/GIFException.h"
#include "pictures/gifcoding/GIFStreamRoutines.h"

void TGIFLZWDecoder::Decode(int codeSize, BYTE* pixels, int width, int height, bool interlaced) {
  codeSize_ = codeSize;
  clearCode_ = 1 << codeSize;
  endCode_ = clearCode_ + 1;
  width_ = codeSize + 1;
  limit_ = 2 * clearCode_;
  nextFree_ = clearCode_ + 2;
  if (!interlaced) {
    const std::int64_t count = std::int64_t(width) * height;
    for (std::int64_t i = 0; i < count; ++i) {
      int pixel = NextPixel();
      if (pixel < 0) break;
      pixels[i] = BYTE(pixel);
    }
  } else {
    static constexpr int starts[4] = {0, 4, 2, 1};
    static constexpr int steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
      for (int y = starts[pass]; y < height; y += steps[pass]) {
        BYTE* row = pixels + std::int64_t(y) * width;
        for (int x = 0; x < width; ++x) {
          int pixel = NextPixel();
          if (pixel < 0) goto done;
          row[x] = BYTE(pixel);
        }
      }
  }
done:
  // However the pixels ended, the next block starts after this data's terminator.
  if (!exhausted_) SkipRest();
}

void TGIFLZWDecoder::SkipRest() {
  if (!terminatorSeen_) SkipSubBlocks(stream_);
  terminatorSeen_ = true;
  exhausted_ = true;
}

int TGIFLZWDecoder::ReadCode() {
  if (start_) {
    start_ = false;
    return clearCode_;
  }
  // Refill until a whole code is buffered: codes may span several short sub-blocks.
  while (bitCount_ < width_) {
    if (blockPosition_ < blockLength_) {
      bits_ |= std::uint32_t(block_[std::size_t(blockPosition_++)]) << bitCount_;
      bitCount_ += 8;
      continue;
    }
    if (exhausted_) {
      if (terminatorSeen_ && !underRunWarned_) {
        underRunWarned_ = true;
        reporter_(gsWarning, sDecodeTooFewBits);
      }
      return -1;
    }
    BYTE length = 0;
    if (!ReadByte(stream_, length)) {
      exhausted_ = true;
      return -1;
    }
    if (length == 0) {
      terminatorSeen_ = true;
      exhausted_ = true;
      continue;
    }
    std::int64_t left = GIFBytesLeft(stream_);
    if (length > left) {
      reporter_(gsWarning, sOutOfData);
      length = BYTE(left);
      if (length == 0) {
        exhausted_ = true;
        return -1;
      }
    }
    ReadCheck(stream_, block_.data(), length);
    blockLength_ = length;
    blockPosition_ = 0;
  }
  int code = int(bits_ & ((1u << width_) - 1));
  bits_ >>= width_;
  bitCount_ -= width_;
  return code;
}

void TGIFLZWDecoder::ResetTables() {
  // A stream may hold nothing but clear codes: each clears only the entries written since the
  // last one, never the whole table.
  const int end = std::max(cleanFrom_, clearCode_);
  for (int i = 0; i < end; ++i) {
    prefix_[std::size_t(i)] = 0;
    suffix_[std::size_t(i)] = i < clearCode_ ? BYTE(i) : 0;
  }
  cleanFrom_ = clearCode_;
  width_ = codeSize_ + 1;
  limit_ = 2 * clearCode_;
  nextFree_ = clearCode_ + 2;
  sp_ = 0;
}

void TGIFLZWDecoder::Push(BYTE value) {
  if (sp_ >= StackSize) GIFError(sDecodeCircular);
  stack_[std::size_t(sp_++)] = value;
}

int TGIFLZWDecoder::NextCode() {
  int code = ReadCode();
  if (code < 0) return code;
  if (code == clearCode_) {
    ResetTables();
    do code = ReadCode();
    while (code == clearCode_);
    if (code < 0) return code;
    if (code == endCode_) {
      SkipRest();
      return -2;
    }
    if (code > endCode_) {
      // Nothing is defined yet that such a code could name.
      reporter_(gsWarning, sInvalidData);
      SkipRest();
      return -1;
    }
    firstCode_ = previousCode_ = code;
    return code;
  }
  if (code == endCode_) {
    SkipRest();
    return -2;
  }
  const int incoming = code;
  if (code >= nextFree_) {
    Push(BYTE(firstCode_));
    code = previousCode_;
  }
  // A chain longer than the table loops; the stack bound in Push catches the rest.
  for (int steps = 0; code >= clearCode_; ++steps) {
    if (steps >= TableSize || prefix_[std::size_t(code)] == code) GIFError(sDecodeCircular);
    Push(suffix_[std::size_t(code)]);
    code = prefix_[std::size_t(code)];
  }
  firstCode_ = suffix_[std::size_t(code)];
  Push(BYTE(firstCode_));
  if (nextFree_ < TableSize) {
    prefix_[std::size_t(nextFree_)] = WORD(previousCode_);
    suffix_[std::size_t(nextFree_)] = BYTE(firstCode_);
    ++nextFree_;
    cleanFrom_ = std::max(cleanFrom_, nextFree_);
    if (nextFree_ >= limit_ && limit_ < TableSize) {
      limit_ *= 2;
      ++width_;
    }
  }
  previousCode_ = incoming;
  return stack_[std::size_t(--sp_)];
}
