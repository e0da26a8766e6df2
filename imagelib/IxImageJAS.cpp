#include "imagelib/IxImageJAS.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <vector>

#include "imagelib/IxFile.h"
#include "imagelib/IxJasImage.h"
#include "imagelib/IxJasOpenJpeg.h"
#include "imagelib/IxJasPgx.h"
#include "imagelib/IxJasPnm.h"
#include "imagelib/IxJasRas.h"
#include "imagelib/IxStreamCursor.h"

namespace {

enum class Kind { kNone, kJp2, kJ2k, kPgx, kPnm, kRas };

Kind Recognise(const uint8_t* h, size_t n) {
  static const uint8_t jp2Box[12] = {0, 0, 0, 0x0C, 0x6A, 0x50, 0x20, 0x20, 0x0D, 0x0A, 0x87, 0x0A};
  static const uint8_t jp2Bare[4] = {0x0D, 0x0A, 0x87, 0x0A};
  static const uint8_t j2k[4] = {0xFF, 0x4F, 0xFF, 0x51};
  if (n >= 12 && memcmp(h, jp2Box, 12) == 0) return Kind::kJp2;
  if (n >= 4 && memcmp(h, jp2Bare, 4) == 0) return Kind::kJp2;
  if (n >= 4 && memcmp(h, j2k, 4) == 0) return Kind::kJ2k;
  if (n >= 3 && h[0] == 'P' && h[1] == 'G' && (h[2] == ' ' || h[2] == '\t' || h[2] == '\r' || h[2] == '\n')) {
    return Kind::kPgx;
  }
  if (n >= 2 && h[0] == 'P' && h[1] >= '0' && h[1] <= '9') return Kind::kPnm;
  if (n >= 4 && IxStreamCursor::BE32(h) == 0x59A66A95) return Kind::kRas;
  return Kind::kNone;
}

uint32_t FormatOf(Kind kind) {
  switch (kind) {
    case Kind::kJp2:
      return IXIMAGE_FORMAT_JP2;
    case Kind::kJ2k:
      return IXIMAGE_FORMAT_JPC;
    case Kind::kPgx:
      return IXIMAGE_FORMAT_PGX;
    case Kind::kPnm:
      return IXIMAGE_FORMAT_PNM;
    case Kind::kRas:
      return IXIMAGE_FORMAT_RAS;
    case Kind::kNone:
      break;
  }
  return IXIMAGE_FORMAT_UNKNOWN;
}

int64_t Unsigned(const IxJasComponent& c, int32_t v) {
  return c.sgnd ? int64_t{v} + (int64_t{1} << (c.prec - 1)) : v;
}

// The sample of component `c` under pixel (x, y) of a w x h picture: subsampled components are
// stretched to the picture.
int32_t SampleAt(const IxJasComponent& c, uint64_t x, uint64_t y, uint64_t w, uint64_t h) {
  const uint64_t sx = c.width == w ? x : x * c.width / w;
  const uint64_t sy = c.height == h ? y : y * c.height / h;
  return c.data[static_cast<size_t>(sy * c.width + sx)];
}

// Y, Cb, Cr to red, green, blue at the precision of the luma component.
void YccToRgb(IxJasImage& image) {
  IxJasComponent& y0 = image.comps[0];
  const uint64_t w = y0.width, h = y0.height;
  const double half = static_cast<double>(1u << (y0.prec - 1));
  const double top = static_cast<double>((1ull << y0.prec) - 1);
  std::vector<IxJasComponent> rgb(3);
  for (IxJasComponent& c : rgb) {
    c.width = y0.width;
    c.height = y0.height;
    c.prec = y0.prec;
    c.data.resize(static_cast<size_t>(w * h));
  }
  for (uint64_t y = 0; y < h; ++y) {
    for (uint64_t x = 0; x < w; ++x) {
      const double l = static_cast<double>(Unsigned(y0, SampleAt(y0, x, y, w, h)));
      const double cb =
          static_cast<double>(Unsigned(image.comps[1], SampleAt(image.comps[1], x, y, w, h))) - half;
      const double cr =
          static_cast<double>(Unsigned(image.comps[2], SampleAt(image.comps[2], x, y, w, h))) - half;
      const double v[3] = {l + 1.402 * cr, l - 0.344136 * cb - 0.714136 * cr, l + 1.772 * cb};
      for (int k = 0; k < 3; ++k)
        rgb[k].data[static_cast<size_t>(y * w + x)] =
            static_cast<int32_t>(std::clamp(std::lround(v[k]), 0L, static_cast<long>(top)));
    }
  }
  image.comps.erase(image.comps.begin(), image.comps.begin() + 3);
  image.comps.insert(image.comps.begin(), rgb.begin(), rgb.end());
  image.family = IxJasFamily::kRgb;
}

// Component `src` on a w x h grid at 8 bits, each value rescaled v x 255 / (2^p - 1).
IxJasComponent EightBit(const IxJasComponent& src, uint64_t w, uint64_t h) {
  const double top = static_cast<double>((1ull << src.prec) - 1);
  IxJasComponent c;
  c.width = static_cast<uint32_t>(w);
  c.height = static_cast<uint32_t>(h);
  c.prec = 8;
  c.alpha = src.alpha;
  c.data.resize(static_cast<size_t>(w * h));
  for (uint64_t y = 0; y < h; ++y) {
    for (uint64_t x = 0; x < w; ++x) {
      const double v =
          std::clamp<double>(static_cast<double>(Unsigned(src, SampleAt(src, x, y, w, h))), 0.0, top);
      c.data[static_cast<size_t>(y * w + x)] = static_cast<int32_t>(v * 255.0 / top);
    }
  }
  return c;
}

// The first opacity plane, if any.
const IxJasComponent* AlphaOf(const IxJasImage& image) {
  for (const IxJasComponent& c : image.comps)
    if (c.alpha != 0) return &c;
  return nullptr;
}

// Three colour components of 8 bits; a grey component is given three times; an opacity plane
// follows them at 8 bits; channels that carry neither colour nor opacity are dropped.
bool ToEightBitRgb(IxJasImage& image) {
  const size_t colours = image.family == IxJasFamily::kGrey ? 1 : image.family == IxJasFamily::kRgb ? 3 : 0;
  if (colours == 0 || image.comps.size() < colours) return false;
  const IxJasComponent& c0 = image.comps[0];
  const uint64_t w = c0.width, h = c0.height;
  std::vector<IxJasComponent> out;
  for (size_t k = 0; k < 3; ++k) out.push_back(EightBit(image.comps[colours == 1 ? 0 : k], w, h));
  if (const IxJasComponent* a = AlphaOf(image)) out.push_back(EightBit(*a, w, h));
  image.comps = std::move(out);
  image.family = IxJasFamily::kRgb;
  return true;
}

// Opacity sample `v` of plane `c` on 8 bits.
uint8_t EightBitAlpha(const IxJasComponent& c, int32_t v) {
  const double top = static_cast<double>((1ull << c.prec) - 1);
  return static_cast<uint8_t>(std::clamp<double>(static_cast<double>(Unsigned(c, v)), 0.0, top) * 255.0 /
                              top);
}

}  // namespace

