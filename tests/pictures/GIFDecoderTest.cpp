// The LZW decoder on crafted code streams: short and broken data keeps the frames after it,
// tables and stack are never overrun, and sizes are refused before anything is allocated.
#include <gtest/gtest.h>

#include "GifFixtures.h"
#include "pictures/GIFException.h"
#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFSubImage.h"

using namespace giftest;

namespace {

bool Has(const std::vector<std::string>& warnings, const std::string& text) {
  return std::find(warnings.begin(), warnings.end(), text) != warnings.end();
}

// A 4 x 2 frame of code size 2 with the given data (code-size byte not included).
Bytes FrameWithData(const Bytes& dataBlocks) { return ImageBlock(0, 0, 4, 2, 2, dataBlocks); }

const Bytes kPixels = {1, 2, 3, 0, 0, 3, 2, 1};

// Raises the size limits for one test and puts them back.
struct Limits {
  Limits(std::int64_t image, std::int64_t total) {
    GIFMaximumImagePixels = image;
    GIFMaximumTotalPixels = total;
  }
  ~Limits() {
    GIFMaximumImagePixels = std::int64_t(1) << 26;
    GIFMaximumTotalPixels = std::int64_t(1) << 28;
  }
};

}  // namespace

TEST(GIFDecoder, BrokenDataInTheFirstFrameKeepsTheFramesAfterIt) {
  Bytes extraAfterLastPixel = LiteralCodes(kPixels, 2, false);
  extraAfterLastPixel.push_back(0xFF);  // bits after the last pixel, then a whole extra sub-block below
  Bytes extra = SubBlocks(extraAfterLastPixel);
  extra.insert(extra.end() - 1, {3, 0xAA, 0xBB, 0xCC});

  Bytes early = SubBlocks(LiteralCodes({1, 2, 3}, 2));
  early.insert(early.end() - 1, {2, 0x11, 0x22});

  struct Case {
    const char* name;
    Bytes data;
    Bytes firstPixels;
  };
  const Case cases[] = {
      {"sub-blocks after the last pixel", extra, kPixels},
      {"an end code before the last pixel, then more sub-blocks", early, {1, 2, 3, 0, 0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes gif = Header(4, 2);
    Append(gif, FrameWithData(c.data));
    Append(gif, PlainFrame(4, 2, kPixels));
    Append(gif, PlainFrame(4, 2, kPixels));
    gif.push_back(0x3B);
    TGIFImage image;
    auto warnings = Load(image, gif);
    EXPECT_FALSE(Has(warnings, "Unknown GIF block type"));
    EXPECT_FALSE(Has(warnings, "Invalid Image trailer"));
    ASSERT_EQ(image.Images()->Count(), 3);
    EXPECT_EQ(image.Images()->GetImage(0)->Pixels(), c.firstPixels);
    EXPECT_EQ(image.Images()->GetImage(1)->Pixels(), kPixels);
    EXPECT_EQ(image.Images()->GetImage(2)->Pixels(), kPixels);
  }
}

TEST(GIFDecoder, ShortDataKeepsTheFill) {
  CodeWriter clearEnd;
  clearEnd.Put(4, 3);
  clearEnd.Put(5, 3);
  CodeWriter clearHigh;
  clearHigh.Put(4, 3);
  clearHigh.Put(7, 3);
  struct Case {
    const char* name;
    Bytes data;
    bool transparent;
    Bytes pixels;
    const char* warning;
  };
  const Case cases[] = {
      {"only the terminator", {0}, false, Bytes(8, 0), "Decoder bit buffer under-run"},
      {"only the terminator, transparent", {0}, true, Bytes(8, 2), "Decoder bit buffer under-run"},
      {"clear, then end", SubBlocks(clearEnd.bytes()), false, Bytes(8, 0), nullptr},
      {"clear, then a code above the end code", SubBlocks(clearHigh.bytes()), false, Bytes(8, 0),
       "Invalid GIF data"},
      {"cut short, transparent",
       SubBlocks(LiteralCodes({1, 2, 3, 0}, 2, false)),
       true,
       {1, 2, 3, 0, 2, 2, 2, 2},
       "Decoder bit buffer under-run"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes gif = Header(4, 2);
    if (c.transparent) Append(gif, ControlBlock(0x01, 0, 2));
    Append(gif, FrameWithData(c.data));
    Append(gif, PlainFrame(4, 2, kPixels));
    gif.push_back(0x3B);
    TGIFImage image;
    auto warnings = Load(image, gif);
    ASSERT_EQ(image.Images()->Count(), 2);
    EXPECT_EQ(image.Images()->GetImage(0)->Pixels(), c.pixels);
    EXPECT_EQ(image.Images()->GetImage(1)->Pixels(), kPixels);
    if (c.warning) {
      EXPECT_TRUE(Has(warnings, c.warning));
    }
    EXPECT_FALSE(Has(warnings, "Unknown GIF block type"));
  }
}

TEST(GIFDecoder, AFullTableKeepsDecodingAtTwelveBits) {
  // Only literal codes, no clear: every code after the first adds an entry until the table is
  // full, and the width follows the decoder's own growth.
  Bytes pixels;
  for (int i = 0; i < 5000; ++i) pixels.push_back(std::uint8_t((i * 7 + i / 3) & 3));
  int width = 0;
  Bytes codes = LiteralCodes(pixels, 2, true, &width);
  EXPECT_EQ(width, 12);
  Bytes gif = Header(100, 50);
  Append(gif, ImageBlock(0, 0, 100, 50, 2, SubBlocks(codes)));
  gif.push_back(0x3B);
  TGIFImage image;
  auto warnings = Load(image, gif);
  EXPECT_TRUE(warnings.empty());
  EXPECT_EQ(image.Images()->GetImage(0)->Pixels(), pixels);
}

TEST(GIFDecoder, InterlacedFramesFillEveryRowOnce) {
  for (int height : {1, 2, 3, 5, 8, 9, 17}) {
    SCOPED_TRACE("height " + std::to_string(height));
    Bytes stream;
    for (int pass : {0, 1, 2, 3}) {
      const int start[] = {0, 4, 2, 1}, step[] = {8, 8, 4, 2};
      for (int y = start[pass]; y < height; y += step[pass]) stream.insert(stream.end(), 3, std::uint8_t(y));
    }
    Bytes gif = Header(3, height, 32);
    Append(gif, ImageBlock(0, 0, 3, height, 5, SubBlocks(PlainCodes(stream, 5)), 0x40));
    gif.push_back(0x3B);
    TGIFImage image;
    Load(image, gif);
    Bytes expected;
    for (int y = 0; y < height; ++y) expected.insert(expected.end(), 3, std::uint8_t(y));
    EXPECT_EQ(image.Images()->GetImage(0)->Pixels(), expected);
  }
}

TEST(GIFDecoder, UndecodableDataIsRefused) {
  CodeWriter self;
  for (auto [code, width] : {std::pair{4, 3}, {0, 3}, {7, 3}, {7, 3}, {7, 4}}) self.Put(code, width);
  CodeWriter loop;
  for (int code : {8, 0, 12, 11, 1, 11}) loop.Put(code, 4);
  struct Case {
    const char* name;
    int codeSize;
    Bytes data;
    const char* message;
  };
  const Case cases[] = {
      {"code size 12", 12, SubBlocks({0, 0, 0}), "Invalid GIF data"},
      {"a self-reference", 2, SubBlocks(self.bytes()), "Circular decoder table entry"},
      {"a loop through two entries", 3, SubBlocks(loop.bytes()), "Circular decoder table entry"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Bytes gif = Header(4, 4, 8);
    Append(gif, ImageBlock(0, 0, 4, 4, c.codeSize, c.data));
    gif.push_back(0x3B);
    TGIFImage image;
    try {
      Load(image, gif);
      ADD_FAILURE() << "loaded";
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
  }
}

TEST(GIFDecoder, SizesAboveTheLimitsAreRefused) {
  Limits limits(100, 150);
  Bytes bigScreen = Header(11, 10);
  Append(bigScreen, PlainFrame(1, 1, {0}));
  bigScreen.push_back(0x3B);
  Bytes bigFrame = Header(10, 10);
  Append(bigFrame, ImageBlock(0, 0, 101, 1, 2, SubBlocks(PlainCodes({0}, 2))));
  bigFrame.push_back(0x3B);
  Bytes manyFrames = Header(10, 10);
  Append(manyFrames, PlainFrame(10, 10, Bytes(100, 1)));
  Append(manyFrames, PlainFrame(10, 10, Bytes(100, 1)));
  manyFrames.push_back(0x3B);
  Bytes grownScreen = Header(0, 0);
  Append(grownScreen, ImageBlock(60, 60, 1, 1, 2, SubBlocks(PlainCodes({0}, 2))));
  grownScreen.push_back(0x3B);
  for (const Bytes* gif : {&bigScreen, &bigFrame, &manyFrames, &grownScreen}) {
    TGIFImage image;
    try {
      Load(image, *gif);
      ADD_FAILURE() << "loaded";
    } catch (const GIFException& e) {
      EXPECT_STREQ(e.what(), "Invalid image dimensions");
    }
  }
  TGIFImage fits;
  Bytes oneFrame(manyFrames.begin(),
                 manyFrames.end() - std::ptrdiff_t(PlainFrame(10, 10, Bytes(100, 1)).size()) - 1);
  oneFrame.push_back(0x3B);
  Load(fits, oneFrame);
  EXPECT_EQ(fits.Images()->Count(), 1);
}
