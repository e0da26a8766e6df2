// Forms read from the layouts of their class and its ancestors, the form's menu bar property and
// translucent forms.
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/InitInheritedComponent.h"
#include "platform/forms/TButton.h"
#include "platform/forms/TMainMenu.h"
#include "platform/forms/TMenuItem.h"
#include "platform/forms/TPanel.h"
#include "platform/win/LayeredWindows.h"
#include "tests/forms/StdCtrlsTestSupport.h"

namespace {

using stdctrlstest::StdCtrlsTest;

class TBaseLayoutForm : public TForm {
 public:
  explicit TBaseLayoutForm(TComponent* owner) : TForm(owner, 0) {}
};
class TDerivedLayoutForm : public TBaseLayoutForm {
 public:
  explicit TDerivedLayoutForm(TComponent* owner) : TBaseLayoutForm(owner) {}
};

class InheritedLayouts : public StdCtrlsTest {
 protected:
  void SetUp() override {
    StdCtrlsTest::SetUp();
    RegisterProperties<TBaseLayoutForm>("TBaseLayoutForm", "TForm");
    RegisterProperties<TDerivedLayoutForm>("TDerivedLayoutForm", "TBaseLayoutForm");
    RegisterFormLayout("TBaseLayoutForm", R"(object BaseLayoutForm: TBaseLayoutForm
  Width = 300
  Height = 200
  Caption = 'Base'
  object Strip: TPanel
    Left = 0
    Top = 0
    Width = 300
    Height = 40
    Color = clRed
  end
end
)");
    RegisterFormLayout("TDerivedLayoutForm", R"(inherited DerivedLayoutForm: TDerivedLayoutForm
  Caption = 'Derived'
  inherited Strip: TPanel
    Color = clBlue
    object Go: TButton
      Left = 4
      Top = 4
      Width = 60
      Height = 24
      Caption = 'Go'
    end
  end
end
)");
  }
};

TEST_F(InheritedLayouts, EachClassLayoutIsReadFromTheFarthestAncestorDown) {
  auto* f = new TDerivedLayoutForm(Application);
  ASSERT_TRUE(InitInheritedComponent(f, "TForm"));
  auto* strip = dynamic_cast<TPanel*>(f->FindComponent("Strip"));
  ASSERT_NE(strip, nullptr);
  EXPECT_EQ(strip->Color(), clBlue);  // the derived layout changed what the base made
  EXPECT_EQ(f->Width(), 300);
  EXPECT_EQ(f->Caption(), AnsiString("Derived"));
  auto* go = dynamic_cast<TButton*>(f->FindComponent("Go"));
  ASSERT_NE(go, nullptr);
  EXPECT_EQ(go->Parent(), strip);
  EXPECT_EQ(f->ComponentCount(), 2);
}

TEST_F(InheritedLayouts, TheRootAncestorsOwnLayoutAndClassesWithoutOneAreLeftOut) {
  auto* onlyDerived = new TDerivedLayoutForm(Application);
  ASSERT_TRUE(InitInheritedComponent(onlyDerived, "TBaseLayoutForm"));
  EXPECT_EQ(onlyDerived->Caption(), AnsiString("Derived"));
  auto* strip = dynamic_cast<TPanel*>(onlyDerived->FindComponent("Strip"));
  ASSERT_NE(strip, nullptr);  // made by the derived layout alone
  EXPECT_EQ(strip->Color(), clBlue);
  auto* plain = new TForm(Application, 0);
  EXPECT_FALSE(InitInheritedComponent(plain, "TForm"));
  EXPECT_EQ(plain->ComponentCount(), 0);
}

using FormMenuAndOpacity = StdCtrlsTest;

TEST_F(FormMenuAndOpacity, AFormsMenuKnowsItsWindowAndIsForgottenWhenFreed) {
  auto* menu = new TMainMenu(form);
  form->SetMenu(menu);
  EXPECT_EQ(menu->WindowHandle(), form->Handle());
  delete menu;
  EXPECT_EQ(form->Menu(), nullptr);
  form->SetMenu(nullptr);
}

TEST_F(FormMenuAndOpacity, AnAlphaBlendFormIsLayeredWithItsValueAndOpaqueAgainWhenSwitchedOff) {
  form->SetColor(clWhite);
  form->SetAlphaBlendValue(128);
  form->SetAlphaBlend(true);
  EXPECT_TRUE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(WindowOpacity(form->Handle()), 128);
  form->Repaint();
  EXPECT_EQ(Driver().Capture(form->Handle()).At(200, 200), 0x808080u);
  form->SetAlphaBlend(false);
  EXPECT_FALSE(GetWindowLongW(form->Handle(), GWL_EXSTYLE) & WS_EX_LAYERED);
  EXPECT_EQ(Driver().Capture(form->Handle()).At(200, 200), 0xFFFFFFu);
  // Set before the window exists: the new window is layered.
  form->SetAlphaBlend(true);
  form->RecreateWnd();
  Driver().RunUntilIdle();
  EXPECT_EQ(WindowOpacity(form->Handle()), 128);
}

}  // namespace
