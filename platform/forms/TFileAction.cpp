#include "platform/forms/TFileAction.h"

#include "platform/forms/TApplication.h"
#include "platform/forms/TForm.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Process.h"
#include "platform/rtl/ShowCommands.h"

void TFileOpenWith::ExecuteTarget(TObject* target) {
  if (fileName_.IsEmpty()) {
    TFileOpen::ExecuteTarget(target);
    if (!ExecuteResult()) return;
    fileName_ = Dialog()->FileName();
  }
  const auto result = reinterpret_cast<std::intptr_t>(
      ShellExecuteA(nullptr, "open", fileName_.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
  if (result <= 32) throw EInvalidOperation("Cannot open %s", {TVarRec(fileName_)});
  if (AfterOpen) AfterOpen(this);
}

void TFileExit::ExecuteTarget(TObject* /*target*/) {
  if (!Application) return;
  if (Application->MainForm)
    Application->MainForm->Close();
  else
    Application->Terminate();
}
