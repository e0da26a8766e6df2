// EXIF reader of the JPEG format class. All EXIF offsets count from the "II"/"MM"
// bytes and every value is read through IxMemoryCursor, so a hostile directory can at worst end
// the walk with a message; links between directories are followed once each and only so deep.
#include "imagelib/IxExifInfo.h"

#include <algorithm>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "imagelib/IxFile.h"

namespace {

// Byte sizes of the EXIF value formats 1..12.
constexpr uint64_t kBytesPerFormat[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};

constexpr int kTagMake = 271;
constexpr int kTagModel = 272;
constexpr int kTagOrientation = 274;
constexpr int kTagXResolution = 282;
constexpr int kTagYResolution = 283;
constexpr int kTagResolutionUnit = 296;
constexpr int kTagThumbnailOffset = 513;
constexpr int kTagThumbnailLength = 514;
constexpr int kTagExposureTime = 33434;
constexpr int kTagFNumber = 33437;
constexpr int kTagExifOffset = 34665;
constexpr int kTagExposureProgram = 34850;
constexpr int kTagIsoEquivalent = 34855;
constexpr int kTagExifVersion = 36864;
constexpr int kTagDateTimeOriginal = 36867;
constexpr int kTagCompressionLevel = 37122;
constexpr int kTagShutterSpeed = 37377;
constexpr int kTagAperture = 37378;
constexpr int kTagBrightness = 37379;
constexpr int kTagExposureBias = 37380;
constexpr int kTagMaxAperture = 37381;
constexpr int kTagSubjectDistance = 37382;
constexpr int kTagMeteringMode = 37383;
constexpr int kTagLightSource = 37384;
constexpr int kTagFlash = 37385;
constexpr int kTagFocalLength = 37386;
constexpr int kTagUserComment = 37510;
constexpr int kTagPixelXDimension = 40962;
constexpr int kTagPixelYDimension = 40963;
constexpr int kTagInteropOffset = 40965;
constexpr int kTagFocalPlaneXRes = 41486;
constexpr int kTagFocalPlaneYRes = 41487;
constexpr int kTagFocalPlaneUnit = 41488;

// Numbers from the file may be anything a double holds; integer fields take them clamped, and a
// value that is not finite counts as absent.
int32_t ClampToInt(double value) {
  if (!std::isfinite(value)) return 0;
  if (value >= static_cast<double>(INT32_MAX)) return INT32_MAX;
  if (value <= static_cast<double>(INT32_MIN)) return INT32_MIN;
  return static_cast<int32_t>(value);
}

float ToFloat(double value) {
  if (std::isfinite(value) && std::fabs(value) > FLT_MAX) return value > 0 ? INFINITY : -INFINITY;
  return static_cast<float>(value);
}

uint64_t ToCount(double value) {
  if (!std::isfinite(value) || value <= 0) return 0;
  if (value >= 4294967295.0) return 4294967295u;
  return static_cast<uint64_t>(value);
}

// Resolution unit codes as a factor that turns the value into dots per inch; 0 for unknown codes,
// which leave the field as it was.
float UnitFactor(int32_t code) {
  switch (code) {
    case 1:
    case 2:
      return 1.0f;
    case 3:
      return 0.3937007f;
    case 4:
      return 0.03937007f;
    case 5:
      return 0.00003937f;
    default:
      return 0.0f;
  }
}

// Copies at most `maxChars` characters, stopping at a zero byte or the end of the source.
void CopyText(char* dest, size_t destSize, const uint8_t* src, uint64_t srcLength, size_t maxChars) {
  size_t n = std::min<uint64_t>({srcLength, maxChars, destSize - 1});
  size_t i = 0;
  for (; i < n && src && src[i] != 0; ++i) dest[i] = static_cast<char>(src[i]);
  dest[i] = 0;
}

// Reads one number of the given format; 0 when the value holds fewer bytes than one number.
double ConvertAnyFormat(const IxMemoryCursor& data, uint64_t offset, int format, uint64_t byteCount) {
  if (format < 1 || format > 12 || byteCount < kBytesPerFormat[format]) return 0;
  uint8_t u8 = 0;
  uint16_t u16 = 0;
  uint32_t u32 = 0;
  uint64_t u64 = 0;
  switch (format) {
    case 1:
      data.U8(offset, u8);
      return u8;
    case 6:
      data.U8(offset, u8);
      return static_cast<int8_t>(u8);
    case 3:
      data.U16(offset, u16);
      return u16;
    case 8:
      data.U16(offset, u16);
      return static_cast<int16_t>(u16);
    case 4:
      data.U32(offset, u32);
      return u32;
    case 9:
      data.U32(offset, u32);
      return static_cast<int32_t>(u32);
    case 5:
    case 10: {
      uint32_t num = 0, den = 0;
      data.U32(offset, num);
      data.U32(offset + 4, den);
      if (den == 0) return 0;
      return static_cast<double>(static_cast<int32_t>(num)) / static_cast<int32_t>(den);
    }
    case 11: {
      data.U32(offset, u32);
      float f;
      std::memcpy(&f, &u32, sizeof f);
      return f;
    }
    case 12: {
      data.U64(offset, u64);
      double d;
      std::memcpy(&d, &u64, sizeof d);
      return d;
    }
    default:  // 2 (text) and 7 (undefined bytes)
      return 0;
  }
}

}  // namespace

