// The main window's texts: every caption, label, menu entry and hint from the language file, the
// owner-drawn texts of the four buttons below the slide strip, the language menu, and the reload
// that another program asks for with WM_CHANGELANGUAGE.
#include <vector>

#include "controls/TImButton.h"
#include "editor/EditorStart.h"
#include "editor/TEditorBox.h"
#include "editor/TPicResize.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TCanvas.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TMenuItem.h"

namespace {

// The dialogs told to set their texts again after a change of language, in this order.
const char* const kRefreshedTitles[] = {
    "TextEditor", "MessageBoxForm", "MsgBox", "delMessageBox", "PicResize", "ResizeSet", "FrameBox",
};

AnsiString LanguageText(const char* key) { return AnsiString(ResStringManager.GetString(key)); }

// The text of `key` on the button's canvas at (x, 0), in the button's font, over its face.
void DrawButtonText(TObject* sender, TCanvas* canvas, const char* key, int x) {
  auto* button = dynamic_cast<TImButton*>(sender);
  if (!button || !canvas) return;
  const WideString text = ResStringManager.GetString(key);
  if (text.IsEmpty()) return;
  canvas->Font()->Assign(button->Font());
  const int oldMode = SetBkMode(canvas->Handle(), TRANSPARENT);
  TextOutW(canvas->Handle(), x, 0, text.c_bstr(), text.Length());
  SetBkMode(canvas->Handle(), oldMode);
}

struct TitleSearch {
  const char* title;
  std::vector<HWND> found;
};

BOOL CollectTitled(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<TitleSearch*>(param);
  char title[64] = {};
  GetWindowTextA(window, title, sizeof title);
  if (AnsiString(title) == search->title) search->found.push_back(window);
  return TRUE;
}

}  // namespace

void TfrmMain::setCaption() {
  // Labels.
  Label2->SetCaption(ResStringManager.GetString("STR_Main_Picture"));
  Label3->SetCaption(ResStringManager.GetString("STR_Main_Text"));
  Label4->SetCaption(ResStringManager.GetString("STR_Main_Video"));
  labMMSSize->SetCaption(ResStringManager.GetString("STR_Main_MMSSize"));
  length->SetCaption(ResStringManager.GetString("STR_Main_MMSFrameSize"));
  subject->SetCaption(ResStringManager.GetString("STR_Main_Subject"));
  MMSTitle->SetCaption(ResStringManager.GetString("STR_Main_Menu_Mivora"));
  CurDur->SetCaption(ResStringManager.GetString("STR_Main_Cur_Dur"));
  lbl2->SetCaption(LanguageText("STR_Main_Dur_Unit"));
  lbl5->SetCaption(LanguageText("STR_Main_Dur_Unit"));
  // The slide strip's popup menu.
  insert_pop->SetCaption(ResStringManager.GetString("STR_Main_Menu_Insert"));
  delete_pop->SetCaption(ResStringManager.GetString("STR_Main_Menu_Edit_Delete"));
  Select_pop->SetCaption(ResStringManager.GetString("STR_Main_btnResize"));
  resize_pop->SetCaption(ResStringManager.GetString("STR_Main_Menu_resize"));
  // The drop-down buttons and the buttons reached through menus and shortcuts.
  btnFileMenu->SetCaption(LanguageText("STR_Main_Menu_File"));
  btnEditMenu->SetCaption(LanguageText("STR_Main_Menu_Edit"));
  btnInsertMenu->SetCaption(LanguageText("STR_Main_Menu_Insert"));
  btnMivora->SetCaption(LanguageText("STR_Main_Menu_Mivora"));
  btnHelpMenu->SetCaption(LanguageText("STR_Main_Menu_Help"));
  btnNew->SetCaption(LanguageText("STR_Main_New"));
  btnOpen->SetCaption(LanguageText("STR_Main_Open"));
  ImageEdit->SetCaption(LanguageText("STR_Main_ImgEdit"));
  TextEdit->SetCaption(LanguageText("STR_Main_TextEdit"));
  BtnAudioEditor->SetCaption(LanguageText("STR_Main_AudioEdit"));
  btnSelect->SetCaption(LanguageText("STR_Main_btnResize"));
  btnResize->SetCaption(LanguageText("STR_Main_Menu_resize"));
  // The drop-down menus' entries.
  New->SetCaption(LanguageText("STR_Main_Menu_File_New"));
  Open->SetCaption(LanguageText("STR_Main_Menu_File_Open"));
  Menu_Send->SetCaption(LanguageText("STR_Main_Send "));
  SaveAsDraft->SetCaption(LanguageText("STR_Main_Menu_File_SavaAsDraft"));
  SaveAs->SetCaption(LanguageText("STR_Main_Menu_File_SavaAs"));
  Exit->SetCaption(LanguageText("STR_Main_Menu_File_Exit"));
  Cut->SetCaption(LanguageText("STR_Main_Menu_Edit_Cut"));
  copy->SetCaption(LanguageText("STR_Main_Menu_Edit_Copy"));
  paste->SetCaption(LanguageText("STR_Main_Menu_Edit_Paste"));
  Delete->SetCaption(LanguageText("STR_Main_Menu_Edit_Delete"));
  PictureEdit->SetCaption(LanguageText("STR_Main_Menu_Edit_ImgEdit"));
  AudioEdit->SetCaption(LanguageText("STR_Main_Menu_Edit_VideoEdit"));
  TextEditor->SetCaption(LanguageText("STR_Main_Menu_Edit_TextEdit"));
  Language->SetCaption(LanguageText("STR_Main_Menu_View_Language"));
  MenuItem_CHN->SetCaption(LanguageText("STR_Main_Menu_View_Language_CHN"));
  MenuItem_ENG->SetCaption(LanguageText("STR_Main_Menu_View_Language_ENG"));
  InsertPictureItem->SetCaption(LanguageText("STR_Main_Menu_Insert_InsertImg"));
  InsertAudioItem->SetCaption(LanguageText("STR_Main_Menu_Insert_InsertAudio"));
  InsertTextItem->SetCaption(LanguageText("STR_Main_Menu_Insert_InsertText"));
  MenuItem_Preview->SetCaption(LanguageText("STR_Main_Menu_Mivora_Preview"));
  Menu_NewFrame->SetCaption(LanguageText("STR_Main_Menu_Mivora_NewPage"));
  Menu_DeleteFrame->SetCaption(LanguageText("STR_Main_Menu_Mivora_DeletePage"));
  AboutMenu->SetCaption(LanguageText("STR_Main_Menu_Help_About"));
  HelpMenu->SetCaption(LanguageText("STR_Main_Menu_Help_Help"));
  // Hints and the application's title (the taskbar's); the window's own title stays "Mivora".
  btnCut->SetHint(LanguageText("STR_Main_btnCut"));
  btnCopy->SetHint(LanguageText("STR_Main_btnCopy"));
  btnPaste->SetHint(LanguageText("STR_Main_btnPaste"));
  btnHelp->SetHint(LanguageText("STR_Main_btnHelp"));
  if (Application) Application->SetTitle(LanguageText("STR_Main_Menu_Mivora"));
  // The owner-drawn texts are looked up when the buttons paint.
  btnDelFrame->Invalidate();
  btnNewFrame->Invalidate();
  btnSend->Invalidate();
  btnDrafts->Invalidate();
}

