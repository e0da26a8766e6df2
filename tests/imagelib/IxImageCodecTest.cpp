// Loading, decoding and encoding by format id: the dispatch's own messages, detection that leaves
// the stream where it was, and saving that never leaves a broken file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <iterator>
#include <string>

#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"
#include "support/TempDir.h"

namespace {

TEST(IxImageDispatch, EncodeRefusesUnknownIds) {
  IxImage img(4, 4, 24);
  IxMemFile out;
  ASSERT_TRUE(out.Open());
  for (const uint32_t id : {0u, 16u, 1000u}) {
    img.SetTransIndex(-1);
    EXPECT_FALSE(img.Encode(&out, id));
    EXPECT_STREQ(img.GetLastError(), "Encode: Unknown format") << id;
  }
  EXPECT_FALSE(img.Encode(&out, 10));
  EXPECT_STREQ(img.GetLastError(), "Save WMF not supported");
  EXPECT_EQ(out.Size(), 0);
}

TEST(IxImageDispatch, DecodeOfUnknownDataSaysSoAndLeavesTheStreamWhereItStarted) {
  uint8_t junk[200];
  for (size_t i = 0; i < sizeof(junk); ++i) junk[i] = static_cast<uint8_t>(i * 7 + 3);
  IxMemFile in(junk, sizeof(junk));
  ASSERT_TRUE(in.Seek(5, SEEK_SET));
  IxImage img;
  EXPECT_FALSE(img.Decode(&in, 0));
  EXPECT_STREQ(img.GetLastError(), "Decode: Unknown or wrong format");
  EXPECT_EQ(in.Tell(), 5);
  EXPECT_FALSE(img.Decode(&in, 16));
  EXPECT_STREQ(img.GetLastError(), "Decode: Unknown or wrong format");
}

TEST(IxImageDispatch, LoadOfAMissingFileKeepsTheLastError) {
  testsupport::TempDir dir;
  IxImage img(2, 2, 8);
  img.Create(0, 1, 8);  // leaves a known message
  const std::string before = img.GetLastError();
  EXPECT_FALSE(img.Load(dir.file("nothing.bmp").c_str(), 1));
  EXPECT_EQ(before, img.GetLastError());
  EXPECT_FALSE(img.Load(dir.file("nothing.bmp").c_str(), 0));
  EXPECT_EQ(before, img.GetLastError());
}

TEST(IxImageDispatch, SaveIntoAMissingFolderKeepsTheLastError) {
  testsupport::TempDir dir;
  IxImage img(2, 2, 24);
  img.Create(0, 1, 8);
  img.Create(2, 2, 24);
  const std::string before = img.GetLastError();
  EXPECT_FALSE(img.Save(dir.file("no/such/folder/out.bmp").c_str(), 1));
  EXPECT_EQ(before, img.GetLastError());
}

TEST(IxImageDispatch, AFailedSaveLeavesThePreviousFileAndNoTemporary) {
  testsupport::TempDir dir;
  const std::string target = dir.write("keep.gif", "previous contents");
  IxImage img(2, 2, 24);
  EXPECT_FALSE(img.Save(target.c_str(), 0));
  FILE* fp = fopen(target.c_str(), "rb");
  ASSERT_NE(fp, nullptr);
  char buf[64] = {};
  fread(buf, 1, sizeof(buf) - 1, fp);
  fclose(fp);
  EXPECT_STREQ(buf, "previous contents");
  const auto entries = std::distance(std::filesystem::directory_iterator(dir.path()),
                                     std::filesystem::directory_iterator());
  EXPECT_EQ(entries, 1);
}

TEST(IxImageDispatch, EncodeSafeCheckNamesWhatIsMissing) {
  IxImage empty;
  IxMemFile out;
  ASSERT_TRUE(out.Open());
  EXPECT_TRUE(empty.EncodeSafeCheck(&out));
  EXPECT_STREQ(empty.GetLastError(), "null image!!!");
  IxImage img(1, 1, 8);
  EXPECT_TRUE(img.EncodeSafeCheck(nullptr));
  EXPECT_STREQ(img.GetLastError(), "null file handler");
  EXPECT_FALSE(img.EncodeSafeCheck(&out));
}

}  // namespace
