// A second program for the editor's tests: finds the editor's main window by its title "Mivora"
// in the runtime folder named by PLATFORM_RUNTIME_DIR and posts it a message: WM_CLOSE, or the
// number given as the first argument (decimal or 0x hexadecimal). Exit code 0 when it found the
// window and the post went through, 1 when not within five seconds.
#include <chrono>
#include <cstdlib>
#include <thread>

#include "platform/backend/HeadlessDriver.h"

int main(int argc, char** argv) {
  const UINT message = argc > 1 ? static_cast<UINT>(std::strtoul(argv[1], nullptr, 0)) : WM_CLOSE;
  platform::headless::Install();
  bool posted = false;
  for (int i = 0; i < 200 && !posted; ++i) {
    HWND editor = FindWindowA(nullptr, "Mivora");
    if (editor) {
      posted = PostMessageA(editor, message, 0, 0);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
  }
  platform::headless::Uninstall();
  return posted ? 0 : 1;
}
