#include "editor/TfrmTextEditor.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "controls/TImButton.h"
#include "editor/EditorResources.h"
#include "editor/TEditorBox.h"
#include "editor/TMsgBox.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TOpenDialog.h"
#include "platform/gdi/Gdi.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/Backend.h"
#include "platform/win/Win.h"

namespace {

constexpr WPARAM kMoveWithMouse = 0xF012;
constexpr char16_t kByteOrderMark = 0xFEFF;

template <class T>
T* Need(TComponent* form, const char* name) {
  T* found = dynamic_cast<T*>(form->FindComponent(name));
  if (!found) throw Exception(AnsiString("The text editor's layout has no ") + name);
  return found;
}

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// The text of `key` on a button's canvas at (x, y), in the button's font, over its face.
void DrawText(TObject* sender, TCanvas* canvas, const char* key, bool centred, int x, int y) {
  auto* button = dynamic_cast<TImButton*>(sender);
  if (!button || !canvas) return;
  const WideString text = ResStringManager.GetString(key);
  if (text.IsEmpty()) return;
  canvas->Font()->Assign(button->Font());
  if (centred) {
    SIZE size{0, 0};
    GetTextExtentPoint32W(canvas->Handle(), text.c_bstr(), text.Length(), &size);
    x = (button->Width() - size.cx) / 2;
    y = (button->Height() - size.cy) / 2;
  }
  const int oldMode = SetBkMode(canvas->Handle(), TRANSPARENT);
  TextOutW(canvas->Handle(), x, y, text.c_bstr(), text.Length());
  SetBkMode(canvas->Handle(), oldMode);
}

}  // namespace

TfrmTextEditor::TfrmTextEditor(TComponent* owner, const AnsiString& path, MessageDocument* document)
    : TForm(owner), filePath_(path), document_(document) {
  RegisterTextEditor();
}

TfrmTextEditor* TfrmTextEditor::New(TComponent* owner, const AnsiString& path, MessageDocument* document) {
  std::unique_ptr<TfrmTextEditor> window(new TfrmTextEditor(owner, path, document));
  window->AfterConstruction();
  window->edited_ = false;
  window->setCaption();
  window->caretToEnd_ = false;
  window->FormCreate(window.get());
  return window.release();
}

TfrmTextEditor* TfrmTextEditor::New(TComponent* owner) { return New(owner, AnsiString()); }

void TfrmTextEditor::Loaded() {
  TForm::Loaded();
  image_text = Need<TImage>(this, "image_text");
  Label1 = Need<TUcLabel>(this, "Label1");
  Label2 = Need<TUcLabel>(this, "Label2");
  lblCount = Need<TLabel>(this, "lblCount");
  Image1 = Need<TImage>(this, "Image1");
  MeContent = Need<TUcMemo>(this, "MeContent");
  btnOK = Need<TImButton>(this, "btnOK");
  btnCancle = Need<TImButton>(this, "btnCancle");
  btnOpenFile = Need<TImButton>(this, "btnOpenFile");
  ImButton2 = Need<TImButton>(this, "ImButton2");
  dlgOpen1 = Need<TOpenDialog>(this, "dlgOpen1");
  UcActionList1 = Need<TUcActionList>(this, "UcActionList1");
}

void TfrmTextEditor::FormCreate(TObject*) {
  SetMemoUnits(u"");
  lblCount->SetCaption("(0/1000)");
  LoadFile();
}

std::u16string TfrmTextEditor::TextUnits() { return MeContent->Text().ToU16(); }

void TfrmTextEditor::SetMemoUnits(const std::u16string& text) { MeContent->SetText(WideString(text)); }

AnsiString TfrmTextEditor::GetFileExt(const AnsiString& path) {
  const std::string p = path.c_str();
  const size_t slash = p.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? p : p.substr(slash + 1);
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? AnsiString() : AnsiString(name.substr(dot + 1));
}

int TfrmTextEditor::LoadFile() {
  if (filePath_.IsEmpty()) return kNoPath;
  if (FileExists(filePath_)) {
    LoadTextFile(filePath_);
  } else {
    const int fd = ::open(platform::FsPath(filePath_).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) ::close(fd);
  }
  edited_ = false;
  return 0;
}

