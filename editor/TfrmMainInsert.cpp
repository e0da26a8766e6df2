// Inserting pictures, sounds and texts into a page: the window's side. The document tests and
// copies every inserted file into its working folder and gives the page its item; the window asks
// for the file, shows why one is refused, runs the text editor and measures. An insertion that
// takes the message over the size limit is taken back, and the page gets exactly what it had.
#include <string>

#include "editor/TMsgBox.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "editor/TfrmTextEditor.h"
#include "mms/TMediaItem.h"
#include "platform/forms/TOpenDialog.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Shows why a file was refused, when the user is told: the status code the command answers.
int Refuse(MessageDocument::FileCheck check) {
  switch (check) {
    case MessageDocument::FileCheck::kTaken:
      return 0;
    case MessageDocument::FileCheck::kNoSuchFile:
      return TfrmMain::kNoSuchFile;
    case MessageDocument::FileCheck::kNotAPictureKind:
      ShowMsgBox("STR_Main_Error_AddImgError1");
      break;
    case MessageDocument::FileCheck::kNotItsKind:
      ShowMsgBox("STR_Main_Error_AddImgError2");
      break;
    case MessageDocument::FileCheck::kNotASoundKind:
      ShowMsgBox("STR_Main_Text_Error");
      break;
    case MessageDocument::FileCheck::kRefused:
      break;  // refused without a word
  }
  return TfrmMain::kRefused;
}

}  // namespace

// The extension of the file-name part only: a dotted folder gives none.
AnsiString TfrmMain::GetFileExt(const AnsiString& path) { return TfrmTextEditor::GetFileExt(path); }

int TfrmMain::IsFileUsed(const AnsiString& path) const { return document.IsFileUsed(path.c_str()) ? 1 : 0; }

int TfrmMain::CopyMediaFile(const AnsiString& destination, const AnsiString& source) {
  return MessageDocument::CopyMediaFile(destination, source);
}

int TfrmMain::CopyIntoFolder(const AnsiString& folder, const AnsiString& source, AnsiString* copy) {
  return document.CopyIntoFolder(folder, source, copy);
}

int TfrmMain::PageForInsert() {
  // A new page is shown as the new-page command shows it, and the page limit gets its box.
  if (document.CurrentPage() < 0 && NewFrame() != 0) {
    document.SetModified(true);
    return -1;
  }
  return document.PageForInsert();
}

AnsiString TfrmMain::NewTextFileName(int index) const { return document.NewTextFileName(index); }

int TfrmMain::InsertPicture(const AnsiString& path) {
  const int page = PageForInsert();
  if (page < 0) return 0;
  if (const int refused = Refuse(MessageDocument::CheckPicture(path)); refused != 0) return refused;
  if (document.InsertFile(page, TMediaItem::kImage, path) != 0) return kRefused;
  dlgOpen->SetFileName("");
  return 0;
}

int TfrmMain::InsertAudio() {
  const int page = PageForInsert();
  if (page < 0) return 0;
  dlgOpen->SetTitle(AnsiString(ResStringManager.GetString("STR_Main_DialogTitle_Audio")));
  dlgOpen->SetFilter(AnsiString(ResStringManager.GetString("STR_Main_DialogFilter_Audio")));
  if (!dlgOpen->Execute()) return 0;
  const AnsiString path = dlgOpen->FileName();
  if (const int refused = Refuse(MessageDocument::CheckSound(path)); refused != 0) return refused;
  if (document.InsertFile(page, TMediaItem::kAudio, path) != 0) return kRefused;
  dlgOpen->SetFileName("");
  return 0;
}

int TfrmMain::InsertText() {
  const int page = PageForInsert();
  if (page < 0) return 0;
  const AnsiString file = document.TextFileFor(page);
  document.TakeText(page, runTextEditor ? runTextEditor(this, file) : RunTextEditor(this, file));
  return 0;
}

int TfrmMain::InsertKeepingLimit(int type, const std::function<int()>& insert) {
  return document.InsertKeepingLimit(type, insert, [this] {
    GetPduSize();
    if (!CheckMmsSize()) return false;
    RestoreMeasure();  // the labels show what they showed before the insertion
    return true;
  });
}

void TfrmMain::actInsertPictureExecute(const AnsiString& path) {
  if (CheckMmsSize()) return;
  if (InsertPicture(path) == kRefused) return;
  RefreshFrameList();
  GetPduSize();
}

void TfrmMain::actInsertAudioExecute(TObject*) {
  if (CheckMmsSize()) return;
  InsertKeepingLimit(TMediaItem::kAudio, [this] { return InsertAudio(); });
  RefreshFrameList();
}

void TfrmMain::actInsertTextExecute(TObject*) {
  if (CheckMmsSize()) return;
  InsertKeepingLimit(TMediaItem::kText, [this] { return InsertText(); });
  RefreshFrameList();
  selection = StripSelection::kText;
}

void TfrmMain::actTextEditExecute(TObject* sender) { actInsertTextExecute(sender); }

void TfrmMain::TextEditClick(TObject* sender) { actInsertTextExecute(sender); }

void TfrmMain::imgFrameListDblClick(TObject* sender) {
  if (selection == StripSelection::kPage) {
    btnNewFrameClick(sender);
    return;
  }
  if (document.CurrentPage() < 0) return;
  switch (selection) {
    case StripSelection::kText:
      InsertKeepingLimit(TMediaItem::kText, [this] { return InsertText(); });
      break;
    case StripSelection::kPicture: {
      dlgOpen->SetTitle(AnsiString(ResStringManager.GetString("STR_Main_DialogTitle_Pic")));
      dlgOpen->SetFilter(AnsiString(ResStringManager.GetString("STR_Main_DialogFilter_Pic")));
      if (!dlgOpen->Execute()) return;
      const AnsiString path = dlgOpen->FileName();
      if (!FileExists(path)) return;
      InsertKeepingLimit(TMediaItem::kImage, [this, path] { return InsertPicture(path); });
      break;
    }
    case StripSelection::kSound:
      InsertKeepingLimit(TMediaItem::kAudio, [this] { return InsertAudio(); });
      break;
    default:
      break;
  }
}

void TfrmMain::insert_popClick(TObject* sender) {
  imgFrameListDblClick(sender);
  RefreshFrameList();
}
