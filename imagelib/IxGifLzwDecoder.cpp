#include "imagelib/IxGifLzwDecoder.h"

#include <cstring>

IxGifLzwDecoder::IxGifLzwDecoder() {
  std::memset(prefix_, 0, sizeof prefix_);
  std::memset(suffix_, 0, sizeof suffix_);
}

int IxGifLzwDecoder::NextCode(IxMemoryCursor& in, int width) {
  while (bitCount_ < width) {
    if (blockLeft_ == 0) {
      const int len = in.ReadByte();
      if (len < 0) return -2;
      if (len == 0) {
        terminated_ = true;
        return -1;
      }
      blockLeft_ = len;
    }
    const int b = in.ReadByte();
    if (b < 0) return -2;
    --blockLeft_;
    bits_ |= static_cast<uint32_t>(b) << bitCount_;
    bitCount_ += 8;
  }
  const int code = static_cast<int>(bits_ & ((1u << width) - 1));
  bits_ >>= width;
  bitCount_ -= width;
  return code;
}

IxGifLzwDecoder::Status IxGifLzwDecoder::Decode(IxMemoryCursor& in, int lineWidth, IxGifLineSink& sink,
                                                int& badCodes) {
  badCodes = 0;
  bits_ = 0;
  bitCount_ = 0;
  blockLeft_ = 0;
  terminated_ = false;
  pixels_ = 0;
  const int minCodeSize = in.ReadByte();
  Status status;
  if (minCodeSize < 2 || minCodeSize > 11)
    status = minCodeSize < 0 ? Status::kReadError : Status::kBadCodeSize;
  else
    status = Run(in, minCodeSize, lineWidth, sink, badCodes);
  // Whatever stopped the codes, the sub-block framing still tells where the stream ends; the
  // next block starts after its terminator.
  if (!terminated_ && in.Skip(static_cast<size_t>(blockLeft_))) in.SkipSubBlocks();
  return status;
}

IxGifLzwDecoder::Status IxGifLzwDecoder::Run(IxMemoryCursor& in, int minCodeSize, int lineWidth,
                                             IxGifLineSink& sink, int& badCodes) {
  if (lineWidth < 1) lineWidth = 1;
  if (line_.size() < static_cast<size_t>(lineWidth)) line_.resize(static_cast<size_t>(lineWidth));
  uint8_t* const line = line_.data();
  int linePos = 0;

  const int clear = 1 << minCodeSize;
  const int end = clear + 1;
  const int first = clear + 2;
  int width = minCodeSize + 1;
  int top = 1 << width;
  int nextFree = first;
  int oldCode = -1;  // none: the next code is a plain pixel
  uint8_t firstChar = 0;

  // Moves the stack (a string, last pixel first) into the line buffer.
  auto emit = [&](int sp) -> bool {
    while (sp > 0) {
      line[linePos++] = stack_[--sp];
      if (linePos == lineWidth) {
        linePos = 0;
        if (!sink.PutLine(line, lineWidth)) return false;
        pixels_ += static_cast<uint64_t>(lineWidth);
      }
    }
    return true;
  };

  Status status;
  for (;;) {
    int code = NextCode(in, width);
    if (code == -1) {
      status = Status::kEndOfBlocks;
      break;
    }
    if (code == -2) {
      status = Status::kReadError;
      break;
    }
    if (code == end) {
      status = Status::kEndCode;
      break;
    }
    if (code == clear) {
      width = minCodeSize + 1;
      top = 1 << width;
      nextFree = first;
      oldCode = -1;
      continue;
    }
    if (oldCode < 0) {
      // First code after a clear (or at the start): a pixel; a table code here is damage.
      if (code >= nextFree) code = 0;
      firstChar = static_cast<uint8_t>(code);
      oldCode = code;
      stack_[0] = firstChar;
      if (!emit(1)) {
        status = Status::kPictureFull;
        break;
      }
      continue;
    }
    int sp = 0;
    int c = code;
    if (code >= nextFree) {
      // The string not yet in the table is the previous one plus its own first pixel. A code
      // further on is damage; reading it as that same string keeps every prefix below its
      // entry, so the chains stay acyclic.
      if (code > nextFree) ++badCodes;
      code = nextFree;
      stack_[sp++] = firstChar;
      c = oldCode;
    }
    while (c >= first && sp < kTableSize) {
      stack_[sp++] = suffix_[c];
      c = prefix_[c];
    }
    if (sp >= kTableSize) {
      ++badCodes;
      status = Status::kBadString;
      break;
    }
    firstChar = static_cast<uint8_t>(c);
    stack_[sp++] = firstChar;
    if (nextFree < top) {
      suffix_[nextFree] = firstChar;
      prefix_[nextFree] = static_cast<uint16_t>(oldCode);
      ++nextFree;
      if (nextFree >= top && width < 12) {
        top <<= 1;
        ++width;
      }
    }
    oldCode = code;
    if (!emit(sp)) {
      status = Status::kPictureFull;
      break;
    }
  }
  if (linePos > 0 && status != Status::kPictureFull && sink.PutLine(line, linePos))
    pixels_ += static_cast<uint64_t>(linePos);
  return status;
}
