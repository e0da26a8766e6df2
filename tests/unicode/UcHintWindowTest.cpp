// The wide hint window: hints of the layer's controls show in full whatever the code page,
// with the shortcut of their action; other hints show as the form library passed them.
#include <filesystem>

#include "UcFixture.h"
#include "platform/forms/TGraphicControl.h"
#include "unicode/TUcAction.h"
#include "unicode/TUcCustomHintWindow.h"
#include "unicode/TUcHintWindow.h"
#include "unicode/TUcImage.h"
#include "unicode/UcControls.h"

namespace uctest {
namespace {

// A plain control that hands the hint window whatever it likes as hint data.
class TDataBox : public TGraphicControl {
 public:
  explicit TDataBox(TComponent* owner) : TGraphicControl(owner) {}
  void* data = nullptr;
  void Dispatch(void* message) override {
    auto& m = *static_cast<TMessage*>(message);
    if (m.Msg == CM_HINTSHOW) {
      auto* info = reinterpret_cast<THintInfo*>(m.LParam);
      info->HintData = data;
      info->HintWindowClass = THintWindowClass::Of<TUcCustomHintWindow>();
    }
    TGraphicControl::Dispatch(message);
  }
};

class UcHintWindow : public UcTest {
 protected:
  void SetUp() override {
    UcTest::SetUp();
    Driver().UseFixedMetricFont(6, 13);
  }
  void TearDown() override {
    Driver().UseFixedMetricFont(0, 0);
    UcTest::TearDown();
  }
  // Rests the mouse over the control until its hint shows; the shown wide caption.
  WideString ShowHintOf(TControl* control) {
    Driver().MoveMouse(control->ClientToScreen(POINT{3, 3}));
    Driver().RunUntilIdle();
    Driver().Advance(600);
    auto* window = dynamic_cast<TUcCustomHintWindow*>(Application->HintWindow());
    if (!window || !window->HandleAllocated() || !IsWindowVisible(window->Handle())) return u"(none)";
    return window->Caption();
  }
};

TEST_F(UcHintWindow, AKhmerHintShowsInKhmerThoughTheFormLibraryPassedQuestionMarks) {
  CodePageScope page(1252);
  TForm* form = NewForm(300, 200);
  auto* image = Child<TUcImage>(form, 20, 20, 80, 60);
  image->SetHint(std::u16string(kKhmer) + u"|long");
  image->SetShowHint(true);
  EXPECT_EQ(ShowHintOf(image), WideString(kKhmer));
  EXPECT_TRUE(IsWindowUnicode(Application->HintWindow()->Handle()));
}

TEST_F(UcTest, TheKhmerHintPicture) {
  TForm* form = NewForm(300, 200);
  auto* image = Child<TUcImage>(form, 20, 20, 80, 60);
  image->SetHint(std::u16string(kKhmer) + u" " + kVietnamese);
  image->SetShowHint(true);
  Driver().MoveMouse(image->ClientToScreen(POINT{3, 3}));
  Driver().RunUntilIdle();
  Driver().Advance(600);
  Driver().RunUntilIdle();
  THintWindow* window = Application->HintWindow();
  ASSERT_TRUE(window && IsWindowVisible(window->Handle()));
  std::filesystem::create_directories(Screenshots());
  EXPECT_TRUE(Driver().SavePng(window->Handle(), Screenshots() + "uc-hint-km.png"));
}

TEST_F(UcHintWindow, AnActionShortcutFollowsTheWideHint) {
  CodePageScope page(1252);
  TForm* form = NewForm(300, 200);
  Application->HintShortCuts = true;
  auto* action = new TUcAction(form);
  action->SetShortCut(0x4053);  // Ctrl+S
  auto* image = Child<TUcImage>(form, 20, 20, 80, 60);
  image->SetAction(action);
  image->SetShowHint(true);
  image->SetHint(u"Save");
  EXPECT_EQ(ShowHintOf(image), WideString(u"Save (Ctrl+S)"));
  image->SetHint(u"\u1780\u1781");
  Driver().MoveMouse(POINT{0, 0});
  Driver().RunUntilIdle();
  EXPECT_EQ(ShowHintOf(image), WideString(u"\u1780\u1781 (Ctrl+S)"));
}

TEST_F(UcHintWindow, HintsTheLayerDidNotMarkShowAsTheyCame) {
  TForm* form = NewForm(300, 200);
  auto* box = Child<TDataBox>(form, 20, 20, 80, 60);
  box->SetHint("Plain");
  box->SetShowHint(true);
  struct Case {
    void* data;
  };
  THintInfo gone;
  const Case cases[] = {{nullptr}, {reinterpret_cast<void*>(1)}, {&gone}};
  for (const Case& c : cases) {
    box->data = c.data;
    Driver().MoveMouse(POINT{0, 0});
    Driver().RunUntilIdle();
    EXPECT_EQ(ShowHintOf(box), WideString(u"Plain"));
  }
}

TEST_F(UcHintWindow, TheHintRectangleIsTheWideTextsWithTheMargins) {
  TForm* form = NewForm();
  (void)form;
  auto* window = new TUcHintWindow(Application);
  const RECT r = window->CalcHintRect(300, WideString(kKhmer), nullptr);
  // Nine letters of the fixed six-pixel font, one line of thirteen.
  EXPECT_EQ(r.right, 9 * 6 + 6);
  EXPECT_EQ(r.bottom, 13 + 2);
  window->ActivateHint(RECT{50, 50, 50 + r.right, 50 + r.bottom}, WideString(kKhmer));
  EXPECT_EQ(window->Caption(), WideString(kKhmer));
  EXPECT_TRUE(IsWindowVisible(window->Handle()));
  delete window;
}

}  // namespace
}  // namespace uctest
