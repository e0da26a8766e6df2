// A second program for the editor's tests: finds the editor's main window by its title "Mivora"
// in the runtime folder named by PLATFORM_RUNTIME_DIR and posts it WM_CLOSE. Exit code 0 when it
// found the window and the post went through, 1 when not within five seconds.
#include <chrono>
#include <thread>

#include "platform/backend/HeadlessDriver.h"

int main() {
  platform::headless::Install();
  bool posted = false;
  for (int i = 0; i < 200 && !posted; ++i) {
    HWND editor = FindWindowA(nullptr, "Mivora");
    if (editor) {
      posted = PostMessageA(editor, WM_CLOSE, 0, 0);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
  }
  platform::headless::Uninstall();
  return posted ? 0 : 1;
}
