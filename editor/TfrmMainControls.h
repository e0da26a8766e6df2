// TfrmMainControls: the controls of the main window's layout (resources/forms/TfrmMain.layout),
// which the window finds by name once the layout is read (TfrmMain::Loaded). The window owns the
// controls; these are plain pointers to them, null until the layout is read.
#pragma once

class TActionList;
class TComponent;
class TEdit;
class TImButton;
class TImage;
class TLabel;
class TMenuItem;
class TOpenDialog;
class TPanel;
class TPopupMenu;
class TQvBackImage;
class TSaveDialog;
class TScrollBar;
class TTimer;
class TUcEdit;
class TUcImage;
class TUcLabel;
class TUcMenuItem;
class TUcPopupMenu;

struct TfrmMainControls {
  // Finds every control by its name among the form's components; a layout without one of them
  // raises an Exception naming it (a broken build, not a user's fault).
  void FindControls(TComponent* form);

  TQvBackImage* QvBackImage2 = nullptr;  // the skinned background, whole client area
  TImage* Image_Main = nullptr;          // the title band
  TUcLabel* MMSTitle = nullptr;
  TImButton* CloseBtn = nullptr;
  TUcLabel* subject = nullptr;
  TUcEdit* memo_title = nullptr;  // the subject
  TLabel* subject_size = nullptr;
  TUcLabel* CurDur = nullptr;
  TEdit* Edit_Cur = nullptr;  // the current page's duration in seconds
  TImButton* UpBtn = nullptr;
  TImButton* DownBtn = nullptr;
  TLabel* lbl2 = nullptr;
  TUcLabel* labMMSSize = nullptr;
  TLabel* Label_Size = nullptr;  // message size in KB
  TUcLabel* length = nullptr;
  TLabel* Label_Time = nullptr;  // total time in seconds
  TLabel* lbl5 = nullptr;
  TUcLabel* Label2 = nullptr;
  TUcLabel* Label3 = nullptr;
  TUcLabel* Label4 = nullptr;
  TUcImage* imgFrameList = nullptr;  // the slide strip
  TScrollBar* scrBarFrameList = nullptr;
  TPanel* pnl1 = nullptr;       // hosts the preview window
  TImage* imgMivora = nullptr;  // the hidden page-layout canvas
  TImButton* btnNewFrame = nullptr;
  TImButton* btnDelFrame = nullptr;
  TImButton* btnDrafts = nullptr;
  TImButton* btnSend = nullptr;
  // Hidden buttons: their commands are reached through shortcuts and menus.
  TImButton* btnNew = nullptr;
  TImButton* btnOpen = nullptr;
  TImButton* ImageEdit = nullptr;
  TImButton* TextEdit = nullptr;
  TImButton* BtnAudioEditor = nullptr;
  TImButton* btnSelect = nullptr;
  TImButton* btnResize = nullptr;
  TImButton* btnCut = nullptr;
  TImButton* btnCopy = nullptr;
  TImButton* btnPaste = nullptr;
  TImButton* btnHelp = nullptr;
  TImButton* btnFileMenu = nullptr;
  TImButton* btnEditMenu = nullptr;
  TImButton* btnInsertMenu = nullptr;
  TImButton* btnMivora = nullptr;
  TImButton* btnHelpMenu = nullptr;
  // The drop-down menus of those five buttons and their entries.
  TPopupMenu* pmFile = nullptr;
  TPopupMenu* pmEdit = nullptr;
  TPopupMenu* pmInsert = nullptr;
  TPopupMenu* pmMivora = nullptr;
  TPopupMenu* pmHelp = nullptr;
  TMenuItem* New = nullptr;
  TMenuItem* Open = nullptr;
  TMenuItem* Menu_Send = nullptr;
  TMenuItem* SaveAsDraft = nullptr;
  TMenuItem* SaveAs = nullptr;
  TMenuItem* Exit = nullptr;
  TMenuItem* Cut = nullptr;
  TMenuItem* copy = nullptr;
  TMenuItem* paste = nullptr;
  TMenuItem* Delete = nullptr;
  TMenuItem* PictureEdit = nullptr;
  TMenuItem* AudioEdit = nullptr;
  TMenuItem* TextEditor = nullptr;
  TMenuItem* Language = nullptr;
  TMenuItem* MenuItem_CHN = nullptr;
  TMenuItem* MenuItem_ENG = nullptr;
  TMenuItem* InsertPictureItem = nullptr;  // the menu entry "InsertPicture"
  TMenuItem* InsertAudioItem = nullptr;    // the menu entry "InsertAudio"
  TMenuItem* InsertTextItem = nullptr;     // the menu entry "InsertText"
  TMenuItem* MenuItem_Preview = nullptr;
  TMenuItem* Menu_NewFrame = nullptr;
  TMenuItem* Menu_DeleteFrame = nullptr;
  TMenuItem* AboutMenu = nullptr;
  TMenuItem* HelpMenu = nullptr;
  // The slide strip's popup menu.
  TUcPopupMenu* UcPopupMenu1 = nullptr;
  TUcMenuItem* insert_pop = nullptr;
  TUcMenuItem* delete_pop = nullptr;
  TUcMenuItem* Select_pop = nullptr;
  TUcMenuItem* resize_pop = nullptr;
  TTimer* Timer1 = nullptr;  // steps the duration up while UpBtn is held
  TTimer* Timer2 = nullptr;  // steps it down while DownBtn is held
  TActionList* actlst1 = nullptr;
  TOpenDialog* dlgOpen = nullptr;
  TSaveDialog* dlgSave = nullptr;
};
