// The main window's compression commands: the preview fitted to the picture, the first labels,
// when the command does nothing, one dialog alive at a time, and the result coming back with
// WM_INSERTPICTURE: onto the page the dialog was opened for, under the size limit (a result
// over it is taken back and the page keeps its picture), never for a page that is gone or a
// result file that is gone. Also the whole road: select the picture, compress to half, OK.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "controls/TImButton.h"
#include "controls/TSkTrackBar.h"
#include "editor/TPicResize.h"
#include "editor/TResizeForm.h"
#include "editor/TResizeHost.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TMenuItem.h"
#include "support/SharedData.h"
#include "tests/editor/CommandFixture.h"
#include "tests/editor/PicResizeFixture.h"

namespace {

using editortest::CommandTest;
using editortest::Identify;
using platform::headless::Driver;

class CompressCommand : public CommandTest {
 protected:
  // Copies a shared picture into the working folder's Image folder as page `index`'s picture.
  std::string PutShared(int index, const std::string& shared) {
    const std::string name = std::filesystem::path(shared).filename().string();
    const std::string bytes = editortest::ReadFile(testsupport::SharedPath("testdata/" + shared));
    return Put(index, TMediaItem::kImage, name, &bytes);
  }
  std::string PictureOf(int index) {
    const TMediaItem* item = main->Mms()->Body->GetFrame(index)->GetItem(TMediaItem::kImage);
    return item ? item->Path : std::string();
  }
  // Selects page `index`'s picture and runs the command.
  void Compress(int index) {
    main->Document().SetCurrentPage(index);
    main->SetSelection(StripSelection::kPicture);
    main->btnResizeClick(nullptr);
    Driver().RunUntilIdle();
  }
  void ClickOk() {
    ASSERT_NE(pPicResize, nullptr);
    RECT r;
    GetWindowRect(pPicResize->OKButton->Handle(), &r);
    Driver().Click(POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    Driver().RunUntilIdle();
  }
  int WindowsTitled(const std::u16string& title) {
    int count = 0;
    for (HWND hwnd : Driver().Windows())
      if (Driver().Describe(hwnd).caption == title) ++count;
    return count;
  }
  // A JPEG of noise over the size limit on its own, made by ImageMagick.
  std::string NoiseJpeg() {
    const std::string file = app.path() + "/noise.jpg";
    const std::string command = "convert -size 440x440 xc: +noise Random -quality 95 '" + file + "'";
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_GT(std::filesystem::file_size(file), 300u * 1024u);
    return file;
  }
  void SendResult(const std::string& path) {
    SendMessageW(main->Handle(), WM_INSERTPICTURE, 0, LPARAM(path.c_str()));
    Driver().RunUntilIdle();
  }
};

TEST_F(CompressCommand, ThePreviewIsFittedToThePictureAndTheLabelsShowItsSize) {
  struct Case {
    const char* file;
    int left, top, width, height;
    bool stretch;
    const char* res;
  };
  const Case cases[] = {
      {"pillow/jpeg/flower.jpg", 27, 36, 367, 275, true, "480 * 360  (100%)"},
      {"pillow/jpeg/imageops_pad_v_0.jpg", 142, 36, 137, 275, true, "256 * 512  (100%)"},
      {"pillow/jpeg/imageops_pad_h_0.jpg", 27, 82, 367, 183, true, "512 * 256  (100%)"},
      {"pillow/jpeg/hopper.jpg", 27, 36, 367, 275, false, "128 * 128  (100%)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    const std::string path = PutShared(0, c.file);
    Compress(0);
    ASSERT_NE(pPicResize, nullptr);
    EXPECT_EQ(main->ResizeHost()->PicturePath().ToStd(), path);
    TImage* preview = pPicResize->Image1;
    EXPECT_EQ(preview->Left(), c.left);
    EXPECT_EQ(preview->Top(), c.top);
    EXPECT_EQ(preview->Width(), c.width);
    EXPECT_EQ(preview->Height(), c.height);
    EXPECT_EQ(preview->Stretch(), c.stretch);
    EXPECT_EQ(pPicResize->lb_res->Caption().ToStd(), c.res);
    EXPECT_EQ(pPicResize->lb_Qulity->Caption().ToStd(), "100%  (100%)");
    EXPECT_TRUE(pPicResize->Visible());
    EXPECT_NE(preview->Picture()->Graphic(), nullptr);
  }
}

TEST_F(CompressCommand, NothingHappensUnlessAPictureIsSelected) {
  Pages(2);
  PutShared(0, "pillow/jpeg/hopper.jpg");
  struct Case {
    int page;
    StripSelection hit;
  };
  const Case cases[] = {{0, StripSelection::kPage},    {0, StripSelection::kText},
                        {0, StripSelection::kSound},   {0, StripSelection::kNone},
                        {1, StripSelection::kPicture}, {-1, StripSelection::kPicture}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.page) + " " + std::to_string(int(c.hit)));
    main->Document().SetCurrentPage(c.page);
    main->SetSelection(c.hit);
    main->resize_popClick(nullptr);
    EXPECT_EQ(pPicResize, nullptr);
    EXPECT_EQ(WindowsTitled(u"PicResize"), 0);
  }
}

TEST_F(CompressCommand, OneCompressionDialogLivesAtATimeAndTheSettingsDialogGoesWhenItCloses) {
  PutShared(0, "pillow/jpeg/flower.jpg");
  for (int i = 0; i < 3; ++i) Compress(0);
  EXPECT_EQ(WindowsTitled(u"PicResize"), 1);
  int owned = 0;
  for (int i = 0; i < main->ComponentCount(); ++i)
    if (dynamic_cast<TPicResize*>(main->Components(i))) ++owned;
  EXPECT_EQ(owned, 1);

  AnswerModals([](const platform::win::ModalInfo&) { return platform::win::ModalAnswer::Result(mrCancel); });
  main->btnSelectClick(nullptr);
  main->Select_popClick(nullptr);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].texts.back(), u"ResizeSet");
  EXPECT_EQ(WindowsTitled(u"ResizeSet"), 0);
}

