// What a user of the form library sees: the conformance suite's pictures, four times their
// size over a checkerboard, in TImage controls on a form. The capture is kept under the build
// folder (screenshots/pictures/png-contact-sheet.png) and goes through the PNG picture and back.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "PngTestSupport.h"
#include "forms/ShellFixture.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TPaintBox.h"

using namespace pngtest;
using platform::headless::Driver;

namespace {

// The build folder: two levels above this test program (build/tests/pictures).
std::filesystem::path BuildFolder() {
  char path[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  return n > 0 ? std::filesystem::path(path).parent_path().parent_path().parent_path()
               : std::filesystem::current_path();
}

bool OnTheSheet(const std::string& name) {
  for (const char* prefix : {"basn", "basi", "tb", "tp", "tm", "s", "g"})
    if (name.rfind(prefix, 0) == 0) return true;
  return false;
}

using PngContactSheet = shelltest::ShellTest;

TEST_F(PngContactSheet, SuitePicturesOverACheckerboard) {
  std::vector<std::string> names;
  for (const std::string& name : ValidSuiteFiles())
    if (OnTheSheet(name)) names.push_back(name);
  constexpr int kCell = 164, kColumns = 12;  // the largest picture is 40 pixels
  const int rows = int(names.size() + kColumns - 1) / kColumns;
  Driver().SetScreenSize(kCell * kColumns + 8, kCell * rows + 8);

  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, kCell * kColumns, kCell * rows);
  form->SetColor(clWhite);
  auto* board = new TPaintBox(form);
  board->SetBounds(0, 0, kCell * kColumns, kCell * rows);
  board->SetParent(form);
  board->OnPaint = [board](TObject*) {
    TCanvas* c = board->Canvas();
    for (int y = 0; y < board->Height(); y += 8)
      for (int x = 0; x < board->Width(); x += 8) {
        c->Brush()->SetColor(((x + y) / 8) % 2 ? TColor(RGB(204, 204, 204)) : clWhite);
        c->FillRect(RECT{x, y, x + 8, y + 8});
      }
  };
  for (std::size_t i = 0; i < names.size(); ++i) {
    auto* image = new TImage(form);
    image->Picture()->LoadFromFile(SuitePath(names[i]).c_str());
    const int w = image->Picture()->Width() * 4, h = image->Picture()->Height() * 4;
    image->SetBounds(int(i % kColumns) * kCell + 2, int(i / kColumns) * kCell + 2, w, h);
    image->SetStretch(true);
    image->SetParent(form);
  }
  form->Show();
  Driver().RunUntilIdle();

  const auto capture = Driver().Capture(form->Handle());
  ASSERT_EQ(capture.width, kCell * kColumns);
  const std::filesystem::path folder = BuildFolder() / "screenshots" / "pictures";
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(Driver().SavePng(form->Handle(), (folder / "png-contact-sheet.png").string()));

  // The sheet through the PNG picture and back: the same pixels.
  TPNGObject sheet(COLOR_RGB, 8, capture.width, capture.height);
  for (int y = 0; y < capture.height; ++y) {
    std::uint8_t* row = sheet.GetScanline(std::uint32_t(y));
    for (int x = 0; x < capture.width; ++x) {
      const std::uint32_t p = capture.At(x, y);
      row[3 * x] = std::uint8_t(p), row[3 * x + 1] = std::uint8_t(p >> 8),
              row[3 * x + 2] = std::uint8_t(p >> 16);
    }
  }
  TPNGObject back;
  Load(back, Save(sheet));
  for (int y = 0; y < capture.height; ++y)
    for (int x = 0; x < capture.width; ++x) {
      const COLORREF c = COLORREF(back.GetPixels(x, y));
      ASSERT_EQ(std::uint32_t(GetRValue(c)) << 16 | std::uint32_t(GetGValue(c)) << 8 | GetBValue(c),
                capture.At(x, y))
          << x << "," << y;
    }

  // A cell of an opaque picture shows its pixels through its gamma table.
  const auto cell = [&](const std::string& name) {
    return int(std::find(names.begin(), names.end(), name) - names.begin());
  };
  TPNGObject opaque;
  Load(opaque, SuiteFile("basn2c08.png"));
  const int index = cell("basn2c08.png");
  const COLORREF file = COLORREF(opaque.GetPixels(5, 7));
  const std::uint32_t expected = std::uint32_t(opaque.GammaTable[GetRValue(file)]) << 16 |
                                 std::uint32_t(opaque.GammaTable[GetGValue(file)]) << 8 |
                                 opaque.GammaTable[GetBValue(file)];
  EXPECT_EQ(capture.At(index % kColumns * kCell + 2 + 5 * 4 + 1, index / kColumns * kCell + 2 + 7 * 4 + 1),
            expected);
}

}  // namespace
