// The picture-state image: its status through the mouse, the leave timer, the pictures and bevels
// of each state, and the panel that keeps one image selected.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "FormFixture.h"
#include "Screenshot.h"
#include "controls/TImImage.h"
#include "controls/TImPanel.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/controls/Controls.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TForm.h"
#include "platform/rtl/Exceptions.h"

namespace {

using platform::headless::Driver;
using skintest::Rgb;

void Solid(TPicture* picture, TColor color, int w = 30, int h = 30) {
  TBitmap b;
  b.SetPixelFormat(pf32bit);
  b.SetSize(w, h);
  b.Canvas()->Brush()->SetColor(color);
  b.Canvas()->FillRect(RECT{0, 0, w, h});
  picture->Assign(&b);
}

class ImImageTest : public skintest::FormFixture {
 protected:
  void SetUp() override {
    FormFixture::SetUp();
    RegisterImImage();
    RegisterImPanel();
    MakeForm(220, 120);
    form->SetColor(clWhite);
    panel = Place<TImPanel>(form, 10, 10, 200, 60);
    panel->SetTransparent(false);
    panel->SetColor(clSilver);
    for (int i = 0; i < 3; ++i) {
      auto* image = Place<TImImage>(panel, 10 + i * 40, 10, 30, 30);
      Solid(image->Picture(), clGray);
      Solid(image->HotPicture(), clYellow);
      Solid(image->SelPicture(), clRed);
      images.push_back(image);
    }
    ShowForm();
  }
  POINT At(TImImage* image, int x, int y) {
    return Driver().ClientPoint(panel->Handle(), image->Left() + x, image->Top() + y);
  }
  std::uint32_t Pixel(TImImage* image, int x, int y) {
    Driver().RunUntilIdle();
    return Driver().Capture(panel->Handle()).At(image->Left() + x, image->Top() + y) & 0xFFFFFF;
  }