IxImageJPG::IxExifInfo::IxExifInfo(IxExifInfoBlock* info)
    : m_exifinfo(info), m_exifImageWidth(0), m_motorolaOrder(false), m_freeInfo(info == nullptr) {
  if (m_freeInfo) m_exifinfo = new IxExifInfoBlock{};
  m_szLastError[0] = 0;
}

IxImageJPG::IxExifInfo::~IxExifInfo() {
  if (m_freeInfo) {
    delete m_exifinfo;
    return;
  }
  // The caller's block outlives us: its thumbnail pointer must not point into freed sections.
  const uint8_t* thumb = m_exifinfo->ThumbnailPointer;
  for (const Section& s : m_sections) {
    if (thumb && thumb >= s.data.data() && thumb < s.data.data() + s.data.size()) {
      m_exifinfo->ThumbnailPointer = nullptr;
      m_exifinfo->ThumbnailSize = 0;
    }
  }
}

void IxImageJPG::IxExifInfo::SetError(const char* text) {
  std::snprintf(m_szLastError, sizeof m_szLastError, "%s", text);
}

bool IxImageJPG::IxExifInfo::Fail(const char* text) {
  SetError(text);
  return false;
}

int IxImageJPG::IxExifInfo::GetSectionMarker(int index) const {
  if (index < 0 || index >= GetSectionCount()) return -1;
  return m_sections[static_cast<size_t>(index)].type;
}

