// Controls, forms, the application and timers on the headless backend: the message path,
// windowless children painted and clicked through their parent, exceptions reaching the
// application, layouts building forms, and timers on the fake clock.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ShellFixture.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TCustomControl.h"
#include "platform/forms/TGraphicControl.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TTimer.h"
#include "platform/gdi/OwnedGdiObject.h"

namespace {

using platform::headless::Driver;
// A windowless box and a windowed sheet, each filling itself with its colour.
using shelltest::TBox;
using shelltest::TSheet;

// A windowed control whose painting fails half way, after it has drawn with its canvas.
class TFailingSheet : public TCustomControl {
 public:
  explicit TFailingSheet(TComponent* owner) : TCustomControl(owner) {}
  HDC paintedOn = nullptr;
  HGDIOBJ surface = nullptr;

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(clRed);
    Canvas()->FillRect(RECT{0, 0, Width(), Height()});
    paintedOn = Canvas()->Handle();
    surface = GetCurrentObject(paintedOn, OBJ_BITMAP);
    throw Exception("Paint failed");
  }
};

class TDemoForm : public TForm {
 public:
  explicit TDemoForm(TComponent* owner) : TForm(owner) {}
  std::vector<std::string> log;
  void BoxClick(TObject* sender) {
    log.push_back("click " + static_cast<TComponent*>(sender)->Name().ToStd());
  }
  void BoxDblClick(TObject* sender) {
    log.push_back("dblclick " + static_cast<TComponent*>(sender)->Name().ToStd());
  }
  void BoxMouseDown(TObject*, TMouseButton, TShiftState shift, int x, int y) {
    log.push_back(std::string("down") + ((shift & ssDouble) ? " double " : " ") + std::to_string(x) + "," +
                  std::to_string(y));
  }
  void BoxMouseUp(TObject*, TMouseButton, TShiftState, int, int) { log.push_back("up"); }
  void TickTimer(TObject* sender) {
    ++ticks;
    tickSender = sender;
    if (throwOnTick) throw Exception("Tick failed");
  }
  void FormCreate(TObject*) { created = true; }
  int ticks = 0;
  TObject* tickSender = nullptr;
  bool throwOnTick = false;
  bool created = false;
};

const char* kDemoLayout = R"(object DemoForm: TDemoForm
  Left = 100
  Top = 50
  Width = 200
  Height = 120
  Caption = 'Demo'
  Color = clWhite
  BorderStyle = bsNone
  OnCreate = FormCreate
  object Sheet: TSheet
    Align = alBottom
    Height = 40
    Color = clBlue
    object Inner: TBox
      Left = 5
      Top = 5
      Width = 10
      Height = 10
      Color = clYellow
    end
  end
  object Box: TBox
    Left = 10
    Top = 10
    Width = 30
    Height = 20
    Color = clRed
    OnClick = BoxClick
    OnDblClick = BoxDblClick
    OnMouseDown = BoxMouseDown
    OnMouseUp = BoxMouseUp
  end
  object Ticker: TTimer
    Interval = 100
    OnTimer = TickTimer
  end
end
)";

class FormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::Startup();
    static bool registered = false;
    if (!registered) {
      registered = true;
      RegisterProperties<TBox>("TBox", "TGraphicControl", Factory<TBox>());
      RegisterProperties<TSheet>("TSheet", "TCustomControl", Factory<TSheet>());
      RegisterProperties<TDemoForm>("TDemoForm", "TForm")
          .Handler("BoxClick", &TDemoForm::BoxClick)
          .Handler("BoxDblClick", &TDemoForm::BoxDblClick)
          .Handler("BoxMouseDown", &TDemoForm::BoxMouseDown)
          .Handler("BoxMouseUp", &TDemoForm::BoxMouseUp)
          .Handler("TickTimer", &TDemoForm::TickTimer)
          .Handler("FormCreate", &TDemoForm::FormCreate);
      RegisterFormLayout("TDemoForm", kDemoLayout);
    }
    Application->OnException = [this](TObject* sender, Exception* e) {
      exceptions.push_back({sender, e->Message.ToStd()});
    };
  }
  void TearDown() override { platform::Shutdown(); }
  TDemoForm* MakeForm() {
    TDemoForm* form = nullptr;
    Application->CreateForm(form);
    form->Show();
    Driver().RunUntilIdle();
    return form;
  }
  POINT At(TWinControl* c, int x, int y) { return Driver().ClientPoint(c->Handle(), x, y); }

  struct Caught {
    TObject* sender;
    std::string message;
  };
  std::vector<Caught> exceptions;
};

