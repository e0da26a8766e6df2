// Loading, decoding and encoding by format id: each call builds a short-lived object of the
// format's class, lets its codec work, then moves the decoded picture in or copies the codec's
// error text back. Id 0 tries the decoders one after another.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <initializer_list>
#include <string>

#include "imagelib/IxFormatTable.h"
#include "imagelib/IxIOFile.h"
#include "imagelib/IxImage.h"

namespace {

constexpr uint32_t kDetectionOrder[] = {
    IXIMAGE_FORMAT_BMP,  IXIMAGE_FORMAT_JPG, IXIMAGE_FORMAT_ICO, IXIMAGE_FORMAT_GIF,
    IXIMAGE_FORMAT_PNG,  IXIMAGE_FORMAT_TIF, IXIMAGE_FORMAT_TGA, IXIMAGE_FORMAT_PCX,
    IXIMAGE_FORMAT_WBMP, IXIMAGE_FORMAT_WMF, IXIMAGE_FORMAT_JP2,
};

// Opens a new file beside `target` for writing; the name is returned in `tempPath`.
FILE* OpenTemporaryBeside(const std::string& target, std::string& tempPath) {
  static std::atomic<unsigned> counter{0};
  for (int attempt = 0; attempt < 100; ++attempt) {
    tempPath = target + ".~ix" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    // 0666 lets the process umask decide, as for the file a plain fopen would have made.
    const int fd = open(tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return nullptr;
    }
    struct stat existing;
    if (stat(target.c_str(), &existing) == 0) fchmod(fd, existing.st_mode & 07777);
    FILE* fp = fdopen(fd, "wb");
    if (fp == nullptr) {
      close(fd);
      unlink(tempPath.c_str());
    }
    return fp;
  }
  return nullptr;
}

}  // namespace

uint32_t IxClaimedFormat(const uint8_t* h, size_t n) {
  auto starts = [&](std::initializer_list<uint8_t> sig) {
    return n >= sig.size() && std::equal(sig.begin(), sig.end(), h);
  };
  if (starts({'B', 'M'})) return IXIMAGE_FORMAT_BMP;
  if (starts({0xFF, 0xD8, 0xFF})) return IXIMAGE_FORMAT_JPG;
  if (starts({'G', 'I', 'F', '8'})) return IXIMAGE_FORMAT_GIF;
  if (starts({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A})) return IXIMAGE_FORMAT_PNG;
  if (starts({'I', 'I', 0x2A, 0x00}) || starts({'M', 'M', 0x00, 0x2A}) || starts({'I', 'I', 0x2B, 0x00}) ||
      starts({'M', 'M', 0x00, 0x2B})) {
    return IXIMAGE_FORMAT_TIF;
  }
  if (starts({0x00, 0x00, 0x01, 0x00}) || starts({0x00, 0x00, 0x02, 0x00})) return IXIMAGE_FORMAT_ICO;
  if (starts({0xD7, 0xCD, 0xC6, 0x9A})) return IXIMAGE_FORMAT_WMF;
  if (starts({0x00, 0x00, 0x00, 0x0C, 0x6A, 0x50, 0x20, 0x20}) || starts({0x0D, 0x0A, 0x87, 0x0A})) {
    return IXIMAGE_FORMAT_JP2;
  }
  if (starts({0xFF, 0x4F, 0xFF, 0x51})) return IXIMAGE_FORMAT_JP2;
  if (starts({0x59, 0xA6, 0x6A, 0x95})) return IXIMAGE_FORMAT_JP2;
  if (n >= 3 && h[0] == 0x0A && h[1] <= 5 && h[2] == 1) return IXIMAGE_FORMAT_PCX;
  return IXIMAGE_FORMAT_UNKNOWN;
}

bool IxImage::EncodeSafeCheck(IxFile* hFile) {
  if (hFile == nullptr) {
    SetLastError("null file handler");
    return true;
  }
  if (pDib == nullptr) {
    SetLastError("null image!!!");
    return true;
  }
  return false;
}

bool IxImage::Load(const char* filename, uint32_t imagetype) {
  if (filename == nullptr) return false;
  if (imagetype > 0 && imagetype < IXIMAGE_FORMATS) {
    FILE* fp = fopen(filename, "rb");
    if (fp == nullptr) return false;
    const bool ok = Decode(fp, imagetype);
    fclose(fp);
    if (ok) return true;
  }
  // A typed load that fails falls back to detection; when that fails too, the caller sees the
  // typed decoder's reason.
  char kept[sizeof(info.szLastError)];
  memcpy(kept, info.szLastError, sizeof(kept));
  FILE* fp = fopen(filename, "rb");
  if (fp == nullptr) return false;
  const bool ok = Decode(fp, IXIMAGE_FORMAT_UNKNOWN);
  fclose(fp);
  if (!ok && imagetype != 0) memcpy(info.szLastError, kept, sizeof(kept));
  return ok;
}

