#include "editor/TfrmMain.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <memory>

#include "controls/TImButton.h"
#include "controls/TQvBackImage.h"
#include "editor/EditorAppFolder.h"
#include "editor/EditorResources.h"
#include "editor/TFrameBox.h"
#include "editor/TImgFileManager.h"
#include "editor/TMmsViewer.h"
#include "editor/TMsgBox.h"
#include "editor/WorkingArea.h"
#include "imagelib/IxImage.h"
#include "mms/TK3VNMms.h"
#include "mms/TMmsBody.h"
#include "pictures/gif/GIFSettings.h"
#include "pictures/gif/TGIFImage.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TBitmap.h"
#include "platform/forms/TCustomActionList.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TMenuItem.h"
#include "platform/forms/TOpenDialog.h"
#include "platform/forms/TPanel.h"
#include "platform/forms/TPicture.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/forms/TSaveDialog.h"
#include "platform/forms/TScrollBar.h"
#include "platform/forms/TTimer.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/SysUtils.h"

TfrmMain* frmMain = nullptr;
TImgFileManager* pImgFileManager = nullptr;
TPicResize* pPicResize = nullptr;
bool silentDelete = false;

namespace {

// Width of one page's cell in the slide strip.
constexpr int kCellWidth = 100;
// The scroll bar shows from this many pages on: two cells fit the strip.
constexpr int kPagesWithScrollBar = 3;
// The working folders in tmp/.
constexpr const char* kTxtFolder = MessageDocument::kTxtFolder;
constexpr const char* kImageFolder = MessageDocument::kImageFolder;
constexpr const char* kVideoFolder = MessageDocument::kVideoFolder;
constexpr const char* kAudioFolder = MessageDocument::kAudioFolder;
constexpr const char* kSendFolder = MessageDocument::kSendFolder;
constexpr const char* kPreviewFolder = MessageDocument::kPreviewFolder;
constexpr const char* kSizeTempFolder = MessageDocument::kSizeTempFolder;

}  // namespace

TfrmMain::TfrmMain(TComponent* owner) : TForm(owner) {
  // GIF pictures load by file name and travel through the clipboard under the editor's names.
  TPicture::RegisterFileFormat<TGIFImage>("gif", "GIF   File", "TGIFImage");
  CF_GIF = RegisterClipboardFormatA("GIF   File");
  // The document's build faults reach the user in the message box.
  document.warn = [](const char* key) { ShowMsgBox(key); };
  document.exeDir = EditorAppFolder();
  document.pictureDropped = [this](const std::string& path) { DropCachedPicture(path); };
  CreateTempFolders();
  TruncateTextFiles();
  ClearTempFolders();
}

TfrmMain::~TfrmMain() {
  if (imgFrameList &&
      imgFrameList->WindowProc == TWndMethodValue::Of<TfrmMain, &TfrmMain::StripWndProc>(this)) {
    imgFrameList->WindowProc = stripWindowProc;
  }
  ReleaseBitmaps();
  document.ReplaceMessage(nullptr);
  pPicResize = nullptr;  // an owned component: freed with the window's other components
  resizeImage.reset();
  ClearTempFolders();
  // The working folders are no longer used: another editor may have them.
  workarea::ReleaseWorkingArea();
  delete pImgFileManager;
  pImgFileManager = nullptr;
  if (frmMain == this) frmMain = nullptr;
}

void TfrmMain::Loaded() {
  TForm::Loaded();
  FindControls(this);

  Label_Size->SetCaption("0");
  Label_Time->SetCaption("0");
  // The strip narrows its hints to the band under the pointer.
  stripWindowProc = imgFrameList->WindowProc;
  imgFrameList->WindowProc = TWndMethodValue::Of<TfrmMain, &TfrmMain::StripWndProc>(this);
  // No page is selected yet: the duration has nothing to show.
  Edit_Cur->SetEnabled(false);
  UpBtn->SetEnabled(false);
  DownBtn->SetEnabled(false);
}

void TfrmMain::FormCreate(TObject*) {
  setCaption();
  DoubleBuffered = true;
  NewFrame();
  ClearPageCanvas();
  DrawPage(0);  // the page bitmap exists as soon as the document does
  RefreshFrameList();
  // A new message shows its size and its one second from the start, not the layout's "0".
  GetPduSize(this);
  savedSizeKB = 0;
  savedTimeSec = 0;
  subjectCut = false;
  subject_size->SetCaption(Format("(%d/%d)", {TVarRec(0), TVarRec(kSubjectLimit)}));
}

void TfrmMain::CloseBtnClick(TObject*) { Close(); }

