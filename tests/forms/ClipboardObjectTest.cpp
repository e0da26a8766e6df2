// The clipboard object: 8-bit text in the system code page both ways (with the UTF-16 form
// another program reads), foreign text read within its block, a bitmap put through Assign and
// taken back by a picture and a bitmap, registered formats, and nested opening that puts
// several formats together.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TClipboard.h"
#include "platform/forms/TJPEGImage.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"

namespace {

using platform::headless::Driver;

std::vector<uint8_t> Utf16Bytes(const std::u16string& s, bool terminate = true) {
  std::vector<uint8_t> out;
  for (char16_t u : s) out.insert(out.end(), {uint8_t(u), uint8_t(u >> 8)});
  if (terminate) out.insert(out.end(), {0, 0});
  return out;
}

std::u16string WideOf(HANDLE h) {
  const auto* p = static_cast<const char16_t*>(GlobalLock(h));
  std::u16string s(p);
  GlobalUnlock(h);
  return s;
}

class ClipboardObjectTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::headless::Install();
    FormsStartup();
    SetSystemCodePage(CP_UTF8);
  }
  void TearDown() override {
    SetSystemCodePage(CP_UTF8);
    FormsShutdown();
    platform::headless::Uninstall();
  }
};

struct TextCase {
  UINT codePage;
  std::string narrow;      // what AsText holds
  std::u16string wide;     // the UTF-16 form another program reads
  std::u16string foreign;  // another program's UTF-16 text
  std::string foreignAsText;
};

TEST_F(ClipboardObjectTest, TextTravelsInTheSystemCodePage) {
  const TextCase cases[] = {
      {CP_UTF8, "Vi\xE1\xBB\x87t \xE1\x9E\x80", u"Vi\u1EC7t \u1780", u"\u1780\u17B6 caf\u00E9",
       "\xE1\x9E\x80\xE1\x9E\xB6 caf\xC3\xA9"},
      {1252, "caf\xE9 \x80", u"caf\u00E9 \u20AC", u"\u1780 caf\u00E9", "? caf\xE9"},
  };
  for (const TextCase& c : cases) {
    SCOPED_TRACE(c.codePage);
    SetSystemCodePage(c.codePage);
    Clipboard()->SetAsText(c.narrow.c_str());
    EXPECT_EQ(Clipboard()->AsText().ToStd(), c.narrow);
    EXPECT_TRUE(Clipboard()->HasFormat(CF_UNICODETEXT));
    EXPECT_EQ(WideOf(Clipboard()->GetAsHandle(CF_UNICODETEXT)), c.wide);
    EXPECT_EQ(Driver().ClipboardRead(CF_TEXT).size(), c.narrow.size() + 1);  // published with its terminator
    Driver().ClipboardPut(CF_UNICODETEXT, Utf16Bytes(c.foreign));
    EXPECT_EQ(Clipboard()->AsText().ToStd(), c.foreignAsText);
  }
}

TEST_F(ClipboardObjectTest, TextBuffersAreBoundedOnBothSides) {
  // Another program's 8-bit text without a terminator is read within its block.
  Driver().ClipboardPut(CF_TEXT, {'a', 'b', 'c', 'd', 'e', 'f'});
  EXPECT_EQ(Clipboard()->FormatCount(), 3);  // counted as soon as it arrives: and as UTF-16 and OEM text
  EXPECT_EQ(Clipboard()->AsText(), "abcdef");
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(Clipboard()->GetTextBuf(buffer, 4), 3);
  EXPECT_STREQ(buffer, "abc");
  EXPECT_EQ(buffer[4], 'x');
  EXPECT_EQ(Clipboard()->GetTextBuf(buffer, 8), 6);
  EXPECT_STREQ(buffer, "abcdef");
  EXPECT_EQ(Clipboard()->GetTextBuf(buffer, 0), 0);
  EXPECT_EQ(Clipboard()->GetTextBuf(buffer, -5), 0);
  EXPECT_EQ(buffer[0], 'a');
  Clipboard()->SetTextBuf("typed");
  EXPECT_EQ(Clipboard()->AsText(), "typed");
  Clipboard()->SetTextBuf(nullptr);
  EXPECT_EQ(Clipboard()->AsText(), "");
  EXPECT_TRUE(Clipboard()->HasFormat(CF_TEXT));
  Clipboard()->Clear();
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_EQ(Clipboard()->GetTextBuf(buffer, 8), 0);
  EXPECT_STREQ(buffer, "");
}

