#include "imagelib/IxGifLzwEncoder.h"

void IxGifLzwEncoder::ClearHash() {
  for (int i = 0; i < kHashSize; ++i) hashKeys_[i] = -1;
}

void IxGifLzwEncoder::Start(int initBits) {
  initBits_ = initBits;
  width_ = initBits;
  maxCode_ = (1 << initBits) - 1;
  clearCode_ = 1 << (initBits - 1);
  endCode_ = clearCode_ + 1;
  nextFree_ = clearCode_ + 2;
  clearFlag_ = false;
  ClearHash();
}

// The width changes after the code is written and before the next free code advances, which
// is exactly when a decoder's next free slot reaches the top of the current width.
void IxGifLzwEncoder::Output(int code) {
  writer_->Put(code, width_);
  if (clearFlag_) {
    width_ = initBits_;
    maxCode_ = (1 << width_) - 1;
    clearFlag_ = false;
  } else if (nextFree_ > maxCode_) {
    ++width_;
    maxCode_ = width_ == 12 ? kMaxCodes : (1 << width_) - 1;
  }
}

bool IxGifLzwEncoder::TakeCode() {
  if (nextFree_ < kMaxCodes) {
    ++nextFree_;
    return true;
  }
  ClearHash();
  nextFree_ = clearCode_ + 2;
  clearFlag_ = true;
  Output(clearCode_);
  return false;
}

void IxGifLzwEncoder::Compress(const uint8_t* pixels, size_t count, int initBits, std::vector<uint8_t>& out) {
  IxGifCodeWriter writer(out, 254);
  writer_ = &writer;
  Start(initBits);
  const int mask = clearCode_ - 1;
  Output(clearCode_);
  if (count > 0) {
    int prefix = pixels[0] & mask;
    for (size_t i = 1; i < count; ++i) {
      const int p = pixels[i] & mask;
      const int32_t key = (p << 12) + prefix;
      int slot = (p << 4) ^ prefix;
      bool found = false;
      if (hashKeys_[slot] == key) {
        found = true;
      } else if (hashKeys_[slot] >= 0) {
        const int step = slot == 0 ? 1 : kHashSize - slot;
        for (;;) {
          slot -= step;
          if (slot < 0) slot += kHashSize;
          if (hashKeys_[slot] == key) {
            found = true;
            break;
          }
          if (hashKeys_[slot] <= 0) break;
        }
      }
      if (found) {
        prefix = hashCodes_[slot];
        continue;
      }
      Output(prefix);
      prefix = p;
      const int code = nextFree_;
      if (TakeCode()) {
        hashCodes_[slot] = static_cast<uint16_t>(code);
        hashKeys_[slot] = key;
      }
    }
    Output(prefix);
  }
  Output(endCode_);
  writer.Finish();
  writer_ = nullptr;
}

void IxGifLzwEncoder::CompressLiteral(const uint8_t* pixels, size_t count, int initBits,
                                      std::vector<uint8_t>& out) {
  IxGifCodeWriter writer(out, 254);
  writer_ = &writer;
  Start(initBits);
  const int mask = clearCode_ - 1;
  Output(clearCode_);
  for (size_t i = 0; i < count; ++i) {
    Output(pixels[i] & mask);
    TakeCode();
  }
  Output(endCode_);
  writer.Finish();
  writer_ = nullptr;
}
