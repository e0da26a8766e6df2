// The skin demo program: shows the skinned controls' demo form on the desktop (or, with
// PLATFORM_BACKEND=headless, draws it in memory and can save it as a PNG).
//
//   skindemo [--quit-after MS] [--screenshot FILE.png]
#include "DemoMain.h"
#include "TSkinDemo.h"
#include "platform/forms/TApplication.h"

int main(int argc, char** argv) {
  DemoProgram program;
  program.name = "skindemo";
  program.title = "Skin demo";
  program.registerClasses = [] { RegisterSkinDemo(); };
  program.createForm = []() -> TForm* {
    TSkinDemo* form = nullptr;
    Application->CreateForm(form);
    return form;
  };
  return RunDemoProgram(argc, argv, program);
}
