// The main window's chrome: it has no system caption, so it is moved by dragging its background
// or its title band and closed by its own button; the help command, the slide show, the commands
// that do nothing on purpose, and the two ways of adding a page.
#include "controls/TImButton.h"
#include "editor/TMmsViewer.h"
#include "editor/TMsgBox.h"
#include "editor/TfrmMain.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/Process.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/win/Win.h"

namespace {

// The system's move-by-mouse command (SC_MOVE with the low bits the mouse variant carries).
constexpr WPARAM kMoveByMouse = 0xF017;

// A page that took the message over its limit goes again without a question, and the labels
// show the size and time from before it came.
void TakeBackOverLimitPage(TfrmMain& form) {
  if (!form.CheckMmsSize()) return;
  {
    silentDelete = true;
    platform::ScopeExit reset([] { silentDelete = false; });
    form.RemoveCurrentPage();
  }
  form.RestoreMeasure();
}

}  // namespace

void TfrmMain::FormMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  ReleaseCapture();
  SendMessageW(Handle(), WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void TfrmMain::Image_MainMouseDown(TObject*, TMouseButton button, TShiftState, int, int) {
  if (button != mbLeft) return;
  ReleaseCapture();
  SetActiveControl(nullptr);
  SendMessageW(Handle(), WM_SYSCOMMAND, kMoveByMouse, 0);
}

void TfrmMain::PanelMouseDown(TObject*, TMouseButton, TShiftState, int, int) { SetActiveControl(nullptr); }

void TfrmMain::FormPaint(TObject*) {
  // Setting a control to the visibility it has invalidates nothing, so this cannot loop.
  for (TImButton* button : {btnDelFrame, btnNewFrame, CloseBtn, btnSend, btnDrafts, UpBtn, DownBtn})
    button->SetVisible(true);
}

void TfrmMain::actExitExecute(TObject*) { Close(); }

void TfrmMain::actHelpExecute(TObject*) {
  // The help is a set of HTML pages beside the program; a viewer that cannot be started (or a
  // help folder that is missing) leaves the user where they were, without a word.
  WinExec(("hh " + document.exeDir + "help/index.html").c_str(), SW_SHOWNORMAL);
}

void TfrmMain::btnHelpClick(TObject* sender) { actHelpExecute(sender); }

void TfrmMain::actViewerExecute(TObject* sender) {
  if (MmsViewer) MmsViewer->btnPlayClick(sender);
}

void TfrmMain::actNewExecute(TObject*) {}

void TfrmMain::actAboutExecute(TObject*) {}

void TfrmMain::BtnMenuClick(TObject*) {}

void TfrmMain::btnNewFrameClick(TObject*) {
  document.SetModified(true);
  if (StrToIntDef(Label_Size->Caption(), 0) >= kRefusedSizeKB) {
    Label_Size->SetCaption("300");
    ShowMsgBox("SizeHint");
    return;
  }
  if (NewFrame() != 0) return;
  GetPduSize();
  TakeBackOverLimitPage(*this);
  RefreshFrameList();
}

void TfrmMain::actNewPageExecute(TObject*) {
  if (CheckMmsSize()) return;
  if (NewFrame() != 0) return;
  // Like every command that grows the message, the menu's new page measures afterwards and
  // takes the page back when it went over the limit.
  GetPduSize();
  TakeBackOverLimitPage(*this);
  RefreshFrameList();
}
