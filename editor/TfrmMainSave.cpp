// Save As and writing the message to a file. The message is built and encoded anew each time;
// a file is written through a temporary beside it and renamed over the target, so a failed
// write leaves an older file whole, and a build that could not take a page's media refuses
// instead of writing a message that silently lacks it.
#include "editor/EncodedMessage.h"
#include "editor/TMsgBox.h"
#include "editor/TfrmMain.h"
#include "platform/forms/TSaveDialog.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Writes the bytes to `path` through a temporary renamed over it.
auto FileAt(const AnsiString& path) {
  return [&path](const unsigned char* bytes, size_t count) {
    return platform::WriteFileReplacing(platform::FsPath(path), bytes, count);
  };
}

}  // namespace

int TfrmMain::WriteMessageFile(const AnsiString& path) {
  return EncodedMessage(document).WriteWith(FileAt(path));
}

int TfrmMain::SaveMmsFile(const AnsiString& path) {
  if (WriteMessageFile(path) == kWritten) return 1;
  ShowMsgBox("STR_Main_Error_Save");
  return 0;
}

void TfrmMain::actAntherExecute(TObject*) {
  const EncodedMessage message(document);
  if (!message.Complete()) {
    ShowMsgBox("STR_Main_Error_Save");
    return;
  }
  dlgSave->SetDefaultExt("mms");
  if (!dlgSave->Execute()) return;
  savedAs = 1;
  const AnsiString path = dlgSave->FileName();
  if (message.WriteWith(FileAt(path)) != EncodedMessage::kWritten) ShowMsgBox("STR_Main_Error_Save");
}
