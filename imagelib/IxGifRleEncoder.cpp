#include "imagelib/IxGifRleEncoder.h"

// How the decoder's table is used: right after a clear the pixel p, then the codes base,
// base + 1, base + 2, ... are each the decoder's next free code, which it reads as "the previous
// string plus its first pixel", so they define the runs p^2, p^3, p^4, ... at base + k - 2.
// Once such a ramp exists, a run of p is sent as repeats of its longest entry. Every code
// emitted after a clear also adds one entry to the decoder's table, which fixes when the code
// width grows (the bump) and when the table must be cleared before it fills.

namespace {

unsigned IntegerSqrt(unsigned x) {
  if (x < 2) return x;
  unsigned r = x / 2;
  for (;;) {
    const unsigned next = (r + x / r) / 2;
    if (next >= r) return r;
    r = next;
  }
}

}  // namespace

int IxGifRleEncoder::RampCost(unsigned count, unsigned rampCodes) {
  const unsigned perRamp = (rampCodes * (rampCodes + 1)) / 2;
  unsigned cost = 0;
  if (perRamp > 0) {
    cost += (count / perRamp) * rampCodes;
    count %= perRamp;
  }
  if (count > 0) {
    unsigned n = IntegerSqrt(count);
    while (n > 0 && n * (n + 1) >= 2 * count) --n;
    while (n * (n + 1) < 2 * count) ++n;
    cost += n;
  }
  return static_cast<int>(cost);
}

void IxGifRleEncoder::Output(int code) { writer_->Put(code, width_); }

void IxGifRleEncoder::DidClear() {
  width_ = initBits_;
  bump_ = bumpInit_;
  clearAt_ = clearInit_;
  outCount_ = 0;
  tableMax_ = 0;
  justCleared_ = true;
}

void IxGifRleEncoder::OutputPlain(int code) {
  justCleared_ = false;
  Output(code);
  ++outCount_;
  if (outCount_ >= bump_) {
    ++width_;
    bump_ += 1 << (width_ - 1);
  }
  if (outCount_ >= clearAt_) {
    Output(clearCode_);
    DidClear();
  }
}

void IxGifRleEncoder::MaxOutClear() { clearAt_ = maxCodes_; }

void IxGifRleEncoder::ResetOutClear() {
  clearAt_ = clearInit_;
  if (outCount_ >= clearAt_) {
    Output(clearCode_);
    DidClear();
  }
}

void IxGifRleEncoder::FlushFromClear(int count) {
  MaxOutClear();
  tablePixel_ = runPixel_;
  int n = 1;
  while (count > 0) {
    if (n == 1) {
      tableMax_ = 1;
      OutputPlain(runPixel_);
      --count;
    } else if (count >= n) {
      tableMax_ = n;
      OutputPlain(baseCode_ + n - 2);
      count -= n;
    } else if (count == 1) {
      ++tableMax_;
      OutputPlain(runPixel_);
      count = 0;
    } else {
      ++tableMax_;
      OutputPlain(baseCode_ + count - 2);
      count = 0;
    }
    n = outCount_ == 0 ? 1 : n + 1;
  }
  ResetOutClear();
}

void IxGifRleEncoder::FlushClearOrRepeat(int count) {
  const int withClear = 1 + RampCost(static_cast<unsigned>(count), static_cast<unsigned>(maxCodes_));
  if (withClear < count) {
    Output(clearCode_);
    DidClear();
    FlushFromClear(count);
  } else {
    for (; count > 0; --count) OutputPlain(runPixel_);
  }
}

void IxGifRleEncoder::FlushWithTable(int count) {
  int repeats = count / tableMax_;
  int leftover = count % tableMax_;
  int leftoverCost = leftover ? 1 : 0;
  if (outCount_ + repeats + leftoverCost > maxCodes_) {
    repeats = maxCodes_ - outCount_;
    leftover = count - repeats * tableMax_;
    leftoverCost = 1 + RampCost(static_cast<unsigned>(leftover), static_cast<unsigned>(maxCodes_));
  }
  if (1 + RampCost(static_cast<unsigned>(count), static_cast<unsigned>(maxCodes_)) < repeats + leftoverCost) {
    Output(clearCode_);
    DidClear();
    FlushFromClear(count);
    return;
  }
  MaxOutClear();
  for (; repeats > 0; --repeats) OutputPlain(baseCode_ + tableMax_ - 2);
  if (leftover) {
    if (justCleared_) {
      FlushFromClear(leftover);
    } else if (leftover == 1) {
      OutputPlain(runPixel_);
    } else {
      OutputPlain(baseCode_ + leftover - 2);
    }
  }
  ResetOutClear();
}

void IxGifRleEncoder::Flush() {
  if (runCount_ == 1) {
    OutputPlain(runPixel_);
  } else if (justCleared_) {
    FlushFromClear(runCount_);
  } else if (tableMax_ < 2 || tablePixel_ != runPixel_) {
    FlushClearOrRepeat(runCount_);
  } else {
    FlushWithTable(runCount_);
  }
  runCount_ = 0;
}

void IxGifRleEncoder::Compress(const uint8_t* pixels, size_t count, int initBits, std::vector<uint8_t>& out) {
  IxGifCodeWriter writer(out, 255);
  writer_ = &writer;
  initBits_ = initBits;
  clearCode_ = 1 << (initBits - 1);
  endCode_ = clearCode_ + 1;
  baseCode_ = clearCode_ + 2;
  bumpInit_ = clearCode_ - 1;
  clearInit_ = initBits <= 3 ? 9 : bumpInit_ - 1;
  maxCodes_ = 4093 - clearCode_;
  const int mask = clearCode_ - 1;

  DidClear();
  Output(clearCode_);
  runCount_ = 0;
  for (size_t i = 0; i < count; ++i) {
    const int p = pixels[i] & mask;
    if (runCount_ > 0 && p != runPixel_) Flush();
    if (runCount_ > 0) {
      // A run's length is kept within an int; a longer run is flushed in parts.
      if (runCount_ == (1 << 30)) Flush();
    }
    if (runCount_ == 0) runPixel_ = p;
    ++runCount_;
  }
  if (runCount_ > 0) Flush();
  Output(endCode_);
  writer.Finish();
  writer_ = nullptr;
}
