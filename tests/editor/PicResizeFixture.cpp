#include "tests/editor/PicResizeFixture.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "controls/TSkTrackBar.h"
#include "editor/TResStringManager.h"
#include "platform/backend/HeadlessDriver.h"
#include "support/SharedData.h"

namespace editortest {

using platform::headless::Driver;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

Picture Identify(const std::string& file) {
  Picture p;
  const std::string command = "identify -format '%m %w %h %Q\\n' '" + file + "' 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return p;
  char line[256] = {};
  if (fgets(line, sizeof line, pipe)) {
    std::istringstream in(line);
    in >> p.format >> p.width >> p.height >> p.quality;
  }
  pclose(pipe);
  return p;
}

void Receiver::WndProc(TMessage& message) {
  if (message.Msg == WM_INSERTPICTURE) {
    paths.emplace_back(reinterpret_cast<const char*>(message.LParam));
    wParams.push_back(message.WParam);
    message.Result = 0;
    return;
  }
  TForm::WndProc(message);
}

void PicResizeTest::SetUp() {
  EditorTest::SetUp();
  ResStringManager.SelectLanguageFile(1);
  host.folder = work.path() + "/Sizetemp";
  std::filesystem::create_directories(host.folder);
}

void PicResizeTest::TearDown() {
  dialog.reset();
  EditorTest::TearDown();
}

void PicResizeTest::Open(const char* shared) {
  dialog.reset();
  host.folder = work.path() + "/Sizetemp";
  if (shared) {
    const std::string name = std::filesystem::path(shared).filename().string();
    host.picture = work.path() + "/" + name;
    std::filesystem::copy_file(testsupport::SharedPath(std::string("testdata/") + shared), host.picture,
                               std::filesystem::copy_options::overwrite_existing);
  }
  dialog.reset(TPicResize::New(nullptr, &host));
  dialog->Show();
  Driver().RunUntilIdle();
}

void DragTo(TSkTrackBar* bar, int position) {
  const RECT t = bar->ThumbRect();
  const POINT start = Driver().ClientPoint(bar->Handle(), (t.left + t.right) / 2, (t.top + t.bottom) / 2);
  Driver().Press(0, start);
  Driver().RunUntilIdle();
  POINT at = start;
  for (int i = 0; i < 400 && bar->Position() != position; ++i) {
    at.x += bar->Position() > position ? -1 : 1;
    Driver().MoveMouse(at);
    Driver().RunUntilIdle();
  }
  Driver().Release(0, at);
  Driver().RunUntilIdle();
}

POINT CentreOf(TWinControl* control) {
  RECT r;
  GetWindowRect(control->Handle(), &r);
  return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

}  // namespace editortest
