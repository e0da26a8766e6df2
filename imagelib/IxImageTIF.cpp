#include "imagelib/IxImageTIF.h"

#include <tiffio.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "imagelib/IxFile.h"

namespace {

// What one stored byte may decode to at most: bilevel fax coding reaches thousands of pixels per
// byte, but a header asking for gigabytes from a few bytes of file is refused.
constexpr uint64_t kMaxExpansion = 1ull << 16;
constexpr uint64_t kUncheckedBytes = 64ull << 20;
// The largest single block libtiff may allocate for one handle.
constexpr tmsize_t kMaxLibraryAlloc = 512 * 1024 * 1024;

IxFile* StreamOf(thandle_t h) { return static_cast<IxFile*>(h); }

tmsize_t ReadProc(thandle_t h, void* buf, tmsize_t size) {
  if (size <= 0) return 0;
  return static_cast<tmsize_t>(StreamOf(h)->Read(buf, 1, static_cast<size_t>(size)));
}

tmsize_t WriteProc(thandle_t h, void* buf, tmsize_t size) {
  if (size <= 0) return 0;
  return static_cast<tmsize_t>(StreamOf(h)->Write(buf, 1, static_cast<size_t>(size)));
}

toff_t SeekProc(thandle_t h, toff_t off, int whence) {
  if (off == static_cast<toff_t>(-1)) return static_cast<toff_t>(-1);
  IxFile* f = StreamOf(h);
  if (!f->Seek(static_cast<int64_t>(off), whence)) return static_cast<toff_t>(-1);
  if (whence == SEEK_SET) return off;
  const int64_t pos = f->Tell();
  return pos < 0 ? static_cast<toff_t>(-1) : static_cast<toff_t>(pos);
}

int CloseProc(thandle_t) { return 0; }

toff_t SizeProc(thandle_t h) {
  const int64_t size = StreamOf(h)->Size();
  return size < 0 ? 0 : static_cast<toff_t>(size);
}

int MapProc(thandle_t, void**, toff_t*) { return 0; }
void UnmapProc(thandle_t, void*, toff_t) {}

int Silent(TIFF*, void*, const char*, const char*, va_list) { return 1; }

// A valid file whose samples neither reading path can show is named as such, not as damage.
std::string UnsupportedText(TIFF* tif) {
  uint16_t bitsPerSample = 1, sampleFormat = SAMPLEFORMAT_UINT, photometric = 0;
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
  const char* kind = nullptr;
  switch (photometric) {
    case PHOTOMETRIC_MINISWHITE:
      kind = "min-is-white";
      break;
    case PHOTOMETRIC_MINISBLACK:
      kind = "min-is-black";
      break;
    case PHOTOMETRIC_RGB:
      kind = "RGB";
      break;
    case PHOTOMETRIC_PALETTE:
      kind = "palette";
      break;
    case PHOTOMETRIC_MASK:
      kind = "mask";
      break;
    case PHOTOMETRIC_SEPARATED:
      kind = "CMYK";
      break;
    case PHOTOMETRIC_YCBCR:
      kind = "YCbCr";
      break;
    case PHOTOMETRIC_CIELAB:
    case PHOTOMETRIC_ICCLAB:
    case PHOTOMETRIC_ITULAB:
      kind = "Lab";
      break;
    case PHOTOMETRIC_LOGL:
    case PHOTOMETRIC_LOGLUV:
      kind = "LogLuv";
      break;
    default:
      break;
  }
  const char* format = sampleFormat == SAMPLEFORMAT_IEEEFP ? " floating-point"
                       : sampleFormat == SAMPLEFORMAT_INT  ? " signed"
                                                           : "";
  char text[128];
  if (kind != nullptr) {
    snprintf(text, sizeof(text), "Unsupported TIFF format: %u-bit%s %s samples", unsigned{bitsPerSample},
             format, kind);
  } else {
    snprintf(text, sizeof(text), "Unsupported TIFF format: %u-bit%s samples, photometric %u",
             unsigned{bitsPerSample}, format, unsigned{photometric});
  }
  return text;
}

// Divides colour multiplied by its alpha back out, on samples of `top` (255 or 65535) at most.
uint32_t Unpremultiply(uint32_t colour, uint32_t alpha, uint32_t top) {
  if (alpha == 0 || alpha >= top) return colour;
  return std::min<uint32_t>(top, static_cast<uint32_t>((uint64_t{colour} * top + alpha / 2) / alpha));
}

// The whole file counts: strips may lie anywhere in it.
bool Plausible(IxFile* f, uint64_t decodedBytes) {
  if (decodedBytes <= kUncheckedBytes) return true;
  const int64_t size = f->Size();
  return size < 0 || decodedBytes / kMaxExpansion <= static_cast<uint64_t>(size);
}

}  // namespace

