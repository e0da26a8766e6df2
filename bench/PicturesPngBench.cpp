// The PNG picture class against libpng on the same files: decoding 2000 x 1500 RGB, RGBA,
// 8-bit palette and 16-bit grey images (written at start by libpng with its defaults, the RGB
// one also interlaced) and the whole conformance suite; encoding the same images at level 6
// with every filter offered.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <png.h>

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "pictures/png/PngRegistration.h"
#include "pictures/png/TPNGObject.h"
#include "platform/rtl/TMemoryStream.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
constexpr int kWidth = 2000, kHeight = 1500;

struct Kind {
  int colorType, bitDepth, interlace;
};
const Kind kKinds[] = {{PNG_COLOR_TYPE_RGB, 8, 0},
                       {PNG_COLOR_TYPE_RGB_ALPHA, 8, 0},
                       {PNG_COLOR_TYPE_PALETTE, 8, 0},
                       {PNG_COLOR_TYPE_GRAY, 16, 0},
                       {PNG_COLOR_TYPE_RGB, 8, 1}};

int Channels(int type) { return type == PNG_COLOR_TYPE_RGB ? 3 : type == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 1; }

// A smooth picture with some texture, so that compression and filters have work to do.
std::vector<Bytes> MakeRows(const Kind& k) {
  const int bytes = k.bitDepth / 8;
  std::vector<Bytes> rows(kHeight, Bytes(std::size_t(kWidth) * Channels(k.colorType) * bytes));
  for (int y = 0; y < kHeight; ++y)
    for (int x = 0; x < kWidth; ++x) {
      const int v = int(127 + 60 * std::sin(x * 0.02) + 60 * std::cos(y * 0.03)) + ((x * y) & 7);
      std::uint8_t* p = rows[y].data() + std::size_t(x) * Channels(k.colorType) * bytes;
      for (int c = 0; c < Channels(k.colorType) * bytes; ++c)
        p[c] = std::uint8_t(v * (c + 1) + (c == 3 ? x : 0));
    }
  return rows;
}

void WriteData(png_structp png, png_bytep data, png_size_t length) {
  auto* out = static_cast<Bytes*>(png_get_io_ptr(png));
  out->insert(out->end(), data, data + length);
}
void Flush(png_structp) {}

// libpng writing the rows; level < 0 keeps its defaults.
Bytes LibpngWrite(const Kind& k, const std::vector<Bytes>& rows, int level) {
  Bytes out;
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_set_write_fn(png, &out, WriteData, Flush);
    png_set_IHDR(png, info, kWidth, kHeight, k.bitDepth, k.colorType, k.interlace,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    if (k.colorType == PNG_COLOR_TYPE_PALETTE) {
      png_color palette[256];
      for (int i = 0; i < 256; ++i) palette[i] = png_color{png_byte(i), png_byte(255 - i), png_byte(i * 7)};
      png_set_PLTE(png, info, palette, 256);
    }
    if (level >= 0) {
      png_set_compression_level(png, level);
      png_set_filter(png, 0, PNG_ALL_FILTERS);
    }
    png_write_info(png, info);
    std::vector<png_bytep> pointers;
    for (const Bytes& r : rows) pointers.push_back(const_cast<png_bytep>(r.data()));
    png_write_image(png, pointers.data());
    png_write_end(png, nullptr);
  }
  png_destroy_write_struct(&png, &info);
  return out;
}

struct Input {
  const Bytes* bytes;
  std::size_t position;
};
void ReadData(png_structp png, png_bytep data, png_size_t length) {
  auto* in = static_cast<Input*>(png_get_io_ptr(png));
  if (in->position + length > in->bytes->size()) png_error(png, "read past the end");
  std::memcpy(data, in->bytes->data() + in->position, length);
  in->position += length;
}

