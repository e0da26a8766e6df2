// A control showing its parent's image behind it.
#include <gtest/gtest.h>

#include "controls/ParentImage.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCustomControl.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TGraphicControl.h"

namespace {

// A parent that paints vertical stripes: red where x % 4 == 0, else its colour.
class TStriped : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    Canvas()->Pen()->SetColor(clRed);
    for (int x = 0; x < Width(); x += 4) {
      Canvas()->MoveTo(x, 0);
      Canvas()->LineTo(x, Height());
    }
  }
};

// A windowless child that draws its parent's image and asks for it again while the parent
// paints its children: the second request must not recurse.
class TSeeThrough : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
  int paints = 0;

 protected:
  void Paint() override {
    ++paints;
    DrawParentImage(this, Canvas());
  }
};

class ParentImageTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::Startup(); }
  void TearDown() override { platform::Shutdown(); }
};

TEST_F(ParentImageTest, TheParentsPixelsAppearUnderTheControl) {
  TForm* form = new TForm(Application);
  auto* parent = new TStriped(form);
  parent->SetParent(form);
  parent->SetBounds(0, 0, 40, 30);
  parent->SetColor(clYellow);
  auto* child = new TSeeThrough(form);
  child->SetBounds(5, 3, 10, 10);
  child->SetParent(parent);
  form->Show();
  platform::headless::Driver().RunUntilIdle();

  TBitmap picture;
  picture.SetPixelFormat(pf32bit);
  picture.SetSize(10, 10);
  DrawParentImage(child, picture.Canvas(), true);
  // Child x 3 is parent x 8 (a stripe), child x 0 is parent x 5 (the parent's colour).
  EXPECT_EQ(picture.Canvas()->Pixels(3, 4) & 0xFFFFFF, ColorToRGB(clRed));
  EXPECT_EQ(picture.Canvas()->Pixels(0, 4) & 0xFFFFFF, ColorToRGB(clYellow));
  EXPECT_EQ(picture.Canvas()->Pixels(7, 0) & 0xFFFFFF, ColorToRGB(clRed));
  // The parent painted its children too; the child's own request inside that came back empty.
  EXPECT_GE(child->paints, 1);

  TSeeThrough orphan(nullptr);
  DrawParentImage(&orphan, picture.Canvas());  // no parent: nothing to draw
  delete form;
}

}  // namespace
