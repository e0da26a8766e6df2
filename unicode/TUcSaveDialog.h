// The save dialog of the Unicode layer: the open dialog's UTF-16 texts over the system's save
// dialog.
#pragma once

#include "unicode/TUcOpenDialog.h"

class TUcSaveDialog : public TUcOpenDialog {
 public:
  explicit TUcSaveDialog(TComponent* owner) : TUcOpenDialog(owner) {}
  bool Execute() override;
};