bool IxImageJPG::IxExifInfo::ReadJpegSections(IxFile* stream, int mode) {
  if (!stream) return false;
  if (stream->GetC() != 0xFF || stream->GetC() != 0xD8) return false;
  bool haveComment = false;
  for (;;) {
    if (GetSectionCount() >= kMaxSections) return Fail("Too many sections in jpg file");
    int marker = 0;
    for (int a = 0; a < 7; ++a) {
      marker = stream->GetC();
      if (marker != 0xFF) break;
      if (a >= 6) {
        std::fputs("too many padding bytes\n", stdout);
        return Fail("too many padding bytes\n");
      }
    }
    if (marker < 0) return Fail("Premature end of file?");
    int high = stream->GetC();
    int low = stream->GetC();
    if (high < 0 || low < 0) return Fail("Premature end of file?");
    size_t length = static_cast<size_t>((high << 8) | low);
    if (length < 2) return Fail("invalid marker");

    Section section;
    section.type = marker;
    try {
      section.data.resize(length);
    } catch (const std::bad_alloc&) {
      return Fail("Could not allocate memory");
    }
    section.data[0] = static_cast<uint8_t>(high);
    section.data[1] = static_cast<uint8_t>(low);
    if (length > 2 && stream->Read(section.data.data() + 2, 1, length - 2) != length - 2) {
      return Fail("Premature end of file?");
    }

    switch (marker) {
      case kMarkerSos: {
        m_sections.push_back(std::move(section));
        if (!(mode & kReadImage)) return true;
        // The image data goes in as one more section, so it needs a free place of its own.
        if (GetSectionCount() >= kMaxSections) return Fail("Too many sections in jpg file");
        long here = stream->Tell();
        long end = stream->Size();
        if (here < 0 || end < here) return Fail("could not read the rest of the image");
        Section image;
        image.type = kImageData;
        size_t rest = static_cast<size_t>(end - here);
        try {
          image.data.resize(rest);
        } catch (const std::bad_alloc&) {
          return Fail("could not allocate data for entire image");
        }
        if (rest > 0 && stream->Read(image.data.data(), 1, rest) != rest) {
          return Fail("could not read the rest of the image");
        }
        m_sections.push_back(std::move(image));
        return true;
      }
      case kMarkerEoi:
        m_sections.push_back(std::move(section));
        std::fputs("No image in jpeg!\n", stdout);
        return Fail("No image in jpeg!\n");
      case kMarkerJfif:
        break;  // a new one is written where needed
      case kMarkerExif:
        if ((mode & kReadExif) && length >= 6 && std::memcmp(section.data.data() + 2, "Exif", 4) == 0) {
          m_sections.push_back(std::move(section));
          const std::vector<uint8_t>& kept = m_sections.back().data;
          m_exifinfo->IsExif = ProcessExif(kept.data() + 2, kept.size() - 2) ? 1 : 0;
        }
        break;
      case kMarkerCom:
        if ((mode & kReadExif) && !haveComment) {
          m_sections.push_back(std::move(section));
          const std::vector<uint8_t>& kept = m_sections.back().data;
          ProcessComment(kept.data() + 2, kept.size() - 2);
          haveComment = true;
        }
        break;
      case 0xC0:
      case 0xC1:
      case 0xC2:
      case 0xC3:
      case 0xC5:
      case 0xC6:
      case 0xC7:
      case 0xC9:
      case 0xCA:
      case 0xCB:
      case 0xCD:
      case 0xCE:
      case 0xCF:
        ProcessFrameHeader(section.data, marker);
        m_sections.push_back(std::move(section));
        break;
      default:
        m_sections.push_back(std::move(section));
        break;
    }
  }
}

void IxImageJPG::IxExifInfo::ProcessFrameHeader(const std::vector<uint8_t>& data, int marker) {
  if (data.size() < 8) return;  // too short to hold the dimensions
  m_exifinfo->Height = (data[3] << 8) | data[4];
  m_exifinfo->Width = (data[5] << 8) | data[6];
  m_exifinfo->IsColor = data[7] == 3 ? 1 : 0;
  m_exifinfo->Process = marker;
}

void IxImageJPG::IxExifInfo::ProcessComment(const uint8_t* data, uint64_t length) {
  const uint64_t n = std::min<uint64_t>(length, 1000);
  const size_t room = sizeof m_exifinfo->Comments - 1;
  size_t out = 0;
  for (uint64_t a = 0; a < n && out < room; ++a) {
    uint8_t ch = data[a];
    if (ch == '\r' && a + 1 < n && data[a + 1] == '\n') continue;
    bool printable = ch >= 0x20 && ch < 0x7F;
    m_exifinfo->Comments[out++] = (printable || ch == '\n' || ch == '\t') ? static_cast<char>(ch) : '?';
  }
  m_exifinfo->Comments[out] = 0;
}

bool IxImageJPG::IxExifInfo::ProcessExif(const uint8_t* data, uint64_t length) {
  if (length < 6 || std::memcmp(data, "Exif\0\0", 6) != 0) return Fail("Incorrect Exif header");
  const uint8_t* tiff = data + 6;
  const uint64_t tiffLength = length - 6;
  if (tiffLength >= 2 && tiff[0] == 'I' && tiff[1] == 'I') {
    m_motorolaOrder = false;
  } else if (tiffLength >= 2 && tiff[0] == 'M' && tiff[1] == 'M') {
    m_motorolaOrder = true;
  } else {
    return Fail("Invalid Exif alignment marker.");
  }
  IxMemoryCursor cursor(tiff, tiffLength, m_motorolaOrder);
  uint16_t magic = 0;
  if (!cursor.U16(2, magic) || magic != 42) return Fail("Invalid Exif start (1)");

  m_exifinfo->FlashUsed = 0;
  m_exifinfo->Comments[0] = 0;
  m_exifImageWidth = 0;

  // The first directory is normally at 8; valid files may put it further on. An offset that
  // points into the header itself cannot be meant, so 8 stands for it.
  uint32_t first = 0;
  cursor.U32(4, first);
  m_visitedDirs.clear();
  if (!ProcessExifDir(cursor, first >= 8 ? first : 8, 1)) return false;

  if (m_exifinfo->FocalplaneXRes != 0) {
    m_exifinfo->CCDWidth = ToFloat(static_cast<double>(m_exifImageWidth) * m_exifinfo->FocalplaneUnits /
                                   m_exifinfo->FocalplaneXRes);
  }
  return true;
}

