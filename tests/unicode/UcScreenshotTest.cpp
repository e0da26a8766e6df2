// Pictures of the Unicode controls for a person to look at: labels, an edit and a memo in Khmer
// and Vietnamese, with an open popup menu of Khmer items, one highlighted; under UTF-8 and 1252.
#include <filesystem>

#include "UcFixture.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcLabel.h"
#include "unicode/TUcMemo.h"
#include "unicode/TUcMenuItem.h"
#include "unicode/TUcPopupMenu.h"

namespace uctest {
namespace {

class UcScreenshot : public UcTest, public ::testing::WithParamInterface<UINT> {};

TEST_P(UcScreenshot, TheControlsWithAnOpenPopupMenu) {
  CodePageScope page(GetParam());
  TForm* form = NewForm(460, 280);
  auto* title = Child<TUcLabel>(form, 12, 10, 300, 30);
  title->Font()->SetName("Khmer OS");
  title->Font()->SetSize(14);
  title->SetCaption(kKhmer);
  auto* subjectLabel = Child<TUcLabel>(form, 12, 50, 300, 20);
  subjectLabel->Font()->SetName("Arial");
  subjectLabel->SetCaption(kVietnamese);
  auto* edit = Child<TUcEdit>(form, 12, 75, 260, 26);
  edit->Font()->SetName("Arial");
  edit->SetText(u"Ti\u1EBFng Vi\u1EC7t \u1797\u17B6\u179F\u17B6");
  auto* memo = Child<TUcMemo>(form, 12, 110, 260, 150);
  memo->Font()->SetName("Khmer OS");
  memo->Lines()->SetText(std::u16string(kKhmer) + u"\r\n" + kVietnamese +
                         u"\r\n\u179F\u17BD\u179F\u17D2\u178F\u17B8");

  auto* menu = new TUcPopupMenu(form);
  for (const char16_t* caption : {u"\u1794\u1789\u17D2\u1785\u17BC\u179B", u"\u179B\u17BB\u1794",
                                  u"\u1787\u17D2\u179A\u17BE\u179F\u179A\u17BE\u179F"}) {
    auto* item = new TUcMenuItem(form);
    item->SetCaption(caption);
    menu->Items()->Add(item);
  }
  const POINT at = form->ClientToScreen(POINT{290, 90});
  const std::string name = GetParam() == 1252 ? "uc-controls-1252.png" : "uc-controls-km.png";
  bool saved = false;
  Driver().OnModal([&](const platform::win::ModalInfo& info) {
    return platform::win::ModalAnswer::Drive([&, popup = info.hwnd] {
      Driver().KeyDown(VK_DOWN);
      Driver().KeyUp(VK_DOWN);
      Driver().RunUntilIdle();
      // The form with the menu laid over it where it stands on the screen.
      auto image = Driver().Capture(form->Handle());
      const auto menuImage = Driver().Capture(popup);
      RECT fr{}, mr{};
      GetWindowRect(form->Handle(), &fr);
      GetWindowRect(popup, &mr);
      for (int y = 0; y < menuImage.height; ++y)
        for (int x = 0; x < menuImage.width; ++x) {
          const int fx = mr.left - fr.left + x, fy = mr.top - fr.top + y;
          if (fx < image.width && fy < image.height)
            image.pixels[size_t(fy) * size_t(image.width) + size_t(fx)] = menuImage.At(x, y);
        }
      std::filesystem::create_directories(Screenshots());
      saved =
          platform::headless::WritePng(Screenshots() + name, image.width, image.height, image.pixels.data());
      Driver().KeyDown(VK_ESCAPE);
      Driver().KeyUp(VK_ESCAPE);
    });
  });
  menu->Popup(at.x, at.y);
  EXPECT_TRUE(saved);
  EXPECT_EQ(edit->Text(), WideString(u"Ti\u1EBFng Vi\u1EC7t \u1797\u17B6\u179F\u17B6"));
}

INSTANTIATE_TEST_SUITE_P(CodePages, UcScreenshot, ::testing::Values(65001u, 1252u));

}  // namespace
}  // namespace uctest
