#include "imagelib/IxImagePNG.h"

#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstdlib>
#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

#include "imagelib/IxFile.h"

// libpng leaves through longjmp on every error. The functions that call it (RunDecode,
// RunEncode) own nothing with a destructor; what they allocate lives in the state record of the
// caller, which frees it on every path.
struct IxImagePNG::DecodeState {
  IxFile* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  uint8_t* row = nullptr;
};

struct IxImagePNG::EncodeState {
  IxFile* file = nullptr;
  png_structp png = nullptr;
  png_infop info = nullptr;
  png_colorp palette = nullptr;
  uint8_t* row = nullptr;
  bool temporaryAlpha = false;
};

namespace {

// A row of red, green, blue and alpha bytes, as libpng gives it, into a 24-bit row of blue, green
// and red and an alpha row: the one pass over the pixels after libpng's, which also puts the
// colours in the picture's order (libpng's own swap would be a pass more).
void SplitAlphaBytes(const uint8_t* __restrict rgba, uint8_t* __restrict bgr, uint8_t* __restrict alpha,
                     size_t width) {
  for (size_t x = 0; x < width; ++x) {
    bgr[3 * x] = rgba[4 * x + 2];
    bgr[3 * x + 1] = rgba[4 * x + 1];
    bgr[3 * x + 2] = rgba[4 * x];
    alpha[x] = rgba[4 * x + 3];
  }
}

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define IX_PNG_SPLIT_SSSE3 1
// The same, sixteen pixels at a time: one byte shuffle per four pixels instead of four stores
// per pixel, which made the split take as long as a tenth of libpng's decoding.
__attribute__((target("ssse3"))) void SplitAlphaSsse3(const uint8_t* __restrict rgba, uint8_t* __restrict bgr,
                                                      uint8_t* __restrict alpha, size_t width) {
  const __m128i toBgr = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1);
  const __m128i toAlpha = _mm_setr_epi8(3, 7, 11, 15, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
  size_t x = 0;
  for (; x + 16 <= width; x += 16) {
    const __m128i* in = reinterpret_cast<const __m128i*>(rgba + 4 * x);
    const __m128i p0 = _mm_loadu_si128(in);
    const __m128i p1 = _mm_loadu_si128(in + 1);
    const __m128i p2 = _mm_loadu_si128(in + 2);
    const __m128i p3 = _mm_loadu_si128(in + 3);
    const __m128i c0 = _mm_shuffle_epi8(p0, toBgr);  // 12 bytes each, the top 4 zero
    const __m128i c1 = _mm_shuffle_epi8(p1, toBgr);
    const __m128i c2 = _mm_shuffle_epi8(p2, toBgr);
    const __m128i c3 = _mm_shuffle_epi8(p3, toBgr);
    __m128i* out = reinterpret_cast<__m128i*>(bgr + 3 * x);
    _mm_storeu_si128(out, _mm_or_si128(c0, _mm_slli_si128(c1, 12)));
    _mm_storeu_si128(out + 1, _mm_or_si128(_mm_srli_si128(c1, 4), _mm_slli_si128(c2, 8)));
    _mm_storeu_si128(out + 2, _mm_or_si128(_mm_srli_si128(c2, 8), _mm_slli_si128(c3, 4)));
    const __m128i a01 =
        _mm_or_si128(_mm_shuffle_epi8(p0, toAlpha), _mm_slli_si128(_mm_shuffle_epi8(p1, toAlpha), 4));
    const __m128i a23 = _mm_or_si128(_mm_slli_si128(_mm_shuffle_epi8(p2, toAlpha), 8),
                                     _mm_slli_si128(_mm_shuffle_epi8(p3, toAlpha), 12));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(alpha + x), _mm_or_si128(a01, a23));
  }
  SplitAlphaBytes(rgba + 4 * x, bgr + 3 * x, alpha + x, width - x);
}
#endif

void SplitAlpha(const uint8_t* rgba, uint8_t* bgr, uint8_t* alpha, size_t width) {
#ifdef IX_PNG_SPLIT_SSSE3
  static const bool ssse3 = __builtin_cpu_supports("ssse3");
  if (ssse3) {
    SplitAlphaSsse3(rgba, bgr, alpha, width);
    return;
  }
#endif
  SplitAlphaBytes(rgba, bgr, alpha, width);
}

// Deflate gives at most about 1032 bytes for one; the slack covers row padding and filter bytes.
constexpr uint64_t kMaxExpansion = 1032 * 8;
constexpr uint64_t kUncheckedBytes = 64ull << 20;

