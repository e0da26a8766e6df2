// Helpers of the PNG picture tests: the classes registered once, files in and out of memory,
// a builder of crafted files, the samples our storage holds, and libpng (loaded at run time,
// reading only: interlace handling and unpacking, no transforms of colour or gamma) as the
// oracle of what a file's samples are.
#pragma once

#include <dlfcn.h>
#include <gtest/gtest.h>
#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "pictures/png/PngCrc.h"
#include "pictures/png/PngRegistration.h"
#include "pictures/png/TPNGObject.h"
#include "platform/rtl/TMemoryStream.h"
#include "support/SharedData.h"

namespace pngtest {

using Bytes = std::vector<std::uint8_t>;

inline std::string SuitePath(const std::string& name) {
  return testsupport::SharedPath("testdata/png/" + name);
}
inline Bytes SuiteFile(const std::string& name) { return testsupport::ReadFileBytes(SuitePath(name)); }
// The conformance suite's files that are valid PNG images (the x* ones are broken on purpose).
inline std::vector<std::string> ValidSuiteFiles() {
  std::vector<std::string> names;
  for (const std::string& path : testsupport::SharedFiles("testdata/png", ".png")) {
    const std::string name = path.substr(path.find_last_of('/') + 1);
    if (name[0] != 'x') names.push_back(name);
  }
  return names;
}

inline void Load(TPNGObject& png, const Bytes& bytes) {
  TMemoryStream stream;
  if (!bytes.empty()) stream.WriteBuffer(bytes.data(), int(bytes.size()));
  stream.SetPosition(0);
  png.LoadFromStream(&stream);
}
inline Bytes Save(TPNGObject& png) {
  TMemoryStream stream;
  png.SaveToStream(&stream);
  const auto* p = static_cast<const std::uint8_t*>(stream.Memory());
  return Bytes(p, p + stream.Size());
}

// ---- crafted files

inline Bytes Chunk(const char* name, const Bytes& data) {
  Bytes out(8);
  WriteBigEndian32(out.data(), std::uint32_t(data.size()));
  std::memcpy(out.data() + 4, name, 4);
  out.insert(out.end(), data.begin(), data.end());
  std::uint32_t crc = update_crc(0xFFFFFFFFu, out.data() + 4, 4);
  crc = update_crc(crc, data.data(), data.size());
  out.resize(out.size() + 4);
  WriteBigEndian32(out.data() + out.size() - 4, ~crc);
  return out;
}
inline Bytes Ihdr(std::uint32_t w, std::uint32_t h, int depth, int type, int interlace = 0,
                  int compression = 0, int filter = 0) {
  Bytes d(13);
  WriteBigEndian32(d.data(), w);
  WriteBigEndian32(d.data() + 4, h);
  d[8] = std::uint8_t(depth), d[9] = std::uint8_t(type), d[10] = std::uint8_t(compression);
  d[11] = std::uint8_t(filter), d[12] = std::uint8_t(interlace);
  return Chunk("IHDR", d);
}
inline Bytes Deflate(const Bytes& raw, int level = 6) {
  uLongf size = compressBound(uLong(raw.size()));
  Bytes out(size);
  compress2(out.data(), &size, raw.data(), uLong(raw.size()), level);
  out.resize(size);
  return out;
}
inline Bytes File(const std::vector<Bytes>& chunks) {
  Bytes out = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
  for (const Bytes& c : chunks) out.insert(out.end(), c.begin(), c.end());
  return out;
}
inline Bytes Iend() { return Chunk("IEND", {}); }
// A whole file: the header, the given chunks, one IDAT of the raw (filtered) rows, IEND.
inline Bytes Simple(std::uint32_t w, std::uint32_t h, int depth, int type, const Bytes& rawRows,
                    const std::vector<Bytes>& before = {}) {
  std::vector<Bytes> chunks = {Ihdr(w, h, depth, type)};
  chunks.insert(chunks.end(), before.begin(), before.end());
  chunks.push_back(Chunk("IDAT", Deflate(rawRows)));
  chunks.push_back(Iend());
  return File(chunks);
}
// Every chunk of a file as (name, data), the signature skipped.
struct ChunkView {
  std::string name;
  Bytes data;
};
inline std::vector<ChunkView> Chunks(const Bytes& file) {
  std::vector<ChunkView> out;
  for (std::size_t p = 8; p + 12 <= file.size();) {
    const std::uint32_t n = ReadBigEndian32(file.data() + p);
    if (p + 12 + n > file.size()) break;
    out.push_back({std::string(reinterpret_cast<const char*>(file.data() + p + 4), 4),
                   Bytes(file.begin() + long(p + 8), file.begin() + long(p + 8 + n))});
    p += 12 + n;
  }
  return out;
}

// ---- samples

// Every sample of an image in file order (palette indices for palette images), 16-bit
// samples whole.
struct Samples {
  std::uint32_t width = 0, height = 0;
  int colorType = 0, bitDepth = 0, channels = 0;
  std::vector<std::uint16_t> values;
};

// What our storage holds, read back as the file's samples: 2-bit grey v is held as 5v at 4
// bits, 16-bit samples as a high byte in the bitmap and a low byte in a plane.
inline Samples OurSamples(TPNGObject& png) {
  Samples s;
  TChunkIHDR* h = png.GetHeader();
  s.width = h->IHDRData.Width;
  s.height = h->IHDRData.Height;
  s.colorType = h->IHDRData.ColorType;
  s.bitDepth = h->IHDRData.BitDepth;
  const int bits = h->BitmapInfo.bmiHeader.biBitCount;
  const bool wide = s.bitDepth == 16;
  s.channels = s.colorType == 2 ? 3 : s.colorType == 4 ? 2 : s.colorType == 6 ? 4 : 1;
  for (std::uint32_t y = 0; y < s.height; ++y) {
    const std::uint8_t* row = png.GetScanline(y);
    const std::uint8_t* low = png.GetExtraScanline(y);
    const std::uint8_t* alpha = png.GetAlphaScanline(y);
    const std::uint8_t* alphaLow =
        h->ExtraAlphaData() ? h->ExtraAlphaData() + std::uint64_t(s.width) * y : nullptr;
    for (std::uint32_t x = 0; x < s.width; ++x) {
      auto sample = [&](const std::uint8_t* hi, const std::uint8_t* lo, std::uint64_t i) -> std::uint16_t {
        return wide ? std::uint16_t(hi[i] << 8 | lo[i]) : hi[i];
      };
      switch (s.colorType) {
        case 0:
        case 3: {
          if (wide) {
            s.values.push_back(sample(row, low, x));
            break;
          }
          const std::uint32_t bit = x * std::uint32_t(bits);
          std::uint16_t v = std::uint16_t((row[bit >> 3] >> (8 - bits - int(bit & 7))) & ((1 << bits) - 1));
          if (s.bitDepth == 2 && s.colorType == 0) {
            EXPECT_EQ(v % 5, 0) << "2-bit grey held as 5v";
            v = std::uint16_t(v / 5);
          }
          s.values.push_back(v);
          break;
        }
        case 2:
          for (int c = 2; c >= 0; --c)
            s.values.push_back(sample(row, low, 3 * std::uint64_t(x) + std::uint64_t(c)));
          break;
        case 4:
          s.values.push_back(sample(row, low, x));
          s.values.push_back(sample(alpha, alphaLow, x));
          break;
        case 6:
          for (int c = 2; c >= 0; --c)
            s.values.push_back(sample(row, low, 3 * std::uint64_t(x) + std::uint64_t(c)));
          s.values.push_back(sample(alpha, alphaLow, x));
          break;
      }
    }
  }
  return s;
}

// libpng, reached through the dynamic loader so that the library itself never links it.
class Libpng {
 public:
  static Libpng& Get() {
    static Libpng instance;
    return instance;
  }
  bool Available() const { return handle_ != nullptr; }