bool IxImageJAS::Decode(IxFile* hFile, uint32_t imagetype) {
  if (hFile == nullptr) return false;
  const int64_t start = hFile->Tell();
  uint8_t magic[12] = {};
  const size_t got = hFile->Read(magic, 1, sizeof(magic));
  if (start < 0 || !hFile->Seek(start, SEEK_SET)) {
    SetLastError("error: cannot open standard input");
    return false;
  }
  const Kind kind = Recognise(magic, got);
  IxJasImage image;
  bool ok = false;
  if (kind == Kind::kJp2 || kind == Kind::kJ2k) {
    ok = IxJasOpenJpeg::Decode(hFile, kind == Kind::kJp2, image);
  } else if (kind != Kind::kNone) {
    IxStreamCursor in(hFile);
    ok = kind == Kind::kPgx   ? IxJasPgx::Decode(in, image)
         : kind == Kind::kPnm ? IxJasPnm::Decode(in, image)
                              : IxJasRas::Decode(in, image);
  }
  if (!ok || image.comps.empty()) {
    SetLastError("error: cannot load image data");
    return false;
  }
  // A load through detection reports the format that was found, as a typed load does.
  if (imagetype == IXIMAGE_FORMAT_UNKNOWN) imagetype = FormatOf(kind);
  return ToPicture(image, imagetype);
}