TIFF* TiffOpenOverIxFile(IxFile* stream, const char* mode) {
  if (stream == nullptr) return nullptr;
  TIFFOpenOptions* options = TIFFOpenOptionsAlloc();
  if (options == nullptr) return nullptr;
  TIFFOpenOptionsSetErrorHandlerExtR(options, Silent, nullptr);
  TIFFOpenOptionsSetWarningHandlerExtR(options, Silent, nullptr);
  TIFFOpenOptionsSetMaxSingleMemAlloc(options, kMaxLibraryAlloc);
  TIFF* tif = TIFFClientOpenExt("TIFF IMAGE", mode, static_cast<thandle_t>(stream), ReadProc, WriteProc,
                                SeekProc, CloseProc, SizeProc, MapProc, UnmapProc, options);
  TIFFOpenOptionsFree(options);
  return tif;
}

IxImageTIF::~IxImageTIF() {
  if (m_tif != nullptr) TIFFClose(m_tif);
}

bool IxImageTIF::Decode(IxFile* hFile) {
  if (hFile == nullptr) return false;
  TIFF* tif = TiffOpenOverIxFile(hFile, "r");
  if (tif == nullptr) {
    SetLastError("Error encountered while opening TIFF file");
    return false;
  }
  auto fail = [&](const char* text) {
    SetLastError(text);
    TIFFClose(tif);
    return false;
  };

  info.nNumFrames = static_cast<int32_t>(std::min<tdir_t>(TIFFNumberOfDirectories(tif), INT32_MAX));
  if (info.nFrame < 0 || info.nFrame >= info.nNumFrames ||
      !TIFFSetDirectory(tif, static_cast<tdir_t>(info.nFrame))) {
    return fail("Error: page not present in TIFF file");
  }

  uint32_t width = 0, height = 0, rowsPerStrip = 0;
  uint16_t samples = 1, bitsPerSample = 1, photometric = 0, orientation = 1, planar = 1, sampleFormat = 1;
  uint16_t compression = 1;
  TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
  TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLESPERPIXEL, &samples);
  TIFFGetFieldDefaulted(tif, TIFFTAG_BITSPERSAMPLE, &bitsPerSample);
  TIFFGetFieldDefaulted(tif, TIFFTAG_ROWSPERSTRIP, &rowsPerStrip);
  TIFFGetField(tif, TIFFTAG_PHOTOMETRIC, &photometric);
  TIFFGetField(tif, TIFFTAG_ORIENTATION, &orientation);
  TIFFGetFieldDefaulted(tif, TIFFTAG_PLANARCONFIG, &planar);
  TIFFGetFieldDefaulted(tif, TIFFTAG_SAMPLEFORMAT, &sampleFormat);
  TIFFGetFieldDefaulted(tif, TIFFTAG_COMPRESSION, &compression);
  // The first extra sample is the one read as alpha; associated alpha is multiplied into the colour.
  uint16_t extraCount = 0;
  uint16_t* extraTypes = nullptr;
  TIFFGetField(tif, TIFFTAG_EXTRASAMPLES, &extraCount, &extraTypes);
  const uint16_t alphaKind =
      extraCount > 0 && extraTypes != nullptr ? extraTypes[0] : uint16_t{EXTRASAMPLE_UNSPECIFIED};

  if (info.nEscape == -1) {
    head.biWidth = static_cast<int32_t>(std::min<uint32_t>(width, INT32_MAX));
    head.biHeight = static_cast<int32_t>(std::min<uint32_t>(height, INT32_MAX));
    SetLastError("output dimensions returned");
    TIFFClose(tif);
    return true;
  }

  uint16_t unit = RESUNIT_INCH;
  float xres = 0, yres = 0, xpos = 0, ypos = 0;
  TIFFGetFieldDefaulted(tif, TIFFTAG_RESOLUTIONUNIT, &unit);
  const bool hasX = TIFFGetField(tif, TIFFTAG_XRESOLUTION, &xres) != 0;
  const bool hasY = TIFFGetField(tif, TIFFTAG_YRESOLUTION, &yres) != 0;
  // Rationals from the file may be anything, infinities and NaN included.
  auto toInt = [](double v) { return std::isfinite(v) ? static_cast<int32_t>(std::clamp(v, -2e9, 2e9)) : 0; };
  auto toDpi = [unit, toInt](float r) { return toInt(unit == RESUNIT_CENTIMETER ? r * 2.54 + 0.5 : r); };
  if (hasX) SetXDPI(toDpi(xres));
  if (hasY) SetYDPI(toDpi(yres));
  // Positions are in resolution units: in pixels they are position x resolution.
  if (TIFFGetField(tif, TIFFTAG_XPOSITION, &xpos) != 0) {
    info.xOffset = toInt(static_cast<double>(xpos) * (hasX ? xres : 1.0f));
  }
  if (TIFFGetField(tif, TIFFTAG_YPOSITION, &ypos) != 0) {
    info.yOffset = toInt(static_cast<double>(ypos) * (hasY ? yres : 1.0f));
  }

  if (rowsPerStrip > height) {
    rowsPerStrip = height;
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);
  }

  // Palette, grey and grey-alpha data at the depths a DIB holds exactly, and 8-bit CIELab, are
  // read directly; everything else goes through libtiff's RGBA reader.
  const bool exactDepth = bitsPerSample == 1 || bitsPerSample == 4 || bitsPerSample == 8 ||
                          (bitsPerSample == 16 && photometric != PHOTOMETRIC_PALETTE);
  const bool grey = photometric == PHOTOMETRIC_MINISWHITE || photometric == PHOTOMETRIC_MINISBLACK ||
                    photometric == PHOTOMETRIC_PALETTE;
  const bool lab = photometric == PHOTOMETRIC_CIELAB && bitsPerSample == 8 && samples >= 3 && samples <= 4;
  // 8 and 16-bit RGB are read as stored too: the RGBA reader gives alpha multiplied into 8-bit
  // colour, which loses the colour of faint pixels.
  const bool rgb = photometric == PHOTOMETRIC_RGB && (bitsPerSample == 8 || bitsPerSample == 16) &&
                   samples >= 3 && samples <= 4;
  const bool direct =
      planar == PLANARCONFIG_CONTIG && sampleFormat != SAMPLEFORMAT_IEEEFP &&
      ((grey && exactDepth && (samples == 1 || (samples == 2 && bitsPerSample >= 8))) || lab || rgb);
  const uint32_t depth = !direct || lab || rgb ? 24 : bitsPerSample <= 4 ? bitsPerSample : 8;

  if (info.nEscape != 0) return fail("Cancelled");
  const uint64_t pixels = uint64_t{width} * height;
  if (width == 0 || height == 0 || width > INT32_MAX || height > INT32_MAX ||
      !Plausible(hFile, pixels * (direct ? (depth + 7) / 8 : 7))) {
    return fail("IxImageTIF can't create image");
  }
  if (Create(static_cast<int32_t>(width), static_cast<int32_t>(height), depth, IXIMAGE_FORMAT_TIF) ==
      nullptr) {
    return fail("IxImageTIF can't create image");
  }
  if (samples == 4 || (samples == 2 && bitsPerSample >= 8)) {
    AlphaCreate();
    if (!AlphaIsValid()) return fail("IxImageTIF can't allocate memory");
  }
  SetCodecOption(compression, IXIMAGE_FORMAT_TIF);

  bool ok = false;
  if (direct) {
    const bool premultiplied = alphaKind == EXTRASAMPLE_ASSOCALPHA &&
                               (photometric == PHOTOMETRIC_RGB || photometric == PHOTOMETRIC_MINISBLACK);
    ok = DecodeStrips(tif, samples, bitsPerSample, photometric, rowsPerStrip, premultiplied);
  } else {
    // The RGBA reader multiplies unassociated alpha into the colour and leaves associated as is.
    ok = DecodeRGBA(tif, alphaKind == EXTRASAMPLE_ASSOCALPHA || alphaKind == EXTRASAMPLE_UNASSALPHA);
  }
  if (!ok) {
    TIFFClose(tif);
    return false;
  }
  TIFFClose(tif);

  if (!direct) {
    // The RGBA reader treats orientations 5 to 8 as 1 to 4 (it flips but never transposes):
    // 5 and 7 still need a transpose, 6 and 8 a transverse.
    if (orientation == 5 || orientation == 7) {
      RotateRight();
      Mirror();
    } else if (orientation == 6 || orientation == 8) {
      RotateRight();
      Flip();
    }
    return true;
  }
  switch (orientation) {
    case 2:
      Mirror();
      break;
    case 3:
      Flip();
      Mirror();
      break;
    case 4:
      Flip();
      break;
    case 5:
      RotateRight();
      Mirror();
      break;
    case 6:
      RotateRight();
      break;
    case 7:
      RotateLeft();
      Mirror();
      break;
    case 8:
      RotateLeft();
      break;
    default:
      break;
  }
  return true;
}

