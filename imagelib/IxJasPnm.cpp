#include "imagelib/IxJasPnm.h"

#include <cstdio>

#include "imagelib/IxStreamCursor.h"

namespace {

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }

// Skips whitespace and '#' comments (to the end of their line).
void SkipSpace(IxStreamCursor& in) {
  for (;;) {
    const int c = in.Peek();
    if (c == '#') {
      while (in.Peek() >= 0 && in.Peek() != '\n' && in.Peek() != '\r') in.ReadByte();
    } else if (IsSpace(c)) {
      in.ReadByte();
    } else {
      return;
    }
  }
}

// A header number: decimal digits followed by whitespace (or a comment).
bool ReadNumber(IxStreamCursor& in, uint32_t& value) {
  SkipSpace(in);
  uint64_t v = 0;
  int digits = 0;
  while (in.Peek() >= '0' && in.Peek() <= '9') {
    v = v * 10 + static_cast<uint64_t>(in.ReadByte() - '0');
    if (v > 0xFFFFFFFFull) return false;
    ++digits;
  }
  if (digits == 0) return false;
  const int next = in.Peek();
  if (!IsSpace(next) && next != '#') return false;
  value = static_cast<uint32_t>(v);
  return true;
}

uint32_t BitsOf(uint32_t maxval) {
  uint32_t bits = 0;
  while (maxval != 0) {
    ++bits;
    maxval >>= 1;
  }
  return bits;
}

}  // namespace

bool IxJasPnm::Decode(IxStreamCursor& in, IxJasImage& image) {
  if (in.ReadByte() != 'P') return false;
  const int kind = in.ReadByte() - '0';
  if (kind < 1 || kind > 6) return false;
  const bool text = kind <= 3;
  const bool bitmap = kind == 1 || kind == 4;
  const uint32_t planes = kind == 3 || kind == 6 ? 3 : 1;
  uint32_t width = 0, height = 0, maxval = 1;
  if (!ReadNumber(in, width) || !ReadNumber(in, height)) return false;
  if (!bitmap && !ReadNumber(in, maxval)) return false;
  if (width == 0 || height == 0 || maxval == 0 || maxval > 65535) return false;
  if (!text && !IsSpace(in.ReadByte())) return false;

  // Every sample takes at least one byte of text, or its share of the binary data.
  const uint64_t samples = uint64_t{width} * height * planes;
  const uint64_t sampleBytes = maxval > 255 ? 2 : 1;
  const uint64_t needed = kind == 4 ? (uint64_t{width} + 7) / 8 * height
                          : text    ? samples
                                    : samples * sampleBytes;
  if (samples > IX_JAS_MAX_SAMPLES || needed > in.Remaining()) return false;

  image.comps.assign(planes, IxJasComponent());
  image.family = planes == 3 ? IxJasFamily::kRgb : IxJasFamily::kGrey;
  for (IxJasComponent& c : image.comps) {
    c.width = width;
    c.height = height;
    c.prec = BitsOf(maxval);
    c.data.resize(static_cast<size_t>(uint64_t{width} * height));
  }

  const uint64_t rowBytes = (uint64_t{width} + 7) / 8;
  std::vector<uint8_t> packed(kind == 4 ? static_cast<size_t>(rowBytes) : 0);
  for (uint64_t y = 0; y < height; ++y) {
    if (kind == 4 && !in.Read(packed.data(), rowBytes)) return false;
    for (uint64_t x = 0; x < width; ++x) {
      const size_t at = static_cast<size_t>(y * width + x);
      for (uint32_t p = 0; p < planes; ++p) {
        int32_t v = 0;
        if (kind == 4) {
          v = (packed[x / 8] >> (7 - (x & 7))) & 1;
        } else if (kind == 1) {
          // Plain bitmaps may run their digits together.
          SkipSpace(in);
          const int c = in.ReadByte();
          if (c != '0' && c != '1') return false;
          v = c - '0';
        } else if (text) {
          uint32_t n = 0;
          SkipSpace(in);
          if (in.Peek() < '0' || in.Peek() > '9') return false;
          while (in.Peek() >= '0' && in.Peek() <= '9') {
            n = n * 10 + static_cast<uint32_t>(in.ReadByte() - '0');
            if (n > 65535) return false;
          }
          v = static_cast<int32_t>(n);
        } else {
          uint8_t b[2] = {0, 0};
          if (!in.Read(b, sampleBytes)) return false;
          v = sampleBytes == 2 ? (b[0] << 8) | b[1] : b[0];
        }
        // Bitmaps store 1 for black; the component holds 0 for black.
        if (bitmap) v = 1 - v;
        image.comps[p].data[at] = v;
      }
    }
  }
  return true;
}

void IxJasPnm::Encode(const IxJasImage& image, std::vector<uint8_t>& out) {
  const IxJasComponent& c0 = image.comps[0];
  const bool colour = image.comps.size() == 3;
  char header[64];
  const int n =
      snprintf(header, sizeof(header), colour ? "P6\n%u %u\n255\n" : "P5\n%u %u\n255\n", c0.width, c0.height);
  out.assign(header, header + n);
  const size_t pixels = c0.data.size();
  for (size_t i = 0; i < pixels; ++i) {
    for (const IxJasComponent& c : image.comps) out.push_back(static_cast<uint8_t>(c.data[i]));
  }
}
