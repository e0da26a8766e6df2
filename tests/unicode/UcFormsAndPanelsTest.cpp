// The Unicode form, scroll box, panel and radio group: creation from layouts, the layered style
// held back, menu hints, re-entering size changes, wide captions and the radio group's buttons.
#include <filesystem>
#include <string>

#include "UcFixture.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TMainMenu.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/LayeredWindows.h"
#include "unicode/TUcApplication.h"
#include "unicode/TUcForm.h"
#include "unicode/TUcGroupButton.h"
#include "unicode/TUcMenuItem.h"
#include "unicode/TUcPanel.h"
#include "unicode/TUcRadioGroup.h"
#include "unicode/TUcScrollBox.h"

namespace uctest {
namespace {

using UcForms = UcTest;

// Remembers the extended style its window was created with.
class TProbeForm : public TUcForm {
 public:
  explicit TProbeForm(TComponent* owner) : TUcForm(owner, 0) {}
  DWORD createdExStyle = 0;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_CREATE) createdExStyle = reinterpret_cast<const CREATESTRUCTW*>(m.LParam)->dwExStyle;
    TUcForm::WndProc(m);
  }
};

TEST_F(UcForms, ATranslucentFormIsCreatedWithoutTheLayeredStyleAndBlendedAfterwards) {
  auto* form = new TProbeForm(Application);
  form->AfterConstruction();
  form->SetBorderStyle(bsNone);
  form->SetBounds(0, 0, 100, 80);
  form->SetColor(clWhite);
  form->SetAlphaBlendValue(64);
  form->SetAlphaBlend(true);
  form->Show();
  Driver().RunUntilIdle();
  EXPECT_TRUE(IsWindowUnicode(form->Handle()));
  EXPECT_FALSE(form->createdExStyle & WS_EX_LAYERED);
  EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(WindowOpacity(form->Handle()), 64);
  EXPECT_EQ(Driver().Capture(form->Handle()).At(50, 40), 0x404040u);
}

TEST_F(UcForms, AnMdiChildCannotBeCreatedAndAClassWithoutALayoutIsNotFound) {
  auto* child = new TUcForm(Application, 0);
  child->AfterConstruction();
  child->SetFormStyle(fsMDIChild);
  try {
    child->HandleNeeded();
    ADD_FAILURE() << "no exception";
  } catch (const EInvalidOperation& e) {
    EXPECT_EQ(e.Message, AnsiString("Cannot create form. No MDI forms are currently active"));
  }
  EXPECT_FALSE(child->HandleAllocated());
  delete child;

  class TNoLayoutForm : public TUcForm {
   public:
    explicit TNoLayoutForm(TComponent* owner) : TUcForm(owner) {}
  };
  RegisterProperties<TNoLayoutForm>("TNoLayoutForm", "TUcForm");
  auto* orphan = new TNoLayoutForm(Application);
  try {
    orphan->AfterConstruction();
    ADD_FAILURE() << "no exception";
  } catch (const EResNotFound& e) {
    EXPECT_EQ(e.Message, AnsiString("Resource TNoLayoutForm not found"));
  }
  delete orphan;
  // TUcForm itself needs no layout.
  auto* plain = new TUcForm(Application);
  EXPECT_NO_THROW(plain->AfterConstruction());
  delete plain;
}

TEST_F(UcForms, AHighlightedMenuItemsLongHintBecomesTheApplicationsHint) {
  auto* form = new TUcForm(Application);
  form->AfterConstruction();
  form->Show();
  auto* menu = new TMainMenu(form);
  auto* file = new TUcMenuItem(form);
  auto* open = new TUcMenuItem(form);
  file->SetHint(u"\u1781|\u17A2\u1780\u17D2\u179F\u179A");
  open->SetHint(std::u16string(u"Short|") + kKhmer);
  file->Add(open);
  menu->Items()->Add(file);
  // Without a menu the form leaves the hint alone.
  UcApplication->SetHint(u"before");
  SendMessageW(form->Handle(), WM_MENUSELECT, MAKEWPARAM(open->Command(), 0), LPARAM(menu->Handle()));
  EXPECT_EQ(UcApplication->Hint(), WideString(u"before"));
  form->SetMenu(menu);
  struct Case {
    WPARAM wParam;
    LPARAM lParam;
    std::u16string hint;
  };
  const Case cases[] = {
      {MAKEWPARAM(open->Command(), 0), LPARAM(file->Handle()), kKhmer},
      {MAKEWPARAM(0, MF_POPUP), LPARAM(menu->Handle()), u"\u17A2\u1780\u17D2\u179F\u179A"},
      {MAKEWPARAM(9999, 0), LPARAM(menu->Handle()), u""},
      {MAKEWPARAM(0, 0xFFFF), 0, u""},  // the menu closed
  };
  for (const Case& c : cases) {
    UcApplication->SetHint(u"before");
    SendMessageW(form->Handle(), WM_MENUSELECT, c.wParam, c.lParam);
    EXPECT_EQ(UcApplication->Hint(), WideString(c.hint)) << c.wParam;
  }
}

