// TfrmMain: the editor's main window over the one message being edited. The message, its edit
// state and its working folders' paths are the document's (MessageDocument); the window makes the
// working folder tree (tmp/ in the application folder) in which every media file of the document
// lives, clears that tree at every start and orderly end, starts a new document (Init) and
// appends pages (NewFrame). The window itself is built from its layout
// (resources/forms/TfrmMain.layout), whose controls it finds by name (TfrmMainControls); the
// commands that act on the document live in files of their own. Its state is its own: other
// windows and the tests reach it through the accessors below.
#pragma once

#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

#include "editor/EncodedMessage.h"
#include "editor/MessageDocument.h"
#include "editor/StripSelection.h"
#include "editor/TfrmMainControls.h"
#include "platform/forms/TForm.h"
#include "platform/forms/TScrollBar.h"
#include "platform/rtl/AnsiString.h"
#include "platform/rtl/WideString.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcImage.h"
#include "unicode/TUcLabel.h"
#include "unicode/TUcMenuItem.h"
#include "unicode/TUcPopupMenu.h"

class TBitmap;
class TCanvas;
class TImgFileManager;
class TK3VNMms;
class TPicResize;
class TMmsFrame;
class TMediaItem;
struct TPasteRecord;
class TResizeHost;
class IxImage;

// The preview window is told which page to show with this message (lParam: the page index).
constexpr UINT WM_SHOWFRAME = 0x401;
// Another program asks the editor to take the interface language from the settings again.
constexpr UINT WM_CHANGELANGUAGE = 0x778;

class TfrmMain : public TForm, private TfrmMainControls {
 public:
  // The most pages a message holds; NewFrame refuses one more with -26.
  static constexpr int kMaxPages = MessageDocument::kMaxPages;
  static constexpr int kTooManyPages = -26;
  // The subject's limit shown by its counter, "(n/40)".
  static constexpr int kSubjectLimit = MessageDocument::kSubjectLimit;
  // A measured size of this many KB or more is over the limit (the label then shows 300).
  static constexpr int kRefusedSizeKB = 299;
  // Status codes of the commands.
  static constexpr int kRefused = -1;
  static constexpr int kNoSuchPage = -4;
  static constexpr int kCannotOpen = -23;
  static constexpr int kNoSuchFile = -25;
  static constexpr int kNothingSelected = -27;

  // Builds the working folders and empties them; the controls come with the layout.
  explicit TfrmMain(TComponent* owner);
  // Drops the document and the bitmaps and empties the working folders (Send aside).
  ~TfrmMain() override;

  // The controls of the layout, found by name once it is read (the window's own methods name
  // them directly). Pointers: callers act on the controls through them.
  const TfrmMainControls& Controls() const { return *this; }
  // The form's child controls by index, as every window has them.
  using TForm::Controls;

  // --- The state of the window ---
  // The message, its current page, whether it was changed, and its working folders.
  MessageDocument& Document() { return document; }
  const MessageDocument& Document() const { return document; }
  // The message, null until the first page is made.
  TK3VNMms* Mms() const { return document.Message(); }
  // What the slide strip has selected on the current page.
  StripSelection Selection() const { return selection; }
  void SetSelection(StripSelection value) { selection = value; }
  // The slide strip's mouse state and the page marked as drop target while dragging (-1 none).
  BYTE DragState() const { return dragState; }
  int DropTarget() const { return dropTarget; }
  void SetDrag(BYTE state, int target) {
    dragState = state;
    dropTarget = target;
  }
  // The rendered slide strip, null until it is first shown.
  TBitmap* StripBitmap() const { return stripBitmap.get(); }
  // 1 after Save As, 0 after Send or Save-to-drafts.
  BYTE SavedAs() const { return savedAs; }
  void SetSavedAs(BYTE value) { savedAs = value; }
  // The connection manager's window, null until it announced itself.
  HWND PeerWnd() const { return peerWnd; }
  void SetPeerWnd(HWND window) { peerWnd = window; }
  // The running number of the compression dialog's temporary files.
  int PicCounter() const { return picCounter; }
  // The size and time labels before the latest measurement, and their texts, which a roll-back
  // shows again exactly.
  struct MeasureLabels {
    int sizeKB = 0, timeSec = 0;
    AnsiString sizeText, timeText;
  };
  MeasureLabels SavedMeasure() const { return {savedSizeKB, savedTimeSec, savedSizeText, savedTimeText}; }
  // Raised while code (not the user) sets the subject: its change handler then leaves the
  // document's changed mark alone.
  bool SubjectByCode() const { return subjectByCode; }