void OnError(png_structp png, png_const_charp message) {
  char* lastError = static_cast<char*>(png_get_error_ptr(png));
  if (lastError != nullptr) {
    strncpy(lastError, message != nullptr ? message : "", 255);
    lastError[255] = '\0';
  }
  png_longjmp(png, 1);
}

// libpng would print warnings; the image library reports through its last error only.
void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep data, size_t length) {
  IxFile* file = static_cast<IxFile*>(png_get_io_ptr(png));
  if (file->Read(data, 1, length) != length) png_error(png, "Read Error");
}

void OnWrite(png_structp png, png_bytep data, size_t length) {
  IxFile* file = static_cast<IxFile*>(png_get_io_ptr(png));
  if (file->Write(data, 1, length) != length) png_error(png, "Write Error");
}

void OnFlush(png_structp png) {
  IxFile* file = static_cast<IxFile*>(png_get_io_ptr(png));
  if (!file->Flush()) png_error(png, "Flush Error");
}

int64_t BytesLeft(IxFile* f) {
  const int64_t here = f->Tell();
  const int64_t size = f->Size();
  if (here < 0 || size < 0) return INT64_MAX;
  return size > here ? size - here : 0;
}

}  // namespace

bool IxImagePNG::Decode(IxFile* hFile) {
  if (hFile == nullptr) return false;
  DecodeState s;
  s.file = hFile;
  s.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, info.szLastError, OnError, OnWarning);
  if (s.png == nullptr) {
    SetLastError("Failed to create PNG structure");
    return false;
  }
  s.info = png_create_info_struct(s.png);
  if (s.info == nullptr) {
    png_destroy_read_struct(&s.png, nullptr, nullptr);
    SetLastError("Failed to initialize PNG info structure");
    return false;
  }
  const bool ok = RunDecode(s);
  free(s.row);
  png_destroy_read_struct(&s.png, &s.info, nullptr);
  return ok;
}

