#include "pictures/gifcoding/TLZWEncoder.h"

void TLZWEncoder::EmitClear() {
  if (hashTable_) hashTable_->Clear();
  freeEntry_ = clearCode_ + 2;
  TGIFEncoder::EmitClear();
}

void TLZWEncoder::EmitCode(int code) {
  TGIFEncoder::EmitCode(code);
  if (clearFlag_) {
    bitsPerCode_ = initialBitsPerCode_;
    maxCode_ = (1 << bitsPerCode_) - 1;
    clearFlag_ = false;
  } else if (freeEntry_ > maxCode_) {
    ++bitsPerCode_;
    maxCode_ = bitsPerCode_ >= 12 ? 4096 : (1 << bitsPerCode_) - 1;
  }
}

void TLZWEncoder::EncodeData() {
  hashTable_ = std::make_unique<THashTable>();
  struct Free {
    std::unique_ptr<THashTable>& table;
    ~Free() { table.reset(); }
  } free{hashTable_};
  EmitClear();
  prefix_ = CurrentPixel();
  while (NextPixel()) {
    const int pixel = CurrentPixel();
    const std::uint32_t key = (std::uint32_t(prefix_) << 8) | std::uint32_t(pixel);
    const int code = hashTable_->Lookup(key);
    if (code >= 0) {
      prefix_ = code;
      continue;
    }
    EmitCode(prefix_);
    prefix_ = pixel;
    if (freeEntry_ >= 4095) {
      EmitClear();
    } else {
      hashTable_->Insert(key, freeEntry_);
      ++freeEntry_;
    }
  }
  EmitCode(prefix_);
}