bool IxImageJPG::IxExifInfo::ProcessExifDir(const IxMemoryCursor& data, uint64_t dirOffset, int depth,
                                            bool thumbnailDir) {
  // A link back to a directory already walked, or a chain deeper than any real file has, would
  // otherwise recurse without end.
  if (depth > kMaxDirDepth ||
      std::find(m_visitedDirs.begin(), m_visitedDirs.end(), dirOffset) != m_visitedDirs.end()) {
    return Fail("Illegal subdirectory link");
  }
  m_visitedDirs.push_back(dirOffset);

  uint16_t entries = 0;
  if (!data.U16(dirOffset, entries) || !data.Fits(dirOffset + 2, 12ull * entries)) {
    return Fail("Illegally sized directory");
  }

  uint64_t thumbnailOffset = 0;
  uint64_t thumbnailSize = 0;
  for (uint64_t i = 0; i < entries; ++i) {
    const uint64_t entry = dirOffset + 2 + 12 * i;
    uint16_t tag = 0, format = 0;
    uint32_t components = 0;
    data.U16(entry, tag);
    data.U16(entry + 2, format);
    data.U32(entry + 4, components);
    if (format < 1 || format > 12) return Fail("Illegal format code in EXIF dir");

    const uint64_t byteCount = components * kBytesPerFormat[format];
    uint64_t valueOffset = entry + 8;
    if (byteCount > 4) {
      uint32_t offset = 0;
      data.U32(entry + 8, offset);
      if (!data.Fits(offset, byteCount)) return Fail("Illegal pointer offset value in EXIF.");
      valueOffset = offset;
    }

    switch (tag) {
      case kTagThumbnailOffset:
        thumbnailOffset = ToCount(ConvertAnyFormat(data, valueOffset, format, byteCount));
        break;
      case kTagThumbnailLength:
        thumbnailSize = ToCount(ConvertAnyFormat(data, valueOffset, format, byteCount));
        break;
      case kTagExifOffset:
      case kTagInteropOffset: {
        // Read by its format: a 16-bit offset sits in the first two bytes in either byte order.
        const uint64_t sub = ToCount(ConvertAnyFormat(data, valueOffset, format, byteCount));
        if (sub > 8) {
          if (sub >= data.Size()) return Fail("Illegal subdirectory link");
          ProcessExifDir(data, sub, depth + 1, thumbnailDir);  // its failure does not end this directory
        }
        break;
      }
      default:
        ReadTag(data, tag, format, valueOffset, byteCount, thumbnailDir);
        break;
    }
  }

  if (thumbnailOffset && thumbnailSize && data.Fits(thumbnailOffset, thumbnailSize)) {
    m_exifinfo->ThumbnailPointer = data.At(thumbnailOffset, thumbnailSize);
    m_exifinfo->ThumbnailSize = static_cast<uint32_t>(thumbnailSize);
  }

  uint32_t next = 0;
  if (data.U32(dirOffset + 2 + 12ull * entries, next) && next != 0) {
    if (next >= data.Size()) {
      SetError("Illegal subdirectory link");  // the directories read so far stay good
    } else {
      ProcessExifDir(data, next, depth + 1, true);
    }
  }
  return true;
}

