// The main window's command table: the actions of `actlst1` that stand for the clicks of its
// buttons (most of the buttons are hidden and reached through these shortcuts), and the
// registration of every handler the layout's actions and chrome name.
#include "controls/TImButton.h"
#include "editor/TPicResize.h"
#include "editor/TfrmMain.h"
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TCustomAction.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TScreen.h"

void TfrmMain::Action1Execute(TObject*) { btnDelFrame->Click(); }

void TfrmMain::Action1Update(TObject* sender) {
  // Plain Delete belongs to the subject and the duration while one of them is being typed in:
  // shortcuts run before the focused control sees the key.
  if (auto* action = dynamic_cast<TCustomAction*>(sender))
    action->SetEnabled(!memo_title->Focused() && !Edit_Cur->Focused());
}

void TfrmMain::Action2Execute(TObject*) { btnNewFrame->Click(); }

void TfrmMain::Action3Execute(TObject*) { btnSelect->Click(); }

void TfrmMain::Action4Execute(TObject*) { btnResize->Click(); }

void TfrmMain::Action5Execute(TObject*) {
  // Alt+N sends from the main window; from the compression dialog (the chord is offered to the
  // main window's actions when that dialog does not take it) it cancels the dialog.
  if (Screen->ActiveForm() == this) {
    btnSend->Click();
  } else if (pPicResize) {
    pPicResize->CancleButton->Click();
  }
}

void TfrmMain::Action6Execute(TObject*) { btnDrafts->Click(); }

void RegisterMainCommands(RegisterProperties<TfrmMain>& registration) {
  registration.Handler("FormMouseDown", &TfrmMain::FormMouseDown)
      .Handler("Image_MainMouseDown", &TfrmMain::Image_MainMouseDown)
      .Handler("PanelMouseDown", &TfrmMain::PanelMouseDown)
      .Handler("FormPaint", &TfrmMain::FormPaint)
      .Handler("actExitExecute", &TfrmMain::actExitExecute)
      .Handler("actHelpExecute", &TfrmMain::actHelpExecute)
      .Handler("btnHelpClick", &TfrmMain::btnHelpClick)
      .Handler("actViewerExecute", &TfrmMain::actViewerExecute)
      .Handler("actNewExecute", &TfrmMain::actNewExecute)
      .Handler("actAboutExecute", &TfrmMain::actAboutExecute)
      .Handler("BtnMenuClick", &TfrmMain::BtnMenuClick)
      .Handler("Action1Execute", &TfrmMain::Action1Execute)
      .Handler("Action1Update", &TfrmMain::Action1Update)
      .Handler("Action2Execute", &TfrmMain::Action2Execute)
      .Handler("Action3Execute", &TfrmMain::Action3Execute)
      .Handler("Action4Execute", &TfrmMain::Action4Execute)
      .Handler("Action5Execute", &TfrmMain::Action5Execute)
      .Handler("Action6Execute", &TfrmMain::Action6Execute);
}
