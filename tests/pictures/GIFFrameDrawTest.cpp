// A GIF frame turned into pixels: its 8-bit bitmap and 1-bit mask, its place when the logical
// screen is drawn somewhere, transparent drawing (stretched and tiled, never outside the
// rectangle), and frames built from bitmaps.
#include <gtest/gtest.h>

#include <cstring>
#include <utility>
#include <vector>

#include "GifPaintSupport.h"
#include "pictures/GIFException.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/Exceptions.h"

using namespace gifpaint;

namespace {

using GifFrame = GifTest;

// The frame drawn opaque at its own size onto a 24-bit canvas.
std::unique_ptr<TBitmap> Rendered(TGIFSubImage* frame) {
  auto canvas = BackdropCanvas(frame->Width(), frame->Height());
  frame->StretchDraw(canvas->Canvas(), RECT{0, 0, frame->Width(), frame->Height()}, false, false);
  return canvas;
}

// The mask's bits, rows top-down, each `stride` bytes as the monochrome bitmap holds them.
std::vector<std::uint8_t> MaskRows(HBITMAP mask, int& stride) {
  BITMAP info{};
  GetObjectA(mask, sizeof info, &info);
  stride = info.bmWidthBytes;
  struct {
    BITMAPINFOHEADER header;
    RGBQUAD colors[2];
  } dib{};
  dib.header.biSize = sizeof(BITMAPINFOHEADER);
  dib.header.biWidth = info.bmWidth;
  dib.header.biHeight = -info.bmHeight;
  dib.header.biPlanes = 1;
  dib.header.biBitCount = 1;
  const int dibStride = (info.bmWidth + 31) / 32 * 4;
  std::vector<std::uint8_t> dibBits(std::size_t(dibStride) * std::size_t(info.bmHeight));
  HDC dc = CreateCompatibleDC(nullptr);
  GetDIBits(dc, mask, 0, UINT(info.bmHeight), dibBits.data(), reinterpret_cast<BITMAPINFO*>(&dib),
            DIB_RGB_COLORS);
  DeleteDC(dc);
  std::vector<std::uint8_t> bits(std::size_t(stride) * std::size_t(info.bmHeight));
  for (int y = 0; y < info.bmHeight; ++y)
    std::memcpy(bits.data() + std::size_t(y) * std::size_t(stride),
                dibBits.data() + std::size_t(y) * std::size_t(dibStride),
                std::size_t(std::min(stride, dibStride)));
  return bits;
}

bool MaskBit(const std::vector<std::uint8_t>& rows, int stride, int x, int y) {
  return rows[std::size_t(y) * std::size_t(stride) + std::size_t(x >> 3)] & (0x80 >> (x & 7));
}

TEST_F(GifFrame, EachPixelIsItsTableEntryAndIndicesPastTheTableAreBlack) {
  struct Case {
    const char* name;
    int color;
    std::uint32_t expected;
  } cases[] = {
      {"first entry", 0, 0x000000},          {"red", 1, 0xFF0000},
      {"blue, the last entry", 3, 0x0000FF}, {"index past the four entries", 7, 0x000000},
      {"index 255", 255, 0x000000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto gif = BuildAnimation({{.delay = -1, .color = c.color, .width = 3, .height = 2}}, 3, 2);
    auto canvas = Rendered(gif->Images()->GetImage(0));
    EXPECT_EQ(Differences(*canvas, [&](int, int) { return c.expected; }), "");
  }
}

TEST_F(GifFrame, RealFilesRenderToTheirReferencePictures) {
  for (const char* name : {"static_nontransparent", "static_transparent"}) {
    SCOPED_TRACE(name);
    auto gif = LoadGif(GifPath(std::string(name) + ".gif"));
    const Rgba reference = ReadPng(GifPath(std::string("frames/") + name + ".png"));
    TGIFSubImage* frame = gif->Images()->GetImage(0);
    ASSERT_EQ(frame->Width(), reference.width);
    auto canvas = BackdropCanvas(reference.width, reference.height);
    frame->Draw(canvas->Canvas(), RECT{0, 0, reference.width, reference.height}, true, false);
    EXPECT_EQ(Differences(*canvas, OverBackdrop(reference)), "");
  }
}

TEST_F(GifFrame, TheMaskMarksExactlyTheTransparentPixelsOfTheReference) {
  auto gif = LoadGif(GifPath("static_transparent.gif"));
  const Rgba reference = ReadPng(GifPath("frames/static_transparent.png"));
  TGIFSubImage* frame = gif->Images()->GetImage(0);
  ASSERT_TRUE(frame->HasMask());
  int stride = 0;
  const auto rows = MaskRows(frame->Mask(), stride);
  EXPECT_EQ(stride, (frame->Width() + 15) / 16 * 2);
  int transparent = 0;
  for (int y = 0; y < reference.height; ++y)
    for (int x = 0; x < reference.width; ++x) {
      const bool clear = (reference.At(x, y) >> 24) == 0;
      transparent += clear;
      ASSERT_EQ(MaskBit(rows, stride, x, y), clear) << "at " << x << ", " << y;
    }
  EXPECT_GT(transparent, 0);
}

TEST_F(GifFrame, MaskRowsAreWordAlignedMostSignificantBitFirst) {
  struct Case {
    int width;
    int stride;
  } cases[] = {{1, 2}, {16, 2}, {17, 4}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    auto gif = BuildAnimation(
        {{.delay = 0, .color = 1, .width = c.width, .height = 1, .transparentIndex = 2}}, c.width, 1);
    TGIFSubImage* frame = gif->Images()->GetImage(0);
    frame->GetScanline(0)[0] = 2;  // only the first pixel is transparent
    frame->FreeBitmap();
    frame->FreeMask();
    ASSERT_TRUE(frame->HasMask());
    int stride = 0;
    const auto rows = MaskRows(frame->Mask(), stride);
    EXPECT_EQ(stride, c.stride);
    EXPECT_EQ(rows[0], 0x80);
  }
}

TEST_F(GifFrame, ATransparentFrameWhosePixelsNeverUseTheIndexHasNoMask) {
  auto gif = BuildAnimation({{.delay = 0, .color = 1, .transparentIndex = 2}});
  TGIFSubImage* frame = gif->Images()->GetImage(0);
  EXPECT_TRUE(frame->Transparent());
  EXPECT_FALSE(frame->HasMask());
  EXPECT_NE(frame->GetBitmap(), nullptr);
}

TEST_F(GifFrame, GeometryScalesAndCountsBoundsRectanglesTheWayEachSideHasThem) {
  auto gif = BuildAnimation({{.delay = -1, .left = 2, .top = 3, .width = 4, .height = 5}}, 10, 10);
  TGIFSubImage* frame = gif->Images()->GetImage(0);
  const RECT scaled = frame->ScaleRect(RECT{100, 100, 120, 120});
  EXPECT_EQ(scaled.left, 104);
  EXPECT_EQ(scaled.top, 106);
  EXPECT_EQ(scaled.right - scaled.left, 8);
  EXPECT_EQ(scaled.bottom - scaled.top, 10);

  frame->SetBoundsRect(RECT{0, 0, 9, 9});
  EXPECT_EQ(frame->Width(), 10);
  EXPECT_EQ(frame->Height(), 10);
  const RECT bounds = frame->GetBoundsRect();
  EXPECT_EQ(bounds.right, 10);
  EXPECT_EQ(bounds.bottom, 10);

  std::vector<std::string> warnings;
  gif->OnGIFWarning = [&](TObject*, TGIFSeverity, const AnsiString& m) { warnings.push_back(m.c_str()); };
  frame->DoSetBounds(5, 0, 10, 10);
  EXPECT_EQ(gif->Width(), 15);
  EXPECT_EQ(warnings, (std::vector<std::string>{"Image width too small for contained frames",
                                                "Image exceeds Logical Screen size"}));
}

TEST_F(GifFrame, AScreenWithoutSizeDrawsNothing) {
  auto gif = BuildAnimation({{.delay = -1, .empty = true}}, 4, 4);
  gif->SetWidth(0);
  auto* frame = new TGIFSubImage(gif.get());
  gif->Images()->Add(frame);
  auto canvas = BackdropCanvas(8, 8);
  canvas->Canvas()->StretchDraw(RECT{0, 0, 8, 8}, gif.get());
  EXPECT_EQ(Differences(*canvas, Backdrop), "");
}

// The frame of `gif` drawn transparent into `rect` of a backdrop canvas, against what it should
// give: the frame's pixel (nearest neighbour) where the mask is 0, the backdrop elsewhere.
void ExpectTransparentDraw(TGIFImage* gif, const RECT& rect, bool tile, int canvasSize) {
  TGIFSubImage* frame = gif->Images()->GetImage(0);
  auto alone = Rendered(frame);
  ASSERT_TRUE(frame->HasMask());
  int stride = 0;
  const auto mask = MaskRows(frame->Mask(), stride);
  auto canvas = BackdropCanvas(canvasSize, canvasSize);
  frame->StretchDraw(canvas->Canvas(), rect, true, tile);
  const int w = frame->Width(), h = frame->Height();
  const int dw = rect.right - rect.left, dh = rect.bottom - rect.top;
  EXPECT_EQ(Differences(*canvas,
                        [&](int x, int y) -> std::uint32_t {
                          if (x < rect.left || y < rect.top || x >= rect.right || y >= rect.bottom)
                            return Backdrop(x, y);
                          const int sx =
                              tile ? (x - rect.left) % w : int(std::int64_t(x - rect.left) * w / dw);
                          const int sy = tile ? (y - rect.top) % h : int(std::int64_t(y - rect.top) * h / dh);
                          return MaskBit(mask, stride, sx, sy) ? Backdrop(x, y) : Pixel(*alone, sx, sy);
                        }),
            "");
}

TEST_F(GifFrame, TransparentDrawingKeepsTheDestinationUnderTheMaskAndNothingOutside) {
  auto gif = LoadGif(GifPath("static_transparent.gif"));
  struct Case {
    const char* name;
    RECT rect;
    bool tile;
    int canvas;
  } cases[] = {
      {"unscaled", {10, 10, 110, 110}, false, 120},
      {"stretched x3", {5, 5, 305, 305}, false, 310},
      {"shrunk to half", {7, 7, 57, 57}, false, 64},
      {"tiled from the top-left corner, cut at the edges", {3, 4, 253, 204}, true, 260},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectTransparentDraw(gif.get(), c.rect, c.tile, c.canvas);
  }
}

TEST_F(GifFrame, FramesOutsideTheScreenAreDrawnClippedToTheRectangle) {
  const std::string name = "animated_transparent_loop_frames_out_of_bounds";
  auto gif = LoadGif(GifPath(name + ".gif"));
  gif->SetAnimate(false);
  // Every frame drawn in turn into the middle of a larger canvas: nothing outside changes.
  auto canvas = BackdropCanvas(300, 300);
  const RECT rect{100, 100, 200, 200};
  for (int i = 0; i < gif->Images()->Count(); ++i)
    gif->Images()->GetImage(i)->Draw(canvas->Canvas(), rect, true, false);
  EXPECT_EQ(Differences(*canvas,
                        [&](int x, int y) -> std::uint32_t {
                          if (x >= 100 && y >= 100 && x < 200 && y < 200) return Pixel(*canvas, x, y);
                          return Backdrop(x, y);
                        }),
            "");
}

TEST_F(GifFrame, AnotherFrameGivesAnIndependentCopy) {
  auto gif = LoadGif(GifPath("static_transparent.gif"));
  TGIFSubImage* source = gif->Images()->GetImage(0);
  TGIFImage other;
  auto* copy = new TGIFSubImage(&other);
  other.Images()->Add(copy);
  copy->Assign(source);
  EXPECT_EQ(copy->Pixels(), source->Pixels());
  ASSERT_NE(copy->GraphicControlExtension(), nullptr);
  EXPECT_NE(copy->GraphicControlExtension(), source->GraphicControlExtension());
  EXPECT_TRUE(copy->Transparent());
  copy->GetScanline(0)[0] ^= 1;
  copy->GraphicControlExtension()->SetDelay(77);
  EXPECT_NE(copy->Pixels(), source->Pixels());
  EXPECT_NE(source->GraphicControlExtension()->GetDelay(), 77);
}

TEST_F(GifFrame, PaletteBitmapsBecomeFramesOfTheSamePixels) {
  for (const char* name : {"g_pal1.bmp", "g_pal4.bmp", "g_pal8.bmp"}) {
    SCOPED_TRACE(name);
    TBitmap bmp;
    bmp.LoadFromFile(testsupport::SharedPath(std::string("testdata/pillow/bmp/") + name).c_str());
    TGIFImage gif;
    gif.Assign(&bmp);
    ASSERT_EQ(gif.Images()->Count(), 1);
    TGIFSubImage* frame = gif.Images()->GetImage(0);
    frame->FreeBitmap();  // the frame's own rendering of its pixels, not the copy of the source
    auto fromFrame = Rendered(frame);
    auto fromBitmap = BackdropCanvas(bmp.Width(), bmp.Height());
    fromBitmap->Canvas()->Draw(0, 0, &bmp);
    EXPECT_EQ(Differences(*fromFrame, [&](int x, int y) { return Pixel(*fromBitmap, x, y); }), "");
  }
}

// A 16 x 16 8-bit bitmap whose pixel (x, y) has index min(x + 16 y, last), every index its own
// colour; transparent by its bottom-left pixel's colour (index 240).
std::unique_ptr<TBitmap> IndexedBitmap(int last) {
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf8bit);
  bitmap->SetSize(16, 16);
  std::vector<std::uint8_t> storage(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
  auto* log = reinterpret_cast<LOGPALETTE*>(storage.data());
  log->palVersion = 0x300;
  log->palNumEntries = 256;
  for (int i = 0; i < 256; ++i)
    log->palPalEntry[i] = PALETTEENTRY{BYTE(i), BYTE(255 - i), BYTE((i * 7) & 0xFF), 0};
  HPALETTE palette = CreatePalette(log);
  bitmap->SetPalette(palette);
  DeleteObject(palette);
  for (int y = 0; y < 16; ++y) {
    auto* row = static_cast<std::uint8_t*>(bitmap->ScanLine(y));
    for (int x = 0; x < 16; ++x) row[x] = std::uint8_t(std::min(x + 16 * y, last));
  }
  bitmap->SetTransparent(true);
  return bitmap;
}

TEST_F(GifFrame, ATransparentBitmapOfAllColorsStaysOpaqueWithAWarning) {
  struct Case {
    int last;
    bool transparent;
    std::vector<std::string> warnings;
  } cases[] = {
      {255, false, {"Color table overflow"}},
      {254, true, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.last);
    auto bitmap = IndexedBitmap(c.last);
    TGIFImage gif;
    std::vector<std::string> warnings;
    gif.OnGIFWarning = [&](TObject*, TGIFSeverity, const AnsiString& m) { warnings.push_back(m.c_str()); };
    gif.Assign(bitmap.get());
    TGIFSubImage* frame = gif.Images()->GetImage(0);
    EXPECT_EQ(warnings, c.warnings);
    EXPECT_EQ(frame->Transparent(), c.transparent);
    if (!c.transparent) continue;
    ASSERT_TRUE(frame->HasMask());
    int stride = 0;
    const auto mask = MaskRows(frame->Mask(), stride);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        EXPECT_EQ(MaskBit(mask, stride, x, y), x + 16 * y == 240) << x << ", " << y;
  }
}

TEST_F(GifFrame, TrueColorBitmapsBecomeFramesThroughTheColorReduction) {
  // Colours of the 216-colour cube survive the default reduction exactly.
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf24bit);
  bitmap.SetSize(6, 4);
  for (int y = 0; y < 4; ++y) {
    auto* row = static_cast<std::uint8_t*>(bitmap.ScanLine(y));
    for (int x = 0; x < 6; ++x)
      row[3 * x] = std::uint8_t(51 * x), row[3 * x + 1] = std::uint8_t(51 * y), row[3 * x + 2] = 255;
  }
  TGIFImage gif;
  gif.Assign(&bitmap);
  ASSERT_EQ(gif.Images()->Count(), 1);
  TGIFSubImage* frame = gif.Images()->GetImage(0);
  frame->FreeBitmap();
  auto rendered = Rendered(frame);
  EXPECT_EQ(Differences(*rendered, [&](int x, int y) { return Pixel(bitmap, x, y); }), "");
}

TEST_F(GifFrame, AFrameGivesItsBitmapToABitmap) {
  auto gif = LoadGif(GifPath("static_nontransparent.gif"));
  TBitmap bitmap;
  bitmap.Assign(gif->Images()->GetImage(0));
  EXPECT_EQ(bitmap.Width(), 100);
  EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
}

// A frame whose import is stopped by the progress handler is left empty, and the report it
// started is ended at 0.
TEST_F(GifFrame, AnImportItsProgressHandlerStopsLeavesAnEmptyFrameAndEndsTheReport) {
  TGIFImage gif;
  std::vector<std::pair<TProgressStage, int>> saw;
  gif.OnProgress = [&](TObject*, TProgressStage stage, BYTE percent, bool, const RECT&, const AnsiString&) {
    saw.emplace_back(stage, percent);
    if (stage == psRunning) throw Exception("stopped");
  };
  TBitmap bitmap;
  bitmap.SetPixelFormat(pf8bit);
  bitmap.SetSize(8, 8);
  auto* frame = new TGIFSubImage(&gif);
  gif.Images()->Add(frame);
  EXPECT_THROW(frame->Assign(&bitmap), Exception);
  EXPECT_TRUE(frame->GetEmpty());
  EXPECT_EQ(frame->Width(), 0);
  ASSERT_FALSE(saw.empty());
  EXPECT_EQ(saw.back(), std::make_pair(psEnding, 0));
}

}  // namespace
