// The compression dialogs driven alone: a host whose answers the test sets, a working folder
// with a Sizetemp folder, pictures from the shared test data copied into it, a window that
// records what is sent to it, and ImageMagick's identify as the independent reader of results.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "editor/TPicResize.h"
#include "editor/TResizeHost.h"
#include "platform/forms/TForm.h"
#include "support/TempDir.h"
#include "tests/editor/EditorFixture.h"

class TSkTrackBar;

namespace editortest {

// What identify says of a picture file; format "" when it could not read it.
struct Picture {
  std::string format;
  int width = 0, height = 0;
  int quality = 0;  // the JPEG quality estimate
};
Picture Identify(const std::string& file);
std::string ReadFile(const std::string& path);

class TestResizeHost : public TResizeHost {
 public:
  AnsiString PicturePath() const override { return picture.c_str(); }
  AnsiString SizeTempPath() const override { return folder.c_str(); }
  int NextPicNumber() override { return ++counter; }
  HWND InsertTarget() const override { return target; }
  TResizeSettings Settings() const override { return settings; }
  void StoreSettings(const TResizeSettings& s) override {
    settings = s;
    ++stores;
  }

  std::string picture, folder;
  int counter = 0;
  HWND target = nullptr;
  TResizeSettings settings;
  int stores = 0;
};

// A window that records the WM_INSERTPICTURE it is sent, reading the path during the call.
class Receiver : public TForm {
 public:
  Receiver() : TForm(nullptr, 0) {}
  std::vector<std::string> paths;
  std::vector<WPARAM> wParams;

 protected:
  void WndProc(TMessage& message) override;
};

// Drags the bar's thumb with the mouse until the bar shows `position`.
void DragTo(TSkTrackBar* bar, int position);
// The screen point in the middle of a control.
POINT CentreOf(TWinControl* control);

class PicResizeTest : public EditorTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  // A new dialog (the previous one freed) on a copy of the shared picture, shown and painted;
  // with nullptr the host's picture stays as it is.
  void Open(const char* shared);

  testsupport::TempDir work;
  TestResizeHost host;
  std::unique_ptr<TPicResize> dialog;
};

}  // namespace editortest