int TfrmTextEditor::LoadTextFile(const AnsiString& path) {
  if (path.IsEmpty()) return kNoPath;
  if (!FileExists(path)) return kNoSuchFile;
  if (GetFileExt(path) != "txt") return kRefused;
  const int fd = ::open(platform::FsPath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return kCannotOpen;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return kCannotOpen;
  }
  const size_t size = size_t(st.st_size);
  if (size == 0) {
    ::close(fd);
    return 0;
  }
  auto refuse = [this] {
    ShowMsgBox("STR_Main_Text_Message");
    SetMemoUnits(u"");
    return kRefused;
  };
  if (size > kMaxFileBytes) {
    ::close(fd);
    return refuse();
  }
  std::string bytes(size, '\0');
  size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, bytes.data() + got, size - got);
    if (n <= 0) break;
    got += size_t(n);
  }
  ::close(fd);
  bytes.resize(got & ~size_t(1));  // an odd last byte is no unit
  std::u16string text(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < text.size(); ++i)
    text[i] = char16_t(uint8_t(bytes[2 * i]) | (uint8_t(bytes[2 * i + 1]) << 8));
  // The marks stay out of the memo; a file with any counts one unit for it, as the window's own
  // files do.
  size_t marks = 0;
  while (marks < text.size() && text[marks] == kByteOrderMark) ++marks;
  text.erase(0, marks);
  if (text.size() + (marks ? 1 : 0) > size_t(kMaxChars) + 1) return refuse();
  SetMemoUnits(text);
  return 0;
}

void TfrmTextEditor::MeContent1Change(TObject*) {
  if (!MeContent || !lblCount) return;  // the layout is still being read
  if (document_) document_->SetModified(true);
  edited_ = true;
  // Counted in UTF-16 units of the memo's wide text, so a letter the code page lacks is kept
  // and counted as it is (a pair as two).
  std::u16string text = TextUnits();
  const int count = int(text.size());
  if (count > kMaxChars) {
    // Never half of a surrogate pair: the text travels as UTF-16 and UTF-8.
    size_t cut = kMaxChars;
    if (IsHighSurrogate(text[cut - 1])) --cut;
    text.resize(cut);
    caretToEnd_ = true;
    SetMemoUnits(text);  // runs this again
    MeContent->SetSelStart(int(MeContent->Text().Length()));
    return;
  }
  lblCount->Font()->SetColor(count == kMaxChars ? TColor(0x0000FF) : clBlack);
  lblCount->SetCaption(Format("(%d/%d)", {TVarRec(count), TVarRec(kMaxChars)}));
  if (caretToEnd_) {
    MeContent->SetSelStart(int(MeContent->Text().Length()));
    caretToEnd_ = false;
  }
}

void TfrmTextEditor::TextKeyPress(TObject*, char& key) {
  const int count = int(TextUnits().size());
  if (count == kMaxChars - 1 && key == 13) {
    key = 0;  // a line break takes two units
    return;
  }
  if (count >= kMaxChars && MeContent->SelLength() == 0) {
    if (key == 8 || key == 26 || key == 3 || key == 24) return;
    key = 0;
  }
}

void TfrmTextEditor::MeContent1KeyDown(TObject*, WORD& key, TShiftState shift) {
  if ((shift & ssCtrl) && (key == 65 || key == 97)) MeContent->SelectAll();
}

bool TfrmTextEditor::Save() {
  const std::string target = platform::FsPath(filePath_);
  if (!FileExists(filePath_)) {
    const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
      ShowMsgBox("STR_TextEdit_SaveError");
      return false;
    }
    ::close(fd);
  }
  if (edited_) {
    // The memo's lines as one FF FE mark and the window's text in UTF-16LE, replacing the file
    // only once the whole text is written. The 8-bit path is the file system's name of the file
    // (UTF-8), whatever the code page.
    try {
      MeContent->Lines()->SaveToFile(WideString(platform::Utf8ToUtf16(target)));
    } catch (Exception&) {
      ShowMsgBox("STR_TextEdit_SaveError");
      return false;
    }
  }
  edited_ = false;
  return true;
}

void TfrmTextEditor::btnOKClick(TObject*) {
  // OK closes with 1 unless the text could not be kept; then the window stays for another try.
  ModalResult = mrOk;
  if (!Save()) {
    ModalResult = mrNone;
    return;
  }
  Close();
}

void TfrmTextEditor::btnCancleClick(TObject*) { Close(); }

void TfrmTextEditor::ImButton2Click(TObject*) { Close(); }