  TImPanel* panel = nullptr;
  std::vector<TImImage*> images;
};

TEST_F(ImImageTest, TheMouseMovesTheStatusAndThePictures) {
  TImImage* image = images[0];
  std::vector<std::pair<int, int>> changes;
  image->OnImStatusChanged = [&](TObject* sender, int now, int old) {
    EXPECT_EQ(sender, image);
    changes.emplace_back(now, old);
  };
  Driver().MoveMouse(At(image, 15, 15));
  Driver().RunUntilIdle();
  EXPECT_EQ(image->Status(), imsHot);
  ASSERT_FALSE(changes.empty());
  EXPECT_EQ(changes.back(), std::make_pair(1, 0));
  EXPECT_EQ(Pixel(image, 15, 15), Rgb(clYellow));
  EXPECT_EQ(Pixel(image, 0, 0), Rgb(clBtnHighlight));  // raised: light top-left
  EXPECT_EQ(Pixel(image, 29, 29), Rgb(clBtnShadow));

  Driver().Press(0, At(image, 15, 15));
  Driver().RunUntilIdle();
  EXPECT_EQ(image->Status(), imsHot | imsPressed);
  EXPECT_EQ(Pixel(image, 15, 15), Rgb(clRed));
  EXPECT_EQ(Pixel(image, 0, 0), Rgb(clBtnShadow));  // sunken
  EXPECT_TRUE(skintest::SaveScreenshot(panel->Handle(), "imimage-pressed.png"));

  Driver().MoveMouse(At(image, 80, 45));  // out while held
  Driver().RunUntilIdle();
  EXPECT_EQ(image->Status(), 0);
  Driver().MoveMouse(At(image, 15, 15));  // back
  Driver().RunUntilIdle();
  EXPECT_EQ(image->Status(), imsHot | imsPressed);
  Driver().Release(0, At(image, 15, 15));
  Driver().RunUntilIdle();
  EXPECT_EQ(image->Status() & imsPressed, 0);

  // The timer alone notices the pointer gone when no message says so.
  Driver().MoveMouse(Driver().ClientPoint(form->Handle(), 215, 115));
  Driver().RunUntilIdle();
  image->Perform(CM_MOUSEENTER, 0, reinterpret_cast<LPARAM>(image));
  ASSERT_EQ(image->Status(), imsHot);
  ASSERT_TRUE(image->MouseTimer()->Enabled());
  Driver().Advance(200);
  EXPECT_EQ(image->Status() & imsHot, 0);
  EXPECT_FALSE(image->MouseTimer()->Enabled());
}

TEST_F(ImImageTest, ABackgroundImageNeverChangesItsStatus) {
  TImImage* image = images[1];
  image->fSetIsBkgnd(true);
  int fired = 0;
  image->OnImStatusChanged = [&](TObject*, int, int) { ++fired; };
  Driver().MoveMouse(At(image, 15, 15));
  Driver().Click(At(image, 15, 15));
  Driver().RunUntilIdle();
  image->fSetImStatus(imsSelected);
  EXPECT_EQ(image->Status(), 0);
  EXPECT_EQ(fired, 0);
  EXPECT_EQ(Pixel(image, 15, 15), Rgb(clGray));
}

TEST_F(ImImageTest, APanelThatKeepsTheSelectionKeepsOneImageSelected) {
  panel->fSetKeepSelStatus(true);
  Driver().Click(At(images[0], 15, 15));
  Driver().RunUntilIdle();
  EXPECT_EQ(images[0]->Status(), imsSelected);
  Driver().Click(At(images[2], 15, 15));
  Driver().RunUntilIdle();
  EXPECT_EQ(images[0]->Status(), 0);
  EXPECT_EQ(images[2]->Status(), imsSelected);
  Driver().MoveMouse(Driver().ClientPoint(panel->Handle(), 190, 55));  // the panel itself
  Driver().RunUntilIdle();
  EXPECT_EQ(Pixel(images[2], 15, 15), Rgb(clRed));
  EXPECT_TRUE(skintest::SaveScreenshot(panel->Handle(), "impanel-selected.png"));
  panel->fSetKeepSelStatus(false);
  EXPECT_EQ(images[2]->Status(), 0);
  // Without keeping, a click selects nothing.
  Driver().Click(At(images[1], 15, 15));
  Driver().RunUntilIdle();
  EXPECT_EQ(images[1]->Status() & imsSelected, 0);
}

TEST_F(ImImageTest, AFailingStatusHandlerIsToldToTheUser) {
  Application->SetTitle("Skins");
  images[0]->OnImStatusChanged = [](TObject*, int, int) { throw Exception("no status today"); };
  std::vector<std::u16string> seen;
  Driver().OnModal([&](const platform::win::ModalInfo& info) {
    seen = info.texts;
    seen.push_back(info.caption);
    return platform::win::ModalAnswer::Result(IDOK);
  });
  images[0]->fSetImStatus(imsSelected);
  EXPECT_EQ(images[0]->Status(), imsSelected);
  ASSERT_EQ(seen.size(), 3u);  // the message, one button, the title
  EXPECT_EQ(seen[0], u"no status today");
  EXPECT_EQ(seen[2], u"Skins");
}

TEST_F(ImImageTest, AnImageTakenOutOfItsPanelWhileHotLeavesOnTheNextTick) {
  TImImage* image = images[0];
  Driver().MoveMouse(At(image, 15, 15));
  Driver().RunUntilIdle();
  ASSERT_EQ(image->Status(), imsHot);
  int leaves = 0;
  image->OnMouseLeave = [&](TObject*) { ++leaves; };
  image->SetParent(nullptr);
  Driver().Advance(200);
  EXPECT_EQ(image->Status(), 0);
  EXPECT_EQ(leaves, 1);
  EXPECT_FALSE(image->MouseTimer()->Enabled());
  delete image;
}

}  // namespace
