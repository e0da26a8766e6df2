// The form library's open dialog with UTF-16 texts: file name, filter, default extension,
// initial folder, title and the chosen files keep every script. On a UTF-16 system the
// dialog runs through the wide dialog function; on an 8-bit one through the form library's.
#pragma once

#include <functional>
#include <memory>

#include "platform/forms/TOpenDialog.h"
#include "platform/rtl/WideString.h"

class TUcStringList;
class TUcStrings;

// The notification of an item the dialog is about to list (OnIncludeItem).
struct OFNOTIFYEXW {
  NMHDR hdr;
  OPENFILENAMEW* lpOFN;
  void* psf;
  void* pidl;
};
using TUcIncludeItemEvent = std::function<void(TObject* sender, const OFNOTIFYEXW& notify, bool& include)>;

class TUcOpenDialog : public TOpenDialog {
 public:
  explicit TUcOpenDialog(TComponent* owner);
  ~TUcOpenDialog() override;

  // True when the person confirmed a choice.
  bool Execute() override;

  WideString DefaultExt();
  void SetDefaultExt(const WideString& value);
  // While the dialog is open: the path it shows now (empty when it cannot say); otherwise the
  // chosen (or preset) name.
  WideString FileName();
  void SetFileName(const WideString& value);
  WideString Filter();
  void SetFilter(const WideString& value);
  WideString InitialDir();
  // One trailing "/" or "\" is dropped, except from a one-character path or a drive root.
  void SetInitialDir(const WideString& value);
  WideString Title();
  void SetTitle(const WideString& value);
  // Every chosen file with its full path.
  TUcStrings* Files();

  TUcIncludeItemEvent OnIncludeItem;

 protected:
  void DefineProperties(TFiler* filer) override;
  void WndProc(TMessage& message) override;
  // OnCanClose is asked only from the dialog's own check of a choice (see CanCloseW).
  bool DoCanClose() override;
  virtual void DoIncludeItem(const OFNOTIFYEXW& notify, bool& include);
  void DoShow() override;
  void DoClose() override;
  // Runs `dialog` on a UTF-16 record made from the one the form library prepares.
  bool DoExecuteW(BOOL (*dialog)(OPENFILENAMEW*), HWND parent);

 private:
  friend BOOL KeepProxiedRecord(OPENFILENAMEA* record);
  void GetFileNamesW(const OPENFILENAMEW& record);
  bool CanCloseW(const OPENFILENAMEW& record);

  WideString defaultExt_;
  WideString fileName_;
  WideString filter_;
  WideString initialDir_;
  WideString title_;
  std::unique_ptr<TUcStringList> files_;
  bool allowDoCanClose_ = false;
  bool proxying_ = false;
  OPENFILENAMEA proxiedRecord_{};
};
