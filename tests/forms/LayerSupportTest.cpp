// What the form library offers a layer built over it: the creation control, the class
// procedure and window-property names, the handle while it is destroyed, the wider character
// code a WM_CHAR may carry, the store-only password character, incremental image display, the
// focus kept around a system box, and layers in the platform's start-up.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "tests/forms/ShellFixture.h"

namespace shelltest {
namespace {

class TProbe : public TWinControl {
 public:
  explicit TProbe(TComponent* owner) : TWinControl(owner) {}
  TWinControl* creationControl = nullptr;
  bool destroyingHandleAtDestroy = false;
  std::vector<WPARAM> defaultChars;
  void WndProc(TMessage& m) override {
    if (m.Msg == WM_DESTROY) destroyingHandleAtDestroy = ControlState & csDestroyingHandle;
    TWinControl::WndProc(m);
  }
  void DefaultHandler(void* message) override {
    auto& m = *static_cast<TMessage*>(message);
    if (m.Msg == WM_CHAR) defaultChars.push_back(m.WParam);
    TWinControl::DefaultHandler(message);
  }

 protected:
  void CreateWindowHandle(const TCreateParams& params) override {
    creationControl = TWinControl::CreationControl();
    TWinControl::CreateWindowHandle(params);
  }
};

using LayerSupport = ShellTest;

TEST_F(LayerSupport, ALayerSeesTheCreationControlThePropertiesAndTheHandleBeingDestroyed) {
  TForm* form = NewForm(0, 0, 200, 100);
  auto* probe = Child<TProbe>(form, "Probe", 0, 0, 20, 20, clRed);
  HWND h = probe->Handle();
  EXPECT_EQ(probe->creationControl, probe);
  EXPECT_EQ(TWinControl::CreationControl(), nullptr);
  char expected[40];
  std::snprintf(expected, sizeof expected, "ControlOfs%08X", unsigned(getpid()));
  EXPECT_STREQ(TWinControl::ControlPropertyName(), expected);
  std::snprintf(expected, sizeof expected, "WndProcPtr%08X", unsigned(getpid()));
  EXPECT_STREQ(TWinControl::InstancePropertyName(), expected);
  EXPECT_EQ(GetPropA(h, TWinControl::ControlPropertyName()), static_cast<HANDLE>(probe));
  EXPECT_EQ(WNDPROC(LONG_PTR(GetPropA(h, TWinControl::InstancePropertyName()))),
            TWinControlAccess::ObjectInstance(probe));

  // A window of a class whose procedure is the library's own becomes the creation control's.
  WNDCLASSA wc{};
  wc.lpfnWndProc = WNDPROC(&TWinControl::InitWndProc);
  wc.lpszClassName = "LayerSupportClass";
  RegisterClassA(&wc);
  auto* second = new TProbe(form);
  TWinControl::SetCreationControl(second);
  HWND other =
      CreateWindowExA(0, "LayerSupportClass", "", WS_POPUP, 0, 0, 5, 5, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(FindControl(other), second);
  EXPECT_EQ(TWinControl::CreationControl(), nullptr);
  DestroyWindow(other);

  probe->DestroyHandle();
  EXPECT_TRUE(probe->destroyingHandleAtDestroy);
  EXPECT_FALSE(probe->ControlState & csDestroyingHandle);
}

TEST_F(LayerSupport, AWideCodeInTheHighHalfOfACharacterSurvivesKeyPress) {
  TForm* form = NewForm(0, 0, 200, 100);
  auto* probe = Child<TProbe>(form, "Probe", 0, 0, 20, 20, clRed);
  char replaced = 0;
  probe->OnKeyPress = [&](TObject*, char& key) {
    if (replaced) key = replaced;
  };
  probe->Perform(WM_CHAR, 0x178000FF, 0);
  replaced = 'A';
  probe->Perform(WM_CHAR, 0x178000FF, 0);
  EXPECT_EQ(probe->defaultChars, (std::vector<WPARAM>{0x178000FF, 0x17800041}));
}

TEST_F(LayerSupport, RightToLeftIsNotOfferedAndCanvasesRunLeftToRight) {
  TForm* form = NewForm(0, 0, 200, 100);
  EXPECT_FALSE(form->UseRightToLeftAlignment());
  EXPECT_FALSE(form->UseRightToLeftReading());
  EXPECT_EQ(form->DrawTextBiDiModeFlags(DT_LEFT | DT_WORDBREAK), UINT(DT_LEFT | DT_WORDBREAK));
  EXPECT_EQ(form->DrawTextBiDiModeFlagsReadingOnly(), 0u);
  EXPECT_EQ(form->Canvas()->CanvasOrientation(), coLeftToRight);
}

TEST_F(LayerSupport, TheStoredPasswordCharacterLeavesTheWindowAlone) {
  TForm* form = NewForm(0, 0, 200, 100);
  auto* edit = Child<TEdit>(form, "Edit", 0, 0, 80, 20, clWhite);
  HWND h = edit->Handle();
  edit->StorePasswordChar('*');
  EXPECT_EQ(edit->PasswordChar(), '*');
  EXPECT_EQ(edit->Handle(), h);
  EXPECT_EQ(SendMessageA(h, EM_GETPASSWORDCHAR, 0, 0), 0);
}

class TCountingImage : public TImage {
 public:
  explicit TCountingImage(TComponent* owner) : TImage(owner) {}
  int paints = 0;
  void Replace() { ReplacePicture(std::make_unique<TPicture>()); }

 protected:
  void Paint() override {
    ++paints;
    TImage::Paint();
  }
};

TEST_F(LayerSupport, AnIncrementalImageRepaintsAtEachProgressReport) {
  TForm* form = NewForm(0, 0, 200, 100);
  auto* image = Child<TCountingImage>(form, "Image", 0, 0, 50, 50, clWhite);
  Driver().RunUntilIdle();
  const RECT r{0, 0, 1, 1};
  image->paints = 0;
  image->Picture()->OnProgress(image->Picture(), psRunning, 10, true, r, "");
  EXPECT_EQ(image->paints, 0);
  image->SetIncrementalDisplay(true);
  image->Picture()->OnProgress(image->Picture(), psRunning, 20, true, r, "");
  EXPECT_EQ(image->paints, 1);

  // A replacing picture keeps the image's handlers.
  image->Replace();
  image->Picture()->OnProgress(image->Picture(), psRunning, 30, true, r, "");
  EXPECT_EQ(image->paints, 2);
  TBitmap b;
  b.SetSize(4, 4);
  TPicture source;
  source.SetGraphic(&b);
  image->SetPicture(&source);
  EXPECT_EQ(image->Picture()->Width(), 4);
}

TEST_F(LayerSupport, TheFocusKeptAroundABoxComesBack) {
  TForm* form = NewForm(0, 0, 200, 100);
  auto* a = Child<TEdit>(form, "A", 0, 0, 80, 20, clWhite);
  auto* b = Child<TEdit>(form, "B", 0, 30, 80, 20, clWhite);
  a->SetFocus();
  Application->SaveFocusState();
  ::SetFocus(b->Handle());
  Application->RestoreFocusState();
  EXPECT_EQ(GetFocus(), a->Handle());
  Application->RestoreFocusState();  // nothing saved: nothing happens
  EXPECT_EQ(GetFocus(), a->Handle());
}

TEST(PlatformLayers, LayersStartAfterTheFormLibraryAndEndBeforeItInReverse) {
  std::vector<std::string> log;
  platform::AddLayer(
      "one", [&] { log.push_back(Application ? "start one" : "start one early"); },
      [&] { log.push_back(Application ? "stop one" : "stop one late"); });
  platform::AddLayer(
      "two", [&] { log.push_back("start two"); }, [&] { log.push_back("stop two"); });
  platform::Startup();
  platform::Shutdown();
  // Added again, a layer replaces its steps.
  platform::AddLayer("one", nullptr, nullptr);
  platform::AddLayer("two", nullptr, nullptr);
  EXPECT_EQ(log, (std::vector<std::string>{"start one", "start two", "stop two", "stop one"}));
}

}  // namespace
}  // namespace shelltest
