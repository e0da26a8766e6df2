// Packed DIBs crossing to the desktop: each bit depth reads to the same pixels, and blocks that
// lie about their sizes are refused without reading past their end.
#include <gtest/gtest.h>

#include <cstring>

#include "platform/backend/gtk/PackedDib.h"

namespace {

using platform::desktop::DibPixels;
using platform::desktop::ReadPackedDib;
using platform::desktop::WritePackedDib;

std::vector<uint8_t> Header(int width, int height, int bits, uint32_t compression = 0, uint32_t used = 0) {
  std::vector<uint8_t> h(40, 0);
  auto put = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) h[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  put(0, 40);
  put(4, uint32_t(width));
  put(8, uint32_t(height));
  h[12] = 1;
  h[14] = uint8_t(bits);
  put(16, compression);
  put(32, used);
  return h;
}

void Append(std::vector<uint8_t>& v, std::initializer_list<uint8_t> bytes) { v.insert(v.end(), bytes); }

struct Case {
  const char* name;
  std::vector<uint8_t> block;
};

// A 2 x 2 picture: top row red, green; bottom row blue, white.
std::vector<Case> Cases() {
  std::vector<Case> cases;
  {
    auto b = Header(2, 2, 24);  // bottom-up, rows padded to 4 bytes
    Append(b, {0xFF, 0, 0, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0, 0xFF, 0, 0, 0});
    cases.push_back({"24-bit bottom-up", b});
  }
  {
    auto b = Header(2, -2, 32);  // top-down
    Append(b, {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0});
    cases.push_back({"32-bit top-down", b});
  }
  {
    auto b = Header(2, 2, 8, 0, 4);
    Append(b, {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0});  // red, green, blue, white
    Append(b, {2, 3, 0, 0, 0, 1, 0, 0});
    cases.push_back({"8-bit with a short colour table", b});
  }
  {
    auto b = Header(2, 2, 4, 0, 4);
    Append(b, {0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0xFF, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0});
    Append(b, {0x23, 0, 0, 0, 0x01, 0, 0, 0});
    cases.push_back({"4-bit", b});
  }
  {
    auto b = Header(2, 2, 16, 3);  // 5-6-5 bit fields after the header
    Append(b, {0, 0xF8, 0, 0, 0xE0, 0x07, 0, 0, 0x1F, 0, 0, 0});
    Append(b, {0x1F, 0x00, 0xFF, 0xFF, 0x00, 0xF8, 0xE0, 0x07});
    cases.push_back({"16-bit bit fields", b});
  }
  return cases;
}

TEST(PackedDib, EveryDepthReadsToTheSamePixels) {
  for (const Case& c : Cases()) {
    SCOPED_TRACE(c.name);
    DibPixels p;
    std::string error;
    ASSERT_TRUE(ReadPackedDib(c.block.data(), c.block.size(), p, &error)) << error;
    ASSERT_EQ(p.width, 2);
    ASSERT_EQ(p.height, 2);
    EXPECT_EQ(p.pixels, (std::vector<uint32_t>{0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}));
    // Written back as 32-bit and read again: the same.
    const std::vector<uint8_t> again = WritePackedDib(p);
    DibPixels q;
    ASSERT_TRUE(ReadPackedDib(again.data(), again.size(), q, &error)) << error;
    EXPECT_EQ(q.pixels, p.pixels);
  }
}

TEST(PackedDib, BlocksThatLieAboutTheirSizesAreRefused) {
  const std::vector<uint8_t> good = Cases()[0].block;
  struct Bad {
    const char* name;
    std::vector<uint8_t> block;
  };
  std::vector<Bad> bad;
  bad.push_back({"cut inside the header", std::vector<uint8_t>(good.begin(), good.begin() + 30)});
  bad.push_back({"cut inside the rows", std::vector<uint8_t>(good.begin(), good.end() - 1)});
  auto huge = good;
  huge[4] = 0xFF, huge[5] = 0xFF, huge[6] = 0xFF, huge[7] = 0x7F;
  bad.push_back({"a width far beyond the block", huge});
  auto header = good;
  header[0] = 0xFF, header[1] = 0xFF;
  bad.push_back({"a header size beyond the block", header});
  auto table = Header(2, 2, 8, 0, 300);
  bad.push_back({"a colour table of 300 entries", table});
  auto rle = Header(2, 2, 8, 1);
  bad.push_back({"run-length compression", rle});
  auto zero = Header(0, 2, 24);
  bad.push_back({"no columns", zero});
  for (const Bad& b : bad) {
    SCOPED_TRACE(b.name);
    DibPixels p;
    std::string error;
    // A copy of exactly the block's size, so reading past it is caught by the sanitizers.
    std::unique_ptr<uint8_t[]> exact(new uint8_t[b.block.size()]);
    std::memcpy(exact.get(), b.block.data(), b.block.size());
    EXPECT_FALSE(ReadPackedDib(exact.get(), b.block.size(), p, &error));
    EXPECT_FALSE(error.empty());
  }
}

}  // namespace
