// Handing the message over to the connection manager (send, or keep as a draft), the close
// question, and the connection manager announcing its window. The message is written to
// TempMMS.mms in the Send folder and named, with the subject and the wanted action, in one
// record sent to the manager's window. Only a hand-over that was delivered ends the editor: a
// build that could not take every page, a file that could not be written, a path too long for
// the record, or a manager that is missing or did not take the message leaves the document,
// the working folder and the changed mark as they were, after a warning.
#include <string_view>

#include "editor/EncodedMessage.h"
#include "editor/TMessageBoxForm.h"
#include "editor/TMmsSendData.h"
#include "editor/TMsgBox.h"
#include "editor/TfrmMain.h"
#include "editor/WorkingArea.h"
#include "platform/forms/TEdit.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Win.h"

namespace {

constexpr const char* kPeerTitle = "MMS_manageRas";
constexpr const char* kAnnounceMessage = "MsgNetAppHandle";
constexpr const char* kHandOverName = "TempMMS.mms";

}  // namespace

int TfrmMain::SendMmsToDrafts(int mode) {
  if (!peerWnd) peerWnd = FindWindowA(nullptr, kPeerTitle);

  TMmsSendData data;
  data.FileName = std::string((document.sendDir + "/" + kHandOverName).c_str());
  // Up to a NUL an opened message's subject may hold, as the record's string ends there.
  data.Subject = platform::Utf16ToUtf8(std::u16string_view(document.Subject().c_str()));
  data.Mode = mode;
  // A path that does not fit the record is refused, never cut: the manager would be handed
  // another file's name.
  if (!data.FileNameFits()) {
    ShowMsgBox("STR_Main_Error_Send");
    return 0;
  }
  // Without a manager nothing is written: TempMMS.mms keeps what it held.
  if (!peerWnd || !IsWindow(peerWnd)) {
    peerWnd = nullptr;
    ShowMsgBox("STR_Main_Error_Send");
    return 0;
  }
  // The hand-over file is the editor's own: whatever stands at its name (a link above all) is
  // replaced, never written through.
  switch (EncodedMessage(document).WriteWith([this](const unsigned char* bytes, size_t count) {
    return workarea::WriteOwnFile(document.sendDir, kHandOverName, bytes, count);
  })) {
    case EncodedMessage::kBuildFailed:
      ShowMsgBox("STR_Main_Error_Save");
      return 0;
    case EncodedMessage::kWriteFailed:
      ShowMsgBox("STR_Main_Error_Send");
      return 0;
    default:
      break;
  }

  auto record = data.Bytes();
  COPYDATASTRUCT descriptor{0, DWORD(record.size()), record.data()};
  // The answer's value is the manager's own; only whether the record arrived counts. After a
  // failure the new TempMMS.mms stays: a manager that took the record late reads this message.
  SetLastError(0);
  SendMessageA(peerWnd, WM_COPYDATA, 0, LPARAM(&descriptor));
  if (GetLastError() != 0 || !IsWindow(peerWnd)) {
    // A window that is gone is looked up again at the next try.
    peerWnd = nullptr;
    ShowMsgBox("STR_Main_Error_Send");
    return 0;
  }
  savedAs = 0;
  return 1;
}

bool TfrmMain::HandOver(int mode) {
  if (!SendMmsToDrafts(mode)) return false;
  // The message loop ends without the close question; the working folders go with the window.
  PostMessageA(Handle(), WM_QUIT, 0, 0);
  return true;
}

void TfrmMain::actSendExecute(TObject*) { HandOver(TMmsSendData::kModeSend); }
void TfrmMain::btnSendClick(TObject* sender) { actSendExecute(sender); }
void TfrmMain::actDraftsExecute(TObject*) { HandOver(TMmsSendData::kModeDrafts); }
void TfrmMain::SaveAsDraftClick(TObject* sender) { actDraftsExecute(sender); }

void TfrmMain::FormCloseQuery(TObject*, bool& canClose) {
  canClose = true;
  if (!document.Modified()) return;
  std::unique_ptr<TMessageBoxForm> box(NewBox<TMessageBoxForm>(this));
  switch (box->ShowModal()) {
    case 1:  // keep it as a draft; a failed hand-over keeps the window open
      canClose = HandOver(TMmsSendData::kModeDrafts);
      break;
    case 3:  // close without keeping it
      break;
    default:
      canClose = false;
      break;
  }
}

void TfrmMain::CreateWnd() {
  TForm::CreateWnd();
  for (UINT message : {WM_CHANGELANGUAGE, RegisterWindowMessageA(kAnnounceMessage)})
    ChangeWindowMessageFilterEx(Handle(), message, MSGFLT_ALLOW, nullptr);
}

void TfrmMain::WndProc(TMessage& message) {
  const UINT announce = RegisterWindowMessageA(kAnnounceMessage);
  if (announce && message.Msg == announce) {
    // Our own announcement coming back is swallowed.
    if (HWND(message.WParam) == Handle()) return;
    if (message.LParam) peerWnd = HWND(message.LParam);
  }
  TForm::WndProc(message);
}