bool IxImageJAS::ToPicture(IxJasImage& image, uint32_t imagetype) {
  if (image.comps.size() > 64) {
    SetLastError("error: too much components");
    return false;
  }
  // OpenJPEG leaves luma and chroma as they are coded.
  if (image.family == IxJasFamily::kYcc && image.comps.size() >= 3) YccToRgb(image);
  const uint32_t prec = image.comps[0].prec;
  if (prec != 1 && prec != 4 && prec != 8 && !ToEightBitRgb(image)) {
    SetLastError("cannot convert to sRGB");
    return false;
  }

  const IxJasComponent& c0 = image.comps[0];
  if (c0.width > INT32_MAX || c0.height > INT32_MAX) {
    SetLastError("Can't allocate memory");
    return false;
  }
  const uint64_t w = c0.width, h = c0.height;
  // An opacity plane becomes the alpha plane; where the colour was multiplied by it, it is
  // divided out again.
  const IxJasComponent* alpha = c0.alpha == 0 ? AlphaOf(image) : nullptr;
  auto putAlpha = [&]() {
    if (alpha == nullptr) return true;
    AlphaCreate();
    if (!AlphaIsValid()) return false;
    for (uint64_t j = 0; j < h; ++j) {
      for (uint64_t x = 0; x < w; ++x) {
        AlphaSet(static_cast<int64_t>(x), static_cast<int64_t>(h - 1 - j),
                 EightBitAlpha(*alpha, SampleAt(*alpha, x, j, w, h)));
      }
    }
    return true;
  };
  auto shown = [&](uint8_t v, uint64_t x, uint64_t j) -> uint8_t {
    if (alpha == nullptr || alpha->alpha != 2) return v;
    const uint32_t a = AlphaGet(static_cast<int64_t>(x), static_cast<int64_t>(h - 1 - j));
    return a == 0 ? v : static_cast<uint8_t>(std::min<uint32_t>(255, (v * 255u + a / 2) / a));
  };
  // Colour: three components alike (other channels after them are left aside).
  const bool colour = image.comps.size() >= 3 &&
                      (image.comps.size() == 3 || image.family == IxJasFamily::kRgb) &&
                      std::all_of(image.comps.begin(), image.comps.begin() + 3, [&](const IxJasComponent& c) {
                        return c.width == c0.width && c.height == c0.height && c.prec == c0.prec;
                      });
  if (colour) {
    if (Create(static_cast<int32_t>(w), static_cast<int32_t>(h), 24, imagetype) == nullptr || !putAlpha()) {
      SetLastError("Can't allocate memory");
      return false;
    }
    for (uint64_t j = 0; j < h; ++j) {
      uint8_t* row = GetBits(0) + (h - 1 - j) * GetEffWidth();
      for (uint64_t x = 0; x < w; ++x) {
        const size_t at = static_cast<size_t>(j * w + x);
        row[3 * x] = shown(static_cast<uint8_t>(image.comps[2].data[at]), x, j);
        row[3 * x + 1] = shown(static_cast<uint8_t>(image.comps[1].data[at]), x, j);
        row[3 * x + 2] = shown(static_cast<uint8_t>(image.comps[0].data[at]), x, j);
      }
    }
    return true;
  }

  // Grey with opacity is one grey picture with an alpha plane.
  if (image.family == IxJasFamily::kGrey && image.comps.size() == 2 && alpha == &image.comps[1]) {
    info.nNumFrames = 1;
    if (Create(static_cast<int32_t>(w), static_cast<int32_t>(h), std::min<uint32_t>(c0.prec, 8), imagetype) ==
            nullptr ||
        !putAlpha()) {
      SetLastError("Can't allocate memory");
      return false;
    }
    SetGrayPalette();
    for (uint64_t j = 0; j < h; ++j) {
      for (uint64_t x = 0; x < w; ++x) {
        const uint8_t v = static_cast<uint8_t>(c0.data[static_cast<size_t>(j * w + x)]);
        SetPixelIndex(static_cast<int64_t>(x), static_cast<int64_t>(h - 1 - j),
                      c0.prec == 8 ? shown(v, x, j) : v);
      }
    }
    return true;
  }

  info.nNumFrames = static_cast<int32_t>(image.comps.size());
  if (info.nFrame < 0 || info.nFrame >= info.nNumFrames) {
    SetLastError("wrong frame!");
    return false;
  }
  // Each component is a frame of its own size.
  const IxJasComponent& c = image.comps[static_cast<size_t>(info.nFrame)];
  if (c.width > INT32_MAX || c.height > INT32_MAX ||
      Create(static_cast<int32_t>(c.width), static_cast<int32_t>(c.height), std::min<uint32_t>(c.prec, 8),
             imagetype) == nullptr) {
    SetLastError("Can't allocate memory");
    return false;
  }
  SetGrayPalette();
  for (uint64_t j = 0; j < c.height; ++j) {
    for (uint64_t x = 0; x < c.width; ++x) {
      SetPixelIndex(static_cast<int64_t>(x), static_cast<int64_t>(c.height - 1 - j),
                    static_cast<uint8_t>(c.data[static_cast<size_t>(j * c.width + x)]));
    }
  }
  return true;
}

