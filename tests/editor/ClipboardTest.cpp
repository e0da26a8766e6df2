// Copy, cut and paste of pages and parts: the blocks the editor publishes, the order in which a
// paste takes what the clipboard holds, text parts that travel with their text (so a cut or a
// deleted page still pastes, and two pages never share a file), other programs' texts and
// bitmaps, the roll-back of a paste over the size limit, and the subject and duration fields
// keeping the commands to themselves while they have the focus.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "editor/TfrmMain.h"
#include "editor/clipblock/ClipBlock.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TMenuItem.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/Win.h"
#include "support/SharedData.h"
#include "tests/editor/CommandFixture.h"
#include "tests/editor/PicResizeFixture.h"

namespace {

using editortest::Noise;
using editortest::ReadAll;
using editortest::Utf16Le;
using platform::headless::Driver;
using platform::win::ModalAnswer;
using platform::win::ModalInfo;

constexpr const char* kImage = "K3VN_MMS_CLIPBRD_TYPE_IMG_ITEM";
constexpr const char* kText = "K3VN_MMS_CLIPBRD_TYPE_TEXT_ITEM";
constexpr const char* kAudio = "K3VN_MMS_CLIPBRD_TYPE_AUDIO_ITEM";
constexpr const char* kFrame = "K3VN_MMS_CLIPBRD_TYPE_FRAME";

std::string Shared(const char* path) { return testsupport::SharedPath(std::string("testdata/") + path); }

std::vector<uint8_t> Bytes(const std::string& s) { return std::vector<uint8_t>(s.begin(), s.end()); }
std::vector<uint8_t> Ansi(const std::string& s) { return Bytes(s + std::string(1, '\0')); }

// A 24-bit device-independent bitmap of w x h in one colour, as another program publishes it.
std::vector<uint8_t> Dib(int w, int h) {
  const int stride = (w * 3 + 3) & ~3;
  std::vector<uint8_t> b(40 + size_t(stride) * size_t(h), 0);
  auto put32 = [&b](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  put32(0, 40);
  put32(4, uint32_t(w));
  put32(8, uint32_t(h));
  b[12] = 1;
  b[14] = 24;
  put32(20, uint32_t(stride * h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      uint8_t* p = &b[40 + size_t(y) * size_t(stride) + size_t(x) * 3];
      p[0] = uint8_t(40 + x * 10);
      p[1] = uint8_t(120 + y * 5);
      p[2] = 200;
    }
  return b;
}

clipblock::Item Item(const std::string& path) {
  clipblock::Item item;
  item.path = path;
  return item;
}

class Clipboard : public editortest::CommandTest {
 protected:
  // As a press on the slide strip does: no field keeps the focus.
  void SetUp() override {
    CommandTest::SetUp();
    main->SetActiveControl(nullptr);
    Driver().RunUntilIdle();
  }
  const TMmsFrame* Frame(int page) { return main->Mms()->Body->GetFrame(page); }
  const TMediaItem* ItemOf(int page, int type) { return Frame(page)->GetItem(type); }
  std::string PathOf(int page, int type) {
    const TMediaItem* item = ItemOf(page, type);
    return item ? item->Path : "";
  }
  int PageCount() { return main->Mms()->Body->GetFrameCount(); }
  std::string Dir(const char* folder) { return app.path() + "/tmp/" + folder + "/"; }
  // A page 0 with a picture, a text and a sound.
  void FullPage() {
    const std::string picture = ReadAll(Shared("pillow/jpeg/hopper.jpg"));
    const std::string text = Utf16Le(u"page text \u1780");
    const std::string sound = Noise(2000, 3);
    Put(0, TMediaItem::kImage, "hopper.jpg", &picture);
    Put(0, TMediaItem::kText, "txt0.txt", &text);
    Put(0, TMediaItem::kAudio, "s.wav", &sound);
  }
  void PutBlock(const char* name, const std::vector<uint8_t>& bytes) {
    Driver().ClipboardPut(0, bytes, name);
  }
  // Counts the boxes of a class among those shown.
  int Shown(const std::u16string& className) {
    int n = 0;
    for (const auto& s : shown) n += s.className == className;
    return n;
  }
};

TEST_F(Clipboard, APastedPageIsACopyBeforeTheSelectedOneWithATextFileOfItsOwn) {
  FullPage();
  main->Document().SetCurrentPage(0);
  main->SetSelection(StripSelection::kPage);
  main->actCopyExecute(nullptr);
  // What the editor published reads back as this run's page block.
  const std::vector<uint8_t> published = Driver().ClipboardRead(0, kFrame);
  clipblock::Block block;
  ASSERT_TRUE(clipblock::Read(published.data(), published.size(), clipblock::Kind::Page,
                              clipblock::RunToken(), &block));
  EXPECT_EQ(block.page.items[clipblock::kTextSlot].text, u"page text \u1780");

  main->actPasteExecute(nullptr);
  ASSERT_EQ(PageCount(), 2);
  EXPECT_EQ(main->Document().CurrentPage(), 0);
  for (int type : {TMediaItem::kImage, TMediaItem::kAudio}) EXPECT_EQ(PathOf(0, type), PathOf(1, type));
  EXPECT_NE(PathOf(0, TMediaItem::kText), PathOf(1, TMediaItem::kText));
  EXPECT_EQ(PathOf(0, TMediaItem::kText), Dir("TXT") + "Text0.txt");
  EXPECT_EQ(ReadAll(PathOf(0, TMediaItem::kText)), ReadAll(PathOf(1, TMediaItem::kText)));
  EXPECT_EQ(Frame(0)->Dur, Frame(1)->Dur);

  std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  main->RefreshFrameList();
  Driver().RunUntilIdle();
  EXPECT_TRUE(Driver().SavePng(main->Handle(), MMS_SCREENSHOT_DIR "/paste-page.png"));

  // At 20 pages the page is refused with the page-limit box.
  while (PageCount() < 20) main->NewFrame();
  shown.clear();
  EXPECT_EQ(main->PasteClipboard(0), TfrmMain::kTooManyPages);
  EXPECT_EQ(PageCount(), 20);
  EXPECT_EQ(Shown(u"TFrameBox"), 1);
  EXPECT_EQ(main->PasteClipboard(-1), TfrmMain::kNoSuchPage);
}

TEST_F(Clipboard, APasteTakesTheFirstFormatInItsOrder) {
  const std::string sound = Dir("Audio") + "s.wav", picture = Dir("Image") + "p.jpg";
  const auto audioBlock = clipblock::WriteItem(clipblock::Kind::Sound, Item(sound), clipblock::RunToken());
  clipblock::Item pictureItem = Item(picture);
  pictureItem.type = 1;
  const auto imageBlock = clipblock::WriteItem(clipblock::Kind::Picture, pictureItem, clipblock::RunToken());
  clipblock::Page page;
  page.dur = 4000;
  const auto frameBlock = clipblock::WritePage(page, clipblock::RunToken());
  struct Case {
    const char* what;
    std::function<void()> put;
    int pages;         // after the paste
    int type;          // the slot of page 0 that got the item (-1: none)
    std::string path;  // its path ("" for a new file)
  };
  const Case cases[] = {
      {"sound and text",
       [&] {
         PutBlock(kAudio, audioBlock);
         Driver().ClipboardPut(CF_TEXT, Ansi("words"));
       },
       1, TMediaItem::kAudio, sound},
      {"text and picture",
       [&] {
         Driver().ClipboardPut(CF_TEXT, Ansi("words"));
         PutBlock(kImage, imageBlock);
       },
       1, TMediaItem::kText, ""},
      {"picture alone", [&] { PutBlock(kImage, imageBlock); }, 1, TMediaItem::kImage, picture},
      {"page and text",
       [&] {
         PutBlock(kFrame, frameBlock);
         Driver().ClipboardPut(CF_TEXT, Ansi("words"));
       },
       2, -1, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    main->Init();
    main->Document().SetCurrentPage(0);
    main->SetSelection(StripSelection::kPicture);
    c.put();
    EXPECT_EQ(main->PasteClipboard(0), 0);
    ASSERT_EQ(PageCount(), c.pages);
    for (int type : {TMediaItem::kText, TMediaItem::kImage, TMediaItem::kAudio}) {
      if (type != c.type) {
        EXPECT_EQ(ItemOf(c.pages - 1, type), nullptr) << type;
        continue;
      }
      ASSERT_NE(ItemOf(0, type), nullptr);
      if (!c.path.empty()) {
        EXPECT_EQ(PathOf(0, type), c.path);
      }
    }
    if (c.pages == 2) {
      EXPECT_EQ(Frame(0)->Dur, 4000);
    }
  }
}

TEST_F(Clipboard, OtherProgramsTextsAndBitmapsBecomeFilesThatNeverReplaceOthers) {
  main->Init();
  main->Document().SetCurrentPage(0);
  // A file an earlier document left under the first name is skipped.
  AppFile("tmp/TXT/Text0.txt", "earlier");
  Driver().ClipboardPut(CF_TEXT, Ansi(std::string(1000, 'a')));
  ASSERT_EQ(main->PasteClipboard(0), 0);
  EXPECT_EQ(PathOf(0, TMediaItem::kText), Dir("TXT") + "Text1.txt");
  EXPECT_EQ(ReadAll(Dir("TXT") + "Text1.txt"), Utf16Le(std::u16string(1000, u'a')));
  EXPECT_EQ(ReadAll(Dir("TXT") + "Text0.txt"), "earlier");

  // 1001 units are refused with the warning; nothing changes.
  shown.clear();
  Driver().ClipboardPut(CF_TEXT, Ansi(std::string(999, 'b') + "\xF0\x9F\x98\x80"));
  ASSERT_EQ(main->PasteClipboard(0), 0);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].Says(u"<STR_Main_Text_Message>"));
  EXPECT_EQ(PathOf(0, TMediaItem::kText), Dir("TXT") + "Text1.txt");

  // Line breaks become CR LF, as the text editor writes them.
  Driver().ClipboardPut(CF_TEXT, Ansi("a\nb\r\nc\rd"));
  ASSERT_EQ(main->PasteClipboard(0), 0);
  EXPECT_EQ(PathOf(0, TMediaItem::kText), Dir("TXT") + "Text2.txt");
  EXPECT_EQ(ReadAll(PathOf(0, TMediaItem::kText)), Utf16Le(u"a\r\nb\r\nc\r\nd"));

  // A bitmap becomes a JPEG of quality 80 under the next free number.
  Driver().ClipboardPut(CF_DIB, Dib(24, 16));
  ASSERT_EQ(main->PasteClipboard(0), 0);
  EXPECT_EQ(PathOf(0, TMediaItem::kImage), Dir("Image") + "Img3.jpg");
  const editortest::Picture jpeg = editortest::Identify(Dir("Image") + "Img3.jpg");
  EXPECT_EQ(jpeg.format, "JPEG");
  EXPECT_EQ(jpeg.width, 24);
  EXPECT_EQ(jpeg.height, 16);
  EXPECT_EQ(jpeg.quality, 80);
  EXPECT_EQ(ReadAll(Dir("Image") + "Img3.jpg").substr(6, 4), "JFIF");

  // Nothing pasteable and no current page: no page is appended.
  Driver().ClipboardPut(99, Bytes("private"));
  main->Document().SetCurrentPage(-1);
  main->actPasteExecute(nullptr);
  EXPECT_EQ(PageCount(), 1);
}

TEST_F(Clipboard, BlocksNotOfThisRunOrOutOfReachPasteNothing) {
  main->Init();
  clipblock::Token other = clipblock::RunToken();
  other[0] ^= 0x55;
  clipblock::Page page;
  const std::vector<uint8_t> good = clipblock::WritePage(page, clipblock::RunToken());
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
  };
  std::vector<uint8_t> trailing = good;
  trailing.push_back(0);
  const Case cases[] = {
      {"another run", clipblock::WritePage(page, other)},
      {"cut short", std::vector<uint8_t>(good.begin(), good.end() - 1)},
      {"bytes left over", trailing},
      {"noise", Bytes(Noise(64, 9))},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    PutBlock(kFrame, c.bytes);
    main->Document().SetCurrentPage(0);
    main->actPasteExecute(nullptr);
    EXPECT_EQ(PageCount(), 1);
  }
  // The page format is there but another window holds the clipboard open.
  PutBlock(kFrame, good);
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_EQ(main->PasteClipboard(0), 0);
  CloseClipboard();
  EXPECT_EQ(PageCount(), 1);
  EXPECT_EQ(main->PasteClipboard(0), 0);
  EXPECT_EQ(PageCount(), 2);
}

TEST_F(Clipboard, ABitmapThatCannotBeHadPastesNothingAndRaisesNothing) {
  main->Init();
  std::vector<uint8_t> oddDepth = Dib(24, 16);
  oddDepth[14] = 7;
  std::vector<uint8_t> tall = Dib(24, 16);
  tall[8] = 0xFF;  // rows the block does not hold
  std::vector<uint8_t> cut = Dib(24, 16);
  cut.resize(20);
  struct Case {
    const char* what;
    std::vector<uint8_t> bytes;
    bool heldOpen;
  };
  const Case cases[] = {
      {"a header cut short", cut, false},
      {"seven bits a pixel", oddDepth, false},
      {"more rows than bytes", tall, false},
      {"another window holds the clipboard", Dib(24, 16), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Driver().ClipboardPut(CF_DIB, c.bytes);
    if (c.heldOpen) {
      ASSERT_TRUE(OpenClipboard(nullptr));
    }
    int pasted = -1;
    EXPECT_NO_THROW(pasted = main->PasteClipboard(0));
    EXPECT_EQ(pasted, 0);
    if (c.heldOpen) CloseClipboard();
    EXPECT_EQ(PathOf(0, TMediaItem::kImage), "");
    EXPECT_EQ(PageCount(), 1);
  }
}

TEST_F(Clipboard, APasteOverTheLimitIsTakenBackExactlyAndWithoutAQuestion) {
  const std::string loud = AppFile("tmp/Audio/loud.wav", Noise(310 * 1024, 13));
  const std::string picture = ReadAll(Shared("pillow/jpeg/hopper.jpg"));
  clipblock::Page bigPage;
  bigPage.dur = 2000;
  bigPage.filled[clipblock::kSoundSlot] = true;
  bigPage.items[clipblock::kSoundSlot] = Item(loud);
  clipblock::Item bigText = Item(Dir("TXT") + "whatever.txt");
  bigText.region = "Text";
  bigText.hasText = true;
  bigText.text = std::u16string(160000, u'\u1780');  // 320 KB of text
  struct Case {
    const char* what;
    const char* format;
    std::vector<uint8_t> block;
    int curFrame;
    StripSelection selection;
  };
  const Case cases[] = {
      {"a page", kFrame, clipblock::WritePage(bigPage, clipblock::RunToken()), 0, StripSelection::kPage},
      {"a sound while the picture is selected", kAudio,
       clipblock::WriteItem(clipblock::Kind::Sound, Item(loud), clipblock::RunToken()), 0,
       StripSelection::kPicture},
      {"a text over a text", kText,
       clipblock::WriteItem(clipblock::Kind::Text, bigText, clipblock::RunToken()), 0, StripSelection::kText},
      {"a sound onto an appended page", kAudio,
       clipblock::WriteItem(clipblock::Kind::Sound, Item(loud), clipblock::RunToken()), -1,
       StripSelection::kSound},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    main->Init();
    const std::string oldText = Utf16Le(u"old text");
    Put(0, TMediaItem::kImage, "hopper.jpg", &picture);
    const std::string textPath = Put(0, TMediaItem::kText, "txt0.txt", &oldText);
    main->Document().SetCurrentPage(c.curFrame);
    main->SetSelection(c.selection);
    main->GetPduSize();
    const std::string size = Caption(main->Controls().Label_Size);
    const auto txtBefore = std::distance(std::filesystem::directory_iterator(Dir("TXT")), {});
    PutBlock(c.format, c.block);
    shown.clear();
    main->actPasteExecute(nullptr);
    EXPECT_EQ(PageCount(), 1);
    EXPECT_EQ(main->Document().CurrentPage(), c.curFrame);
    EXPECT_EQ(PathOf(0, TMediaItem::kImage), Dir("Image") + "hopper.jpg");
    EXPECT_EQ(PathOf(0, TMediaItem::kText), textPath);
    EXPECT_EQ(ReadAll(textPath), oldText);
    EXPECT_EQ(ItemOf(0, TMediaItem::kAudio), nullptr);
    EXPECT_EQ(Caption(main->Controls().Label_Size), size);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Dir("TXT")), {}), txtBefore)
        << "no text left over";
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].Says(u"<SizeHint>"));
  }
}