  // --- Lifetime and the document ---
  void FormCreate(TObject* sender);
  // The window's own close button: closes the window (through the close question).
  void CloseBtnClick(TObject* sender);
  // Drops the document and starts a new one with one empty page; the changed mark is kept.
  void Init();
  // Appends a page of 1000 ms (creating the document first when there is none) and makes it
  // current: 0, or -26 after showing the page-limit box when the message has 20 pages already.
  int NewFrame();
  // Sets the seven folder fields and creates the folders that are missing.
  void CreateTempFolders();
  // Rewrites every regular file in TXT as one byte 0x00; links and other entries are left.
  void TruncateTextFiles();
  // Deletes the files of every working folder except Send (subfolders stay).
  void ClearTempFolders();
  // Blanks the page-layout canvas. The canvas is as tall as the longest page may be and nobody
  // sees it, so its bitmap is only made, blank, with the page drawn on it, when PageCanvas()
  // next asks for it.
  void ClearPageCanvas();
  // The page-layout canvas's bitmap, made now if it was blanked since it was last asked for.
  TBitmap* PageCanvas();
  // Shows the strip again and tells the preview window which page is current.
  void RefreshFrameList();
  // Sets the subject from code: the change this makes is not an edit of the user.
  void SetSubjectText(const WideString& text);
  // Keeps the strip's scroll bar in step with the pages: shown from 3 pages on, its range
  // the strip's width beyond the control.
  void UpdateStripScrollBar();

  // --- Building and measuring the message ---
  // The document's build (MessageDocument::BuildMms and the others), its faults shown.
  int BuildMms();
  int BuildReadablePages();
  int ComposePages(bool passRefusedPages);
  int AddFrameToMms();
  // Measures the message: size in KB (of every page that can be read) and total time into the
  // labels, the texts they showed before kept for a roll-back.
  void GetPduSize(TObject* sender = nullptr);
  // 1 (after the size warning, the label then showing 300) when the latest measurement is at
  // or over the limit, else 0.
  int CheckMmsSize();
  // Shows the size and time labels' texts from before the latest measurement again.
  void RestoreMeasure();

  // --- Deleting pages and parts of pages ---
  int DeleteSelection(int index);
  int DeleteImageItem(int index);
  void RemoveCurrentPage();
  void actDeletePageExecute(TObject* sender);
  void DeleteExecute();
  void actDeleteExecute(TObject* sender);
  void btnDelFrameClick(TObject* sender);
  void delete_popClick(TObject* sender);
  // Brings the strip popup's entries in step with the selection.
  void UpdatePopupMenu();
  // Whether the preview window is playing the slide show (nothing is deleted meanwhile).
  bool SlideShowPlaying() const;

  // --- Inserting pictures, sounds and texts ---
  int InsertPicture(const AnsiString& path);
  int InsertAudio();
  int InsertText();
  int CopyMediaFile(const AnsiString& destination, const AnsiString& source);
  int IsFileUsed(const AnsiString& path) const;
  static AnsiString GetFileExt(const AnsiString& path);
  void imgFrameListDblClick(TObject* sender);
  void insert_popClick(TObject* sender);
  void actInsertPictureExecute(const AnsiString& path);
  void actInsertAudioExecute(TObject* sender);
  void actInsertTextExecute(TObject* sender);
  void actTextEditExecute(TObject* sender);
  void TextEditClick(TObject* sender);
  // The new-page button (and a double click on a page's title band): a page is added unless
  // the message is at its limit, and taken away again when it takes the message over.
  void btnNewFrameClick(TObject* sender);
  // The menu's new page: no size check afterwards.
  void actNewPageExecute(TObject* sender);

