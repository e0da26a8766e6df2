// The radio group: buttons made from the items and arranged in columns, the chosen item, and
// what a layout stores.
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TGroupButton.h"
#include "platform/forms/TRadioGroup.h"
#include "tests/forms/StdCtrlsTestSupport.h"

namespace {

using stdctrlstest::StdCtrlsTest;

class RadioGroup : public StdCtrlsTest {
 protected:
  TRadioGroup* Group(int items, int columns = 1) {
    auto* g = Make<TRadioGroup>(10, 10, 210, 130);
    for (int i = 0; i < items; ++i)
      g->Items()->Add(AnsiString("Item ") + AnsiString(std::to_string(i).c_str()));
    g->SetColumns(columns);
    return g;
  }
  static int TextHeight(TControl* c) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, c->Font()->Handle());
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    return tm.tmHeight;
  }
};

TEST_F(RadioGroup, FiveItemsInTwoColumnsAreThreeAndTwoButtonsSharingTheWidth) {
  TRadioGroup* g = Group(5, 2);
  ASSERT_EQ(g->ButtonCount(), 5);
  const int t = TextHeight(g), inner = 130 - t - 5, height = inner / 3, top = t + 1 + (inner % 3) / 2;
  struct Place {
    int left, top;
  };
  const Place places[] = {
      {8, top}, {8, top + height}, {8, top + 2 * height}, {8 + 100, top}, {8 + 100, top + height}};
  for (int i = 0; i < 5; ++i) {
    TGroupButton* b = g->Buttons(i);
    EXPECT_EQ(b->Left(), places[i].left) << i;
    EXPECT_EQ(b->Top(), places[i].top) << i;
    EXPECT_EQ(b->Width(), (210 - 10) / 2) << i;
    EXPECT_EQ(b->Height(), height) << i;
    EXPECT_TRUE(b->Visible());
    RECT r;
    GetWindowRect(b->Handle(), &r);
    POINT p{r.left, r.top};
    ScreenToClient(g->Handle(), &p);
    EXPECT_EQ(p.x, places[i].left) << i;  // the window moved with the control
  }
  EXPECT_EQ(g->Buttons(3)->Caption(), AnsiString("Item 3"));
}

TEST_F(RadioGroup, ColumnsStayBetweenOneAndSixteen) {
  TRadioGroup* g = Group(3);
  struct Case {
    int set, expected;
  };
  for (const Case c : {Case{0, 1}, Case{20, 16}, Case{-3, 1}, Case{3, 3}}) {
    g->SetColumns(c.set);
    EXPECT_EQ(g->Columns(), c.expected) << c.set;
  }
  EXPECT_EQ(g->Buttons(2)->Left(), 8 + 2 * ((210 - 10) / 3));
}

TEST_F(RadioGroup, TheChosenItemFollowsClicksCodeAndDeletedItems) {
  TRadioGroup* g = Group(4);
  int clicks = 0;
  g->OnClick = [&](TObject*) { ++clicks; };
  g->SetItemIndex(1);
  EXPECT_TRUE(g->Buttons(1)->Checked());
  EXPECT_EQ(clicks, 0);  // set in code: no click
  g->SetItemIndex(9);
  EXPECT_EQ(g->ItemIndex(), 3);
  EXPECT_FALSE(g->Buttons(1)->Checked());
  EXPECT_TRUE(g->Buttons(3)->Checked());
  // Deleting the chosen last item chooses the new last one.
  g->Items()->Delete(3);
  EXPECT_EQ(g->ItemIndex(), 2);
  EXPECT_EQ(g->ButtonCount(), 3);
  // A click with the mouse.
  Driver().Click(Driver().ClientPoint(g->Buttons(0)->Handle(), 5, 5));
  Driver().RunUntilIdle();
  EXPECT_EQ(g->ItemIndex(), 0);
  EXPECT_EQ(clicks, 1);
  g->SetItemIndex(-5);
  EXPECT_EQ(g->ItemIndex(), -1);
  g->SetEnabled(false);
  EXPECT_FALSE(g->Buttons(0)->Enabled());
}

class TGroupsForm : public TForm {
 public:
  explicit TGroupsForm(TComponent* owner) : TForm(owner) {}
};

TEST_F(RadioGroup, AnIndexReadFromALayoutAppliesOnceTheButtonsExistAndOneBeyondThemChecksNothing) {
  RegisterProperties<TGroupsForm>("TGroupsForm", "TForm");
  RegisterFormLayout("TGroupsForm", R"(object GroupsForm: TGroupsForm
  Left = 0
  Top = 0
  Width = 300
  Height = 300
  object Early: TRadioGroup
    Left = 8
    Top = 8
    Width = 120
    Height = 100
    ItemIndex = 2
    Items.Strings = (
      'a'
      'b'
      'c')
  end
  object Beyond: TRadioGroup
    Left = 8
    Top = 120
    Width = 120
    Height = 100
    Items.Strings = (
      'a'
      'b'
      'c')
    ItemIndex = 7
  end
end
)");
  auto* f = new TGroupsForm(Application);
  f->AfterConstruction();
  f->Show();
  Driver().RunUntilIdle();
  auto* early = dynamic_cast<TRadioGroup*>(f->FindComponent("Early"));
  auto* beyond = dynamic_cast<TRadioGroup*>(f->FindComponent("Beyond"));
  ASSERT_TRUE(early && beyond);
  EXPECT_EQ(early->ItemIndex(), 2);
  EXPECT_TRUE(early->Buttons(2)->Checked());
  ASSERT_EQ(beyond->ButtonCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(beyond->Buttons(i)->Checked()) << i;
}

}  // namespace