bool IxImageTIF::DecodeRGBA(TIFF* tif, bool premultiplied) {
  const uint64_t width = GetWidth();
  const uint64_t height = GetHeight();
  // Layouts the reader has no routine for are known before any data is read.
  TIFFRGBAImage reader;
  char why[1024] = {};
  if (!TIFFRGBAImageOK(tif, why) || !TIFFRGBAImageBegin(&reader, tif, 0, why)) {
    SetLastError(UnsupportedText(tif).c_str());
    return false;
  }
  uint32_t* raster =
      static_cast<uint32_t*>(_TIFFmalloc(static_cast<tmsize_t>(width * height * sizeof(uint32_t))));
  if (raster == nullptr) {
    TIFFRGBAImageEnd(&reader);
    SetLastError("No space for raster buffer");
    return false;
  }
  reader.req_orientation = ORIENTATION_BOTLEFT;
  const bool read =
      TIFFRGBAImageGet(&reader, raster, static_cast<uint32_t>(width), static_cast<uint32_t>(height)) != 0;
  TIFFRGBAImageEnd(&reader);
  if (!read) {
    _TIFFfree(raster);
    SetLastError("Corrupted TIFF file!");
    return false;
  }
  const bool alpha = AlphaIsValid();
  uint8_t* bits = GetBits(0);
  for (uint64_t y = 0; y < height; ++y) {
    if (info.nEscape != 0) {
      _TIFFfree(raster);
      SetLastError("Cancelled");
      return false;
    }
    uint8_t* dst = bits + y * GetEffWidth();
    const uint32_t* src = raster + y * width;
    for (uint64_t x = 0; x < width; ++x) {
      const uint32_t v = src[x];
      const uint32_t a = TIFFGetA(v);
      auto colour = [&](uint32_t c) {
        return static_cast<uint8_t>(premultiplied ? Unpremultiply(c, a, 255) : c);
      };
      dst[3 * x] = colour(TIFFGetB(v));
      dst[3 * x + 1] = colour(TIFFGetG(v));
      dst[3 * x + 2] = colour(TIFFGetR(v));
      if (alpha) AlphaSet(static_cast<int64_t>(x), static_cast<int64_t>(y), static_cast<uint8_t>(a));
    }
  }
  _TIFFfree(raster);
  return true;
}

