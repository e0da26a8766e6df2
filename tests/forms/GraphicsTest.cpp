// Graphics: bitmaps (BMP files, formats, transparency, sharing), JPEG pictures, the picture
// format registry and the canvas.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TJPEGImage.h"
#include "platform/forms/TPicture.h"
#include "platform/forms/TReader.h"
#include "platform/forms/TWriter.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/TMemoryStream.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

std::string BmpPath(const char* name) {
  return testsupport::SharedPath(std::string("testdata/pillow/bmp/") + name);
}

// Every pixel as 0x00RRGGBB, through a 32-bit copy.
std::vector<std::uint32_t> Pixels(TBitmap& source) {
  TBitmap copy;
  copy.Assign(&source);
  copy.SetPixelFormat(pf32bit);
  std::vector<std::uint32_t> out;
  for (int y = 0; y < copy.Height(); ++y) {
    auto* row = static_cast<std::uint32_t*>(copy.ScanLine(y));
    for (int x = 0; x < copy.Width(); ++x) out.push_back(row[x] & 0xFFFFFF);
  }
  return out;
}

TEST(Bitmaps, EveryEncodingOfTheSamePictureGivesTheSamePixels) {
  struct Group {
    const char* reference;
    std::vector<const char*> others;
  };
  const Group groups[] = {
      {"g_pal8.bmp",
       {"g_pal8-0.bmp", "g_pal8rle.bmp", "g_pal8topdown.bmp", "g_pal8os2.bmp", "g_pal8v4.bmp",
        "g_pal8v5.bmp"}},
      {"g_pal4.bmp", {"g_pal4rle.bmp"}},
      {"g_rgb24.bmp", {"g_rgb32.bmp", "g_rgb32bf.bmp", "g_rgb24pal.bmp"}},
  };
  for (const Group& g : groups) {
    TBitmap reference;
    reference.LoadFromFile(BmpPath(g.reference));
    ASSERT_EQ(reference.Width(), 127) << g.reference;
    ASSERT_EQ(reference.Height(), 64) << g.reference;
    std::vector<std::uint32_t> expected = Pixels(reference);
    for (const char* name : g.others) {
      TBitmap other;
      other.LoadFromFile(BmpPath(name));
      EXPECT_EQ(Pixels(other), expected) << name;
    }
  }
  TBitmap pal8;
  pal8.LoadFromFile(BmpPath("g_pal8.bmp"));
  EXPECT_EQ(pal8.PixelFormat(), pf8bit);
  TBitmap rgb16;
  rgb16.LoadFromFile(BmpPath("g_rgb16-565.bmp"));
  EXPECT_EQ(rgb16.PixelFormat(), pf16bit);
}

TEST(Bitmaps, BadFilesRaiseTheBitmapErrorAndNeverCrash) {
  for (const std::string& path : testsupport::SharedFiles("testdata/pillow/bmp", ".bmp")) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    TBitmap bitmap;
    try {
      bitmap.LoadFromFile(path.c_str());
      EXPECT_NE(name, "b_reallybig.bmp");
      EXPECT_NE(name, "b_shortfile.bmp");
    } catch (const EInvalidGraphic& e) {
      EXPECT_EQ(std::string(e.Message.c_str()), "Bitmap image is not valid") << name;
      EXPECT_TRUE(bitmap.Empty()) << name;
    } catch (const EOutOfResources&) {
      // Masks the drawing layer does not take.
      EXPECT_EQ(name[0], 'q') << name;
    }
  }
}

// A run-length file of 4 x h pixels whose data is one run of four pixels, an end of line and the
// end of the picture (69 bytes).
std::vector<std::uint8_t> ShortRle4(std::int32_t height) {
  std::vector<std::uint8_t> f;
  auto u16 = [&](std::uint32_t v) {
    f.push_back(std::uint8_t(v));
    f.push_back(std::uint8_t(v >> 8));
  };
  auto u32 = [&](std::uint32_t v) {
    u16(v & 0xFFFF);
    u16(v >> 16);
  };
  u16(0x4D42);
  u32(69);
  u32(0);
  u32(62);
  for (std::uint32_t v : {40u, 4u, std::uint32_t(height)}) u32(v);
  u16(1);
  u16(4);
  for (std::uint32_t v : {2u, 6u, 0u, 0u, 2u, 0u}) u32(v);  // RLE4, data size, 2 colours
  for (std::uint8_t b : {0, 0, 0, 0, 255, 255, 255, 0, 0x04, 0x10, 0, 0, 0, 1, 0}) f.push_back(b);
  return f;
}