void IxImageJPG::IxExifInfo::ReadTag(const IxMemoryCursor& data, int tag, int format, uint64_t valueOffset,
                                     uint64_t byteCount, bool thumbnailDir) {
  IxExifInfoBlock& info = *m_exifinfo;
  // The thumbnail's directory has a resolution of its own, which is not the picture's.
  if (thumbnailDir && (tag == kTagXResolution || tag == kTagYResolution || tag == kTagResolutionUnit)) return;
  const uint8_t* bytes = data.At(valueOffset, byteCount);
  const double value = ConvertAnyFormat(data, valueOffset, format, byteCount);
  switch (tag) {
    case kTagMake:
      CopyText(info.CameraMake, sizeof info.CameraMake, bytes, byteCount, 31);
      break;
    case kTagModel:
      CopyText(info.CameraModel, sizeof info.CameraModel, bytes, byteCount, 39);
      break;
    case kTagDateTimeOriginal:
      CopyText(info.DateTime, sizeof info.DateTime, bytes, byteCount, 19);
      break;
    case kTagExifVersion:
      CopyText(info.Version, sizeof info.Version, bytes, byteCount, 4);
      break;
    case kTagOrientation:
      info.Orientation = ClampToInt(value);
      if (info.Orientation < 1 || info.Orientation > 8) {
        SetError("Undefined rotation value");
        info.Orientation = 0;
      }
      break;
    case kTagXResolution:
      info.Xresolution = ToFloat(value);
      break;
    case kTagYResolution:
      info.Yresolution = ToFloat(value);
      break;
    case kTagResolutionUnit:
      if (float f = UnitFactor(ClampToInt(value)); f != 0) info.ResolutionUnit = f;
      break;
    case kTagFocalPlaneUnit:
      if (float f = UnitFactor(ClampToInt(value)); f != 0) info.FocalplaneUnits = f;
      break;
    case kTagExposureTime:
      info.ExposureTime = ToFloat(value);
      break;
    case kTagFNumber:
      info.ApertureFNumber = ToFloat(value);
      break;
    case kTagExposureProgram:
      info.ExposureProgram = ClampToInt(value);
      break;
    case kTagIsoEquivalent:
      info.ISOequivalent = ClampToInt(value);
      if (info.ISOequivalent < 50) info.ISOequivalent = ClampToInt(info.ISOequivalent * 200.0);
      break;
    case kTagCompressionLevel:
      info.CompressionLevel = ClampToInt(value);
      break;
    case kTagShutterSpeed:
      if (info.ExposureTime == 0) info.ExposureTime = ToFloat(std::exp2(-value));
      break;
    case kTagAperture:
    case kTagMaxAperture:
      if (info.ApertureFNumber == 0) info.ApertureFNumber = ToFloat(std::exp2(value / 2));
      break;
    case kTagBrightness:
      info.Brightness = ToFloat(value);
      break;
    case kTagExposureBias:
      info.ExposureBias = ToFloat(value);
      break;
    case kTagSubjectDistance:
      info.Distance = ToFloat(value);
      break;
    case kTagMeteringMode:
      info.MeteringMode = ClampToInt(value);
      break;
    case kTagLightSource:
      info.Whitebalance = ClampToInt(value);
      break;
    case kTagFlash:
      info.FlashUsed = (ClampToInt(value) & 7) != 0 ? 1 : 0;
      break;
    case kTagFocalLength:
      info.FocalLength = ToFloat(value);
      break;
    case kTagUserComment: {
      if (!bytes) break;
      uint64_t length = byteCount;
      while (length > 0 && bytes[length - 1] == ' ') --length;
      if (length >= 5 && std::memcmp(bytes, "ASCII", 5) == 0) {
        for (uint64_t a = 5; a < 10 && a < length; ++a) {
          if (bytes[a] != 0 && bytes[a] != ' ') {
            CopyText(info.Comments, sizeof info.Comments, bytes + a, length - a, 199);
            break;
          }
        }
      } else {
        CopyText(info.Comments, sizeof info.Comments, bytes, length, 199);
      }
      break;
    }
    case kTagPixelXDimension:
    case kTagPixelYDimension:
      m_exifImageWidth = std::max(m_exifImageWidth, ClampToInt(value));
      break;
    case kTagFocalPlaneXRes:
      info.FocalplaneXRes = ToFloat(value);
      break;
    case kTagFocalPlaneYRes:
      info.FocalplaneYRes = ToFloat(value);
      break;
    default:
      break;
  }
}
