// The roads of texts and the clipboard: a page's text written in the text editor window, and
// copying, cutting and pasting pages and parts (also other programs' texts and pictures).
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

#include "controls/TImButton.h"
#include "editor/TfrmTextEditor.h"
#include "mms/MmsComposer.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TScrollBar.h"
#include "platform/forms/TWinControl.h"
#include "platform/rtl/Utf8.h"
#include "tests/e2e/RoadFixture.h"

namespace {

namespace fs = std::filesystem;
using e2e::ModalAnswer;
using e2e::ModalInfo;
using e2e::ReadFile;
using platform::headless::Driver;

class TextRoads : public e2e::Road {
 protected:
  const TMediaItem* Item(int page, int type) const {
    return main->Mms()->Body->GetFrame(page)->GetItem(type);
  }
  std::string PathOf(int page, int type) const {
    const TMediaItem* item = Item(page, type);
    return item ? item->Path : std::string();
  }
  // Clicks the scroll bar's right arrow until the strip shows its last page whole.
  void ScrollToEnd() {
    TScrollBar* bar = main->Controls().scrBarFrameList;
    const POINT arrow =
        Driver().ClientPoint(main->Handle(), bar->Left() + bar->Width() - 5, bar->Top() + bar->Height() / 2);
    for (int i = 0; i < 60 && bar->Position() < bar->Max(); ++i) {
      Driver().Advance(1000);
      Click(arrow);
    }
    ASSERT_EQ(bar->Position(), bar->Max());
  }
  void Select(int x, int y) {
    Driver().Advance(1000);  // never a double click with the press before
    Click(StripPoint(x, y));
  }
};

TEST_F(TextRoads, R2InsertText) {
  StartEditor();
  // Cancel on a new text leaves no item and no file.
  WriteText(u"never kept", false);
  DoubleClick(StripPoint(50, 155));
  EXPECT_EQ(Item(0, TMediaItem::kText), nullptr);
  EXPECT_FALSE(fs::exists(Tmp("TXT/txt0.txt")));

  Driver().Advance(1000);
  modals.clear();
  WriteText(u"Hello");
  DoubleClick(StripPoint(50, 155));
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].caption, u"TextEditor");
  ASSERT_NE(Item(0, TMediaItem::kText), nullptr);
  EXPECT_EQ(PathOf(0, TMediaItem::kText), Tmp("TXT/txt0.txt"));
  EXPECT_EQ(ReadFile(Tmp("TXT/txt0.txt")),
            std::string("\xFF\xFE\x48\x00\x65\x00\x6C\x00\x6C\x00\x6F\x00", 12));
  EXPECT_EQ(main->Mms()->GetRegionWidth("Text"), 120);
  EXPECT_EQ(main->Mms()->GetRegionTop("Text"), 123);
  Shot("e2e-R2-text.png");

  // Ctrl+T writes the text of a second page.
  Click(Centre(main->Controls().btnNewFrame));
  modals.clear();
  WriteText(u"Second");
  Chord("Ctrl+T");
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].caption, u"TextEditor");
  ASSERT_NE(Item(1, TMediaItem::kText), nullptr);
}

TEST_F(TextRoads, ALongLineOfTextTakesARegionOfSeveralLines) {
  StartEditor();
  std::u16string text;
  while (text.size() < 300) text += u"words in a row ";
  text.resize(300);
  // The text editor's file as it saves it (typing 300 keys into its memo costs seconds).
  main->SetTextEditorRunner([&text](TfrmMain*, const AnsiString& path) {
    std::ofstream(path.c_str(), std::ios::binary) << editortest::Utf16Le(text);
    return path;
  });
  DoubleClick(StripPoint(50, 155));
  ASSERT_NE(Item(0, TMediaItem::kText), nullptr);
  // Some fifteen lines of 120 pixels in the default font; a line that never fills would be one.
  const int height = main->Mms()->GetRegionHeight("Text");
  EXPECT_EQ(height % TK3VNMms::kTextLineHeight, 0);
  EXPECT_GE(height / TK3VNMms::kTextLineHeight, 8) << height;
  // The page canvas draws exactly the lines the region was sized for.
  main->DrawPage(0);
  ASSERT_NE(main->TextBitmap(), nullptr);
  EXPECT_EQ(main->TextBitmap()->Height(), height);
  // The build every measurement runs hands that height to the composer.
  ASSERT_EQ(main->BuildMms(), 1);
  EXPECT_EQ(MmsComposerTable()->Slide[0].TextHeight, height);
  EXPECT_EQ(MmsComposerTable()->Slide[0].TextWidth, 120);
  MmsComposerReset();
  Shot("e2e-long-text.png");
}

