// The picture compression dialog on its own, with a test host: the files each track bar writes
// (checked with ImageMagick's identify, never only with our decoder), the labels, the chain of
// intermediate files, the formats, what OK hands over, failures that leave the dialog as it was,
// the texts after a change of language, dragging, and what the user sees
// (screenshots/editor/picresize-*.png).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "controls/TImButton.h"
#include "controls/TSkTrackBar.h"
#include "editor/TEditorBox.h"
#include "editor/TPicResize.h"
#include "editor/TResStringManager.h"
#include "editor/TResizeHost.h"
#include "imagelib/IxImage.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "support/SharedData.h"
#include "tests/editor/EditorFixture.h"
#include "tests/editor/PicResizeFixture.h"

namespace {

using editortest::CentreOf;
using editortest::DragTo;
using editortest::Identify;
using editortest::PicResizeTest;
using editortest::Picture;
using editortest::Receiver;
using platform::headless::Driver;

TEST_F(PicResizeTest, DraggingTheResolutionThumbToHalfWritesAResultAndAnIntermediateOfHalfTheSize) {
  Open("pillow/jpeg/flower.jpg");
  DragTo(dialog->TrackBar1, 50);
  ASSERT_EQ(dialog->TrackBar1->Position(), 50);
  const std::string n = std::to_string(host.counter);
  const std::string result = host.folder + "/Tmpic" + n + ".jpg";
  EXPECT_EQ(dialog->ResultPath().ToStd(), result);
  EXPECT_EQ(dialog->ResolutionPath().ToStd(), host.folder + "/mid_1" + n + ".jpg");
  for (const std::string& file : {result, dialog->ResolutionPath().ToStd()}) {
    const Picture p = Identify(file);
    EXPECT_EQ(p.format, "JPEG") << file;
    EXPECT_EQ(p.width, 240) << file;
    EXPECT_EQ(p.height, 180) << file;
  }
  EXPECT_EQ(dialog->lb_res->Caption().ToStd(), "240 * 180  (50%)");
  // The preview shows the new result, shrunk only when it is larger than the preview.
  EXPECT_EQ(dialog->Image1->Picture()->Width(), 240);
  EXPECT_FALSE(dialog->Image1->Stretch());
}

TEST_F(PicResizeTest, TheSmallestResolutionKeepsTwoPixelsASide) {
  Open("pillow/jpeg/rgb.jpg");
  dialog->TrackBar1->SetPosition(1);
  const Picture p = Identify(dialog->ResultPath().ToStd());
  EXPECT_EQ(p.width, 2);
  EXPECT_EQ(p.height, 2);
  EXPECT_EQ(dialog->lb_res->Caption().ToStd(), "2 * 2  (1%)");
}

TEST_F(PicResizeTest, EachBarWorksOnTheOtherBarsLastIntermediate) {
  Open("pillow/jpeg/flower.jpg");
  dialog->TrackBar1->SetPosition(50);
  dialog->TrackBar2->SetPosition(80);
  const std::string quality = dialog->ResultPath().ToStd();
  EXPECT_NE(quality.find("/Tmpic"), std::string::npos);
  EXPECT_EQ(dialog->QualityPath().ToStd().substr(host.folder.size()),
            "/mid_2" + std::to_string(host.counter) + ".jpg");
  Picture p = Identify(quality);
  EXPECT_EQ(p.width, 240);
  EXPECT_EQ(p.height, 180);
  EXPECT_EQ(p.quality, 80);
  EXPECT_EQ(dialog->lb_Qulity->Caption().ToStd(), "100%  (80%)");
  // Another resolution change at 50 % scales the quality result again: a quarter of the
  // original, and the label shows the real size.
  dialog->TrackBar1Change(dialog->TrackBar1);
  p = Identify(dialog->ResultPath().ToStd());
  EXPECT_EQ(p.width, 120);
  EXPECT_EQ(p.height, 90);
  EXPECT_EQ(dialog->lb_res->Caption().ToStd(), "120 * 90  (50%)");
}

TEST_F(PicResizeTest, AGifStaysAGifAndEveryOtherPictureBecomesAJpeg) {
  struct Case {
    const char* file;
    const char* ext;
    const char* format;
    int width, height;  // at 50 %
  };
  const Case cases[] = {
      {"gif/static_nontransparent.gif", ".gif", "GIF", 50, 50},
      {"pillow/bmp/g_rgb24.bmp", ".jpg", "JPEG", 63, 32},
      {"pillow/bmp/g_pal8.bmp", ".jpg", "JPEG", 63, 32},  // a palette picture gets its colours first
      {"pillow/jpeg/hopper.jpg", ".jpg", "JPEG", 64, 64},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    Open(c.file);
    dialog->TrackBar1->SetPosition(50);
    std::string result = dialog->ResultPath().ToStd();
    EXPECT_EQ(result.substr(result.size() - 4), c.ext);
    Picture p = Identify(result);
    EXPECT_EQ(p.format, c.format);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
    // A result the form library has no picture class for leaves the preview empty, silently.
    if (std::string(c.format) == "GIF") {
      EXPECT_EQ(dialog->Image1->Picture()->Graphic(), nullptr);
    }
    EXPECT_TRUE(exceptions.empty());
    // The quality step re-saves the scaled picture in the same format.
    dialog->TrackBar2->SetPosition(60);
    result = dialog->ResultPath().ToStd();
    EXPECT_EQ(result.substr(result.size() - 4), c.ext);
    p = Identify(result);
    EXPECT_EQ(p.format, c.format);
    EXPECT_EQ(p.width, c.width);
    EXPECT_EQ(p.height, c.height);
  }
}

TEST_F(PicResizeTest, EveryChangeAdvancesTheCounterAlsoWithoutAPicture) {
  Open("pillow/jpeg/hopper.jpg");
  host.picture.clear();
  const int before = host.counter;
  dialog->TrackBar1->SetPosition(40);
  dialog->TrackBar2->SetPosition(40);
  EXPECT_EQ(host.counter, before + 2);
  EXPECT_TRUE(std::filesystem::is_empty(host.folder)) << "nothing is written without a picture";
  EXPECT_EQ(dialog->lb_res->Caption().ToStd(), "");

  // Page Up at 100 % asks for a position the bar clamps to 100: still a change, a new pair.
  Open("pillow/jpeg/hopper.jpg");
  dialog->TrackBar2->SetFocus();
  const int counter = host.counter;
  Driver().Chord("PageUp");
  Driver().RunUntilIdle();
  EXPECT_EQ(dialog->TrackBar2->Position(), 100);
  EXPECT_EQ(host.counter, counter + 1);
  const std::string n = std::to_string(host.counter);
  EXPECT_TRUE(FileExists((host.folder + "/Tmpic" + n + ".jpg").c_str()));
  EXPECT_TRUE(FileExists((host.folder + "/mid_2" + n + ".jpg").c_str()));
}

TEST_F(PicResizeTest, OkHandsOverTheLastResultDuringTheCallAndEveryButtonHidesTheDialog) {
  Receiver receiver;
  host.target = receiver.Handle();
  // Before any change: the picture itself.
  Open("pillow/jpeg/hopper.jpg");
  Driver().Click(CentreOf(dialog->OKButton));
  Driver().RunUntilIdle();
  ASSERT_EQ(receiver.paths.size(), 1u);
  EXPECT_EQ(receiver.paths[0], host.picture);
  EXPECT_EQ(receiver.wParams[0], 0u);
  EXPECT_FALSE(dialog->Visible());
  // After changes: the last result.
  Open("pillow/jpeg/hopper.jpg");
  dialog->TrackBar1->SetPosition(70);
  dialog->TrackBar2->SetPosition(30);
  const std::string last = dialog->ResultPath().ToStd();
  Driver().Click(CentreOf(dialog->OKButton));
  Driver().RunUntilIdle();
  ASSERT_EQ(receiver.paths.size(), 2u);
  EXPECT_EQ(receiver.paths[1], last);
  // Without a picture OK does nothing and the dialog stays.
  host.picture.clear();
  Open(nullptr);
  Driver().Click(CentreOf(dialog->OKButton));
  Driver().RunUntilIdle();
  EXPECT_EQ(receiver.paths.size(), 2u);
  EXPECT_TRUE(dialog->Visible());
  // Cancel and the close button hide it without a word.
  for (const char* name : {"CancleButton", "ImButton1"}) {
    SCOPED_TRACE(name);
    Open("pillow/jpeg/hopper.jpg");
    Driver().Click(CentreOf(dynamic_cast<TImButton*>(dialog->FindComponent(name))));
    Driver().RunUntilIdle();
    EXPECT_FALSE(dialog->Visible());
  }
  EXPECT_EQ(receiver.paths.size(), 2u);
}

TEST_F(PicResizeTest, AStepTheImageLibraryCannotCompleteLeavesTheDialogAsItWasAndSaysSo) {
  struct Case {
    const char* name;
    bool truncate;       // the picture cut short inside its headers
    bool missingFolder;  // the results' folder does not exist
  };
  const Case cases[] = {{"truncated picture", true, false}, {"no results folder", false, true}};
  std::vector<platform::win::ModalInfo> told;
  Driver().OnModal([&](const platform::win::ModalInfo& info) {
    told.push_back(info);
    return platform::headless::ModalAnswer::Result(mrOk);
  });
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    told.clear();
    Open("pillow/jpeg/flower.jpg");
    dialog->TrackBar1->SetPosition(50);  // a good result first
    const std::string result = dialog->ResultPath().ToStd(), res = dialog->ResolutionPath().ToStd();
    const std::string labels = dialog->lb_res->Caption().ToStd() + "|" + dialog->lb_Qulity->Caption().ToStd();
    const int previewWidth = dialog->Image1->Picture()->Width();
    if (c.truncate) {
      const std::string bytes = editortest::ReadFile(host.picture);
      std::ofstream(host.picture, std::ios::binary | std::ios::trunc) << bytes.substr(0, 100);
      dialog->TrackBar1->SetPosition(100);  // reads the (now broken) picture
    }
    if (c.missingFolder) {
      host.folder = work.path() + "/no such folder";
      dialog->TrackBar2->SetPosition(70);
    }
    EXPECT_EQ(dialog->ResultPath().ToStd(), result);
    EXPECT_EQ(dialog->ResolutionPath().ToStd(), res);
    EXPECT_EQ(dialog->QualityPath().ToStd(), "");
    EXPECT_EQ(dialog->lb_res->Caption().ToStd() + "|" + dialog->lb_Qulity->Caption().ToStd(), labels);
    EXPECT_EQ(dialog->Image1->Picture()->Width(), previewWidth);
    // The user is told, once, in the editor's own message box.
    ASSERT_EQ(told.size(), 1u);
    EXPECT_EQ(told[0].caption, u"MsgBox");
    ASSERT_GE(told[0].texts.size(), 2u);
    EXPECT_EQ(told[0].texts[1], u"<STR_ResizeFrm_Error>");
    EXPECT_TRUE(exceptions.empty());
    EXPECT_EQ(Identify(result).width, 240) << "the good result is still there";
  }
  Driver().OnModal(nullptr);
}