// libpng reading a file into BGR rows (grey and palette rows as they are), interlace handled.
bool LibpngRead(const Bytes& file, Bytes& pixels) {
  Input in{&file, 0};
  png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  bool ok = false;
  if (setjmp(png_jmpbuf(png)) == 0) {
    png_set_read_fn(png, &in, ReadData);
    png_read_info(png, info);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    const std::size_t rowBytes = png_get_rowbytes(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    pixels.resize(rowBytes * height);
    std::vector<png_bytep> rows;
    for (png_uint_32 y = 0; y < height; ++y) rows.push_back(pixels.data() + rowBytes * y);
    png_read_image(png, rows.data());
    png_read_end(png, nullptr);
    ok = true;
  }
  png_destroy_read_struct(&png, &info, nullptr);
  return ok;
}

const Bytes& File(int kind) {
  static std::vector<Bytes> files;
  if (files.empty()) {
    pictures::RegisterPng();
    for (const Kind& k : kKinds) files.push_back(LibpngWrite(k, MakeRows(k), -1));
  }
  return files[std::size_t(kind)];
}

const std::vector<Bytes>& Suite() {
  static std::vector<Bytes> files;
  if (files.empty()) {
    const std::string folder = std::string(MMS_SHARED_DIR) + "/testdata/png";
    if (DIR* dir = opendir(folder.c_str())) {
      while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() < 5 || name[0] == 'x' || name.substr(name.size() - 4) != ".png") continue;
        if (FILE* f = std::fopen((folder + "/" + name).c_str(), "rb")) {
          Bytes bytes;
          std::uint8_t buffer[4096];
          std::size_t n;
          while ((n = std::fread(buffer, 1, sizeof(buffer), f)) > 0)
            bytes.insert(bytes.end(), buffer, buffer + n);
          std::fclose(f);
          files.push_back(std::move(bytes));
        }
      }
      closedir(dir);
    }
  }
  return files;
}

void OursLoad(TPNGObject& png, const Bytes& file) {
  TMemoryStream stream;
  stream.WriteBuffer(file.data(), int(file.size()));
  stream.SetPosition(0);
  png.LoadFromStream(&stream);
}

std::int64_t PixelBytes(int kind) {
  const Kind& k = kKinds[kind];
  return std::int64_t(kWidth) * kHeight * Channels(k.colorType) * (k.bitDepth / 8);
}

void OursDecode(benchmark::State& state) {
  const Bytes& file = File(int(state.range(0)));
  TMemoryStream stream;
  stream.WriteBuffer(file.data(), int(file.size()));
  for (auto _ : state) {
    stream.SetPosition(0);
    TPNGObject png;
    png.LoadFromStream(&stream);
    benchmark::DoNotOptimize(png.GetScanline(0));
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(int(state.range(0))));
}

void LibpngDecode(benchmark::State& state) {
  const Bytes& file = File(int(state.range(0)));
  Bytes pixels;
  for (auto _ : state) {
    if (!LibpngRead(file, pixels)) state.SkipWithError("libpng refused the file");
    benchmark::DoNotOptimize(pixels.data());
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(int(state.range(0))));
}

void OursEncode(benchmark::State& state) {
  TPNGObject png;
  OursLoad(png, File(int(state.range(0))));
  png.CompressionLevel = 6;
  png.Filters = kAllFilters;
  for (auto _ : state) {
    TMemoryStream out;
    png.SaveToStream(&out);
    benchmark::DoNotOptimize(out.Memory());
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(int(state.range(0))));
}

void LibpngEncode(benchmark::State& state) {
  const Kind& k = kKinds[state.range(0)];
  const std::vector<Bytes> rows = MakeRows(k);
  File(0);
  for (auto _ : state) {
    Bytes out = LibpngWrite(k, rows, 6);
    benchmark::DoNotOptimize(out.data());
  }
  state.SetBytesProcessed(state.iterations() * PixelBytes(int(state.range(0))));
}

void OursDecodeSuite(benchmark::State& state) {
  File(0);
  for (auto _ : state)
    for (const Bytes& file : Suite()) {
      TPNGObject png;
      OursLoad(png, file);
    }
  state.SetItemsProcessed(state.iterations() * std::int64_t(Suite().size()));
}

void LibpngDecodeSuite(benchmark::State& state) {
  Bytes pixels;
  for (auto _ : state)
    for (const Bytes& file : Suite()) LibpngRead(file, pixels);
  state.SetItemsProcessed(state.iterations() * std::int64_t(Suite().size()));
}

}  // namespace

// 0: RGB, 1: RGBA, 2: 8-bit palette, 3: 16-bit grey, 4: interlaced RGB.
BENCHMARK(OursDecode)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(LibpngDecode)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(OursEncode)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(LibpngEncode)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(OursDecodeSuite)->Unit(benchmark::kMillisecond);
BENCHMARK(LibpngDecodeSuite)->Unit(benchmark::kMillisecond);
