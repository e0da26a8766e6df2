// Loading, decoding and encoding by format id: the dispatch's own messages, detection that leaves
// the stream where it was, and saving that never leaves a broken file.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <iterator>
#include <string>
#include <vector>

#include "BridgeTestSupport.h"
#include "imagelib/IxImage.h"
#include "imagelib/IxMemFile.h"
#include "support/SharedData.h"
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
  const auto entries =
      std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator());
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

TEST(IxImageDispatch, ATypedLoadThatFailsKeepsTheTypedDecodersReason) {
  testsupport::TempDir dir;
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {{"just some words, not a picture at all\n", "Error reading BMP info"},
                        {"short", "Not a BMP"}};
  for (const Case& c : cases) {
    const std::string path = dir.write("words.txt", c.text);
    IxImage img;
    EXPECT_FALSE(img.Load(path.c_str(), IXIMAGE_FORMAT_BMP));
    EXPECT_STREQ(img.GetLastError(), c.message);
    EXPECT_FALSE(img.Load(path.c_str(), IXIMAGE_FORMAT_UNKNOWN));
    EXPECT_STREQ(img.GetLastError(), "Decode: Unknown or wrong format");
  }
}

TEST(IxImageDispatch, DetectionNamesTheReasonOfTheFormatTheFileClaims) {
  auto bytes = [](std::initializer_list<uint8_t> head, size_t junk) {
    std::vector<uint8_t> b(head);
    for (size_t i = 0; i < junk; ++i) b.push_back(static_cast<uint8_t>(i * 13 + 1));
    return b;
  };
  struct Case {
    const char* what;
    uint32_t format;
    std::vector<uint8_t> data;
  };
  // A GIF screen with a global table and no image, then the trailer.
  std::vector<uint8_t> gif = {'G',  'I', 'F', '8', '9', 'a', 4,   0,   4,   0,
                              0x80, 0,   0,   0,   0,   0,   255, 255, 255, 0x3B};
  const Case cases[] = {
      {"BMP header, broken info", IXIMAGE_FORMAT_BMP, bytes({'B', 'M'}, 60)},
      {"JPEG start, no frame", IXIMAGE_FORMAT_JPG, bytes({0xFF, 0xD8, 0xFF, 0xE0, 0, 4}, 40)},
      {"GIF without image data", IXIMAGE_FORMAT_GIF, gif},
      {"PNG signature, broken chunk", IXIMAGE_FORMAT_PNG,
       bytes({0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A}, 50)},
      {"TIFF header, broken directory", IXIMAGE_FORMAT_TIF, bytes({'I', 'I', 0x2A, 0, 0xF0, 0xFF, 0, 0}, 30)},
  };
  for (const Case& c : cases) {
    IxImage typed;
    EXPECT_FALSE(bridgetest::DecodeBytes(typed, c.data, c.format)) << c.what;
    ASSERT_STRNE(typed.GetLastError(), "") << c.what;
    IxImage detected;
    EXPECT_FALSE(bridgetest::DecodeBytes(detected, c.data, IXIMAGE_FORMAT_UNKNOWN)) << c.what;
    EXPECT_STREQ(detected.GetLastError(), typed.GetLastError()) << c.what;
  }
}

TEST(IxImageDispatch, AFailedLoadKeepsThePictureHeld) {
  testsupport::TempDir dir;
  const std::string path = dir.write("words.txt", "no picture in here, only text for the decoders");
  IxImage img(3, 3, 24);
  img.SetPixelColor(1, 1, IxRGBQuad{1, 2, 3, 0});
  EXPECT_FALSE(img.Load(path.c_str(), IXIMAGE_FORMAT_BMP));
  ASSERT_TRUE(img.IsValid());
  EXPECT_EQ(img.GetPixelColor(1, 1).rgbRed, 3);
}

bool DecodeFileAs(const std::string& path, uint32_t id, IxImage& img) {
  FILE* fp = fopen(path.c_str(), "rb");
  if (fp == nullptr) return false;
  const bool ok = img.Decode(fp, id);
  fclose(fp);
  return ok;
}

