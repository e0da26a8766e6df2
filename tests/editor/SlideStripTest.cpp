// The slide strip as a user meets it: where a press lands, what each cell shows (fills, bars,
// thumbnails, shortened texts), dragging pages into a new order, the popup's entries, scrolling
// new pages into view, hints, and a picture inserted by a double click showing as a thumbnail.
// Also the picture-fitting arithmetic and the drop marker's clipping on their own.
#include <sys/stat.h>

#include <cstdio>
#include <fstream>

#include "editor/PictureFit.h"
#include "editor/StripMarker.h"
#include "editor/StripText.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TMenuItem.h"
#include "platform/forms/TScrollBar.h"
#include "platform/rtl/Utf8.h"
#include "support/SharedData.h"
#include "tests/editor/CommandFixture.h"
#include "tests/editor/SolidPicture.h"

namespace {

using editortest::CommandTest;
using editortest::SolidBmp;
using platform::headless::Driver;
using platform::win::ModalAnswer;
using platform::win::ModalInfo;

// Colours as the strip's canvas reports them (COLORREF: red in the low byte).
constexpr uint32_t kSelected = 0xFFC8C8, kUnselected = 0xDEDEDE, kOutline = 0x840000, kWhite = 0xFFFFFF;
constexpr uint32_t kPictureRgb = 0x20A040;  // the test pictures' colour, 0xRRGGBB
constexpr uint32_t kPictureRef = 0x40A020;  // ... as a COLORREF

class SlideStrip : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    Driver().UseFixedMetricFont(6, 13);
  }
  void TearDown() override {
    Driver().UseFixedMetricFont(0, 0);
    CommandTest::TearDown();
  }
  // A strip pixel of page `page`'s cell at cell point (x, y).
  uint32_t Cell(int page, int x, int y) {
    return uint32_t(main->StripBitmap()->Canvas()->Pixels(100 * page + x, 28 + y)) & 0xFFFFFF;
  }
  // A screen point over the strip at strip point (x, y), for the scroll position now.
  POINT StripPoint(int x, int y) {
    return Driver().ClientPoint(
        main->Handle(),
        main->Controls().imgFrameList->Left() + x - main->Controls().scrBarFrameList->Position(),
        main->Controls().imgFrameList->Top() + y + 28);
  }
  std::string Picture(const std::string& name, int width, int height) {
    const std::string path = app.path() + "/" + name;
    std::ofstream(path, std::ios::binary) << SolidBmp(width, height, kPictureRgb);
    return path;
  }
  void Refresh() {
    main->RefreshFrameList();
    Driver().RunUntilIdle();
  }
  std::string Shot(const char* name) {
    mkdir(MMS_SCREENSHOT_DIR, 0755);
    return std::string(MMS_SCREENSHOT_DIR) + "/" + name;
  }
};

TEST(PictureFit, FitsTheBoxOrTheRegionWithItsAspectKept) {
  struct Case {
    int pw, ph, bh, bw, w, h;
  } box[] = {
      {400, 300, 70, 98, 93, 70}, {300, 400, 70, 98, 52, 70}, {227, 149, 70, 98, 97, 64},
      {400, 300, 70, 0, 1, 1},    {400, 300, 70, -2, 1, 1},   {0, 300, 70, 98, 0, 0},
      {400, 0, 70, 98, 0, 0},
  };
  for (const Case& c : box) {
    const SIZE s = FitToBox(c.pw, c.ph, c.bh, c.bw);
    EXPECT_EQ(s.cx, c.w) << c.pw << "x" << c.ph << " in " << c.bw;
    EXPECT_EQ(s.cy, c.h) << c.pw << "x" << c.ph << " in " << c.bw;
  }
  Case region[] = {
      {400, 300, 120, 120, 120, 90}, {300, 400, 120, 120, 90, 120}, {400, 300, 0, 120, 0, 0},
      {400, 300, 120, -5, 0, 0},     {0, 0, 120, 120, 0, 0},
  };
  for (const Case& c : region) {
    const SIZE s = FitToRegion(c.pw, c.ph, c.bh, c.bw);  // region width, height
    EXPECT_EQ(s.cx, c.w) << c.pw << "x" << c.ph;
    EXPECT_EQ(s.cy, c.h) << c.pw << "x" << c.ph;
  }
}