// A short run-length file naming a picture of hundreds of megabytes is refused before its pixels
// are allocated; the same data for a picture it can reasonably fill reads.
TEST(Bitmaps, AShortRunLengthFileCannotAskForAHugePicture) {
  const struct {
    std::int32_t height;
    bool reads;
  } cases[] = {{33554433, false}, {(1 << 22) + 1, false}, {1000, true}, {1, true}};
  for (const auto& c : cases) {
    const std::vector<std::uint8_t> file = ShortRle4(c.height);
    ASSERT_EQ(file.size(), 69u);
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), static_cast<int>(file.size()));
    stream.SetPosition(0);
    TBitmap bitmap;
    try {
      bitmap.LoadFromStream(&stream);
      EXPECT_TRUE(c.reads) << c.height;
      EXPECT_EQ(bitmap.Height(), c.height);
    } catch (const EInvalidGraphic&) {
      EXPECT_FALSE(c.reads) << c.height;
      EXPECT_TRUE(bitmap.Empty());
    }
  }
}

TEST(Bitmaps, SavedFilesReadBackInEveryPixelFormat) {
  TBitmap source;
  source.LoadFromFile(BmpPath("g_pal8.bmp"));
  for (TPixelFormat f : {pf1bit, pf4bit, pf8bit, pf24bit, pf32bit}) {
    TBitmap b;
    b.Assign(&source);
    b.SetPixelFormat(f);
    TMemoryStream stream;
    b.SaveToStream(&stream);
    const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
    ASSERT_EQ(bytes[0], 'B');
    // Written bottom-up: a positive height.
    std::int32_t height;
    std::memcpy(&height, bytes + 22, 4);
    EXPECT_EQ(height, 64);
    stream.SetPosition(0);
    TBitmap back;
    back.LoadFromStream(&stream);
    EXPECT_EQ(back.PixelFormat(), f);
    EXPECT_EQ(Pixels(back), Pixels(b)) << f;
  }
}

TEST(Bitmaps, ResourcesLoadAsPackedDibsOrFileImages) {
  // Skin pictures are compiled in either as the classic packed DIB or as the whole file.
  static const std::vector<std::uint8_t> file = testsupport::ReadFileBytes(BmpPath("g_pal8.bmp"));
  static const std::vector<std::uint8_t> packed(file.begin() + 14, file.end());
  static const std::vector<std::uint8_t> bad = {40, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F};
  platform::RegisterResource(RT_BITMAP, "TESTFILEIMAGE", file.data(), file.size());
  platform::RegisterResource(RT_BITMAP, "TESTPACKED", packed.data(), packed.size());
  platform::RegisterResource(RT_BITMAP, MAKEINTRESOURCE(4711), packed.data(), packed.size());
  platform::RegisterResource(RT_BITMAP, "TESTBAD", bad.data(), bad.size());
  TBitmap reference;
  reference.LoadFromFile(BmpPath("g_pal8.bmp"));
  for (const char* name : {"TESTFILEIMAGE", "testpacked"}) {
    TBitmap b;
    b.LoadFromResourceName(HInstance, name);
    EXPECT_EQ(Pixels(b), Pixels(reference)) << name;
  }
  TBitmap byId;
  byId.LoadFromResourceID(HInstance, 4711);
  EXPECT_EQ(Pixels(byId), Pixels(reference));

  TBitmap kept;
  kept.LoadFromResourceName(HInstance, "TESTPACKED");
  EXPECT_THROW(kept.LoadFromResourceName(HInstance, "NOSUCHBITMAP"), EResNotFound);
  EXPECT_THROW(kept.LoadFromResourceName(HInstance, "TESTBAD"), EInvalidGraphic);
  EXPECT_EQ(Pixels(kept), Pixels(reference));
}

