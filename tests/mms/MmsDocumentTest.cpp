// The message document: regions made for the items entering it, item and slide insertion, the
// region operations it passes on, and its behaviour without a head.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "mms/TK3VNMms.h"
#include "mms/TTextMeasurer.h"
#include "support/TempDir.h"
#include "tests/mms/SlideTextFakes.h"

namespace {

using slidetext::Utf16;

struct Rect {
  int left, top, width, height;
};

class MmsDocument : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaultTextMeasurer(std::make_shared<slidetext::FixedWidth>(10));
    // Three lines at 10 pixels a byte in a 120-wide region.
    threeLines = dir.write("three.txt", Utf16("hello world, this is a text", true));
  }
  void TearDown() override { SetDefaultTextMeasurer(nullptr); }

  void ExpectRegion(const std::string& id, Rect r) {
    SCOPED_TRACE(id);
    EXPECT_EQ(mms.GetRegionLeft(id), r.left);
    EXPECT_EQ(mms.GetRegionTop(id), r.top);
    EXPECT_EQ(mms.GetRegionWidth(id), r.width);
    EXPECT_EQ(mms.GetRegionHeight(id), r.height);
  }

  std::unique_ptr<TMmsFrame> SlideWithTextAndPicture() {
    auto frame = std::make_unique<TMmsFrame>();
    frame->SetItem(std::make_unique<TVisualMediaItem>(TMediaItem::kText, threeLines, 0), TMediaItem::kText);
    frame->SetItem(std::make_unique<TVisualMediaItem>(TMediaItem::kImage, "a.jpg", 0), TMediaItem::kImage);
    return frame;
  }

  int RegionCount() const { return mms.Head->Layout->GetRegionCount(); }

  testsupport::TempDir dir;
  std::string threeLines;
  TK3VNMms mms;
};

TEST_F(MmsDocument, StartsWithAnEmptyPageAndNoSlides) {
  EXPECT_EQ(mms.Head->Layout->Root->Width, 128);
  EXPECT_EQ(mms.Head->Layout->Root->Height, 128);
  EXPECT_EQ(RegionCount(), 0);
  EXPECT_EQ(mms.Body->GetFrameCount(), 0);
  EXPECT_EQ(mms.AppendNewFrame(), 0);
  EXPECT_EQ(mms.AppendNewFrame(), 1);
  EXPECT_EQ(mms.Body->GetFrameDur(1), 1000);
  for (int type = 0; type <= 4; ++type) EXPECT_EQ(mms.Body->GetFrame(1)->GetItem(type), nullptr);
  EXPECT_EQ(RegionCount(), 0);
}

TEST_F(MmsDocument, InsertingASlideGivesItsItemsTheirRegions) {
  EXPECT_EQ(mms.InsertFrame(5, SlideWithTextAndPicture()), 0);
  ExpectRegion("Text", {4, 123, 120, 3 * 14});
  ExpectRegion("Img", {4, 0, 120, 120});
  const TMmsFrame* first = mms.Body->GetFrame(0);
  EXPECT_EQ(static_cast<TVisualMediaItem*>(first->GetItem(TMediaItem::kText))->Region, "Text");
  EXPECT_EQ(static_cast<TVisualMediaItem*>(first->GetItem(TMediaItem::kImage))->Region, "Img");
  EXPECT_EQ(RegionCount(), 2);

  // A second slide adds two regions that no lookup reaches.
  mms.SetRegionHeight("Text", 28);
  EXPECT_EQ(mms.InsertFrame(-1, SlideWithTextAndPicture()), 0);
  EXPECT_EQ(RegionCount(), 4);
  ExpectRegion("Text", {4, 123, 120, 28});
  ExpectRegion("Img", {4, 0, 120, 120});
  EXPECT_EQ(mms.InsertFrame(0, nullptr), -1);
  EXPECT_EQ(RegionCount(), 4);
}