TEST(StripMarker, TheBandStaysInsideTheBitmapAndTheControl) {
  struct Case {
    int x, stripWidth, position, controlWidth, first, count;
  } cases[] = {
      {150, 300, 0, 250, 148, 4},    // inside
      {0, 300, 0, 250, 0, 2},        // page 0's left edge: nothing left of the bitmap
      {300, 300, 51, 250, 298, 2},   // the last page's right edge + 1: nothing past the bitmap
      {300, 300, 50, 250, 298, 1},   // ... and nothing past the control
      {100, 400, 150, 250, 149, 0},  // scrolled away to the left: nothing shows
      {148, 400, 150, 250, 149, 1},  // the band's start lies left of the control
      {260, 400, 0, 250, 0, 0},      // past the control's right edge
  };
  for (const Case& c : cases) {
    const StripBand band = ClipMarkerBand(c.x, c.stripWidth, c.position, c.controlWidth);
    EXPECT_EQ(band.count, c.count) << c.x << " at " << c.position;
    if (c.count) {
      EXPECT_EQ(band.first, c.first) << c.x << " at " << c.position;
    }
  }
}

TEST(StripText, LongTextsAndNamesAreShortenedToTheirBand) {
  auto six = [](const std::u16string& t) { return int(t.size()) * 6; };
  auto forty = [](const std::u16string& t) { return int(t.size()) * 40; };
  EXPECT_EQ(FitCellText(u"Hello", 99, six), u"Hello");
  EXPECT_EQ(FitCellText(std::u16string(30, u'a'), 99, six), std::u16string(9, u'a') + u"...");
  EXPECT_EQ(FitCellText(std::u16string(30, u'a'), 99, forty), u"...");
  // Never half of an emoji.
  const std::u16string emoji = std::u16string(8, u'a') + u"\U0001F600" + std::u16string(21, u'b');
  EXPECT_EQ(FitCellText(emoji, 99, six), std::u16string(8, u'a') + u"...");

  auto bytes6 = [](const std::string& t) { return int(t.size()) * 6; };
  EXPECT_EQ(FitSoundName("averyverylongsoundname.wav", 99, bytes6), "averyverylong...");
  EXPECT_EQ(FitSoundName("short.wav", 99, bytes6), "short.wav");
  // A measurer that answers 0 or a huge width still ends.
  EXPECT_EQ(FitSoundName("abcdef", 99, [](const std::string& t) { return t == "abcdef" ? 1000 : 0; }).back(),
            '.');
  EXPECT_EQ(FitSoundName("abcdef", 99, [](const std::string&) { return 100000; }), "...");
  // UTF-8: a cut never lands inside a character.
  const std::string name = std::string(14, 'a') + "\xE1\xBA\xA1\xE1\xBA\xA1" + "bbbbbbbbbb.wav";
  const std::string fitted = FitSoundName(name, 99, bytes6);
  const std::string head = fitted.substr(0, fitted.size() - 3);
  EXPECT_EQ(name.compare(0, head.size(), head), 0);
  EXPECT_NE(static_cast<unsigned char>(name[head.size()]) & 0xC0, 0x80) << fitted;
}

TEST_F(SlideStrip, APressSelectsThePageOrPartUnderIt) {
  Pages(2);
  using enum StripSelection;
  struct Case {
    int x, y, page;
    StripSelection selection;
  } cases[] = {
      {1, 29, 0, kPage},       {99, 55, 0, kPage},  {50, 56, 0, kPicture}, {50, 143, 0, kPicture},
      {50, 144, 0, kText},     {50, 171, 0, kText}, {50, 172, 0, kSound},  {50, 199, 0, kSound},
      {150, 100, 1, kPicture}, {0, 100, -1, kNone}, {50, 28, -1, kNone},   {50, 200, -1, kNone},
      {210, 100, -1, kNone},
  };
  for (const Case& c : cases) {
    main->Document().SetCurrentPage(0);
    main->SetSelection(StripSelection::kPage);
    main->Controls().Edit_Cur->SetEnabled(true);
    main->SelectStripAt(c.x, c.y);
    EXPECT_EQ(main->Document().CurrentPage(), c.page) << c.x << "," << c.y;
    EXPECT_EQ(main->Selection(), c.selection) << c.x << "," << c.y;
    EXPECT_EQ(main->Controls().Edit_Cur->Enabled(), c.page >= 0) << c.x << "," << c.y;
  }
}

