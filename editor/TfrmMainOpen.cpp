// Opening a message file: the window's side. The document decodes the file and unpacks it into
// its working folders; only a file that holds a message replaces the open one, whose window then
// starts anew on it, with a word on the parts the pages could not keep.
#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "editor/TDelMessageBox.h"
#include "editor/TMmsViewer.h"
#include "editor/TMsgBox.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "mms/TK3VNMms.h"
#include "mms/TMmsBody.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TOpenDialog.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TFileStream.h"

int TfrmMain::LoadMms(const uint8_t* bytes, int count) {
  std::u16string subject;
  std::string leftOut;
  std::unique_ptr<TK3VNMms> opened = document.Unpack(bytes, count, &subject, &leftOut);
  if (!opened) return 0;

  // The message is good: the open document gives way to it.
  Init();
  SetSubjectText(WideString(subject));
  Label_Size->SetCaption(IntToStr(std::max(1, count / 1024)));
  document.TakeOpened(std::move(opened));
  if (MmsViewer) MmsViewer->mms = Mms();  // the preview shows the opened message, not the one given up
  leftOutParts = leftOut.c_str();

  // The pages appear together: the strip jumps to the last one instead of gliding.
  scrollAtOnce = true;
  struct ScrollBack {
    bool& flag;
    ~ScrollBack() { flag = false; }
  } scrollBack{scrollAtOnce};
  ShowAppendedPage(document.PageCount() - 1);

  ShowDuration(Mms()->Body->GetFrameDur(0));
  Label_Time->SetCaption(IntToStr(int64_t(document.TotalDurationMs() / 1000)));
  UpdateStripScrollBar();
  RefreshFrameList();
  return 1;
}

namespace {

// The whole file through the form library's file stream: a file that cannot be opened raises
// the stream's exception.
std::string ReadThroughStream(const AnsiString& path) {
  TFileStream stream(path, fmOpenRead);
  std::string bytes(size_t(stream.Size()), '\0');
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), int(bytes.size()));
  return bytes;
}

}  // namespace

void TfrmMain::ReportLeftOutParts() {
  if (!leftOutParts.IsEmpty()) ShowMsgBox("STR_Main_Open_LeftOut", WideString(leftOutParts));
  leftOutParts = AnsiString();
}

void TfrmMain::actOpenExecute(TObject*) {
  // A changed message is given up only when the user says so.
  if (document.Modified()) {
    std::unique_ptr<TDelMessageBox> box(NewBox<TDelMessageBox>(this));
    box->SetMessageKey("STR_Main_Open_Discard");
    if (box->ShowModal() != 1) return;
  }
  dlgOpen->SetTitle(AnsiString(ResStringManager.GetString("STR_Main_DialogTitle_MMS")));
  dlgOpen->SetFilter(AnsiString(ResStringManager.GetString("STR_Main_DialogFilter_MMS")));
  if (!dlgOpen->Execute()) return;
  const std::string bytes = ReadThroughStream(dlgOpen->FileName());
  // A file that is no message changes nothing of the open one.
  if (!LoadMms(reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()))) {
    ShowMsgBox("STR_Main_Error_Open");
    return;
  }
  ReportLeftOutParts();
}

void TfrmMain::OpenMmsFile(const AnsiString& path) {
  const std::string bytes = ReadThroughStream(path);
  if (bytes.empty()) {
    SetSubjectText(ResStringManager.GetString("STR_Main_Untitled"));
    return;
  }
  if (!LoadMms(reinterpret_cast<const uint8_t*>(bytes.data()), int(bytes.size()))) {
    ShowMsgBox("STR_Main_Error_Open");
    return;
  }
  document.SetModified(false);
  ReportLeftOutParts();
}