  // The samples of a file as libpng reads them; false when libpng refuses the file.
  bool Read(const Bytes& file, Samples& out, std::string* error = nullptr) {
    if (!handle_) return false;
    Input input{&file, 0};
    png_structp png = create_(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = info_(png);
    std::vector<png_bytep> rows;
    std::vector<std::uint8_t> pixels;
    bool ok = false;
    if (setjmp(*longjmp_(png, longjmp, sizeof(jmp_buf))) == 0) {
      setRead_(png, &input, &Libpng::ReadData);
      readInfo_(png, info);
      png_uint_32 w = 0, h = 0;
      int depth = 0, type = 0, interlace = 0;
      getIhdr_(png, info, &w, &h, &depth, &type, &interlace, nullptr, nullptr);
      if (depth < 8) packing_(png);
      interlaceHandling_(png);
      updateInfo_(png, info);
      const std::size_t rowBytes = rowbytes_(png, info);
      pixels.assign(rowBytes * h, 0);
      for (png_uint_32 y = 0; y < h; ++y) rows.push_back(pixels.data() + rowBytes * y);
      readImage_(png, rows.data());
      readEnd_(png, nullptr);
      out = Samples();
      out.width = w, out.height = h, out.colorType = type, out.bitDepth = depth;
      out.channels = type == 2 ? 3 : type == 4 ? 2 : type == 6 ? 4 : 1;
      const std::size_t count = std::size_t(w) * out.channels;
      for (png_uint_32 y = 0; y < h; ++y)
        for (std::size_t i = 0; i < count; ++i)
          out.values.push_back(depth == 16 ? std::uint16_t(rows[y][2 * i] << 8 | rows[y][2 * i + 1])
                                           : rows[y][i]);
      ok = true;
    } else if (error) {
      *error = "libpng refused the file";
    }
    destroy_(&png, &info, nullptr);
    return ok;
  }

 private:
  struct Input {
    const Bytes* bytes;
    std::size_t position;
  };
  static void ReadData(png_structp png, png_bytep data, png_size_t length) {
    auto* input = static_cast<Input*>(Get().ioPtr_(png));
    if (input->position + length > input->bytes->size()) Get().error_(png, "read past the end");
    std::memcpy(data, input->bytes->data() + input->position, length);
    input->position += length;
  }

  template <class F>
  void Bind(F& f, const char* name) {
    f = reinterpret_cast<F>(dlsym(handle_, name));
    if (!f) handle_ = nullptr;
  }
  Libpng() {
    handle_ = dlopen("libpng16.so.16", RTLD_NOW | RTLD_LOCAL);
    if (!handle_) return;
    Bind(create_, "png_create_read_struct");
    Bind(info_, "png_create_info_struct");
    Bind(destroy_, "png_destroy_read_struct");
    Bind(longjmp_, "png_set_longjmp_fn");
    Bind(setRead_, "png_set_read_fn");
    Bind(ioPtr_, "png_get_io_ptr");
    Bind(readInfo_, "png_read_info");
    Bind(getIhdr_, "png_get_IHDR");
    Bind(packing_, "png_set_packing");
    Bind(interlaceHandling_, "png_set_interlace_handling");
    Bind(updateInfo_, "png_read_update_info");
    Bind(rowbytes_, "png_get_rowbytes");
    Bind(readImage_, "png_read_image");
    Bind(readEnd_, "png_read_end");
    Bind(error_, "png_error");
  }

  void* handle_ = nullptr;
  decltype(&png_create_read_struct) create_ = nullptr;
  decltype(&png_create_info_struct) info_ = nullptr;
  decltype(&png_destroy_read_struct) destroy_ = nullptr;
  decltype(&png_set_longjmp_fn) longjmp_ = nullptr;
  decltype(&png_set_read_fn) setRead_ = nullptr;
  decltype(&png_get_io_ptr) ioPtr_ = nullptr;
  decltype(&png_read_info) readInfo_ = nullptr;
  decltype(&png_get_IHDR) getIhdr_ = nullptr;
  decltype(&png_set_packing) packing_ = nullptr;
  decltype(&png_set_interlace_handling) interlaceHandling_ = nullptr;
  decltype(&png_read_update_info) updateInfo_ = nullptr;
  decltype(&png_get_rowbytes) rowbytes_ = nullptr;
  decltype(&png_read_image) readImage_ = nullptr;
  decltype(&png_read_end) readEnd_ = nullptr;
  decltype(&png_error) error_ = nullptr;
};

// Registers the picture class and its chunk classes for every test of the program.
class PngEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { pictures::RegisterPng(); }
  void TearDown() override { pictures::UnregisterPng(); }
};

}  // namespace pngtest
