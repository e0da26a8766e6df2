// The skin picture control: drawing styles, sizing to the picture, and window shapes from masks.
#include <gtest/gtest.h>

#include "FormFixture.h"
#include "controls/TQvBackImage.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCustomControl.h"
#include "platform/forms/TForm.h"
#include "platform/gdi/Gdi.h"

namespace {

using platform::headless::Driver;

// A w x h bitmap in `fill` with `corner` at its top-left pixel.
void Paint(TBitmap& b, int w, int h, TColor fill, TColor corner) {
  b.SetPixelFormat(pf32bit);
  b.SetSize(w, h);
  b.Canvas()->Brush()->SetColor(fill);
  b.Canvas()->FillRect(RECT{0, 0, w, h});
  b.Canvas()->SetPixels(0, 0, corner);
}

class BackImageTest : public skintest::FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    RegisterQvBackImage();
    MakeForm(300, 300);
    form->SetColor(clBlack);
    image = new TQvBackImage(form);
    image->SetParent(form);
    ShowForm();
  }
  std::uint32_t At(int x, int y) { return Driver().Capture(form->Handle()).At(x, y); }

  TQvBackImage* image = nullptr;
};

TEST_F(BackImageTest, TilesFillTheControlRowByRowAndClipTheLast) {
  TBitmap tile;
  Paint(tile, 40, 30, clBlue, clRed);
  image->Picture()->Assign(&tile);
  EXPECT_EQ(image->Style(), qvbmsTiled);
  EXPECT_EQ(image->Width(), 105);
  Driver().RunUntilIdle();
  for (int y : {0, 30, 60, 90})
    for (int x : {0, 40, 80}) EXPECT_EQ(At(x, y), 0xFF0000u) << x << "," << y;
  EXPECT_EQ(At(1, 1), 0x0000FFu);
  EXPECT_EQ(At(104, 104), 0x0000FFu);
  EXPECT_EQ(At(105, 50), 0u);  // outside the control

  image->SetStyle(qvbmsCenter);
  Driver().RunUntilIdle();
  EXPECT_EQ(At((105 - 40) / 2, (105 - 30) / 2), 0xFF0000u);
  EXPECT_EQ(At(0, 0), 0u);

  image->SetStyle(qvbmsStretch);
  Driver().RunUntilIdle();
  EXPECT_EQ(At(104, 104), 0x0000FFu);
  EXPECT_EQ(At(1, 1), 0xFF0000u);  // the corner pixel grows with the stretch
}

TEST_F(BackImageTest, AutoSizeFollowsThePicture) {
  image->SetBounds(0, 0, 50, 60);
  image->SetAutoSize(true);
  EXPECT_EQ(image->Width(), 50);  // no picture: the bounds stay
  TBitmap skin;
  Paint(skin, 497, 361, clWhite, clWhite);
  image->Picture()->Assign(&skin);
  EXPECT_EQ(image->Width(), 497);
  EXPECT_EQ(image->Height(), 361);
  image->SetBounds(0, 0, 10, 10);
  EXPECT_EQ(image->Width(), 497);
}

TEST_F(BackImageTest, WithoutAPictureAnOutlineShowsAndGoesAwayAgain) {
  EXPECT_EQ(At(0, 50), 0xFFFFFFu);  // white XOR black
  EXPECT_EQ(At(50, 50), 0u);
}

TEST_F(BackImageTest, MasksShapeWindowsRunByRow) {
  auto* target = Place<TCustomControl>(form, 150, 150, 20, 10);
  Driver().RunUntilIdle();

  TBitmap mask;
  Paint(mask, 20, 10, clFuchsia, clFuchsia);
  mask.Canvas()->Brush()->SetColor(clWhite);
  mask.Canvas()->FillRect(RECT{5, 2, 15, 8});
  mask.Canvas()->FillRect(RECT{17, 4, 19, 5});  // a second run on one row
  ASSERT_TRUE(TQvBackImage::ApplyShapeTo(target, &mask, true));
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(target->Handle(), shape), 0);
  struct Probe {
    int x, y;
    bool inside;
  } probes[] = {{5, 2, true},  {14, 7, true}, {15, 7, false}, {4, 2, false},  {5, 8, false},
                {17, 4, true}, {18, 4, true}, {16, 4, false}, {17, 5, false}, {0, 0, false}};
  for (const Probe& p : probes) EXPECT_EQ(PtInRegion(shape, p.x, p.y) != 0, p.inside) << p.x << "," << p.y;
  DeleteObject(shape);

  // One colour only: nothing to shape with, and the window keeps its shape.
  TBitmap plain;
  Paint(plain, 20, 10, clLime, clLime);
  EXPECT_FALSE(TQvBackImage::ApplyShapeTo(target, &plain, true));
  HRGN kept = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(target->Handle(), kept), 0);
  EXPECT_TRUE(PtInRegion(kept, 5, 2));
  EXPECT_FALSE(PtInRegion(kept, 0, 0));
  DeleteObject(kept);

  EXPECT_FALSE(TQvBackImage::ApplyShapeTo(target, nullptr, true));
  EXPECT_FALSE(image->ApplyShapeTo(target, true));  // this control has no picture
}

TEST_F(BackImageTest, TheFourthByteOfAMaskDoesNotShapeTheWindow) {
  auto* target = Place<TCustomControl>(form, 150, 150, 20, 10);
  Driver().RunUntilIdle();
  TBitmap mask;
  Paint(mask, 20, 10, clFuchsia, clFuchsia);
  mask.Canvas()->Brush()->SetColor(clWhite);
  mask.Canvas()->FillRect(RECT{5, 2, 15, 8});
  // Key pixels whose fourth byte differs from the corner's are still key pixels.
  mask.SetPixelFormat(pf32bit);
  for (int y = 0; y < 10; ++y) {
    auto* row = static_cast<std::uint32_t*>(mask.ScanLine(y));
    for (int x = 0; x < 20; ++x)
      row[x] = (row[x] & 0xFFFFFF) | (static_cast<std::uint32_t>((x * 37 + y) & 0xFF) << 24);
  }
  ASSERT_TRUE(TQvBackImage::ApplyShapeTo(target, &mask, true));
  HRGN shape = CreateRectRgn(0, 0, 0, 0);
  ASSERT_NE(GetWindowRgn(target->Handle(), shape), 0);
  RECT box{};
  GetRgnBox(shape, &box);
  EXPECT_EQ(box.left, 5);
  EXPECT_EQ(box.top, 2);
  EXPECT_EQ(box.right, 15);
  EXPECT_EQ(box.bottom, 8);
  EXPECT_FALSE(PtInRegion(shape, 1, 1));
  DeleteObject(shape);
}

}  // namespace