TEST_F(Clipboard, ACutOrADeletedPageStillPastesItsText) {
  Pages(2);
  const std::string text = Utf16Le(u"cut me");
  const std::string cutPath = Put(0, TMediaItem::kText, "txt0.txt", &text);
  // The popup last showed a state in which nothing could be deleted.
  main->Controls().delete_pop->SetEnabled(false);
  main->Document().SetCurrentPage(0);
  main->SetSelection(StripSelection::kText);
  shown.clear();
  main->actCutExecute(nullptr);  // the delete box is answered with 1
  ASSERT_EQ(Shown(u"TDelMessageBox"), 1);
  EXPECT_EQ(ItemOf(0, TMediaItem::kText), nullptr);
  EXPECT_FALSE(std::filesystem::exists(cutPath));
  main->Document().SetCurrentPage(1);
  main->actPasteExecute(nullptr);
  ASSERT_NE(ItemOf(1, TMediaItem::kText), nullptr);
  EXPECT_EQ(ReadAll(PathOf(1, TMediaItem::kText)), text);

  // Copy the page, delete it (its text file goes with it), paste: the text is there.
  main->Document().SetCurrentPage(1);
  main->SetSelection(StripSelection::kPage);
  main->actCopyExecute(nullptr);
  const std::string deleted = PathOf(1, TMediaItem::kText);
  main->DeleteSelection(1);
  ASSERT_EQ(PageCount(), 1);
  EXPECT_FALSE(std::filesystem::exists(deleted));
  main->Document().SetCurrentPage(0);
  main->actPasteExecute(nullptr);
  ASSERT_EQ(PageCount(), 2);
  EXPECT_EQ(ReadAll(PathOf(0, TMediaItem::kText)), text);
}

