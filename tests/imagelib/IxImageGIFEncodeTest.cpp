// Encoding GIF files: the header, table and control block written, the tile mosaic of 24-bit
// pictures, and the three code-stream coders, whose files must decode to the same pixels in our
// decoder and in Pillow, giflib and ImageMagick.
#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>
#include <vector>

#include "GifTestSupport.h"
#include "imagelib/IxFile.h"
#include "imagelib/IxImage.h"
#include "imagelib/IxImageGIF.h"
#include "imagelib/IxMemFile.h"
#include "support/TempDir.h"

namespace {

// A stream whose every write fails, as a full disk does.
class FailingFile : public IxFile {
 public:
  bool Close() override { return true; }
  size_t Read(void*, size_t, size_t) override { return 0; }
  size_t Write(const void*, size_t, size_t) override {
    failed_ = true;
    return 0;
  }
  bool Seek(int64_t, int) override { return true; }
  int64_t Tell() override { return 0; }
  int64_t Size() override { return 0; }
  bool Flush() override { return !failed_; }
  bool Eof() override { return true; }
  long Error() override { return failed_ ? 1 : 0; }
  long GetC() override { return -1; }

 private:
  bool failed_ = false;
};

// An indexed picture whose decoder used fewer colours than its depth holds.
class FewColours : public IxImage {
 public:
  FewColours(int w, int h, int bpp, uint32_t used) : IxImage(w, h, bpp) { head.biClrUsed = used; }
};

void FillPalette(IxImage& image) {
  const int n = 1 << image.GetBpp();
  for (int k = 0; k < n; ++k)
    image.SetPaletteColor(static_cast<uint8_t>(k), static_cast<uint8_t>(k * 37 + 1),
                          static_cast<uint8_t>(k * 91 + 2), static_cast<uint8_t>(255 - k));
}

struct Picture {
  std::string name;
  int width, height, bpp;
  std::vector<uint8_t> indices;  // top-down; 24-bit pictures use them as grey-ish colours
};

std::vector<Picture> Pictures() {
  std::mt19937 rng(5);
  std::vector<Picture> list;
  auto add = [&](std::string name, int w, int h, int bpp, auto value) {
    Picture p{std::move(name), w, h, bpp, {}};
    for (int i = 0; i < w * h; ++i)
      p.indices.push_back(static_cast<uint8_t>(value(i) & ((1 << (bpp > 8 ? 8 : bpp)) - 1)));
    list.push_back(std::move(p));
  };
  add("1x1", 1, 1, 8, [](int) { return 77; });
  add("1x1 at 1 bpp", 1, 1, 1, [](int) { return 1; });
  add("long runs at 8 bpp", 320, 120, 8, [](int i) { return i / 5000; });
  add("long runs at 1 bpp", 300, 100, 1, [](int i) { return (i / 7000) & 1; });
  add("runs of every length at 4 bpp", 211, 89, 4, [](int i) {
    int k = 1, run = 0;
    while (i >= run + k) run += k++;
    return k;
  });
  add("more than 4096 strings at 8 bpp", 200, 200, 8, [&](int) { return static_cast<int>(rng()); });
  add("noise at 4 bpp", 97, 61, 4, [&](int) { return static_cast<int>(rng()); });
  add("noise at 1 bpp", 131, 33, 1, [&](int) { return static_cast<int>(rng()); });
  add("short mixed runs at 8 bpp", 400, 50, 8,
      [&](int i) { return (i / (1 + static_cast<int>(rng() % 30))) % 5 * 40; });
  add("24-bit 34x30", 34, 30, 24, [](int i) { return i * 7; });
  add("24-bit 20x10", 20, 10, 24, [](int i) { return i; });
  add("24-bit 61x44", 61, 44, 24, [&](int) { return static_cast<int>(rng()); });
  return list;
}

void Paint(IxImage& image, const Picture& p) {
  ASSERT_NE(image.Create(p.width, p.height, p.bpp, 0), nullptr);
  if (p.bpp <= 8) FillPalette(image);
  for (int row = 0; row < p.height; ++row)
    for (int x = 0; x < p.width; ++x) {
      const uint8_t v = p.indices[static_cast<size_t>(row) * p.width + x];
      const int y = p.height - 1 - row;
      if (p.bpp <= 8)
        image.SetPixelIndex(x, y, v);
      else
        image.SetPixelColor(x, y,
                            IxRGBQuad{v, static_cast<uint8_t>(v * 3), static_cast<uint8_t>(255 - v), 0});
    }
}

TEST(GifEncode, HeaderAnnouncesTheTableItWrites) {
  struct Case {
    int bpp;
    uint32_t used;
    uint8_t flags;
    size_t tableBytes;
    uint8_t minCodeSize;
  } cases[] = {{8, 256, 0xF7, 768, 8}, {4, 16, 0xB3, 48, 4}, {1, 2, 0x80, 6, 2}, {8, 40, 0xF7, 768, 8}};
  for (const Case& c : cases) {
    SCOPED_TRACE("bpp " + std::to_string(c.bpp) + " colours " + std::to_string(c.used));
    FewColours image(5, 3, c.bpp, c.used);
    FillPalette(image);
    bool ok = false;
    const std::vector<uint8_t> gif = giftest::EncodeGif(image, &ok);
    ASSERT_TRUE(ok) << image.GetLastError();
    EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
    EXPECT_EQ(gif[10], c.flags);
    const size_t afterTable = 13 + c.tableBytes;
    ASSERT_GT(gif.size(), afterTable + 19);
    EXPECT_EQ(gif[afterTable], 0x21) << "the control block follows the whole table";
    EXPECT_EQ(gif[afterTable + 8], 0x2C);
    EXPECT_EQ(gif[afterTable + 17], 0) << "no local table, not interlaced";
    EXPECT_EQ(gif[afterTable + 18], c.minCodeSize);
    // Entries past the colours in use are written as black.
    if (c.used < (1u << c.bpp)) {
      EXPECT_EQ(gif[13 + c.used * 3 - 1], 255 - (c.used - 1));
      for (size_t k = c.used * 3; k < c.tableBytes; ++k) ASSERT_EQ(gif[13 + k], 0) << k;
    }
    IxImage back;
    ASSERT_TRUE(giftest::DecodeGif(gif, back));
    EXPECT_EQ(back.GetBpp(), c.bpp);
  }
}

TEST(GifEncode, ControlBlockCarriesTheTransparentIndexOrNone) {
  for (int trans : {-1, 0, 5, 200}) {
    IxImage image(4, 4, 8);
    FillPalette(image);
    image.SetTransIndex(trans);
    image.SetFrameDelay(300);
    const std::vector<uint8_t> gif = giftest::EncodeGif(image);
    const size_t gce = 13 + 768;
    ASSERT_EQ(gif[gce + 1], 0xF9);
    EXPECT_EQ(gif[gce + 3] & 1, trans >= 0 ? 1 : 0) << trans;
    EXPECT_EQ(gif[gce + 4] | (gif[gce + 5] << 8), 300);
    EXPECT_EQ(gif[gce + 6], trans >= 0 ? trans : 0xFF) << trans;
    IxImage back;
    ASSERT_TRUE(giftest::DecodeGif(gif, back));
    EXPECT_EQ(back.GetTransIndex(), trans);
  }
}

// Offsets of each image descriptor in a file of our own (tables skipped by their flags).
std::vector<size_t> Descriptors(const std::vector<uint8_t>& gif) {
  std::vector<size_t> out;
  size_t pos = 13 + ((gif[10] & 0x80) ? 3 * (2u << (gif[10] & 7)) : 0);
  while (pos < gif.size() && gif[pos] != 0x3B) {
    if (gif[pos] == 0x21) {
      pos += 2;
    } else {
      out.push_back(pos);
      const uint8_t flags = gif[pos + 9];
      pos += 10 + ((flags & 0x80) ? 3 * (2u << (flags & 7)) : 0) + 1;
    }
    while (gif[pos] != 0) pos += 1 + gif[pos];
    ++pos;
  }
  return out;
}

TEST(GifEncode, TrueColourPicturesBecomeTilesOfSeventeenByFifteen) {
  struct Case {
    int width, height;
    std::vector<std::array<int, 4>> tiles;  // left, top, width, height
  } cases[] = {
      {34, 30, {{0, 0, 17, 15}, {17, 0, 17, 15}, {0, 15, 17, 15}, {17, 15, 17, 15}}},
      {20, 20, {{0, 0, 17, 15}, {17, 0, 3, 15}, {0, 15, 17, 5}, {17, 15, 3, 5}}},
      {20, 10, {{0, 0, 17, 10}, {17, 0, 3, 10}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + "x" + std::to_string(c.height));
    IxImage image(c.width, c.height, 24);
    for (int y = 0; y < c.height; ++y)
      for (int x = 0; x < c.width; ++x)
        image.SetPixelColor(x, y, IxRGBQuad{static_cast<uint8_t>(x * 5), static_cast<uint8_t>(y * 7), 99, 0});
    const std::vector<uint8_t> gif = giftest::EncodeGif(image);
    EXPECT_EQ(gif[10], 0x11);
    const std::vector<size_t> d = Descriptors(gif);
    ASSERT_EQ(d.size(), c.tiles.size());
    for (size_t t = 0; t < d.size(); ++t) {
      const uint8_t* p = &gif[d[t]];
      EXPECT_EQ((std::array<int, 4>{p[1] | p[2] << 8, p[3] | p[4] << 8, p[5] | p[6] << 8, p[7] | p[8] << 8}),
                c.tiles[t]);
      EXPECT_EQ(p[9], 0x87);
      EXPECT_EQ(p[10 + 768], 8) << "minimum code size after a 256-entry local table";
    }
    IxImage back;
    ASSERT_TRUE(giftest::DecodeGif(gif, back));
    EXPECT_EQ(back.GetBpp(), 24);
    EXPECT_EQ(giftest::RgbTopDown(back), giftest::RgbTopDown(image));
  }
}

TEST(GifEncode, TransparentTrueColourKeepsItsTransparentColour) {
  IxImage image(30, 20, 24);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) image.SetPixelColor(x, y, IxRGBQuad{static_cast<uint8_t>(x), 10, 20, 0});
  image.SetTransIndex(0);
  image.SetTransColor(IxRGBQuad{3, 10, 20, 0});
  IxImage back;
  ASSERT_TRUE(giftest::DecodeGif(giftest::EncodeGif(image), back));
  EXPECT_TRUE(back.IsTransparent());
  const IxRGBQuad t = back.GetTransColor();
  EXPECT_EQ(t.rgbBlue, 3);
  EXPECT_EQ(t.rgbGreen, 10);
  EXPECT_EQ(giftest::RgbTopDown(back), giftest::RgbTopDown(image));
}

TEST(GifEncode, EveryCoderDecodesToTheSamePixelsInEveryDecoder) {
  testsupport::TempDir dir;
  struct Written {
    std::string path, what;
    const Picture* picture;
    std::vector<uint8_t> expected;
  };
  std::vector<Written> written;
  const std::vector<Picture> pictures = Pictures();
  for (const Picture& p : pictures) {
    IxImage image;
    Paint(image, p);
    const std::vector<uint8_t> expected = giftest::RgbTopDown(image);
    std::vector<std::vector<uint8_t>> files;
    for (uint32_t option : {0u, 1u, 2u}) {
      SCOPED_TRACE(p.name + ", option " + std::to_string(option));
      image.SetCodecOption(option, IXIMAGE_FORMAT_GIF);
      bool ok = false;
      const std::vector<uint8_t> gif = giftest::EncodeGif(image, &ok);
      ASSERT_TRUE(ok) << image.GetLastError();
      files.push_back(gif);

      IxImage back;
      ASSERT_TRUE(giftest::DecodeGif(gif, back));
      if (p.bpp <= 8) {
        EXPECT_EQ(back.GetBpp(), p.bpp);
        EXPECT_EQ(giftest::IndicesTopDown(back), p.indices);
      }
      EXPECT_EQ(giftest::RgbTopDown(back), expected);

      const std::string path =
          dir.write("p" + std::to_string(written.size()) + "-" + std::to_string(option) + ".gif",
                    std::string(gif.begin(), gif.end()));
      written.push_back({path, p.name + ", option " + std::to_string(option), &p, expected});
      const giftest::OracleImage magick = giftest::MagickScreenRgb(path, p.width, p.height);
      ASSERT_TRUE(magick.ok) << magick.error;
      EXPECT_TRUE(magick.rgb == expected) << "ImageMagick sees other pixels";
      // gif2rgb paints the whole screen with the last image's colour table, so it can judge
      // only single-image files, not the mosaic of tiles with their own tables.
      if (p.bpp <= 8) {
        const giftest::OracleImage giflib = giftest::GiflibScreenRgb(path, p.width, p.height);
        ASSERT_TRUE(giflib.ok) << giflib.error;
        EXPECT_TRUE(giflib.rgb == expected) << "giflib sees other pixels";
      }
    }
    // 24-bit tiles are always LZW-coded; indexed pictures give three different files.
    if (p.bpp <= 8 && p.indices.size() > 1) {
      EXPECT_NE(files[0], files[1]) << p.name;
      EXPECT_NE(files[1], files[2]) << p.name;
      EXPECT_NE(files[0], files[2]) << p.name;
    }
  }
  std::vector<std::string> paths;
  for (const Written& w : written) paths.push_back(w.path);
  const std::vector<giftest::OracleImage> pillow = giftest::PillowScreenRgb(paths);
  for (size_t k = 0; k < written.size(); ++k) {
    ASSERT_TRUE(pillow[k].ok) << pillow[k].error;
    EXPECT_EQ(pillow[k].width, written[k].picture->width);
    EXPECT_TRUE(pillow[k].rgb == written[k].expected) << "Pillow sees other pixels: " << written[k].what;
  }
}

TEST(GifEncode, AWriteErrorIsAFailureWithItsMessage) {
  for (int bpp : {8, 24}) {
    IxImage image(40, 40, bpp);
    FailingFile out;
    EXPECT_FALSE(image.Encode(&out, IXIMAGE_FORMAT_GIF));
    EXPECT_STREQ(image.GetLastError(), "Write Error in GIF file");
  }
  IxImage empty;
  FailingFile out;
  EXPECT_FALSE(empty.Encode(&out, IXIMAGE_FORMAT_GIF));
  EXPECT_STREQ(empty.GetLastError(), "null image!!!");
}

TEST(GifEncode, PicturesWiderOrHigherThanGifAllowsAreRefused) {
  for (auto [w, h, bpp] : {std::array{65536, 1, 8}, {1, 65536, 1}, {65536, 2, 24}}) {
    IxImage image(w, h, bpp);
    IxMemFile out;
    ASSERT_TRUE(out.Open());
    EXPECT_FALSE(image.Encode(&out, IXIMAGE_FORMAT_GIF));
    EXPECT_STREQ(image.GetLastError(), "Picture too large for GIF");
    EXPECT_EQ(out.Size(), 0);
  }
}

TEST(GifEncode, SavedFileLoadsBackWithItsPixels) {
  testsupport::TempDir dir;
  IxImage image(64, 48, 8);
  FillPalette(image);
  for (int y = 0; y < 48; ++y)
    for (int x = 0; x < 64; ++x) image.SetPixelIndex(x, y, static_cast<uint8_t>((x / 8) * 8 + y / 6));
  const std::string path = dir.file("saved.gif");
  ASSERT_TRUE(image.Save(path.c_str(), IXIMAGE_FORMAT_GIF)) << image.GetLastError();
  IxImage back(path.c_str(), IXIMAGE_FORMAT_GIF);
  ASSERT_TRUE(back.IsValid()) << back.GetLastError();
  EXPECT_EQ(giftest::IndicesTopDown(back), giftest::IndicesTopDown(image));
  EXPECT_EQ(giftest::RgbTopDown(back), giftest::RgbTopDown(image));
}

TEST(GifEncode, CommentIsWrittenAndReadBack) {
  IxImageGIF image;
  ASSERT_NE(image.Create(3, 3, 1), nullptr);
  image.SetComment("made here");
  IxMemFile out;
  ASSERT_TRUE(out.Open());
  ASSERT_TRUE(image.Encode(&out));
  ASSERT_TRUE(out.Seek(0, SEEK_SET));
  IxImageGIF back;
  ASSERT_TRUE(back.Decode(&out));
  EXPECT_STREQ(back.GetComment(), "made here");
}

}  // namespace
