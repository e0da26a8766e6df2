// A private X display for the desktop tests: one Xvfb server per test program, started on a
// free display number and stopped at exit, and helpers that run xdotool or import while the
// interface thread keeps serving the display.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace desktoptest {

struct Screenshot {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;  // 0x00RRGGBB, top-down
  uint32_t At(int x, int y) const { return pixels[size_t(y) * size_t(width) + size_t(x)]; }
};

// Starts Xvfb (640 x 480, 24-bit, black root) once and opens it through the desktop backend.
bool EnsureDisplay(std::string* error);

// Starts the window system over the desktop backend (a runtime folder of its own), and stops it.
void StartDesktop();
void StopDesktop();

// Retrieves and dispatches messages and serves the display for about `ms` of real time.
void Pump(int ms);
// Pumps until `done` holds or `ms` have passed; returns `done()`.
bool PumpUntil(const std::function<bool()>& done, int ms);
// Runs a program to its end while pumping; its exit status (-1 when it could not start or took
// longer than `ms`, in which case it is stopped).
int Run(const std::vector<std::string>& argv, int ms = 20000);
// Starts a program without waiting (-1 when it could not start), and waits for it while pumping
// (its exit status; -1 when it took longer than `ms`, in which case it is stopped).
int Spawn(const std::vector<std::string>& argv);
int Reap(int pid, int ms);
// The first line a shell command prints, without its line end ("" when it printed none).
std::string FirstLine(const std::string& command);
// The first window titled exactly `title` (of the program `pid` when it is above 0), searched
// while the display is served until one is found or `ms` have passed; "" when none was. A search
// that fails (xdotool gives up when a window vanishes as it walks the tree) is tried again.
std::string FindWindow(const std::string& title, int pid = 0, int ms = 20000);
// Where the window's top-left corner is on the screen; false when xdotool did not say (then
// `said` holds what it printed).
bool WindowPosition(const std::string& window, int* x, int* y, std::string* said = nullptr);
// The whole X screen as the X server holds it (through ImageMagick's import).
bool Capture(Screenshot& out, std::string* error);

}  // namespace desktoptest
