// The JPEG format class. libjpeg leaves every fatal error through longjmp, so each stretch of
// library calls lives in one function (DecodeWithLibrary, EncodeWithLibrary) whose frame owns
// no C++ object: what libjpeg allocates sits in its own pools and goes with jpeg_destroy_*, and
// the stream manager and EXIF reader belong to the caller's frame, which the jump never skips.
#include "imagelib/IxImageJPG.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>

// libjpeg's headers need <cstdio> (FILE, size_t) first.
// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include "imagelib/IxExifInfo.h"
#include "imagelib/IxFile.h"
#include "imagelib/IxFileJpg.h"

// libjpeg's standard error manager with a way back to the running call, and the progress
// monitor that bounds the number of scans. Plain data: it lives across the jump.
struct IxJpegErrorMgr {
  jpeg_error_mgr pub;
  jpeg_progress_mgr progress;
  jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  // Rows of the picture not written yet, counted from the first row of its block: a decode that
  // stops early clears them, as the picture is created without clearing.
  int32_t rowsLeft;
};

namespace {

void ErrorExit(j_common_ptr cinfo) {
  IxJpegErrorMgr* err = reinterpret_cast<IxJpegErrorMgr*>(cinfo->err);
  (*cinfo->err->format_message)(cinfo, err->message);
  longjmp(err->jump, 1);
}

void ProgressMonitor(j_common_ptr cinfo) {
  if (!cinfo->is_decompressor) return;
  if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number > IxImageJPG::kMaxScans) {
    IxJpegErrorMgr* err = reinterpret_cast<IxJpegErrorMgr*>(cinfo->err);
    std::snprintf(err->message, sizeof err->message, "Too many scans in JPEG file");
    longjmp(err->jump, 1);
  }
}

void InstallErrorManager(j_common_ptr cinfo, IxJpegErrorMgr* jerr) {
  cinfo->err = jpeg_std_error(&jerr->pub);
  jerr->pub.error_exit = ErrorExit;
  jerr->message[0] = 0;
  jerr->rowsLeft = 0;
  jerr->progress = jpeg_progress_mgr();
  jerr->progress.progress_monitor = ProgressMonitor;
}

// A dots-per-inch value from file data, or 0 (which SetXDPI turns into 96) when the value is not
// a finite number. Truncates like an integer conversion, clamped to the int range.
int32_t DpiFromDouble(double dpi) {
  if (!std::isfinite(dpi)) return 0;
  if (dpi >= static_cast<double>(INT32_MAX)) return INT32_MAX;
  if (dpi <= static_cast<double>(INT32_MIN)) return INT32_MIN;
  return static_cast<int32_t>(dpi);
}

// The resolution of one axis: the EXIF value when it has one, else the JFIF density, else 0.
int32_t AxisDpi(bool isExif, float exifValue, float exifUnit, bool sawJfif, int densityUnit,
                unsigned density) {
  if (isExif && exifValue != 0 && exifUnit != 0) {
    const double dpi = static_cast<double>(exifValue) / exifUnit;
    if (std::isfinite(dpi)) return DpiFromDouble(dpi);
  }
  if (!sawJfif) return 0;
  if (densityUnit == 2) return static_cast<int32_t>(std::floor(density * 2.54 + 0.5));
  return static_cast<int32_t>(density);
}

}  // namespace

IxImageJPG::IxImageJPG() : IxImage(IXIMAGE_FORMAT_JPG), m_exifinfo(), m_nSmoothing(0), m_nDither(0) {}

IxImageJPG::~IxImageJPG() = default;

bool IxImageJPG::DecodeExif(IxFile* hFile) {
  if (!hFile) return false;
  // A fresh block for every file: values and the thumbnail pointer of an earlier file must not
  // survive into this one.
  m_exif.reset();
  m_exifinfo = IxExifInfoBlock();
  m_exif = std::make_unique<IxExifInfo>(&m_exifinfo);
  int64_t pos = hFile->Tell();
  m_exif->ReadJpegSections(hFile, IxExifInfo::kReadExif);
  hFile->Seek(pos, SEEK_SET);
  return m_exifinfo.IsExif != 0;
}

bool IxImageJPG::Decode(IxFile* hFile) {
  if (!hFile) return false;
  bool isExif = DecodeExif(hFile);
  IxFileJpg src(hFile);
  jpeg_decompress_struct cinfo;
  IxJpegErrorMgr jerr;
  return DecodeWithLibrary(&cinfo, &jerr, &src, isExif);
}

