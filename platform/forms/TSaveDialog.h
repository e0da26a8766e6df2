// TSaveDialog: the system's save dialog over GetSaveFileNameA, with the properties of the open
// dialog (DefaultExt is added to a name typed without an extension; ofOverwritePrompt asks
// before an existing file is chosen).
#pragma once

#include "platform/forms/TOpenDialog.h"

class TSaveDialog : public TOpenDialog {
 public:
  explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) {}
  bool Execute() override;
};
