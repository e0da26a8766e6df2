// The GIF code-stream coders against our decoder, and the decoder against damaged streams.
// (The coders' output against independent decoders is in GifOracleTest.cpp.)
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "imagelib/IxGifLzwDecoder.h"
#include "imagelib/IxGifLzwEncoder.h"
#include "imagelib/IxGifRleEncoder.h"
#include "imagelib/IxMemoryCursor.h"

namespace {

// Collects decoded lines into rows, up to a fixed number of rows.
class RowSink : public IxGifLineSink {
 public:
  explicit RowSink(int height) : height_(height) {}
  bool PutLine(const uint8_t* indices, int count) override {
    if (rows_ >= height_) return false;
    pixels.insert(pixels.end(), indices, indices + count);
    ++rows_;
    return true;
  }
  std::vector<uint8_t> pixels;

 private:
  int height_;
  int rows_ = 0;
};

enum class Coder { kLzw, kLiteral, kRle };

std::vector<uint8_t> Encode(Coder coder, const std::vector<uint8_t>& pixels, int minCodeSize) {
  std::vector<uint8_t> out{static_cast<uint8_t>(minCodeSize)};
  switch (coder) {
    case Coder::kLzw:
      IxGifLzwEncoder().Compress(pixels.data(), pixels.size(), minCodeSize + 1, out);
      break;
    case Coder::kLiteral:
      IxGifLzwEncoder().CompressLiteral(pixels.data(), pixels.size(), minCodeSize + 1, out);
      break;
    case Coder::kRle:
      IxGifRleEncoder().Compress(pixels.data(), pixels.size(), minCodeSize + 1, out);
      break;
  }
  out.push_back(0);
  return out;
}

struct Decoded {
  IxGifLzwDecoder::Status status;
  int badCodes;
  std::vector<uint8_t> pixels;
  size_t consumed;
};

Decoded Decode(const std::vector<uint8_t>& stream, int width, int height) {
  auto decoder = std::make_unique<IxGifLzwDecoder>();
  IxMemoryCursor cursor(stream.data(), stream.size());
  RowSink sink(height);
  Decoded d{};
  d.status = decoder->Decode(cursor, width, sink, d.badCodes);
  d.pixels = sink.pixels;
  d.consumed = cursor.Position();
  return d;
}

struct Picture {
  std::string name;
  int width, height, bpp;
  std::vector<uint8_t> pixels;
};

std::vector<Picture> Pictures() {
  std::vector<Picture> list;
  std::mt19937 rng(7);
  auto make = [&](std::string name, int w, int h, int bpp, auto fill) {
    Picture p{std::move(name), w, h, bpp, std::vector<uint8_t>(static_cast<size_t>(w) * h)};
    for (size_t i = 0; i < p.pixels.size(); ++i)
      p.pixels[i] = static_cast<uint8_t>(fill(i) & ((1 << bpp) - 1));
    list.push_back(std::move(p));
  };
  make("one pixel", 1, 1, 8, [](size_t) { return 200; });
  make("one pixel 1 bpp", 1, 1, 1, [](size_t) { return 1; });
  make("long runs 8 bpp", 300, 200, 8, [](size_t i) { return static_cast<int>(i / 9000); });
  make("one colour 8 bpp", 640, 480, 8, [](size_t) { return 3; });
  make("one colour 1 bpp", 333, 77, 1, [](size_t) { return 1; });
  make("runs of growing length 4 bpp", 251, 97, 4, [](size_t i) {
    size_t k = 1, run = 0;
    while (i >= run + k) run += k++;
    return static_cast<int>(k % 16);
  });
  make("noise 8 bpp (forces clears)", 256, 256, 8, [&](size_t) { return static_cast<int>(rng()); });
  make("noise 4 bpp", 120, 90, 4, [&](size_t) { return static_cast<int>(rng()); });
  make("noise 1 bpp", 203, 61, 1, [&](size_t) { return static_cast<int>(rng()); });
  make("gradient 8 bpp", 256, 64, 8, [](size_t i) { return static_cast<int>(i % 256); });
  make("short runs of two values", 500, 40, 8,
       [&](size_t i) { return static_cast<int>((i / (1 + rng() % 7)) % 2) * 255; });
  return list;
}

TEST(GifCoders, EveryCoderRoundTripsThroughTheDecoder) {
  for (const Picture& p : Pictures()) {
    const int minCodeSize = p.bpp < 2 ? 2 : p.bpp;
    std::vector<std::vector<uint8_t>> streams;
    for (Coder coder : {Coder::kLzw, Coder::kLiteral, Coder::kRle}) {
      SCOPED_TRACE(p.name + " coder " + std::to_string(static_cast<int>(coder)));
      std::vector<uint8_t> stream = Encode(coder, p.pixels, minCodeSize);
      Decoded d = Decode(stream, p.width, p.height);
      EXPECT_EQ(d.status, IxGifLzwDecoder::Status::kEndCode);
      EXPECT_EQ(d.badCodes, 0);
      EXPECT_EQ(d.consumed, stream.size()) << "the terminator closes the stream";
      ASSERT_EQ(d.pixels.size(), p.pixels.size());
      EXPECT_TRUE(d.pixels == p.pixels);
      streams.push_back(std::move(stream));
    }
    if (p.pixels.size() > 4) {
      EXPECT_NE(streams[0], streams[1]) << p.name;
      EXPECT_NE(streams[1], streams[2]) << p.name;
    }
  }
}

TEST(GifCoders, SubBlocksHoldAtMost254BytesForLzwAnd255ForRle) {
  std::vector<uint8_t> noise(20000);
  std::mt19937 rng(3);
  for (auto& b : noise) b = static_cast<uint8_t>(rng());
  for (auto [coder, limit] : {std::pair{Coder::kLzw, 254}, {Coder::kLiteral, 254}, {Coder::kRle, 255}}) {
    std::vector<uint8_t> s = Encode(coder, noise, 8);
    size_t pos = 1;
    int biggest = 0;
    while (pos < s.size() && s[pos] != 0) {
      biggest = std::max<int>(biggest, s[pos]);
      pos += 1 + s[pos];
    }
    EXPECT_EQ(pos, s.size() - 1);
    EXPECT_EQ(biggest, limit);
  }
}

TEST(GifCoders, RunLengthCoderIsSmallOnLongRunsLiteralIsLargest) {
  std::vector<uint8_t> flat(100000, 5);
  const size_t lzw = Encode(Coder::kLzw, flat, 8).size();
  const size_t lit = Encode(Coder::kLiteral, flat, 8).size();
  const size_t rle = Encode(Coder::kRle, flat, 8).size();
  EXPECT_LT(rle, lit / 20);
  EXPECT_LT(lzw, lit / 20);
}

// Builds a code stream from explicit codes at explicit widths.
std::vector<uint8_t> Codes(int minCodeSize, const std::vector<std::pair<int, int>>& codes) {
  std::vector<uint8_t> data;
  uint32_t acc = 0;
  int bits = 0;
  for (auto [code, width] : codes) {
    acc |= static_cast<uint32_t>(code) << bits;
    bits += width;
    while (bits >= 8) {
      data.push_back(acc & 0xFF);
      acc >>= 8;
      bits -= 8;
    }
  }
  if (bits) data.push_back(acc & 0xFF);
  std::vector<uint8_t> s{static_cast<uint8_t>(minCodeSize)};
  for (size_t i = 0; i < data.size(); i += 255) {
    size_t n = std::min<size_t>(255, data.size() - i);
    s.push_back(static_cast<uint8_t>(n));
    s.insert(s.end(), data.begin() + i, data.begin() + i + n);
  }
  s.push_back(0);
  return s;
}

TEST(GifLzwDecoder, HandlesTheStringNotYetInTheTable) {
  // clear, 1, 6 (= next free: "1 1"), 7 ("1 1 1"; the width grows after it), end
  Decoded d = Decode(Codes(2, {{4, 3}, {1, 3}, {6, 3}, {7, 3}, {5, 4}}), 6, 1);
  EXPECT_EQ(d.status, IxGifLzwDecoder::Status::kEndCode);
  EXPECT_EQ(d.badCodes, 0);
  EXPECT_EQ(d.pixels, (std::vector<uint8_t>{1, 1, 1, 1, 1, 1}));
}

TEST(GifLzwDecoder, MinimumCodeSizesUpTo11StartAtTheirOwnWidth) {
  // Sizes 10 and 11 start at 11- and 12-bit codes; 12 bits is the widest the format has.
  for (int size : {8, 10, 11}) {
    SCOPED_TRACE(size);
    const int clear = 1 << size;
    const int width = size + 1;
    // clear, 1, 3, the new string "1 3", end
    Decoded d = Decode(
        Codes(size, {{clear, width}, {1, width}, {3, width}, {clear + 2, width}, {clear + 1, width}}), 4, 1);
    EXPECT_EQ(d.status, IxGifLzwDecoder::Status::kEndCode);
    EXPECT_EQ(d.badCodes, 0);
    EXPECT_EQ(d.pixels, (std::vector<uint8_t>{1, 3, 1, 3}));
  }
}

TEST(GifLzwDecoder, DamagedStreamsEndWithoutHarm) {
  struct Case {
    std::string name;
    std::vector<uint8_t> stream;
    IxGifLzwDecoder::Status status;
    int minBadCodes;
  };
  std::vector<uint8_t> big(3000, 0xFF);
  std::vector<Case> cases = {
      {"code far past the next free slot", Codes(2, {{4, 3}, {1, 3}, {7, 3}, {5, 3}}),
       IxGifLzwDecoder::Status::kEndCode, 1},
      {"minimum code size 1", {1, 2, 0x44, 0x01, 0}, IxGifLzwDecoder::Status::kBadCodeSize, 0},
      {"minimum code size 12", {12, 2, 0x44, 0x01, 0}, IxGifLzwDecoder::Status::kBadCodeSize, 0},
      {"minimum code size 0", {0, 0}, IxGifLzwDecoder::Status::kBadCodeSize, 0},
      {"no data at all", {}, IxGifLzwDecoder::Status::kReadError, 0},
      {"cut inside a sub-block", {8, 200, 1, 2, 3}, IxGifLzwDecoder::Status::kReadError, 0},
      {"only a terminator", {8, 0}, IxGifLzwDecoder::Status::kEndOfBlocks, 0},
      {"first code is a table code", Codes(2, {{6, 3}, {5, 3}}), IxGifLzwDecoder::Status::kEndCode, 0},
  };
  // All-ones codes: every code past the table, the table filling up to 12-bit codes.
  std::vector<uint8_t> ones{8};
  for (int i = 0; i < 40; ++i) {
    ones.push_back(255);
    ones.insert(ones.end(), 255, 0xFF);
  }
  ones.push_back(0);
  cases.push_back({"all ones", ones, IxGifLzwDecoder::Status::kPictureFull, 1});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Decoded d = Decode(c.stream, 64, 64);
    EXPECT_EQ(d.status, c.status);
    EXPECT_GE(d.badCodes, c.minBadCodes);
    EXPECT_LE(d.pixels.size(), 64u * 64u);
    EXPECT_LE(d.consumed, c.stream.size());
  }
}

TEST(GifLzwDecoder, ExtraLinesStopTheDecodingAndTheCursorSkipsTheRestOfTheStream) {
  std::vector<uint8_t> pixels(100 * 10, 1);
  std::vector<uint8_t> stream = Encode(Coder::kLiteral, pixels, 2);
  stream.push_back(0x3B);
  Decoded d = Decode(stream, 100, 4);
  EXPECT_EQ(d.status, IxGifLzwDecoder::Status::kPictureFull);
  EXPECT_EQ(d.pixels.size(), 400u);
  EXPECT_EQ(d.consumed, stream.size() - 1);
}

TEST(GifLzwDecoder, APartialLastLineIsDelivered) {
  std::vector<uint8_t> pixels(25, 2);
  Decoded d = Decode(Encode(Coder::kLzw, pixels, 2), 10, 10);
  EXPECT_EQ(d.pixels.size(), 25u);
}

}  // namespace
