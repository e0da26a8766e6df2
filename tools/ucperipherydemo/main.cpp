// The Unicode controls demo program: shows the demo form of the layer's controls on the desktop
// (or, with PLATFORM_BACKEND=headless, draws it in memory and can save it as a PNG).
//
//   ucperipherydemo [--quit-after MS] [--screenshot FILE.png]
#include "DemoMain.h"
#include "TUcPeripheryDemo.h"
#include "platform/forms/TApplication.h"
#include "unicode/UcLayer.h"

int main(int argc, char** argv) {
  DemoProgram program;
  program.name = "ucperipherydemo";
  program.title = "Unicode controls demo";
  program.beforeStartup = [] { unicode::RegisterLayer(); };
  program.registerClasses = [] { RegisterUcPeripheryDemo(); };
  program.createForm = []() -> TForm* {
    TUcPeripheryDemo* form = nullptr;
    Application->CreateForm(form);
    return form;
  };
  return RunDemoProgram(argc, argv, program);
}