TEST_F(TextRoads, R6Clipboard) {
  StartEditor();
  // Page A: a picture, a sound and a text; page B empty.
  ChooseFile(Shared("pillow/jpeg/hopper.jpg", "photo.jpg"));
  DoubleClick(StripPoint(50, 100));
  Driver().Advance(1000);
  ChooseFile(Wav("tone.wav"));
  DoubleClick(StripPoint(50, 185));
  Driver().Advance(1000);
  WriteText(u"Page A");
  DoubleClick(StripPoint(50, 155));
  answer = nullptr;
  Click(Centre(main->Controls().btnNewFrame));
  ASSERT_EQ(main->Mms()->Body->GetFrameCount(), 2);
  const TMmsFrame* b = main->Mms()->Body->GetFrame(1);

  // A page: A's title, Ctrl+C, B's title, Ctrl+V: a copy of A before B, current.
  Select(70, 40);
  Chord("Ctrl+C");
  Select(170, 40);
  Chord("Ctrl+V");
  ASSERT_EQ(main->Mms()->Body->GetFrameCount(), 3);
  EXPECT_EQ(main->Mms()->Body->GetFrame(2), b);
  EXPECT_EQ(main->Document().CurrentPage(), 1);
  EXPECT_EQ(PathOf(1, TMediaItem::kImage), PathOf(0, TMediaItem::kImage));
  EXPECT_EQ(PathOf(1, TMediaItem::kAudio), PathOf(0, TMediaItem::kAudio));
  ASSERT_NE(PathOf(1, TMediaItem::kText), "");
  EXPECT_NE(PathOf(1, TMediaItem::kText), PathOf(0, TMediaItem::kText));
  EXPECT_EQ(ReadFile(PathOf(1, TMediaItem::kText)), ReadFile(PathOf(0, TMediaItem::kText)));
  Shot("e2e-R6-paste.png");

  // A part: page 0's picture onto page 2's picture band (the strip scrolled to it first).
  Select(70, 100);
  Chord("Ctrl+C");
  ScrollToEnd();
  Select(270, 100);
  Chord("Ctrl+V");
  EXPECT_EQ(PathOf(2, TMediaItem::kImage), PathOf(0, TMediaItem::kImage));

  // Cutting a text asks first; answered 1 it goes, and pastes on another page.
  const std::string text = ReadFile(PathOf(0, TMediaItem::kText));
  modals.clear();
  Select(70, 155);
  Chord("Ctrl+X");
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].className, u"TDelMessageBox");
  EXPECT_TRUE(Saw(u"<STR_Main_Del_Hint>"));
  EXPECT_EQ(Item(0, TMediaItem::kText), nullptr);
  Select(270, 155);
  Chord("Ctrl+V");
  ASSERT_NE(Item(2, TMediaItem::kText), nullptr);
  EXPECT_EQ(ReadFile(PathOf(2, TMediaItem::kText)), text);

  // Other programs' text and picture become files of the working folder.
  Driver().ClipboardPut(CF_TEXT, {'a', 'b', 'c', 0});
  Select(70, 155);
  Chord("Ctrl+V");
  const std::string pasted = PathOf(0, TMediaItem::kText);
  EXPECT_EQ(fs::path(pasted).parent_path(), fs::path(Tmp("TXT")));
  EXPECT_EQ(fs::path(pasted).filename().string().rfind("Text", 0), 0u) << pasted;

  // A device-independent bitmap of 24 x 16 pixels, as another program puts it.
  std::vector<uint8_t> dib(40 + 24 * 3 * 16, 0x80);
  const uint8_t header[16] = {40, 0, 0, 0, 24, 0, 0, 0, 16, 0, 0, 0, 1, 0, 24, 0};
  std::copy(header, header + 16, dib.begin());
  std::fill(dib.begin() + 16, dib.begin() + 40, 0);
  Driver().ClipboardPut(CF_DIB, dib);
  Select(70, 100);
  Chord("Ctrl+V");
  const std::string picture = PathOf(0, TMediaItem::kImage);
  EXPECT_EQ(fs::path(picture).parent_path(), fs::path(Tmp("Image")));
  EXPECT_EQ(fs::path(picture).filename().string().rfind("Img", 0), 0u) << picture;
  EXPECT_EQ(fs::path(picture).extension(), ".jpg");
  Driver().ClipboardPut(CF_TEXT, {'a', 'b', 'c', 0});

  // With the subject focused, Ctrl+V pastes into the subject only.
  const int pages = main->Mms()->Body->GetFrameCount();
  Click(Centre(main->Controls().memo_title));
  Chord("Ctrl+V");
  EXPECT_EQ(std::u16string(main->Controls().memo_title->Text().c_str()), u"abc");
  EXPECT_EQ(main->Mms()->Body->GetFrameCount(), pages);

  // A selected part and Delete: the box, 1: removed, and the clipboard empty.
  modals.clear();
  Select(70, 185);
  Chord("Delete");
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(Item(0, TMediaItem::kAudio), nullptr);
  EXPECT_TRUE(Driver().ClipboardRead(CF_TEXT).empty());
}

}  // namespace