TEST_F(SlideStrip, EachCellShowsItsSelectionBarsThumbnailTextAndSound) {
  Pages(2);
  const std::string picture = Put(0, TMediaItem::kImage, "p.bmp", nullptr);
  std::ofstream(picture, std::ios::binary) << SolidBmp(400, 300, kPictureRgb);
  const std::string text = editortest::Utf16Le(u"Hello");
  Put(0, TMediaItem::kText, "t.txt", &text);
  const std::string sound = "x";
  Put(0, TMediaItem::kAudio, "averyverylongsoundname.wav", &sound);
  // Page 1: a 500 ms picture from 200 ms whose file is gone.
  Put(1, TMediaItem::kImage, "gone.bmp", nullptr);
  TMediaItem* bar = main->Mms()->Body->GetFrame(1)->GetItem(TMediaItem::kImage);
  bar->Begin = 200;
  bar->Dur = 500;
  bar->End = 700;
  main->Document().SetCurrentPage(1);
  main->SetSelection(StripSelection::kPage);
  Refresh();

  EXPECT_EQ(Cell(1, 5, 20), kSelected);
  EXPECT_EQ(Cell(0, 5, 20), kUnselected);
  EXPECT_EQ(Cell(0, 0, 0), kOutline);
  // The bar of page 1 from cell x 20 to 69, its picture missing: no thumbnail, the bar as usual.
  EXPECT_EQ(Cell(1, 19, 60), kWhite);
  EXPECT_EQ(Cell(1, 20, 60), kOutline);
  EXPECT_EQ(Cell(1, 45, 60), kSelected);
  EXPECT_EQ(Cell(1, 69, 60), kOutline);
  EXPECT_EQ(Cell(1, 70, 60), kWhite);
  // Page 0's 93 x 70 thumbnail at (3, 37).
  EXPECT_EQ(Cell(0, 3, 37), kPictureRef);
  EXPECT_EQ(Cell(0, 95, 106), kPictureRef);
  EXPECT_EQ(Cell(0, 2, 37), kUnselected);
  EXPECT_EQ(Cell(0, 96, 106), kUnselected);
  EXPECT_EQ(Cell(0, 3, 36), kUnselected);
  // "Hello" (5 x 6 pixels) in the text band from x 32; ink there, none just before.
  bool ink = false;
  for (int y = 123 - 28 + 28; y < 123 + 13; ++y) ink = ink || Cell(0, 34, y - 28 + 28) != kUnselected;
  EXPECT_TRUE(ink);
  for (int y = 117; y < 143; ++y) EXPECT_EQ(Cell(0, 30, y), kUnselected) << y;
  // The sound name shortened to "averyverylong..." (96 pixels) from x 1.
  bool soundInk = false;
  for (int y = 145; y < 171; ++y) soundInk = soundInk || Cell(0, 2, y) != kUnselected;
  EXPECT_TRUE(soundInk);
}

