// The wide-aware file actions. Opening and saving go through the layer's open and save dialogs,
// whose file names are UTF-16.
#pragma once

#include "platform/forms/TFileAction.h"
#include "unicode/TUcOpenDialog.h"
#include "unicode/TUcSaveDialog.h"
#include "unicode/UcStdActns.h"

class TUcFileAction : public TUcStdActionOf<TFileAction> {
 public:
  explicit TUcFileAction(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcFileOpen : public TUcStdActionOf<TFileOpen> {
 public:
  explicit TUcFileOpen(TComponent* owner) : TUcStdActionOf(owner) {}
  TUcOpenDialog* Dialog() { return static_cast<TUcOpenDialog*>(TFileOpen::Dialog()); }

 protected:
  TCommonDialogClass GetDialogClass() const override { return DialogClassOf<TUcOpenDialog>(); }
};

class TUcFileOpenWith : public TUcStdActionOf<TFileOpenWith> {
 public:
  explicit TUcFileOpenWith(TComponent* owner) : TUcStdActionOf(owner) {}
  TUcOpenDialog* Dialog() { return static_cast<TUcOpenDialog*>(TFileOpenWith::Dialog()); }

 protected:
  TCommonDialogClass GetDialogClass() const override { return DialogClassOf<TUcOpenDialog>(); }
};

class TUcFileSaveAs : public TUcStdActionOf<TFileSaveAs> {
 public:
  explicit TUcFileSaveAs(TComponent* owner) : TUcStdActionOf(owner) {}
  TUcSaveDialog* Dialog() { return static_cast<TUcSaveDialog*>(TFileSaveAs::Dialog()); }

 protected:
  TCommonDialogClass GetDialogClass() const override { return DialogClassOf<TUcSaveDialog>(); }
};

class TUcFilePrintSetup : public TUcStdActionOf<TFilePrintSetup> {
 public:
  explicit TUcFilePrintSetup(TComponent* owner) : TUcStdActionOf(owner) {}
};

class TUcFileExit : public TUcStdActionOf<TFileExit> {
 public:
  explicit TUcFileExit(TComponent* owner) : TUcStdActionOf(owner) {}
};