TEST_F(PicResizeTest, APictureTheFormsCannotShowLeavesThePreviewEmpty) {
  Open("pillow/jpeg/flower.jpg");
  const std::string broken = work.write("broken.jpg", "not a picture");
  dialog->ShowPreview(broken.c_str());
  EXPECT_EQ(dialog->Image1->Picture()->Graphic(), nullptr);
  EXPECT_TRUE(exceptions.empty());
  EXPECT_TRUE(Driver().ModalsSeen().empty());
}

TEST_F(PicResizeTest, AChangeOfLanguageRereadsTheTextsAndTheBackgroundDragsTheWindow) {
  AppFile("language_editer/lan_Vietnamese.ini", editortest::KeyLanguageFile("vi:"));
  Open("pillow/jpeg/hopper.jpg");
  auto text = [](const char* key) { return AnsiString(ResStringManager.GetString(key)).ToStd(); };
  EXPECT_EQ(dialog->Title->Caption().ToStd(), "<STR_ResizeFrm_Title>");
  EXPECT_EQ(dialog->OKButton->Caption().ToStd(), text("STR_Mivora_YES"));
  ResStringManager.SelectLanguageFile(0);
  PostMessageW(dialog->Handle(), WM_REFRESHCAPTION, 0, 0);
  Driver().RunUntilIdle();
  EXPECT_EQ(dialog->Title->Caption().ToStd(), "vi:<STR_ResizeFrm_Title>");
  EXPECT_EQ(dialog->OKButton->Caption().ToStd(), text("STR_Mivora_YES"));
  EXPECT_EQ(dialog->CancleButton->Caption().ToStd(), text("STR_CloseFrm_Cancel"));
  EXPECT_EQ(dialog->OKButton->Caption().ToStd().substr(0, 4), "vi:<");
  EXPECT_EQ(dialog->Resolution->Caption().ToStd(), "vi:<STR_ResizeFrm_Resolution>");
  EXPECT_EQ(dialog->Qulity->Caption().ToStd(), "vi:<STR_ResizeFrm_Qulity>");

  RECT before{}, after{};
  GetWindowRect(dialog->Handle(), &before);
  const POINT start{before.left + 200, before.top + 395};  // the background below the buttons
  Driver().Press(0, start);
  Driver().MoveMouse(POINT{start.x - 40, start.y + 10});
  Driver().MoveMouse(POINT{start.x - 25, start.y - 13});
  Driver().Release(0, POINT{start.x - 25, start.y - 13});
  Driver().RunUntilIdle();
  GetWindowRect(dialog->Handle(), &after);
  EXPECT_EQ(after.left - before.left, -25);
  EXPECT_EQ(after.top - before.top, -13);
  EXPECT_TRUE(dialog->Visible());
}