TEST_F(Clipboard, TheSubjectAndTheDurationFieldKeepTheCommandsToThemselves) {
  FullPage();
  main->Document().SetCurrentPage(0);
  main->SetSelection(StripSelection::kPage);
  auto focus = [](TCustomEdit* edit, const char* text) {
    edit->SetEnabled(true);
    edit->SetTextProp(text);
    edit->SetFocus();
    Driver().RunUntilIdle();
    edit->SelectAll();
  };
  auto clipboardText = [] {
    const std::vector<uint8_t> b = Driver().ClipboardRead(CF_UNICODETEXT);
    std::u16string text;
    for (size_t i = 0; i + 1 < b.size() && (b[i] || b[i + 1]); i += 2)
      text += char16_t(b[i] | (b[i + 1] << 8));
    return platform::Utf16ToMultiByte(text);
  };

  // The subject: copy, cut and paste act on it alone.
  focus(main->Controls().memo_title, "subject");
  main->actCopyExecute(nullptr);
  EXPECT_EQ(clipboardText(), "subject");
  EXPECT_TRUE(Driver().ClipboardRead(0, kFrame).empty());
  main->actCutExecute(nullptr);
  EXPECT_EQ(main->Controls().memo_title->TControl::Text().ToStd(), "");
  main->actPasteExecute(nullptr);
  EXPECT_EQ(main->Controls().memo_title->TControl::Text().ToStd(), "subject");
  EXPECT_EQ(PageCount(), 1);

  // The duration field: copy and cut act on it, paste does nothing; no part is deleted.
  focus(main->Controls().Edit_Cur, "7");
  shown.clear();
  main->actCopyExecute(nullptr);
  EXPECT_EQ(clipboardText(), "7");
  EXPECT_TRUE(Driver().ClipboardRead(0, kFrame).empty());
  main->actCutExecute(nullptr);
  EXPECT_EQ(main->Controls().Edit_Cur->Text().ToStd(), "");
  EXPECT_TRUE(shown.empty());
  EXPECT_EQ(PageCount(), 1);
  Driver().ClipboardPut(CF_TEXT, Ansi("5"));
  main->actPasteExecute(nullptr);
  EXPECT_EQ(main->Controls().Edit_Cur->Text().ToStd(), "");
  EXPECT_EQ(PageCount(), 1);
  EXPECT_NE(ItemOf(0, TMediaItem::kText), nullptr);
}

}  // namespace
