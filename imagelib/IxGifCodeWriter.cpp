#include "imagelib/IxGifCodeWriter.h"

IxGifCodeWriter::IxGifCodeWriter(std::vector<uint8_t>& out, int blockSize)
    : out_(out), blockSize_(blockSize < 1 ? 1 : (blockSize > 255 ? 255 : blockSize)) {}

void IxGifCodeWriter::FlushBlock() {
  out_.push_back(static_cast<uint8_t>(blockCount_));
  out_.insert(out_.end(), block_, block_ + blockCount_);
  blockCount_ = 0;
}

void IxGifCodeWriter::Finish() {
  if (bitCount_ > 0) {
    PutByte(static_cast<uint8_t>(accumulator_ & 0xFF));
    accumulator_ = 0;
    bitCount_ = 0;
  }
  if (blockCount_ > 0) FlushBlock();
}
