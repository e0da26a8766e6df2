// The main window's document state and working folders: what start-up leaves in tmp/ (Send's
// message and subfolders only, never a link's target), the new one-page document, the 20-page
// limit, Init, and the tree emptied again when the window goes.
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "controls/TImButton.h"
#include "editor/EditorStart.h"
#include "editor/TFrameBox.h"
#include "editor/TImgFileManager.h"
#include "editor/TResizeHost.h"
#include "editor/TfrmMain.h"
#include "mms/TK3VNMms.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "mms/TMmsHead.h"
#include "mms/TMmsLayout.h"
#include "mms/TMmsRegion.h"
#include "pictures/PicturesStartup.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TScrollBar.h"
#include "platform/rtl/Exceptions.h"
#include "support/SharedData.h"
#include "tests/editor/EditorFixture.h"

namespace {

namespace fs = std::filesystem;
using editortest::EditorTest;
using platform::headless::Driver;
using platform::headless::ModalAnswer;
using platform::headless::ModalInfo;

const char* const kWorkFolders[] = {"TXT", "Image", "Video", "Audio", "Send", "Preview", "Sizetemp"};

std::string Bytes(const std::string& path) {
  std::vector<uint8_t> b = testsupport::ReadFileBytes(path);
  return std::string(b.begin(), b.end());
}

std::vector<std::string> Entries(const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class MainWindow : public EditorTest {
 protected:
  std::string Tmp(const std::string& rest = "") {
    return app.path() + "/tmp" + (rest.empty() ? "" : "/" + rest);
  }
};

TEST_F(MainWindow, StartUpEmptiesTheWorkingFoldersButKeepsSendSubfoldersAndLinkTargets) {
  testsupport::TempDir outside;
  const std::string target = outside.write("mine.txt", "the user's own text");
  const std::string picture = outside.write("mine.jpg", "the user's own picture");
  for (const char* folder : kWorkFolders)
    AppFile(std::string("tmp/") + folder + "/left.bin", "from an earlier run");
  AppFile("tmp/TXT/1.txt", "slide text");
  AppFile("tmp/Image/album/kept.jpg", "in a subfolder");
  const std::string message = AppFile("tmp/Send/TempMMS.mms", std::string("\x8C\x80\x98", 3) + "handed over");
  ASSERT_EQ(symlink(target.c_str(), Tmp("TXT/link.txt").c_str()), 0);
  ASSERT_EQ(symlink(picture.c_str(), Tmp("Image/link.jpg").c_str()), 0);

  ASSERT_TRUE(Start());
  for (const char* folder : {"TXT", "Video", "Audio", "Preview", "Sizetemp"}) {
    SCOPED_TRACE(folder);
    EXPECT_TRUE(Entries(Tmp(folder)).empty());
  }
  EXPECT_EQ(Entries(Tmp("Image")), std::vector<std::string>{"album"});
  EXPECT_EQ(Entries(Tmp("Send")), (std::vector<std::string>{"TempMMS.mms", "left.bin"}));
  EXPECT_EQ(Bytes(message), std::string("\x8C\x80\x98", 3) + "handed over");
  EXPECT_EQ(Bytes(target), "the user's own text");
  EXPECT_EQ(Bytes(picture), "the user's own picture");
  EXPECT_EQ(frmMain->Document().txtDir, AnsiString(Tmp("TXT").c_str()));
  EXPECT_EQ(frmMain->Document().sendDir, AnsiString(Tmp("Send").c_str()));
}

// Links planted for tmp/ itself, for every working folder and for files inside the folders:
// start, exit and a second start remove the links, make real folders, and never reach a file of
// a link's target.
TEST_F(MainWindow, LinksForWorkingFoldersAndFilesNeverLeadOutOfTheTree) {
  testsupport::TempDir outside, elsewhere;
  std::vector<std::string> theirs;
  for (const char* folder : kWorkFolders) {
    theirs.push_back(outside.write(std::string(folder) + "/keep.txt", "theirs"));
    theirs.push_back(elsewhere.write(std::string(folder) + "/keep.txt", "theirs"));
  }
  auto untouched = [&] {
    for (const std::string& file : theirs) EXPECT_EQ(Bytes(file), "theirs") << file;
  };
  auto realFolders = [&] {
    EXPECT_FALSE(fs::is_symlink(Tmp()));
    for (const char* folder : kWorkFolders) {
      EXPECT_FALSE(fs::is_symlink(Tmp(folder))) << folder;
      EXPECT_TRUE(fs::is_directory(Tmp(folder))) << folder;
    }
  };
  auto plantFileLinks = [&] {
    for (const char* folder : kWorkFolders) {
      const std::string target = outside.file(std::string(folder) + "/keep.txt");
      ASSERT_EQ(symlink(target.c_str(), Tmp(std::string(folder) + "/link.txt").c_str()), 0) << folder;
    }
  };
  auto exitEditor = [] {
    pictures::Shutdown();
    platform::Shutdown();  // the end of the program empties the tree again
  };

  // tmp/ is a link to a tree of the working folders' shape.
  ASSERT_EQ(symlink(elsewhere.path().c_str(), Tmp().c_str()), 0);
  ASSERT_TRUE(Start());
  untouched();
  realFolders();
  plantFileLinks();
  exitEditor();
  untouched();
  for (const char* folder : {"TXT", "Image", "Video", "Audio", "Preview", "Sizetemp"})
    EXPECT_FALSE(fs::exists(fs::symlink_status(Tmp(std::string(folder) + "/link.txt")))) << folder;

  // Each working folder is a link to someone else's folder.
  for (const char* folder : kWorkFolders) {
    fs::remove_all(Tmp(folder));
    ASSERT_EQ(symlink(outside.file(folder).c_str(), Tmp(folder).c_str()), 0) << folder;
  }
  platform::Startup();
  ASSERT_TRUE(Start());
  untouched();
  realFolders();
  plantFileLinks();
  frmMain->TruncateTextFiles();
  frmMain->ClearTempFolders();
  untouched();
  // Swapped for links again while the editor runs: the clean-up at exit still stays inside.
  for (const char* folder : kWorkFolders) {
    fs::remove_all(Tmp(folder));
    ASSERT_EQ(symlink(outside.file(folder).c_str(), Tmp(folder).c_str()), 0) << folder;
  }
  exitEditor();
  untouched();
  platform::Startup();  // for the fixture's own shut-down
}

TEST_F(MainWindow, StartUpMakesTheMissingFolders) {
  ASSERT_TRUE(Start());
  for (const char* folder : kWorkFolders) EXPECT_TRUE(fs::is_directory(Tmp(folder))) << folder;
}

TEST_F(MainWindow, TruncatingTextsRewritesRegularFilesOnlyAndNeverFollowsALink) {
  ASSERT_TRUE(Start());
  testsupport::TempDir outside;
  const std::string target = outside.write("notes.txt", "not the editor's");
  AppFile("tmp/TXT/0.txt", "first slide");
  AppFile("tmp/TXT/1.txt", "");
  AppFile("tmp/TXT/sub/deep.txt", "in a subfolder");
  ASSERT_EQ(symlink(target.c_str(), Tmp("TXT/link.txt").c_str()), 0);
  ASSERT_EQ(mkfifo(Tmp("TXT/pipe").c_str(), 0600), 0);

  frmMain->TruncateTextFiles();
  EXPECT_EQ(Bytes(Tmp("TXT/0.txt")), std::string(1, '\0'));
  EXPECT_EQ(Bytes(Tmp("TXT/1.txt")), std::string(1, '\0'));
  EXPECT_EQ(Bytes(Tmp("TXT/sub/deep.txt")), "in a subfolder");
  EXPECT_EQ(Bytes(target), "not the editor's");
  EXPECT_TRUE(fs::is_symlink(Tmp("TXT/link.txt")));

  frmMain->ClearTempFolders();
  EXPECT_EQ(Entries(Tmp("TXT")), std::vector<std::string>{"sub"});
  EXPECT_EQ(Bytes(target), "not the editor's");
}

TEST_F(MainWindow, StartsWithANewOnePageDocument) {
  ASSERT_TRUE(Start());
  ASSERT_NE(frmMain->Mms(), nullptr);
  ASSERT_EQ(frmMain->Mms()->Body->GetFrameCount(), 1);
  const TMmsFrame* page = frmMain->Mms()->Body->GetFrame(0);
  EXPECT_EQ(page->Dur, 1000);
  for (int type = 0; type <= 4; ++type) EXPECT_EQ(page->GetItem(type), nullptr) << type;
  ASSERT_NE(frmMain->Mms()->Head, nullptr);
  ASSERT_NE(frmMain->Mms()->Head->Layout, nullptr);
  EXPECT_EQ(frmMain->Mms()->Head->Layout->Root->Width, 128);
  EXPECT_EQ(frmMain->Mms()->Head->Layout->Root->Height, 128);
  EXPECT_EQ(frmMain->Mms()->Head->Layout->GetRegionCount(), 0);
  EXPECT_EQ(frmMain->Document().CurrentPage(), 0);
  EXPECT_EQ(frmMain->Selection(), StripSelection::kNone);
  EXPECT_EQ(frmMain->DropTarget(), -1);
  EXPECT_FALSE(frmMain->Document().Modified());
  EXPECT_EQ(frmMain->Controls().subject_size->Caption(), "(0/40)");
  // Measured at creation: an empty page encodes in under a kilobyte and lasts one second.
  EXPECT_EQ(frmMain->Controls().Label_Size->Caption(), "1");
  EXPECT_EQ(frmMain->Controls().Label_Time->Caption(), "1");
  EXPECT_EQ(frmMain->SavedMeasure().sizeKB, 0);
  EXPECT_EQ(frmMain->SavedMeasure().timeSec, 0);
  EXPECT_EQ(frmMain->Controls().Edit_Cur->Text(), "1");
  EXPECT_FALSE(frmMain->Controls().Edit_Cur->Enabled());
  EXPECT_FALSE(frmMain->Controls().UpBtn->Enabled());
  EXPECT_FALSE(frmMain->Controls().DownBtn->Enabled());
  EXPECT_EQ(frmMain->ResizeHost()->Settings().width, 640);
  EXPECT_EQ(frmMain->ResizeHost()->Settings().height, 480);
  EXPECT_EQ(frmMain->ResizeHost()->Settings().mode, 1);
  EXPECT_EQ(frmMain->Caption(), "Mivora");
  EXPECT_FALSE(frmMain->Controls().scrBarFrameList->Visible());
  EXPECT_TRUE(exceptions.empty());
}

TEST_F(MainWindow, NewFrameAppendsUpToTwentyPagesAndShowsTheScrollBarFromTheThird) {
  ASSERT_TRUE(Start());
  TfrmMain* form = frmMain;
  EXPECT_EQ(form->NewFrame(), 0);
  EXPECT_EQ(form->Document().CurrentPage(), 1);
  EXPECT_FALSE(form->Controls().scrBarFrameList->Visible());
  EXPECT_EQ(form->NewFrame(), 0);
  EXPECT_TRUE(form->Controls().scrBarFrameList->Visible());
  EXPECT_EQ(form->Controls().scrBarFrameList->Max(), 3 * 100 - 250);
  while (form->Mms()->Body->GetFrameCount() < 19) ASSERT_EQ(form->NewFrame(), 0);
  EXPECT_EQ(form->NewFrame(), 0);
  EXPECT_EQ(form->Mms()->Body->GetFrameCount(), 20);
  EXPECT_EQ(form->Document().CurrentPage(), 19);
  // The last page's cell is in view.
  EXPECT_GE(form->Controls().scrBarFrameList->Position() + 250, 19 * 100 + 99);
  EXPECT_EQ(form->Controls().scrBarFrameList->Position(), form->Controls().scrBarFrameList->Max());
  // The 21st page is refused with the page-limit box, and nothing changes.
  std::vector<ModalInfo> shown;
  Driver().OnModal([&](const ModalInfo& info) {
    shown.push_back(info);
    return ModalAnswer::Result(2);
  });
  EXPECT_EQ(form->NewFrame(), TfrmMain::kTooManyPages);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].caption, u"FrameBox");
  EXPECT_NE(std::find(shown[0].texts.begin(), shown[0].texts.end(), u"<STR_Main_Error_Page>"),
            shown[0].texts.end());
  EXPECT_EQ(form->Mms()->Body->GetFrameCount(), 20);
  EXPECT_EQ(form->Document().CurrentPage(), 19);
  EXPECT_TRUE(form->Controls().scrBarFrameList->Visible());
  // The box was freed: only the never-shown one of start-up is left.
  int boxes = 0;
  for (int i = 0; i < Application->ComponentCount(); ++i)
    boxes += dynamic_cast<TFrameBox*>(Application->Components(i)) != nullptr;
  for (int i = 0; i < form->ComponentCount(); ++i)
    boxes += dynamic_cast<TFrameBox*>(form->Components(i)) != nullptr;
  EXPECT_EQ(boxes, 1);
}