TEST(Bitmaps, ResizingKeepsTheTopLeftPixelsAndAddsBlack) {
  TBitmap b;
  b.SetPixelFormat(pf24bit);
  b.SetSize(2, 2);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(RECT{0, 0, 2, 2});
  b.SetSize(3, 1);
  EXPECT_EQ(b.PixelFormat(), pf24bit);
  EXPECT_EQ(Pixels(b), (std::vector<std::uint32_t>{0xFF0000, 0xFF0000, 0}));
  EXPECT_THROW(b.ScanLine(1), EInvalidGraphic);
  EXPECT_THROW(b.ScanLine(-1), EInvalidGraphic);
}

TEST(Bitmaps, AssignSharesPixelsUntilOneSideChanges) {
  TBitmap a;
  a.SetSize(2, 1);
  a.Canvas()->Pixels(0, 0);
  a.Canvas()->SetPixels(0, 0, clBlue);
  TBitmap b;
  b.Assign(&a);
  EXPECT_EQ(b.Handle(), b.Handle());
  a.Canvas()->SetPixels(0, 0, clLime);
  EXPECT_EQ(Pixels(b)[0], 0x0000FFu);
  EXPECT_EQ(Pixels(a)[0], 0x00FF00u);
  static_cast<std::uint32_t*>(b.ScanLine(0))[1] = 0x123456;
  EXPECT_EQ(Pixels(a)[1], 0u);
}

// A 3 x 2 picture whose bottom-left pixel (the transparent colour in auto mode) is red.
void MakeKeyed(TBitmap& b) {
  b.SetSize(3, 2);
  auto* top = static_cast<std::uint32_t*>(b.ScanLine(0));
  auto* bottom = static_cast<std::uint32_t*>(b.ScanLine(1));
  top[0] = 0xFF0000;
  top[1] = 0x00FF00;
  top[2] = 0x0000FF;
  bottom[0] = 0xFF0000;
  bottom[1] = 0x000000;
  bottom[2] = 0xFF0000;
}

TEST(Bitmaps, TransparentBitmapsLeaveTheirKeyColourOut) {
  TBitmap keyed;
  MakeKeyed(keyed);
  keyed.SetTransparent(true);
  EXPECT_EQ(keyed.TransparentColor(), clRed);  // memory 0x00RRGGBB, colours 0x00BBGGRR
  TBitmap target;
  target.SetSize(6, 4);
  target.Canvas()->Brush()->SetColor(clWhite);
  target.Canvas()->FillRect(RECT{0, 0, 6, 4});
  target.Canvas()->Draw(0, 0, &keyed);
  std::vector<std::uint32_t> p = Pixels(target);
  EXPECT_EQ(p[0], 0xFFFFFFu);
  EXPECT_EQ(p[1], 0x00FF00u);
  EXPECT_EQ(p[2], 0x0000FFu);
  EXPECT_EQ(p[6 + 1], 0x000000u);
  EXPECT_EQ(p[6 + 2], 0xFFFFFFu);
  // Stretched twice as large: the mask stretches with the picture.
  target.Canvas()->FillRect(RECT{0, 0, 6, 4});
  target.Canvas()->StretchDraw(RECT{0, 0, 6, 4}, &keyed);
  p = Pixels(target);
  EXPECT_EQ(p[0], 0xFFFFFFu);
  EXPECT_EQ(p[1], 0xFFFFFFu);
  EXPECT_EQ(p[2], 0x00FF00u);
  EXPECT_EQ(p[3 * 6 + 2], 0x000000u);
  EXPECT_EQ(p[3 * 6 + 5], 0xFFFFFFu);
  // A fixed colour replaces the bottom-left rule.
  keyed.SetTransparentColor(clLime);
  target.Canvas()->FillRect(RECT{0, 0, 6, 4});
  target.Canvas()->Draw(0, 0, &keyed);
  p = Pixels(target);
  EXPECT_EQ(p[0], 0xFF0000u);
  EXPECT_EQ(p[1], 0xFFFFFFu);
}

