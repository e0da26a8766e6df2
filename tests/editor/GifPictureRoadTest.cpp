// The road of a GIF picture through the editor: a double click on a page's picture band picks
// an animated GIF; the strip's thumbnail shows its first frame, drawn once into the picture
// cache with no painter left behind; the preview plays it on the fake clock. A GIF cut short
// inside its colour table is refused and changes nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <thread>

#include "CommandFixture.h"
#include "editor/TMmsViewer.h"
#include "editor/TfrmMain.h"
#include "mms/TK3VNMms.h"
#include "mms/TMmsBody.h"
#include "pictures/gif/TGIFImage.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TImage.h"
#include "platform/rtl/TThread.h"
#include "support/SharedData.h"

namespace {

using editortest::CommandTest;
using platform::headless::Driver;

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs the interface thread until painter threads wait on the clock or have ended.
void Settle() {
  for (int i = 0; i < 5000; ++i) {
    Driver().RunUntilIdle();
    const int running = int(platform::RunningThreads());
    if (running == 0 || Driver().clock().BlockedCount() >= running) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  Driver().RunUntilIdle();
}

class GifPictureRoad : public CommandTest {
 protected:
  POINT StripPoint(int x, int y) {
    return Driver().ClientPoint(
        main->Handle(),
        main->Controls().imgFrameList->Left() + x - main->Controls().scrBarFrameList->Position(),
        main->Controls().imgFrameList->Top() + y + 28);
  }
  // The preview's picture a quarter in from its corner, on the main window's surface.
  std::uint32_t PreviewQuarter() {
    TImage* image = MmsViewer->Image1;
    const POINT centre = image->ClientToScreen(POINT{image->Width() / 4, image->Height() / 4});
    const POINT origin = main->ClientToScreen(POINT{0, 0});
    return Driver().Capture(main->Handle()).At(centre.x - origin.x, centre.y - origin.y);
  }
};

// animated_loop.gif shows a disc of 0x98FB98 on 0x8FBC8F; frame 1 adds a square of 0xFFA07A
// over (10, 10) - (40, 40), so a quarter in from the top-left corner tells the frames apart.
constexpr std::uint32_t kBackground = 0x8FBC8F, kFrame0 = 0x98FB98, kFrame1 = 0xFFA07A;

TEST_F(GifPictureRoad, AnAnimatedGifGoesIntoAPageShowsItsFirstFrameAndPlaysInThePreview) {
  const std::string gif = testsupport::SharedPath("testdata/gif/animated_loop.gif");
  ChooseFile(gif);
  main->RefreshFrameList();
  Driver().RunUntilIdle();
  Driver().Click(StripPoint(50, 60));
  Driver().RunUntilIdle();
  ASSERT_EQ(main->Selection(), StripSelection::kPicture);
  Driver().DoubleClick(StripPoint(50, 60));
  Driver().RunUntilIdle();
  ASSERT_NE(main->Mms()->Body->GetFrame(0)->GetItem(TMediaItem::kImage), nullptr);
  // The picture cache drew the picture once and freed it: the only painter left is the one of
  // the preview, which shows the page.
  Settle();
  auto* shown = dynamic_cast<TGIFImage*>(MmsViewer->Image1->Picture()->Graphic());
  ASSERT_NE(shown, nullptr);
  const int previewPainters = shown->Painters()->LockList()->Count();
  shown->Painters()->UnlockList();
  EXPECT_EQ(previewPainters, 1);
  EXPECT_EQ(platform::RunningThreads(), 1u);
  // The thumbnail (wherever it sits in the band) shows frame 0 a quarter in from its corner.
  RECT thumb{1000, 1000, -1, -1};
  for (int y = 0; y < 140; ++y)
    for (int x = 0; x < 100; ++x) {
      const COLORREF c = main->StripBitmap()->Canvas()->Pixels(x, 28 + y) & 0xFFFFFF;
      if (c != kFrame0 && c != kBackground) continue;  // both read the same either way round
      thumb = RECT{std::min<LONG>(thumb.left, x), std::min<LONG>(thumb.top, y),
                   std::max<LONG>(thumb.right, x + 1), std::max<LONG>(thumb.bottom, y + 1)};
    }
  ASSERT_GT(thumb.right - thumb.left, 20);
  const COLORREF quarter = main->StripBitmap()->Canvas()->Pixels(
      thumb.left + (thumb.right - thumb.left) / 4, 28 + thumb.top + (thumb.bottom - thumb.top) / 4);
  EXPECT_EQ(quarter & 0xFFFFFF, kFrame0);

  // The preview shows the page and plays the picture: frame 1 after 1200 ms.
  MmsViewer->ShowFrame(0);
  Driver().RunUntilIdle();
  Settle();
  EXPECT_EQ(PreviewQuarter(), kFrame0);
  Driver().Advance(1199);
  Settle();
  EXPECT_EQ(PreviewQuarter(), kFrame0);
  Driver().Advance(1);
  Settle();
  EXPECT_EQ(PreviewQuarter(), kFrame1);
}

TEST_F(GifPictureRoad, AGifCutInsideItsColorTableIsRefused) {
  const std::string whole = ReadAll(testsupport::SharedPath("testdata/gif/animated_loop.gif"));
  const std::string path = app.path() + "/cut.gif";
  std::ofstream(path, std::ios::binary) << whole.substr(0, 13 + 6);
  main->Init();
  EXPECT_EQ(main->InsertPicture(path.c_str()), -1);
  EXPECT_EQ(main->Mms()->Body->GetFrame(0)->GetItem(TMediaItem::kImage), nullptr);
  EXPECT_EQ(platform::RunningThreads(), 0u);
}

}  // namespace
