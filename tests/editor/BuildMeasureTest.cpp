// Building and measuring the message: the size shown in whole KB and the 299 KB limit, the total
// time, what each page hands to the composer (texts, picture and sound types, regions), pages
// whose texts say nothing, and pages whose media cannot be read.
#include <cstdio>
#include <fstream>

#include "mms/MmsAlloc.h"
#include "mms/MmsComposer.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "platform/forms/TLabel.h"
#include "tests/editor/CommandFixture.h"

namespace {

using editortest::CommandTest;
using editortest::EncodedPart;
using editortest::Noise;

class BuildMeasure : public CommandTest {
 protected:
  // A one-page message whose picture file is sized so that the encoded message has exactly
  // `target` bytes.
  void MessageOfSize(int target) {
    std::string path = app.path() + "/tmp/Image/p.jpg";
    if (!main->Mms()->Body->GetFrame(0)->GetItem(TMediaItem::kImage)) {
      main->Mms()->SetFrameItemFromFile(0, TMediaItem::kImage, path);
    }
    int size = target / 2;
    for (int round = 0; round < 8; ++round) {
      std::ofstream(path, std::ios::binary | std::ios::trunc) << Noise(size_t(size));
      const int encoded = EncodedSize();
      if (encoded == target) return;
      size += target - encoded;
    }
    FAIL() << "no picture size gives " << target << " bytes";
  }
};

TEST_F(BuildMeasure, SizeShowsWholeKilobytesAndTheLimitRefusesFrom299) {
  struct Case {
    int bytes;
    const char* shown;
    int refused;
    const char* after;
  };
  const Case cases[] = {
      {1023, "1", 0, "1"},
      {2048, "2", 0, "2"},
      {299 * 1024 - 1, "298", 0, "298"},
      {299 * 1024, "299", 1, "300"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.bytes);
    MessageOfSize(c.bytes);
    shown.clear();
    main->GetPduSize();
    EXPECT_EQ(Caption(main->Controls().Label_Size), c.shown);
    EXPECT_EQ(main->CheckMmsSize(), c.refused);
    EXPECT_EQ(Caption(main->Controls().Label_Size), c.after);
    ASSERT_EQ(shown.size(), size_t(c.refused));
    if (c.refused) {
      EXPECT_TRUE(shown[0].Says(u"<SizeHint>"));
    }
  }
}

TEST_F(BuildMeasure, AMessageThatDoesNotEncodeShowsOneKilobyte) {
  MessageOfSize(5000);
  main->GetPduSize();
  ASSERT_EQ(Caption(main->Controls().Label_Size), "4");
  // The codec runs out of memory: no bytes, shown as 1 KB, and the size from before is kept.
  MmsAllocFailAfter(0);
  main->GetPduSize();
  MmsAllocFailAfter(-1);
  EXPECT_EQ(Caption(main->Controls().Label_Size), "1");
  EXPECT_EQ(main->SavedMeasure().sizeKB, 4);
}

TEST_F(BuildMeasure, APageWhoseMediaIsGoneHidesNoPageAfterItFromTheSizeOrTheLimit) {
  Pages(3);
  const std::string picture = Noise(6000, 21);
  Put(2, TMediaItem::kImage, "p.jpg", &picture);
  main->GetPduSize();
  const std::string whole = Caption(main->Controls().Label_Size);
  ASSERT_NE(whole, "1");
  // Page 0's picture goes from the working folder: the pages after it are still counted.
  Put(0, TMediaItem::kImage, "gone.jpg", &picture);
  std::remove((app.path() + "/tmp/Image/gone.jpg").c_str());
  ASSERT_EQ(main->BuildMms(), 0);
  main->GetPduSize();
  EXPECT_EQ(Caption(main->Controls().Label_Size), whole);
  // ... and judged by the limit.
  const std::string large = Noise(300 * 1024, 22);
  Put(2, TMediaItem::kImage, "p.jpg", &large);
  main->GetPduSize();
  EXPECT_EQ(main->CheckMmsSize(), 1);
  // The measurement leaves nothing in the composer: it can be created afresh.
  EXPECT_EQ(MmsComposerCreate(), MMS_COMPOSER_OK);
  MmsComposerReset();
}

TEST_F(BuildMeasure, TotalTimeIsTheSumOfTheDurationsInShortestDecimals) {
  struct Case {
    std::vector<int> durations;
    const char* shown;
  };
  const std::vector<Case> cases = {
      {{1000, 1500, 2000}, "4.5"},           {{700}, "0.7"},   {{2300}, "2.3"},
      {std::vector<int>(20, 60000), "1200"}, {{1250}, "1.25"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.shown);
    main->Init();
    Pages(int(c.durations.size()));
    for (size_t i = 0; i < c.durations.size(); ++i) main->Mms()->Body->SetFrameDur(int(i), c.durations[i]);
    main->GetPduSize();
    EXPECT_EQ(Caption(main->Controls().Label_Time), c.shown);
  }
}

TEST_F(BuildMeasure, RestoringShowsExactlyTheTextsFromBefore) {
  main->Mms()->Body->SetFrameDur(0, 2500);
  main->GetPduSize();
  ASSERT_EQ(Caption(main->Controls().Label_Time), "2.5");
  const std::string size = Caption(main->Controls().Label_Size);
  Pages(2);
  main->GetPduSize();
  EXPECT_EQ(Caption(main->Controls().Label_Time), "3.5");
  main->RestoreMeasure();
  EXPECT_EQ(Caption(main->Controls().Label_Time), "2.5");
  EXPECT_EQ(Caption(main->Controls().Label_Size), size);
  EXPECT_EQ(main->SavedMeasure().timeSec, 2);
}

TEST_F(BuildMeasure, PagesHandOverTheirTextsPicturesAndSoundsWithTheirTypes) {
  Pages(6);
  const std::string text = editortest::Utf16Le(u"Chào");
  main->Mms()->AddRegion(0, "Text", 120, 30, 4, 130, 0);
  Put(0, TMediaItem::kText, "t.txt", &text);
  const std::string picture = Noise(300, 2);
  struct Case {
    const char* name;
    int type;
    const char* contentType;
  };
  const Case cases[] = {
      {"a.jpg", TMediaItem::kImage, "image/jpeg"},  {"A1.JPG", TMediaItem::kImage, "image/jpeg"},
      {"a2.Jpg", TMediaItem::kImage, "image/jpeg"}, {"b.bmp", TMediaItem::kImage, "image/bmp"},
      {"c.GIF", TMediaItem::kImage, "image/gif"},   {"s.wav", TMediaItem::kAudio, "audio/wav"},
      {"S2.WAV", TMediaItem::kAudio, "audio/WAV"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const std::string bytes = picture + cases[i].name;
    Put(int(i % 6), cases[i].type, cases[i].name, &bytes);
    if (i == 5) break;  // one picture and one sound per page
  }
  std::vector<EncodedPart> parts = EncodedParts();
  ASSERT_FALSE(parts.empty());
  EXPECT_EQ(parts[0].type, "application/smil");
  auto find = [&](const std::string& tail) -> const EncodedPart* {
    for (const EncodedPart& p : parts) {
      if (p.bytes.size() >= tail.size() &&
          p.bytes.compare(p.bytes.size() - tail.size(), tail.size(), tail) == 0)
        return &p;
    }
    return nullptr;
  };
  for (size_t i = 0; i < 6; ++i) {
    SCOPED_TRACE(cases[i].name);
    const EncodedPart* part = find(cases[i].name);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(part->type, cases[i].contentType);
  }
  // The sound of the last case goes onto page 0, which has no sound yet.
  const std::string upper = picture + "S2.WAV";
  Put(0, TMediaItem::kAudio, "S2.WAV", &upper);
  parts = EncodedParts();
  ASSERT_NE(find("S2.WAV"), nullptr);
  EXPECT_EQ(find("S2.WAV")->type, "audio/WAV");
  // The UTF-16 text travels as UTF-8 (the codec leaves the editor's byte-order mark out).
  bool text8 = false;
  for (const EncodedPart& p : parts) text8 = text8 || p.bytes == "Ch\xC3\xA0o";
  EXPECT_TRUE(text8);
}

TEST_F(BuildMeasure, TextsThatSayNothingTravelAsNoTextAndTheRestStillEncodes) {
  Pages(4);
  const std::string empty, markOnly = "\xFF\xFE", words = editortest::Utf16Le(u"words");
  Put(0, TMediaItem::kText, "empty.txt", &empty);
  Put(1, TMediaItem::kText, "mark.txt", &markOnly);
  Put(2, TMediaItem::kText, "missing.txt");
  Put(3, TMediaItem::kText, "words.txt", &words);
  const std::string picture = Noise(500, 3);
  Put(1, TMediaItem::kImage, "p.jpg", &picture);

  EXPECT_EQ(main->BuildMms(), 1);
  const std::vector<EncodedPart> parts = EncodedParts();
  ASSERT_EQ(parts.size(), 3u);  // the presentation, the picture and the one text
  EXPECT_EQ(parts[1].bytes, picture);
  EXPECT_EQ(parts[2].bytes, "words");
  main->GetPduSize();
  EXPECT_EQ(Caption(main->Controls().Label_Size), "1");
}

TEST_F(BuildMeasure, UnreadableOrEmptyMediaEndTheBuildWithZero) {
  Pages(2);
  const std::string picture = Noise(500, 4), empty;
  Put(0, TMediaItem::kImage, "p.jpg", &picture);
  Put(1, TMediaItem::kImage, "empty.jpg", &empty);
  // The empty picture is refused before the composer takes it: nothing is freed twice (this
  // runs under the address sanitizer too).
  EXPECT_EQ(main->BuildMms(), 0);
  MmsComposerReset();
  main->Init();
  Put(0, TMediaItem::kImage, "gone.jpg", &picture);
  std::remove((app.path() + "/tmp/Image/gone.jpg").c_str());
  EXPECT_EQ(main->BuildMms(), 0);
  const std::string sound = Noise(50, 5);
  main->Init();
  Put(0, TMediaItem::kAudio, "gone.wav");
  EXPECT_EQ(main->BuildMms(), 0);
}

}  // namespace