TEST(Canvas, ToolsAndTextFollowTheClassicRules) {
  TBitmap b;
  b.SetSize(60, 20);
  TCanvas* c = b.Canvas();
  c->Brush()->SetColor(clYellow);
  c->FillRect(RECT{0, 0, 60, 20});
  EXPECT_EQ(c->Pixels(5, 5), static_cast<COLORREF>(clYellow));
  c->Brush()->SetColor(clRed);
  c->FrameRect(RECT{10, 10, 14, 14});
  EXPECT_EQ(c->Pixels(10, 10), static_cast<COLORREF>(clRed));
  EXPECT_EQ(c->Pixels(11, 11), static_cast<COLORREF>(clYellow));
  int width = c->TextWidth("Hi");
  EXPECT_GT(width, 0);
  EXPECT_GT(c->TextHeight("Hi"), 0);
  c->TextOut(3, 2, "Hi");
  EXPECT_EQ(c->PenPos().x, 3 + width);
  EXPECT_EQ(c->PenPos().y, 2);
  EXPECT_EQ(c->Pixels(100, 100), CLR_INVALID);
  TCanvas bare;
  EXPECT_THROW(bare.FillRect(RECT{0, 0, 1, 1}), EInvalidOperation);
}

// A canvas that is drawn with changing tools holds one handle per tool: each handle a change
// replaces is deleted once the canvas has selected the new one.
TEST(Canvas, ChangingItsToolsWhileDrawingKeepsNoReplacedHandle) {
  TBitmap b;
  b.SetSize(40, 20);
  TCanvas* c = b.Canvas();
  auto draw = [c](int i) {
    c->Brush()->SetColor(TColor(0x010101 * (i % 200)));
    c->Brush()->SetStyle(i % 3 ? bsSolid : bsCross);
    c->Pen()->SetColor(TColor(0x000103 * (i % 50)));
    c->Pen()->SetWidth(1 + i % 2);
    c->Font()->SetSize(8 + i % 5);
    c->Font()->SetStyle(i % 2 ? TFontStyles(1u << fsBold) : TFontStyles());
    c->Rectangle(0, 0, 30, 10);
    c->TextOut(1, 1, "Ab");
  };
  draw(0);
  const std::size_t live = platform::gdi::LiveObjectCount();
  for (int i = 1; i < 100; ++i) draw(i);
  EXPECT_EQ(platform::gdi::LiveObjectCount(), live);
  TBrush other;
  other.SetColor(clRed);
  c->Brush()->Assign(&other);
  c->FillRect(RECT{0, 0, 5, 5});
  EXPECT_EQ(platform::gdi::LiveObjectCount(), live);
}

TEST(Jpeg, LoadsDrawsAndWritesBaselineJfif) {
  TJPEGImage jpeg;
  jpeg.LoadFromFile(testsupport::SharedPath("testdata/pillow/jpeg/hopper.jpg").c_str());
  ASSERT_EQ(jpeg.Width(), 128);
  ASSERT_EQ(jpeg.Height(), 128);
  TBitmap target;
  target.SetSize(128, 128);
  target.Canvas()->Draw(0, 0, &jpeg);
  TBitmap decoded;
  decoded.Assign(&jpeg);
  EXPECT_EQ(decoded.PixelFormat(), pf24bit);
  EXPECT_EQ(Pixels(target), Pixels(decoded));

  TJPEGImage gray;
  gray.LoadFromFile(testsupport::SharedPath("testdata/pillow/jpeg/hopper_gray.jpg").c_str());
  EXPECT_EQ(gray.PixelFormat, jf8Bit);

  // A bitmap compressed again reads back at its size, close to its pixels.
  TJPEGImage fresh;
  fresh.Assign(&decoded);
  fresh.CompressionQuality = 95;
  TMemoryStream stream;
  fresh.SaveToStream(&stream);
  const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
  ASSERT_GT(stream.Size(), 20);
  EXPECT_EQ(bytes[0], 0xFF);
  EXPECT_EQ(bytes[1], 0xD8);
  EXPECT_EQ(std::memcmp(bytes + 6, "JFIF", 4), 0);
  stream.SetPosition(0);
  TJPEGImage back;
  back.LoadFromStream(&stream);
  TBitmap again;
  again.Assign(&back);
  std::vector<std::uint32_t> a = Pixels(again), d = Pixels(decoded);
  ASSERT_EQ(a.size(), d.size());
  long long error = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    for (int s = 0; s < 24; s += 8) error += std::abs(int((a[i] >> s) & 255) - int((d[i] >> s) & 255));
  EXPECT_LT(error / static_cast<long long>(a.size() * 3), 4);
}