bool IxImageTIF::DecodeStrips(TIFF* tif, uint32_t samples, uint32_t bitsPerSample, uint32_t photometric,
                              uint32_t rowsPerStrip, bool premultiplied) {
  const uint64_t width = GetWidth();
  const uint64_t height = GetHeight();
  const bool lab = photometric == PHOTOMETRIC_CIELAB;

  if (IsIndexed()) {
    IxRGBQuad palette[256];
    memset(palette, 0, sizeof(palette));
    const uint32_t colors = bitsPerSample >= 8 ? 256 : 1u << bitsPerSample;
    if (photometric == PHOTOMETRIC_PALETTE) {
      uint16_t *r = nullptr, *g = nullptr, *b = nullptr;
      if (TIFFGetField(tif, TIFFTAG_COLORMAP, &r, &g, &b) != 0 && r != nullptr && g != nullptr &&
          b != nullptr) {
        bool wide = false;
        for (uint32_t i = 0; i < colors; ++i) wide = wide || r[i] > 255 || g[i] > 255 || b[i] > 255;
        for (uint32_t i = 0; i < colors; ++i) {
          palette[i].rgbRed = static_cast<uint8_t>(wide ? r[i] * 255 / 65535 : r[i]);
          palette[i].rgbGreen = static_cast<uint8_t>(wide ? g[i] * 255 / 65535 : g[i]);
          palette[i].rgbBlue = static_cast<uint8_t>(wide ? b[i] * 255 / 65535 : b[i]);
        }
      }
    } else {
      const bool inverted = photometric == PHOTOMETRIC_MINISWHITE;
      for (uint32_t i = 0; i < colors; ++i) {
        const uint8_t v = static_cast<uint8_t>(i * (255 / (colors - 1)));
        const uint8_t g = inverted ? static_cast<uint8_t>(255 - v) : v;
        palette[i] = IxRGBQuad{g, g, g, 0};
      }
    }
    SetPalette(palette, GetNumColors());
  }

  const uint64_t lineBytes = (uint64_t{bitsPerSample} * width * samples + 7) / 8;
  std::vector<uint8_t> strip;
  if (TIFFIsTiled(tif)) {
    uint32_t tileW = 0, tileH = 0;
    TIFFGetField(tif, TIFFTAG_TILEWIDTH, &tileW);
    TIFFGetField(tif, TIFFTAG_TILELENGTH, &tileH);
    const tmsize_t tileSize = TIFFTileSize(tif);
    const uint64_t tileRowBytes = static_cast<uint64_t>(TIFFTileRowSize(tif));
    if (tileW == 0 || tileH == 0 || tileSize <= 0 || tileRowBytes == 0 ||
        (uint64_t{tileW} * bitsPerSample * samples) % 8 != 0) {
      SetLastError("Corrupted tiled TIFF file!");
      return false;
    }
    std::vector<uint8_t> tile;
    try {
      tile.resize(static_cast<size_t>(tileSize));
      strip.resize(static_cast<size_t>(lineBytes * tileH));
    } catch (const std::bad_alloc&) {
      SetLastError("IxImageTIF can't allocate memory");
      return false;
    }
    const uint64_t columnBytes = uint64_t{tileW} * bitsPerSample * samples / 8;
    for (uint64_t top = 0; top < height; top += tileH) {
      if (info.nEscape != 0) {
        SetLastError("Cancelled");
        return false;
      }
      const uint64_t rows = std::min<uint64_t>(tileH, height - top);
      for (uint64_t left = 0; left < width; left += tileW) {
        std::fill(tile.begin(), tile.end(), 0);
        if (TIFFReadTile(tif, tile.data(), static_cast<uint32_t>(left), static_cast<uint32_t>(top), 0, 0) <
            0) {
          SetLastError("Corrupted tiled TIFF file!");
          return false;
        }
        // The last tile column is cut at the picture's width, the last tile row at its height.
        const uint64_t at = left / tileW * columnBytes;
        const uint64_t n = std::min(columnBytes, lineBytes - at);
        for (uint64_t r = 0; r < rows; ++r) memcpy(&strip[r * lineBytes + at], &tile[r * tileRowBytes], n);
      }
      for (uint64_t r = 0; r < rows; ++r) {
        PutStripLine(&strip[r * lineBytes], static_cast<int64_t>(height - 1 - (top + r)), samples,
                     bitsPerSample, lab, premultiplied);
      }
    }
    return true;
  }

  const tmsize_t stripSize = TIFFStripSize(tif);
  if (stripSize <= 0 || rowsPerStrip == 0) {
    SetLastError("Corrupted TIFF file!");
    return false;
  }
  try {
    strip.resize(
        std::max<size_t>(static_cast<size_t>(stripSize), static_cast<size_t>(lineBytes * rowsPerStrip)));
  } catch (const std::bad_alloc&) {
    SetLastError("IxImageTIF can't allocate memory");
    return false;
  }
  for (uint64_t top = 0; top < height; top += rowsPerStrip) {
    if (info.nEscape != 0) {
      SetLastError("Cancelled");
      return false;
    }
    std::fill(strip.begin(), strip.end(), 0);
    const uint32_t index = TIFFComputeStrip(tif, static_cast<uint32_t>(top), 0);
    if (TIFFReadEncodedStrip(tif, index, strip.data(), stripSize) < 0) {
      SetLastError("Corrupted TIFF file!");
      return false;
    }
    // The last strip may announce rows beyond the picture.
    const uint64_t rows = std::min<uint64_t>(rowsPerStrip, height - top);
    for (uint64_t r = 0; r < rows; ++r) {
      PutStripLine(&strip[r * lineBytes], static_cast<int64_t>(height - 1 - (top + r)), samples,
                   bitsPerSample, lab, premultiplied);
    }
  }
  return true;
}