// A thumbnail shows the whole picture, never magnified, centred in its bar, and the bar's own
// colour where the picture is transparent.
TEST_F(SlideStrip, ThumbnailsShowTheWholePictureOverTheBarsColour) {
  Pages(3);
  // Page 0: 101 x 50 over a 5 s bar, wider than the cell: scaled down to 96 x 48, not cropped.
  std::ofstream(Put(0, TMediaItem::kImage, "wide.bmp", nullptr), std::ios::binary)
      << SolidBmp(101, 50, kPictureRgb);
  main->Mms()->Body->SetFrameDur(0, 5000);
  // Page 1: 30 x 20, smaller than the band: drawn at its own size, centred.
  std::ofstream(Put(1, TMediaItem::kImage, "small.bmp", nullptr), std::ios::binary)
      << SolidBmp(30, 20, kPictureRgb);
  // Page 2: a 100 x 100 disc of 0x8FBC8F whose surroundings are transparent, selected.
  std::ifstream gif(testsupport::SharedPath("testdata/gif/static_transparent.gif"), std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(gif)), std::istreambuf_iterator<char>());
  ASSERT_FALSE(bytes.empty());
  Put(2, TMediaItem::kImage, "disc.gif", &bytes);
  main->Document().SetCurrentPage(2);
  main->SetSelection(StripSelection::kPicture);
  Refresh();

  // The extent of the picture's colour in a cell: left, top, right, bottom (inclusive).
  auto extent = [&](int page, uint32_t colour) {
    RECT r{100, 200, -1, -1};
    for (int y = 28; y < 116; ++y)
      for (int x = 0; x < 100; ++x)
        if (Cell(page, x, y) == colour) {
          r.left = std::min<LONG>(r.left, x), r.top = std::min<LONG>(r.top, y);
          r.right = std::max<LONG>(r.right, x), r.bottom = std::max<LONG>(r.bottom, y);
        }
    return r;
  };
  const RECT wide = extent(0, kPictureRef);
  EXPECT_EQ(wide.right - wide.left + 1, 96);
  EXPECT_EQ(wide.bottom - wide.top + 1, 48);
  EXPECT_EQ(wide.left, 2);
  EXPECT_EQ(Cell(0, 1, 60), kUnselected);
  EXPECT_EQ(Cell(0, 98, 60), kUnselected);
  const RECT small = extent(1, kPictureRef);
  EXPECT_EQ(small.right - small.left + 1, 30);
  EXPECT_EQ(small.bottom - small.top + 1, 20);
  EXPECT_EQ(small.left, 35);
  EXPECT_EQ(small.top, 28 + 34);

  // 70 x 70 at (15, 37): the disc in its middle, the selected bar's colour in its corners and
  // nowhere black.
  EXPECT_EQ(Cell(2, 50, 72), 0x8FBC8Fu);
  for (POINT corner : {POINT{16, 38}, POINT{83, 38}, POINT{16, 105}, POINT{83, 105}})
    EXPECT_EQ(Cell(2, corner.x, corner.y), kSelected) << corner.x << ", " << corner.y;
  int black = 0;
  for (int y = 28; y < 116; ++y)
    for (int x = 1; x < 99; ++x) black += Cell(2, x, y) == 0;
  EXPECT_EQ(black, 0);
  Driver().SavePng(main->Handle(), Shot("strip-thumbnails.png"));
}

TEST_F(SlideStrip, DraggingAPageByItsTitleMovesIt) {
  Pages(3);
  TMmsFrame* a = main->Mms()->Body->GetFrame(0);
  TMmsFrame* b = main->Mms()->Body->GetFrame(1);
  TMmsFrame* c = main->Mms()->Body->GetFrame(2);
  main->Controls().scrBarFrameList->SetPosition(0);
  Refresh();
  Driver().Press(0, StripPoint(50, 10));
  Driver().RunUntilIdle();
  ASSERT_EQ(main->Document().CurrentPage(), 0);
  ASSERT_EQ(main->DragState(), 1);
  Driver().MoveMouse(StripPoint(120, 10));
  Driver().RunUntilIdle();
  {
    // B marked: the band around its right edge shows inverted (C's grey title becomes dark).
    const platform::headless::CaptureImage image = Driver().Capture(main->Handle());
    platform::headless::WritePng(Shot("strip-drag.png"), image.width, image.height, image.pixels.data());
    const int x =
        main->Controls().imgFrameList->Left() + 201 - main->Controls().scrBarFrameList->Position() + 1;
    EXPECT_EQ(image.At(x, main->Controls().imgFrameList->Top() + 28 + 15), 0x212121u);
    EXPECT_EQ(image.At(x + 2, main->Controls().imgFrameList->Top() + 28 + 15), 0xDEDEDEu);
  }
  Driver().MoveMouse(StripPoint(250, 10));
  Driver().RunUntilIdle();
  EXPECT_EQ(main->DragState(), 3);
  EXPECT_EQ(main->DropTarget(), 2);
  Driver().Release(0, StripPoint(250, 10));
  Driver().RunUntilIdle();
  EXPECT_EQ(main->Mms()->Body->GetFrame(0), b);
  EXPECT_EQ(main->Mms()->Body->GetFrame(1), c);
  EXPECT_EQ(main->Mms()->Body->GetFrame(2), a);
  EXPECT_EQ(main->Document().CurrentPage(), 2);
  EXPECT_EQ(main->DragState(), 1);
  EXPECT_EQ(main->DropTarget(), -1);

  // Outside every cell: "no" cursor, and a release there changes nothing.
  Driver().Press(0, StripPoint(250, 10));
  Driver().RunUntilIdle();
  const POINT outside = Driver().ClientPoint(main->Handle(), main->Controls().imgFrameList->Left() + 100,
                                             main->Controls().imgFrameList->Top() + 205);
  Driver().MoveMouse(outside);
  Driver().RunUntilIdle();
  EXPECT_EQ(main->Controls().imgFrameList->Cursor(), crNo);
  Driver().Release(0, outside);
  Driver().RunUntilIdle();
  EXPECT_EQ(main->Mms()->Body->GetFrame(2), a);
  EXPECT_EQ(main->Document().CurrentPage(), 2);
}

