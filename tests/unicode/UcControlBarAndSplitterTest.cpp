// The Unicode control bar and splitter at work, with pictures for a person to look at.
#include <filesystem>

#include "UcFixture.h"
#include "platform/backend/HeadlessDriver.h"
#include "unicode/TUcControlBar.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcPanel.h"
#include "unicode/TUcSplitter.h"

namespace uctest {
namespace {

using UcBarsAndSplitters = UcTest;

void SaveScreenshot(TForm* form, const std::string& path) {
  form->Repaint();
  Driver().RunUntilIdle();
  const auto image = Driver().Capture(form->Handle());
  std::filesystem::create_directories(std::filesystem::path(path).parent_path());
  EXPECT_TRUE(platform::headless::WritePng(path, image.width, image.height, image.pixels.data()));
}

// A band that grows past the bar's width moves the band after it to a new row, and the bar grows
// to hold it; the Khmer texts of the bands stay whole.
TEST_F(UcBarsAndSplitters, AGrowingBandMovesTheNextToANewRow) {
  CodePageScope page(1252);
  TForm* form = NewForm(260, 120);
  auto* bar = Child<TUcControlBar>(form, 10, 10, 200, 40);
  bar->SetAutoSize(true);
  auto* first = Child<TUcEdit>(bar, 0, 0, 80, 20);
  auto* second = Child<TUcEdit>(bar, 0, 0, 80, 20);
  first->SetText(kKhmer);
  second->SetText(kVietnamese);
  EXPECT_TRUE(IsWindowUnicode(bar->Handle()));
  // Each band is its handle (9), the edit and a margin of 2 on each side: two fit in 200.
  EXPECT_EQ(second->Left(), 93 + 11);
  EXPECT_EQ(second->Top(), first->Top());
  EXPECT_EQ(bar->Height(), 26);

  first->SetWidth(120);
  EXPECT_EQ(second->Left(), 11);
  EXPECT_EQ(second->Top(), 26 + 3);
  EXPECT_EQ(bar->Height(), 52);
  EXPECT_EQ(first->Text(), WideString(kKhmer));
  EXPECT_EQ(second->Text(), WideString(kVietnamese));
  SaveScreenshot(form, Screenshots() + "uc-controlbar.png");
}

// Dragging the splitter resizes the panel beside it; the panel after it takes the rest.
TEST_F(UcBarsAndSplitters, DraggingTheSplitterResizesItsNeighbour) {
  CodePageScope page(1252);
  TForm* form = NewForm(260, 120);
  auto* left = Child<TUcPanel>(form, 0, 0, 60, 120);
  left->SetAlign(alLeft);
  left->SetCaption(kKhmer);
  auto* splitter = new TUcSplitter(form);
  splitter->SetParent(form);
  splitter->SetLeft(70);
  splitter->SetAlign(alLeft);
  auto* rest = Child<TUcPanel>(form, 80, 0, 100, 120);
  rest->SetAlign(alClient);
  rest->SetCaption(kVietnamese);
  ASSERT_EQ(splitter->Left(), 60);
  const POINT at = Driver().ClientPoint(form->Handle(), 61, 40);
  Driver().Press(0, at);
  Driver().MoveMouse(POINT{at.x + 40, at.y});
  Driver().Release(0, POINT{at.x + 40, at.y});
  Driver().RunUntilIdle();
  EXPECT_EQ(left->Width(), 100);
  EXPECT_EQ(splitter->Left(), 100);
  EXPECT_EQ(rest->Left(), 100 + splitter->Width());
  EXPECT_EQ(rest->Width(), 260 - 100 - splitter->Width());
  EXPECT_EQ(WindowText(left->Handle()), kKhmer);
  SaveScreenshot(form, Screenshots() + "uc-splitter.png");
}

}  // namespace
}  // namespace uctest
