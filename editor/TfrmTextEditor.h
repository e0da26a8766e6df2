// TfrmTextEditor: the modal window in which the user writes one slide's text. It loads the slide's
// text file (UTF-16LE, byte-order marks kept out of the text) into a Unicode memo, keeps the text
// within 1000 UTF-16 units with a live counter, and on OK writes the memo's lines back as one FF FE
// mark and the text, through a temporary renamed over the file, so a failed save leaves the file as
// it was and the window open. Its labels and memo show every script whatever the code page.
#pragma once

#include <string>

#include "platform/forms/TForm.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/WideString.h"
#include "unicode/TUcActionList.h"
#include "unicode/TUcLabel.h"
#include "unicode/TUcMemo.h"

class TCanvas;
class TImButton;
class TImage;
class TLabel;
class TOpenDialog;
class MessageDocument;
class TfrmMain;

class TfrmTextEditor : public TForm {
 public:
  // The most characters (UTF-16 units) a slide's text holds.
  static constexpr int kMaxChars = 1000;
  // A file larger than this is refused before it is read.
  static constexpr size_t kMaxFileBytes = 64 * 1024;
  // Results of LoadTextFile and LoadFile.
  static constexpr int kRefused = -1, kCannotOpen = -23, kNoPath = -24, kNoSuchFile = -25;

  // The window read from its layout, with its texts set and the file at `path` loaded (created
  // empty when missing). A change of the text marks `document` changed (null: no document is
  // told). The caller frees it.
  static TfrmTextEditor* New(TComponent* owner, const AnsiString& path, MessageDocument* document = nullptr);
  // A window for no file.
  static TfrmTextEditor* New(TComponent* owner);

  TImage* image_text = nullptr;
  TUcLabel* Label1 = nullptr;
  TUcLabel* Label2 = nullptr;
  TLabel* lblCount = nullptr;
  TImage* Image1 = nullptr;
  TUcMemo* MeContent = nullptr;
  TImButton* btnOK = nullptr;
  TImButton* btnCancle = nullptr;
  TImButton* btnOpenFile = nullptr;
  TImButton* ImButton2 = nullptr;
  TOpenDialog* dlgOpen1 = nullptr;
  TUcActionList* UcActionList1 = nullptr;

  const AnsiString& FilePath() const { return filePath_; }
  bool Edited() const { return edited_; }

  void FormCreate(TObject* sender);
  // -24 without a path; loads the file when it exists, else creates it empty; 0.
  int LoadFile();
  // 0 (also for an empty file, which leaves the memo as it is); -24 empty path; -25 missing; -1 an
  // extension other than "txt" (silently) or a text too long or a file too large (with the
  // warning, the memo emptied); -23 the file cannot be opened.
  int LoadTextFile(const AnsiString& path);
  void MeContent1Change(TObject* sender);
  void TextKeyPress(TObject* sender, char& key);
  void MeContent1KeyDown(TObject* sender, WORD& key, TShiftState shift);
  void btnOKClick(TObject* sender);
  void btnCancleClick(TObject* sender);
  void btnOpenFileClick(TObject* sender);
  void ImButton2Click(TObject* sender);
  void FormPaint(TObject* sender);
  void TextMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void btnOKOwnerDraw(TObject* sender, TCanvas* canvas, const RECT& rect, int status, int& counter);
  void btnCancleOwnerDraw(TObject* sender, TCanvas* canvas, const RECT& rect, int status, int& counter);
  void btnOpenFileOwnerDraw(TObject* sender, TCanvas* canvas, const RECT& rect, int status, int& counter);
  // The title and hint from the language file; the buttons' texts are drawn again.
  void setCaption();
  void WMRefreshCaption(TMessage& message);

  // The extension of the path's file name, without its point; empty when the name has none.
  static AnsiString GetFileExt(const AnsiString& path);
  // The memo's text as UTF-16 units.
  std::u16string TextUnits();

 protected:
  TfrmTextEditor(TComponent* owner, const AnsiString& path, MessageDocument* document);
  void Loaded() override;
  void WndProc(TMessage& message) override;
  void DescribeModal(platform::win::ModalInfo& info) override;

 private:
  // Saves the memo to the file: false after the save-error box.
  bool Save();
  void SetMemoUnits(const std::u16string& text);
  AnsiString filePath_;
  MessageDocument* document_ = nullptr;  // the message the text belongs to, not owned
  bool edited_ = false;
  bool caretToEnd_ = false;
};

// Runs the text editor modally on `path` with `owner` as its owner and answers the path it
// holds when it closes: the main window's text-editor seam.
AnsiString RunTextEditor(TfrmMain* owner, const AnsiString& path);

// Registers the window's class, its handlers and the classes of its controls for layouts.
void RegisterTextEditor();