TEST_F(MainWindow, InitStartsAgainWithOneEmptyPageAndKeepsModified) {
  ASSERT_TRUE(Start());
  TfrmMain* form = frmMain;
  for (int i = 0; i < 4; ++i) form->NewFrame();
  form->Document().SetModified(true);
  form->Document().SetPasteCounter(7);
  form->SetSavedAs(1);
  form->SetSelection(StripSelection::kText);
  form->SetDrag(2, 3);
  form->Init();
  ASSERT_EQ(form->Mms()->Body->GetFrameCount(), 1);
  EXPECT_EQ(form->Mms()->Body->GetFrame(0)->Dur, 1000);
  for (int type = 0; type <= 4; ++type) EXPECT_EQ(form->Mms()->Body->GetFrame(0)->GetItem(type), nullptr);
  EXPECT_EQ(form->Controls().Label_Size->Caption(), "0");
  EXPECT_EQ(form->Controls().Label_Time->Caption(), "1");
  EXPECT_EQ(form->Document().CurrentPage(), 0);
  EXPECT_EQ(form->Selection(), StripSelection::kNone);
  EXPECT_EQ(form->DragState(), 0);
  EXPECT_EQ(form->DropTarget(), -1);
  EXPECT_EQ(form->Document().PasteCounter(), 0);
  EXPECT_EQ(form->SavedAs(), 0);
  EXPECT_TRUE(form->Document().Modified());
  EXPECT_FALSE(form->Controls().scrBarFrameList->Visible());
  EXPECT_EQ(form->Controls().scrBarFrameList->Position(), 0);
}

