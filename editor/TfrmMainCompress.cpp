// Compressing the selected page's picture and the picture-size settings. The compression
// dialog is opened on the picture of the page selected in the strip, with its preview fitted to
// the picture; its result comes back with WM_INSERTPICTURE and goes onto that same page (found
// again by identity, not by index), under the size limit: a result that takes the message over
// it is taken back and the page keeps the picture it had.
#include <memory>
#include <string>

#include "controls/TSkTrackBar.h"
#include "editor/TPicResize.h"
#include "editor/TResizeForm.h"
#include "editor/TResizeHost.h"
#include "editor/TfrmMain.h"
#include "imagelib/IxImage.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/StringRoutines.h"

namespace {

// The preview's well in the compression dialog: where Image1 sits and how large it may be.
constexpr int kPreviewLeft = 27, kPreviewTop = 36, kPreviewWidth = 367, kPreviewHeight = 275;

std::string PicturePathOf(const TMmsFrame* frame) {
  const TMediaItem* item = frame ? frame->GetItem(TMediaItem::kImage) : nullptr;
  return item ? item->Path : std::string();
}

}  // namespace

// The main window's side of the dialogs.
class TfrmMain::MainWindowResizeHost : public TResizeHost {
 public:
  explicit MainWindowResizeHost(TfrmMain* main) : main_(main) {}
  AnsiString PicturePath() const override { return main_->curPicPath; }
  AnsiString SizeTempPath() const override { return main_->document.sizeTempDir; }
  int NextPicNumber() override { return ++main_->picCounter; }
  HWND InsertTarget() const override { return main_->Handle(); }
  TResizeSettings Settings() const override {
    return TResizeSettings{main_->resizeWidth, main_->resizeHeight, main_->resizeMode};
  }
  void StoreSettings(const TResizeSettings& settings) override {
    main_->resizeWidth = settings.width;
    main_->resizeHeight = settings.height;
    main_->resizeMode = settings.mode;
  }

 private:
  TfrmMain* main_;
};

TResizeHost* TfrmMain::ResizeHost() {
  if (!resizeHost) resizeHost = std::make_shared<MainWindowResizeHost>(this);
  return resizeHost.get();
}

void TfrmMain::resize_popClick(TObject*) {
  if (!IsPage(document.CurrentPage()) || selection != StripSelection::kPicture) return;
  const TMmsFrame* frame = Mms()->Body->GetFrame(document.CurrentPage());
  curPicPath = PicturePathOf(frame).c_str();
  if (curPicPath.IsEmpty()) return;

  // One dialog at a time: the previous one (with its decoded picture) goes first.
  delete pPicResize;
  pPicResize = nullptr;
  pPicResize = TPicResize::New(this, ResizeHost());
  resizeFrame = frame;
  resizeFramePicture = curPicPath;
  pPicResize->Show();
  pPicResize->BringToFront();

  resizeImage.reset();
  resizeImage = std::make_unique<IxImage>(curPicPath.c_str(), PictureFormatOf(curPicPath));
  const int width = int(resizeImage->GetWidth()), height = int(resizeImage->GetHeight());

  TImage* preview = pPicResize->Image1;
  preview->SetStretch(preview->Height() < height || preview->Width() < width);
  if (height > kPreviewHeight) {
    const int fitted = width * kPreviewHeight / height;
    preview->SetHeight(kPreviewHeight);
    preview->SetWidth(fitted);
    if (fitted < kPreviewWidth) preview->SetLeft(kPreviewLeft + (kPreviewWidth - fitted) / 2);
  }
  if (width > kPreviewWidth) {
    const int fitted = height * kPreviewWidth / width;
    preview->SetWidth(kPreviewWidth);
    preview->SetHeight(fitted);
    if (fitted < kPreviewHeight) preview->SetTop(kPreviewTop + (kPreviewHeight - fitted) / 2);
  }
  pPicResize->lb_Qulity->SetCaption("100%  (" + IntToStr(pPicResize->TrackBar2->Position()) + "%)");
  pPicResize->lb_res->SetCaption(IntToStr(width) + " * " + IntToStr(height) + "  (" +
                                 IntToStr(pPicResize->TrackBar1->Position()) + "%)");
  pPicResize->ShowPreview(curPicPath);
}

void TfrmMain::btnResizeClick(TObject* sender) { resize_popClick(sender); }

void TfrmMain::btnSelectClick(TObject*) {
  std::unique_ptr<TResizeForm> dialog(TResizeForm::New(this, ResizeHost()));
  dialog->ShowModal();
}

void TfrmMain::Select_popClick(TObject* sender) { btnSelectClick(sender); }

void TfrmMain::WMInsertPicture(TMessage& message) {
  message.Result = 0;
  const char* text = reinterpret_cast<const char*>(message.LParam);
  if (!text || !*text || !Mms() || !resizeFrame) return;
  const AnsiString path(text);
  // The page the dialog was opened for, if it is still there with the same picture.
  int page = -1;
  for (int i = 0; i < Mms()->Body->GetFrameCount() && page < 0; ++i)
    if (Mms()->Body->GetFrame(i) == resizeFrame) page = i;
  if (page < 0 || PicturePathOf(resizeFrame) != resizeFramePicture.c_str()) return;
  document.SetCurrentPage(page);
  selection = StripSelection::kPicture;

  if (!CheckMmsSize()) {
    // Only an insertion that took place is measured; one over the limit is taken back and the
    // page gets its own picture again.
    if (InsertKeepingLimit(TMediaItem::kImage, [this, path] { return InsertPicture(path); }) == 0)
      resizeFramePicture = PicturePathOf(Mms()->Body->GetFrame(page)).c_str();
  }
  RefreshFrameList();
}
