#include "unicode/WidePromptForFileName.h"

#include <memory>

#include "unicode/TUcSaveDialog.h"

bool WidePromptForFileName(WideString& fileName, const WideString& filter, const WideString& defaultExt,
                           const WideString& title, const WideString& initialDir, bool saveDialog) {
  std::unique_ptr<TUcOpenDialog> dialog;
  if (saveDialog) {
    dialog = std::make_unique<TUcSaveDialog>(nullptr);
    dialog->SetOptions(dialog->Options() | OpenOption(ofOverwritePrompt));
  } else {
    dialog = std::make_unique<TUcOpenDialog>(nullptr);
  }
  dialog->SetTitle(title);
  dialog->SetDefaultExt(defaultExt);
  dialog->SetFilter(filter.IsEmpty() ? WideString(u"All files (*.*)|*.*") : filter);
  dialog->SetInitialDir(initialDir);
  dialog->SetFileName(fileName);
  const bool confirmed = dialog->Execute();
  if (confirmed) fileName = dialog->FileName();
  return confirmed;
}
