// The Unicode controls demo form: read from its layout with every control of the layer's
// periphery, drawn with its Khmer and Vietnamese captions, and used with the mouse and keys.
#include <filesystem>

#include "TUcPeripheryDemo.h"
#include "UcFixture.h"
#include "unicode/TUcGroupButton.h"

namespace uctest {
namespace {

class UcPeripheryDemo : public UcTest {
 protected:
  void SetUp() override {
    UcTest::SetUp();
    RegisterUcPeripheryDemo();
    Application->CreateForm(demo);
    demo->Show();
    Driver().RunUntilIdle();
  }
  TUcPeripheryDemo* demo = nullptr;
};

TEST_F(UcPeripheryDemo, TheFormShowsEveryControlWithItsWideCaption) {
  for (const char* name : {"Banner", "Title", "OkButton", "CancelButton", "Remember", "Choices", "First",
                           "Second", "Languages", "Tools", "Marks", "Dot", "Rule", "Box", "Divider", "Level"})
    EXPECT_NE(demo->FindComponent(name), nullptr) << name;
  EXPECT_TRUE(IsWindowUnicode(demo->Handle()));
  EXPECT_EQ(demo->Languages->ButtonCount(), 5);
  EXPECT_EQ(demo->Languages->Buttons(3)->Left(), demo->Languages->Buttons(0)->Left() + (264 - 10) / 2);
  EXPECT_TRUE(demo->Languages->Buttons(0)->Checked());
  EXPECT_EQ(WindowText(demo->OkButton->Handle()),
            std::u16string(u"&\u1799\u179B\u17CB\u1796\u17D2\u179A\u1798"));
  // The static text took the size of its caption.
  EXPECT_GT(demo->Title->Width(), 40);
  // The captions are drawn: the banner shows more than its face colour.
  auto image = Driver().Capture(demo->Handle());
  int inked = 0;
  for (int x = 260; x < 500; ++x) inked += image.At(x, 18) != image.At(510, 18);
  EXPECT_GT(inked, 10);
  EXPECT_EQ(demo->Cities->Items()->Strings(1), WideString(u"\u1797\u17D2\u1793\u17C6\u1796\u17C1\u1789"));

  // The combo dropped down by a click on its arrow; its list is a window of its own, laid over
  // the form's pixels for the picture.
  Driver().Click(
      Driver().ClientPoint(demo->Places->Handle(), demo->Places->Width() - 8, demo->Places->Height() / 2));
  Driver().RunUntilIdle();
  ASSERT_TRUE(demo->Places->DroppedDown());
  image = Driver().Capture(demo->Handle());
  const HWND popup = GetParent(demo->Places->ListHandle());
  const auto listImage = Driver().Capture(popup);
  RECT fr{}, pr{};
  GetWindowRect(demo->Handle(), &fr);
  GetWindowRect(popup, &pr);
  for (int y = 0; y < listImage.height; ++y)
    for (int x = 0; x < listImage.width; ++x) {
      const int fx = pr.left - fr.left + x, fy = pr.top - fr.top + y;
      if (fx >= 0 && fy >= 0 && fx < image.width && fy < image.height)
        image.pixels[size_t(fy) * size_t(image.width) + size_t(fx)] = listImage.At(x, y);
    }
  std::filesystem::create_directories(Screenshots());
  EXPECT_TRUE(platform::headless::WritePng(Screenshots() + "uc-periphery-demo.png", image.width, image.height,
                                           image.pixels.data()));
  // A Khmer item picked by mouse.
  RECT item{};
  ASSERT_NE(SendMessageW(demo->Places->ListHandle(), LB_GETITEMRECT, 2, reinterpret_cast<LPARAM>(&item)),
            LB_ERR);
  Driver().Click(
      Driver().ClientPoint(demo->Places->ListHandle(), item.left + 10, (item.top + item.bottom) / 2));
  Driver().RunUntilIdle();
  EXPECT_FALSE(demo->Places->DroppedDown());
  EXPECT_EQ(demo->Places->ItemIndex(), 2);
  EXPECT_EQ(demo->Events, (std::vector<std::string>{"PlacesSelect Places"}));
}

TEST_F(UcPeripheryDemo, AClickOnARadioGroupButtonAndAKhmerHotkeyReachTheHandlers) {
  TUcGroupButton* hanoi = demo->Languages->Buttons(3);
  Driver().Click(Driver().ClientPoint(hanoi->Handle(), 6, hanoi->Height() / 2));
  Driver().RunUntilIdle();
  EXPECT_EQ(demo->Languages->ItemIndex(), 3);
  EXPECT_FALSE(demo->Languages->Buttons(0)->Checked());
  EXPECT_EQ(demo->Events, (std::vector<std::string>{"LanguagesClick Languages"}));
  // Alt with the OK button's Khmer hotkey clicks it.
  EXPECT_EQ(demo->Perform(CM_DIALOGCHAR, 0x1799, 0), 1);
  EXPECT_EQ(demo->Events.back(), "ButtonClick OkButton");
}

}  // namespace
}  // namespace uctest
