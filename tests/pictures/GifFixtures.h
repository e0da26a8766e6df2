// Small GIF streams made in the tests: a writer of LSB-first LZW codes, sub-block splitting, and
// helpers that load bytes into a picture and collect its warnings.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "pictures/gif/TGIFImage.h"
#include "platform/rtl/TMemoryStream.h"

namespace giftest {

using Bytes = std::vector<std::uint8_t>;

// Codes of the given widths, packed least significant bit first.
class CodeWriter {
 public:
  void Put(int code, int width) {
    for (int i = 0; i < width; ++i) {
      if (bit_ == 0) bytes_.push_back(0);
      if (code & (1 << i)) bytes_.back() |= std::uint8_t(1u << bit_);
      bit_ = (bit_ + 1) & 7;
    }
  }
  const Bytes& bytes() const { return bytes_; }

 private:
  Bytes bytes_;
  int bit_ = 0;
};

// `data` as sub-blocks of at most `size` bytes, then the terminator.
inline Bytes SubBlocks(const Bytes& data, int size = 255) {
  Bytes out;
  for (std::size_t at = 0; at < data.size(); at += std::size_t(size)) {
    std::size_t n = std::min<std::size_t>(std::size_t(size), data.size() - at);
    out.push_back(std::uint8_t(n));
    out.insert(out.end(), data.begin() + std::ptrdiff_t(at), data.begin() + std::ptrdiff_t(at + n));
  }
  out.push_back(0);
  return out;
}

// Uncompressed LZW of `pixels`: a clear code often enough that the width stays codeSize + 1.
inline Bytes PlainCodes(const Bytes& pixels, int codeSize) {
  CodeWriter w;
  const int clear = 1 << codeSize, width = codeSize + 1;
  const int room = (1 << width) - clear - 2;
  w.Put(clear, width);
  int run = 0;
  for (std::uint8_t p : pixels) {
    if (run == room - 1) {
      w.Put(clear, width);
      run = 0;
    }
    w.Put(p, width);
    ++run;
  }
  w.Put(clear + 1, width);
  return w.bytes();
}

// `pixels` as literal codes after one clear code and no other: every code after the first adds a
// table entry, and the width grows as a decoder's does (up to 12 bits, then stays). Ends with an
// end code when `end` is set.
inline Bytes LiteralCodes(const Bytes& pixels, int codeSize, bool end = true, int* finalWidth = nullptr) {
  CodeWriter w;
  const int clear = 1 << codeSize;
  int width = codeSize + 1, nextFree = clear + 2, limit = 2 * clear;
  w.Put(clear, width);
  for (std::size_t i = 0; i < pixels.size(); ++i) {
    w.Put(pixels[i], width);
    if (i == 0 || nextFree >= 4096) continue;
    ++nextFree;
    if (nextFree >= limit && limit < 4096) {
      limit *= 2;
      ++width;
    }
  }
  if (end) w.Put(clear + 1, width);
  if (finalWidth) *finalWidth = width;
  return w.bytes();
}

inline void Append(Bytes& out, const Bytes& more) { out.insert(out.end(), more.begin(), more.end()); }
inline void AppendWord(Bytes& out, int v) {
  out.push_back(std::uint8_t(v & 0xFF));
  out.push_back(std::uint8_t((v >> 8) & 0xFF));
}

// "GIF89a", a screen with a global table of `colors` entries (grey ramp) when colors > 0.
inline Bytes Header(int width, int height, int colors = 4, const char* version = "89a") {
  Bytes out = {'G', 'I', 'F', std::uint8_t(version[0]), std::uint8_t(version[1]), std::uint8_t(version[2])};
  AppendWord(out, width);
  AppendWord(out, height);
  int bits = 1;
  while ((1 << bits) < colors) ++bits;
  out.push_back(colors > 0 ? std::uint8_t(0x80 | ((bits - 1) << 4) | (bits - 1)) : 0);
  out.push_back(0);
  out.push_back(0);
  for (int i = 0; colors > 0 && i < (1 << bits); ++i) {
    std::uint8_t v = std::uint8_t(i * 40);
    out.insert(out.end(), {v, v, v});
  }
  return out;
}

// An image descriptor (no local table unless packed says so) followed by the code size and data.
inline Bytes ImageBlock(int left, int top, int width, int height, int codeSize, const Bytes& dataBlocks,
                        std::uint8_t packed = 0) {
  Bytes out = {0x2C};
  AppendWord(out, left);
  AppendWord(out, top);
  AppendWord(out, width);
  AppendWord(out, height);
  out.push_back(packed);
  out.push_back(std::uint8_t(codeSize));
  Append(out, dataBlocks);
  return out;
}

// A frame of `pixels` coded plainly, in sub-blocks of `blockSize`.
inline Bytes PlainFrame(int width, int height, const Bytes& pixels, int codeSize = 2, int blockSize = 255) {
  return ImageBlock(0, 0, width, height, codeSize, SubBlocks(PlainCodes(pixels, codeSize), blockSize));
}

inline Bytes ControlBlock(std::uint8_t packed, int delay, std::uint8_t transparent) {
  Bytes out = {0x21, 0xF9, 4, packed};
  AppendWord(out, delay);
  out.push_back(transparent);
  out.push_back(0);
  return out;
}

struct Loaded {
  std::vector<std::string> warnings;
};

// Loads `bytes` into `image`, collecting warnings.
inline std::vector<std::string> Load(TGIFImage& image, const Bytes& bytes) {
  std::vector<std::string> warnings;
  image.OnGIFWarning = [&warnings](TObject*, TGIFSeverity, const AnsiString& m) {
    warnings.push_back(m.c_str());
  };
  TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), int(bytes.size()));
  stream.SetPosition(0);
  image.LoadFromStream(&stream);
  image.OnGIFWarning = nullptr;
  return warnings;
}

inline Bytes Save(TGIFImage& image) {
  TMemoryStream stream;
  image.SaveToStream(&stream);
  const auto* p = static_cast<const std::uint8_t*>(stream.Memory());
  return Bytes(p, p + stream.Size());
}

}  // namespace giftest