TEST_F(CompressCommand, TheResultGoesOntoThePageTheDialogWasOpenedFor) {
  Pages(2);
  PutShared(0, "pillow/jpeg/flower.jpg");
  const std::string second = PutShared(1, "pillow/jpeg/hopper.jpg");
  Compress(0);
  pPicResize->TrackBar1->SetPosition(50);
  const std::string n = std::to_string(main->PicCounter());
  // The user picked the other page meanwhile.
  main->Document().SetCurrentPage(1);
  main->SetSelection(StripSelection::kText);
  ClickOk();
  EXPECT_EQ(PictureOf(0), app.path() + "/tmp/Image/Tmpic" + n + ".jpg");
  EXPECT_EQ(PictureOf(1), second);
  EXPECT_EQ(main->Document().CurrentPage(), 0);
  EXPECT_EQ(main->Selection(), StripSelection::kPicture);
  EXPECT_EQ(Identify(PictureOf(0)).width, 240);
  EXPECT_TRUE(shown.empty());
}

TEST_F(CompressCommand, NothingIsInsertedWhenThePageOrThePictureOrTheResultIsGone) {
  struct Case {
    const char* name;
    int change;  // 0 page deleted, 1 picture removed, 2 picture replaced, 3 result file deleted
  };
  const Case cases[] = {
      {"page deleted", 0}, {"picture removed", 1}, {"picture replaced", 2}, {"result file gone", 3}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    main->Init();
    Pages(2);
    PutShared(0, "pillow/jpeg/flower.jpg");
    PutShared(1, "pillow/jpeg/hopper.jpg");
    main->GetPduSize();
    Compress(0);
    pPicResize->TrackBar1->SetPosition(50);
    TMmsFrame* page = main->Mms()->Body->GetFrame(0);
    switch (c.change) {
      case 0:
        main->Mms()->Body->DeleteFrame(0);
        break;
      case 1:
        page->DeleteItem(TMediaItem::kImage);
        break;
      case 2:
        page->GetItem(TMediaItem::kImage)->SetPath(PictureOf(1));
        break;
      case 3:
        std::filesystem::remove(pPicResize->ResultPath().ToStd());
        break;
    }
    const int pages = main->Mms()->Body->GetFrameCount();
    std::vector<std::string> before;
    for (int i = 0; i < pages; ++i) before.push_back(PictureOf(i));
    const std::string size = Caption(main->Controls().Label_Size),
                      saved = main->SavedMeasure().sizeText.ToStd();
    ClickOk();
    for (int i = 0; i < pages; ++i) EXPECT_EQ(PictureOf(i), before[size_t(i)]) << i;
    EXPECT_EQ(Caption(main->Controls().Label_Size), size);
    EXPECT_EQ(main->SavedMeasure().sizeText.ToStd(), saved) << "nothing was measured";
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(pPicResize->Visible());
  }
}

TEST_F(CompressCommand, TheSizeLimitRefusesOrTakesBackTheResultAndThePageKeepsItsPicture) {
  const std::string noise = NoiseJpeg();
  // A result that takes the message over the limit: the page gets its own picture back.
  Pages(2);
  const std::string own = PutShared(0, "pillow/jpeg/hopper.jpg");
  main->GetPduSize();
  const std::string size = Caption(main->Controls().Label_Size);
  Compress(0);
  SendResult(noise);
  EXPECT_EQ(PictureOf(0), own);
  EXPECT_EQ(Caption(main->Controls().Label_Size), size);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].Says(u"<SizeHint>"));

  // A message already at the limit: the warning, and nothing is inserted.
  shown.clear();
  const std::string big = Put(1, TMediaItem::kImage, "big.jpg", nullptr);
  std::filesystem::copy_file(noise, big, std::filesystem::copy_options::overwrite_existing);
  main->GetPduSize();
  ASSERT_GE(std::stoi(Caption(main->Controls().Label_Size)), TfrmMain::kRefusedSizeKB);
  Compress(0);
  pPicResize->TrackBar1->SetPosition(50);
  ClickOk();
  EXPECT_EQ(PictureOf(0), own);
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_TRUE(shown[0].Says(u"<SizeHint>"));
}

TEST_F(CompressCommand, SelectCompressToHalfAndConfirm) {
  PutShared(0, "pillow/jpeg/flower.jpg");
  main->GetPduSize();
  const std::string size = Caption(main->Controls().Label_Size);
  main->Document().SetCurrentPage(0);
  main->SetSelection(StripSelection::kPicture);
  main->UpdatePopupMenu();
  ASSERT_TRUE(main->Controls().resize_pop->Enabled());
  main->Controls().resize_pop->Click();
  Driver().RunUntilIdle();
  ASSERT_NE(pPicResize, nullptr);
  editortest::DragTo(pPicResize->TrackBar1, 50);
  const std::string n = std::to_string(main->PicCounter());
  ClickOk();
  EXPECT_EQ(PictureOf(0), app.path() + "/tmp/Image/Tmpic" + n + ".jpg");
  EXPECT_NE(Caption(main->Controls().Label_Size), size) << "the message was measured again";
  EXPECT_LT(std::stoi(Caption(main->Controls().Label_Size)), std::stoi(size));
  EXPECT_TRUE(shown.empty());
}

}  // namespace