TEST(IxImageDispatch, DetectionFindsEveryReadableFileAsItsOwnFormat) {
  // Each suite's files that their own decoder reads must be found as that format by detection,
  // whatever decoders come before it. Formats whose class is not built read nothing here.
  struct Suite {
    const char* folder;
    const char* suffix;
    uint32_t id;
  };
  const Suite suites[] = {
      {"testdata/pillow/bmp", ".bmp", IXIMAGE_FORMAT_BMP},
      {"testdata/gif", ".gif", IXIMAGE_FORMAT_GIF},
      {"testdata/pillow/jpeg", ".jpg", IXIMAGE_FORMAT_JPG},
      {"testdata/png", ".png", IXIMAGE_FORMAT_PNG},
      {"testdata/pillow/ico", ".ico", IXIMAGE_FORMAT_ICO},
      {"testdata/pillow/tiff", ".tif", IXIMAGE_FORMAT_TIF},
      {"testdata/pillow/tga", ".tga", IXIMAGE_FORMAT_TGA},
      {"testdata/pillow/pcx", ".pcx", IXIMAGE_FORMAT_PCX},
  };
  int found = 0;
  for (const Suite& suite : suites) {
    std::vector<std::string> files;
    try {
      files = testsupport::SharedFiles(suite.folder, suite.suffix);
    } catch (const std::exception&) {
      continue;  // a suite folder that is not there
    }
    for (const std::string& path : files) {
      if (path.find("/b_") != std::string::npos) continue;
      IxImage typed;
      if (!DecodeFileAs(path, suite.id, typed) || !typed.IsValid()) continue;
      IxImage detected;
      ASSERT_TRUE(DecodeFileAs(path, IXIMAGE_FORMAT_UNKNOWN, detected)) << path;
      EXPECT_EQ(detected.GetType(), suite.id) << path;
      ++found;
    }
  }
  EXPECT_GE(found, 40);
}

TEST(IxImageDispatch, DimensionsOnlyThroughDetection) {
  const std::string path = testsupport::SharedPath("testdata/pillow/bmp/g_pal8nonsquare.bmp");
  IxImage img;
  img.SetEscape(-1);
  ASSERT_TRUE(img.Load(path.c_str(), IXIMAGE_FORMAT_UNKNOWN));
  EXPECT_FALSE(img.IsValid());
  EXPECT_EQ(img.GetWidth(), 127u);
  EXPECT_EQ(img.GetHeight(), 32u);
}

TEST(IxImageDispatch, SaveAndLoadRoundTripThroughFiles) {
  testsupport::TempDir dir;
  IxImage img(6, 4, 24);
  img.SetPixelColor(5, 3, IxRGBQuad{9, 8, 7, 0});
  const std::string path = dir.file("pic.bmp");
  ASSERT_TRUE(img.Save(path.c_str(), IXIMAGE_FORMAT_BMP)) << img.GetLastError();
  // Saving again replaces the file in one step.
  img.SetPixelColor(0, 0, IxRGBQuad{1, 1, 1, 0});
  ASSERT_TRUE(img.Save(path.c_str(), IXIMAGE_FORMAT_BMP));
  IxImage back(path.c_str(), IXIMAGE_FORMAT_BMP);
  ASSERT_TRUE(back.IsValid()) << back.GetLastError();
  EXPECT_EQ(back.GetPixelColor(5, 3).rgbRed, 7);
  EXPECT_EQ(back.GetPixelColor(0, 0).rgbRed, 1);
  const auto entries =
      std::distance(std::filesystem::directory_iterator(dir.path()), std::filesystem::directory_iterator());
  EXPECT_EQ(entries, 1);
}

TEST(IxImageDispatch, ATypedLoadOfTheWrongFormatFallsBackToDetection) {
  const std::string gif = testsupport::SharedPath("testdata/gif/static_nontransparent.gif");
  IxImage img;
  ASSERT_TRUE(img.Load(gif.c_str(), IXIMAGE_FORMAT_JPG)) << img.GetLastError();
  EXPECT_EQ(img.GetType(), IXIMAGE_FORMAT_GIF);
  const std::string bmp = testsupport::SharedPath("testdata/pillow/bmp/g_rgb24.bmp");
  IxImage other(bmp.c_str(), IXIMAGE_FORMAT_GIF);
  ASSERT_TRUE(other.IsValid()) << other.GetLastError();
  EXPECT_EQ(other.GetType(), IXIMAGE_FORMAT_BMP);
}

TEST(IxImageDispatch, AFailedTypedDecodeBringsBackTheFrameCount) {
  const std::string gif = testsupport::SharedPath("testdata/gif/animated_loop.gif");
  FILE* fp = fopen(gif.c_str(), "rb");
  ASSERT_NE(fp, nullptr);
  IxImage img;
  img.SetFrame(5);
  EXPECT_FALSE(img.Decode(fp, IXIMAGE_FORMAT_GIF));
  fclose(fp);
  EXPECT_EQ(img.GetNumFrames(), 4);
  EXPECT_FALSE(img.IsValid());
}

TEST(IxImageDispatch, EncodeOfAnEmptyPictureReachesTheEncodersCheck) {
  IxImage empty;
  IxMemFile out;
  ASSERT_TRUE(out.Open());
  for (const uint32_t id : {IXIMAGE_FORMAT_BMP, IXIMAGE_FORMAT_GIF, IXIMAGE_FORMAT_JPG}) {
    empty.SetTransIndex(-1);
    EXPECT_FALSE(empty.Encode(&out, id));
    EXPECT_STREQ(empty.GetLastError(), "null image!!!") << id;
  }
  EXPECT_EQ(out.Size(), 0);
}

}  // namespace
