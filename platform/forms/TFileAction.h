// The file actions: open (with an open dialog), open with (the chosen or named file handed to
// the desktop's opener), save as (with a save dialog), printer set-up (no such dialog on this
// platform: executing raises EInvalidOperation) and exit (closes the main form).
#pragma once

#include "platform/forms/TCommonDialogAction.h"
#include "platform/forms/TOpenDialog.h"
#include "platform/forms/TSaveDialog.h"

class TFileAction : public TCommonDialogAction {
 public:
  explicit TFileAction(TComponent* owner) : TCommonDialogAction(owner) {}

 protected:
  const char* DialogKind() const override { return "file"; }
};

class TFileOpen : public TFileAction {
 public:
  explicit TFileOpen(TComponent* owner) : TFileAction(owner) {}
  TOpenDialog* Dialog() { return static_cast<TOpenDialog*>(TCommonDialogAction::Dialog()); }

 protected:
  TCommonDialogClass GetDialogClass() const override { return DialogClassOf<TOpenDialog>(); }
};

class TFileOpenWith : public TFileOpen {
 public:
  explicit TFileOpenWith(TComponent* owner) : TFileOpen(owner) {}

  // The file to open; empty: the open dialog asks for one (and FileName keeps the answer).
  const AnsiString& FileName() const { return fileName_; }
  void SetFileName(const AnsiString& value) { fileName_ = value; }

  // Asks for a file when none is named, hands it to the desktop's opener, then runs AfterOpen.
  // A file the desktop cannot open raises EInvalidOperation "Cannot open %s".
  void ExecuteTarget(TObject* target) override;

  TNotifyEvent AfterOpen;

 private:
  AnsiString fileName_;
};

class TFileSaveAs : public TFileAction {
 public:
  explicit TFileSaveAs(TComponent* owner) : TFileAction(owner) {}
  // An open dialog that saves: a descendant may name any open dialog class whose Execute saves.
  TOpenDialog* Dialog() { return static_cast<TOpenDialog*>(TCommonDialogAction::Dialog()); }

 protected:
  TCommonDialogClass GetDialogClass() const override { return DialogClassOf<TSaveDialog>(); }
};

class TFilePrintSetup : public TFileAction {
 public:
  explicit TFilePrintSetup(TComponent* owner) : TFileAction(owner) {}

 protected:
  const char* DialogKind() const override { return "printer set-up"; }
};

class TFileExit : public TCustomAction {
 public:
  explicit TFileExit(TComponent* owner) : TCustomAction(owner) {}
  bool HandlesTarget(TObject* /*target*/) override { return true; }
  // Closes the application's main form (which ends the application); without one, ends it.
  void ExecuteTarget(TObject* target) override;
};
