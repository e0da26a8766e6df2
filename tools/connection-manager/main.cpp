// The stand-in connection manager: a test and demo program, not part of the product. It shows a
// window titled "MMS_manageRas", takes the editor's hand-over (WM_COPYDATA with the 528-byte
// record) and keeps what arrived in a store folder (see HandOverStore.h), answering 1 when the
// record and its message were sound, else 0.
//
//   connection-manager --store DIR [--announce] [--title T] [--exit-after N] [--fail hang|exit]
//
// --announce finds the editor's window "Mivora" at start and sends it the registered message
// "MsgNetAppHandle" with this window in wParam and lParam, so the editor hands over here;
// --title gives the window another title; --exit-after ends the program after N hand-overs;
// --fail hang answers nothing for 10 s, --fail exit ends the process inside the handler without
// answering (peers that fail, for the tests). On the desktop the window lists what arrived.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "HandOverStore.h"
#include "platform/backend/HeadlessDriver.h"
#ifdef HAVE_DESKTOP_BACKEND
#include "platform/backend/gtk/BackendChoice.h"
#endif
#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TApplication.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Endpoint.h"
#include "platform/win/Win.h"

namespace {

struct Options {
  std::string store;
  std::string title = "MMS_manageRas";
  bool announce = false;
  int exitAfter = 0;
  std::string fail;
};

Options options;
std::unique_ptr<HandOverStore> store;
bool done = false;
bool headless = true;

void Finish() {
  done = true;
  if (!headless) Application->Terminate();
}

void Paint(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, HBRUSH(GetStockObject(WHITE_BRUSH)));
  SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
  SetBkMode(dc, TRANSPARENT);
  const std::string head =
      "Hand-overs received: " + std::to_string(store->Count()) + "  (" + options.store + ")";
  TextOutA(dc, 8, 6, head.c_str(), int(head.size()));
  int y = 28;
  for (const std::string& line : store->Lines()) {
    TextOutA(dc, 8, y, line.c_str(), int(line.size()));
    y += 18;
  }
  EndPaint(hwnd, &ps);
}

LRESULT Receiver(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_COPYDATA: {
      if (options.fail == "exit") std::_Exit(3);
      if (options.fail == "hang") std::this_thread::sleep_for(std::chrono::seconds(10));
      const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
      const bool stored =
          cds && store->Receive(uint32_t(cds->dwData), static_cast<const uint8_t*>(cds->lpData), cds->cbData);
      InvalidateRect(hwnd, nullptr, TRUE);
      if (options.exitAfter > 0 && store->Count() >= options.exitAfter) Finish();
      return stored ? 1 : 0;
    }
    case WM_PAINT:
      Paint(hwnd);
      return 0;
    case WM_CLOSE:
      Finish();
      return 0;
    default:
      return DefWindowProcW(hwnd, msg, w, l);
  }
}

bool ParseArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    if (arg == "--store" && hasValue) {
      options.store = argv[++i];
    } else if (arg == "--title" && hasValue) {
      options.title = argv[++i];
    } else if (arg == "--exit-after" && hasValue) {
      options.exitAfter = std::atoi(argv[++i]);
    } else if (arg == "--fail" && hasValue) {
      options.fail = argv[++i];
      if (options.fail != "hang" && options.fail != "exit") return false;
    } else if (arg == "--announce") {
      options.announce = true;
    } else {
      return false;
    }
  }
  return !options.store.empty();
}

HWND CreateReceiver() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Receiver;
  wc.lpszClassName = u"ConnectionManagerStandIn";
  RegisterClassW(&wc);
  const std::u16string title(options.title.begin(), options.title.end());
  const DWORD style = headless ? 0 : WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
  return CreateWindowExW(0, u"ConnectionManagerStandIn", title.c_str(), style, 40, 40, 460, 260, nullptr,
                         nullptr, nullptr, nullptr);
}

void Announce(HWND self) {
  HWND editor = FindWindowA(nullptr, "Mivora");
  if (!editor) {
    std::fprintf(stderr, "connection-manager: no editor window \"Mivora\" to announce to\n");
    return;
  }
  SendMessageA(editor, RegisterWindowMessageA("MsgNetAppHandle"), WPARAM(self), LPARAM(self));
}

}  // namespace

int main(int argc, char** argv) {
  if (!ParseArguments(argc, argv)) {
    std::fprintf(stderr,
                 "usage: connection-manager --store DIR [--announce] [--title T] [--exit-after N] "
                 "[--fail hang|exit]\n");
    return 2;
  }
  if (!ForceDirectories(options.store.c_str())) {
    std::fprintf(stderr, "connection-manager: cannot create the store folder %s\n", options.store.c_str());
    return 1;
  }
  store = std::make_unique<HandOverStore>(options.store);

  platform::StartupOptions startup;
  startup.systemSound = false;
#ifdef HAVE_DESKTOP_BACKEND
  platform::desktop::BackendKind kind;
  std::string error;
  if (!platform::desktop::StartBackend(&startup.backend, &kind, &error)) {
    std::fprintf(stderr, "connection-manager: %s\n", error.c_str());
    return 1;
  }
  headless = kind == platform::desktop::BackendKind::Headless;
#endif
  platform::Startup(std::move(startup));
  HWND self = CreateReceiver();
  if (options.announce) Announce(self);

  if (headless) {
    // Nothing drives a headless loop, so serve the endpoint by hand until told to end.
    while (!done) {
      platform::win::ServeEndpoint(50);
      platform::headless::Driver().RunUntilIdle();
    }
  } else {
    Application->Run();
  }
  platform::Shutdown();
  return 0;
}
