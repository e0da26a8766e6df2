// The composer's slide table: creation and reset, adding and inserting slides, handing items
// over (and refusing them without taking them), sharing pictures and sounds held by the caller,
// and the check that a table can be encoded.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "MmsComposeHelpers.h"
#include "mms/MmsComposer.h"

namespace {

using mmstest::ComposerTest;

tMMS_Composer& Table() { return *MmsComposerTable(); }

TEST_F(ComposerTest, CreateIsRefusedUntilReset) {
  EXPECT_EQ(MmsComposerCreate(), -2);
  MmsComposerReset();
  EXPECT_EQ(MmsComposerCreate(), 0);
  EXPECT_EQ(Table().SlideCount, 1);
  EXPECT_EQ(MmsComposerGetCurSlide(), 0u);
  EXPECT_EQ(Table().Dur[0], 1000);
  EXPECT_EQ(Table().Used[0], 1);
  EXPECT_EQ(Table().Used[1], 0);
}

TEST_F(ComposerTest, ResetFreesEverythingAndStartsOver) {
  mmstest::MakeSlides(3, 4000);
  MmsComposerSelectSlide(2);
  ASSERT_EQ(mmstest::SetImage("image/gif", "GIF89a"), 0);
  ASSERT_EQ(mmstest::SetText(u"hi"), 0);
  MmsComposerReset();  // the sanitizer build reports any block not freed here
  EXPECT_EQ(Table().SlideCount, 1);
  EXPECT_EQ(Table().CurSlide, 0u);
  for (int i = 0; i < MMS_MAX_SLIDES; ++i) {
    EXPECT_EQ(Table().Used[i], i == 0) << i;
    EXPECT_EQ(Table().Dur[i], 1000) << i;
    EXPECT_EQ(Table().Slide[i].HasImage, 0) << i;
    EXPECT_EQ(Table().Slide[i].ImageData, nullptr) << i;
    EXPECT_EQ(Table().Slide[i].ImageEnd, 1000) << i;
    EXPECT_EQ(Table().Slide[i].FgColor, 255) << i;
    EXPECT_EQ(Table().Slide[i].BgColor, 0xFFFFFF) << i;
  }
}

TEST_F(ComposerTest, HoldsFortySlidesAndNoMore) {
  for (int i = 1; i < 40; ++i) ASSERT_EQ(MmsComposerAddSlide(), 0) << i;
  EXPECT_EQ(Table().SlideCount, 40);
  EXPECT_EQ(MmsComposerGetCurSlide(), 39u);
  EXPECT_EQ(MmsComposerAddSlide(), -6);
  EXPECT_EQ(Table().SlideCount, 40);
  EXPECT_EQ(MmsComposerValidate(), 1);
}

TEST_F(ComposerTest, SelectingBeyondTheTableChangesNothing) {
  mmstest::MakeSlides(3, 1000);
  MmsComposerSelectSlide(1);
  MmsComposerSelectSlide(40);
  EXPECT_EQ(MmsComposerGetCurSlide(), 1u);
  MmsComposerSetSlideDur(40, 5);
  MmsComposerSetSlideDur(0xFFFFFFFFu, 5);
  for (int i = 0; i < MMS_MAX_SLIDES; ++i) EXPECT_NE(Table().Dur[i], 5) << i;
}

TEST_F(ComposerTest, AddingAfterTheLastSlotOrAFreeSlotIsRefused) {
  mmstest::MakeSlides(3, 1000);
  MmsComposerSelectSlide(39);
  EXPECT_EQ(MmsComposerAddSlide(), -11);
  // After a free slot an add would mark a slot beyond a hole as used, and no build of this
  // table would validate again until a reset.
  MmsComposerSelectSlide(5);
  EXPECT_EQ(MmsComposerAddSlide(), -11);
  EXPECT_EQ(Table().SlideCount, 3);
  EXPECT_EQ(Table().Used[6], 0);
  EXPECT_EQ(MmsComposerValidate(), 1);
}

TEST_F(ComposerTest, InsertingMovesTheFollowingSlidesUpWithTheirItems) {
  mmstest::MakeSlides(3, 0);
  const int durs[] = {1500, 2500, 3500};
  for (unsigned i = 0; i < 3; ++i) {
    MmsComposerSelectSlide(i);
    MmsComposerSetSlideDur(i, durs[i]);
    ASSERT_EQ(mmstest::SetImage("image/gif", "picture" + std::to_string(i), 10 * i, 100 * i + 100), 0);
  }
  Table().Slide[2].HasFgColor = 1;
  Table().Slide[2].FgColor = 0x123456;
  unsigned char* slide1Data = Table().Slide[1].ImageData;
  unsigned char* slide2Data = Table().Slide[2].ImageData;

  MmsComposerSelectSlide(0);
  ASSERT_EQ(MmsComposerAddSlide(), 0);

  EXPECT_EQ(Table().SlideCount, 4);
  EXPECT_EQ(MmsComposerGetCurSlide(), 1u);
  EXPECT_EQ(Table().Dur[0], 1500);
  EXPECT_EQ(Table().Dur[1], 1000);
  EXPECT_EQ(Table().Dur[2], 2500);
  EXPECT_EQ(Table().Dur[3], 3500);
  EXPECT_EQ(Table().Slide[1].HasImage, 0);
  EXPECT_EQ(Table().Slide[1].ImageData, nullptr);
  EXPECT_EQ(Table().Slide[1].ImageEnd, 1000);
  EXPECT_EQ(Table().Slide[2].ImageData, slide1Data);
  EXPECT_EQ(Table().Slide[2].ImageBegin, 10);
  EXPECT_EQ(Table().Slide[2].ImageEnd, 200);
  EXPECT_EQ(Table().Slide[3].ImageData, slide2Data);
  EXPECT_EQ(Table().Slide[3].HasFgColor, 1);
  EXPECT_EQ(Table().Slide[3].FgColor, 0x123456);
  EXPECT_EQ(std::memcmp(Table().Slide[3].ImageData, "picture2", 8), 0);
  EXPECT_EQ(MmsComposerValidate(), 1);
  // Each picture is held once: the reset frees each exactly once (sanitizer build).
}

TEST_F(ComposerTest, SetCopiesTheRecordIntoTheCurrentSlide) {
  mmstest::MakeSlides(2, 1000);
  MmsComposerSelectSlide(1);
  ASSERT_EQ(mmstest::SetImage("image/jpeg", "JFIF", 100, 900), 0);
  ASSERT_EQ(mmstest::SetText(u"abc", 200, 800), 0);
  ASSERT_EQ(mmstest::SetAudio("audio/wav", "RIFF..", 300, 700), 0);
  const tMMS_SlideInfo& s = Table().Slide[1];
  EXPECT_STREQ(s.ImageType, "image/jpeg");
  EXPECT_EQ(s.ImageSize, 4);
  EXPECT_EQ(s.ImageBegin, 100);
  EXPECT_EQ(s.ImageEnd, 900);
  EXPECT_EQ(s.ImageWidth, 160);
  EXPECT_EQ(s.ImageHeight, 120);
  EXPECT_EQ(s.TextLen, 3);
  EXPECT_EQ(s.TextTop, 120);
  EXPECT_EQ(s.TextHeight, 50);
  EXPECT_EQ(s.TextBegin, 200);
  EXPECT_STREQ(s.AudioType, "audio/wav");
  EXPECT_EQ(s.AudioSize, 6);
  EXPECT_EQ(s.AudioEnd, 700);
  EXPECT_EQ(MmsComposerHasImage() + MmsComposerHasText() + MmsComposerHasAudio(), 3);
  EXPECT_EQ(MmsComposerHasVideo(), 0);
  MmsComposerSelectSlide(0);
  EXPECT_EQ(MmsComposerHasImage() + MmsComposerHasText() + MmsComposerHasAudio(), 0);
  MmsComposerSelectSlide(7);  // not in use
  EXPECT_EQ(MmsComposerHasImage(), 0);
}

TEST_F(ComposerTest, RefusedItemsStayWithTheCallerAndChangeNothing) {
  ASSERT_EQ(mmstest::SetImage("image/gif", "first"), 0);
  unsigned char* first = Table().Slide[0].ImageData;
  EXPECT_EQ(mmstest::SetImage("image/jpeg", "second"), -3);
  EXPECT_EQ(Table().Slide[0].ImageData, first);
  EXPECT_STREQ(Table().Slide[0].ImageType, "image/gif");

  ASSERT_EQ(mmstest::SetText(u"one"), 0);
  EXPECT_EQ(mmstest::SetText(u"two"), -3);
  ASSERT_EQ(mmstest::SetAudio("audio/wav", "a"), 0);
  EXPECT_EQ(mmstest::SetAudio("audio/wav", "b"), -3);

  EXPECT_EQ(MmsComposerSetImage(nullptr), -12);
  EXPECT_EQ(MmsComposerSetText(nullptr), -12);
  EXPECT_EQ(MmsComposerSetAudio(nullptr), -12);

  MmsComposerSelectSlide(3);  // a free slot
  EXPECT_EQ(mmstest::SetText(u"x"), -11);
  EXPECT_EQ(mmstest::SetImage("image/gif", "x"), -11);
  EXPECT_EQ(mmstest::SetAudio("audio/wav", "x"), -11);
  EXPECT_EQ(Table().Slide[3].HasText, 0);

  // A slide with a video takes no picture and no sound; only tests can put a video there.
  MmsComposerSelectSlide(0);
  ASSERT_EQ(MmsComposerAddSlide(), 0);
  Table().Slide[1].HasVideo = 1;
  EXPECT_EQ(mmstest::SetImage("image/gif", "x"), -4);
  EXPECT_EQ(mmstest::SetAudio("audio/wav", "x"), -4);
  EXPECT_EQ(mmstest::SetText(u"x"), 0);
  EXPECT_EQ(MmsComposerHasVideo(), 1);
  Table().Slide[1].HasVideo = 0;
}

TEST_F(ComposerTest, ValidateNeedsEveryItemComplete) {
  struct Case {
    const char* what;
    void (*damage)(tMMS_SlideInfo&);
    int valid;
  } cases[] = {
      {"complete", [](tMMS_SlideInfo&) {}, 1},
      {"text of no units", [](tMMS_SlideInfo& s) { s.TextLen = 0; }, 0},
      {"text without data", [](tMMS_SlideInfo& s) { std::free(s.TextData), s.TextData = nullptr; }, 0},
      {"picture of size 0", [](tMMS_SlideInfo& s) { s.ImageSize = 0; }, 0},
      {"picture of negative size", [](tMMS_SlideInfo& s) { s.ImageSize = -4; }, 0},
      {"picture without type", [](tMMS_SlideInfo& s) { std::free(s.ImageType), s.ImageType = nullptr; }, 0},
      {"picture without data", [](tMMS_SlideInfo& s) { std::free(s.ImageData), s.ImageData = nullptr; }, 0},
      {"sound without type", [](tMMS_SlideInfo& s) { std::free(s.AudioType), s.AudioType = nullptr; }, 0},
      {"sound of size 0", [](tMMS_SlideInfo& s) { s.AudioSize = 0; }, 0},
      {"video beside a picture", [](tMMS_SlideInfo& s) { s.HasVideo = 1; }, 0},
  };
  for (const Case& c : cases) {
    MmsComposerReset();
    ASSERT_EQ(MmsComposerCreate(), 0);
    mmstest::MakeSlides(2, 1000);
    ASSERT_EQ(mmstest::SetImage("image/gif", "GIF"), 0);
    ASSERT_EQ(mmstest::SetText(u"t"), 0);
    ASSERT_EQ(mmstest::SetAudio("audio/amr", "#!AMR"), 0);
    c.damage(Table().Slide[1]);
    EXPECT_EQ(MmsComposerValidate(), c.valid) << c.what;
    Table().Slide[1].HasVideo = 0;
  }
}

TEST_F(ComposerTest, ValidateAcceptsAVideoSlideAloneAndChecksTheSlideCount) {
  Table().Slide[0].HasVideo = 1;
  EXPECT_EQ(MmsComposerValidate(), 0);  // no video data
  Table().Slide[0].VideoData = mmstest::MallocBytes("mpeg");
  Table().Slide[0].VideoType = mmstest::MallocText("video/mpeg");
  Table().Slide[0].VideoSize = 4;
  EXPECT_EQ(MmsComposerValidate(), 1);
  Table().SlideCount = 2;  // a count the used slots do not bear out
  EXPECT_EQ(MmsComposerValidate(), 0);
  Table().SlideCount = 1;
}

MmsMediaRef Media(const std::string& bytes, const std::string& type) {
  return std::make_shared<const tMMS_Media>(tMMS_Media{bytes, type});
}

int ShareImage(MmsMediaRef media, int begin = 0, int end = 1000) {
  tMMS_ImageInfo info{nullptr, nullptr, begin, end, 0, 0, 0, 160, 120};
  return MmsComposerShareImage(&info, std::move(media));
}

int ShareAudio(MmsMediaRef media, int begin = 0, int end = 1000) {
  tMMS_AudioInfo info{nullptr, nullptr, begin, end, 0};
  return MmsComposerShareAudio(&info, std::move(media));
}

// Shared media are written exactly as handed-over copies of the same bytes, and stay valid after
// the caller has let go of them: the sanitizer build reports a use after free if the composer
// only borrowed them. The reset releases them.
TEST_F(ComposerTest, SharedMediaOutliveTheCallersReferenceUntilTheReset) {
  const std::string picture = mmstest::JfifPicture(300);
  const std::string sound(200, '\x33');
  mmstest::MakeSlides(2, 2000);
  for (unsigned i = 0; i < 2; ++i) {
    MmsComposerSelectSlide(i);
    ASSERT_EQ(mmstest::SetText(u"\uFEFFslide text", 0, 2000), 0);
    ASSERT_EQ(mmstest::SetImage("image/jpeg", picture, 0, 1500), 0);
    ASSERT_EQ(mmstest::SetAudio("audio/amr", sound, 500, 2000), 0);
  }
  const std::string handedOver = mmstest::EncodeMessage();
  ASSERT_FALSE(handedOver.empty());

  MmsComposerReset();
  ASSERT_EQ(MmsComposerCreate(), 0);
  mmstest::MakeSlides(2, 2000);
  std::weak_ptr<const tMMS_Media> watched[4];
  for (unsigned i = 0; i < 2; ++i) {
    MmsComposerSelectSlide(i);
    ASSERT_EQ(mmstest::SetText(u"\uFEFFslide text", 0, 2000), 0);
    MmsMediaRef image = Media(picture, "image/jpeg");
    MmsMediaRef audio = Media(sound, "audio/amr");
    watched[2 * i] = image;
    watched[2 * i + 1] = audio;
    ASSERT_EQ(ShareImage(std::move(image), 0, 1500), 0);
    ASSERT_EQ(ShareAudio(audio, 500, 2000), 0);
    EXPECT_EQ(audio.use_count(), 2);  // the caller's and the composer's
  }                                   // the caller's references end here
  for (const auto& w : watched) EXPECT_FALSE(w.expired());
  EXPECT_EQ(Table().Slide[1].ImageSize, 300);
  EXPECT_STREQ(Table().Slide[1].AudioType, "audio/amr");
  EXPECT_EQ(MmsComposerValidate(), 1);
  EXPECT_EQ(mmstest::EncodeMessage(), handedOver);
  EXPECT_EQ(mmstest::EncodeMessage(), handedOver);  // and again: encoding does not consume them

  MmsComposerReset();
  for (const auto& w : watched) EXPECT_TRUE(w.expired());
}

TEST_F(ComposerTest, ARefusedShareLeavesTheMediaWithTheCaller) {
  MmsMediaRef picture = Media("GIF89a", "image/gif");
  MmsMediaRef sound = Media("RIFF", "audio/wav");
  tMMS_ImageInfo image{};
  tMMS_AudioInfo audio{};
  EXPECT_EQ(MmsComposerShareImage(nullptr, picture), -12);
  EXPECT_EQ(MmsComposerShareAudio(nullptr, sound), -12);
  EXPECT_EQ(MmsComposerShareImage(&image, nullptr), -12);
  EXPECT_EQ(MmsComposerShareAudio(&audio, nullptr), -12);
  EXPECT_EQ(Table().Slide[0].HasImage + Table().Slide[0].HasAudio, 0);

  ASSERT_EQ(mmstest::SetImage("image/gif", "first"), 0);
  EXPECT_EQ(ShareImage(picture), -3);
  MmsComposerSelectSlide(3);  // a free slot
  EXPECT_EQ(ShareAudio(sound), -11);
  EXPECT_EQ(picture.use_count(), 1);
  EXPECT_EQ(sound.use_count(), 1);
  MmsComposerSelectSlide(0);
  EXPECT_EQ(std::memcmp(Table().Slide[0].ImageData, "first", 5), 0);

  // A slide's shared picture beside a handed-over sound: each is released its own way.
  ASSERT_EQ(MmsComposerAddSlide(), 0);
  ASSERT_EQ(ShareImage(picture), 0);
  ASSERT_EQ(mmstest::SetAudio("audio/wav", "RIFF"), 0);
  EXPECT_EQ(picture.use_count(), 2);
  MmsSlideInfoFree(&Table().Slide[1]);
  EXPECT_EQ(picture.use_count(), 1);
  EXPECT_EQ(Table().Slide[1].ImageData, nullptr);
}

// Inserting a slide moves the following slides' shared media with them, each still held once.
TEST_F(ComposerTest, InsertingASlideMovesItsSharedMediaAlong) {
  mmstest::MakeSlides(2, 1000);
  MmsMediaRef pictures[2] = {Media("picture0", "image/gif"), Media("picture1", "image/png")};
  for (unsigned i = 0; i < 2; ++i) {
    MmsComposerSelectSlide(i);
    ASSERT_EQ(ShareImage(pictures[i]), 0);
  }
  MmsComposerSelectSlide(0);
  ASSERT_EQ(MmsComposerAddSlide(), 0);
  EXPECT_EQ(Table().Slide[1].ImageData, nullptr);
  EXPECT_EQ(Table().Slide[1].ImageMedia, nullptr);
  EXPECT_EQ(Table().Slide[2].ImageMedia, pictures[1]);
  EXPECT_EQ(std::memcmp(Table().Slide[2].ImageData, "picture1", 8), 0);
  EXPECT_STREQ(Table().Slide[2].ImageType, "image/png");
  EXPECT_EQ(pictures[0].use_count(), 2);
  EXPECT_EQ(pictures[1].use_count(), 2);
  MmsComposerReset();
  EXPECT_EQ(pictures[0].use_count(), 1);
  EXPECT_EQ(pictures[1].use_count(), 1);
}

}  // namespace