void TfrmMain::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_CHANGELANGUAGE:
      WMChangeLanguage(m);
      return;
    case WM_INSERTPICTURE:
      WMInsertPicture(m);
      return;
    default:
      TForm::Dispatch(message);
  }
}

void TfrmMain::WMChangeLanguage(TMessage&) {
  ReloadLanguage();
  // Every window of this editor with the title is told, the start-up's hidden boxes as well as
  // the open ones: they share titles. Windows of other programs are never told.
  for (const char* title : kRefreshedTitles) {
    TitleSearch search{title, {}};
    EnumWindows(&CollectTitled, reinterpret_cast<LPARAM>(&search));
    for (HWND window : search.found) PostMessageA(window, WM_REFRESHCAPTION, 0, 0);
  }
}

void TfrmMain::ReloadLanguage() { ApplyLanguage(KnownLanguageIndexOf(LanguageSetting())); }

void TfrmMain::ApplyLanguage(int index) {
  // An index outside 0 to 2 (a value naming no language file) keeps the current language.
  ResStringManager.SelectLanguageFile(index);
  setCaption();
}

void TfrmMain::SelectLanguage(int index) { ResStringManager.SelectLanguageFile(index); }

void TfrmMain::MenuItem_CHNClick(TObject*) {
  MenuItem_CHN->SetChecked(true);
  MenuItem_ENG->SetChecked(false);
  SelectLanguage(0);
}

void TfrmMain::MenuItem_ENGClick(TObject*) {
  MenuItem_ENG->SetChecked(true);
  MenuItem_CHN->SetChecked(false);
  SelectLanguage(1);
}

void TfrmMain::btnNewFrameOwnerDraw(TObject* sender, TCanvas* canvas, const RECT&, int, int&) {
  DrawButtonText(sender, canvas, "STR_Main_Menu_Mivora_NewPage", 8);
}

void TfrmMain::btnDelFrameOwnerDraw(TObject* sender, TCanvas* canvas, const RECT&, int, int&) {
  DrawButtonText(sender, canvas, "STR_Main_Menu_Edit_Delete", 10);
}

void TfrmMain::btnSendOwnerDraw(TObject* sender, TCanvas* canvas, const RECT&, int, int&) {
  DrawButtonText(sender, canvas, "STR_Main_Send ", 20);
}

void TfrmMain::btnDraftsOwnerDraw(TObject* sender, TCanvas* canvas, const RECT&, int, int&) {
  DrawButtonText(sender, canvas, "STR_Main_SaveAsDraft", 12);
}