TEST(Jpeg, CorruptDataRaises) {
  std::vector<std::uint8_t> file =
      testsupport::ReadFileBytes(testsupport::SharedPath("testdata/pillow/jpeg/hopper.jpg"));
  for (std::size_t cut : {std::size_t(0), std::size_t(2), std::size_t(200), file.size() / 2}) {
    TMemoryStream stream;
    if (cut) stream.WriteBuffer(file.data(), static_cast<int>(cut));
    stream.SetPosition(0);
    TJPEGImage jpeg;
    // A truncated scan still decodes (libjpeg pads it); a cut header raises.
    if (cut < 400) {
      EXPECT_THROW(jpeg.LoadFromStream(&stream), Exception) << cut;
    }
  }
}

// A stand-in picture class the registry hands files to.
class TFakeGraphic : public TGraphic {
 public:
  static int loads;
  void LoadFromStream(TStream* stream) override {
    char c = 0;
    if (stream->Read(&c, 1) != 1 || c != 'F') throw EInvalidGraphic("The picture data are not valid");
    ++loads;
    Changed(this);
  }
  void SaveToStream(TStream* stream) override { stream->WriteBuffer("F", 1); }

 protected:
  void Draw(TCanvas*, const RECT&) override {}
  bool GetEmpty() const override { return false; }
  int GetWidth() const override { return 7; }
  int GetHeight() const override { return 5; }
  void SetWidthImpl(int) override {}
  void SetHeightImpl(int) override {}
};
int TFakeGraphic::loads = 0;

TEST(Pictures, LoadFromFileChoosesTheClassByExtension) {
  TPicture::RegisterBuiltInFormats();
  TPicture::RegisterFileFormat<TFakeGraphic>("fake", "Fake pictures", "TFakeGraphic");
  testsupport::TempDir dir;
  std::string good = dir.path() + "/a.FAKE", bad = dir.path() + "/b.fake";
  {
    TMemoryStream s;
    s.WriteBuffer("F", 1);
    s.SaveToFile(good.c_str());
    TMemoryStream t;
    t.WriteBuffer("X", 1);
    t.SaveToFile(bad.c_str());
  }
  TPicture picture;
  int changes = 0;
  picture.OnChange = [&](TObject*) { ++changes; };
  picture.LoadFromFile(good.c_str());
  EXPECT_NE(dynamic_cast<TFakeGraphic*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 7);
  EXPECT_GE(changes, 1);

  // A failed load raises and keeps the picture it had.
  TGraphic* before = picture.Graphic();
  EXPECT_THROW(picture.LoadFromFile(bad.c_str()), EInvalidGraphic);
  EXPECT_EQ(picture.Graphic(), before);
  try {
    picture.LoadFromFile((dir.path() + "/c.xyz").c_str());
    ADD_FAILURE();
  } catch (const EInvalidGraphic& e) {
    EXPECT_EQ(std::string(e.Message.c_str()), "No picture class for the extension .xyz");
  }
  EXPECT_EQ(picture.Graphic(), before);

  picture.LoadFromFile(BmpPath("g_pal8.bmp"));
  EXPECT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
  picture.LoadFromFile(testsupport::SharedPath("testdata/pillow/jpeg/hopper.jpg").c_str());
  EXPECT_NE(dynamic_cast<TJPEGImage*>(picture.Graphic()), nullptr);
  // Bitmap replaces a picture of another class with an empty bitmap.
  EXPECT_TRUE(picture.Bitmap()->Empty());

  TPicture::UnregisterGraphicClass(&typeid(TFakeGraphic));
  EXPECT_THROW(picture.LoadFromFile(good.c_str()), EInvalidGraphic);
}

