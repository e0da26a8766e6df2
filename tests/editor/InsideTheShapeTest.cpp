// Every window of the editor in the three languages, as laid out for the user: each visible
// control lies inside its window's shaped region with room to the skin's edge (the title band's
// close buttons just inside its rounded corners), and a skinned button's face is only ever
// widened, never narrowed (which would drop its last column, the face's right edge).
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/TImButton.h"
#include "editor/TDelMessageBox.h"
#include "editor/TFrameBox.h"
#include "editor/TMessageBoxForm.h"
#include "editor/TMsgBox.h"
#include "editor/TPicResize.h"
#include "editor/TResStringManager.h"
#include "editor/TResizeForm.h"
#include "editor/TfrmMain.h"
#include "editor/TfrmTextEditor.h"
#include "platform/backend/HeadlessDriver.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/SysUtils.h"
#include "support/SharedData.h"
#include "tests/editor/EditorFixture.h"
#include "tests/editor/PicResizeFixture.h"

namespace {

using editortest::EditorTest;
using platform::headless::Driver;

// The least room between a control and the outside of its window's shape; in the title band
// the close buttons sit in the rounded corners.
constexpr int kRoom = 5, kTitleRoom = 0, kTitleBand = 30;

class InsideTheShape : public EditorTest {
 protected:
  void SetUp() override {
    EditorTest::SetUp();
    editortest::CopyProductLanguageFiles(app);
    ASSERT_TRUE(Start());
    host.folder = work.path() + "/Sizetemp";
    host.picture = work.path() + "/flower.jpg";
    std::filesystem::copy_file(testsupport::SharedPath("testdata/pillow/jpeg/flower.jpg"), host.picture);
  }

  // The window's shape as a grid of its pixels.
  struct Mask {
    int width = 0, height = 0;
    std::vector<char> in;
    bool At(int x, int y) const {
      return x >= 0 && y >= 0 && x < width && y < height && in[size_t(y) * size_t(width) + size_t(x)];
    }
  };
  static Mask MaskOf(TWinControl* window) {
    Mask m;
    m.width = window->Width();
    m.height = window->Height();
    m.in.assign(size_t(m.width) * size_t(m.height), 0);
    std::vector<RECT> shape = Driver().Shape(window->Handle());
    if (shape.empty()) shape.push_back(RECT{0, 0, m.width, m.height});
    for (const RECT& r : shape)
      for (int y = std::max<int>(0, r.top); y < std::min<int>(m.height, r.bottom); ++y)
        for (int x = std::max<int>(0, r.left); x < std::min<int>(m.width, r.right); ++x)
          m.in[size_t(y) * size_t(m.width) + size_t(x)] = 1;
    return m;
  }

  // Walks every visible control of `window` (inside panels and docked forms too).
  void Check(const std::string& what, TWinControl* window) {
    SCOPED_TRACE(what);
    ASSERT_TRUE(window->HandleAllocated());
    const Mask mask = MaskOf(window);
    const POINT origin = window->ClientToScreen(POINT{0, 0});
    int checked = 0;
    std::function<void(TWinControl*)> walk = [&](TWinControl* parent) {
      for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (!c->Visible()) continue;
        const POINT at = parent->ClientToScreen(POINT{c->Left(), c->Top()});
        const RECT r{at.x - origin.x, at.y - origin.y, at.x - origin.x + c->Width(),
                     at.y - origin.y + c->Height()};
        // The skin itself (a picture across the whole window, or its title band) is the shape.
        const bool skin = (r.left <= 0 && r.right >= mask.width) || c->Width() <= 0 || c->Height() <= 0;
        if (!skin) {
          SCOPED_TRACE(c->Name().ToStd());
          ++checked;
          const int room = r.top < kTitleBand ? kTitleRoom : kRoom;
          bool inside = true;
          for (int y = r.top - room; y < r.bottom + room && inside; ++y)
            for (int x = r.left - room; x < r.right + room && inside; ++x) inside = mask.At(x, y);
          EXPECT_TRUE(inside) << "(" << r.left << ", " << r.top << ") - (" << r.right << ", " << r.bottom
                              << ") with " << room << " pixels around it in a " << mask.width << " x "
                              << mask.height << " window";
          if (auto* button = dynamic_cast<TImButton*>(c);
              button && button->Picture()->Graphic() && !button->Picture()->Graphic()->Empty()) {
            EXPECT_LE(button->Picture()->Width(), button->Width()) << "the face is narrowed";
            EXPECT_EQ(button->Picture()->Height(), button->PictureCount() * button->Height());
          }
        }
        if (auto* inner = dynamic_cast<TWinControl*>(c)) walk(inner);
      }
    };
    walk(window);
    EXPECT_GT(checked, 0);
  }

  testsupport::TempDir work;
  editortest::TestResizeHost host;
};

TEST_F(InsideTheShape, EveryWindowInEveryLanguage) {
  const struct {
    int index;
    const char* code;
    const char16_t* setting;
  } languages[] = {{1, "en", u"\\Language\\lan_ENG.ini"},
                   {0, "vi", u"\\Language\\lan_VIE.ini"},
                   {2, "km", u"\\Language\\lan_Khmer.ini"}};
  for (const auto& language : languages) {
    SCOPED_TRACE(language.code);
    AppFile("App.Config.ini", editortest::SettingsFor(language.setting));
    PostMessageA(frmMain->Handle(), WM_CHANGELANGUAGE, 0, 0);
    Driver().RunUntilIdle();
    Check("main window", frmMain);

    // The dialogs as their commands make them, shown without waiting for an answer.
    const std::vector<std::pair<const char*, std::function<TForm*()>>> dialogs = {
        {"close question", [] { return NewBox<TMessageBoxForm>(frmMain); }},
        {"delete question", [] { return NewBox<TDelMessageBox>(frmMain); }},
        {"warning", [] { return NewBox<TMsgBox>(frmMain); }},
        {"page limit", [] { return NewBox<TFrameBox>(frmMain); }},
        {"text editor", [] { return TfrmTextEditor::New(frmMain); }},
        {"picture size", [this] { return TResizeForm::New(nullptr, &host); }},
        {"compression", [this] { return TPicResize::New(nullptr, &host); }},
    };
    for (const auto& [name, make] : dialogs) {
      std::unique_ptr<TForm> dialog(make());
      dialog->Show();
      Driver().RunUntilIdle();
      Check(name, dialog.get());
      dialog->Hide();
      Driver().RunUntilIdle();
    }
  }
}

}  // namespace
