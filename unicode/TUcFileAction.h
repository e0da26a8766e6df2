// The wide-aware file actions. Opening and saving go through the form library's open and save
// dialogs.
#pragma once

#include "platform/forms/TFileAction.h"
#include "unicode/UcStdActns.h"

class TUcFileAction : public TUcStdActionOf<TFileAction> {
 public:
  explicit TUcFileAction(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcFileOpen : public TUcStdActionOf<TFileOpen> {
 public:
  explicit TUcFileOpen(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcFileOpenWith : public TUcStdActionOf<TFileOpenWith> {
 public:
  explicit TUcFileOpenWith(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcFileSaveAs : public TUcStdActionOf<TFileSaveAs> {
 public:
  explicit TUcFileSaveAs(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcFilePrintSetup : public TUcStdActionOf<TFilePrintSetup> {
 public:
  explicit TUcFilePrintSetup(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcFileExit : public TUcStdActionOf<TFileExit> {
 public:
  explicit TUcFileExit(TComponent* owner) : TUcStdActionOf(owner) {}
};