bool IxImagePNG::RunDecode(DecodeState& s) {
  png_structp png = s.png;
  png_infop pi = s.info;
  if (setjmp(png_jmpbuf(png))) return false;

  png_set_read_fn(png, s.file, OnRead);
  png_read_info(png, pi);

  png_uint_32 width = 0, height = 0;
  int bitDepth = 0, colorType = 0, interlace = 0;
  png_get_IHDR(png, pi, &width, &height, &bitDepth, &colorType, &interlace, nullptr, nullptr);
  const int pixelDepth = bitDepth * png_get_channels(png, pi);

  // Transparency is kept, never composed onto a background: an alpha plane for the types with an
  // alpha channel and for 16-bit grey or colour with a transparent colour (exact only at 16 bits);
  // a transparent index for palettes (or per-entry alpha) and for grey of up to 8 bits; a
  // transparent colour for 8-bit colour.
  png_bytep transAlpha = nullptr;
  int transCount = 0;
  png_color_16p transColor = nullptr;
  const bool hasTrans = png_get_tRNS(png, pi, &transAlpha, &transCount, &transColor) != 0;
  const bool colour = (colorType & PNG_COLOR_MASK_COLOR) != 0;
  const bool alphaChannel = (colorType & PNG_COLOR_MASK_ALPHA) != 0;
  const bool transToAlpha =
      hasTrans && colorType != PNG_COLOR_TYPE_PALETTE && !alphaChannel && bitDepth == 16;

  png_color_16p background = nullptr;
  const bool hasBackground = png_get_bKGD(png, pi, &background) != 0 && background != nullptr;
  if (pixelDepth == 32 && hasBackground) {
    SetTransColor(IxRGBQuad{static_cast<uint8_t>(background->blue), static_cast<uint8_t>(background->green),
                            static_cast<uint8_t>(background->red), 0});
  }
  png_set_strip_16(png);

  const bool withAlpha = alphaChannel || transToAlpha;
  const uint32_t depth = withAlpha || colour
                             ? (colorType == PNG_COLOR_TYPE_PALETTE ? static_cast<uint32_t>(bitDepth) : 24)
                             : (bitDepth == 16 ? 8 : static_cast<uint32_t>(bitDepth));

  // A few bytes of file may not make us allocate gigabytes.
  const uint64_t stored = depth <= 4 ? 4 : depth;
  const uint64_t pixelBytes =
      ((stored * width + 31) / 32) * 4 * height + (withAlpha ? uint64_t{width} * height : 0);
  if (pixelBytes > kUncheckedBytes && pixelBytes / kMaxExpansion > static_cast<uint64_t>(BytesLeft(s.file))) {
    png_error(png, "Can't allocate memory");
  }
  if (width > INT32_MAX || height > INT32_MAX ||
      Create(static_cast<int32_t>(width), static_cast<int32_t>(height), depth, IXIMAGE_FORMAT_PNG) ==
          nullptr) {
    png_error(png, "Can't allocate memory");
  }

  png_uint_32 resX = 0, resY = 0;
  int unit = 0;
  if (png_get_pHYs(png, pi, &resX, &resY, &unit) != 0) {
    if (unit == PNG_RESOLUTION_METER) {
      SetXDPI(static_cast<int32_t>(std::floor(resX * 254 * 0.0001 + 0.5)));
      SetYDPI(static_cast<int32_t>(std::floor(resY * 254 * 0.0001 + 0.5)));
    } else {
      SetXDPI(static_cast<int32_t>(std::min<png_uint_32>(resX, INT32_MAX)));
      SetYDPI(static_cast<int32_t>(std::min<png_uint_32>(resY, INT32_MAX)));
    }
  }

  png_colorp palette = nullptr;
  int paletteCount = 0;
  const uint32_t entries = GetPaletteSize() / 4;
  if (png_get_PLTE(png, pi, &palette, &paletteCount) != 0 && palette != nullptr) {
    const uint32_t n = std::min<uint32_t>(static_cast<uint32_t>(paletteCount), entries);
    for (uint32_t i = 0; i < n; ++i) {
      SetPaletteColor(static_cast<uint8_t>(i), palette[i].red, palette[i].green, palette[i].blue);
    }
  } else if (bitDepth == 2 && (colorType & PNG_COLOR_MASK_COLOR) == 0) {
    for (uint8_t i = 0; i < 4; ++i) SetPaletteColor(i, 85 * i, 85 * i, 85 * i);
  } else {
    SetGrayPalette();
  }

  if (colorType == PNG_COLOR_TYPE_PALETTE && hasTrans && transAlpha != nullptr && transCount > 0) {
    IxRGBQuad* pal = GetPalette();
    const uint32_t n = std::min<uint32_t>(static_cast<uint32_t>(transCount), entries);
    for (uint32_t i = 0; i < n; ++i) pal[i].rgbReserved = transAlpha[i];
    if (transCount > 1 || transAlpha[0] != 0) {
      info.bAlphaPaletteEnabled = 1;
      for (uint32_t i = n; i < entries; ++i) pal[i].rgbReserved = 255;
    } else {
      info.nBkgndIndex = 0;
    }
  } else if (hasTrans && !withAlpha && transColor != nullptr) {
    if (!colour) {
      // Grey of up to 8 bits: the grey value is the index of its palette entry.
      if (transColor->gray < (1u << bitDepth)) info.nBkgndIndex = transColor->gray;
    } else {
      SetTransColor(IxRGBQuad{static_cast<uint8_t>(transColor->blue), static_cast<uint8_t>(transColor->green),
                              static_cast<uint8_t>(transColor->red), 0});
      info.nBkgndIndex = 0;
    }
  }

  if (withAlpha) {
    if (transToAlpha) png_set_tRNS_to_alpha(png);
    if (!colour) {
      png_set_expand(png);
      png_set_gray_to_rgb(png);
    }
    png_set_filler(png, 0xFF, PNG_FILLER_AFTER);
    AlphaCreate();
    if (!AlphaIsValid()) png_error(png, "Can't allocate memory");
  }
  // Rows with alpha are turned into blue, green, red by SplitAlpha, in the pass that splits them.
  if (colour && !withAlpha) png_set_bgr(png);

  if (info.nEscape != 0) png_error(png, "Cancelled");

  const int passes = png_set_interlace_handling(png);
  png_read_update_info(png, pi);
  SetCodecOption(passes > 1 ? 1 : 0, IXIMAGE_FORMAT_PNG);

  const uint64_t rowBytes = png_get_rowbytes(png, pi);
  const uint64_t effWidth = GetEffWidth();
  if (withAlpha ? rowBytes != 4ull * width : rowBytes > effWidth + 4) png_error(png, "Read Error");
  // Room for the row libpng writes and, behind it, the widened copy of a 2-bit row.
  const uint64_t half = std::max<uint64_t>({rowBytes, 4ull * width, effWidth}) + 10;
  s.row = static_cast<uint8_t*>(calloc(2, static_cast<size_t>(half)));
  if (s.row == nullptr) png_error(png, "Can't allocate memory");
  uint8_t* row = s.row;
  uint8_t* wide = s.row + half;
  const bool widen = bitDepth == 2 && !withAlpha && depth == 2;
  const bool direct = !withAlpha && !widen && rowBytes <= effWidth;
  uint8_t* bits = GetBits(0);
  uint8_t* alpha = AlphaGetPointer();

  for (int pass = 0; pass < passes; ++pass) {
    for (uint64_t top = 0; top < height; ++top) {
      if (info.nEscape != 0) png_error(png, "Cancelled");
      const uint64_t y = height - 1 - top;
      uint8_t* dst = bits + y * effWidth;
      if (withAlpha) {
        uint8_t* a = alpha + y * width;
        if (pass > 0) {
          for (uint64_t x = 0; x < width; ++x) {
            row[4 * x] = dst[3 * x + 2];
            row[4 * x + 1] = dst[3 * x + 1];
            row[4 * x + 2] = dst[3 * x];
            row[4 * x + 3] = a[x];
          }
        }
        png_read_row(png, row, nullptr);
        SplitAlpha(row, dst, a, static_cast<size_t>(width));
        continue;
      }
      // A row that fits goes straight into the picture; interlaced passes combine into what the
      // earlier passes left there.
      if (direct) {
        png_read_row(png, dst, nullptr);
        continue;
      }
      if (pass > 0) memcpy(row, dst, static_cast<size_t>(std::min(rowBytes, effWidth)));
      png_read_row(png, row, nullptr);
      if (widen && pass == passes - 1) {
        memset(wide, 0, static_cast<size_t>(effWidth));
        for (uint64_t x = width; x-- > 0;) {
          const uint8_t v = static_cast<uint8_t>((row[x >> 2] >> (6 - 2 * (x & 3))) & 3);
          wide[x >> 1] |= static_cast<uint8_t>((x & 1) ? v : v << 4);
        }
        memcpy(dst, wide, static_cast<size_t>(effWidth));
      } else {
        memcpy(dst, row, static_cast<size_t>(std::min(rowBytes, effWidth)));
      }
    }
  }
  png_read_end(png, nullptr);
  return true;
}

