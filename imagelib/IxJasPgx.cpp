#include "imagelib/IxJasPgx.h"

#include <cstdio>

#include "imagelib/IxStreamCursor.h"

namespace {

bool IsSpace(int c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

void SkipSpace(IxStreamCursor& in) {
  while (IsSpace(in.Peek())) in.ReadByte();
}

bool ReadNumber(IxStreamCursor& in, uint32_t& value) {
  SkipSpace(in);
  uint64_t v = 0;
  int digits = 0;
  while (in.Peek() >= '0' && in.Peek() <= '9') {
    v = v * 10 + static_cast<uint64_t>(in.ReadByte() - '0');
    if (v > 0xFFFFFFFFull) return false;
    ++digits;
  }
  value = static_cast<uint32_t>(v);
  return digits > 0;
}

}  // namespace

bool IxJasPgx::Decode(IxStreamCursor& in, IxJasImage& image) {
  if (in.ReadByte() != 'P' || in.ReadByte() != 'G' || !IsSpace(in.Peek())) return false;
  SkipSpace(in);
  const int e0 = in.ReadByte(), e1 = in.ReadByte();
  bool bigEndian;
  if (e0 == 'M' && e1 == 'L')
    bigEndian = true;
  else if (e0 == 'L' && e1 == 'M')
    bigEndian = false;
  else
    return false;
  SkipSpace(in);
  bool sgnd = false;
  if (in.Peek() == '+' || in.Peek() == '-') sgnd = in.ReadByte() == '-';
  uint32_t prec = 0, width = 0, height = 0;
  if (!ReadNumber(in, prec) || !ReadNumber(in, width) || !ReadNumber(in, height)) return false;
  if (prec < 1 || prec > 16 || width == 0 || height == 0 || !IsSpace(in.ReadByte())) return false;

  const uint64_t bytes = (prec + 7) / 8;
  const uint64_t samples = uint64_t{width} * height;
  if (samples > IX_JAS_MAX_SAMPLES || samples * bytes > in.Remaining()) return false;
  image.comps.assign(1, IxJasComponent());
  image.family = IxJasFamily::kGrey;
  IxJasComponent& c = image.comps[0];
  c.width = width;
  c.height = height;
  c.prec = prec;
  c.sgnd = sgnd;
  c.data.resize(static_cast<size_t>(samples));
  const uint32_t mask = (1u << prec) - 1;
  for (int32_t& v : c.data) {
    uint8_t b[2] = {0, 0};
    if (!in.Read(b, bytes)) return false;
    uint32_t raw = bytes == 1 ? b[0] : bigEndian ? (b[0] << 8) | b[1] : (b[1] << 8) | b[0];
    raw &= mask;
    v = sgnd && (raw >> (prec - 1)) != 0 ? static_cast<int32_t>(raw) - static_cast<int32_t>(1u << prec)
                                         : static_cast<int32_t>(raw);
  }
  return true;
}

void IxJasPgx::Encode(const IxJasImage& image, std::vector<uint8_t>& out) {
  const IxJasComponent& c = image.comps[0];
  char header[64];
  const int n = snprintf(header, sizeof(header), "PG ML + 8 %u %u\n", c.width, c.height);
  out.assign(header, header + n);
  for (const int32_t v : c.data) out.push_back(static_cast<uint8_t>(v));
}
