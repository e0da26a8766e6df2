// The well-known content-type table and the part names of a composed message.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "mms/MmsContentTypes.h"

namespace {

TEST(WspContentTypeCode, KnowsTheTypesTheCodecWritesAndNothingElse) {
  struct Case {
    const char* name;
    int code;
  } cases[] = {
      {"*/*", 0x00},
      {"text/plain", 0x03},
      {"text/x-vCalender", 0x06},
      {"Multipart/mixed", 0x0C},
      {"application/x-www-form-rulencoded", 0x12},
      {"image/gif", 0x1D},
      {"image/jpeg", 0x1E},
      {"image/png", 0x20},
      {"image/vnd.wap.wbmp", 0x21},
      {"application/vnd.wap.multipart.related", 0x33},
      {"application/vnd.wap.sia", 0x34},
      // The comparison is exact: other capitals, absent types and near-misses are unknown.
      {"multipart/mixed", 255},
      {"image/JPEG", 255},
      {"application/smil", 255},
      {"audio/wav", 255},
      {"image/bmp", 255},  // travels as text: 0x21 is a WBMP picture to every other reader
      {"image/jpeg ", 255},
      {"", 255},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(WspContentTypeCode(c.name), c.code) << c.name;
  }
  EXPECT_EQ(WspContentTypeCode(nullptr), 255);
}

TEST(WspContentTypeName, EveryCodeRoundTripsAndOthersHaveNoName) {
  for (int code = 0; code < WSP_CONTENT_TYPE_COUNT; ++code) {
    char* name = WspContentTypeName(code);
    ASSERT_NE(name, nullptr) << code;
    EXPECT_EQ(WspContentTypeCode(name), code) << name;
    std::free(name);
  }
  for (int code : {-1, 0x35, 0x7F, 0xFF, 1000}) {
    EXPECT_EQ(WspContentTypeName(code), nullptr) << code;
  }
}

TEST(WspContentTypeName, GivesACallerOwnedBlockOfAtLeastFiftyBytes) {
  char* name = WspContentTypeName(0x19);  // the longest name
  ASSERT_NE(name, nullptr);
  EXPECT_STREQ(name, "application/vnd.wap.wtls-user-certificate");
  name[49] = 'x';  // within the block, as callers have always assumed (sanitizer checks)
  std::free(name);
}

std::string PartName(int slide, const char* type) {
  char buffer[MMS_PART_NAME_SIZE];
  std::memset(buffer, 0x55, sizeof buffer);
  int n = MmsPartFileName(buffer, slide, type);
  EXPECT_EQ(n, static_cast<int>(std::strlen(buffer)));
  return buffer;
}

TEST(MmsPartFileName, NamesTheElevenPartTypes) {
  struct Case {
    int slide;
    const char* type;
    const char* name;
  } cases[] = {
      {0, "text/plain", "text0.txt"}, {2, "text/plain", "text2.txt"},
      {0, "image/gif", "Image0.gif"}, {12, "image/jpeg", "Image12.jpg"},
      {1, "image/png", "Image1.png"}, {3, "image/bmp", "Image3.bmp"},
      {0, "audio/wav", "Audio0.wav"}, {39, "audio/imelody", "Audio39.mld"},
      {5, "audio/mid", "Audio5.mid"}, {6, "audio/amr", "Audio6.amr"},
      {7, "audio/mp3", "Audio7.mp3"}, {8, "video/mpeg", "Video8.mpg"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PartName(c.slide, c.type), c.name) << c.type;
  }
}

// The editor hands over "audio/" plus the file's extension as typed ("SONG.WAV" -> "audio/WAV"); a
// name that depends on letter case would leave such a part nameless and the message unreadable.
TEST(MmsPartFileName, MatchesTypesWhateverTheirLetterCase) {
  EXPECT_EQ(PartName(0, "audio/WAV"), "Audio0.wav");
  EXPECT_EQ(PartName(4, "Image/JPEG"), "Image4.jpg");
  EXPECT_EQ(PartName(1, "AUDIO/MP3"), "Audio1.mp3");
}

TEST(MmsPartFileName, GivesUnknownTypesANonEmptyNameOfTheirOwn) {
  struct Case {
    int slide;
    const char* type;
    const char* name;
  } cases[] = {
      {0, "image/x-png", "Part0_image.x-png"},
      {0, "", "Part0.bin"},  // a picture whose extension the editor did not recognise
      {3, "audio/mpeg", "Part3_audio.mpeg"},
      {1, "weird", "Part1_weird.bin"},
      {2, "application/vnd.wap.wbmp", "Part2_applic.vndwap"},
      {0, "../../etc/passwd", "Part0.etcpas"},
      {0, "image/<\"x\">", "Part0_image.x"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PartName(c.slide, c.type), c.name) << c.type;
  }
}

TEST(MmsPartFileName, EveryNameFitsTheBufferWhateverTheIndex) {
  for (int slide : {-2147483647 - 1, 2147483647, -1, 1000000}) {
    for (const char* type : {"audio/imelody", "application/very-long-subtype-name-here", ""}) {
      std::string name = PartName(slide, type);
      EXPECT_FALSE(name.empty());
      EXPECT_LT(name.size(), MMS_PART_NAME_SIZE) << name;
    }
  }
}

TEST(MmsPartFileName, WritesNothingWithoutBufferOrType) {
  char buffer[MMS_PART_NAME_SIZE] = "untouched";
  EXPECT_EQ(MmsPartFileName(buffer, 0, nullptr), 0);
  EXPECT_STREQ(buffer, "untouched");
  EXPECT_EQ(MmsPartFileName(nullptr, 0, "text/plain"), 0);
}

}  // namespace
