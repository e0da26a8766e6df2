#include "imagelib/IxJasRas.h"

#include "imagelib/IxStreamCursor.h"

namespace {

constexpr uint32_t kMagic = 0x59A66A95;
// Types of raster: old and standard keep colour pixels as blue, green, red; the RGB type as red,
// green, blue.
constexpr uint32_t kTypeStandard = 1;
constexpr uint32_t kTypeRgb = 3;

void PutBE32(std::vector<uint8_t>& v, uint32_t x) {
  for (int i = 3; i >= 0; --i) v.push_back(static_cast<uint8_t>(x >> (8 * i)));
}

}  // namespace

bool IxJasRas::Decode(IxStreamCursor& in, IxJasImage& image) {
  uint8_t h[32];
  if (!in.Read(h, sizeof(h)) || IxStreamCursor::BE32(h) != kMagic) return false;
  const uint32_t width = IxStreamCursor::BE32(h + 4);
  const uint32_t height = IxStreamCursor::BE32(h + 8);
  const uint32_t depth = IxStreamCursor::BE32(h + 12);
  const uint32_t type = IxStreamCursor::BE32(h + 20);
  const uint32_t mapType = IxStreamCursor::BE32(h + 24);
  const uint32_t mapLength = IxStreamCursor::BE32(h + 28);
  if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX) return false;
  if (depth != 1 && depth != 8 && depth != 24 && depth != 32) return false;
  if ((type > kTypeStandard && type != kTypeRgb) || mapType > 1) return false;
  const bool rgbOrder = type == kTypeRgb;
  if (mapType == 1) {
    if (mapLength % 3 != 0 || depth > 8 || mapLength / 3 > (1u << depth)) return false;
  }
  if (!in.Skip(mapType == 1 ? mapLength : 0)) return false;

  // Rows are padded to 16 bits.
  const uint64_t rowBytes = (uint64_t{width} * depth + 15) / 16 * 2;
  const uint32_t planes = depth >= 24 ? 3 : 1;
  const uint64_t samples = uint64_t{width} * height * planes;
  if (samples > IX_JAS_MAX_SAMPLES || rowBytes * height > in.Remaining()) return false;
  image.comps.assign(planes, IxJasComponent());
  image.family = planes == 3 ? IxJasFamily::kRgb : IxJasFamily::kGrey;
  for (IxJasComponent& c : image.comps) {
    c.width = width;
    c.height = height;
    c.prec = planes == 3 ? 8 : depth;
    c.data.resize(static_cast<size_t>(uint64_t{width} * height));
  }
  std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
  for (uint64_t y = 0; y < height; ++y) {
    if (!in.Read(row.data(), rowBytes)) return false;
    for (uint64_t x = 0; x < width; ++x) {
      const size_t at = static_cast<size_t>(y * width + x);
      switch (depth) {
        case 1:
          image.comps[0].data[at] = (row[x / 8] >> (7 - (x & 7))) & 1;
          break;
        case 8:
          image.comps[0].data[at] = row[x];
          break;
        default: {
          // 32-bit pixels lead with a pad byte.
          const uint8_t* p = &row[depth == 24 ? 3 * x : 4 * x + 1];
          image.comps[0].data[at] = rgbOrder ? p[0] : p[2];
          image.comps[1].data[at] = p[1];
          image.comps[2].data[at] = rgbOrder ? p[2] : p[0];
          break;
        }
      }
    }
  }
  return true;
}

void IxJasRas::Encode(const IxJasImage& image, std::vector<uint8_t>& out) {
  const IxJasComponent& c0 = image.comps[0];
  const bool colour = image.comps.size() == 3;
  const uint32_t depth = colour ? 24 : 8;
  const uint64_t rowBytes = (uint64_t{c0.width} * depth / 8 + 1) / 2 * 2;
  out.clear();
  PutBE32(out, kMagic);
  PutBE32(out, c0.width);
  PutBE32(out, c0.height);
  PutBE32(out, depth);
  PutBE32(out, static_cast<uint32_t>(rowBytes * c0.height));
  PutBE32(out, kTypeStandard);
  PutBE32(out, 0);
  PutBE32(out, 0);
  for (uint64_t y = 0; y < c0.height; ++y) {
    const size_t start = out.size();
    for (uint64_t x = 0; x < c0.width; ++x) {
      const size_t at = static_cast<size_t>(y * c0.width + x);
      if (colour) {
        out.push_back(static_cast<uint8_t>(image.comps[2].data[at]));
        out.push_back(static_cast<uint8_t>(image.comps[1].data[at]));
        out.push_back(static_cast<uint8_t>(image.comps[0].data[at]));
      } else {
        out.push_back(static_cast<uint8_t>(c0.data[at]));
      }
    }
    out.resize(start + static_cast<size_t>(rowBytes), 0);
  }
}