TEST_F(ClipboardObjectTest, ABitmapGoesThroughAssignAndComesBackToAPictureAndABitmap) {
  TBitmap source;
  source.SetPixelFormat(pf24bit);
  source.SetSize(3, 2);
  source.Canvas()->SetPixels(0, 0, clRed);
  source.Canvas()->SetPixels(2, 1, clBlue);
  source.Canvas()->SetPixels(1, 0, clLime);
  Clipboard()->Assign(&source);
  EXPECT_TRUE(Clipboard()->HasFormat(CF_DIB));
  EXPECT_TRUE(Clipboard()->HasFormat(CF_BITMAP));  // made from the DIB for programs that read bitmaps
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  EXPECT_FALSE(Driver().ClipboardRead(CF_DIB).empty());

  TPicture picture;
  picture.Assign(Clipboard());
  auto* fromPicture = dynamic_cast<TBitmap*>(picture.Graphic());
  ASSERT_NE(fromPicture, nullptr);
  TBitmap fromBitmap;
  fromBitmap.Assign(Clipboard());
  for (TBitmap* back : {fromPicture, &fromBitmap}) {
    ASSERT_EQ(back->Width(), 3);
    ASSERT_EQ(back->Height(), 2);
    EXPECT_EQ(back->Canvas()->Pixels(0, 0), COLORREF(clRed));
    EXPECT_EQ(back->Canvas()->Pixels(1, 0), COLORREF(clLime));
    EXPECT_EQ(back->Canvas()->Pixels(2, 1), COLORREF(clBlue));
    EXPECT_EQ(back->Canvas()->Pixels(0, 1), COLORREF(clBlack));
  }

  // A picture puts its graphic the same way; text put afterwards replaces it.
  picture.Bitmap()->Canvas()->SetPixels(0, 0, clYellow);
  Clipboard()->Assign(&picture);
  TBitmap again;
  again.Assign(Clipboard());
  EXPECT_EQ(again.Canvas()->Pixels(0, 0), COLORREF(clYellow));
  Clipboard()->SetAsText("words");
  TPicture none;
  EXPECT_THROW(none.Assign(Clipboard()), EConvertError);
  EXPECT_EQ(none.Graphic(), nullptr);
  EXPECT_THROW(again.Assign(Clipboard()), EInvalidGraphic);
  EXPECT_EQ(again.Width(), 3);  // a failed paste keeps the picture
  // A picture that cannot be put leaves the clipboard as it was.
  TPicture empty;
  EXPECT_THROW(Clipboard()->Assign(&empty), EInvalidGraphic);
  TJPEGImage jpeg;
  jpeg.Assign(&source);
  EXPECT_THROW(Clipboard()->Assign(&jpeg), EInvalidGraphic);
  EXPECT_EQ(Clipboard()->AsText(), "words");
}

