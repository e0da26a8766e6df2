// The window of a hooked file dialog while it is open: the hook runs in it as the dialog
// procedure, and the dialog answers CDM_GETFILEPATH with the path chosen so far.
#pragma once

#include <string>

#include "platform/controls/FileDialogs.h"

namespace platform::controls {

inline constexpr char16_t kFileDialogClass[] = u"FileDialogWindow";  // the same name in 8 bits is used

WndProcFunction FileDialogWindowProc();
// Registers the dialog's class (once; every dialog does it before it makes its window).
void RegisterFileDialogClass();

class FileDialogWindow {
 public:
  // Creates the dialog's window (and, explorer-style, the child the hook runs in) and sends
  // the hook WM_INITDIALOG with `record`. `ansi`: the caller used the 8-bit record.
  FileDialogWindow(HWND owner, const std::u16string& caption, LPOFNHOOKPROC hook, bool explorer, void* record,
                   bool ansi);
  ~FileDialogWindow();
  FileDialogWindow(const FileDialogWindow&) = delete;
  FileDialogWindow& operator=(const FileDialogWindow&) = delete;

  // The record holds the choice whose first path is `path`: tells the hook (CDN_FILEOK) and
  // answers whether it lets the dialog close.
  bool FileOk(const std::u16string& path);

 private:
  HWND frame_ = nullptr;
  HWND hookWindow_ = nullptr;
  void* record_;
  bool ansi_;
};

}  // namespace platform::controls
