// The editor's clipboard blocks: every field comes back as written, and anything that is not a
// whole block of this run (cut short, lengths past its end, another version or run, bytes left
// over, noise) is refused without reading outside the block.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "editor/clipblock/ClipBlock.h"

namespace {

using clipblock::Block;
using clipblock::Item;
using clipblock::Kind;
using clipblock::Page;

const clipblock::Token kToken = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};

Item Visual(const std::string& path, uint8_t type) {
  Item item;
  item.path = path;
  item.extra = "extra \xE1\xBB\x87";
  item.begin = -5;
  item.end = 2147483647;
  item.dur = -2147483647 - 1;
  item.region = type == 1 ? "Img" : "Text";
  item.type = type;
  return item;
}

Item Sound(const std::string& path) {
  Item item;
  item.path = path;
  item.begin = 100;
  item.end = 3100;
  item.dur = 3000;
  return item;
}

Item TextItem(const std::u16string& text) {
  Item item = Visual("/tmp/TXT/\xE1\x9E\x80\xE1\x9E\x81.txt", 0);  // Khmer letters in the path
  item.hasText = true;
  item.text = text;
  return item;
}

struct Sample {
  const char* name;
  Kind kind;
  Item item;
  Page page;
};

std::vector<Sample> Samples() {
  std::vector<Sample> samples;
  samples.push_back({"picture", Kind::Picture, Visual("/app/tmp/Image/\xE1\x9E\x80.jpg", 1), {}});
  samples.push_back({"picture-empty-fields", Kind::Picture, Item{}, {}});
  samples.push_back({"text", Kind::Text, TextItem(u"Xin ch\u00E0o \u1780\u17D2\u179A \U0001F600"), {}});
  Item noText = Visual("/app/tmp/TXT/gone.txt", 0);
  samples.push_back({"text-without-its-text", Kind::Text, noText, {}});
  samples.push_back({"sound", Kind::Sound, Sound("/app/tmp/Audio/s.wav"), {}});
  Page full;
  full.dur = 60000;
  full.filled.fill(true);
  full.items = {Sound("/a.mid"), TextItem(u"a\r\nb"), Visual("/p.gif", 1), Visual("/v", 3), Visual("/r", 4)};
  full.items[clipblock::kSoundSlot].region.clear();
  samples.push_back({"page-full", Kind::Page, {}, full});
  for (int slot = 0; slot < clipblock::kSlotCount; ++slot) {
    Page one;
    one.dur = 1000 + slot;
    one.filled[slot] = true;
    one.items[slot] = full.items[slot];
    samples.push_back({"page-one-slot", Kind::Page, {}, one});
  }
  samples.push_back({"page-empty", Kind::Page, {}, Page{}});
  return samples;
}

std::vector<uint8_t> Write(const Sample& s, const clipblock::Token& token = kToken) {
  return s.kind == Kind::Page ? clipblock::WritePage(s.page, token)
                              : clipblock::WriteItem(s.kind, s.item, token);
}

bool ReadAs(const std::vector<uint8_t>& bytes, Kind kind, const clipblock::Token& token = kToken) {
  Block block;
  return clipblock::Read(bytes.data(), bytes.size(), kind, token, &block);
}

TEST(ClipBlock, EveryFieldComesBack) {
  int n = 0;
  const char* dump = std::getenv("CLIPBLOCK_CORPUS_OUT");  // seeds the fuzzer's corpus
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.name);
    const std::vector<uint8_t> bytes = Write(s);
    if (dump)
      std::ofstream(std::string(dump) + "/" + std::to_string(n++) + "-" + s.name, std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    Block block;
    ASSERT_TRUE(clipblock::Read(bytes.data(), bytes.size(), s.kind, kToken, &block));
    EXPECT_EQ(block.kind, s.kind);
    if (s.kind == Kind::Page) {
      EXPECT_EQ(block.page, s.page);
    } else {
      Item expected = s.item;
      if (s.kind == Kind::Sound) expected.region.clear(), expected.type = 0;
      if (s.kind != Kind::Text) expected.hasText = false, expected.text.clear();
      EXPECT_EQ(block.item, expected);
    }
  }
}

TEST(ClipBlock, AnythingButAWholeBlockOfThisRunIsRefused) {
  std::mt19937 random(7);
  for (const Sample& s : Samples()) {
    SCOPED_TRACE(s.name);
    const std::vector<uint8_t> good = Write(s);
    // Every truncation, and one byte too many.
    for (size_t n = 0; n < good.size(); ++n) {
      std::vector<uint8_t> cut(good.begin(), good.begin() + long(n));
      EXPECT_FALSE(ReadAs(cut, s.kind)) << n;
    }
    std::vector<uint8_t> longer = good;
    longer.push_back(0);
    EXPECT_FALSE(ReadAs(longer, s.kind));
    // Another kind, another run's token, another version.
    for (Kind other : {Kind::Picture, Kind::Text, Kind::Sound, Kind::Page}) {
      if (other != s.kind) {
        EXPECT_FALSE(ReadAs(good, other));
      }
    }
    clipblock::Token otherRun = kToken;
    otherRun[15] ^= 1;
    EXPECT_FALSE(ReadAs(good, s.kind, otherRun));
    for (uint8_t version : {0, 2, 255}) {
      std::vector<uint8_t> v = good;
      v[4] = version;
      EXPECT_FALSE(ReadAs(v, s.kind));
    }
    // Each 32-bit field after the head set to huge lengths: never read past the block.
    for (size_t at = 24; at + 4 <= good.size(); ++at) {
      for (uint32_t huge : {0xFFFFFFFFu, 0x80000000u, uint32_t(good.size())}) {
        std::vector<uint8_t> bad = good;
        for (int i = 0; i < 4; ++i) bad[at + size_t(i)] = uint8_t(huge >> (8 * i));
        Block block;
        (void)clipblock::Read(bad.data(), bad.size(), s.kind, kToken, &block);
      }
    }
    // Random bytes after a valid head.
    for (int round = 0; round < 50; ++round) {
      std::vector<uint8_t> noise(good.begin(), good.begin() + 24);
      noise.resize(24 + random() % 200);
      for (size_t i = 24; i < noise.size(); ++i) noise[i] = uint8_t(random());
      Block block;
      (void)clipblock::Read(noise.data(), noise.size(), s.kind, kToken, &block);
    }
  }
  // Pure noise and nothing at all.
  std::vector<uint8_t> noise(300);
  for (uint8_t& b : noise) b = uint8_t(random());
  EXPECT_FALSE(ReadAs(noise, Kind::Page));
  Block block;
  EXPECT_FALSE(clipblock::Read(nullptr, 0, Kind::Text, kToken, &block));
}

TEST(ClipBlock, AFlagByteOtherThanZeroOrOneIsRefused) {
  Page page;
  page.dur = 1;
  std::vector<uint8_t> bytes = clipblock::WritePage(page, kToken);
  ASSERT_TRUE(ReadAs(bytes, Kind::Page));
  bytes[28] = 2;  // the sound slot's flag
  EXPECT_FALSE(ReadAs(bytes, Kind::Page));
}

TEST(ClipBlock, TheRunTokenStaysForTheRun) {
  EXPECT_EQ(clipblock::RunToken(), clipblock::RunToken());
  EXPECT_NE(clipblock::RunToken(), clipblock::Token{});
}

}  // namespace