TEST_F(MmsDocument, InsertingASlideWithTheUnusedSlotsGivesThemPageSizedRegions) {
  auto frame = std::make_unique<TMmsFrame>();
  frame->SetItem(std::make_unique<TVisualMediaItem>(TMediaItem::kVideo, "v.3gp", 0), TMediaItem::kVideo);
  frame->SetItem(std::make_unique<TVisualMediaItem>(TMediaItem::kRef, "r.bin", 0), TMediaItem::kRef);
  frame->SetItem(std::make_unique<TMediaItem>("s.wav", 0), TMediaItem::kAudio);
  EXPECT_EQ(mms.InsertFrame(0, std::move(frame)), 0);
  EXPECT_EQ(RegionCount(), 2);
  ExpectRegion("Video", {0, 0, 128, 128});
  ExpectRegion("Ref", {0, 0, 128, 128});
  EXPECT_EQ(static_cast<TVisualMediaItem*>(mms.Body->GetFrame(0)->GetItem(TMediaItem::kRef))->Region, "Ref");
}

TEST_F(MmsDocument, ATextEnteringTheDocumentIsMeasuredFromItsUtf16File) {
  // Files with and without the byte-order mark give the same height.
  const std::string plain = dir.write("plain.txt", Utf16("hello world, this is a text", false));
  for (const std::string& path : {threeLines, plain}) {
    SCOPED_TRACE(path);
    TK3VNMms doc;
    doc.AppendNewFrame();
    EXPECT_EQ(doc.SetFrameItemFromFile(0, TMediaItem::kText, path), 0);
    EXPECT_EQ(doc.GetRegionHeight("Text"), 3 * 14);
    EXPECT_EQ(doc.GetRegionTop("Text"), 123);
    const auto* text = static_cast<TVisualMediaItem*>(doc.Body->GetFrame(0)->GetItem(TMediaItem::kText));
    EXPECT_EQ(text->Region, "Text");
    EXPECT_EQ(text->GetType(), TMediaItem::kText);
    EXPECT_EQ(text->End, 1000);
  }
  // An empty text has no lines.
  TK3VNMms doc;
  EXPECT_EQ(doc.SetFrameItemFromFile(0, TMediaItem::kText, dir.write("e.txt", "")), 0);
  EXPECT_EQ(doc.GetRegionHeight("Text"), 0);
}

TEST_F(MmsDocument, SetFrameItemMakesRegionsOnlyForPicturesAndTexts) {
  mms.AppendNewFrame();
  EXPECT_EQ(mms.SetFrameItemFromFile(0, TMediaItem::kAudio, "s.wav"), 0);
  EXPECT_EQ(RegionCount(), 0);
  const TMediaItem* sound = mms.Body->GetFrame(0)->GetItem(TMediaItem::kAudio);
  ASSERT_NE(sound, nullptr);
  EXPECT_EQ(dynamic_cast<const TVisualMediaItem*>(sound), nullptr);
  EXPECT_EQ(sound->Path, "s.wav");

  // Beyond the end: a new slide holding the picture.
  EXPECT_EQ(mms.SetFrameItemFromFile(1, TMediaItem::kImage, "p.jpg"), 0);
  EXPECT_EQ(mms.Body->GetFrameCount(), 2);
  ExpectRegion("Img", {4, 0, 120, 120});
  const auto* picture = static_cast<TVisualMediaItem*>(mms.Body->GetFrame(1)->GetItem(TMediaItem::kImage));
  EXPECT_EQ(picture->Region, "Img");

  EXPECT_EQ(mms.SetFrameItemFromFile(0, TMediaItem::kVideo, "v.3gp"), 0);
  EXPECT_EQ(RegionCount(), 1);
}

