// The Unicode image and picture: files under UTF-16 names, a save that never loses the old
// file, and wide text on a canvas.
#include <filesystem>
#include <fstream>

#include "UcFixture.h"
#include "platform/forms/TBitmap.h"
#include "platform/rtl/Exceptions.h"
#include "support/SharedData.h"
#include "support/TempDir.h"
#include "unicode/CodePageConversion.h"
#include "unicode/TUcImage.h"
#include "unicode/WideCanvasText.h"

namespace uctest {
namespace {

namespace fs = std::filesystem;

// A bitmap whose saving fails halfway, after it wrote some bytes.
class TFailingBitmap : public TBitmap {
 public:
  void SaveToFile(const AnsiString& fileName) override {
    std::ofstream(fileName.c_str()) << "half";
    throw EWriteError("Stream write error");
  }
};

class UcPicture : public UcTest {
 protected:
  WideString Wide(const std::string& utf8) { return UTF8ToWideString(AnsiString(utf8.c_str())); }
  std::string Bitmap(const std::string& path, int width) {
    TBitmap b;
    b.SetSize(width, 7);
    b.SaveToFile(AnsiString(path.c_str()));
    return path;
  }
  static std::vector<std::string> Names(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  testsupport::TempDir temp;
};

TEST_F(UcPicture, PicturesLoadFromAKhmerFolderWhateverTheCodePage) {
  const std::string folder = temp.file("\xE1\x9E\x80\xE1\x9E\x81");  // ក ខ
  fs::create_directory(folder);
  Bitmap(folder + "/a.bmp", 11);
  for (UINT cp : {1252u, 65001u}) {
    CodePageScope page(cp);
    TUcPicture picture;
    picture.LoadFromFile(Wide(folder + "/a.bmp"));
    EXPECT_EQ(picture.Width(), 11);
  }
  const std::string jpeg = folder + "/photo.JPEG";
  fs::copy_file(testsupport::SharedPath("testdata/pillow/jpeg/hopper_16bit_qtables.jpg"), jpeg);
  TUcPicture photo;
  photo.LoadFromFile(Wide(jpeg));
  EXPECT_GT(photo.Width(), 0);
}

TEST_F(UcPicture, SavingReplacesTheTargetAndAnEmptyPictureWritesNothing) {
  const std::string target = Bitmap(temp.file("\xE1\x9E\x80.bmp"), 3);
  TUcPicture picture;
  picture.SaveToFile(Wide(target));
  TUcPicture reread;
  reread.LoadFromFile(Wide(target));
  EXPECT_EQ(reread.Width(), 3);  // nothing was written over it

  TBitmap b;
  b.SetSize(9, 2);
  picture.SetGraphic(&b);
  picture.SaveToFile(Wide(target));
  reread.LoadFromFile(Wide(target));
  EXPECT_EQ(reread.Width(), 9);
  EXPECT_EQ(Names(temp.path()), std::vector<std::string>{"\xE1\x9E\x80.bmp"});
}

TEST_F(UcPicture, AFailedSaveKeepsTheOldFileAndLeavesNoTemporaryFile) {
  const std::string target = Bitmap(temp.file("old.bmp"), 5);
  TUcPicture failing;
  TPicture::RegisterFileFormat<TFailingBitmap>("failing", "Failing", "TFailingBitmap");
  TFailingBitmap half;
  failing.SetGraphic(&half);
  TPicture::UnregisterGraphicClass(&typeid(TFailingBitmap));
  EXPECT_THROW(failing.SaveToFile(Wide(target)), EWriteError);
  EXPECT_EQ(Names(temp.path()), std::vector<std::string>{"old.bmp"});

  // A folder in the target's place that cannot be replaced.
  const std::string folder = temp.file("folder.bmp");
  fs::create_directory(folder);
  std::ofstream(folder + "/inside") << "x";
  TUcPicture good;
  TBitmap b;
  b.SetSize(4, 4);
  good.SetGraphic(&b);
  EXPECT_ANY_THROW(good.SaveToFile(Wide(folder)));
  EXPECT_TRUE(fs::is_directory(folder));
  EXPECT_EQ(Names(temp.path()), (std::vector<std::string>{"folder.bmp", "old.bmp"}));
  TUcPicture reread;
  reread.LoadFromFile(Wide(target));
  EXPECT_EQ(reread.Width(), 5);
}

TEST_F(UcPicture, TheImagesPictureIsTheUnicodeOneAndKeepsTheImageInformed) {
  TForm* form = NewForm();
  auto* image = Child<TUcImage>(form, 0, 0, 50, 50);
  image->SetIncrementalDisplay(true);
  TBitmap b;
  b.SetSize(20, 20);
  image->Picture()->SetGraphic(&b);
  image->Picture()->OnProgress(image->Picture(), psRunning, 50, true, RECT{0, 0, 1, 1}, "");
  const std::string path = Bitmap(temp.file("\xE1\x9E\x82.bmp"), 6);
  image->Picture()->LoadFromFile(Wide(path));
  EXPECT_EQ(image->Picture()->Width(), 6);
}

TEST_F(UcPicture, WideTextOnACanvasMovesThePenAndFillsUnlessTheBrushIsClear) {
  Driver().UseFixedMetricFont(6, 13);
  TBitmap bitmap;
  bitmap.SetSize(100, 40);
  TCanvas* canvas = bitmap.Canvas();
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(RECT{0, 0, 100, 40});
  WideCanvasTextOut(canvas, 10, 5, kKhmer);
  EXPECT_EQ(canvas->PenPos().x, 10 + 9 * 6);
  EXPECT_EQ(canvas->PenPos().y, 5);
  EXPECT_EQ(WideCanvasTextWidth(canvas, kKhmer), 54);
  EXPECT_EQ(WideCanvasTextHeight(canvas, kKhmer), 13);

  canvas->Brush()->SetColor(clRed);
  WideCanvasTextRect(canvas, RECT{0, 20, 100, 40}, 2, 22, u"\u1780");
  EXPECT_EQ(canvas->Pixels(90, 35) & 0xFFFFFF, 0x0000FFu);  // opaque: the rectangle is red
  canvas->Brush()->SetColor(clWhite);
  canvas->FillRect(RECT{0, 20, 100, 40});
  canvas->Brush()->SetStyle(bsClear);
  WideCanvasTextRect(canvas, RECT{0, 20, 100, 40}, 2, 22, u"\u1780");
  EXPECT_EQ(canvas->Pixels(90, 35) & 0xFFFFFF, 0xFFFFFFu);
  Driver().UseFixedMetricFont(0, 0);
}

}  // namespace
}  // namespace uctest
