// The SMIL presentation written from the composer: its fixed head, one par per slide, the clamping
// and formatting of times, part names in src, and well-formed XML for every table.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "MmsComposeHelpers.h"
#include "mms/MmsAlloc.h"
#include "mms/MmsSmilWriter.h"
#include "support/TempDir.h"

namespace {

using mmstest::BuildSmil;
using mmstest::ComposerTest;

const std::string kHead =
    "<smil>\r\n"
    "<head>\r\n"
    "<meta name=\"title\" content=\"mms info\" />\r\n"
    "<meta name=\"author\" content=\"Brimlow System\" />\r\n"
    "<layout>\r\n"
    "<root-layout width=\"176\" height=\"220\"/>\r\n"
    "<region id=\"Image\" width=\"160\" height=\"170\" left=\"0\" top=\"0\" />\r\n"
    "<region id=\"Text\" width=\"160\" height=\"30\" left=\"0\" top=\"170\" />\r\n"
    "</layout>\r\n"
    "</head>\r\n"
    "<body>\r\n";
const std::string kTail = "</body>\r\n</smil>";

tMMS_Composer& Table() { return *MmsComposerTable(); }

// The text between the head and the tail, after checking both.
std::string Pars(const std::string& smil) {
  EXPECT_EQ(smil.substr(0, kHead.size()), kHead);
  EXPECT_GE(smil.size(), kHead.size() + kTail.size());
  if (smil.size() < kHead.size() + kTail.size()) return "";
  EXPECT_EQ(smil.substr(smil.size() - kTail.size()), kTail);
  return smil.substr(kHead.size(), smil.size() - kHead.size() - kTail.size());
}

// Whether Debian's XML checker accepts the text as well-formed XML.
bool WellFormed(const std::string& xml) {
  testsupport::TempDir dir;
  std::string path = dir.write("mms.smil", xml);
  std::string command = "xmllint --noout '" + path + "' 2>&1";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return false;
  std::string output;
  char buffer[256];
  while (fgets(buffer, sizeof buffer, pipe) != nullptr) output += buffer;
  int status = pclose(pipe);
  EXPECT_EQ(output, "") << xml;
  return status == 0;
}

TEST_F(ComposerTest, OneEmptySlideOfNoDurationLastsASecond) {
  MmsComposerSetSlideDur(0, 0);
  std::string smil = BuildSmil();
  EXPECT_EQ(smil, kHead + "<par dur=\"1000ms\">\r\n</par>\r\n" + kTail);
  EXPECT_EQ(kHead.size(), 316u);
  EXPECT_EQ(Table().Dur[0], 1000);
  EXPECT_TRUE(WellFormed(smil));
}

TEST_F(ComposerTest, ASlideWithPictureSoundAndTextNamesEachPart) {
  MmsComposerSetSlideDur(0, 5000);
  ASSERT_EQ(mmstest::SetImage("image/jpeg", "JFIF"), 0);
  ASSERT_EQ(mmstest::SetAudio("audio/wav", "RIFF"), 0);
  ASSERT_EQ(mmstest::SetText(u"Hello"), 0);
  // Items handed over with no end run to the end of the slide.
  Table().Slide[0].ImageEnd = Table().Slide[0].AudioEnd = Table().Slide[0].TextEnd = 5000;
  std::string smil = BuildSmil();
  EXPECT_EQ(Pars(smil),
            "<par dur=\"5000ms\">\r\n"
            "<img src=\"Image0.jpg\" region=\"Image\" begin=\"0ms\" end=\"5000ms\" />\r\n"
            "<audio src=\"Audio0.wav\"  begin=\"0ms\" end=\"5000ms\" />\r\n"
            "<text src=\"text0.txt\" region=\"Text\" begin=\"0ms\" end=\"5000ms\" />\r\n"
            "</par>\r\n");
  EXPECT_TRUE(WellFormed(smil));
}

TEST_F(ComposerTest, TimesAreClampedIntoTheSlideAndWrittenBack) {
  mmstest::MakeSlides(3, 3000);
  MmsComposerSelectSlide(2);
  ASSERT_EQ(mmstest::SetImage("image/gif", "GIF", 4000, 9000), 0);
  ASSERT_EQ(mmstest::SetText(u"t", 4000, 9000), 0);
  ASSERT_EQ(mmstest::SetAudio("audio/mid", "MThd", 500, 2000), 0);
  std::string pars = Pars(BuildSmil());
  EXPECT_NE(pars.find("<img src=\"Image2.gif\" region=\"Image\" begin=\"0ms\" end=\"3000ms\" />"),
            std::string::npos);
  EXPECT_NE(pars.find("<text src=\"text2.txt\" region=\"Text\" begin=\"0ms\" end=\"3000ms\" />"),
            std::string::npos);
  EXPECT_NE(pars.find("<audio src=\"Audio2.mid\"  begin=\"500ms\" end=\"2000ms\" />"), std::string::npos);
  const tMMS_SlideInfo& s = Table().Slide[2];
  EXPECT_EQ(s.ImageBegin, 0);
  EXPECT_EQ(s.ImageEnd, 3000);
  EXPECT_EQ(s.TextBegin, 0);
  EXPECT_EQ(s.TextEnd, 3000);
  EXPECT_EQ(s.AudioBegin, 500);
}

TEST_F(ComposerTest, DurationsAndTimesPrintAtMostTwoMinutes) {
  struct Case {
    int dur, begin, end;
    const char* expected;  // the par's first two lines
  } cases[] = {
      {200000, 0, 200000,
       "<par dur=\"120000ms\">\r\n<img src=\"Image0.gif\" region=\"Image\" begin=\"0ms\" end=\"120000ms\" "
       "/>\r\n"},
      {120000, 0, 120000,
       "<par dur=\"120000ms\">\r\n<img src=\"Image0.gif\" region=\"Image\" begin=\"0ms\" end=\"120000ms\" "
       "/>\r\n"},
      {-5, 0, 9000,
       "<par dur=\"1000ms\">\r\n<img src=\"Image0.gif\" region=\"Image\" begin=\"0ms\" end=\"1000ms\" "
       "/>\r\n"},
      // A negative time prints as the limit (the comparison is unsigned).
      {3000, 200, -7,
       "<par dur=\"3000ms\">\r\n<img src=\"Image0.gif\" region=\"Image\" begin=\"0ms\" end=\"120000ms\" "
       "/>\r\n"},
      {3000, 1000, 1000,
       "<par dur=\"3000ms\">\r\n<img src=\"Image0.gif\" region=\"Image\" begin=\"0ms\" end=\"1000ms\" "
       "/>\r\n"},
  };
  for (const Case& c : cases) {
    MmsComposerReset();
    ASSERT_EQ(MmsComposerCreate(), 0);
    MmsComposerSetSlideDur(0, c.dur);
    ASSERT_EQ(mmstest::SetImage("image/gif", "GIF", c.begin, c.end), 0);
    EXPECT_EQ(Pars(BuildSmil()).substr(0, std::string(c.expected).size()), c.expected) << c.dur;
  }
}

// The part name in src must never be empty: a SMIL with src="" cannot be linked to its part and
// the message cannot be opened again.
TEST_F(ComposerTest, PartsOfUnlistedTypesAreStillNamed) {
  MmsComposerSetSlideDur(0, 2000);
  ASSERT_EQ(mmstest::SetImage("", "JFIF"), 0);           // "photo.Jpg"
  ASSERT_EQ(mmstest::SetAudio("audio/WAV", "RIFF"), 0);  // "SONG.WAV"
  std::string pars = Pars(BuildSmil());
  EXPECT_NE(pars.find("<img src=\"Part0.bin\" region=\"Image\""), std::string::npos) << pars;
  EXPECT_NE(pars.find("<audio src=\"Audio0.wav\"  begin"), std::string::npos) << pars;
  EXPECT_EQ(pars.find("src=\"\""), std::string::npos);
}

TEST_F(ComposerTest, AVideoTakesThePlaceOfPictureAndSound) {
  tMMS_SlideInfo& s = Table().Slide[0];
  s.HasVideo = 1;
  s.VideoType = mmstest::MallocText("video/mpeg");
  s.VideoData = mmstest::MallocBytes("mpeg");
  s.VideoSize = 4;
  s.HasImage = 1;  // never together with a video; the writer still shows the video alone
  std::string smil = BuildSmil();
  s.HasImage = 0;
  EXPECT_EQ(Pars(smil),
            "<par dur=\"1000ms\">\r\n"
            "<video src=\"Video0.mpg\" region=\"Image\" begin=\"0ms\" end=\"1000ms\" />\r\n"
            "</par>\r\n");
}

TEST_F(ComposerTest, ColoursAreWrittenWithSixDigits) {
  ASSERT_EQ(mmstest::SetText(u"t", 0, 1000), 0);
  tMMS_SlideInfo& s = Table().Slide[0];
  s.HasBgColor = 1;  // colours are set by nothing but tests
  s.BgColor = 0xFFFFFF;
  s.HasFgColor = 1;  // blue, the default, which a plain %x would give as "#ff"
  std::string smil = BuildSmil();
  EXPECT_EQ(Pars(smil),
            "<par dur=\"1000ms\">\r\n"
            " <param name=\"background-color\" value=\"#ffffff\" />\r\n"
            " <text src=\"text0.txt\" region=\"Text\" begin=\"0ms\" end=\"1000ms\" >\r\n"
            " <param name=\"foreground-color\" value=\"#0000ff\" />\r\n"
            " </text>\r\n"
            "</par>\r\n");
  EXPECT_TRUE(WellFormed(smil));

  // Short values are padded to six digits, longer ones written whole.
  const struct {
    int color;
    const char* text;
  } cases[] = {
      {0, "#000000"}, {0xA, "#00000a"}, {0xABCDE, "#0abcde"}, {0x1234567, "#1234567"}, {-1, "#ffffffff"}};
  for (const auto& c : cases) {
    s.BgColor = c.color;
    EXPECT_NE(BuildSmil().find("\"background-color\" value=\"" + std::string(c.text) + "\" />"),
              std::string::npos)
        << c.text;
  }
}

// The old fixed 3072-byte buffer overflowed from 13 such slides on.
TEST_F(ComposerTest, FortyFullSlidesWithColoursAreWrittenWhole) {
  mmstest::MakeSlides(40, 60000);
  for (unsigned i = 0; i < 40; ++i) {
    MmsComposerSelectSlide(i);
    ASSERT_EQ(mmstest::SetImage("image/jpeg", "JFIF", 0, 60000), 0);
    ASSERT_EQ(mmstest::SetAudio("audio/imelody", "BEGIN:IMELODY", 0, 60000), 0);
    ASSERT_EQ(mmstest::SetText(u"text", 0, 60000), 0);
    Table().Slide[i].HasBgColor = Table().Slide[i].HasFgColor = 1;
    Table().Slide[i].BgColor = 0x102030;
  }
  std::string smil = BuildSmil();
  EXPECT_GT(smil.size(), 13000u);
  EXPECT_LT(smil.size(), 15000u);
  std::string pars = Pars(smil);
  std::size_t count = 0;
  for (std::size_t at = pars.find("<par "); at != std::string::npos; at = pars.find("<par ", at + 1)) ++count;
  EXPECT_EQ(count, 40u);
  EXPECT_NE(pars.find("<img src=\"Image39.jpg\""), std::string::npos);
  EXPECT_NE(pars.find("<audio src=\"Audio39.mld\""), std::string::npos);
  EXPECT_NE(pars.find("<text src=\"text39.txt\""), std::string::npos);
  EXPECT_NE(pars.find("value=\"#102030\""), std::string::npos);
  EXPECT_TRUE(WellFormed(smil));
}

TEST_F(ComposerTest, TheWriterStopsAtTheFirstFreeSlot) {
  mmstest::MakeSlides(2, 1000);
  Table().Used[3] = 1;  // beyond a hole: not part of the message
  std::string pars = Pars(BuildSmil());
  Table().Used[3] = 0;
  EXPECT_EQ(pars, "<par dur=\"1000ms\">\r\n</par>\r\n<par dur=\"1000ms\">\r\n</par>\r\n");
}

TEST_F(ComposerTest, NoTextWhenMemoryRunsOut) {
  MmsAllocFailAfter(0);
  EXPECT_EQ(MmsBuildSmil(), nullptr);
}

}  // namespace
