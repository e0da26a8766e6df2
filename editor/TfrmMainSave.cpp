// Save As and writing the message to a file. The message is built and encoded anew each time;
// a file is written through a temporary beside it and renamed over the target, so a failed
// write leaves an older file whole, and a build that could not take a page's media refuses
// instead of writing a message that silently lacks it.
#include <cstdlib>

#include "editor/TMsgBox.h"
#include "editor/TfrmMain.h"
#include "mms/MmsComposer.h"
#include "mms/MmsEncoder.h"
#include "platform/forms/TSaveDialog.h"
#include "platform/rtl/SysUtils.h"

namespace {

// The encoded message of a complete build, released when it goes; empty when the build could
// not take every page or encoding gave no bytes.
class EncodedMessage {
 public:
  explicit EncodedMessage(TfrmMain* main) {
    if (main->BuildMms()) bytes_ = MmsEncodeMessage(&count_);
  }
  ~EncodedMessage() {
    std::free(bytes_);
    MmsComposerReset();
  }
  EncodedMessage(const EncodedMessage&) = delete;
  EncodedMessage& operator=(const EncodedMessage&) = delete;

  bool Empty() const { return !bytes_ || count_ <= 0; }
  bool WriteTo(const AnsiString& path) const {
    return !Empty() && platform::WriteFileReplacing(platform::FsPath(path.c_str()), bytes_, size_t(count_));
  }

 private:
  unsigned char* bytes_ = nullptr;
  int count_ = 0;
};

}  // namespace

int TfrmMain::SaveMmsFile(const AnsiString& path) {
  if (WriteMessageFile(path) == kWritten) return 1;
  ShowMsgBox("STR_Main_Error_Save");
  return 0;
}

void TfrmMain::actAntherExecute(TObject*) {
  const EncodedMessage message(this);
  if (message.Empty()) {
    ShowMsgBox("STR_Main_Error_Save");
    return;
  }
  dlgSave->SetDefaultExt("mms");
  if (!dlgSave->Execute()) return;
  savedAs = 1;
  if (!message.WriteTo(dlgSave->FileName())) ShowMsgBox("STR_Main_Error_Save");
}
