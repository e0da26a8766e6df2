// Icons (real icon files, hostile ones), image lists, metafiles and the colour names: the
// pictures the simple controls show, drawn on bitmaps.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "platform/forms/TBitmap.h"
#include "platform/forms/TIcon.h"
#include "platform/forms/TImageList.h"
#include "platform/forms/TMetafile.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/TMemoryStream.h"
#include "support/SharedData.h"
#include "support/TempDir.h"

namespace {

std::string IcoPath(const char* name) {
  return testsupport::SharedPath(std::string("testdata/pillow/ico/") + name);
}

TMemoryStream* StreamOf(const std::vector<std::uint8_t>& bytes) {
  auto* s = new TMemoryStream;
  s->WriteBuffer(bytes.data(), static_cast<int>(bytes.size()));
  s->SetPosition(0);
  return s;
}

// A white 32-bit bitmap to draw on, and its pixels as 0x00RRGGBB.
void WhiteCanvas(TBitmap& b, int w, int h) {
  b.SetPixelFormat(pf32bit);
  b.SetSize(w, h);
  b.Canvas()->Brush()->SetColor(clWhite);
  b.Canvas()->FillRect(RECT{0, 0, w, h});
}
std::uint32_t At(TBitmap& b, int x, int y) {
  return static_cast<std::uint32_t*>(b.ScanLine(y))[x] & 0xFFFFFF;
}

TEST(Icons, TheImageNearestThirtyTwoPixelsIsReadAndPngImagesArePassedOver) {
  struct Case {
    const char* file;
    int width, height;
  } cases[] = {
      {"pillow.ico", 32, 32},           // five sizes, one of them PNG
      {"python.ico", 32, 32},           // three 32-bit sizes
      {"hopper.ico", 16, 16},           // 8 bits with a colour table
      {"black_and_white.ico", 16, 16},  // 1 bit
      {"hopper_256x256.ico", 256, 256},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    TIcon icon;
    icon.LoadFromFile(IcoPath(c.file));
    EXPECT_EQ(icon.Width(), c.width);
    EXPECT_EQ(icon.Height(), c.height);
    EXPECT_TRUE(icon.Transparent());
    const TMaskedImage& image = icon.Image();
    ASSERT_EQ(image.Pixels.size(), std::size_t(c.width) * std::size_t(c.height));
  }
  // Two colours only in a one-bit icon.
  TIcon mono;
  mono.LoadFromFile(IcoPath("black_and_white.ico"));
  for (std::uint32_t p : mono.Image().Pixels) EXPECT_TRUE(p == 0 || p == 0xFFFFFF);
}

TEST(Icons, DrawingLeavesTheUncoveredPixelsAlone) {
  TIcon icon;
  icon.LoadFromFile(IcoPath("pillow.ico"));
  const TMaskedImage& image = icon.Image();
  std::size_t covered = 0, uncovered = 0;
  for (std::uint8_t o : image.Opaque) (o ? covered : uncovered)++;
  ASSERT_GT(covered, 0u);
  ASSERT_GT(uncovered, 0u);  // its corners are see-through
  TBitmap target;
  WhiteCanvas(target, 40, 40);
  target.Canvas()->Draw(4, 6, &icon);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      std::size_t i = std::size_t(y) * 32 + std::size_t(x);
      std::uint32_t want = image.Opaque[i] ? image.Pixels[i] : 0xFFFFFFu;
      ASSERT_EQ(At(target, x + 4, y + 6), want) << x << "," << y;
    }
  EXPECT_EQ(At(target, 3, 6), 0xFFFFFFu);
  EXPECT_THROW(icon.SetWidth(16), EInvalidGraphicOperation);
}

TEST(Icons, HostileFilesAreRefusedAndTheIconKeepsItsImage) {
  std::vector<std::uint8_t> good = testsupport::ReadFileBytes(IcoPath("hopper.ico"));
  auto with = [&](auto&& change) {
    std::vector<std::uint8_t> bytes = good;
    change(bytes);
    return bytes;
  };
  auto put32 = [](std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
  };
  const std::vector<std::vector<std::uint8_t>> hostile = {
      {},
      {0, 0, 1, 0},                                            // a directory cut short
      with([](auto& b) { b.resize(b.size() / 2); }),           // image data cut short
      with([&](auto& b) { put32(b, 6 + 8, 0xFFFFFFF0u); }),    // a length past the end
      with([&](auto& b) { put32(b, 6 + 12, 0x7FFFFFFFu); }),   // an offset past the end
      with([&](auto& b) { put32(b, 22 + 4, 100000); }),        // an enormous width
      with([&](auto& b) { put32(b, 22 + 8, 0x80000000u); }),   // a negative height
      with([&](auto& b) { put32(b, 22 + 32, 0xFFFFFFFFu); }),  // a colour table too long
      with([&](auto& b) { b[22 + 14] = 7; }),                  // seven bits per pixel
      with([&](auto& b) { b[2] = 9; }),                        // not an icon
      testsupport::ReadFileBytes(IcoPath("hopper_draw.ico")),  // a PNG image only
  };
  TIcon icon;
  icon.LoadFromFile(IcoPath("hopper.ico"));
  std::vector<std::uint32_t> before = icon.Image().Pixels;
  for (std::size_t i = 0; i < hostile.size(); ++i) {
    SCOPED_TRACE(i);
    std::unique_ptr<TMemoryStream> s(StreamOf(hostile[i]));
    EXPECT_THROW(icon.LoadFromStream(s.get()), EInvalidGraphic);
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Image().Pixels, before);
  }
}