TEST_F(ClipboardObjectTest, RegisteredFormatsAndNestedOpeningPutSeveralFormatsTogether) {
  const WORD item = WORD(RegisterClipboardFormatA("MMS Editor Item"));
  const uint8_t bytes[6] = {1, 0, 2, 0, 3, 0};
  // Each call on its own empties the clipboard first.
  Clipboard()->SetAsText("label");
  Clipboard()->SetBuffer(item, bytes, sizeof bytes);
  EXPECT_FALSE(Clipboard()->HasFormat(CF_TEXT));
  ASSERT_TRUE(Clipboard()->HasFormat(item));
  HANDLE h = Clipboard()->GetAsHandle(item);
  ASSERT_EQ(GlobalSize(h), sizeof bytes);
  EXPECT_EQ(std::memcmp(GlobalLock(h), bytes, sizeof bytes), 0);
  GlobalUnlock(h);
  EXPECT_EQ(Driver().ClipboardRead(0, "MMS Editor Item"), std::vector<uint8_t>(bytes, bytes + 6));

  // Inside one Open they join: the first one added empties, the rest are kept.
  Clipboard()->Clear();
  EXPECT_TRUE(Driver().ClipboardRead(0, "MMS Editor Item").empty());
  Clipboard()->Open();
  Clipboard()->Open();
  Clipboard()->SetAsText("label");
  Clipboard()->SetBuffer(item, bytes, sizeof bytes);
  HGLOBAL wide = GlobalAlloc(GMEM_MOVEABLE, 4);
  std::memcpy(GlobalLock(wide), u"L", 4);
  GlobalUnlock(wide);
  Clipboard()->SetAsHandle(CF_UNICODETEXT, wide);
  Clipboard()->Close();
  EXPECT_TRUE(Driver().ClipboardRead(0, "MMS Editor Item").empty());  // published only at the last Close
  Clipboard()->Close();
  Clipboard()->Close();  // one too many does nothing
  EXPECT_EQ(Clipboard()->AsText(), "label");
  EXPECT_EQ(WideOf(Clipboard()->GetAsHandle(CF_UNICODETEXT)), u"L");
  EXPECT_EQ(Driver().ClipboardRead(0, "MMS Editor Item").size(), sizeof bytes);
  const int count = Clipboard()->FormatCount();
  EXPECT_EQ(count, 4);  // text, the item, UTF-16 text, and the OEM text made from them
  EXPECT_EQ(Clipboard()->Formats(0), CF_TEXT);
  EXPECT_EQ(Clipboard()->Formats(1), item);
  EXPECT_EQ(Clipboard()->Formats(2), CF_UNICODETEXT);
  EXPECT_EQ(Clipboard()->Formats(count), 0);  // past the end, not round again
  EXPECT_EQ(Clipboard()->Formats(-1), 0);
  EXPECT_EQ(Clipboard(), Clipboard());
}

TEST_F(ClipboardObjectTest, AClipboardHeldByAnotherWindowCannotBeOpened) {
  HWND other = AllocateHWnd(nullptr);
  ASSERT_TRUE(OpenClipboard(other));
  try {
    Clipboard()->Open();
    ADD_FAILURE() << "opened";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message, "Cannot open clipboard");
  }
  EXPECT_THROW(Clipboard()->SetAsText("lost"), Exception);
  EXPECT_THROW(Clipboard()->AsText(), Exception);
  CloseClipboard();
  DeallocateHWnd(other);
  // Once the other window lets go, the failed opens left nothing behind.
  Clipboard()->SetAsText("kept");
  EXPECT_EQ(Clipboard()->AsText(), "kept");
  EXPECT_TRUE(OpenClipboard(nullptr));  // not held open by the clipboard object
  CloseClipboard();
}

// A bitmap that renders into a block and a palette under a format the clipboard refuses.
class TRefusedBitmap : public TBitmap {
 public:
  HGLOBAL block = nullptr;
  HPALETTE palette = nullptr;
  void SaveToClipboardFormat(WORD& format, HANDLE& data, HPALETTE& pal) override {
    block = GlobalAlloc(GMEM_MOVEABLE, 8);
    LOGPALETTE logical{0x300, 1, {{1, 2, 3, 0}}};
    palette = CreatePalette(&logical);
    format = 0;
    data = block;
    pal = palette;
  }
};

// A graphic that cannot be put or a format that cannot be read: the clipboard object is closed
// afterwards, and a block and palette the clipboard refused are freed.
TEST_F(ClipboardObjectTest, AFailedPutOrTakeLeavesTheClipboardClosedAndNothingLeaked) {
  Clipboard()->SetAsText("kept");
  TBitmap empty;
  EXPECT_THROW(Clipboard()->Assign(&empty), EInvalidGraphic);
  EXPECT_EQ(Clipboard()->AsText(), "kept");  // a graphic that cannot render empties nothing
  TRefusedBitmap refused;
  refused.SetSize(1, 1);
  EXPECT_THROW(Clipboard()->Assign(&refused), EOutOfResources);
  ASSERT_NE(refused.block, nullptr);
  EXPECT_EQ(GlobalFree(refused.block), refused.block);  // no longer a block
  EXPECT_EQ(GetObjectType(refused.palette), 0u);
  TPicture picture;
  EXPECT_THROW(picture.Assign(Clipboard()), EConvertError);
  TBitmap bitmap;
  EXPECT_THROW(bitmap.Assign(Clipboard()), EInvalidGraphic);
  EXPECT_TRUE(OpenClipboard(nullptr));  // not held open by the clipboard object
  CloseClipboard();
}

}  // namespace