class TPictureHolder : public TComponent {
 public:
  explicit TPictureHolder(TComponent* owner) : TComponent(owner) {}
  TPicture Picture;
};

TEST(Pictures, PictureDataTravelsThroughLayouts) {
  TPicture::RegisterBuiltInFormats();
  RegisterProperties<TPictureHolder>("TPictureHolder", "", Factory<TPictureHolder>())
      .Object("Picture", [](TPictureHolder& h) { return &h.Picture; });
  TPictureHolder holder(nullptr);
  holder.Picture.LoadFromFile(BmpPath("g_pal4.bmp"));
  std::string text = WriteComponentText(&holder);
  ASSERT_NE(text.find("Picture.Data = {"), std::string::npos);
  TPictureHolder back(nullptr);
  ReadComponentText(&back, text);
  auto* bitmap = dynamic_cast<TBitmap*>(back.Picture.Graphic());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(Pixels(*bitmap), Pixels(*holder.Picture.Bitmap()));
}

TEST(Pictures, PictureResourceNamesACompiledInBitmap) {
  TPicture::RegisterBuiltInFormats();
  RegisterProperties<TPictureHolder>("TPictureHolder", "", Factory<TPictureHolder>())
      .Object("Picture", [](TPictureHolder& h) { return &h.Picture; });
  static const std::vector<std::uint8_t> file = testsupport::ReadFileBytes(BmpPath("g_rgb24.bmp"));
  platform::RegisterResource(RT_BITMAP, "TESTSKIN", file.data(), file.size());
  TBitmap reference;
  reference.LoadFromFile(BmpPath("g_rgb24.bmp"));

  // Read: the layout names the bitmap; the picture holds its pixels and remembers the name.
  TPictureHolder holder(nullptr);
  ReadComponentText(&holder, "object Holder: TPictureHolder\n  Picture.Resource = 'testskin'\nend\n");
  auto* bitmap = dynamic_cast<TBitmap*>(holder.Picture.Graphic());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(Pixels(*bitmap), Pixels(reference));

  // Written back as the name, not as the pixels, and read again the same.
  std::string text = WriteComponentText(&holder);
  EXPECT_NE(text.find("Picture.Resource = 'testskin'"), std::string::npos) << text;
  EXPECT_EQ(text.find("Picture.Data"), std::string::npos) << text;
  TPictureHolder back(nullptr);
  ReadComponentText(&back, text);
  ASSERT_NE(dynamic_cast<TBitmap*>(back.Picture.Graphic()), nullptr);
  EXPECT_EQ(Pixels(*back.Picture.Bitmap()), Pixels(reference));

  // Once the pixels change the name no longer describes them: the data are written instead.
  back.Picture.Bitmap()->Canvas()->SetPixels(0, 0, clRed);
  text = WriteComponentText(&back);
  EXPECT_EQ(text.find("Picture.Resource"), std::string::npos) << text;
  EXPECT_NE(text.find("Picture.Data = {"), std::string::npos);
  back.Picture.LoadFromFile(BmpPath("g_pal4.bmp"));
  EXPECT_EQ(WriteComponentText(&back).find("Picture.Resource"), std::string::npos);

  // An unknown name stops the reading of the layout.
  TPictureHolder unknown(nullptr);
  EXPECT_THROW(
      ReadComponentText(&unknown, "object Holder: TPictureHolder\n  Picture.Resource = 'NOSUCHSKIN'\nend\n"),
      EResNotFound);
  EXPECT_EQ(unknown.Picture.Graphic(), nullptr);
}

}  // namespace