  // --- The window's chrome and the command table ---
  // Dragging the background (or the skinned picture over it) moves the window.
  void FormMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  // Dragging the title band with the left button moves the window; no control keeps the focus.
  void Image_MainMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  // A press on the preview panel takes the focus from every control.
  void PanelMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  // The buttons the window always shows are made visible at every paint.
  void FormPaint(TObject* sender);
  void actExitExecute(TObject* sender);
  // Opens help/index.html of the application folder with the desktop's viewer, not waiting.
  void actHelpExecute(TObject* sender);
  void btnHelpClick(TObject* sender);
  // Plays the slide show in the preview window.
  void actViewerExecute(TObject* sender);
  // New message, About, and the drop-down buttons' own click: nothing, on purpose.
  void actNewExecute(TObject* sender);
  void actAboutExecute(TObject* sender);
  void BtnMenuClick(TObject* sender);
  // Delete, Alt+E, Alt+P, Alt+A, Alt+N and Alt+S: the clicks of the buttons they stand for.
  void Action1Execute(TObject* sender);
  // Delete is left to the subject and the duration edits while they have the focus.
  void Action1Update(TObject* sender);
  void Action2Execute(TObject* sender);
  void Action3Execute(TObject* sender);
  void Action4Execute(TObject* sender);
  // Sends from the main window; with another form active, cancels the compression dialog.
  void Action5Execute(TObject* sender);
  void Action6Execute(TObject* sender);
  // The text editor window, run modally for a text file: it gets the file's path and answers
  // the path it holds when it closes. Unset, the editor's own window runs; tests put another.
  using TextEditorRunner = std::function<AnsiString(TfrmMain* owner, const AnsiString& path)>;
  void SetTextEditorRunner(TextEditorRunner runner) { runTextEditor = std::move(runner); }
  bool HasTextEditorRunner() const { return static_cast<bool>(runTextEditor); }

  // --- The item and page clipboard ---
  // Copy, cut and paste act on the subject or the duration field when it has the focus, else on
  // the strip's selection.
  void actCopyExecute(TObject* sender);
  void actCutExecute(TObject* sender);
  void actPasteExecute(TObject* sender);
  // Puts the selected page or part of page `index` on the clipboard: 0, -4 or -27.
  int CopySelection(int index);
  // Each puts one block on the clipboard (nothing for a null argument): 0.
  int CopyImageItem(const TMediaItem* item);
  int CopyTextItem(const TMediaItem* item);
  int CopyAudioItem(const TMediaItem* item);
  int CopyFrame(const TMmsFrame* frame);
  // Pastes the clipboard's page before page `index`, or its item into that page (a page appended
  // when `index` is not below the page count): 0, -4 or -26. `record` learns what changed.
  int PasteClipboard(int index, TPasteRecord* record = nullptr);
  // A new item or page from the editor's own blocks (null when there is none of this run), or
  // from other programs' bitmaps and texts (null on failure).
  std::unique_ptr<TMediaItem> PasteImageItem();
  std::unique_ptr<TMediaItem> PasteTextItem();
  std::unique_ptr<TMediaItem> PasteAudioItem();
  std::unique_ptr<TMmsFrame> PasteFrame();
  std::unique_ptr<TMediaItem> PasteBitmap();
  std::unique_ptr<TMediaItem> PasteText();
  // Takes back exactly what a paste changed.
  void UndoPaste(TPasteRecord& record);