TEST_F(PicResizeTest, TheBarsTakeTheLayoutsSettingsDrawPointerThumbsAndEnterMovesOn) {
  Open("pillow/jpeg/hopper.jpg");
  // The layout's tab orders 2 and 3 put the bars first and second among the dialog's windowed
  // controls, whose buttons name none.
  struct Case {
    TSkTrackBar* bar;
    int left, tabOrder;
    TColor highlight, hot, tick;
  } const cases[] = {
      {dialog->TrackBar1, 20, 0, clNavy, clMaroon, clBackground},
      {dialog->TrackBar2, 240, 1, clInactiveCaption, clNavy, clBtnShadow},
  };
  TBitmap pointer, mask;
  pointer.LoadFromResourceName(HInstance, "SKTRKBAR_H_XPPTR");
  mask.LoadFromResourceName(HInstance, "SKTRKBAR_H_XPPTR_MASK");
  auto rgb = [](COLORREF c) { return std::uint32_t(GetRValue(c)) << 16 | GetGValue(c) << 8 | GetBValue(c); };
  const platform::headless::CaptureImage shot = Driver().Capture(dialog->Handle());
  for (const Case& c : cases) {
    TSkTrackBar* bar = c.bar;
    SCOPED_TRACE(bar->Name().ToStd());
    EXPECT_EQ(bar->Left(), c.left);
    EXPECT_EQ(bar->TabOrder(), c.tabOrder);
    EXPECT_EQ(bar->HighlightColor(), c.highlight);
    EXPECT_EQ(bar->HotTrackColor(), c.hot);
    EXPECT_EQ(bar->TickColor(), c.tick);
    EXPECT_TRUE(bar->TabOnEnter);
    EXPECT_EQ(bar->ThumbStyle(), tsXPPointer);
    EXPECT_EQ(bar->TrackOffset(), 5);
    EXPECT_EQ(bar->TrackWidth(), 6);
    EXPECT_EQ(bar->TrackFrame(), fsRaised);
    EXPECT_EQ(bar->TrackFrameColor(), clPurple);
    EXPECT_EQ(bar->TrackColor(), clGradientInactiveCaption);
    EXPECT_EQ(bar->Color(), TColor(0xE1E1E1));
    EXPECT_FALSE(bar->ParentColor());
    EXPECT_EQ(bar->Tag, 7);
    EXPECT_EQ(bar->Anchors(), 0u);
    // What shows: the pointer's picture wherever its mask is opaque, the track's colour inside
    // the track, and the bar's own grey beside it.
    const RECT t = bar->ThumbRect();
    int opaque = 0, wrong = 0;
    for (int y = 0; y < pointer.Height(); ++y)
      for (int x = 0; x < pointer.Width(); ++x) {
        const int by = t.top + y;
        if (by < 0 || by >= bar->Height() || (mask.Canvas()->Pixels(x, y) & 0xFFFFFF) != 0) continue;
        ++opaque;
        wrong += shot.At(bar->Left() + t.left + x, bar->Top() + by) != rgb(pointer.Canvas()->Pixels(x, y));
      }
    EXPECT_GT(opaque, 100);
    EXPECT_EQ(wrong, 0);
    EXPECT_EQ(shot.At(bar->Left() + 60, bar->Top() + 8), rgb(ColorToRGB(clGradientInactiveCaption)));
    EXPECT_EQ(shot.At(bar->Left() + 2, bar->Top() + 14), 0xE1E1E1u);
  }
  // The first bar keeps the picture of a thumb of its own, which its thumb style overrides.
  ASSERT_NE(dialog->TrackBar1->CustomThumb()->Graphic(), nullptr);
  EXPECT_EQ(dialog->TrackBar1->CustomThumb()->Width(), 33);
  EXPECT_EQ(dialog->TrackBar1->CustomThumb()->Height(), 21);

  // Enter moves the focus as Tab does, and the value stays.
  auto enter = [] {
    Driver().Chord("Enter");
    Application->ProcessMessages();
    Driver().RunUntilIdle();
  };
  dialog->TrackBar1->SetFocus();
  Driver().RunUntilIdle();
  ASSERT_TRUE(dialog->TrackBar1->Focused());
  enter();
  EXPECT_TRUE(dialog->TrackBar2->Focused());
  std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  EXPECT_TRUE(Driver().SavePng(dialog->Handle(), std::string(MMS_SCREENSHOT_DIR) + "/picresize-bars.png"));
  enter();
  EXPECT_TRUE(dialog->TrackBar1->Focused());
  EXPECT_EQ(dialog->TrackBar1->Position(), 100);
  EXPECT_EQ(dialog->TrackBar2->Position(), 100);
}

}  // namespace
