#include "editor/TfrmMainControls.h"

#include "controls/TImButton.h"
#include "controls/TQvBackImage.h"
#include "platform/forms/TCustomActionList.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TMenuItem.h"
#include "platform/forms/TOpenDialog.h"
#include "platform/forms/TPanel.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/forms/TSaveDialog.h"
#include "platform/forms/TScrollBar.h"
#include "platform/forms/TTimer.h"
#include "platform/rtl/Exceptions.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcImage.h"
#include "unicode/TUcLabel.h"
#include "unicode/TUcMenuItem.h"
#include "unicode/TUcPopupMenu.h"

namespace {

// Finds a component the layout must have made; a layout without it is a broken build.
template <class T>
void Bind(TComponent* form, T*& field, const char* name) {
  field = dynamic_cast<T*>(form->FindComponent(name));
  if (!field) throw Exception(AnsiString("The main window's layout has no ") + name);
}

}  // namespace

void TfrmMainControls::FindControls(TComponent* form) {
  Bind(form, QvBackImage2, "QvBackImage2");
  Bind(form, Image_Main, "Image_Main");
  Bind(form, MMSTitle, "MMSTitle");
  Bind(form, CloseBtn, "CloseBtn");
  Bind(form, subject, "subject");
  Bind(form, memo_title, "memo_title");
  Bind(form, subject_size, "subject_size");
  Bind(form, CurDur, "CurDur");
  Bind(form, Edit_Cur, "Edit_Cur");
  Bind(form, UpBtn, "UpBtn");
  Bind(form, DownBtn, "DownBtn");
  Bind(form, lbl2, "lbl2");
  Bind(form, labMMSSize, "labMMSSize");
  Bind(form, Label_Size, "Label_Size");
  Bind(form, length, "length");
  Bind(form, Label_Time, "Label_Time");
  Bind(form, lbl5, "lbl5");
  Bind(form, Label2, "Label2");
  Bind(form, Label3, "Label3");
  Bind(form, Label4, "Label4");
  Bind(form, imgFrameList, "imgFrameList");
  Bind(form, scrBarFrameList, "scrBarFrameList");
  Bind(form, pnl1, "pnl1");
  Bind(form, imgMivora, "imgMivora");
  Bind(form, btnNewFrame, "btnNewFrame");
  Bind(form, btnDelFrame, "btnDelFrame");
  Bind(form, btnDrafts, "btnDrafts");
  Bind(form, btnSend, "btnSend");
  Bind(form, btnNew, "btnNew");
  Bind(form, btnOpen, "btnOpen");
  Bind(form, ImageEdit, "ImageEdit");
  Bind(form, TextEdit, "TextEdit");
  Bind(form, BtnAudioEditor, "BtnAudioEditor");
  Bind(form, btnSelect, "btnSelect");
  Bind(form, btnResize, "btnResize");
  Bind(form, btnCut, "btnCut");
  Bind(form, btnCopy, "btnCopy");
  Bind(form, btnPaste, "btnPaste");
  Bind(form, btnHelp, "btnHelp");
  Bind(form, btnFileMenu, "btnFileMenu");
  Bind(form, btnEditMenu, "btnEditMenu");
  Bind(form, btnInsertMenu, "btnInsertMenu");
  Bind(form, btnMivora, "btnMivora");
  Bind(form, btnHelpMenu, "btnHelpMenu");
  Bind(form, pmFile, "pmFile");
  Bind(form, pmEdit, "pmEdit");
  Bind(form, pmInsert, "pmInsert");
  Bind(form, pmMivora, "pmMivora");
  Bind(form, pmHelp, "pmHelp");
  Bind(form, New, "New");
  Bind(form, Open, "Open");
  Bind(form, Menu_Send, "Menu_Send");
  Bind(form, SaveAsDraft, "SaveAsDraft");
  Bind(form, SaveAs, "SaveAs");
  Bind(form, Exit, "Exit");
  Bind(form, Cut, "Cut");
  Bind(form, copy, "copy");
  Bind(form, paste, "paste");
  Bind(form, Delete, "Delete");
  Bind(form, PictureEdit, "PictureEdit");
  Bind(form, AudioEdit, "AudioEdit");
  Bind(form, TextEditor, "TextEditor");
  Bind(form, Language, "Language");
  Bind(form, MenuItem_CHN, "MenuItem_CHN");
  Bind(form, MenuItem_ENG, "MenuItem_ENG");
  Bind(form, InsertPictureItem, "InsertPicture");
  Bind(form, InsertAudioItem, "InsertAudio");
  Bind(form, InsertTextItem, "InsertText");
  Bind(form, MenuItem_Preview, "MenuItem_Preview");
  Bind(form, Menu_NewFrame, "Menu_NewFrame");
  Bind(form, Menu_DeleteFrame, "Menu_DeleteFrame");
  Bind(form, AboutMenu, "AboutMenu");
  Bind(form, HelpMenu, "HelpMenu");
  Bind(form, UcPopupMenu1, "UcPopupMenu1");
  Bind(form, insert_pop, "insert_pop");
  Bind(form, delete_pop, "delete_pop");
  Bind(form, Select_pop, "Select_pop");
  Bind(form, resize_pop, "resize_pop");
  Bind(form, Timer1, "Timer1");
  Bind(form, Timer2, "Timer2");
  Bind(form, actlst1, "actlst1");
  Bind(form, dlgOpen, "dlgOpen");
  Bind(form, dlgSave, "dlgSave");
}