bool IxImagePNG::Encode(IxFile* hFile) {
  if (EncodeSafeCheck(hFile)) return false;
  EncodeState s;
  s.file = hFile;
  s.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, info.szLastError, OnError, OnWarning);
  if (s.png == nullptr) {
    SetLastError("Failed to create PNG structure");
    return false;
  }
  s.info = png_create_info_struct(s.png);
  if (s.info == nullptr) {
    png_destroy_write_struct(&s.png, nullptr);
    SetLastError("Failed to initialize PNG info structure");
    return false;
  }
  const bool ok = RunEncode(s);
  free(s.palette);
  free(s.row);
  // The plane made for a transparent colour is ours, never the caller's: gone on every path.
  if (s.temporaryAlpha) AlphaDelete();
  png_destroy_write_struct(&s.png, &s.info);
  if (!ok) SetLastError("Error saving PNG file");
  return ok;
}

bool IxImagePNG::RunEncode(EncodeState& s) {
  png_structp png = s.png;
  png_infop pi = s.info;
  if (setjmp(png_jmpbuf(png))) return false;

  png_set_write_fn(png, s.file, OnWrite, OnFlush);
  const uint64_t width = GetWidth();
  const uint64_t height = GetHeight();
  const uint32_t bpp = GetBpp();

  if (bpp == 24 && IsTransparent() && !AlphaIsValid()) {
    AlphaCreate();
    if (!AlphaIsValid()) png_error(png, "Can't allocate memory");
    s.temporaryAlpha = true;
    const IxRGBQuad tc = GetTransColor();
    for (uint64_t y = 0; y < height; ++y) {
      for (uint64_t x = 0; x < width; ++x) {
        const uint8_t* p = BlindGetPixelPointer(static_cast<int64_t>(x), static_cast<int64_t>(y));
        if (p[0] == tc.rgbBlue && p[1] == tc.rgbGreen && p[2] == tc.rgbRed) AlphaSet(x, y, 0);
      }
    }
  }
  const bool withAlpha = AlphaIsValid();
  const bool indexed = IsIndexed() && !withAlpha;
  const int colorType = withAlpha ? PNG_COLOR_TYPE_RGB_ALPHA
                        : indexed ? PNG_COLOR_TYPE_PALETTE
                                  : PNG_COLOR_TYPE_RGB;
  const int bitDepth = indexed ? static_cast<int>(bpp) : 8;
  const bool interlaced = GetCodecOption(IXIMAGE_FORMAT_PNG) == 1;
  png_set_IHDR(png, pi, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), bitDepth,
               colorType, interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);

  png_color_16 background;
  memset(&background, 0, sizeof(background));
  if (IsTransparent()) {
    const IxRGBQuad tc = GetTransColor();
    background.red = tc.rgbRed;
    background.green = tc.rgbGreen;
    background.blue = tc.rgbBlue;
  }

  if (indexed) {
    const uint32_t colors = GetNumColors();
    const int32_t trans = GetTransIndex();
    const bool transparent = trans >= 0 && static_cast<uint32_t>(trans) < colors;
    if (transparent && trans != 0) {
      // The file's transparent entry is 0; the caller's picture is changed to match it.
      SwapIndex(0, static_cast<uint8_t>(trans));
      SetTransIndex(0);
      if (info.pGhost != nullptr) {
        info.pGhost->SetTransIndex(0);
        // The owner's nearest-colour cache saw the old palette order.
        info.pGhost->SetPaletteColor(0, info.pGhost->GetPaletteColor(0));
      }
    }
    uint32_t written = colors;
    if (colors > 2 && width * height < 65536) {
      uint32_t highest = 0;
      for (uint64_t y = 0; y < height; ++y) {
        for (uint64_t x = 0; x < width; ++x) {
          highest = std::max<uint32_t>(highest,
                                       BlindGetPixelIndex(static_cast<int64_t>(x), static_cast<int64_t>(y)));
        }
      }
      written = std::min(colors, highest + 1);
    }
    s.palette = static_cast<png_colorp>(calloc(written, sizeof(png_color)));
    if (s.palette == nullptr) png_error(png, "Can't allocate memory");
    const IxRGBQuad* pal = GetPalette();
    for (uint32_t i = 0; i < written; ++i) {
      s.palette[i].red = pal[i].rgbRed;
      s.palette[i].green = pal[i].rgbGreen;
      s.palette[i].blue = pal[i].rgbBlue;
    }
    png_set_PLTE(png, pi, s.palette, static_cast<int>(written));
    background.index = transparent ? 0 : GetNearestIndex(IxRGBQuad{0, 0, 0, 0});
    png_byte alphas[256];
    if (info.bAlphaPaletteEnabled != 0) {
      for (uint32_t i = 0; i < written; ++i) alphas[i] = pal[i].rgbReserved;
      png_set_tRNS(png, pi, alphas, static_cast<int>(written), nullptr);
    } else if (transparent) {
      alphas[0] = 0;
      png_set_tRNS(png, pi, alphas, 1, nullptr);
    }
  }
  png_set_bKGD(png, pi, &background);
  png_set_pHYs(png, pi, static_cast<png_uint_32>(std::max(head.biXPelsPerMeter, 0)),
               static_cast<png_uint_32>(std::max(head.biYPelsPerMeter, 0)), PNG_RESOLUTION_METER);
  png_write_info(png, pi);

  const int passes = interlaced ? png_set_interlace_handling(png) : 1;
  const uint64_t effWidth = GetEffWidth();
  s.row = static_cast<uint8_t*>(malloc(static_cast<size_t>(std::max(4 * width, effWidth) + 10)));
  if (s.row == nullptr) png_error(png, "Can't allocate memory");
  uint8_t* row = s.row;
  const uint8_t* bits = GetBits(0);
  for (int pass = 0; pass < passes; ++pass) {
    for (uint64_t top = 0; top < height; ++top) {
      const int64_t y = static_cast<int64_t>(height - 1 - top);
      if (withAlpha) {
        for (uint64_t x = width; x-- > 0;) {
          const IxRGBQuad c = GetPixelColor(static_cast<int64_t>(x), y, false);
          uint8_t* p = row + 4 * x;
          p[0] = c.rgbRed;
          p[1] = c.rgbGreen;
          p[2] = c.rgbBlue;
          p[3] = static_cast<uint8_t>(BlindAlphaGet(static_cast<int64_t>(x), y) * info.nAlphaMax / 255);
        }
      } else {
        memcpy(row, bits + static_cast<uint64_t>(y) * effWidth, static_cast<size_t>(effWidth));
        if (bpp == 24) {
          for (uint64_t x = 0; x < width; ++x) std::swap(row[3 * x], row[3 * x + 2]);
        }
      }
      png_write_row(png, row);
    }
  }
  png_write_end(png, pi);
  return true;
}
