// The bordered picture panel: showing through to its parent, its own picture and its bevel
// colours.
#include <gtest/gtest.h>

#include "FormFixture.h"
#include "Screenshot.h"
#include "controls/TQvBackImage.h"
#include "controls/TTarnelPanel.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TForm.h"

namespace {

using platform::headless::Driver;
using skintest::Rgb;

class TarnelPanelTest : public skintest::FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    RegisterTarnelPanel();
    MakeForm(240, 140);
    form->SetColor(clWhite);
    // Stripes behind the panel: red and blue columns 10 pixels wide.
    backdrop = Place<TQvBackImage>(form, 0, 0, 240, 140);
    TBitmap stripes;
    stripes.SetPixelFormat(pf32bit);
    stripes.SetSize(20, 20);
    stripes.Canvas()->Brush()->SetColor(clRed);
    stripes.Canvas()->FillRect(RECT{0, 0, 10, 20});
    stripes.Canvas()->Brush()->SetColor(clBlue);
    stripes.Canvas()->FillRect(RECT{10, 0, 20, 20});
    backdrop->Picture()->Assign(&stripes);
    panel = Place<TTarnelPanel>(form, 25, 20, 120, 60);
    panel->SetCaption("Tarnel");
    ShowForm();
  }
  std::uint32_t At(int x, int y) {
    Driver().RunUntilIdle();
    return Driver().Capture(panel->Handle()).At(x, y) & 0xFFFFFF;
  }

  TQvBackImage* backdrop = nullptr;
  TTarnelPanel* panel = nullptr;
};

TEST_F(TarnelPanelTest, ATransparentPanelShowsAndFollowsItsParent) {
  // Panel x 3 is form x 28, in a red column; panel x 6 is form x 31, in a blue one.
  EXPECT_EQ(At(3, 30), Rgb(clRed));
  EXPECT_EQ(At(6, 30), Rgb(clBlue));
  EXPECT_TRUE(skintest::SaveScreenshot(form->Handle(), "tarnelpanel.png"));
  backdrop->Picture()->Assign(nullptr);  // the parent changes: the next paint captures it again
  backdrop->SetVisible(false);
  panel->Invalidate();
  EXPECT_EQ(At(5, 30), Rgb(clWhite));
  // Opaque: the panel's own colour.
  panel->SetTransparent(false);
  panel->SetColor(clLime);
  EXPECT_EQ(At(5, 30), Rgb(clLime));
}

TEST_F(TarnelPanelTest, BevelsTakeTheColoursOfTheirSlots) {
  panel->SetTransparent(false);
  panel->SetBevelOuter(bvLowered);
  panel->Colors()->SetShadowColor(clPurple);
  EXPECT_EQ(At(0, 30), Rgb(clPurple));  // lowered: the shadow colour top-left
  EXPECT_EQ(At(119, 30), Rgb(clBtnHighlight));
  panel->SetBevelOuter(bvRaised);
  panel->Colors()->SetHighlightColor(clYellow);
  EXPECT_EQ(At(0, 30), Rgb(clYellow));
  EXPECT_EQ(At(119, 30), Rgb(clPurple));
  panel->Colors()->ResetToDefault();
  EXPECT_EQ(At(0, 30), Rgb(clBtnHighlight));
  EXPECT_EQ(At(119, 30), Rgb(clBtnShadow));
  EXPECT_EQ(panel->Colors()->fGetPnColor(7), clDefault);
}

TEST_F(TarnelPanelTest, ThePicturePaintsInItsStyleOverTheBackground) {
  TBitmap dot;
  dot.SetPixelFormat(pf32bit);
  dot.SetSize(4, 4);
  dot.Canvas()->Brush()->SetColor(clGreen);
  dot.Canvas()->FillRect(RECT{0, 0, 4, 4});
  panel->Picture()->Assign(&dot);
  panel->SetTransparent(false);  // a transparent panel draws its picture transparent too
  panel->SetPictureStyle(qvbmsCenter);
  EXPECT_EQ(At(59, 29), Rgb(clGreen));
  EXPECT_NE(At(40, 29), Rgb(clGreen));
  panel->SetPictureStyle(qvbmsStretch);
  EXPECT_EQ(At(40, 29), Rgb(clGreen));
}

}  // namespace
