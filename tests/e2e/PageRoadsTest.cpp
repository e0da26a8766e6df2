// The roads of arranging pages: reordering by dragging a title, a page's duration typed in and
// held up on its spin button, and compressing a picture in the non-modal compression dialog.
#include <filesystem>

#include "controls/TImButton.h"
#include "controls/TSkTrackBar.h"
#include "editor/TPicResize.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TScrollBar.h"
#include "tests/e2e/RoadFixture.h"
#include "tests/editor/PicResizeFixture.h"

namespace {

namespace fs = std::filesystem;
using e2e::ModalInfo;
using platform::headless::Driver;

class PageRoads : public e2e::Road {
 protected:
  const TMmsFrame* Frame(int page) const { return main->Mms()->Body->GetFrame(page); }
  // Inserts a shared picture into page `page` through its picture band, as a person would.
  void InsertPicture(int page, const std::string& shared, const std::string& name) {
    ChooseFile(Shared(shared, name));
    DoubleClick(StripPoint(page * 100 + 50, 100));
    answer = nullptr;
  }
  std::vector<std::string> LabelsOf(TForm* form) const {
    std::vector<std::string> out;
    for (int i = 0; i < form->ComponentCount(); ++i)
      if (auto* label = dynamic_cast<TLabel*>(form->Components(i))) out.push_back(label->Caption().c_str());
    return out;
  }
  bool Has(const std::vector<std::string>& all, const std::string& one) const {
    return std::find(all.begin(), all.end(), one) != all.end();
  }
};

TEST_F(PageRoads, R5Reorder) {
  StartEditor();
  Click(Centre(main->Controls().btnNewFrame));
  Click(Centre(main->Controls().btnNewFrame));
  ASSERT_EQ(Pages(), 3);
  const TMmsFrame *a = Frame(0), *b = Frame(1), *c = Frame(2);

  // A release outside every cell changes nothing.
  Driver().Press(0, StripPoint(80, 40));
  Pump();
  Driver().MoveMouse(StripPoint(150, 204));
  Pump();
  Driver().Release(0, StripPoint(150, 204));
  Pump();
  EXPECT_EQ(Frame(0), a);
  EXPECT_EQ(Frame(1), b);
  EXPECT_EQ(Frame(2), c);

  // A's title carried onto C's: B, C, A, with A current.
  Driver().Advance(1000);  // a second press at once would be a double click
  Driver().Press(0, StripPoint(80, 40));
  Pump();
  ASSERT_EQ(main->Document().CurrentPage(), 0);
  Driver().MoveMouse(StripPoint(250, 40));
  Pump();
  Driver().MoveMouse(StripPoint(250, 42));
  Pump();
  Shot("e2e-R5-drag.png");
  Driver().Release(0, StripPoint(250, 42));
  Pump();
  EXPECT_EQ(Frame(0), b);
  EXPECT_EQ(Frame(1), c);
  EXPECT_EQ(Frame(2), a);
  EXPECT_EQ(main->Document().CurrentPage(), 2);
  EXPECT_TRUE(modals.empty());
}

TEST_F(PageRoads, R10Duration) {
  StartEditor();
  InsertPicture(0, "pillow/jpeg/hopper.jpg", "hopper.jpg");
  main->Document().SetModified(false);  // the insertion's mark aside: the duration's own edit is looked at
  Click(StripPoint(50, 40));
  ASSERT_TRUE(main->Controls().Edit_Cur->Enabled());
  Click(Centre(main->Controls().Edit_Cur));
  Chord("End");
  Chord("Backspace");
  Type(u"5");
  EXPECT_EQ(LabelText(main->Controls().Edit_Cur), "5");
  EXPECT_EQ(main->Mms()->Body->GetFrameDur(0), 5000);
  EXPECT_EQ(Frame(0)->GetItem(TMediaItem::kImage)->End, 5000);
  EXPECT_EQ(LabelText(main->Controls().Label_Time), "5");
  EXPECT_TRUE(main->Document().Modified());
  Shot("e2e-R10-duration.png");

  // Holding the up button steps on the timer up to 60 and stays there.
  const POINT up = Centre(main->Controls().UpBtn);
  Driver().Press(0, up);
  Pump();
  for (int i = 0; i < 80; ++i) Driver().Advance(200);
  Driver().Release(0, up);
  Pump();
  EXPECT_EQ(LabelText(main->Controls().Edit_Cur), "60");
  EXPECT_EQ(main->Mms()->Body->GetFrameDur(0), 60000);
  EXPECT_EQ(LabelText(main->Controls().Label_Time), "60");
}

TEST_F(PageRoads, R11Compress) {
  StartEditor();
  InsertPicture(0, "pillow/jpeg/flower.jpg", "flower.jpg");
  ASSERT_NE(Frame(0)->GetItem(TMediaItem::kImage), nullptr);
  const std::string sizeBefore = LabelText(main->Controls().Label_Size);
  Click(StripPoint(50, 100));
  ASSERT_EQ(main->Selection(), StripSelection::kPicture);
  modals.clear();
  Chord("Alt+A");
  ASSERT_NE(pPicResize, nullptr);
  EXPECT_TRUE(modals.empty());  // not modal
  EXPECT_TRUE(pPicResize->Visible());
  EXPECT_EQ(std::string(pPicResize->Caption().c_str()), "PicResize");
  const auto labels = LabelsOf(pPicResize);
  EXPECT_TRUE(Has(labels, "100%  (100%)"));
  EXPECT_TRUE(Has(labels, "480 * 360  (100%)"));

  editortest::DragTo(pPicResize->TrackBar1, 50);
  const std::string n = std::to_string(main->PicCounter());
  const std::string result = Tmp("Sizetemp/Tmpic" + n + ".jpg"), middle = Tmp("Sizetemp/mid_1" + n + ".jpg");
  for (const std::string& file : {result, middle}) {
    SCOPED_TRACE(file);
    const editortest::Picture picture = editortest::Identify(file);
    EXPECT_EQ(picture.width, 240);
    EXPECT_EQ(picture.height, 180);
  }
  Shot("e2e-R11-compress.png", pPicResize->Handle());
  Click(editortest::CentreOf(pPicResize->OKButton));
  EXPECT_EQ(Frame(0)->GetItem(TMediaItem::kImage)->Path, Tmp("Image/Tmpic" + n + ".jpg"));
  EXPECT_LT(std::stoi(LabelText(main->Controls().Label_Size)), std::stoi(sizeBefore)) << "measured again";

  // Alt+N while the dialog is the active window hides it and sends nothing.
  Click(StripPoint(50, 100));
  Chord("Alt+A");
  ASSERT_NE(pPicResize, nullptr);
  ASSERT_EQ(GetActiveWindow(), pPicResize->Handle());
  modals.clear();
  Chord("Alt+N");
  EXPECT_FALSE(pPicResize->Visible());
  EXPECT_TRUE(modals.empty());
  EXPECT_FALSE(fs::exists(Tmp("Send/TempMMS.mms")));
}

}  // namespace
