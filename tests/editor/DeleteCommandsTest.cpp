// Deleting pages and parts of pages: the only page stays, each selection with OK or Cancel, text
// files going with their page unless another page uses them, the picture cache, and the
// clipboard emptied by the delete command whatever was answered.
#include <sys/stat.h>

#include "controls/TImButton.h"
#include "editor/TImgFileManager.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TClipboard.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TMenuItem.h"
#include "platform/win/Win.h"
#include "tests/editor/CommandFixture.h"

namespace {

using editortest::CommandTest;
using platform::win::ModalAnswer;
using platform::win::ModalInfo;

bool Exists(const std::string& path) {
  struct stat st;
  return stat(path.c_str(), &st) == 0;
}

class DeleteCommands : public CommandTest {
 protected:
  // Answers the delete box with OK (1) or Cancel (2).
  void Answer(int result) {
    AnswerModals([result](const ModalInfo&) { return ModalAnswer::Result(result); });
  }
  std::string text = editortest::Utf16Le(u"slide text");
  std::string picture = editortest::Noise(400, 7);
};

TEST_F(DeleteCommands, TheOnlyPageIsKeptWithAWarning) {
  main->SetSelection(StripSelection::kPage);
  main->Document().SetCurrentPage(0);
  EXPECT_EQ(main->DeleteSelection(0), 0);
  EXPECT_EQ(main->Mms()->Body->GetFrameCount(), 1);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].Says(u"<STR_Main_Error_OnePage>"));
}