TEST_F(MainWindow, TheSubjectSetByCodeRaisesTheGuardOnlyWhileItIsSet) {
  ASSERT_TRUE(Start());
  std::vector<bool> seen;
  frmMain->Controls().memo_title->OnChange = [&](TObject*) { seen.push_back(frmMain->SubjectByCode()); };
  frmMain->SetSubjectText(WideString(u"Hello"));
  EXPECT_EQ(frmMain->Controls().memo_title->Text(), "Hello");
  EXPECT_EQ(seen, std::vector<bool>{true});
  EXPECT_FALSE(frmMain->SubjectByCode());
}

TEST_F(MainWindow, TheCloseButtonClosesTheWindowAndTheTreeIsEmptiedExceptSend) {
  ASSERT_TRUE(Start());
  bool asked = false;
  frmMain->OnCloseQuery = [&](TObject*, bool&) { asked = true; };
  AppFile("tmp/Image/img_0.JPG", "picture");
  AppFile("tmp/TXT/0.txt", "text");
  AppFile("tmp/Audio/a.wav", "sound");
  AppFile("tmp/Send/TempMMS.mms", "message");
  if (!pImgFileManager) pImgFileManager = new TImgFileManager();  // the strip made it at start
  ASSERT_NE(pImgFileManager, nullptr);
  const TImButton* close = frmMain->Controls().CloseBtn;
  Driver().Click(close->ClientToScreen(POINT{close->Width() / 2, close->Height() / 2}));
  Driver().RunUntilIdle();
  EXPECT_TRUE(asked);
  platform::Shutdown();  // frees the forms, as the end of the program does
  EXPECT_TRUE(Entries(Tmp("Image")).empty());
  EXPECT_TRUE(Entries(Tmp("TXT")).empty());
  EXPECT_TRUE(Entries(Tmp("Audio")).empty());
  EXPECT_EQ(Bytes(Tmp("Send/TempMMS.mms")), "message");
  EXPECT_EQ(frmMain, nullptr);
  EXPECT_EQ(pImgFileManager, nullptr);
}

// A layout that lacks one of the window's controls, or has a component of another class under
// its name, is refused with that name before any handler could reach a null control.
TEST(MainWindowControls, ALayoutWithoutAControlIsRefusedByItsName) {
  for (const bool impostor : {false, true}) {
    SCOPED_TRACE(impostor ? "another class under the name" : "no component of the name");
    TComponent form(nullptr);
    if (impostor) (new TComponent(&form))->SetName("QvBackImage2");
    TfrmMainControls controls;
    try {
      controls.FindControls(&form);
      ADD_FAILURE() << "a layout without the background was taken";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message, "The main window's layout has no QvBackImage2");
    }
    EXPECT_EQ(controls.QvBackImage2, nullptr);
  }
}

}  // namespace
