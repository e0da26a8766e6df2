#include "pictures/gifcoding/TRLEEncoder.h"

void TRLEEncoder::EmitClear() {
  outBump_ = outBumpInit_;
  outClear_ = outClearInit_;
  outCount_ = 0;
  runTableMax_ = 0;
  TGIFEncoder::EmitClear();
  bitsPerCode_ = initialBitsPerCode_;
}

void TRLEEncoder::EmitPlain(int code) {
  clearFlag_ = false;
  EmitCode(code);
  ++outCount_;
  if (outCount_ >= outBump_) {
    outBump_ += 1 << bitsPerCode_;
    ++bitsPerCode_;
  }
  if (outCount_ >= outClear_) EmitClear();
}

std::int64_t TRLEEncoder::TriangleCount(std::int64_t count, std::int64_t codes) {
  std::int64_t cost = 0;
  const std::int64_t perRepeat = codes * (codes + 1) / 2;
  while (count >= perRepeat) {
    cost += codes;
    count -= perRepeat;
  }
  if (count > 0) {
    // Newton's method for the integer square root, then the exact m with m(m+1) >= 2 count.
    std::int64_t n = count, next = (n + 1) / 2;
    while (next < n) {
      n = next;
      next = (n + count / n) / 2;
    }
    while (n > 0 && n * (n + 1) >= 2 * count) --n;
    while (n * (n + 1) < 2 * count) ++n;
    cost += n;
  }
  return cost;
}

void TRLEEncoder::ResetOutClear() {
  outClear_ = outClearInit_;
  if (outCount_ >= outClear_) EmitClear();
}

void TRLEEncoder::FlushFromClear(std::int64_t count) {
  outClear_ = maximumCodes_;
  runTablePixel_ = runPixel_;
  int n = 1;
  while (count > 0) {
    if (n == 1) {
      runTableMax_ = 1;
      EmitPlain(runPixel_);
      --count;
    } else if (count >= n) {
      runTableMax_ = n;
      EmitPlain(baseCode_ + n - 2);
      count -= n;
    } else if (count == 1) {
      ++runTableMax_;
      EmitPlain(runPixel_);
      count = 0;
    } else {
      ++runTableMax_;
      EmitPlain(baseCode_ + int(count) - 2);
      count = 0;
    }
    n = outCount_ == 0 ? 1 : n + 1;
  }
  ResetOutClear();
}

void TRLEEncoder::FlushClearOrRepeat(std::int64_t count) {
  if (1 + TriangleCount(count, maximumCodes_) < count) {
    EmitClear();
    FlushFromClear(count);
    return;
  }
  for (; count > 0; --count) EmitPlain(runPixel_);
}

void TRLEEncoder::FlushWithTable(std::int64_t count) {
  std::int64_t repeats = count / runTableMax_;
  std::int64_t left = count % runTableMax_;
  std::int64_t leftCodes = left > 0 ? 1 : 0;
  if (outCount_ + repeats + leftCodes > maximumCodes_) {
    repeats = maximumCodes_ - outCount_;
    left = count - repeats * runTableMax_;
    leftCodes = 1 + TriangleCount(left, maximumCodes_);
  }
  if (1 + TriangleCount(count, maximumCodes_) < repeats + leftCodes) {
    EmitClear();
    FlushFromClear(count);
    return;
  }
  outClear_ = maximumCodes_;
  for (; repeats > 0; --repeats) EmitPlain(baseCode_ + runTableMax_ - 2);
  if (left > 0) {
    if (clearFlag_)
      FlushFromClear(left);
    else if (left == 1)
      EmitPlain(runPixel_);
    else
      EmitPlain(baseCode_ + int(left) - 2);
  }
  ResetOutClear();
}

void TRLEEncoder::Flush(std::int64_t count) {
  if (count == 1)
    EmitPlain(runPixel_);
  else if (clearFlag_)
    FlushFromClear(count);
  else if (runTableMax_ < 2 || runTablePixel_ != runPixel_)
    FlushClearOrRepeat(count);
  else
    FlushWithTable(count);
}

void TRLEEncoder::EncodeData() {
  outBumpInit_ = clearCode_ - 1;
  outClearInit_ = bitsPerPixel_ > 3 ? outBumpInit_ - 1 : 9;
  maximumCodes_ = 4095 - baseCode_;
  EmitClear();
  runPixel_ = -1;
  std::int64_t runCount = 0;
  do {
    const int pixel = CurrentPixel();
    if (runCount > 0 && pixel != runPixel_) {
      Flush(runCount);
      runCount = 0;
    }
    if (pixel == runPixel_) {
      ++runCount;
    } else {
      runPixel_ = pixel;
      runCount = 1;
    }
  } while (NextPixel());
  if (runCount > 0) Flush(runCount);
}