void TfrmTextEditor::btnOpenFileClick(TObject*) {
  dlgOpen1->SetTitle(AnsiString(ResStringManager.GetString("STR_Main_DialogTitle_Txt")));
  dlgOpen1->SetFilter(AnsiString(ResStringManager.GetString("STR_Main_DialogFilter_Txt")));
  if (!dlgOpen1->Execute()) return;
  const AnsiString path = dlgOpen1->FileName();
  if (!FileExists(path)) return;
  const AnsiString ext = GetFileExt(path);
  if (ext == "txt" || ext == "TXT") {
    if (LoadTextFile(path) == 0) edited_ = true;
  } else {
    ShowMsgBox("STR_Main_Text_Error");
  }
}

void TfrmTextEditor::FormPaint(TObject*) {
  for (TImButton* button : {btnOK, btnCancle})
    if (!button->Visible()) button->SetVisible(true);
}

void TfrmTextEditor::TextMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
  if (button != mbLeft) return;
  ReleaseCapture();
  SendMessageW(Handle(), WM_SYSCOMMAND, kMoveWithMouse, 0);
}

void TfrmTextEditor::btnOKOwnerDraw(TObject* sender, TCanvas* canvas, const RECT&, int, int&) {
  DrawText(sender, canvas, "STR_TextEdit_Finish ", false, 18, 0);
}

void TfrmTextEditor::btnCancleOwnerDraw(TObject* sender, TCanvas* canvas, const RECT&, int, int&) {
  DrawText(sender, canvas, "STR_TextEdit_Cancle ", false, 14, 0);
}

void TfrmTextEditor::btnOpenFileOwnerDraw(TObject* sender, TCanvas* canvas, const RECT&, int, int&) {
  DrawText(sender, canvas, "STR_TextEdit_OpenFile ", true, 0, 0);
}

void TfrmTextEditor::setCaption() {
  Label1->SetCaption(ResStringManager.GetString("STR_TextEdit_Title"));
  Label2->SetCaption(ResStringManager.GetString("STR_TextEdit_Hint"));
  for (TImButton* button : {btnOpenFile, btnOK, btnCancle}) button->Invalidate();
}

void TfrmTextEditor::WMRefreshCaption(TMessage&) { setCaption(); }

void TfrmTextEditor::WndProc(TMessage& message) {
  if (message.Msg == WM_REFRESHCAPTION) {
    WMRefreshCaption(message);
    return;
  }
  TForm::WndProc(message);
}

void TfrmTextEditor::DescribeModal(platform::win::ModalInfo& info) {
  auto add = [&info](const WideString& text) { info.texts.emplace_back(text.c_bstr(), text.Length()); };
  add(Label1->Caption());
  add(Label2->Caption());
  add(WideString(lblCount->Caption()));
}

AnsiString RunTextEditor(TfrmMain* owner, const AnsiString& path) {
  std::unique_ptr<TfrmTextEditor> window(
      TfrmTextEditor::New(owner, path, owner ? &owner->Document() : nullptr));
  window->ShowModal();
  return window->FilePath();
}

void RegisterTextEditor() {
  static const bool done = [] {
    RegisterEditorResources();
    RegisterImButton();
    RegisterProperties<TfrmTextEditor>("TfrmTextEditor", "TForm")
        .Handler("FormPaint", &TfrmTextEditor::FormPaint)
        .Handler("MeContent1Change", &TfrmTextEditor::MeContent1Change)
        .Handler("MeContent1KeyDown", &TfrmTextEditor::MeContent1KeyDown)
        .Handler("TextKeyPress", &TfrmTextEditor::TextKeyPress)
        .Handler("btnOKClick", &TfrmTextEditor::btnOKClick)
        .Handler("btnCancleClick", &TfrmTextEditor::btnCancleClick)
        .Handler("btnOpenFileClick", &TfrmTextEditor::btnOpenFileClick)
        .Handler("ImButton2Click", &TfrmTextEditor::ImButton2Click)
        .Handler("TextMouseDown", &TfrmTextEditor::TextMouseDown)
        .Handler("btnOKOwnerDraw", &TfrmTextEditor::btnOKOwnerDraw)
        .Handler("btnCancleOwnerDraw", &TfrmTextEditor::btnCancleOwnerDraw)
        .Handler("btnOpenFileOwnerDraw", &TfrmTextEditor::btnOpenFileOwnerDraw);
    return true;
  }();
  (void)done;
}
