// The start of the demo programs: reads the command line, starts the desktop backend (or the
// headless one), makes the demo's form and either shows it until closed or, headless, saves its
// pixels as a PNG.
//
//   <name> [--quit-after MS] [--screenshot FILE.png]
//
// --quit-after ends the program after that many milliseconds (for scripted runs);
// --screenshot, on the headless backend, saves the form's pixels and exits.
#pragma once

#include <functional>

class TForm;

struct DemoProgram {
  const char* name;                       // the program's name, used in its messages
  const char* title;                      // the application title
  std::function<void()> beforeStartup;    // layers to register before the platform starts (may be empty)
  std::function<void()> registerClasses;  // the demo form's classes, once the platform runs
  std::function<TForm*()> createForm;     // makes the form through Application->CreateForm
};

// Runs the demo; the result is the program's exit status.
int RunDemoProgram(int argc, char** argv, const DemoProgram& program);