bool IxImageJAS::Encode(IxFile* hFile, uint32_t imagetype) {
  if (EncodeSafeCheck(hFile)) return false;
  const bool grey = IsGrayScale();
  if (!grey && GetBpp() != 24) {
    SetLastError("JasPer can save only RGB or GrayScale images");
    return false;
  }
  if (imagetype == IXIMAGE_FORMAT_PGX && !IsIndexed()) {
    SetLastError("PGX can save only GrayScale images");
    return false;
  }
  IxJasImage image;
  image.family = grey ? IxJasFamily::kGrey : IxJasFamily::kRgb;
  image.comps.assign(grey ? 1 : 3, IxJasComponent());
  const uint64_t w = GetWidth(), h = GetHeight();
  for (IxJasComponent& c : image.comps) {
    c.width = static_cast<uint32_t>(w);
    c.height = static_cast<uint32_t>(h);
    c.data.resize(static_cast<size_t>(w * h));
  }
  for (uint64_t y = 0; y < h; ++y) {
    const size_t row = static_cast<size_t>((h - 1 - y) * w);
    for (uint64_t x = 0; x < w; ++x) {
      if (grey) {
        image.comps[0].data[row + x] = BlindGetPixelIndex(static_cast<int64_t>(x), static_cast<int64_t>(y));
      } else {
        const uint8_t* p = BlindGetPixelPointer(static_cast<int64_t>(x), static_cast<int64_t>(y));
        image.comps[0].data[row + x] = p[2];
        image.comps[1].data[row + x] = p[1];
        image.comps[2].data[row + x] = p[0];
      }
    }
  }

  bool ok = false;
  if (imagetype == IXIMAGE_FORMAT_JP2 || imagetype == IXIMAGE_FORMAT_JPC) {
    ok = IxJasOpenJpeg::Encode(image, hFile, imagetype == IXIMAGE_FORMAT_JP2, GetJpegQuality() * 0.01);
  } else if (imagetype >= IXIMAGE_FORMAT_PGX && imagetype <= IXIMAGE_FORMAT_RAS) {
    std::vector<uint8_t> out;
    if (imagetype == IXIMAGE_FORMAT_PGX)
      IxJasPgx::Encode(image, out);
    else if (imagetype == IXIMAGE_FORMAT_PNM)
      IxJasPnm::Encode(image, out);
    else
      IxJasRas::Encode(image, out);
    ok = hFile->Write(out.data(), 1, out.size()) == out.size();
  }
  if (ok) ok = hFile->Flush();
  if (!ok) SetLastError("error: cannot encode image\n");
  return ok;
}
