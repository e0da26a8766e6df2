// Xvfb, pumping and screenshots for the desktop tests.
#include "DesktopSession.h"

#include <gdk-pixbuf/gdk-pixbuf.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "platform/backend/gtk/GtkBackend.h"
#include "platform/rtl/Clock.h"
#include "platform/win/Win.h"
#include "support/RuntimeFolder.h"

extern char** environ;

namespace desktoptest {

namespace {

pid_t server = -1;
std::string runtimeFolder;

void StopServer() {
  if (server > 0) {
    kill(server, SIGTERM);
    waitpid(server, nullptr, 0);
    server = -1;
  }
}

int64_t Now() { return platform::GetClock().NowMs(); }

}  // namespace

bool EnsureDisplay(std::string* error) {
  static bool ready = false;
  static std::string failure;
  if (ready) return true;
  if (!failure.empty()) {
    *error = failure;
    return false;
  }
  int fds[2];
  if (pipe(fds) != 0) {
    *error = failure = "pipe failed";
    return false;
  }
  const pid_t child = fork();
  if (child == 0) {
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // the server never outlives the test program
    close(fds[0]);
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "640x480x24", "-nolisten", "tcp", "-br",
           "-noreset", static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  if (child < 0) {
    close(fds[0]);
    *error = failure = "fork failed";
    return false;
  }
  server = child;
  std::atexit(StopServer);
  // Xvfb writes its display number when it is ready for connections.
  std::string number;
  pollfd p{fds[0], POLLIN, 0};
  const int64_t deadline = Now() + 20000;
  while (Now() < deadline && poll(&p, 1, 200) >= 0) {
    char c;
    if (!(p.revents & (POLLIN | POLLHUP))) continue;
    if (read(fds[0], &c, 1) != 1 || c == '\n') break;
    number.push_back(c);
  }
  close(fds[0]);
  if (number.empty()) {
    *error = failure = "Xvfb did not start (is it installed? tools/setup installs xvfb)";
    return false;
  }
  setenv("DISPLAY", (":" + number).c_str(), 1);
  // No session bus here: settings stay in memory, and no accessibility bus is looked for.
  setenv("GSETTINGS_BACKEND", "memory", 1);
  setenv("NO_AT_BRIDGE", "1", 1);
  std::string why;
  if (!platform::desktop::OpenDesktop(&why)) {
    *error = failure = why;
    return false;
  }
  ready = true;
  return true;
}

void StartDesktop() {
  char folder[] = "/tmp/mmsdesktop-test-XXXXXX";
  if (mkdtemp(folder)) {
    runtimeFolder = folder;
    setenv("PLATFORM_RUNTIME_DIR", folder, 1);
  }
  platform::SetClock(nullptr);
  platform::win::Startup(platform::desktop::MakeGtkBackend());
}

void StopDesktop() {
  platform::win::Shutdown();
  if (!runtimeFolder.empty()) {
    // The session's locks and endpoint socket go with it.
    std::error_code ignored;
    std::filesystem::remove_all(runtimeFolder, ignored);
    testsupport::RestoreRuntimeFolder();
    runtimeFolder.clear();
  }
}

void Pump(int ms) {
  PumpUntil([] { return false; }, ms);
}

bool PumpUntil(const std::function<bool()>& done, int ms) {
  const int64_t deadline = Now() + ms;
  for (;;) {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&m);
      DispatchMessageW(&m);
    }
    if (done()) return true;
    if (Now() >= deadline) return done();
    platform::win::CurrentBackend()->Wait(std::min(deadline, Now() + 10));
  }
}

int Spawn(const std::vector<std::string>& argv) {
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t child = -1;
  if (posix_spawnp(&child, args[0], nullptr, nullptr, args.data(), environ) != 0) return -1;
  return child;
}

int Run(const std::vector<std::string>& argv, int ms) { return Reap(Spawn(argv), ms); }

int Reap(int pid, int ms) {
  if (pid <= 0) return -1;
  const pid_t child = pid;
  int status = 0;
  const bool ended = PumpUntil([&] { return waitpid(child, &status, WNOHANG) == child; }, ms);
  if (!ended) {
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string FirstLine(const std::string& command) {
  std::string out;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    if (fgets(buffer, sizeof buffer, pipe)) out = buffer;
    pclose(pipe);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == '\r')) out.pop_back();
  return out;
}

std::string FindWindow(const std::string& title, int pid, int ms) {
  // The pattern comes last: xdotool takes it after the options.
  const std::string search = "timeout 10 xdotool search --all" +
                             (pid > 0 ? " --pid " + std::to_string(pid) : std::string()) + " --name '^" +
                             title + "$'";
  std::string window;
  PumpUntil([&] { return !(window = FirstLine(search + " 2>/dev/null")).empty(); }, ms);
  return window;
}

bool WindowPosition(const std::string& window, int* x, int* y, std::string* said) {
  const std::string geometry =
      FirstLine("timeout 10 xdotool getwindowgeometry --shell " + window + " | tr '\\n' ' '");
  if (said) *said = geometry;
  return std::sscanf(geometry.c_str(), "WINDOW=%*s X=%d Y=%d", x, y) == 2;
}

bool Capture(Screenshot& out, std::string* error) {
  platform::desktop::SyncDesktop();
  Pump(50);
  char file[] = "/tmp/mmsdesktop-shot-XXXXXX";
  const int fd = mkstemp(file);
  if (fd < 0) {
    *error = "no temporary file";
    return false;
  }
  close(fd);
  const std::string path = file;
  const int status = Run({"import", "-window", "root", "png:" + path});
  GdkPixbuf* shot = status == 0 ? gdk_pixbuf_new_from_file(path.c_str(), nullptr) : nullptr;
  unlink(path.c_str());
  if (!shot) {
    *error = "import failed (status " + std::to_string(status) + ")";
    return false;
  }
  out.width = gdk_pixbuf_get_width(shot);
  out.height = gdk_pixbuf_get_height(shot);
  const int channels = gdk_pixbuf_get_n_channels(shot), stride = gdk_pixbuf_get_rowstride(shot);
  const guchar* rows = gdk_pixbuf_read_pixels(shot);
  out.pixels.resize(size_t(out.width) * size_t(out.height));
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      const guchar* s = rows + size_t(y) * size_t(stride) + size_t(x) * size_t(channels);
      out.pixels[size_t(y) * size_t(out.width) + size_t(x)] =
          uint32_t(s[0]) << 16 | uint32_t(s[1]) << 8 | s[2];
    }
  g_object_unref(shot);
  return true;
}

}  // namespace desktoptest
