// TOpenDialog: the system's open dialog over GetOpenFileNameA. Filter is "text|pattern|...",
// FilterIndex counts from 1, DefaultExt has no dot; Options map to the dialog's flags. After a
// confirmed Execute, FileName is the (first) chosen file and Files every chosen file with its
// full path.
#pragma once

#include <memory>

#include "platform/controls/FileDialogs.h"
#include "platform/forms/TCommonDialog.h"
#include "platform/rtl/TStringList.h"

enum TOpenOption {
  ofReadOnly,
  ofOverwritePrompt,
  ofHideReadOnly,
  ofNoChangeDir,
  ofShowHelp,
  ofNoValidate,
  ofAllowMultiSelect,
  ofExtensionDifferent,
  ofPathMustExist,
  ofFileMustExist,
  ofCreatePrompt,
  ofShareAware,
  ofNoReadOnlyReturn,
  ofNoTestFileCreate,
  ofNoNetworkButton,
  ofNoLongNames,
  ofOldStyleDialog,
  ofNoDereferenceLinks,
  ofEnableIncludeNotify,
  ofEnableSizing
};
using TOpenOptions = unsigned;  // bits 1 << TOpenOption
constexpr TOpenOptions OpenOption(TOpenOption option) { return 1u << option; }

using TOpenDialogFunction = BOOL (*)(OPENFILENAMEA*);
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;

class TOpenDialog : public TCommonDialog {
 public:
  explicit TOpenDialog(TComponent* owner);
  ~TOpenDialog() override;

  bool Execute() override;

  const AnsiString& FileName() const { return fileName_; }
  void SetFileName(const AnsiString& value) { fileName_ = value; }
  TStrings* Files() const { return files_.get(); }
  const AnsiString& Filter() const { return filter_; }
  void SetFilter(const AnsiString& value) { filter_ = value; }
  int FilterIndex() const { return filterIndex_; }
  void SetFilterIndex(int value) { filterIndex_ = value; }
  const AnsiString& DefaultExt() const { return defaultExt_; }
  void SetDefaultExt(const AnsiString& value) { defaultExt_ = value; }
  const AnsiString& InitialDir() const { return initialDir_; }
  void SetInitialDir(const AnsiString& value) { initialDir_ = value; }
  const AnsiString& Title() const { return title_; }
  void SetTitle(const AnsiString& value) { title_ = value; }
  TOpenOptions Options() const { return options_; }
  void SetOptions(TOpenOptions value) { options_ = value; }
  // A dialog template's name (the system's own dialog takes none).
  const char* Template = nullptr;

  TCloseQueryEvent OnCanClose;
  TNotifyEvent OnFolderChange;
  TNotifyEvent OnSelectionChange;
  TNotifyEvent OnTypeChange;

 protected:
  // Fills the 8-bit record from the properties, runs `dialog` on it through TaskModalDialog and,
  // when confirmed, takes the chosen files, FilterIndex and the read-only and
  // different-extension answers from it. OnCanClose runs while the dialog is open, before it
  // closes on a choice; a refusal keeps it open.
  bool DoExecute(TOpenDialogFunction dialog);
  // Whether the chosen files may be taken (OnCanClose).
  virtual bool DoCanClose();
  // CDN_FILEOK: the chosen files are taken and DoCanClose asked; a refusal answers 1, also as
  // the dialog's message result.
  void WndProc(TMessage& message) override;
  // Splits the record's file buffer into FileName and Files.
  void GetFileNames(const OPENFILENAMEA& record);

 private:
  AnsiString fileName_;
  std::unique_ptr<TStringList> files_;
  AnsiString filter_;
  int filterIndex_ = 1;
  AnsiString defaultExt_;
  AnsiString initialDir_;
  AnsiString title_;
  TOpenOptions options_ = OpenOption(ofHideReadOnly) | OpenOption(ofEnableSizing);
};