void TfrmMain::Init() {
  document.ReplaceMessage(nullptr);
  Label_Size->SetCaption("0");
  Label_Time->SetCaption("1");
  document.SetCurrentPage(-1);
  selection = StripSelection::kNone;
  dragState = 0;
  dropTarget = -1;
  document.SetPasteCounter(0);
  savedAs = 0;
  // The strip is built anew; the page canvas keeps its bitmap (a tall one, costly to make again)
  // and is cleared below.
  stripBitmap.reset();
  NewFrame();
  // The preview shows the new document from now on.
  if (MmsViewer) MmsViewer->mms = Mms();
  ClearPageCanvas();
  DrawPage(0);  // the page bitmap exists as soon as the document does
  RefreshFrameList();
}

int TfrmMain::NewFrame() {
  if (document.AppendPage() < 0) {
    std::unique_ptr<TFrameBox> box(NewBox<TFrameBox>(this));
    box->ShowModal();
    return kTooManyPages;
  }
  ShowAppendedPage(document.CurrentPage());
  return 0;
}

void TfrmMain::ShowAppendedPage(int page) {
  UpdateStripScrollBar();
  // Bring the new page's cell into view: the strip keeps 50 pixels of margin at either end.
  EnsureVisible(page * kCellWidth, page * kCellWidth + kCellWidth - 1);
  imgFrameList->Invalidate();
}

void TfrmMain::UpdateStripScrollBar() {
  const int pages = Mms() ? Mms()->Body->GetFrameCount() : 0;
  scrBarFrameList->SetMin(0);
  scrBarFrameList->SetMax(std::max(0, pages * kCellWidth - imgFrameList->Width()));
  scrBarFrameList->SetVisible(pages >= kPagesWithScrollBar);
}

void TfrmMain::CreateTempFolders() {
  document.SetFolders();
  // Failures are left to the file operations that later need the folder.
  InWorkingFolders(
      {kTxtFolder, kImageFolder, kVideoFolder, kAudioFolder, kSendFolder, kPreviewFolder, kSizeTempFolder},
      [](int) {});
}

template <class F>
void TfrmMain::InWorkingFolders(std::initializer_list<const char*> names, F visit) {
  // Every folder is reached from tmp/ through descriptors that refuse links: whatever stands in
  // a folder's place is replaced by a real folder, and nothing outside the tree is reached.
  const int root = workarea::OwnFolder(AT_FDCWD, platform::FsPath(document.exeDir + "tmp").c_str());
  if (root < 0) return;
  const platform::ScopeExit closeRoot([root] { ::close(root); });
  for (const char* name : names) {
    const int folder = workarea::OwnFolder(root, name);
    if (folder < 0) continue;
    const platform::ScopeExit closeFolder([folder] { ::close(folder); });
    visit(folder);
  }
}

void TfrmMain::TruncateTextFiles() { InWorkingFolders({kTxtFolder}, workarea::TruncateFilesIn); }

void TfrmMain::ClearTempFolders() {
  InWorkingFolders({kTxtFolder, kImageFolder, kVideoFolder, kAudioFolder, kPreviewFolder, kSizeTempFolder},
                   workarea::DeleteFilesIn);
}

void TfrmMain::ClearPageCanvas() { pageCanvasBlanked = true; }

TBitmap* TfrmMain::PageCanvas() {
  TBitmap* canvas = imgMivora->Picture()->Bitmap();
  if (!pageCanvasBlanked) return canvas;
  pageCanvasBlanked = false;
  canvas->SetSize(imgMivora->Width(), imgMivora->Height());
  canvas->Canvas()->Brush()->SetColor(clWhite);
  canvas->Canvas()->FillRect(RECT{0, 0, imgMivora->Width(), imgMivora->Height()});
  DrawPageInto(canvas);
  return canvas;
}

void TfrmMain::SetSubjectText(const WideString& text) {
  const bool outer = subjectByCode;
  subjectByCode = true;
  platform::ScopeExit restore([&] { subjectByCode = outer; });
  memo_title->SetText(text);
}

void TfrmMain::ReleaseBitmaps() {
  stripBitmap.reset();
  pageSize.reset();
  pictureBitmap.reset();
  textBitmap.reset();
  if (imgMivora) imgMivora->Picture()->Assign(nullptr);
  pageCanvasBlanked = false;
}