TEST_F(FormsTest, LayoutBuildsTheFormAndItsControlsPaint) {
  TDemoForm* form = MakeForm();
  EXPECT_TRUE(form->created);
  EXPECT_EQ(Application->MainForm, form);
  auto* sheet = dynamic_cast<TSheet*>(form->FindComponent("Sheet"));
  auto* inner = dynamic_cast<TBox*>(form->FindComponent("Inner"));
  ASSERT_TRUE(sheet && inner);
  EXPECT_EQ(inner->Parent(), sheet);
  // Aligned to the bottom across the whole width.
  EXPECT_EQ(sheet->Top(), 80);
  EXPECT_EQ(sheet->Width(), 200);
  EXPECT_EQ(FindControl(form->Handle()), form);
  EXPECT_EQ(FindControl(sheet->Handle()), sheet);

  platform::headless::CaptureImage image = Driver().Capture(form->Handle());
  ASSERT_EQ(image.width, 200);
  EXPECT_EQ(image.At(0, 0), 0xFFFFFFu);    // the form's colour
  EXPECT_EQ(image.At(15, 15), 0xFF0000u);  // the red box (pixels are 0x00RRGGBB)
  EXPECT_EQ(image.At(40, 10), 0xFFFFFFu);  // just right of it
  EXPECT_EQ(image.At(2, 82), 0x0000FFu);   // the blue sheet
  EXPECT_EQ(image.At(6, 86), 0xFFFF00u);   // the yellow box inside it
}

TEST_F(FormsTest, ClicksOnAWindowlessControlGiveTheClassicEventsWithTheirSender) {
  TDemoForm* form = MakeForm();
  Driver().Click(At(form, 12, 14));
  Driver().RunUntilIdle();
  EXPECT_EQ(form->log, (std::vector<std::string>{"down 2,4", "click Box", "up"}));
  form->log.clear();
  Driver().Advance(1000);  // far from the previous click
  Driver().DoubleClick(At(form, 12, 14));
  Driver().RunUntilIdle();
  EXPECT_EQ(form->log, (std::vector<std::string>{"down 2,4", "click Box", "up", "dblclick Box",
                                                 "down double 2,4", "up"}));
  form->log.clear();
  // A press outside the box and a release on it is no click.
  Driver().Advance(1000);
  Driver().Press(0, At(form, 100, 50));
  Driver().Release(0, At(form, 12, 14));
  Driver().RunUntilIdle();
  EXPECT_EQ(std::count(form->log.begin(), form->log.end(), "click Box"), 0);
}

TEST_F(FormsTest, AnExceptionInAHandlerReachesTheApplicationAndTheLoopGoesOn) {
  TDemoForm* form = MakeForm();
  auto* box = dynamic_cast<TBox*>(form->FindComponent("Box"));
  int clicks = 0;
  box->OnClick = [&](TObject*) {
    ++clicks;
    throw EConvertError("Bad number");
  };
  Driver().Click(At(form, 12, 14));
  Driver().RunUntilIdle();
  Driver().Advance(1000);
  Driver().Click(At(form, 12, 14));
  Driver().RunUntilIdle();
  EXPECT_EQ(clicks, 2);
  ASSERT_EQ(exceptions.size(), 2u);
  EXPECT_EQ(exceptions[0].sender, form);
  EXPECT_EQ(exceptions[0].message, "Bad number");

  // EAbort stays silent.
  box->OnClick = [](TObject*) { Abort(); };
  Driver().Advance(1000);
  Driver().Click(At(form, 12, 14));
  Driver().RunUntilIdle();
  EXPECT_EQ(exceptions.size(), 2u);
}

TEST_F(FormsTest, TimersFireOnTheFakeClockAndTheirExceptionsAreHandled) {
  TDemoForm* form = MakeForm();
  auto* ticker = dynamic_cast<TTimer*>(form->FindComponent("Ticker"));
  ASSERT_NE(ticker, nullptr);
  Driver().Advance(250);
  EXPECT_EQ(form->ticks, 2);
  EXPECT_EQ(form->tickSender, ticker);
  form->throwOnTick = true;
  Driver().Advance(100);
  EXPECT_EQ(form->ticks, 3);
  ASSERT_EQ(exceptions.size(), 1u);
  EXPECT_EQ(exceptions[0].sender, ticker);
  form->throwOnTick = false;
  ticker->SetInterval(0);
  Driver().Advance(500);
  EXPECT_EQ(form->ticks, 3);
  ticker->SetInterval(50);
  ticker->SetEnabled(false);
  Driver().Advance(500);
  EXPECT_EQ(form->ticks, 3);
}