TEST_F(SlideStrip, APressOnTheSelectedCellsEdgeOnlyStartsAnEdgeState) {
  Pages(2);
  main->Controls().scrBarFrameList->SetPosition(0);
  main->SelectStripAt(150, 38);
  ASSERT_EQ(main->DragState(), 1);
  const int position = main->Controls().scrBarFrameList->Position();
  main->imgFrameListMouseDown(main, mbLeft, ssLeft, 100 - position, 100);
  EXPECT_EQ(main->DragState(), 6);
  EXPECT_EQ(main->Document().CurrentPage(), 1);
  main->imgFrameListMouseUp(main, mbLeft, 0, 100 - position, 100);
  EXPECT_EQ(main->DragState(), 1);
}

TEST_F(SlideStrip, TheRightClickPopupFollowsTheSelection) {
  Pages(2);
  Put(1, TMediaItem::kImage, "p.bmp", nullptr);
  Refresh();
  std::vector<bool> entries;
  AnswerModals([&](const ModalInfo& info) {
    if (info.kind == ModalInfo::Kind::PopupMenu) {
      entries = {main->Controls().insert_pop->Enabled(), main->Controls().delete_pop->Enabled(),
                 main->Controls().Select_pop->Enabled(), main->Controls().resize_pop->Enabled()};
    }
    return ModalAnswer::Cancel();
  });
  struct Case {
    int x, y;
    std::vector<bool> want;
  } cases[] = {
      {50, 10, {true, true, false, false}},    // a page's title
      {50, 130, {true, false, false, false}},  // a text band without a text
      {150, 60, {true, true, true, true}},     // a picture band with a picture
  };
  for (const Case& c : cases) {
    entries.clear();
    Driver().Press(1, StripPoint(c.x, c.y));
    Driver().Release(1, StripPoint(c.x, c.y));
    Driver().RunUntilIdle();
    EXPECT_EQ(entries, c.want) << c.x << "," << c.y;
  }
}

TEST_F(SlideStrip, NewPagesScrollIntoViewAndTheBarShowsFromThreePages) {
  Refresh();
  EXPECT_FALSE(main->Controls().scrBarFrameList->Visible());
  main->NewFrame();
  main->NewFrame();
  Refresh();
  EXPECT_TRUE(main->Controls().scrBarFrameList->Visible());
  EXPECT_EQ(main->Controls().scrBarFrameList->Max(), 50);
  EXPECT_EQ(main->Controls().scrBarFrameList->Position(), 50);
  main->NewFrame();  // scrolled before the strip is rebuilt
  EXPECT_EQ(main->Controls().scrBarFrameList->Position(), 150);
  silentDelete = true;
  main->Document().SetCurrentPage(3);
  main->actDeletePageExecute(main);
  main->Document().SetCurrentPage(2);
  main->actDeletePageExecute(main);
  silentDelete = false;
  EXPECT_FALSE(main->Controls().scrBarFrameList->Visible());
}