void IxImageTIF::PutStripLine(const uint8_t* src, int64_t row, uint32_t samples, uint32_t bitsPerSample,
                              bool lab, bool premultiplied) {
  const int64_t width = GetWidth();
  uint8_t* dst = GetBits(0) + static_cast<uint64_t>(row) * GetEffWidth();
  // A sample as stored: 16-bit samples are in host order.
  auto raw = [&](int64_t i) -> uint32_t {
    if (bitsPerSample == 16) {
      uint16_t v;
      memcpy(&v, src + 2 * i, 2);
      return v;
    }
    return src[i];
  };
  const uint32_t top = bitsPerSample == 16 ? 65535 : 255;
  // A sample's value on 8 bits: the high byte of a 16-bit sample.
  auto eight = [&](uint32_t v) { return static_cast<uint8_t>(bitsPerSample == 16 ? v >> 8 : v); };
  auto sample = [&](int64_t i) { return eight(raw(i)); };
  // Colour sample i of a pixel whose alpha is sample a, the alpha divided out at full precision.
  auto colour = [&](int64_t i, int64_t a) {
    return eight(premultiplied ? Unpremultiply(raw(i), raw(a), top) : raw(i));
  };
  if (lab) {
    for (int64_t x = 0; x < width; ++x) {
      const double l = src[samples * x];
      const double a = static_cast<int8_t>(src[samples * x + 1]);
      const double b = static_cast<int8_t>(src[samples * x + 2]);
      const double fy = (l * 100.0 / 255.0 + 16.0) / 116.0;
      const double X = std::pow(fy + a * 0.002, 3) * 0.95047;
      const double Y = std::pow(fy, 3);
      const double Z = std::pow(fy - b * 0.005, 3) * 1.0883;
      double rgb[3] = {3.240479 * X - 1.53715 * Y - 0.498535 * Z, -0.969256 * X + 1.875992 * Y + 0.041556 * Z,
                       0.055648 * X - 0.204043 * Y + 1.057311 * Z};
      for (double& v : rgb) {
        v = v > 0.00304 ? 1.055 * std::pow(v, 0.41667) - 0.055 : 12.92 * v;
        v = std::clamp(std::trunc(v * 255.0), 0.0, 255.0);
      }
      dst[3 * x] = static_cast<uint8_t>(rgb[2]);
      dst[3 * x + 1] = static_cast<uint8_t>(rgb[1]);
      dst[3 * x + 2] = static_cast<uint8_t>(rgb[0]);
      if (samples == 4) AlphaSet(x, row, src[4 * x + 3]);
    }
    return;
  }
  if (samples >= 3) {
    const bool alpha = samples == 4;
    for (int64_t x = 0; x < width; ++x) {
      const int64_t p = samples * x;
      dst[3 * x] = alpha ? colour(p + 2, p + 3) : sample(p + 2);
      dst[3 * x + 1] = alpha ? colour(p + 1, p + 3) : sample(p + 1);
      dst[3 * x + 2] = alpha ? colour(p, p + 3) : sample(p);
      if (alpha) AlphaSet(x, row, sample(p + 3));
    }
    return;
  }
  if (samples == 2) {
    for (int64_t x = 0; x < width; ++x) {
      dst[x] = colour(2 * x, 2 * x + 1);
      AlphaSet(x, row, sample(2 * x + 1));
    }
    return;
  }
  if (bitsPerSample == 16) {
    for (int64_t x = 0; x < width; ++x) dst[x] = sample(x);
    return;
  }
  memcpy(dst, src, static_cast<size_t>((uint64_t{bitsPerSample} * static_cast<uint64_t>(width) + 7) / 8));
}

