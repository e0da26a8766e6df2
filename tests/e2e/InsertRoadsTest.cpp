// The roads of starting the editor and filling pages: the start itself, a picture (also through
// the strip's popup, and the refused files), a sound, and new pages up to the limits.
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "controls/TImButton.h"
#include "editor/TMmsViewer.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TScrollBar.h"
#include "platform/rtl/Utf8.h"
#include "tests/e2e/MessageFile.h"
#include "tests/e2e/RoadFixture.h"

extern char** environ;

namespace {

namespace fs = std::filesystem;
using e2e::ModalAnswer;
using e2e::ModalInfo;
using e2e::ReadFile;
using platform::headless::Driver;

class InsertRoads : public e2e::Road {
 protected:
  const TMediaItem* Item(int page, int type) const {
    return main->Mms()->Body->GetFrame(page)->GetItem(type);
  }
  size_t FilesIn(const std::string& folder) const {
    size_t n = 0;
    for (const auto& e : fs::directory_iterator(Tmp(folder))) n += e.is_regular_file();
    return n;
  }
  // Pixels of the strip cell's picture band (page `page`, scroll 0) that are not white.
  int PictureBandInk(int page) {
    const auto image = Capture();
    int ink = 0;
    const int left = main->Controls().imgFrameList->Left() + page * 100,
              top = main->Controls().imgFrameList->Top();
    for (int y = 60; y < 140; ++y)
      for (int x = 8; x < 92; ++x) ink += image.At(left + x, top + y) != 0xFFFFFFu;
    return ink;
  }
};

TEST_F(InsertRoads, StartUp) {
  const std::string kept = AppFile("tmp/Send/TempMMS.mms", "a message handed over before");
  const std::string stale = AppFile("tmp/Image/old.jpg", "left from an earlier run");
  AppFile("tmp/TXT/txt9.txt", "old text");
  StartEditor();
  for (const char* folder : {"TXT", "Image", "Video", "Audio", "Send", "Preview", "Sizetemp"})
    EXPECT_TRUE(fs::is_directory(Tmp(folder))) << folder;
  EXPECT_FALSE(fs::exists(stale));
  EXPECT_EQ(FilesIn("TXT"), 0u);
  EXPECT_EQ(ReadFile(kept), "a message handed over before");
  ASSERT_EQ(Pages(), 1);
  EXPECT_EQ(main->Mms()->Body->GetFrameDur(0), 1000);
  EXPECT_EQ(main->Document().CurrentPage(), 0);
  EXPECT_EQ(main->Selection(), StripSelection::kNone);
  // The new message is measured at once: its size in KB and its one second.
  EXPECT_EQ(LabelText(main->Controls().Label_Size), "1");
  EXPECT_EQ(LabelText(main->Controls().Label_Time), "1");
  EXPECT_EQ(LabelText(main->Controls().subject_size), "(0/40)");
  EXPECT_EQ(LabelText(main->Controls().Edit_Cur), "1");
  EXPECT_FALSE(main->Controls().Edit_Cur->Enabled());
  EXPECT_TRUE(modals.empty());
  Shot("e2e-start.png");

#ifdef MMSEDITOR_PATH
  // The real program, started meanwhile with the same runtime folder, ends at once with 0.
  setenv("PLATFORM_BACKEND", "headless", 1);
  char* argv[] = {const_cast<char*>(MMSEDITOR_PATH), nullptr};
  pid_t pid = 0;
  ASSERT_EQ(posix_spawn(&pid, MMSEDITOR_PATH, nullptr, nullptr, argv, environ), 0);
  unsetenv("PLATFORM_BACKEND");
  int status = -1;
  for (int i = 0; i < 500 && waitpid(pid, &status, WNOHANG) == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  if (!WIFEXITED(status)) {
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    FAIL() << "the second editor did not end";
  }
  EXPECT_EQ(WEXITSTATUS(status), 0);
  int editors = 0;
  for (HWND w : Driver().Windows()) editors += Driver().Describe(w).caption == u"Mivora";
  EXPECT_EQ(editors, 1);  // ours only
#endif
}

TEST_F(InsertRoads, R1InsertPicture) {
  StartEditor();
  // Refused files first, on the empty page.
  struct Refusal {
    std::string file;
    const char16_t* box;  // null: nothing shown
  };
  const Refusal refusals[] = {
      {Shared("png/basn2c08.png", "basn2c08.png"), u"<STR_Main_Error_AddImgError1>"},
      {Shared("gif/static_nontransparent.gif", "looks.jpg"), u"<STR_Main_Error_AddImgError2>"},
      {AppFile("media/short.jpg", std::string(100, 'x')), nullptr},
  };
  for (const Refusal& r : refusals) {
    SCOPED_TRACE(r.file);
    modals.clear();
    ChooseFile(r.file);
    DoubleClick(StripPoint(50, 100));
    EXPECT_EQ(Item(0, TMediaItem::kImage), nullptr);
    ASSERT_EQ(modals.size(), r.box ? 2u : 1u);
    if (r.box) {
      EXPECT_EQ(modals[1].className, u"TMsgBox");
      EXPECT_TRUE(Saw(r.box));
    }
  }
  EXPECT_EQ(FilesIn("Image"), 0u);

  const int inkBefore = PictureBandInk(0);
  const std::string photo = Shared("pillow/jpeg/hopper.jpg", "photo.jpg");
  modals.clear();
  ChooseFile(photo);
  DoubleClick(StripPoint(50, 100));
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].kind, ModalInfo::Kind::OpenDialog);
  EXPECT_EQ(modals[0].title, u"<STR_Main_DialogTitle_Pic>");
  EXPECT_EQ(modals[0].filter, u"<STR_Main_DialogFilter_Pic>");
  EXPECT_EQ(ReadFile(Tmp("Image/photo.jpg")), ReadFile(photo));
  const TMediaItem* picture = Item(0, TMediaItem::kImage);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Begin, 0);
  EXPECT_EQ(picture->End, 1000);
  EXPECT_EQ(main->Mms()->GetRegionLeft("Img"), 4);
  EXPECT_EQ(main->Mms()->GetRegionTop("Img"), 0);
  EXPECT_EQ(main->Mms()->GetRegionWidth("Img"), 120);
  EXPECT_EQ(main->Mms()->GetRegionHeight("Img"), 120);
  const int kb = std::max(1, e2e::EncodedSize(main) / 1024);
  EXPECT_EQ(LabelText(main->Controls().Label_Size), std::to_string(kb));
  EXPECT_TRUE(main->Document().Modified());
  // The cell shows the thumbnail; the preview got its copy of the picture.
  EXPECT_GT(PictureBandInk(0), inkBefore + 1000);
  EXPECT_GE(FilesIn("Preview"), 1u);
  Shot("e2e-R1-insert-picture.png");

  // The same through a right click and the popup's insert entry, on a second page.
  Click(Centre(main->Controls().btnNewFrame));
  ASSERT_EQ(Pages(), 2);
  const std::string flower = Shared("pillow/jpeg/flower.jpg", "flower.jpg");
  modals.clear();
  answer = [flower](const ModalInfo& info) {
    if (info.kind == ModalInfo::Kind::PopupMenu) return ModalAnswer::MenuItem(u"<STR_Main_Menu_Insert>");
    if (info.kind == ModalInfo::Kind::OpenDialog) return ModalAnswer::Files({platform::Utf8ToUtf16(flower)});
    return ModalAnswer::Result(1);
  };
  const POINT second = StripPoint(150, 100);
  Driver().Press(1, second);
  Driver().Release(1, second);
  Pump();
  ASSERT_EQ(modals.size(), 2u);
  EXPECT_EQ(modals[0].kind, ModalInfo::Kind::PopupMenu);
  EXPECT_EQ(modals[1].title, u"<STR_Main_DialogTitle_Pic>");
  ASSERT_NE(Item(1, TMediaItem::kImage), nullptr);
  EXPECT_EQ(Item(1, TMediaItem::kImage)->Path, Tmp("Image/flower.jpg"));
}

