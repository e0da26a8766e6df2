// Small builders and oracle calls shared by the JPEG and EXIF tests: TIFF-structured EXIF data
// written field by field, JPEG marker sections, a JPEG body taken from a real file, and the
// outputs of djpeg, cjpeg and exiftool (Debian's tools) to compare with.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "imagelib/IxImageJPG.h"

namespace jpegtest {

using Bytes = std::vector<uint8_t>;

Bytes ToBytes(const std::string& text);
Bytes Concat(std::initializer_list<Bytes> parts);

// EXIF data (from the "II"/"MM" bytes on) built in order; offsets are positions in it.
class TiffWriter {
 public:
  struct Entry {
    uint16_t tag;
    uint16_t format;
    uint32_t count;
    uint32_t value;  // inline value (a 16-bit value of count 1 is placed first) or offset
  };

  // Header with the first-directory offset `firstDir` (patchable with SetFirstDir).
  explicit TiffWriter(bool bigEndian, uint32_t firstDir = 8);
  uint32_t Size() const { return static_cast<uint32_t>(bytes_.size()); }
  void SetFirstDir(uint32_t offset);
  void Pad(uint32_t offset);  // zero bytes up to `offset`
  void U16(uint16_t v);
  void U32(uint32_t v);
  uint32_t Raw(const Bytes& data);              // returns its offset
  uint32_t Rational(int32_t num, int32_t den);  // returns its offset
  uint32_t Double(double v);                    // returns its offset
  // A directory at the current end; returns its offset.
  uint32_t Dir(const std::vector<Entry>& entries, uint32_t next = 0);
  // Size of a directory of n entries with its next link.
  static uint32_t DirSize(uint32_t n) { return 2 + 12 * n + 4; }
  const Bytes& bytes() const { return bytes_; }

 private:
  bool big_;
  Bytes bytes_;
};

Bytes Section(uint8_t marker, const Bytes& payload);
Bytes JfifSection(uint8_t unit, uint16_t xDensity, uint16_t yDensity);
Bytes ExifSection(const TiffWriter& tiff);
// SOI, the given sections, then the body of a real JPEG file (its tables, frame and scans).
Bytes JpegWith(const std::vector<Bytes>& sections, const std::string& bodyFrom);
// A JPEG file without its SOI and the APPn and comment sections that precede its tables.
Bytes JpegBody(const std::string& path);

// Decodes bytes through the JPEG class over a memory stream.
bool DecodeBytes(IxImageJPG& image, const Bytes& data);
// Reads the marker sections of bytes through an EXIF reader.
bool ReadSections(IxImageJPG::IxExifInfo& reader, const Bytes& data, int mode);
// Encodes into memory; the bytes written, or empty on failure.
bool EncodeBytes(IxImageJPG& image, Bytes& out);

// Standard output of a shell command; the test fails when it does not exit 0 (or, with
// `warningsToo`, 2, which djpeg returns after a warning such as a premature end of file).
std::string Shell(const std::string& command, bool warningsToo = false);
void WriteFile(const std::string& path, const Bytes& data);

// A BMP as djpeg writes it: bottom-up rows padded to 4 bytes.
struct Bmp {
  int32_t width = 0;
  int32_t height = 0;
  int bpp = 0;
  uint32_t rowSize = 0;
  Bytes palette;  // 4 bytes per entry
  Bytes pixels;
  const uint8_t* Row(int32_t y) const { return pixels.data() + static_cast<size_t>(y) * rowSize; }
};
Bmp ParseBmp(const Bytes& file);
// djpeg's BMP output for a file with extra options.
Bmp Djpeg(const std::string& path, const std::string& options = "");

}  // namespace jpegtest