bool IxImageTIF::Encode(IxFile* hFile, bool bAppend) {
  if (EncodeSafeCheck(hFile)) return false;
  if (m_tif == nullptr) {
    m_tif = TiffOpenOverIxFile(hFile, "a");
    if (m_tif == nullptr) {
      SetLastError("initialization fail");
      return false;
    }
  }
  auto reset = [this]() {
    if (m_tif != nullptr) TIFFClose(m_tif);
    m_tif = nullptr;
    m_multipage = false;
    m_pages = 0;
  };
  if (bAppend || m_pages > 0) m_multipage = true;
  ++m_pages;
  if (!EncodeBody(m_tif)) {
    SetLastError("Error saving TIFF file");
    reset();
    return false;
  }
  if (bAppend) {
    if (!TIFFWriteDirectory(m_tif)) {
      SetLastError("Error saving TIFF directory");
      reset();
      return false;
    }
    return true;
  }
  // Closing writes the last directory: a failed flush is a failed save.
  const bool flushed = TIFFFlush(m_tif) != 0;
  reset();
  if (!flushed) {
    SetLastError("Error saving TIFF file");
    return false;
  }
  return true;
}

bool IxImageTIF::EncodeBody(TIFF* tif) {
  const uint32_t width = GetWidth();
  const uint32_t height = GetHeight();
  const uint32_t bpp = GetBpp();
  const bool alpha = AlphaIsValid() && (bpp == 24 || bpp == 8);
  const uint16_t samples = bpp == 24 ? (alpha ? 4 : 3) : (bpp == 8 && alpha ? 2 : 1);
  const uint16_t bitsPerSample = bpp == 24 ? 8 : static_cast<uint16_t>(bpp);

  uint16_t photometric = PHOTOMETRIC_RGB;
  if (bpp == 1) {
    photometric = PHOTOMETRIC_MINISWHITE;
    // Min-is-white wants entry 0 the brighter: the caller's picture is changed to match.
    if (CompareColors(GetPaletteColor(0), GetPaletteColor(1)) < 0) {
      const IxRGBQuad c0 = GetPaletteColor(0);
      SetPaletteColor(0, GetPaletteColor(1));
      SetPaletteColor(1, c0);
      uint8_t* bits = GetBits(0);
      for (uint32_t i = 0; i < head.biSizeImage; ++i) bits[i] = static_cast<uint8_t>(~bits[i]);
      if (info.pGhost != nullptr) info.pGhost->SetPaletteColor(0, GetPaletteColor(0));
    }
  } else if (bpp <= 8) {
    const uint32_t colors = GetNumColors();
    bool ramp = colors >= 2;
    for (uint32_t i = 0; i < colors && ramp; ++i) {
      const IxRGBQuad c = GetPaletteColor(static_cast<uint8_t>(i));
      const uint32_t v = i * 255 / (colors - 1);
      ramp = c.rgbRed == v && c.rgbGreen == v && c.rgbBlue == v;
    }
    photometric = ramp ? PHOTOMETRIC_MINISBLACK : PHOTOMETRIC_PALETTE;
  }

  TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, width);
  TIFFSetField(tif, TIFFTAG_IMAGELENGTH, height);
  TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, samples);
  TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, bitsPerSample);
  TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
  TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
  TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
  TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_INCH);
  TIFFSetField(tif, TIFFTAG_XRESOLUTION, static_cast<float>(GetXDPI()));
  TIFFSetField(tif, TIFFTAG_YRESOLUTION, static_cast<float>(GetYDPI()));
  if (samples == 2 || samples == 4) {
    const uint16_t extra = EXTRASAMPLE_UNASSALPHA;
    TIFFSetField(tif, TIFFTAG_EXTRASAMPLES, 1, &extra);
  }
  if (m_multipage) {
    char name[32];
    snprintf(name, sizeof(name), "Page %d", m_pages);
    TIFFSetField(tif, TIFFTAG_SUBFILETYPE, FILETYPE_PAGE);
    TIFFSetField(tif, TIFFTAG_PAGENUMBER, static_cast<uint16_t>(m_pages), static_cast<uint16_t>(m_pages));
    TIFFSetField(tif, TIFFTAG_PAGENAME, name);
  } else {
    TIFFSetField(tif, TIFFTAG_SUBFILETYPE, 0);
  }
  std::vector<uint16_t> map;
  if (photometric == PHOTOMETRIC_PALETTE) {
    const uint32_t n = 1u << bpp;
    map.assign(3 * n, 0);
    for (uint32_t i = 0; i < n && i < GetNumColors(); ++i) {
      const IxRGBQuad c = GetPaletteColor(static_cast<uint8_t>(i));
      map[i] = static_cast<uint16_t>(c.rgbRed * 65535 / 255);
      map[n + i] = static_cast<uint16_t>(c.rgbGreen * 65535 / 255);
      map[2 * n + i] = static_cast<uint16_t>(c.rgbBlue * 65535 / 255);
    }
    TIFFSetField(tif, TIFFTAG_COLORMAP, map.data(), map.data() + n, map.data() + 2 * n);
  }

  uint32_t compression = GetCodecOption(IXIMAGE_FORMAT_TIF);
  if (compression == 0) {
    compression = bpp == 1 ? COMPRESSION_CCITTFAX4 : bpp <= 8 ? COMPRESSION_LZW : COMPRESSION_JPEG;
  }
  if (!TIFFSetField(tif, TIFFTAG_COMPRESSION, compression)) return false;
  uint32_t rowsPerStrip = TIFFDefaultStripSize(tif, 0);
  if (compression == COMPRESSION_LZW && bpp > 7) TIFFSetField(tif, TIFFTAG_PREDICTOR, PREDICTOR_HORIZONTAL);
  if (compression == COMPRESSION_JPEG) {
    TIFFSetField(tif, TIFFTAG_JPEGQUALITY, static_cast<int>(GetJpegQuality()));
    rowsPerStrip = (rowsPerStrip + 7) / 8 * 8;
  }
  TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, rowsPerStrip);

  std::vector<uint8_t> line(static_cast<size_t>(width) * 4 + 4);
  for (uint32_t top = 0; top < height; ++top) {
    const int64_t y = static_cast<int64_t>(height) - 1 - top;
    const uint8_t* src = GetBits(0) + static_cast<uint64_t>(y) * GetEffWidth();
    if (samples == 2) {
      for (uint32_t x = 0; x < width; ++x) {
        line[2 * x] = src[x];
        line[2 * x + 1] = BlindAlphaGet(x, y);
      }
    } else if (bpp == 24) {
      for (uint32_t x = 0; x < width; ++x) {
        uint8_t* p = &line[static_cast<size_t>(samples) * x];
        p[0] = src[3 * x + 2];
        p[1] = src[3 * x + 1];
        p[2] = src[3 * x];
        if (samples == 4) p[3] = BlindAlphaGet(x, y);
      }
    } else {
      memcpy(line.data(), src, (static_cast<size_t>(width) * bpp + 7) / 8);
    }
    if (TIFFWriteScanline(tif, line.data(), top, 0) < 0) return false;
  }
  return true;
}
