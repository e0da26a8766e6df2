// The hidden page-layout canvas: the page's place, selecting, dragging and resizing regions
// through the mouse handlers, the refusals that keep a region inside the page and at least
// 1 x 1, and items drawn where their regions are.
#include <sys/stat.h>

#include <fstream>

#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TPicture.h"
#include "tests/editor/CommandFixture.h"
#include "tests/editor/SolidPicture.h"

namespace {

using editortest::CommandTest;
using editortest::SolidBmp;

constexpr uint32_t kPictureRef = 0x40A020;  // 0x20A040 as the canvas reports it

class PageCanvas : public CommandTest {
 protected:
  void SetUp() override {
    CommandTest::SetUp();
    const std::string bytes = SolidBmp(200, 150, 0x20A040);
    Put(0, TMediaItem::kImage, "p.bmp", &bytes);
    main->DrawPage(0);
  }
  uint32_t CanvasPixel(int x, int y) {
    return uint32_t(main->PageCanvas()->Canvas()->Pixels(x, y)) & 0xFFFFFF;
  }
  // Canvas point of page point (x, y).
  int X(int x) { return main->GetPageRect().left + x; }
  int Y(int y) { return main->GetPageRect().top + y; }
};

TEST_F(PageCanvas, ThePageSitsOnTheCanvasByTheRootWidth) {
  const RECT page = main->GetPageRect();
  EXPECT_EQ(page.left, 58);
  EXPECT_EQ(page.top, 20);
  EXPECT_EQ(page.right, 185);
  EXPECT_EQ(page.bottom, 9984);
  // Without a document: an empty page, and nothing on the canvas faults.
  std::unique_ptr<TK3VNMms> held = main->Document().ReplaceMessage(nullptr);
  const RECT none = main->GetPageRect();
  EXPECT_EQ(none.left, 122);
  EXPECT_EQ(none.right, 121);
  main->FormResize(main);
  main->imgMivoraMouseMove(main, 0, 100, 100);
  main->imgMivoraMouseDown(main, mbLeft, ssLeft, 100, 100);
  main->imgMivoraMouseUp(main, mbLeft, 0, 100, 100);
  main->Document().ReplaceMessage(std::move(held));
}

TEST_F(PageCanvas, IsMadeWhenItsPixelsAreFirstReadAndBlankedAgainByANewDocument) {
  // Start-up and drawing the page leave the tall canvas unmade.
  EXPECT_EQ(main->Controls().imgMivora->Picture()->Bitmap()->Height(), 0);
  EXPECT_EQ(main->PageCanvas()->Height(), main->Controls().imgMivora->Height());
  EXPECT_EQ(CanvasPixel(X(20), Y(main->Mms()->GetRegionTop("Img") + 20)), kPictureRef);
  EXPECT_EQ(CanvasPixel(2, 2), 0xFFFFFFu);
  // Whatever was drawn beside the page is gone once the canvas is blanked.
  main->PageCanvas()->Canvas()->SetPixels(2, 2, clBlack);
  main->ClearPageCanvas();
  main->DrawPage(0);
  EXPECT_EQ(CanvasPixel(2, 2), 0xFFFFFFu);
  EXPECT_EQ(CanvasPixel(X(20), Y(main->Mms()->GetRegionTop("Img") + 20)), kPictureRef);
}

TEST_F(PageCanvas, DraggingARegionStaysInsideThePageAndChangesTheDocumentOnRelease) {
  ASSERT_EQ(main->Mms()->GetRegionWidth("Img"), 120);
  ASSERT_EQ(main->Mms()->GetRegionLeft("Img"), 4);
  const int top = main->Mms()->GetRegionTop("Img");
  main->imgMivoraMouseDown(main, mbLeft, ssLeft, X(20), Y(top + 20));
  EXPECT_EQ(main->SelectedKind(), 2);
  main->imgMivoraMouseMove(main, ssLeft, X(70), Y(top + 20));
  EXPECT_EQ(main->StoredPosition().x, 7);
  EXPECT_EQ(main->Mms()->GetRegionLeft("Img"), 4);  // not before the release
  main->imgMivoraMouseUp(main, mbLeft, 0, X(70), Y(top + 20));
  EXPECT_EQ(main->Mms()->GetRegionLeft("Img"), 7);
}

TEST_F(PageCanvas, HandlesAreFoundInOrderWithTheirCursors) {
  const int top = main->Mms()->GetRegionTop("Img");
  const int left = main->Mms()->GetRegionLeft("Img");
  const int right = left + main->Mms()->GetRegionWidth("Img") - 1;
  const int bottom = top + main->Mms()->GetRegionHeight("Img") - 1;
  main->imgMivoraMouseDown(main, mbLeft, ssLeft, X(left + 20), Y(top + 20));
  main->imgMivoraMouseUp(main, mbLeft, 0, X(left + 20), Y(top + 20));
  struct Case {
    int x, y, handle;
    TCursor cursor;
  } cases[] = {
      {left, top, 1, crSizeNWSE},
      {right + 2, top - 2, 2, crSizeNESW},
      {left, bottom, 3, crSizeNESW},
      {right, bottom + 2, 4, crSizeNWSE},
      {left, (top + bottom) / 2, 5, crSizeWE},
      {right, (top + bottom) / 2, 6, crSizeWE},
      {(left + right) / 2, top, 7, crSizeNS},
      {(left + right) / 2, bottom, 8, crSizeNS},
      {left + 20, top + 20, 0, crDefault},
      {right + 3, top, 0, crDefault},
  };
  for (const Case& c : cases) {
    main->imgMivoraMouseMove(main, 0, X(c.x), Y(c.y));
    EXPECT_EQ(main->ResizeHandle(), c.handle) << c.x << "," << c.y;
    EXPECT_EQ(main->Controls().imgMivora->Cursor(), c.cursor) << c.x << "," << c.y;
  }
}

TEST(KeepAspect, TheDivisionComesFirstAndADegenerateRegionIsLeftAlone) {
  struct Case {
    int w, h, dx, dy, wantDx, wantDy;
  } cases[] = {
      {50, 50, 10, 3, 10, 10}, {120, 28, 10, 3, 10, 0}, {0, 28, 10, 3, 10, 3},
      {28, 0, 3, 10, 3, 10},   {28, 120, 3, 10, 0, 10},
  };
  for (const Case& c : cases) {
    int dx = c.dx, dy = c.dy;
    TfrmMain::KeepAspect(1, c.w, c.h, dx, dy);
    EXPECT_EQ(dx, c.wantDx) << c.w << "x" << c.h;
    EXPECT_EQ(dy, c.wantDy) << c.w << "x" << c.h;
  }
}

TEST_F(PageCanvas, ARectangleOutsideThePageOrBelowOnePixelIsRefused) {
  main->SetSelectedKind(2);
  const int left = main->Mms()->GetRegionLeft("Img"), top = main->Mms()->GetRegionTop("Img");
  const int width = main->Mms()->GetRegionWidth("Img"), height = main->Mms()->GetRegionHeight("Img");
  struct Case {
    int left, top, height, width;
  } refused[] = {
      {-1, top, height, width}, {8, top, height, width}, {left, top, 9964, width},
      {left, top, height, 0},   {left, top, 0, width},
  };
  for (const Case& c : refused) {
    EXPECT_EQ(main->ApplyRegionRect(c.left, c.top, c.height, c.width), TfrmMain::kOutsidePage) << c.left;
    EXPECT_EQ(main->Mms()->GetRegionLeft("Img"), left);
    EXPECT_EQ(main->Mms()->GetRegionWidth("Img"), width);
    EXPECT_EQ(main->Mms()->GetRegionHeight("Img"), height);
  }
  EXPECT_EQ(main->ApplyRegionRect(left, top, 60, 80), 0);
  EXPECT_EQ(main->Mms()->GetRegionWidth("Img"), 80);
}

TEST_F(PageCanvas, ItemsAreDrawnWhereTheirRegionsAre) {
  main->Mms()->MoveRegion("Img", 4, 50, 9964);
  main->DrawPage(0);
  EXPECT_EQ(CanvasPixel(X(4) + 2, Y(50) + 2), kPictureRef);  // canvas y 70
  EXPECT_NE(CanvasPixel(X(4) + 2, Y(50) - 2), kPictureRef);
}

TEST_F(PageCanvas, APageBitmapOfAnotherWidthOrHeightIsRefused) {
  const RECT page = main->GetPageRect();
  const int w = page.right - page.left + 6, h = page.bottom - page.top + 6;
  for (auto [bw, bh, want] : {std::tuple{w, h, 0}, {w + 1, h, -14}, {w, h - 1, -14}, {w - 1, h + 1, -14}}) {
    TBitmap bitmap;
    bitmap.SetSize(bw, bh);
    EXPECT_EQ(main->BlitPage(&bitmap), want) << bw << "x" << bh;
  }
}

TEST_F(PageCanvas, APictureRegionWithoutRoomDrawsNothing) {
  TBitmap bitmap;
  main->Mms()->SetRegionWidth("Img", 0);
  EXPECT_EQ(main->DrawPictureFitted(0, &bitmap, -1, -1), -1);
  main->Mms()->SetRegionWidth("Img", 120);
  EXPECT_EQ(main->DrawPictureFitted(0, &bitmap, -1, -1), 0);
  EXPECT_EQ(bitmap.Width(), 120);
  EXPECT_EQ(bitmap.Height(), 90);
  EXPECT_EQ(main->DrawPictureFitted(0, &bitmap, 70, 98), 0);
  EXPECT_EQ(bitmap.Width(), 93);
  EXPECT_EQ(main->DrawPictureFitted(1, &bitmap, 70, 98), -1);  // no such page
}

TEST_F(PageCanvas, TheSelectedRegionAsAPersonWouldSeeIt) {
  const int top = main->Mms()->GetRegionTop("Img");
  main->imgMivoraMouseDown(main, mbLeft, ssLeft, X(20), Y(top + 20));
  main->imgMivoraMouseUp(main, mbLeft, 0, X(20), Y(top + 20));
  TCanvas* canvas = main->PageCanvas()->Canvas();
  const int width = main->Controls().imgMivora->Width(), height = 200;
  std::vector<uint32_t> pixels(size_t(width * height));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t c = uint32_t(canvas->Pixels(x, y));
      pixels[size_t(y * width + x)] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
  }
  mkdir(MMS_SCREENSHOT_DIR, 0755);
  EXPECT_TRUE(platform::headless::WritePng(std::string(MMS_SCREENSHOT_DIR) + "/page-canvas.png", width,
                                           height, pixels.data()));
  // The selection outline is blue (0xFF0000 in the form library's order) at the region's corner.
  const int left = main->Mms()->GetRegionLeft("Img");
  EXPECT_EQ(uint32_t(canvas->Pixels(X(left) - 2, Y(top) - 2)) & 0xFFFFFF, 0xFF0000u);
}

}  // namespace
