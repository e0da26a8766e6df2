// Deleting the current page or one part of it (its picture, text or sound), as the slide strip's
// selection says. Every deletion but the silent roll-backs of the size limit is confirmed in a
// delete box; nothing is deleted while the slide show plays, and the only page stays.
#include <memory>

#include "editor/TDelMessageBox.h"
#include "editor/TImgFileManager.h"
#include "editor/TMmsViewer.h"
#include "editor/TMsgBox.h"
#include "editor/TfrmMain.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/TClipboard.h"
#include "platform/forms/TMenuItem.h"
#include "platform/forms/TScrollBar.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"

bool TfrmMain::SlideShowPlaying() const {
  // The preview window's play button is disabled while its show plays; without the preview
  // window no show can play.
  return MmsViewer && MmsViewer->Playing();
}

void TfrmMain::DropCachedPicture(const std::string& path) {
  if (!path.empty() && !IsFileUsed(path.c_str()) && pImgFileManager) pImgFileManager->Remove(path.c_str());
}

void TfrmMain::DeleteOwnTextFile(const std::string& path) { document.DeleteOwnTextFile(path); }

void TfrmMain::RemoveCurrentPage() {
  const std::string picture = document.ItemPath(document.CurrentPage(), TMediaItem::kImage);
  if (!document.RemovePage(document.CurrentPage())) return;
  DropCachedPicture(picture);
  UpdateStripScrollBar();
  RefreshFrameList();
}

void TfrmMain::actDeletePageExecute(TObject*) {
  if (!Mms() || Mms()->Body->GetFrameCount() <= 1) {
    ShowMsgBox("STR_Main_Error_OnePage");
    return;
  }
  if (silentDelete) {
    RemoveCurrentPage();
    GetPduSize();
    return;
  }
  std::unique_ptr<TDelMessageBox> box(NewBox<TDelMessageBox>(this));
  if (box->ShowModal() == 1 && IsPage(document.CurrentPage())) {
    RemoveCurrentPage();
    GetPduSize();
  }
}

int TfrmMain::DeleteSelection(int index) {
  if (!IsPage(index)) return kNoSuchPage;
  if (selection == StripSelection::kPage && !SlideShowPlaying()) {
    const int pages = Mms()->Body->GetFrameCount();
    const std::string text = document.ItemPath(index, TMediaItem::kText);
    actDeletePageExecute(this);
    // The page went when the count dropped; its text file goes with it unless another page
    // still uses it.
    if (Mms()->Body->GetFrameCount() < pages) DeleteOwnTextFile(text);
    UpdateStripScrollBar();
    return 0;
  }
  if (!delete_pop->Enabled() || SlideShowPlaying()) return 0;
  std::unique_ptr<TDelMessageBox> box(NewBox<TDelMessageBox>(this));
  box->SetMessageKey("STR_Main_Del_Hint");
  if (box->ShowModal() != 1) return 0;
  if (selection == StripSelection::kText) {
    document.RemoveItem(index, TMediaItem::kText);
  } else if (selection == StripSelection::kPicture) {
    DeleteImageItem(index);
  } else if (selection == StripSelection::kSound) {
    document.RemoveItem(index, TMediaItem::kAudio);  // the sound's file stays
  } else {
    return kNothingSelected;
  }
  return 0;
}

int TfrmMain::DeleteImageItem(int index) {
  if (!IsPage(index)) return kNoSuchPage;
  DropCachedPicture(
      document.RemoveItem(index, TMediaItem::kImage));  // the file itself stays in the working folder
  return 1;
}

void TfrmMain::DeleteExecute() {
  if (!IsPage(document.CurrentPage())) return;
  DeleteSelection(document.CurrentPage());
  RefreshFrameList();
}

void TfrmMain::actDeleteExecute(TObject*) {
  DeleteExecute();
  Clipboard()->Clear();
  GetPduSize();
}

void TfrmMain::btnDelFrameClick(TObject* sender) {
  UpdatePopupMenu();
  actDeleteExecute(sender);
}

void TfrmMain::delete_popClick(TObject* sender) { btnDelFrameClick(sender); }

void TfrmMain::UpdatePopupMenu() {
  delete_pop->SetEnabled(false);
  if (selection == StripSelection::kPage) {
    insert_pop->SetEnabled(true);
    delete_pop->SetEnabled(true);
    Select_pop->SetEnabled(false);
    resize_pop->SetEnabled(false);
  }
  if (!IsPage(document.CurrentPage())) {
    insert_pop->SetEnabled(false);
    delete_pop->SetEnabled(false);
    Select_pop->SetEnabled(false);
    resize_pop->SetEnabled(false);
  } else {
    insert_pop->SetEnabled(true);
    const TMmsFrame* frame = Mms()->Body->GetFrame(document.CurrentPage());
    switch (selection) {
      case StripSelection::kText:
      case StripSelection::kSound:
        Select_pop->SetEnabled(false);
        resize_pop->SetEnabled(false);
        delete_pop->SetEnabled(
            frame->GetItem(selection == StripSelection::kText ? TMediaItem::kText : TMediaItem::kAudio) !=
            nullptr);
        break;
      case StripSelection::kPicture: {
        const bool picture = frame->GetItem(TMediaItem::kImage) != nullptr;
        Select_pop->SetEnabled(true);
        delete_pop->SetEnabled(picture);
        resize_pop->SetEnabled(picture);
        break;
      }
      default:
        break;
    }
  }
  if (SlideShowPlaying()) delete_pop->SetEnabled(false);
}