TEST_F(SlideStrip, HoveringABandExplainsWhatADoubleClickInserts) {
  Pages(1);
  Refresh();
  main->imgFrameListMouseMove(main, 0, 50, 28 + 130);
  EXPECT_TRUE(main->Controls().imgFrameList->ShowHint());
  EXPECT_EQ(std::string(main->Controls().imgFrameList->TControl::Hint().c_str()), "<STR_InsertText_Hint>");
  main->imgFrameListMouseMove(main, 0, 50, 28 + 60);
  EXPECT_EQ(std::string(main->Controls().imgFrameList->TControl::Hint().c_str()), "<STR_InsertImg_Hint>");
  main->imgFrameListMouseMove(main, 0, 50, 28 + 160);
  EXPECT_EQ(std::string(main->Controls().imgFrameList->TControl::Hint().c_str()), "<STR_InsertAudio_Hint>");
  main->imgFrameListMouseMove(main, 0, 50, 28 + 10);
  EXPECT_FALSE(main->Controls().imgFrameList->ShowHint());
  main->imgFrameListMouseMove(main, 0, 2, 28 + 60);  // the band's margin
  EXPECT_FALSE(main->Controls().imgFrameList->ShowHint());
}

// The caption of the hint window on screen, empty when none shows.
std::u16string ShownHint() {
  for (HWND hwnd : Driver().Windows()) {
    const platform::headless::WindowDescription d = Driver().Describe(hwnd);
    if (d.visible && d.className.find(u"Hint") != std::u16string::npos) return d.caption;
  }
  return u"";
}

TEST_F(SlideStrip, ARestingPointerShowsTheHintOfItsBandAndMovingOnChangesIt) {
  Pages(1);
  main->Controls().scrBarFrameList->SetPosition(0);
  Refresh();
  // The first move over the band turns the strip's hints on; the pointer then rests.
  Driver().MoveMouse(StripPoint(50, 130));
  Driver().RunUntilIdle();
  Driver().MoveMouse(StripPoint(51, 130));
  Driver().RunUntilIdle();
  Driver().Advance(600);
  EXPECT_EQ(ShownHint(), u"<STR_InsertText_Hint>");
  Driver().MoveMouse(StripPoint(50, 60));
  Driver().RunUntilIdle();
  Driver().Advance(600);
  EXPECT_EQ(ShownHint(), u"<STR_InsertImg_Hint>");
  Driver().MoveMouse(StripPoint(50, 10));
  Driver().RunUntilIdle();
  Driver().Advance(600);
  EXPECT_EQ(ShownHint(), u"");
}

TEST_F(SlideStrip, AMoveAfterThePictureGrewMeasuresTheMessageAgain) {
  Pages(1);
  const std::string small = SolidBmp(20, 20, kPictureRgb);
  const std::string path = Put(0, TMediaItem::kImage, "p.bmp", &small);
  Refresh();
  main->imgFrameListMouseMove(main, 0, 50, 60);
  EXPECT_EQ(Caption(main->Controls().Label_Size), "1");
  std::ofstream(path, std::ios::binary | std::ios::trunc) << SolidBmp(300, 300, kPictureRgb);
  main->imgFrameListMouseMove(main, 0, 50, 60);
  EXPECT_GT(std::stoi(Caption(main->Controls().Label_Size)), 100);
  std::remove(path.c_str());
  Refresh();  // a vanished picture: the cell is painted without a thumbnail
  EXPECT_EQ(Cell(0, 50, 60), kUnselected);
}

// The road a user takes first: select a page's picture band, double-click it, pick a picture;
// the strip shows its thumbnail.
TEST_F(SlideStrip, ADoubleClickOnThePictureBandInsertsAPictureThatShowsAsAThumbnail) {
  const std::string picture = Picture("holiday.bmp", 150, 200);  // 90 KB: within the size limit
  ChooseFile(picture);
  Refresh();
  Driver().Click(StripPoint(50, 60));
  Driver().RunUntilIdle();
  ASSERT_EQ(main->Selection(), StripSelection::kPicture);
  Driver().DoubleClick(StripPoint(50, 60));
  Driver().RunUntilIdle();
  ASSERT_NE(main->Mms()->Body->GetFrame(0)->GetItem(TMediaItem::kImage), nullptr);
  // 52 x 70 centred: from cell (24, 37).
  EXPECT_EQ(Cell(0, 24, 37), kPictureRef);
  EXPECT_EQ(Cell(0, 75, 106), kPictureRef);
  EXPECT_EQ(Cell(0, 23, 37), kSelected);
  // ... and on the control the user looks at.
  const platform::headless::CaptureImage image = Driver().Capture(main->Handle());
  const int left = main->Controls().imgFrameList->Left(), top = main->Controls().imgFrameList->Top();
  EXPECT_EQ(image.At(left + 40, top + 28 + 60), kPictureRgb);
}

