// The forms demo program: shows the demo form on the desktop (or, with PLATFORM_BACKEND=headless,
// draws it in memory and can save it as a PNG). Escape closes it.
//
//   formsdemo [--quit-after MS] [--screenshot FILE.png]
#include "DemoMain.h"
#include "TFormsDemo.h"
#include "platform/forms/TApplication.h"

int main(int argc, char** argv) {
  DemoProgram program;
  program.name = "formsdemo";
  program.title = "Forms demo";
  program.registerClasses = [] { RegisterFormsDemo(); };
  program.createForm = []() -> TForm* {
    TFormsDemo* form = nullptr;
    Application->CreateForm(form);
    return form;
  };
  return RunDemoProgram(argc, argv, program);
}