TEST_F(FormsTest, PerformAndASubclassedWindowProcWorkWithAndWithoutAWindow) {
  TDemoForm* form = MakeForm();
  auto* box = dynamic_cast<TBox*>(form->FindComponent("Box"));
  EXPECT_EQ(box->Caption(), "");
  box->SetCaption("Windowless");
  EXPECT_EQ(box->Perform(WM_GETTEXTLENGTH, 0, 0), 10);

  // Subclassing: save, install, call the saved one, restore only if still ours.
  struct Spy {
    TWndMethodValue saved;
    int seen = 0;
    void Proc(TMessage& m) {
      if (m.Msg == WM_SETTEXT) ++seen;
      saved(m);
    }
  } spy;
  spy.saved = form->WindowProc;
  TWndMethodValue mine = TWndMethodValue::Of<Spy, &Spy::Proc>(&spy);
  form->WindowProc = mine;
  form->SetCaption("Renamed");
  EXPECT_EQ(spy.seen, 1);
  EXPECT_EQ(form->Caption(), "Renamed");
  char title[32] = {0};
  GetWindowTextA(form->Handle(), title, sizeof title);
  EXPECT_STREQ(title, "Renamed");
  if (form->WindowProc == mine) form->WindowProc = spy.saved;
  EXPECT_TRUE(form->WindowProc == spy.saved);

  // The text survives the window being made again.
  auto* sheet = dynamic_cast<TSheet*>(form->FindComponent("Sheet"));
  sheet->SetCaption("Kept");
  HWND before = sheet->Handle();
  sheet->RecreateWnd();
  EXPECT_NE(sheet->Handle(), before);
  EXPECT_FALSE(IsWindow(before));
  EXPECT_EQ(sheet->Caption(), "Kept");
}

TEST_F(FormsTest, ShowModalReturnsTheScriptedResultAndCloseHonoursTheQuery) {
  TDemoForm* form = MakeForm();
  auto* dialog = new TForm(Application);
  dialog->AfterConstruction();
  dialog->SetCaption("Question");
  Driver().OnModal([](const platform::win::ModalInfo& info) {
    EXPECT_EQ(info.caption, u"Question");
    return platform::win::ModalAnswer::Result(mrOk);
  });
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_FALSE(dialog->Visible());

  dialog->Show();
  EXPECT_THROW(dialog->ShowModal(), EInvalidOperation);
  bool allow = false;
  dialog->OnCloseQuery = [&](TObject*, bool& canClose) { canClose = allow; };
  dialog->Close();
  EXPECT_TRUE(dialog->Visible());
  allow = true;
  dialog->Close();
  EXPECT_FALSE(dialog->Visible());
  (void)form;
}

}  // namespace

namespace {

TEST_F(FormsTest, ImagesShowTheirPictureStretchedAndWithTheKeyColourLeftOut) {
  TDemoForm* form = MakeForm();
  auto* image = new TImage(form);
  image->SetParent(form);
  image->SetBounds(50, 10, 8, 4);
  TBitmap* bitmap = image->Picture()->Bitmap();
  bitmap->SetSize(2, 2);
  auto* top = static_cast<std::uint32_t*>(bitmap->ScanLine(0));
  auto* bottom = static_cast<std::uint32_t*>(bitmap->ScanLine(1));
  top[0] = 0x00FF00;
  top[1] = 0x0000FF;
  bottom[0] = 0xFF0000;  // the key colour in auto mode
  bottom[1] = 0x000000;
  image->SetStretch(true);
  image->SetTransparent(true);
  Driver().RunUntilIdle();
  platform::headless::CaptureImage shot = Driver().Capture(form->Handle());
  EXPECT_EQ(shot.At(50, 10), 0x00FF00u);
  EXPECT_EQ(shot.At(57, 11), 0x0000FFu);
  EXPECT_EQ(shot.At(50, 13), 0xFFFFFFu);  // the key colour shows the form beneath
  EXPECT_EQ(shot.At(57, 13), 0x000000u);
  EXPECT_EQ(shot.At(58, 10), 0xFFFFFFu);
}

// A paint that raises gives everything back on its way out: the canvas lets go of the DC with
// its brush deselected, and the off-screen buffer of a double-buffered control is deleted.
TEST_F(FormsTest, APaintThatRaisesLeavesNoObjectSelectedOrLeaked) {
  TDemoForm* form = MakeForm();
  auto* sheet = new TFailingSheet(form);
  sheet->SetBounds(0, 0, 40, 30);
  sheet->SetParent(form);
  sheet->HandleNeeded();

  const OwnedMemoryDC probe(nullptr);
  const OwnedGdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(probe, 40, 30));
  const HGDIOBJ oldBitmap = SelectObject(probe, bitmap);
  const HGDIOBJ brushBefore = GetCurrentObject(probe, OBJ_BRUSH);
  EXPECT_THROW(sheet->Perform(WM_PAINT, reinterpret_cast<WPARAM>(probe.Get()), 0), Exception);
  EXPECT_EQ(sheet->paintedOn, probe.Get());
  EXPECT_FALSE(sheet->Canvas()->HandleAllocated());
  EXPECT_EQ(GetCurrentObject(probe, OBJ_BRUSH), brushBefore);
  SelectObject(probe, oldBitmap);

  sheet->DoubleBuffered = true;
  sheet->paintedOn = nullptr;
  EXPECT_THROW(sheet->Perform(WM_PAINT, reinterpret_cast<WPARAM>(probe.Get()), 0), Exception);
  ASSERT_NE(sheet->paintedOn, nullptr);
  EXPECT_NE(sheet->paintedOn, probe.Get());  // the buffer's own DC
  EXPECT_FALSE(sheet->Canvas()->HandleAllocated());
  EXPECT_EQ(GetObjectType(sheet->surface), 0u);  // deselected, then deleted
}

}  // namespace