TEST_F(DeleteCommands, EachSelectionWithOkOrCancel) {
  struct Case {
    const char* what;
    StripSelection selection;
    int answer;
    int pagesAfter;
    bool textItem, textFile, pictureItem, pictureFile, soundItem;
  };
  const Case cases[] = {
      {"page, OK", StripSelection::kPage, 1, 1, false, false, false, true, false},
      {"page, Cancel", StripSelection::kPage, 2, 2, true, true, true, true, true},
      {"text, OK", StripSelection::kText, 1, 2, false, false, true, true, true},
      {"text, Cancel", StripSelection::kText, 2, 2, true, true, true, true, true},
      {"picture, OK", StripSelection::kPicture, 1, 2, true, true, false, true, true},
      {"sound, OK", StripSelection::kSound, 1, 2, true, true, true, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    main->Init();
    Pages(2);
    const std::string textPath = Put(0, TMediaItem::kText, "txt0.txt", &text);
    const std::string picturePath = Put(0, TMediaItem::kImage, "p.jpg", &picture);
    Put(0, TMediaItem::kAudio, "s.wav", &picture);
    main->Document().SetCurrentPage(0);
    main->SetSelection(c.selection);
    main->UpdatePopupMenu();
    Answer(c.answer);
    shown.clear();
    EXPECT_EQ(main->DeleteSelection(0), 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_TRUE(shown[0].Says(c.selection == StripSelection::kPage ? u"<STR_Mivora_DelHint>"
                                                                   : u"<STR_Main_Del_Hint>"));
    ASSERT_EQ(main->Mms()->Body->GetFrameCount(), c.pagesAfter);
    const TMmsFrame* page = main->Mms()->Body->GetFrame(0);
    const bool samePage = c.pagesAfter == 2;
    EXPECT_EQ(samePage && page->GetItem(TMediaItem::kText) != nullptr, c.textItem);
    EXPECT_EQ(Exists(textPath), c.textFile);
    EXPECT_EQ(samePage && page->GetItem(TMediaItem::kImage) != nullptr, c.pictureItem);
    EXPECT_EQ(Exists(picturePath), c.pictureFile);
    EXPECT_EQ(samePage && page->GetItem(TMediaItem::kAudio) != nullptr, c.soundItem);
  }
}

TEST_F(DeleteCommands, NothingSelectedOrNothingToDelete) {
  Pages(2);
  main->Document().SetCurrentPage(0);
  main->SetSelection(StripSelection::kNone);
  main->Controls().delete_pop->SetEnabled(false);
  EXPECT_EQ(main->DeleteSelection(0), 0);
  EXPECT_TRUE(shown.empty());
  main->Controls().delete_pop->SetEnabled(true);
  EXPECT_EQ(main->DeleteSelection(0), TfrmMain::kNothingSelected);
  EXPECT_EQ(shown.size(), 1u);
  EXPECT_EQ(main->DeleteSelection(5), TfrmMain::kNoSuchPage);
}

TEST_F(DeleteCommands, ATextFileGoesOnlyWithItsOwnPageAndNeverOutsideTheWorkingFolder) {
  Pages(3);
  const std::string first = Put(0, TMediaItem::kText, "txt0.txt", &text);
  const std::string second = Put(1, TMediaItem::kText, "txt1.txt", &text);
  testsupport::TempDir outside;
  const std::string foreign = outside.write("mine.txt", text);
  main->Mms()->SetFrameItemFromFile(2, TMediaItem::kText, foreign);
  main->Mms()->Body->MoveFrame(0, 1);  // page 1's text is now on page 0
  Answer(1);
  main->Document().SetCurrentPage(0);
  main->SetSelection(StripSelection::kText);
  main->UpdatePopupMenu();
  EXPECT_EQ(main->DeleteSelection(0), 0);
  EXPECT_FALSE(Exists(second));
  EXPECT_TRUE(Exists(first));
  // A text item whose file lies elsewhere: the item goes, the user's file stays.
  main->Document().SetCurrentPage(2);
  main->UpdatePopupMenu();
  EXPECT_EQ(main->DeleteSelection(2), 0);
  EXPECT_EQ(main->Mms()->Body->GetFrame(2)->GetItem(TMediaItem::kText), nullptr);
  EXPECT_TRUE(Exists(foreign));
  // A page whose text another page shares keeps the file when it goes.
  main->Mms()->SetFrameItemFromFile(2, TMediaItem::kText, first);
  main->Document().SetCurrentPage(2);
  main->SetSelection(StripSelection::kPage);
  EXPECT_EQ(main->DeleteSelection(2), 0);
  EXPECT_EQ(main->Mms()->Body->GetFrameCount(), 2);
  EXPECT_TRUE(Exists(first));
}

TEST_F(DeleteCommands, ThePictureLeavesTheCacheWithItsLastUser) {
  Pages(2);
  const std::string path = Put(0, TMediaItem::kImage, "p.jpg", &picture);
  main->Mms()->SetFrameItemFromFile(1, TMediaItem::kImage, path);
  if (!pImgFileManager) pImgFileManager = new TImgFileManager();
  pImgFileManager->Add(new TImgFileItem(path.c_str()));
  ASSERT_GE(pImgFileManager->IndexOf(path.c_str()), 0);
  EXPECT_EQ(main->DeleteImageItem(0), 1);
  EXPECT_GE(pImgFileManager->IndexOf(path.c_str()), 0);
  EXPECT_EQ(main->DeleteImageItem(1), 1);
  EXPECT_LT(pImgFileManager->IndexOf(path.c_str()), 0);
  EXPECT_TRUE(Exists(path));
  EXPECT_EQ(main->DeleteImageItem(2), TfrmMain::kNoSuchPage);
}

TEST_F(DeleteCommands, TheDeleteCommandEmptiesTheClipboardEvenWhenCancelled) {
  Pages(2);
  Put(0, TMediaItem::kText, "txt0.txt", &text);
  Clipboard()->SetAsText("foreign text");
  Answer(2);
  main->Document().SetCurrentPage(0);
  main->SetSelection(StripSelection::kText);
  main->btnDelFrameClick(nullptr);
  EXPECT_NE(main->Mms()->Body->GetFrame(0)->GetItem(TMediaItem::kText), nullptr);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
  EXPECT_EQ(shown.size(), 1u);
}

}  // namespace

namespace {

using platform::headless::Driver;

// The buttons under the strip, clicked as a user would: a new slide, then deleting it again
// through the delete box.
TEST_F(DeleteCommands, NewAndDeleteSlideButtonsClickedOnTheWindow) {
  Answer(1);
  auto centre = [](auto* c) { return POINT{c->Left() + c->Width() / 2, c->Top() + c->Height() / 2}; };
  const POINT add = centre(main->Controls().btnNewFrame), del = centre(main->Controls().btnDelFrame);
  Driver().Click(Driver().ClientPoint(main->Handle(), add.x, add.y));
  Driver().RunUntilIdle();
  ASSERT_EQ(main->Mms()->Body->GetFrameCount(), 2);
  EXPECT_EQ(main->Document().CurrentPage(), 1);
  EXPECT_TRUE(main->Document().Modified());
  EXPECT_EQ(Caption(main->Controls().Label_Time), "2");
  main->SetSelection(StripSelection::kPage);
  Driver().Click(Driver().ClientPoint(main->Handle(), del.x, del.y));
  Driver().RunUntilIdle();
  EXPECT_EQ(main->Mms()->Body->GetFrameCount(), 1);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].Says(u"<STR_Mivora_DelHint>"));
  EXPECT_EQ(Caption(main->Controls().Label_Time), "1");
}

}  // namespace
