// A second program for the editor's tests: finds the editor's main window by its title "Mivora"
// in the runtime folder named by PLATFORM_RUNTIME_DIR and posts it a message: WM_CLOSE, or the
// number given as the first argument (decimal or 0x hexadecimal). With a title and a file as
// second and third arguments it first opens a window of its own with that title, and after the
// post serves it for a second, writing the number of every message of the user range that
// reached it (one a line) to the file. Exit code 0 when it found the window and the post went
// through, 1 when not within five seconds.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "platform/backend/HeadlessDriver.h"
#include "platform/win/Backend.h"

namespace {

FILE* received = nullptr;

LRESULT RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (received && msg >= WM_USER) std::fprintf(received, "0x%X\n", msg);
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

}  // namespace

HWND FindEditor() {
  for (int i = 0; i < 200; ++i) {
    if (HWND editor = FindWindowA(nullptr, "Mivora")) return editor;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return nullptr;
}

int Refuse(int argc, char** argv) {
  const HWND editor = FindEditor();
  if (!editor) return 1;
  int taken = 0;
  for (int i = 2; i < argc; ++i) {
    const UINT msg = static_cast<UINT>(std::strtoul(argv[i], nullptr, 0));
    SetLastError(0);
    const LRESULT result = SendMessageA(editor, msg, WPARAM(0x4141414140ull), LPARAM(0x4141414140ll));
    if (result != 0 || GetLastError() != ERROR_ACCESS_DENIED) {
      std::fprintf(stderr, "message 0x%X was taken (%ld, error %u)\n", msg, long(result), GetLastError());
      ++taken;
    }
  }
  return taken ? 2 : 0;
}

int main(int argc, char** argv) {
  if (argc > 1 && std::string(argv[1]) == "--refuse") {
    platform::headless::Install();
    const int result = Refuse(argc, argv);
    platform::headless::Uninstall();
    return result;
  }
  const UINT message = argc > 1 ? static_cast<UINT>(std::strtoul(argv[1], nullptr, 0)) : WM_CLOSE;
  platform::headless::Install();
  HWND own = nullptr;
  if (argc > 3) {
    received = std::fopen(argv[3], "w");
    WNDCLASSA wc{};
    wc.lpfnWndProc = &RecordingProc;
    wc.lpszClassName = "EditorPeerWindow";
    RegisterClassA(&wc);
    own = CreateWindowExA(0, "EditorPeerWindow", argv[2], WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                          nullptr);
  }
  bool posted = false;
  for (int i = 0; i < 200 && !posted; ++i) {
    HWND editor = FindWindowA(nullptr, "Mivora");
    if (editor) {
      posted = PostMessageA(editor, message, 0, 0);
    } else {
      std::this_thread::sleep_for(std::chrono::milliseconds(25));
    }
  }
  if (own) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(1);
    while (std::chrono::steady_clock::now() < end) {
      platform::win::ServeEndpoint(10);
      MSG msg;
      while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    }
    DestroyWindow(own);
    std::fclose(received);
  }
  platform::headless::Uninstall();
  return posted ? 0 : 1;
}
