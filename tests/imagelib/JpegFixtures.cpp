// Builders and oracle calls for the JPEG and EXIF tests.
#include "JpegFixtures.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <memory>

#include "imagelib/IxExifInfo.h"
#include "imagelib/IxMemFile.h"
#include "support/SharedData.h"

namespace jpegtest {

Bytes ToBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const Bytes& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

TiffWriter::TiffWriter(bool bigEndian, uint32_t firstDir) : big_(bigEndian) {
  bytes_ = big_ ? ToBytes("MM") : ToBytes("II");
  U16(42);
  U32(firstDir);
}

void TiffWriter::SetFirstDir(uint32_t offset) {
  for (int i = 0; i < 4; ++i) {
    bytes_[4 + static_cast<size_t>(i)] = static_cast<uint8_t>(offset >> (big_ ? 24 - 8 * i : 8 * i));
  }
}

void TiffWriter::Pad(uint32_t offset) {
  if (bytes_.size() < offset) bytes_.resize(offset, 0);
}

void TiffWriter::U16(uint16_t v) {
  if (big_) {
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
    bytes_.push_back(static_cast<uint8_t>(v));
  } else {
    bytes_.push_back(static_cast<uint8_t>(v));
    bytes_.push_back(static_cast<uint8_t>(v >> 8));
  }
}

void TiffWriter::U32(uint32_t v) {
  for (int i = 0; i < 4; ++i) bytes_.push_back(static_cast<uint8_t>(v >> (big_ ? 24 - 8 * i : 8 * i)));
}

uint32_t TiffWriter::Raw(const Bytes& data) {
  uint32_t at = Size();
  bytes_.insert(bytes_.end(), data.begin(), data.end());
  return at;
}

uint32_t TiffWriter::Rational(int32_t num, int32_t den) {
  uint32_t at = Size();
  U32(static_cast<uint32_t>(num));
  U32(static_cast<uint32_t>(den));
  return at;
}

uint32_t TiffWriter::Double(double v) {
  uint32_t at = Size();
  uint64_t bits;
  std::memcpy(&bits, &v, 8);
  U32(static_cast<uint32_t>(big_ ? bits >> 32 : bits));
  U32(static_cast<uint32_t>(big_ ? bits : bits >> 32));
  return at;
}

uint32_t TiffWriter::Dir(const std::vector<Entry>& entries, uint32_t next) {
  uint32_t at = Size();
  U16(static_cast<uint16_t>(entries.size()));
  for (const Entry& e : entries) {
    U16(e.tag);
    U16(e.format);
    U32(e.count);
    if ((e.format == 3 || e.format == 8) && e.count == 1) {
      U16(static_cast<uint16_t>(e.value));
      U16(0);
    } else if ((e.format == 1 || e.format == 6) && e.count == 1) {
      bytes_.push_back(static_cast<uint8_t>(e.value));
      bytes_.insert(bytes_.end(), 3, 0);
    } else {
      U32(e.value);
    }
  }
  U32(next);
  return at;
}

Bytes Section(uint8_t marker, const Bytes& payload) {
  size_t length = payload.size() + 2;
  Bytes out = {0xFF, marker, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length)};
  out.insert(out.end(), payload.begin(), payload.end());
  return out;
}

Bytes JfifSection(uint8_t unit, uint16_t xDensity, uint16_t yDensity) {
  return Section(0xE0,
                 Concat({ToBytes(std::string("JFIF\0", 5)),
                         {1, 1, unit, static_cast<uint8_t>(xDensity >> 8), static_cast<uint8_t>(xDensity),
                          static_cast<uint8_t>(yDensity >> 8), static_cast<uint8_t>(yDensity), 0, 0}}));
}

Bytes ExifSection(const TiffWriter& tiff) {
  return Section(0xE1, Concat({ToBytes(std::string("Exif\0\0", 6)), tiff.bytes()}));
}

Bytes JpegBody(const std::string& path) {
  Bytes file = testsupport::ReadFileBytes(path);
  size_t at = 2;
  while (at + 4 <= file.size() && file[at] == 0xFF &&
         ((file[at + 1] >= 0xE0 && file[at + 1] <= 0xEF) || file[at + 1] == 0xFE)) {
    at += 2 + ((file[at + 2] << 8) | file[at + 3]);
  }
  return Bytes(file.begin() + static_cast<long>(at), file.end());
}

Bytes JpegWith(const std::vector<Bytes>& sections, const std::string& bodyFrom) {
  Bytes out = {0xFF, 0xD8};
  for (const Bytes& s : sections) out.insert(out.end(), s.begin(), s.end());
  Bytes body = JpegBody(bodyFrom);
  out.insert(out.end(), body.begin(), body.end());
  return out;
}

bool DecodeBytes(IxImageJPG& image, const Bytes& data) {
  Bytes copy = data;
  IxMemFile stream(copy.data(), copy.size());
  return image.Decode(&stream);
}

bool ReadSections(IxImageJPG::IxExifInfo& reader, const Bytes& data, int mode) {
  Bytes copy = data;
  IxMemFile stream(copy.data(), copy.size());
  return reader.ReadJpegSections(&stream, mode);
}

bool EncodeBytes(IxImageJPG& image, Bytes& out) {
  IxMemFile stream;
  stream.Open();
  bool ok = image.Encode(&stream);
  uint8_t* buffer = stream.GetBuffer(false);
  out.assign(buffer, buffer + stream.Size());
  return ok;
}

std::string Shell(const std::string& command, bool warningsToo) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) {
    ADD_FAILURE() << "cannot run " << command;
    return out;
  }
  std::array<char, 4096> chunk;
  size_t got;
  while ((got = fread(chunk.data(), 1, chunk.size(), pipe)) > 0) out.append(chunk.data(), got);
  int status = pclose(pipe);
  int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  EXPECT_TRUE(code == 0 || (warningsToo && code == 2)) << command << " exited " << code;
  return out;
}

void WriteFile(const std::string& path, const Bytes& data) {
  std::ofstream f(path, std::ios::binary);
  f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

namespace {
uint32_t Le32(const Bytes& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}
}  // namespace

Bmp ParseBmp(const Bytes& file) {
  Bmp bmp;
  if (file.size() < 54 || file[0] != 'B' || file[1] != 'M') {
    ADD_FAILURE() << "not a BMP";
    return bmp;
  }
  uint32_t dataOffset = Le32(file, 10);
  uint32_t headerSize = Le32(file, 14);
  bmp.width = static_cast<int32_t>(Le32(file, 18));
  bmp.height = static_cast<int32_t>(Le32(file, 22));
  bmp.bpp = file[28];
  bmp.rowSize = ((static_cast<uint32_t>(bmp.width) * bmp.bpp + 31) / 32) * 4;
  bmp.palette.assign(file.begin() + 14 + headerSize, file.begin() + dataOffset);
  bmp.pixels.assign(file.begin() + dataOffset, file.end());
  EXPECT_GE(bmp.pixels.size(), static_cast<size_t>(bmp.rowSize) * bmp.height);
  return bmp;
}

Bmp Djpeg(const std::string& path, const std::string& options) {
  std::string bmp = Shell("djpeg " + options + " -bmp '" + path + "' 2>/dev/null", true);
  return ParseBmp(ToBytes(bmp));
}

}  // namespace jpegtest