TEST_F(InsertRoads, R3InsertSound) {
  StartEditor();
  const std::string tone = Wav("tone.wav");
  ChooseFile(tone);
  DoubleClick(StripPoint(50, 185));
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].title, u"<STR_Main_DialogTitle_Audio>");
  EXPECT_EQ(ReadFile(Tmp("Audio/tone.wav")), ReadFile(tone));
  ASSERT_NE(Item(0, TMediaItem::kAudio), nullptr);
  Shot("e2e-R3-sound.png");

  // A later save holds it as the first page's sound part.
  const std::string out = app.path() + "/out.mms";
  ChooseFile(out);
  Chord("Ctrl+Alt+A");
  const e2e::MessageFile saved = e2e::ReadMessageFile(out);
  ASSERT_TRUE(saved.read);
  EXPECT_EQ(saved.TypeOf("Audio0.wav"), "audio/wav");

  // Ctrl+F on a second page, with a name whose extension is not lower case: refused.
  Click(Centre(main->Controls().btnNewFrame));
  const std::string upper = Wav("Tone.Wav");
  modals.clear();
  ChooseFile(upper);
  Chord("Ctrl+F");
  ASSERT_EQ(modals.size(), 2u);
  EXPECT_EQ(modals[0].title, u"<STR_Main_DialogTitle_Audio>");
  EXPECT_EQ(modals[1].className, u"TMsgBox");
  EXPECT_TRUE(Saw(u"<STR_Main_Text_Error>"));
  EXPECT_EQ(Item(1, TMediaItem::kAudio), nullptr);
}