bool IxImageJPG::DecodeWithLibrary(jpeg_decompress_struct* cinfo, IxJpegErrorMgr* jerr, IxFileJpg* src,
                                   bool isExif) {
  InstallErrorManager(reinterpret_cast<j_common_ptr>(cinfo), jerr);
  if (setjmp(jerr->jump)) {
    ClearRows(jerr->rowsLeft);
    jpeg_destroy_decompress(cinfo);
    SetLastError(jerr->message);
    return false;
  }
  jpeg_create_decompress(cinfo);
  cinfo->progress = &jerr->progress;
  cinfo->mem->max_memory_to_use = kMaxLibraryMemory;
  cinfo->src = src;
  jpeg_read_header(cinfo, TRUE);

  const uint32_t opt = GetCodecOption(IXIMAGE_FORMAT_JPG);
  if (opt & DECODE_GRAYSCALE) cinfo->out_color_space = JCS_GRAYSCALE;
  if (opt & DECODE_QUANTIZE) {
    cinfo->quantize_colors = TRUE;
    cinfo->desired_number_of_colors = GetJpegQuality();
  }
  if (opt & DECODE_DITHER) cinfo->dither_mode = static_cast<J_DITHER_MODE>(m_nDither);
  if (opt & DECODE_NOTWOPASS) cinfo->two_pass_quantize = FALSE;
  if (opt & DECODE_NOFANCYUPSAMPLING) cinfo->do_fancy_upsampling = FALSE;
  cinfo->scale_num = 1;
  cinfo->scale_denom = std::max<unsigned>(1, GetJpegScale());
  // The picture stores blue, green, red: colour output is asked for in that order, so libjpeg's
  // own converter does the swap. Only three-component colour output is swapped; grey output of a
  // colour file stays one byte per pixel.
  if (!cinfo->quantize_colors && cinfo->out_color_space == JCS_RGB) cinfo->out_color_space = JCS_EXT_BGR;

  if (info.nEscape == -1) {
    jpeg_calc_output_dimensions(cinfo);
    head.biWidth = static_cast<int32_t>(cinfo->output_width);
    head.biHeight = static_cast<int32_t>(cinfo->output_height);
    jpeg_destroy_decompress(cinfo);
    return true;
  }

  jpeg_start_decompress(cinfo);
  // Scanlines of more than four components would not fit the picture's rows.
  if (cinfo->output_components > 4) {
    jpeg_destroy_decompress(cinfo);
    return Fail("Unsupported JPEG colour components");
  }
  // Every row is written below (its padding here), so the picture need not be cleared first.
  if (!CreateUncleared(static_cast<int32_t>(cinfo->output_width), static_cast<int32_t>(cinfo->output_height),
                       8 * static_cast<uint32_t>(cinfo->output_components), IXIMAGE_FORMAT_JPG)) {
    jpeg_destroy_decompress(cinfo);  // Create's message stays the last error
    return false;
  }
  jerr->rowsLeft = head.biHeight;
  SetResolution(cinfo, isExif);

  if (cinfo->quantize_colors) {
    // A one-component colour map is a grey ramp: SetPalette repeats the missing tables.
    JSAMPARRAY map = cinfo->colormap;
    const bool rgb = cinfo->out_color_components >= 3;
    SetPalette(static_cast<uint32_t>(cinfo->actual_number_of_colors), map[0], rgb ? map[1] : nullptr,
               rgb ? map[2] : nullptr);
    head.biClrUsed = static_cast<uint32_t>(cinfo->actual_number_of_colors);
  } else if (cinfo->out_color_space == JCS_GRAYSCALE) {
    SetGrayPalette();
  }

  const uint32_t rowStride = cinfo->output_width * static_cast<uint32_t>(cinfo->output_components);
  const uint32_t effWidth = GetEffWidth();
  const bool cmyk = !cinfo->quantize_colors && cinfo->output_components == 4;
  // A CMYK scanline becomes three bytes a pixel; what lies beyond the written bytes is padding.
  const uint32_t written = cmyk ? 3 * cinfo->output_width : rowStride;
  if (written < effWidth) {
    for (int32_t y = 0; y < head.biHeight; ++y) memset(GetBits(y) + written, 0, effWidth - written);
  }
  // CMYK scanlines are wider than the picture's rows and go through a buffer of their own; every
  // other kind is read straight into the row it belongs to.
  JSAMPARRAY buffer =
      cmyk ? (*cinfo->mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(cinfo), JPOOL_IMAGE, rowStride, 1)
           : nullptr;
  for (int32_t y = head.biHeight - 1; y >= 0; --y) {
    if (info.nEscape) {
      ClearRows(jerr->rowsLeft);
      jpeg_destroy_decompress(cinfo);
      return false;
    }
    uint8_t* dst = GetBits(y);
    if (!cmyk) {
      jpeg_read_scanlines(cinfo, &dst, 1);
    } else {
      jpeg_read_scanlines(cinfo, buffer, 1);
      const uint8_t* line = buffer[0];
      for (uint32_t x = 0, i = 0; i + 2 < effWidth && 4 * x + 3 < rowStride; ++x, i += 3) {
        const unsigned k = line[4 * x + 3];
        dst[i] = static_cast<uint8_t>(line[4 * x + 2] * k / 255);
        dst[i + 1] = static_cast<uint8_t>(line[4 * x + 1] * k / 255);
        dst[i + 2] = static_cast<uint8_t>(line[4 * x] * k / 255);
      }
    }
    jerr->rowsLeft = y;
  }
  jpeg_finish_decompress(cinfo);
  jpeg_destroy_decompress(cinfo);
  return true;
}