  // --- The page's duration and the subject ---
  // 1 for the keys the duration edit takes: digits and copy, backspace, paste, cut, undo.
  static int IsDurationKey(char key);
  void FrameDurPress(TObject* sender, char& key);
  // The duration edit's text became the current page's duration (whole seconds, at most 60).
  void durChange(TObject* sender);
  // Leaving the duration edit empty or at 0 shows 1: no page runs for no time.
  void Edit_CurExit(TObject* sender);
  void upbtnCllick(TObject* sender);
  void DownbtnCllick(TObject* sender);
  void UpBtnMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void UP_OnMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void Down_MouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void own_MouseUP(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void TimerBegin(TObject* sender);
  void Timer2Begin(TObject* sender);
  void memo_titleKeyPress(TObject* sender, char& key);
  void memo_titleChange(TObject* sender);
  // Shows a page's duration in the edit without writing it back to the page.
  void ShowDuration(int ms);
  // Shows the current page's duration when the edit shows another number (no current page:
  // the edit keeps what it shows).
  void ShowCurrentDuration();

  // --- The slide strip and the page-layout canvas ---
  // Makes `bitmap` the page's picture fitted to a box `boxHeight` high and `boxWidth` wide, its
  // aspect kept, never larger than the picture and at least 1 x 1 (box -1, -1: the page's "Img"
  // region), over `background` where the picture is transparent. 0 (an empty path draws
  // nothing), or -1 when there is no picture to draw or no room for it.
  int DrawPictureFitted(int page, TBitmap* bitmap, int boxHeight, int boxWidth, TColor background = clWhite);
  void BuildStrip(TBitmap* bitmap);
  void ShowStrip();
  void PaintCell(int page, TBitmap* bitmap);
  // The page whose cell holds the strip point, or -17.
  int PageAt(int x, int y) const;
  // The band under the strip point (a page's title band selects the page), none outside a cell.
  StripSelection PartAt(int x, int y) const;
  // Selects what the control point (x, y) shows.
  void SelectStripAt(int x, int y);
  void EnsureVisible(int left, int right);
  void MarkDropTarget(int page, bool mark);
  void imgFrameListMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void imgFrameListMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void imgFrameListMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void scrBarFrameListScroll(TObject* sender, TScrollCode code, int& position);
  void PopupMenu1Popup(TObject* sender);
  static constexpr int kNoPage = -17;
  // The hint of the band under control point (x, y): its language key and its hint area in
  // control coordinates; null outside every hint area.
  const char* StripHintAt(int x, int y, RECT* area) const;
  // The strip's own message handling: narrows a hint to the band under the pointer.
  void StripWndProc(TMessage& message);

  // --- The page-layout canvas (imgMivora, never shown) ---
  static constexpr int kOutsidePage = -16;
  static constexpr int kWrongSize = -14;
  // The page on the canvas: (CW - 30 - RW) / 2, 20, RW + left - 1, CH - 16.
  RECT GetPageRect() const;
  void FormResize(TObject* sender);
  void FormMouseMove(TObject* sender, TShiftState shift, int x, int y);
  // Renders the slide's picture and text and draws the page onto the canvas.
  void DrawPage(int slide);
  void DrawPageInto(TBitmap* target);
  // Draws a region's item (1 "Text", 2 "Img") at its place or at (left, top) of the page, onto
  // a page-size bitmap (`local`) or the canvas, with the outline of `outline` (0 none).
  int DrawRegionItem(int kind, TBitmap* target, bool transparent, int outline, bool local, int top = -1,
                     int left = -1);
  void DrawRegions(int kind, TBitmap* target, bool local, int outline);
  // Copies a page-size bitmap onto the canvas: 0, or -14 when its size is not the page's.
  int BlitPage(TBitmap* bitmap);
  static void DrawSelectionFrame(TCanvas* canvas, const RECT& r, int kind);
  void DrawTextLines(int slide, TBitmap* bitmap);
  void imgMivoraMouseDown(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void imgMivoraMouseMove(TObject* sender, TShiftState shift, int x, int y);
  void imgMivoraMouseUp(TObject* sender, TMouseButton button, TShiftState shift, int x, int y);
  void ClearSelection();
  void DragSelection(int dx, int dy);
  // Keeps a W x H region's proportions while a handle moves by (dx, dy); unchanged below 1 x 1.
  static void KeepAspect(int sign, int width, int height, int& dx, int& dy);
  // Gives the selected region this rectangle: 0, -16 outside the page or below 1 x 1, -4 with
  // no current slide.
  int ApplyRegionRect(int left, int top, int height, int width);
  void CommitMove();
  // The rendered text of the current page, null until a page with text is drawn.
  TBitmap* TextBitmap() const { return textBitmap.get(); }
  // The canvas's selected region (1 "Text", 2 "Img", 0 none), the resize handle under the
  // pointer (0 none) and where the region stands while it is dragged (page coordinates).
  BYTE SelectedKind() const { return selectedKind; }
  void SetSelectedKind(BYTE kind) { selectedKind = kind; }
  BYTE ResizeHandle() const { return resizeHandle; }
  POINT StoredPosition() const { return storedPosition; }
  // --- Texts and the interface language ---
  // Sets every label, caption, menu entry and hint from the current language file and redraws
  // the four owner-drawn buttons. The window's own title stays: other programs find it by it.
  void setCaption();
  // Another program announced a language change: reload it and tell every open dialog.
  void WMChangeLanguage(TMessage& message);
  // Reads the language the settings name and applies it (an unknown value keeps the current).
  void ReloadLanguage();
  // Selects the language file of `index` and sets every text again.
  void ApplyLanguage(int index);
  // Selects the language file of `index`; the texts already shown stay until the next
  // setCaption.
  void SelectLanguage(int index);
  void MenuItem_CHNClick(TObject* sender);
  void MenuItem_ENGClick(TObject* sender);
  // The owner-drawn texts of the four buttons below the strip, looked up at every paint.
  void btnNewFrameOwnerDraw(TObject* sender, TCanvas* canvas, const RECT& rect, int status, int& counter);
  void btnDelFrameOwnerDraw(TObject* sender, TCanvas* canvas, const RECT& rect, int status, int& counter);
  void btnSendOwnerDraw(TObject* sender, TCanvas* canvas, const RECT& rect, int status, int& counter);
  void btnDraftsOwnerDraw(TObject* sender, TCanvas* canvas, const RECT& rect, int status, int& counter);
  // The main window's message map: the language change and the compressed picture, then the
  // inherited handling.
  void Dispatch(void* message) override;
  // --- Compressing the selected picture and the picture-size settings ---
  // The strip's compression entry (and btnResize): opens the compression dialog on the
  // selected page's picture, the previous dialog freed first.
  void resize_popClick(TObject* sender);
  void btnResizeClick(TObject* sender);
  // The picture-size settings dialog, modal; freed when it closes.
  void btnSelectClick(TObject* sender);
  void Select_popClick(TObject* sender);
  // WM_INSERTPICTURE: the compressed picture goes onto the page the dialog was opened for,
  // under the size limit, when that page still holds the picture it was opened with.
  void WMInsertPicture(TMessage& message);
  // What the dialogs read from this window and store in it.
  TResizeHost* ResizeHost();

  // --- Saving the message to a file ---
  // Builds, encodes and writes the message to `path` (replacing a file there only once the new
  // one is complete): 1, or 0 after the save warning when the build could not take every page,
  // encoding gave no bytes or the file could not be written (an older file stays as it was).
  int SaveMmsFile(const AnsiString& path);
  // Save As: the message to a file the user chooses; SavedAs() becomes 1, the changed mark
  // stays.
  void actAntherExecute(TObject* sender);

  // --- Handing the message over to the connection manager ---
  // Results of WriteMessageFile.
  static constexpr int kWritten = EncodedMessage::kWritten, kBuildFailed = EncodedMessage::kBuildFailed,
                       kWriteFailed = EncodedMessage::kWriteFailed;
  // Builds, encodes and writes the message to `path` without a word: kWritten; kBuildFailed
  // when the build could not take every page or encoding gave no bytes; kWriteFailed when the
  // file could not be written completely (an older file stays as it was).
  int WriteMessageFile(const AnsiString& path);
  // Writes Send/TempMMS.mms and hands it over with the subject and `mode` (0 send, 2 drafts):
  // 1 when the connection manager's window took it; else 0 after a warning, with nothing of the
  // message changed.
  int SendMmsToDrafts(int mode);
  void actSendExecute(TObject* sender);
  void btnSendClick(TObject* sender);
  void actDraftsExecute(TObject* sender);
  void SaveAsDraftClick(TObject* sender);
  // Asks what to do with a changed message: keep it as a draft (closing only when that
  // succeeded), drop it, or stay.
  void FormCloseQuery(TObject* sender, bool& canClose);
  // Takes the connection manager's window from its announcement ("MsgNetAppHandle").
  void WndProc(TMessage& message) override;
  // The window takes from other programs only the language change and the announcement; every
  // other private message of theirs (some carry pointers here) is refused before it arrives.
  void CreateWnd() override;

  // --- Opening a message file ---
  // Asks first whether a changed message may be given up; then the open dialog, and the chosen
  // file replaces the message when it holds one (the changed mark kept), with a word on the parts
  // it could not keep; otherwise the open warning and nothing changes.
  void actOpenExecute(TObject* sender);
  // Opening from the command line: an empty file only sets the untitled subject; a message
  // replaces the start-up page and clears the changed mark; anything else gets the open warning.
  // A file that cannot be read raises the file stream's exception.
  void OpenMmsFile(const AnsiString& path);
  // Replaces the document with the message in `bytes`: 1; 0 with nothing changed when the bytes
  // hold no message with a slide. What the pages cannot hold is counted for ReportLeftOutParts.
  int LoadMms(const uint8_t* bytes, int count);
  // Names the left-out parts in one warning, if there are any.
  void ReportLeftOutParts();

 protected:
  void Loaded() override;

 private:
  // --- The state of the window ---
  MessageDocument document;
  StripSelection selection = StripSelection::kNone;
  BYTE dragState = 0;                    // the slide strip's mouse state
  int dropTarget = -1;                   // page marked as drop target while dragging, -1 none
  std::unique_ptr<TBitmap> stripBitmap;  // the rendered slide strip
  bool scrollAtOnce = false;             // while a message is opened: the strip jumps to a new page
  BYTE savedAs = 0;                      // 1 after Save As, 0 after Send or Save-to-drafts
  HWND peerWnd = nullptr;                // the connection manager's window, null until known
  int savedSizeKB = 0;                   // the size and time labels before the latest measurement
  int savedTimeSec = 0;
  AnsiString savedSizeText = "0";  // ... and their texts, which a roll-back shows again exactly
  AnsiString savedTimeText = "0";
  bool subjectCut = false;  // set while the subject is being cut to its limit
  // Raised while code (not the user) sets the subject: its change handler then leaves the
  // document's changed mark alone.
  bool subjectByCode = false;
  // Raised while the program (not the user) sets the duration edit's text.
  bool durationByCode = false;
  AnsiString curPicPath;  // the picture handed to the compression dialog
  int picCounter = 0;     // running number of the compression dialog's temporary files
  int resizeWidth = 640, resizeHeight = 480, resizeMode = 1;
  std::unique_ptr<IxImage> resizeImage;  // the picture opened for the compression dialog
  // The page the compression dialog was opened for (compared, never followed) and its picture.
  const TMmsFrame* resizeFrame = nullptr;
  AnsiString resizeFramePicture;
  std::shared_ptr<TResizeHost> resizeHost;
  // The text editor runner (SetTextEditorRunner); unset, the editor's own window runs.
  TextEditorRunner runTextEditor;
  // The parts the latest open left out, by kind ("2 AMR, 1 PNG"), until they are reported.
  AnsiString leftOutParts;
  // The strip's own window procedure, which StripWndProc hands every message on to.
  TWndMethodValue stripWindowProc;
  POINT stripPress{0, 0};  // the latest press or drag point on the strip (control coordinates)
  // The page-layout canvas: its bitmaps, what the pointer is over and holds, and the drag.
  std::unique_ptr<TBitmap> pictureBitmap, textBitmap;
  // The page's size once it is drawn: the page is plain white, so no bitmap holds it.
  std::optional<SIZE> pageSize;
  bool pageCanvasBlanked = false;  // the canvas is blank but for the latest page drawn
  BYTE hoverKind = 0, selectedKind = 0, buttonDown = 0, resizeHandle = 0;
  POINT lastPoint{0, 0}, storedPosition{0, 0};

  // Whether the document has a page of this index.
  bool IsPage(int index) const;
  // Drops a picture from the picture cache once no page uses it.
  void DropCachedPicture(const std::string& path);
  // Deletes a text file of the TXT folder once no page uses it (files elsewhere are never
  // deleted).
  void DeleteOwnTextFile(const std::string& path);
  // The common start of the insert commands: marks the message changed and answers the page to
  // insert into (a new one when none is current), or -1 when there is none to be had.
  int PageForInsert();
  // Copies a media file into a working folder under its own name, or a numbered one when a
  // different file has that name; a byte-identical file there is used as it is. 0 with the
  // copy's path, -1 when the source is that very copy or copying failed, -23 unreadable.
  int CopyIntoFolder(const AnsiString& folder, const AnsiString& source, AnsiString* copy);
  // Shows pages just appended: the strip's scroll bar, and the cell of `page` brought into view.
  void ShowAppendedPage(int page);
  // Runs an insertion into the current page's slot of `type`, measures, and takes it back when
  // the message is over the limit: the slot gets exactly what it had, the labels their texts
  // from before. The insertion's result, or -1 when taken back.
  int InsertKeepingLimit(int type, const std::function<int()>& insert);
  // The text file for a page without one: a name no page uses and no file has.
  AnsiString NewTextFileName(int index) const;
  // A name `folder`/`stem`<n>`ext` that no file has yet (the document's running number moves past
  // taken names).
  AnsiString NewPasteFileName(const AnsiString& folder, const char* stem, const char* ext);
  // Writes a pasted text (FF FE, UTF-16LE) to a new file of the TXT folder: its path, "" on failure.
  AnsiString WritePastedText(const std::u16string& text);
  // Calls `visit` with a descriptor of each named working folder, made a real folder first.
  template <class F>
  void InWorkingFolders(std::initializer_list<const char*> names, F visit);
  void ReleaseBitmaps();
  // The hand-over, then the quit message when it succeeded.
  bool HandOver(int mode);
  // The window's side of the picture dialogs (ResizeHost).
  class MainWindowResizeHost;
};

// The main window, once start-up made it.
extern TfrmMain* frmMain;
// The picture cache of the whole editor: made by whoever needs it first, freed with the main
// window.
extern TImgFileManager* pImgFileManager;
// The latest picture compression dialog (owned by the main window, which frees it), or null.
extern TPicResize* pPicResize;
// While set, deleting the current page asks nothing (the size roll-backs set and clear it).
extern bool silentDelete;

// Registers the main window's class, its handlers and the editor's compiled-in resources
// with the form library (before the first window is made; again is harmless).
void RegisterEditorForms();
// Adds the chrome's and the command table's handlers to the main window's registration.
template <class C>
class RegisterProperties;
void RegisterMainCommands(RegisterProperties<TfrmMain>& registration);