TEST_F(UcForms, AScrollBoxWhoseSizeHandlerReEntersStopsAtTheThirtySecondLevel) {
  TForm* form = NewForm();
  auto* box = Child<TUcScrollBox>(form, 10, 10, 100, 100);
  box->HandleNeeded();
  EXPECT_TRUE(IsWindowUnicode(box->Handle()));
  int depth = 0, deepest = 0;
  box->OnResize = [&](TObject*) {
    deepest = std::max(deepest, ++depth);
    // Each handled size change makes another one, inside this one.
    SetWindowPos(box->Handle(), nullptr, 0, 0, box->Width() + 1, 100, SWP_NOMOVE | SWP_NOZORDER);
    --depth;
  };
  SetWindowPos(box->Handle(), nullptr, 0, 0, 101, 100, SWP_NOMOVE | SWP_NOZORDER);
  EXPECT_EQ(deepest, 31);
  // The count is back at zero: the next change is handled again.
  int handled = 0;
  box->OnResize = [&](TObject*) { ++handled; };
  box->SetBounds(10, 10, 50, 50);
  EXPECT_EQ(handled, 1);
}

// The idle-event controls the main form holds once the layer has seen it.
template <class Form>
int IdleControlsOnMainForm() {
  Form* form = nullptr;
  Application->CreateForm(form);
  form->Show();
  PostMessageW(form->Handle(), WM_NULL, 0, 0);
  Driver().RunUntilIdle();
  int count = 0;
  for (int i = 0; i < form->ComponentCount(); ++i)
    count += dynamic_cast<TUcAppIdleEventControl*>(form->Components(i)) != nullptr;
  return count;
}

TEST_F(UcForms, AUnicodeMainFormNeedsNoIdleEventControl) { EXPECT_EQ(IdleControlsOnMainForm<TUcForm>(), 0); }

TEST_F(UcForms, AnEightBitMainFormGetsAnIdleEventControl) { EXPECT_EQ(IdleControlsOnMainForm<TForm>(), 1); }

using UcPanels = UcTest;

TEST_F(UcPanels, APanelCentresItsKhmerCaption) {
  CodePageScope page(1252);
  Driver().UseFixedMetricFont(6, 13);
  TForm* form = NewForm(300, 120);
  auto* panel = Child<TUcPanel>(form, 10, 10, 200, 60);
  panel->SetCaption(kKhmer);
  EXPECT_TRUE(IsWindowUnicode(panel->Handle()));
  EXPECT_EQ(WindowText(panel->Handle()), kKhmer);
  form->Repaint();
  const auto image = Driver().Capture(panel->Handle());
  const uint32_t face = image.At(5, 5);
  int left = 200, right = -1, top = 60, bottom = -1;
  for (int y = 2; y < 58; ++y)
    for (int x = 2; x < 198; ++x)
      if (image.At(x, y) != face) {
        left = std::min(left, x), right = std::max(right, x);
        top = std::min(top, y), bottom = std::max(bottom, y);
      }
  // Nine cells of six pixels, centred both ways (the 8-bit text would be nine "?").
  EXPECT_NEAR((left + right + 1) / 2.0, 100, 1.5);
  EXPECT_LE(right - left + 1, 54);
  EXPECT_NEAR((top + bottom + 1) / 2.0, 30, 4);
}

class UcRadioGroup : public UcTest {
 protected:
  TUcRadioGroup* Group(TWinControl* parent, std::initializer_list<const char16_t*> items, int columns) {
    auto* g = Child<TUcRadioGroup>(parent, 10, 10, 250, 150);
    for (const char16_t* item : items) g->Items()->Add(item);
    g->SetColumns(columns);
    return g;
  }
};

