// What the colour reduction and the optimiser do to real pictures, as a user would see them in
// TImage controls on a form: screenshots/pictures/gif-reductions.png (a photo as it is, then
// reduced by each of the ten reductions with Floyd-Steinberg, then through the web palette with
// each of the seven dither modes) and screenshots/pictures/gif-optimize.png (each frame of an
// animation before and after Optimize, side by side).
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "GifFixtures.h"
#include "forms/ShellFixture.h"
#include "pictures/color/ColorReduction.h"
#include "pictures/gif/TGIFGraphicControlExtension.h"
#include "pictures/gif/TGIFSubImage.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TJPEGImage.h"
#include "platform/gdi/Gdi.h"
#include "support/SharedData.h"

using platform::headless::Driver;

namespace {

std::filesystem::path BuildFolder() {
  char path[4096] = {};
  const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
  return n > 0 ? std::filesystem::path(path).parent_path().parent_path().parent_path()
               : std::filesystem::current_path();
}

// A form of `cells` TImage controls in rows of `columns`, each `cellWidth` x `cellHeight`,
// captured into the screenshots folder.
void SaveSheet(const std::vector<TBitmap*>& cells, int columns, int cellWidth, int cellHeight,
               const std::string& name) {
  const int rows = int(cells.size() + std::size_t(columns) - 1) / columns;
  Driver().SetScreenSize(cellWidth * columns + 8, cellHeight * rows + 8);
  TForm* form = nullptr;
  Application->CreateForm(form);
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, cellWidth * columns, cellHeight * rows);
  form->SetColor(clWhite);
  for (std::size_t i = 0; i < cells.size(); ++i) {
    auto* image = new TImage(form);
    image->Picture()->Assign(cells[i]);
    image->SetBounds(int(i % std::size_t(columns)) * cellWidth + 2,
                     int(i / std::size_t(columns)) * cellHeight + 2, cells[i]->Width(), cells[i]->Height());
    image->SetParent(form);
  }
  form->Show();
  Driver().RunUntilIdle();
  const std::filesystem::path folder = BuildFolder() / "screenshots" / "pictures";
  std::filesystem::create_directories(folder);
  EXPECT_TRUE(Driver().SavePng(form->Handle(), (folder / name).string()));
  form->Release();
  Driver().RunUntilIdle();
}

// The screen after each frame, as 24-bit bitmaps (transparent areas white).
std::vector<std::unique_ptr<TBitmap>> Frames(TGIFImage& image) {
  std::vector<std::unique_ptr<TBitmap>> out;
  const int width = image.Width(), height = image.Height();
  std::vector<COLORREF> canvas(std::size_t(width * height), RGB(255, 255, 255));
  for (int i = 0; i < image.Images()->Count(); ++i) {
    TGIFSubImage* frame = image.Images()->GetImage(i);
    if (frame->GetEmpty()) continue;
    TGIFGraphicControlExtension* control = frame->GraphicControlExtension();
    const int disposal = control ? control->GetDisposalValue() : 0;
    const int transparent = frame->Transparent() && control ? control->GetTransparentColorIndex() : -1;
    const auto saved = canvas;
    TGIFColorMap* map = frame->GetActiveColorMap();
    for (int y = 0; y < frame->Height(); ++y)
      for (int x = 0; x < frame->Width(); ++x) {
        const int sx = frame->Left() + x, sy = frame->Top() + y, p = frame->GetScanline(y)[x];
        if (p == transparent || sx >= width || sy >= height || p >= map->Count()) continue;
        const TGIFColor c = map->Colors(p);
        canvas[std::size_t(sy * width + sx)] = RGB(c.Red, c.Green, c.Blue);
      }
    auto bitmap = std::make_unique<TBitmap>();
    bitmap->SetPixelFormat(pf24bit);
    bitmap->SetSize(width, height);
    for (int y = 0; y < height; ++y) {
      BYTE* row = static_cast<BYTE*>(bitmap->ScanLine(y));
      for (int x = 0; x < width; ++x) {
        const COLORREF c = canvas[std::size_t(y * width + x)];
        row[3 * x] = GetBValue(c), row[3 * x + 1] = GetGValue(c), row[3 * x + 2] = GetRValue(c);
      }
    }
    out.push_back(std::move(bitmap));
    if (disposal == 2)
      for (int y = frame->Top(); y < std::min(height, frame->Top() + frame->Height()); ++y)
        for (int x = frame->Left(); x < std::min(width, frame->Left() + frame->Width()); ++x)
          canvas[std::size_t(y * width + x)] = RGB(255, 255, 255);
    if (disposal == 3) canvas = saved;
  }
  return out;
}

using GIFScreenshots = shelltest::ShellTest;

}  // namespace

TEST_F(GIFScreenshots, PhotoThroughEveryReductionAndDitherMode) {
  TJPEGImage jpeg;
  jpeg.LoadFromFile(testsupport::SharedPath("testdata/pillow/jpeg/hopper.jpg").c_str());
  TBitmap photo;
  photo.Assign(&jpeg);
  photo.SetPixelFormat(pf24bit);
  std::vector<std::unique_ptr<TBitmap>> cells;
  cells.push_back(std::make_unique<TBitmap>());
  cells.back()->Assign(&photo);
  HPALETTE given = CreateOptimizedPaletteFromSingleBitmap(&photo, 16, 8, false);
  for (TColorReduction reduction : {rmNone, rmWindows20, rmWindows256, rmWindowsGray, rmMonochrome,
                                    rmGrayScale, rmNetscape, rmQuantize, rmQuantizeWindows, rmPalette})
    cells.emplace_back(ReduceColors(&photo, reduction, TDitherMode::dmFloydSteinberg, 4, given));
  for (int mode = 0; mode < 7; ++mode)
    cells.emplace_back(ReduceColors(&photo, rmNetscape, TDitherMode(mode), 8, nullptr));
  DeleteObject(given);
  std::vector<TBitmap*> sheet;
  for (auto& cell : cells) {
    ASSERT_EQ(cell->Width(), photo.Width());
    sheet.push_back(cell.get());
  }
  SaveSheet(sheet, 6, photo.Width() + 4, photo.Height() + 4, "gif-reductions.png");
}

TEST_F(GIFScreenshots, AnimationBeforeAndAfterOptimize) {
  const auto bytes = testsupport::ReadFileBytes(
      testsupport::SharedPath("testdata/gif/animated_transparent_frame_restoreprev_loop.gif"));
  TGIFImage before, after;
  giftest::Load(before, bytes);
  giftest::Load(after, bytes);
  after.Optimize(0x1F, rmNone, TDitherMode::dmNearest, 8);
  after.OptimizeColorMap();
  auto a = Frames(before), b = Frames(after);
  ASSERT_EQ(a.size(), b.size());
  std::vector<TBitmap*> sheet;
  for (std::size_t i = 0; i < a.size(); ++i) {
    sheet.push_back(a[i].get());
    sheet.push_back(b[i].get());
  }
  SaveSheet(sheet, 2, before.Width() + 8, before.Height() + 8, "gif-optimize.png");
}