void IxImageJPG::ClearRows(int32_t rows) {
  if (rows > 0 && pDib != nullptr) memset(GetBits(0), 0, static_cast<size_t>(rows) * GetEffWidth());
}

void IxImageJPG::SetResolution(const jpeg_decompress_struct* cinfo, bool isExif) {
  const bool jfif = cinfo->saw_JFIF_marker;
  SetXDPI(AxisDpi(isExif, m_exifinfo.Xresolution, m_exifinfo.ResolutionUnit, jfif, cinfo->density_unit,
                  cinfo->X_density));
  SetYDPI(AxisDpi(isExif, m_exifinfo.Yresolution, m_exifinfo.ResolutionUnit, jfif, cinfo->density_unit,
                  cinfo->Y_density));
}

bool IxImageJPG::Encode(IxFile* hFile) {
  if (EncodeSafeCheck(hFile)) return false;
  // Only an 8-bit grey ramp is written as grey: a 1- or 4-bit picture has fewer bytes per row than
  // a grey scanline needs. Other indexed pictures are converted to 24 bits by the caller.
  bool gray = false;
  if (IsIndexed()) {
    if (GetBpp() != 8 || !IsGrayScale()) {
      SetLastError("JPEG can save only RGB or GreyScale images");
      return false;
    }
    gray = true;
  }
  const int64_t pos = hFile->Tell();
  {
    IxFileJpg dest(hFile);
    jpeg_compress_struct cinfo;
    IxJpegErrorMgr jerr;
    if (!EncodeWithLibrary(&cinfo, &jerr, &dest, gray)) return false;
  }

  // Put the EXIF block of the picture this object decoded back in front of the new data.
  if (m_exif && m_exifinfo.IsExif) {
    m_exif->DiscardAllButExif();
    hFile->Seek(pos, SEEK_SET);
    const bool readBack = m_exif->ReadJpegSections(hFile, IxExifInfo::kReadImage);
    hFile->Seek(pos, SEEK_SET);
    // A stream that cannot be read back keeps the picture just written, without EXIF. Once the
    // rewrite has started, a failure leaves a broken file and must be reported.
    if (readBack && !m_exif->EncodeExif(hFile)) {
      SetLastError(m_exif->GetLastError());
      return false;
    }
  }
  return true;
}

bool IxImageJPG::EncodeWithLibrary(jpeg_compress_struct* cinfo, IxJpegErrorMgr* jerr, IxFileJpg* dest,
                                   bool gray) {
  InstallErrorManager(reinterpret_cast<j_common_ptr>(cinfo), jerr);
  if (setjmp(jerr->jump)) {
    jpeg_destroy_compress(cinfo);
    SetLastError(jerr->message);
    return false;
  }
  jpeg_create_compress(cinfo);
  cinfo->dest = dest;
  cinfo->image_width = static_cast<JDIMENSION>(head.biWidth);
  cinfo->image_height = static_cast<JDIMENSION>(head.biHeight);
  cinfo->input_components = gray ? 1 : 3;
  // Rows go to libjpeg as stored: blue, green, red.
  cinfo->in_color_space = gray ? JCS_GRAYSCALE : JCS_EXT_BGR;
  jpeg_set_defaults(cinfo);

  const uint32_t opt = GetCodecOption(IXIMAGE_FORMAT_JPG);
  if (opt & ENCODE_ARITHMETIC) cinfo->arith_code = TRUE;
  if (opt & ENCODE_OPTIMIZE) cinfo->optimize_coding = TRUE;
  if (opt & ENCODE_GRAYSCALE) jpeg_set_colorspace(cinfo, JCS_GRAYSCALE);
  if (opt & ENCODE_SMOOTHING) cinfo->smoothing_factor = std::clamp(m_nSmoothing, 0, 100);
  jpeg_set_quality(cinfo, GetJpegQuality(), (opt & ENCODE_BASELINE) ? TRUE : FALSE);
  if (opt & ENCODE_PROGRESSIVE) jpeg_simple_progression(cinfo);

  cinfo->density_unit = 1;
  cinfo->X_density = static_cast<UINT16>(std::clamp(GetXDPI(), 1, 65535));
  cinfo->Y_density = static_cast<UINT16>(std::clamp(GetYDPI(), 1, 65535));

  jpeg_start_compress(cinfo, TRUE);
  for (int32_t y = head.biHeight - 1; y >= 0; --y) {
    JSAMPROW row = GetBits(y);
    jpeg_write_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_compress(cinfo);
  jpeg_destroy_compress(cinfo);
  return true;
}
