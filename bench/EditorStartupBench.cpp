// Start-up of the editor program to its first window on the X screen, against the smallest
// GTK 3 program with one label started on the same display in the same run: the time from the
// launch until the X server maps the program's first window, and the program's resident size at
// that moment and once it has settled (half a second later, when the desktop libraries have
// finished what they do after the first map). Each round starts both (in turns which goes first)
// on a private Xvfb and reports the ratios, so a start-up that grows heavier shows.
#include <X11/Xlib.h>
#include <benchmark/benchmark.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Launch {
  double ms = 0;
  double rssMb = 0;         // at the first map
  double settledRssMb = 0;  // half a second later
  bool mapped = false;
};

// A private X server for the whole run, with a display connection watching its top-level
// windows appear.
class Server {
 public:
  Server() {
    int fds[2];
    if (pipe(fds) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
      prctl(PR_SET_PDEATHSIG, SIGTERM);
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten", "tcp",
             "-noreset", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    pollfd p{fds[0], POLLIN, 0};
    while (poll(&p, 1, 10000) > 0 && read(fds[0], &c, 1) == 1 && c != '\n') number += c;
    close(fds[0]);
    if (number.empty()) return;
    name_ = ":" + number;
    display_ = XOpenDisplay(name_.c_str());
    if (display_) XSelectInput(display_, DefaultRootWindow(display_), SubstructureNotifyMask);
  }
  ~Server() {
    if (display_) XCloseDisplay(display_);
    if (pid_ > 0) {
      kill(pid_, SIGTERM);
      waitpid(pid_, nullptr, 0);
    }
  }
  bool ready() const { return display_ != nullptr; }
  const std::string& name() const { return name_; }

  // Starts `argv` with `env` added, waits for its first top-level window to be mapped, reads its
  // resident size then, and ends it.
  Launch Run(const std::vector<std::string>& argv, const std::vector<std::string>& env) {
    Launch out;
    XSync(display_, True);  // forget what earlier programs left in the queue
    const auto start = Clock::now();
    const pid_t child = fork();
    if (child == 0) {
      prctl(PR_SET_PDEATHSIG, SIGKILL);
      setenv("DISPLAY", name_.c_str(), 1);
      for (const std::string& e : env) putenv(const_cast<char*>(e.c_str()));
      std::vector<char*> args;
      for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
      args.push_back(nullptr);
      execv(args[0], args.data());
      _exit(127);
    }
    const int fd = ConnectionNumber(display_);
    while (!out.mapped) {
      while (!out.mapped && XPending(display_)) {
        XEvent e;
        XNextEvent(display_, &e);
        if (e.type == MapNotify && !e.xmap.override_redirect) out.mapped = true;
      }
      if (out.mapped) break;
      if (std::chrono::duration<double>(Clock::now() - start).count() > 30) break;
      pollfd p{fd, POLLIN, 0};
      poll(&p, 1, 100);
    }
    out.ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    out.rssMb = ResidentMb(child);
    if (out.mapped) {
      std::this_thread::sleep_for(std::chrono::milliseconds(500));
      out.settledRssMb = ResidentMb(child);
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    return out;
  }

 private:
  static double ResidentMb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line))
      if (line.rfind("VmRSS:", 0) == 0) return std::atof(line.c_str() + 6) / 1024.0;
    return 0;
  }

  pid_t pid_ = -1;
  std::string name_;
  Display* display_ = nullptr;
};

void BM_StartupToFirstWindow(benchmark::State& state) {
  Server server;
  if (!server.ready()) {
    state.SkipWithError("Xvfb could not be started");
    return;
  }
  // The editor with the files it keeps beside itself, its lock and runtime folder its own.
  const std::string runtime =
      std::filesystem::temp_directory_path() / ("mms-startup-" + std::to_string(getpid()));
  std::filesystem::create_directories(runtime);
  std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
  const std::vector<std::string> editorEnv = {"PLATFORM_BACKEND=gtk", "PLATFORM_RUNTIME_DIR=" + runtime,
                                              "SDL_AUDIODRIVER=dummy"};
  double editorMs = 0, minimalMs = 0, editorMb = 0, minimalMb = 0, editorSettled = 0, minimalSettled = 0;
  int rounds = 0;
  for (auto _ : state) {
    Launch editor, minimal;
    // In turns which goes first, so neither always meets a warmer cache.
    if (rounds % 2 == 0) {
      editor = server.Run({MMSEDITOR_PATH}, editorEnv);
      minimal = server.Run({MINIMAL_WINDOW_PATH}, {});
    } else {
      minimal = server.Run({MINIMAL_WINDOW_PATH}, {});
      editor = server.Run({MMSEDITOR_PATH}, editorEnv);
    }
    if (!editor.mapped || !minimal.mapped) {
      state.SkipWithError(editor.mapped ? "the minimal window never showed" : "the editor never showed");
      break;
    }
    state.SetIterationTime(editor.ms / 1000.0);
    editorMs += editor.ms, minimalMs += minimal.ms, editorMb += editor.rssMb, minimalMb += minimal.rssMb;
    editorSettled += editor.settledRssMb, minimalSettled += minimal.settledRssMb;
    ++rounds;
  }
  std::filesystem::remove_all(runtime);
  if (!rounds) return;
  state.counters["editor_ms"] = editorMs / rounds;
  state.counters["minimal_ms"] = minimalMs / rounds;
  state.counters["time_ratio"] = editorMs / minimalMs;
  state.counters["editor_rss_MB"] = editorMb / rounds;
  state.counters["minimal_rss_MB"] = minimalMb / rounds;
  state.counters["rss_ratio"] = editorMb / minimalMb;
  state.counters["editor_settled_MB"] = editorSettled / rounds;
  state.counters["minimal_settled_MB"] = minimalSettled / rounds;
  state.counters["settled_rss_ratio"] = editorSettled / minimalSettled;
}
BENCHMARK(BM_StartupToFirstWindow)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace
