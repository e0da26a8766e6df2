// The clipboard: private formats, text synthesised both ways under both kinds of code page,
// foreign text without a terminator read within its block, pictures as bitmap and DIB.
#include <cstring>

#include "platform/rtl/CodePage.h"
#include "tests/win/WinTestSupport.h"

using wintest::HeadlessTest;

namespace {

HGLOBAL Block(const void* data, size_t size) {
  HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, size);
  std::memcpy(GlobalLock(h), data, size);
  GlobalUnlock(h);
  return h;
}

std::u16string WideOf(HANDLE h) {
  const auto* p = static_cast<const char16_t*>(GlobalLock(h));
  std::u16string s(p);
  GlobalUnlock(h);
  return s;
}

std::string NarrowOf(HANDLE h) {
  std::string s(static_cast<const char*>(GlobalLock(h)));
  GlobalUnlock(h);
  return s;
}

class Clipboard : public HeadlessTest {};

TEST_F(Clipboard, PrivateFormatRoundTripAndPublishing) {
  const UINT format = RegisterClipboardFormatA("MMS Editor Page");
  EXPECT_EQ(RegisterClipboardFormatA("mms editor page"), format);
  EXPECT_GE(format, 0xC000u);
  EXPECT_FALSE(SetClipboardData(CF_TEXT, Block("x", 2)) != nullptr);  // not open
  EXPECT_EQ(GetLastError(), ERROR_CLIPBOARD_NOT_OPEN);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EmptyClipboard();
  const uint8_t page[5] = {1, 2, 3, 0, 5};
  SetClipboardData(format, Block(page, sizeof page));
  CloseClipboard();
  EXPECT_EQ(driver().ClipboardRead(0, "MMS Editor Page"), std::vector<uint8_t>(page, page + 5));
  EXPECT_TRUE(IsClipboardFormatAvailable(format));
  ASSERT_TRUE(OpenClipboard(nullptr));
  HANDLE h = GetClipboardData(format);
  ASSERT_NE(h, nullptr);
  EXPECT_EQ(GlobalSize(h), 5u);
  EXPECT_EQ(std::memcmp(GlobalLock(h), page, 5), 0);
  GlobalUnlock(h);
  CloseClipboard();
}

struct TextCase {
  UINT codePage;
  std::u16string wide;
  std::string narrow;
};

TEST_F(Clipboard, TextIsSynthesisedEachWayThroughTheSystemCodePage) {
  const TextCase cases[] = {
      {CP_UTF8, u"Vi\u1EC7t \u1780", "Vi\xE1\xBB\x87t \xE1\x9E\x80"},
      {1252, u"Vi\u1EC7t \u00E9", "Vi?t \xE9"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.codePage);
    SetSystemCodePage(c.codePage);
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, Block(c.wide.c_str(), (c.wide.size() + 1) * 2));
    EXPECT_EQ(NarrowOf(GetClipboardData(CF_TEXT)), c.narrow);
    CloseClipboard();
    OpenClipboard(nullptr);
    EmptyClipboard();
    SetClipboardData(CF_TEXT, Block(c.narrow.c_str(), c.narrow.size() + 1));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    const std::u16string back = WideOf(GetClipboardData(CF_UNICODETEXT));
    if (c.codePage == CP_UTF8)
      EXPECT_EQ(back, c.wide);
    else
      EXPECT_EQ(back, u"Vi?t \u00E9");
    CloseClipboard();
  }
  SetSystemCodePage(CP_UTF8);
}

TEST_F(Clipboard, ForeignTextWithoutTerminatorIsReadWithinItsBlock) {
  const std::vector<uint8_t> text = {'a', 0, 'b', 0, 'c', 0};  // "abc" in UTF-16, no terminator
  driver().ClipboardPut(CF_UNICODETEXT, text);
  ASSERT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(GetClipboardOwner(), nullptr);
  EXPECT_EQ(NarrowOf(GetClipboardData(CF_TEXT)), "abc");
  HANDLE wide = GetClipboardData(CF_UNICODETEXT);
  EXPECT_EQ(GlobalSize(wide), 6u);
  CloseClipboard();
}

TEST_F(Clipboard, BitmapsTravelAsDibs) {
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, 2, 1);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SetPixel(dc, 0, 0, RGB(255, 0, 0));
  SetPixel(dc, 1, 0, RGB(0, 0, 255));
  SelectObject(dc, old);
  OpenClipboard(nullptr);
  EmptyClipboard();
  SetClipboardData(CF_BITMAP, bitmap);  // the clipboard owns it now
  HANDLE dib = GetClipboardData(CF_DIB);
  ASSERT_NE(dib, nullptr);
  const auto* h = static_cast<const BITMAPINFOHEADER*>(GlobalLock(dib));
  EXPECT_EQ(h->biWidth, 2);
  EXPECT_EQ(h->biBitCount, 32);
  GlobalUnlock(dib);
  CloseClipboard();
  const std::vector<uint8_t> published = driver().ClipboardRead(CF_DIB);
  ASSERT_EQ(published.size(), 40u + 8u);
  EXPECT_EQ(published[40 + 2], 255);  // red of the first pixel (B, G, R, X)
  // And back: a foreign DIB becomes a bitmap.
  driver().ClipboardPut(CF_DIB, published);
  OpenClipboard(nullptr);
  HBITMAP back = static_cast<HBITMAP>(GetClipboardData(CF_BITMAP));
  ASSERT_NE(back, nullptr);
  SelectObject(dc, back);
  EXPECT_EQ(GetPixel(dc, 1, 0), RGB(0, 0, 255));
  SelectObject(dc, old);
  CloseClipboard();
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
}

TEST_F(Clipboard, ATruncatedForeignDibIsNoBitmap) {
  std::vector<uint8_t> dib(40, 0);
  BITMAPINFOHEADER h{40, 100, 100, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  std::memcpy(dib.data(), &h, 40);
  dib.resize(40 + 16);  // far fewer pixels than the header promises
  driver().ClipboardPut(CF_DIB, dib);
  OpenClipboard(nullptr);
  EXPECT_EQ(GetClipboardData(CF_BITMAP), nullptr);
  CloseClipboard();
}

}  // namespace