bool IxImage::Decode(FILE* hFile, uint32_t imagetype) {
  IxIOFile file(hFile);
  return Decode(&file, imagetype);
}

bool IxImage::Decode(IxFile* hFile, uint32_t imagetype) {
  if (imagetype == IXIMAGE_FORMAT_UNKNOWN) {
    const int64_t start = hFile != nullptr ? hFile->Tell() : 0;
    uint32_t claimed = IXIMAGE_FORMAT_UNKNOWN;
    if (hFile != nullptr && start >= 0) {
      uint8_t head[12] = {};
      claimed = IxClaimedFormat(head, hFile->Read(head, 1, sizeof(head)));
      hFile->Seek(start, SEEK_SET);
    }
    std::string reason;
    for (const uint32_t format : kDetectionOrder) {
      const IxFormatCodec* codec = IxFindFormatCodec(format);
      if (codec == nullptr) continue;
      std::unique_ptr<IxImage> object = codec->make();
      object->CopyInfo(*this);
      // The JPEG-2000 family class is handed id 0 and lets its library recognise the format.
      const uint32_t asked = format == IXIMAGE_FORMAT_JP2 ? IXIMAGE_FORMAT_UNKNOWN : format;
      if (codec->decode(*object, hFile, asked)) return Transfer(*object);
      if (format == claimed) reason = object->GetLastError();
      if (hFile != nullptr) hFile->Seek(start, SEEK_SET);
    }
    SetLastError(reason.empty() ? "Decode: Unknown or wrong format" : reason.c_str());
    return false;
  }

  const IxFormatCodec* codec = imagetype < IXIMAGE_FORMATS ? IxFindFormatCodec(imagetype) : nullptr;
  if (codec == nullptr) {
    SetLastError("Decode: Unknown or wrong format");
    return false;
  }
  std::unique_ptr<IxImage> object = codec->make();
  object->CopyInfo(*this);
  if (codec->decode(*object, hFile, imagetype)) return Transfer(*object);
  SetLastError(object->GetLastError());
  if (imagetype == IXIMAGE_FORMAT_GIF || imagetype == IXIMAGE_FORMAT_ICO || imagetype == IXIMAGE_FORMAT_TIF ||
      imagetype >= IXIMAGE_FORMAT_JP2) {
    info.nNumFrames = object->info.nNumFrames;
  }
  return false;
}

bool IxImage::Save(const char* filename, uint32_t imagetype) {
  if (filename == nullptr) return false;
  // Written beside the target and renamed over it only when encoding, flushing and closing all
  // succeed, so a failed save never leaves a broken file or destroys the previous one.
  const std::string target(filename);
  std::string tempPath;
  FILE* fp = OpenTemporaryBeside(target, tempPath);
  if (fp == nullptr) return false;
  bool ok = Encode(fp, imagetype);
  if (fflush(fp) != 0 || ferror(fp) != 0) ok = false;
  if (fclose(fp) != 0) ok = false;
  if (ok && rename(tempPath.c_str(), target.c_str()) != 0) ok = false;
  if (!ok) unlink(tempPath.c_str());
  return ok;
}

bool IxImage::Encode(FILE* hFile, uint32_t imagetype) {
  IxIOFile file(hFile);
  return Encode(hFile != nullptr ? &file : nullptr, imagetype);
}

bool IxImage::Encode(IxFile* hFile, uint32_t imagetype) {
  if (imagetype == IXIMAGE_FORMAT_UNKNOWN || imagetype >= IXIMAGE_FORMATS) {
    SetLastError("Encode: Unknown format");
    return false;
  }
  const IxFormatCodec* codec = IxFindFormatCodec(imagetype);
  if (codec == nullptr) {
    // The metafile class never encodes; the other classes not built here are unknown formats.
    SetLastError(imagetype == IXIMAGE_FORMAT_WMF ? "Save WMF not supported" : "Encode: Unknown format");
    return false;
  }
  std::unique_ptr<IxImage> object = codec->make();
  object->Ghost(this);
  const bool ok = codec->encode(*object, hFile, imagetype);
  if (!ok) SetLastError(object->GetLastError());
  return ok;
}