TEST_F(MmsDocument, AnItemThatCannotEnterItsSlotIsRefusedBeforeAnyRegionIsMade) {
  mms.AppendNewFrame();
  EXPECT_EQ(mms.SetFrameItem(0, TMediaItem::kText, std::make_unique<TMediaItem>(threeLines, 0)),
            TMmsFrame::kBadType);
  EXPECT_EQ(mms.SetFrameItem(0, TMediaItem::kImage, std::make_unique<TMediaItem>("s.wav", 0)),
            TMmsFrame::kBadType);
  EXPECT_EQ(mms.SetFrameItem(0, TMediaItem::kAudio, std::make_unique<TVisualMediaItem>("Img", "p.jpg", 0)),
            TMmsFrame::kBadType);
  EXPECT_EQ(mms.SetFrameItem(0, TMediaItem::kImage, nullptr), TMmsFrame::kBadType);
  EXPECT_EQ(mms.SetFrameItemFromFile(0, 5, "x"), TMmsFrame::kBadType);
  EXPECT_EQ(mms.SetFrameItemFromFile(3, -1, "x"), TMmsFrame::kBadType);
  EXPECT_EQ(RegionCount(), 0);
  EXPECT_EQ(mms.Body->GetFrameCount(), 1);
  for (int type = 0; type <= 4; ++type) EXPECT_EQ(mms.Body->GetFrame(0)->GetItem(type), nullptr);
}

TEST_F(MmsDocument, GetRegionAtPrefersTheText) {
  EXPECT_EQ(mms.GetRegionAt(10, 10), "Null");
  mms.InsertFrame(0, SlideWithTextAndPicture());  // Img (4,0) 120 x 120, Text (4,123) 120 x 42
  EXPECT_EQ(mms.GetRegionAt(10, 10), "Img");
  EXPECT_EQ(mms.GetRegionAt(10, 130), "Text");
  EXPECT_EQ(mms.GetRegionAt(124, 165), "Text");
  EXPECT_EQ(mms.GetRegionAt(125, 10), "Null");
  EXPECT_EQ(mms.GetRegionAt(2, 2), "Null");
  // Moved onto the picture's lower part, the text is stacked right under it, sharing its edge.
  EXPECT_EQ(mms.MoveRegion("Text", 4, 100, 1000), 0);
  EXPECT_EQ(mms.GetRegionTop("Text"), 120);
  EXPECT_EQ(mms.GetRegionTop("Img"), 0);
  EXPECT_EQ(mms.GetRegionAt(10, 120), "Text");
  EXPECT_EQ(mms.GetRegionAt(10, 119), "Img");
  EXPECT_EQ(mms.RegionContains("Text", 0, 0), -9);
  EXPECT_EQ(mms.RegionContains("Video", 0, 0), -6);
  EXPECT_EQ(mms.HasRegion("Img"), 1);
  EXPECT_EQ(mms.SetRegionWidth("Img", 60), 0);
  EXPECT_EQ(mms.GetRegionWidth("Img"), 60);
}

TEST_F(MmsDocument, WithoutAHeadEveryRegionOperationAnswersZero) {
  mms.Head.reset();
  EXPECT_EQ(mms.InsertFrame(0, SlideWithTextAndPicture()), 0);
  EXPECT_EQ(mms.SetFrameItemFromFile(0, TMediaItem::kImage, "p.jpg"), 0);
  EXPECT_EQ(mms.Body->GetFrameCount(), 1);
  EXPECT_EQ(mms.HasRegion("Img"), 0);
  EXPECT_EQ(mms.GetRegionLeft("Img"), 0);
  EXPECT_EQ(mms.GetRegionTop("Img"), 0);
  EXPECT_EQ(mms.GetRegionWidth("Img"), 0);
  EXPECT_EQ(mms.GetRegionHeight("Img"), 0);
  EXPECT_EQ(mms.SetRegionWidth("Img", 3), 0);
  EXPECT_EQ(mms.SetRegionHeight("Img", 3), 0);
  EXPECT_EQ(mms.MoveRegion("Img", 3, 3, 3), 0);
  EXPECT_EQ(mms.RegionContains("Img", 3, 3), 0);
  EXPECT_EQ(mms.AddRegion(0, "Img", 3, 3, 3, 3, 0), 0);
  EXPECT_EQ(mms.GetRegionAt(10, 10), "Null");
}

}  // namespace