// The same through the popup: a right click on the picture band, "Insert", a picture chosen.
TEST_F(SlideStrip, ThePopupsInsertPutsAPictureIntoTheBandClicked) {
  Driver().UseFixedMetricFont(0, 0);  // a screenshot with the system's fonts
  const std::string picture = Picture("boat.bmp", 200, 150);
  main->Controls().scrBarFrameList->SetPosition(0);
  Refresh();
  bool saved = false;
  AnswerModals([&](const ModalInfo& info) {
    if (info.kind == ModalInfo::Kind::OpenDialog) return ModalAnswer::Files({platform::Utf8ToUtf16(picture)});
    if (info.kind != ModalInfo::Kind::PopupMenu) return ModalAnswer::Result(1);
    // The main window with the popup over it, for a person to look at.
    platform::headless::CaptureImage image = Driver().Capture(main->Handle());
    if (info.hwnd) {
      const platform::headless::CaptureImage menu = Driver().Capture(info.hwnd);
      const RECT at = Driver().Describe(info.hwnd).rect, base = Driver().Describe(main->Handle()).rect;
      for (int y = 0; y < menu.height; ++y) {
        for (int x = 0; x < menu.width; ++x) {
          const int tx = at.left - base.left + x, ty = at.top - base.top + y;
          if (tx >= 0 && ty >= 0 && tx < image.width && ty < image.height) {
            image.pixels[size_t(ty * image.width + tx)] = menu.At(x, y);
          }
        }
      }
    }
    saved =
        platform::headless::WritePng(Shot("strip-popup.png"), image.width, image.height, image.pixels.data());
    return ModalAnswer::MenuItem(u"<STR_Main_Menu_Insert>");
  });
  Driver().Press(1, StripPoint(50, 60));
  Driver().Release(1, StripPoint(50, 60));
  Driver().RunUntilIdle();
  EXPECT_TRUE(saved);
  ASSERT_NE(main->Mms()->Body->GetFrame(0)->GetItem(TMediaItem::kImage), nullptr);
  EXPECT_EQ(Cell(0, 3, 37), kPictureRef);  // 93 x 70 from (3, 37)
}

TEST_F(SlideStrip, ThreePagesAsAUserSeesThem) {
  // As the program has it: the skin beside it, the system's fonts.
  AppFile("UI_Mivora/imgFrameListnew.bmp",
          editortest::ReadAll(MMS_SOURCE_DIR "/resources/skin/editor/imgFrameListnew.bmp"));
  Driver().UseFixedMetricFont(0, 0);
  main->Controls().memo_title->SetTextProp("Holiday at the sea");
  const std::string picture = Put(0, TMediaItem::kImage, "sea.bmp", nullptr);
  std::ofstream(picture, std::ios::binary) << SolidBmp(200, 150, kPictureRgb);
  const std::string text = editortest::Utf16Le(u"Hello");
  Put(0, TMediaItem::kText, "t.txt", &text);
  const std::string sound = "x";
  Put(0, TMediaItem::kAudio, "song.wav", &sound);
  main->NewFrame();
  main->NewFrame();
  main->Controls().scrBarFrameList->SetPosition(0);
  Refresh();
  Driver().Click(StripPoint(150, 10));
  Driver().RunUntilIdle();
  ASSERT_EQ(main->Document().CurrentPage(), 1);
  EXPECT_TRUE(main->Controls().scrBarFrameList->Visible());
  const platform::headless::CaptureImage image = Driver().Capture(main->Handle());
  platform::headless::WritePng(Shot("strip-three-pages.png"), image.width, image.height, image.pixels.data());
  const int left = main->Controls().imgFrameList->Left() - main->Controls().scrBarFrameList->Position();
  const int top = main->Controls().imgFrameList->Top() + 28;
  EXPECT_EQ(image.At(left + 105, top + 20), 0xC8C8FFu);  // page 2's title, selected
  EXPECT_EQ(image.At(left + 5, top + 20), 0xDEDEDEu);
  EXPECT_EQ(image.At(left + 40, top + 60), kPictureRgb);  // the thumbnail
  EXPECT_EQ(image.At(left + 2, top + 60), 0xDEDEDEu);
}

}  // namespace