TEST_F(UcRadioGroup, KhmerItemsShowOnUnicodeButtonsInColumns) {
  CodePageScope page(1252);
  TForm* form = NewForm(300, 200);
  TUcRadioGroup* g = Group(form, {kKhmer, kVietnamese, u"\u1780", u"\u1781", u"\u1782"}, 2);
  ASSERT_EQ(g->ButtonCount(), 5);
  const int column = (250 - 10) / 2;
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(g->Buttons(i)->Left(), 8 + (i / 3) * column) << i;
    EXPECT_EQ(g->Buttons(i)->Width(), column) << i;
    EXPECT_TRUE(IsWindowUnicode(g->Buttons(i)->Handle())) << i;
  }
  EXPECT_EQ(g->Buttons(3)->Top(), g->Buttons(0)->Top());
  EXPECT_EQ(WindowText(g->Buttons(0)->Handle()), kKhmer);
  EXPECT_EQ(g->Buttons(1)->Caption(), WideString(kVietnamese));
  for (const auto& [set, expected] : {std::pair{0, 1}, std::pair{20, 16}}) {
    g->SetColumns(set);
    EXPECT_EQ(g->Columns(), expected);
  }
}

TEST_F(UcRadioGroup, TheChosenItemFollowsAClickCodeAndDeletedItems) {
  TForm* form = NewForm(300, 200);
  TUcRadioGroup* g = Group(form, {u"a", u"b", u"c"}, 1);
  int clicks = 0;
  g->OnClick = [&](TObject*) { ++clicks; };
  g->SetItemIndex(2);
  EXPECT_TRUE(g->Buttons(2)->Checked());
  EXPECT_EQ(clicks, 0);
  g->Items()->Delete(2);
  EXPECT_EQ(g->ItemIndex(), 1);
  Driver().Click(Driver().ClientPoint(g->Buttons(0)->Handle(), 4, 4));
  Driver().RunUntilIdle();
  EXPECT_EQ(g->ItemIndex(), 0);
  EXPECT_TRUE(g->Buttons(0)->Checked());
  EXPECT_FALSE(g->Buttons(1)->Checked());
  EXPECT_EQ(clicks, 1);
}

// A group whose choice cannot change (read-only data behind it).
class TLockedGroup : public TUcRadioGroup {
 public:
  explicit TLockedGroup(TComponent* owner) : TUcRadioGroup(owner) {}
  std::string keys;

 protected:
  bool CanModify() override { return false; }
  bool KeyPress(char& key) override {
    keys += key;
    return TUcRadioGroup::KeyPress(key);
  }
};

TEST_F(UcRadioGroup, AGroupThatCannotChangeIgnoresClicksAndSwallowsSpaceButHearsTheKeys) {
  TForm* form = NewForm(300, 200);
  auto* g = Child<TLockedGroup>(form, 10, 10, 200, 120);
  g->Items()->Add(u"a");
  g->Items()->Add(u"b");
  g->SetItemIndex(0);
  Driver().Click(Driver().ClientPoint(g->Buttons(1)->Handle(), 4, 4));
  Driver().RunUntilIdle();
  EXPECT_EQ(g->ItemIndex(), 0);
  EXPECT_FALSE(g->Buttons(1)->Checked());
  g->Buttons(1)->SetFocus();
  Driver().Type(u"x ");
  Driver().RunUntilIdle();
  EXPECT_EQ(g->keys, "x ");
  EXPECT_EQ(g->ItemIndex(), 0);
}

class TGroupsUcForm : public TUcForm {
 public:
  explicit TGroupsUcForm(TComponent* owner) : TUcForm(owner) {}
};

TEST_F(UcRadioGroup, AStoredIndexAppliesAfterReadingAndOneBeyondTheItemsChecksNothing) {
  RegisterProperties<TGroupsUcForm>("TGroupsUcForm", "TUcForm");
  RegisterFormLayout("TGroupsUcForm", R"(object GroupsUcForm: TGroupsUcForm
  Width = 300
  Height = 300
  object Early: TUcRadioGroup
    Left = 8
    Top = 8
    Width = 120
    Height = 100
    ItemIndex = 1
    Items.Strings = (
      'a'
      'b'
      'c')
  end
  object Beyond: TUcRadioGroup
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
  auto* f = new TGroupsUcForm(Application);
  f->AfterConstruction();
  f->Show();
  Driver().RunUntilIdle();
  auto* early = dynamic_cast<TUcRadioGroup*>(f->FindComponent("Early"));
  auto* beyond = dynamic_cast<TUcRadioGroup*>(f->FindComponent("Beyond"));
  ASSERT_TRUE(early && beyond);
  EXPECT_TRUE(early->Buttons(1)->Checked());
  ASSERT_EQ(beyond->ButtonCount(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(beyond->Buttons(i)->Checked()) << i;
  EXPECT_EQ(early->ComponentCount(), 3);  // the buttons, which a layout never stores
}

}  // namespace
}  // namespace uctest