TEST_F(InsertRoads, R4NewPage) {
  StartEditor();
  Click(Centre(main->Controls().btnNewFrame));
  Chord("Alt+E");
  ASSERT_EQ(Pages(), 3);
  EXPECT_EQ(main->Document().CurrentPage(), 2);
  // With the third page the scroll bar shows and the strip scrolled to keep it in view.
  EXPECT_TRUE(main->Controls().scrBarFrameList->Visible());
  EXPECT_EQ(main->Controls().scrBarFrameList->Position(), 50);
  Shot("e2e-R4-pages.png");
  Chord("Ctrl+N");
  EXPECT_EQ(Pages(), 4);
  // A double click on a title band (the last page's, in view).
  DoubleClick(StripPoint(3 * 100 + 50, 40));
  EXPECT_EQ(Pages(), 5);
  EXPECT_EQ(main->Document().CurrentPage(), 4);
  EXPECT_TRUE(modals.empty());

  // Up to twenty; the twenty-first is refused with the page-limit box.
  while (Pages() < 20) Chord("Ctrl+N");
  Click(Centre(main->Controls().btnNewFrame));
  EXPECT_EQ(Pages(), 20);
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].className, u"TFrameBox");
  EXPECT_TRUE(Saw(u"<STR_Main_Error_Page>"));
}

TEST_F(InsertRoads, R4NewPageAtTheSizeLimit) {
  StartEditor();
  // A picture over the limit cannot go in, so the road sets the label as a measurement at the
  // limit leaves it: the next page is refused with the size hint.
  main->Controls().Label_Size->SetCaption("299");
  Click(Centre(main->Controls().btnNewFrame));
  EXPECT_EQ(Pages(), 1);
  EXPECT_EQ(LabelText(main->Controls().Label_Size), "300");
  ASSERT_EQ(modals.size(), 1u);
  EXPECT_EQ(modals[0].className, u"TMsgBox");
  EXPECT_TRUE(Saw(u"<SizeHint>"));
}

}  // namespace