TEST(Icons, PicturesPickIconsAndMetafilesByExtension) {
  TPicture::RegisterBuiltInFormats();
  TPicture picture;
  picture.LoadFromFile(IcoPath("python.ico"));
  ASSERT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
  EXPECT_EQ(picture.Width(), 32);

  testsupport::TempDir dir;
  std::string wmf = dir.path() + "/drawing.wmf";
  FILE* f = std::fopen(wmf.c_str(), "wb");
  ASSERT_NE(f, nullptr);
  std::fputs("\xD7\xCD\xC6\x9A not really a metafile", f);
  std::fclose(f);
  EXPECT_THROW(picture.LoadFromFile(wmf), EInvalidGraphic);
  EXPECT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);  // the previous picture stays
  TMetafile metafile;
  EXPECT_TRUE(metafile.Empty());
}

TEST(ImageLists, PicturesAreCutFromABitmapAndDrawnMaskedOrGreyed) {
  TImageList list(nullptr);
  list.SetWidth(4);
  list.SetHeight(4);
  TBitmap strip;
  strip.SetPixelFormat(pf32bit);
  strip.SetSize(9, 4);  // two pictures and a column left over
  for (int y = 0; y < 4; ++y) {
    auto* row = static_cast<std::uint32_t*>(strip.ScanLine(y));
    for (int x = 0; x < 9; ++x) row[x] = x < 4 ? 0xFF0000 : 0x0000FF;
    row[5] = 0xFF00FF;  // the mask colour in the second picture
  }
  EXPECT_EQ(list.AddMasked(&strip, clFuchsia), 0);
  EXPECT_EQ(list.Count(), 2);

  TBitmap target;
  WhiteCanvas(target, 12, 12);
  list.Draw(target.Canvas(), 2, 3, 1);
  EXPECT_EQ(At(target, 2, 3), 0x0000FFu);
  EXPECT_EQ(At(target, 3, 3), 0xFFFFFFu);  // masked
  EXPECT_EQ(At(target, 6, 3), 0xFFFFFFu);
  list.Draw(target.Canvas(), 2, 3, 7);  // no such picture: nothing drawn
  list.Draw(target.Canvas(), 2, 3, -1);

  TBitmap grey;
  WhiteCanvas(grey, 12, 12);
  list.Draw(grey.Canvas(), 0, 0, 0, false);
  COLORREF shadow = ColorToRGB(clBtnShadow);
  std::uint32_t shadowPx = ((shadow & 0xFF) << 16) | (shadow & 0xFF00) | ((shadow >> 16) & 0xFF);
  COLORREF light = ColorToRGB(clBtnHighlight);
  std::uint32_t lightPx = ((light & 0xFF) << 16) | (light & 0xFF00) | ((light >> 16) & 0xFF);
  EXPECT_EQ(At(grey, 0, 0), shadowPx);
  EXPECT_EQ(At(grey, 3, 3), shadowPx);
  EXPECT_EQ(At(grey, 4, 4), lightPx);  // the highlight copy, one pixel down and right
  EXPECT_EQ(At(grey, 4, 0), 0xFFFFFFu);

  // A separate mask: white means uncovered.
  TBitmap mask;
  WhiteCanvas(mask, 9, 4);
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(RECT{0, 0, 2, 4});
  EXPECT_EQ(list.Add(&strip, &mask), 2);
  TBitmap masked;
  WhiteCanvas(masked, 8, 8);
  list.Draw(masked.Canvas(), 0, 0, 2);
  EXPECT_EQ(At(masked, 1, 1), 0xFF0000u);
  EXPECT_EQ(At(masked, 2, 1), 0xFFFFFFu);

  list.SetWidth(8);  // a new size drops the pictures
  EXPECT_EQ(list.Count(), 0);
}

TEST(Colours, NamesAndNumbersConvertBothWays) {
  EXPECT_EQ(StringToColor("clRed"), clRed);
  EXPECT_EQ(StringToColor("clbtnface"), clBtnFace);
  EXPECT_EQ(StringToColor("$00FF8000"), 0xFF8000);
  EXPECT_EQ(StringToColor("255"), 255);
  EXPECT_THROW(StringToColor("reddish"), EConvertError);
  EXPECT_EQ(ColorToString(clBtnFace), "clBtnFace");
  EXPECT_EQ(ColorToString(0x123456), "$00123456");
  EXPECT_EQ(StringToColor(ColorToString(0x123456)), 0x123456);
}

}  // namespace
