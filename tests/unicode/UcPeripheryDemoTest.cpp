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
  std::filesystem::create_directories(Screenshots());
  ASSERT_TRUE(Driver().SavePng(demo->Handle(), Screenshots() + "uc-periphery-demo.png"));
  // The captions are drawn: the banner and the radio group show more than their face colour.
  const auto image = Driver().Capture(demo->Handle());
  int inked = 0;
  for (int x = 260; x < 500; ++x) inked += image.At(x, 18) != image.At(510, 18);
  EXPECT_GT(inked, 10);
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
