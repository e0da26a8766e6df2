#include "editor/TMsgBox.h"

#include <memory>

#include "platform/forms/TApplication.h"

TMsgBox* MsgBox = nullptr;

void TMsgBox::Loaded() { Boxlab = LoadedWithLabel("Boxlab", "STR_Main_Error_OnePage"); }

void ShowMsgBox(const AnsiString& key, const WideString& argument) {
  std::unique_ptr<TMsgBox> box(NewBox<TMsgBox>(Application ? Application->MainForm : nullptr));
  box->SetMessageKey(key);
  if (!argument.IsEmpty()) box->SetMessageArgument(argument);
  box->ShowModal();
}
