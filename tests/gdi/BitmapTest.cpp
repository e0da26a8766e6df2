// Bitmap objects and DIB conversions: formats, row order, colour tables, selection rules.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "tests/gdi/GdiTestSupport.h"

using gditest::Canvas;

namespace {

struct InfoWithTable {
  BITMAPINFOHEADER h;
  RGBQUAD colors[256];
};

TEST(Bitmaps, RoundTripThroughEveryDibFormat) {
  // A 3 x 2 picture of colours every format can hold exactly.
  const COLORREF colors[6] = {RGB(0, 0, 0), RGB(255, 255, 255), RGB(255, 255, 255),
                              RGB(0, 0, 0), RGB(0, 0, 0),       RGB(255, 255, 255)};
  for (int bpp : {1, 4, 8, 24, 32}) {
    for (int direction : {1, -1}) {
      Canvas src(3, 2);
      for (int i = 0; i < 6; ++i) SetPixel(src.dc, i % 3, i / 3, colors[i]);
      InfoWithTable info{};
      info.h = {40, 3, 2 * direction, 1, WORD(bpp), BI_RGB, 0, 0, 0, 0, 0};
      std::vector<uint8_t> bits(64, 0xEE);
      ASSERT_EQ(GetDIBits(src.dc, src.bitmap, 0, 2, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), 0), 2)
          << bpp;
      Canvas back(3, 2);
      back.Fill(0x00777777);
      ASSERT_EQ(SetDIBits(back.dc, back.bitmap, 0, 2, bits.data(), reinterpret_cast<BITMAPINFO*>(&info), 0),
                2)
          << bpp;
      for (int i = 0; i < 6; ++i)
        EXPECT_EQ(GetPixel(back.dc, i % 3, i / 3), colors[i])
            << bpp << " bits, direction " << direction << ", " << i;
    }
  }
}

TEST(Bitmaps, BottomUpRowsAreStoredBottomFirst) {
  Canvas src(1, 2);
  src.At(0, 0) = 0x00AAAAAA;  // top
  src.At(0, 1) = 0x00BBBBBB;  // bottom
  InfoWithTable info{};
  info.h = {40, 1, 2, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  uint32_t rows[2] = {};
  GetDIBits(src.dc, src.bitmap, 0, 2, rows, reinterpret_cast<BITMAPINFO*>(&info), 0);
  EXPECT_EQ(rows[0], 0x00BBBBBBu);
  EXPECT_EQ(rows[1], 0x00AAAAAAu);
}

TEST(Bitmaps, GetDIBitsWithoutBitsDescribesTheBitmap) {
  Canvas src(5, 3);
  InfoWithTable info{};
  info.h.biSize = 40;
  EXPECT_EQ(GetDIBits(src.dc, src.bitmap, 0, 3, nullptr, reinterpret_cast<BITMAPINFO*>(&info), 0), 1);
  EXPECT_EQ(info.h.biWidth, 5);
  EXPECT_EQ(info.h.biBitCount, 32);
  EXPECT_EQ(info.h.biSizeImage, 5u * 4u * 3u);
}

TEST(Bitmaps, IndexBeyondTheTableDrawsBlack) {
  std::vector<RGBQUAD> table = {{255, 255, 255, 0}, {0, 0, 255, 0}};  // two entries used
  Canvas src(2, 1, 8, table);
  src.Byte(0, 0) = 1;
  src.Byte(1, 0) = 7;
  Canvas dst(2, 1);
  dst.Fill(0x00FFFFFF);
  BitBlt(dst.dc, 0, 0, 2, 1, src.dc, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.At(0, 0), 0x00FF0000u);
  EXPECT_EQ(dst.At(1, 0), 0u);
}

TEST(Bitmaps, MonochromeBitmapRowsArePaddedTo16Bits) {
  const uint8_t data[4] = {0x80, 0x00, 0x01, 0x00};  // 9 x 2: row 0 first pixel white, row 1 pixel 7 white
  HBITMAP b = CreateBitmap(9, 2, 1, 1, data);
  HDC dc = CreateCompatibleDC(nullptr);
  SelectObject(dc, b);
  EXPECT_EQ(GetPixel(dc, 0, 0), RGB(255, 255, 255));
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 0));
  EXPECT_EQ(GetPixel(dc, 7, 1), RGB(255, 255, 255));
  BITMAP bm;
  ASSERT_EQ(GetObjectA(b, sizeof bm, &bm), int(sizeof bm));
  EXPECT_EQ(bm.bmWidthBytes, 2);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  DeleteDC(dc);
  DeleteObject(b);
}

TEST(Bitmaps, CompatibleBitmapOfAFreshMemoryDcIsMonochrome) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP mono = CreateCompatibleBitmap(dc, 4, 4);
  BITMAP bm;
  GetObjectA(mono, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 1);
  Canvas colour(1, 1);
  HBITMAP c = CreateCompatibleBitmap(colour.dc, 4, 4);
  GetObjectA(c, sizeof bm, &bm);
  EXPECT_EQ(bm.bmBitsPixel, 32);
  DeleteObject(mono);
  DeleteObject(c);
  DeleteDC(dc);
}

TEST(Bitmaps, SelectedBitmapCannotBeDeletedOrSelectedTwice) {
  Canvas c(2, 2);
  EXPECT_FALSE(DeleteObject(c.bitmap));
  HDC other = CreateCompatibleDC(nullptr);
  EXPECT_EQ(SelectObject(other, c.bitmap), nullptr);
  DeleteDC(other);
  EXPECT_EQ(GetObjectType(c.bitmap), OBJ_BITMAP);
  EXPECT_EQ(GetObjectType(c.dc), OBJ_MEMDC);
  HBRUSH b = CreateSolidBrush(0);
  DeleteObject(b);
  EXPECT_EQ(GetObjectType(b), 0u);  // dead handles answer 0
}

TEST(Bitmaps, DibSectionDescribesItself) {
  Canvas c(3, 2, 24);
  DIBSECTION ds{};
  ASSERT_EQ(GetObjectA(c.bitmap, sizeof ds, &ds), int(sizeof ds));
  EXPECT_EQ(ds.dsBm.bmBits, c.bits);
  EXPECT_EQ(ds.dsBm.bmWidthBytes, 12);
  EXPECT_EQ(ds.dsBmih.biHeight, -2);
}

}  // namespace