void RegisterEditorForms() {
  static const bool done = [] {
    RegisterEditorResources();
    RegisterImButton();
    RegisterQvBackImage();
    RegisterProperties<TfrmMain> registration("TfrmMain", "TForm", Factory<TfrmMain>());
    registration.Handler("FormCreate", &TfrmMain::FormCreate)
        .Handler("btnNewFrameClick", &TfrmMain::btnNewFrameClick)
        .Handler("btnDelFrameClick", &TfrmMain::btnDelFrameClick)
        .Handler("TextEditClick", &TfrmMain::TextEditClick)
        .Handler("imgFrameListDblClick", &TfrmMain::imgFrameListDblClick)
        .Handler("insert_popClick", &TfrmMain::insert_popClick)
        .Handler("delete_popClick", &TfrmMain::delete_popClick)
        .Handler("actInsertAudioExecute", &TfrmMain::actInsertAudioExecute)
        .Handler("actInsertTextExecute", &TfrmMain::actInsertTextExecute)
        .Handler("actTextEditExecute", &TfrmMain::actTextEditExecute)
        .Handler("actDeleteExecute", &TfrmMain::actDeleteExecute)
        .Handler("actNewPageExecute", &TfrmMain::actNewPageExecute)
        .Handler("actDeletePageExecute", &TfrmMain::actDeletePageExecute)
        .Handler("CloseBtnClick", &TfrmMain::CloseBtnClick)
        .Handler("durChange", &TfrmMain::durChange)
        .Handler("FrameDurPress", &TfrmMain::FrameDurPress)
        .Handler("Edit_CurExit", &TfrmMain::Edit_CurExit)
        .Handler("upbtnCllick", &TfrmMain::upbtnCllick)
        .Handler("DownbtnCllick", &TfrmMain::DownbtnCllick)
        .Handler("UpBtnMouseDown", &TfrmMain::UpBtnMouseDown)
        .Handler("UP_OnMouseUp", &TfrmMain::UP_OnMouseUp)
        .Handler("Down_MouseDown", &TfrmMain::Down_MouseDown)
        .Handler("own_MouseUP", &TfrmMain::own_MouseUP)
        .Handler("TimerBegin", &TfrmMain::TimerBegin)
        .Handler("Timer2Begin", &TfrmMain::Timer2Begin)
        .Handler("memo_titleChange", &TfrmMain::memo_titleChange)
        .Handler("memo_titleKeyPress", &TfrmMain::memo_titleKeyPress)
        .Handler("imgFrameListMouseDown", &TfrmMain::imgFrameListMouseDown)
        .Handler("imgFrameListMouseMove", &TfrmMain::imgFrameListMouseMove)
        .Handler("imgFrameListMouseUp", &TfrmMain::imgFrameListMouseUp)
        .Handler("scrBarFrameListScroll", &TfrmMain::scrBarFrameListScroll)
        .Handler("PopupMenu1Popup", &TfrmMain::PopupMenu1Popup)
        .Handler("FormResize", &TfrmMain::FormResize)
        .Handler("FormMouseMove", &TfrmMain::FormMouseMove)
        .Handler("imgMivoraMouseDown", &TfrmMain::imgMivoraMouseDown)
        .Handler("imgMivoraMouseMove", &TfrmMain::imgMivoraMouseMove)
        .Handler("imgMivoraMouseUp", &TfrmMain::imgMivoraMouseUp)
        .Handler("MenuItem_CHNClick", &TfrmMain::MenuItem_CHNClick)
        .Handler("MenuItem_ENGClick", &TfrmMain::MenuItem_ENGClick)
        .Handler("btnNewFrameOwnerDraw", &TfrmMain::btnNewFrameOwnerDraw)
        .Handler("btnDelFrameOwnerDraw", &TfrmMain::btnDelFrameOwnerDraw)
        .Handler("btnSendOwnerDraw", &TfrmMain::btnSendOwnerDraw)
        .Handler("btnDraftsOwnerDraw", &TfrmMain::btnDraftsOwnerDraw)
        .Handler("resize_popClick", &TfrmMain::resize_popClick)
        .Handler("btnResizeClick", &TfrmMain::btnResizeClick)
        .Handler("btnSelectClick", &TfrmMain::btnSelectClick)
        .Handler("Select_popClick", &TfrmMain::Select_popClick)
        .Handler("actAntherExecute", &TfrmMain::actAntherExecute)
        .Handler("actSendExecute", &TfrmMain::actSendExecute)
        .Handler("btnSendClick", &TfrmMain::btnSendClick)
        .Handler("actDraftsExecute", &TfrmMain::actDraftsExecute)
        .Handler("SaveAsDraftClick", &TfrmMain::SaveAsDraftClick)
        .Handler("FormCloseQuery", &TfrmMain::FormCloseQuery)
        .Handler("actOpenExecute", &TfrmMain::actOpenExecute)
        .Handler("actCopyExecute", &TfrmMain::actCopyExecute)
        .Handler("actCutExecute", &TfrmMain::actCutExecute)
        .Handler("actPasteExecute", &TfrmMain::actPasteExecute);
    RegisterMainCommands(registration);
    return true;
  }();
  (void)done;
}

bool TfrmMain::IsPage(int index) const { return document.IsPage(index); }
