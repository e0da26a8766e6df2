// The standard actions in the registry, so layouts can hold them in action lists with the
// edit, form, find action and dialog they name and the handlers of their dialog events.
#include "platform/forms/ClassRegistry.h"
#include "platform/forms/TEditAction.h"
#include "platform/forms/TFileAction.h"
#include "platform/forms/THelpAction.h"
#include "platform/forms/TSearchAction.h"
#include "platform/forms/TWindowAction.h"

void RegisterStdActnClasses() {
  RegisterProperties<TEditAction>("TEditAction", "TAction", Factory<TEditAction>())
      .Component<TCustomEdit>("Control", &TEditAction::Control, &TEditAction::SetControl);
  RegisterProperties<TEditCut>("TEditCut", "TEditAction", Factory<TEditCut>());
  RegisterProperties<TEditCopy>("TEditCopy", "TEditAction", Factory<TEditCopy>());
  RegisterProperties<TEditPaste>("TEditPaste", "TEditAction", Factory<TEditPaste>());
  RegisterProperties<TEditSelectAll>("TEditSelectAll", "TEditAction", Factory<TEditSelectAll>());
  RegisterProperties<TEditUndo>("TEditUndo", "TEditAction", Factory<TEditUndo>());
  RegisterProperties<TEditDelete>("TEditDelete", "TEditAction", Factory<TEditDelete>());

  RegisterProperties<TWindowAction>("TWindowAction", "TAction", Factory<TWindowAction>())
      .Component<TCustomForm>("Form", &TWindowAction::Form, &TWindowAction::SetForm);
  RegisterProperties<TWindowClose>("TWindowClose", "TWindowAction", Factory<TWindowClose>());
  RegisterProperties<TWindowCascade>("TWindowCascade", "TWindowAction", Factory<TWindowCascade>());
  RegisterProperties<TWindowTileHorizontal>("TWindowTileHorizontal", "TWindowAction",
                                            Factory<TWindowTileHorizontal>());
  RegisterProperties<TWindowTileVertical>("TWindowTileVertical", "TWindowAction",
                                          Factory<TWindowTileVertical>());
  RegisterProperties<TWindowMinimizeAll>("TWindowMinimizeAll", "TWindowAction",
                                         Factory<TWindowMinimizeAll>());
  RegisterProperties<TWindowArrange>("TWindowArrange", "TWindowAction", Factory<TWindowArrange>());

  RegisterProperties<THelpAction>("THelpAction", "TAction", Factory<THelpAction>());
  RegisterProperties<THelpContents>("THelpContents", "THelpAction", Factory<THelpContents>());
  RegisterProperties<THelpTopicSearch>("THelpTopicSearch", "THelpAction", Factory<THelpTopicSearch>());
  RegisterProperties<THelpOnHelp>("THelpOnHelp", "THelpAction", Factory<THelpOnHelp>());
  RegisterProperties<THelpContextAction>("THelpContextAction", "THelpAction", Factory<THelpContextAction>());

  RegisterProperties<TCommonDialogAction>("TCommonDialogAction", "TCustomAction")
      .Object("Dialog", &TCommonDialogAction::Dialog)
      .Event("BeforeExecute", &TCommonDialogAction::BeforeExecute)
      .Event("OnAccept", &TCommonDialogAction::OnAccept)
      .Event("OnCancel", &TCommonDialogAction::OnCancel);
  RegisterProperties<TFontEdit>("TFontEdit", "TCommonDialogAction", Factory<TFontEdit>());
  RegisterProperties<TColorSelect>("TColorSelect", "TCommonDialogAction", Factory<TColorSelect>());
  RegisterProperties<TPrintDlg>("TPrintDlg", "TCommonDialogAction", Factory<TPrintDlg>());

  RegisterProperties<TFileAction>("TFileAction", "TCommonDialogAction");
  RegisterProperties<TFileOpen>("TFileOpen", "TFileAction", Factory<TFileOpen>());
  RegisterProperties<TFileOpenWith>("TFileOpenWith", "TFileOpen", Factory<TFileOpenWith>())
      .Str("FileName", &TFileOpenWith::FileName, &TFileOpenWith::SetFileName)
      .Event("AfterOpen", &TFileOpenWith::AfterOpen);
  RegisterProperties<TFileSaveAs>("TFileSaveAs", "TFileAction", Factory<TFileSaveAs>());
  RegisterProperties<TFilePrintSetup>("TFilePrintSetup", "TFileAction", Factory<TFilePrintSetup>());
  RegisterProperties<TFileExit>("TFileExit", "TCustomAction", Factory<TFileExit>());

  RegisterProperties<TSearchAction>("TSearchAction", "TCommonDialogAction");
  RegisterProperties<TSearchFind>("TSearchFind", "TSearchAction", Factory<TSearchFind>());
  RegisterProperties<TSearchReplace>("TSearchReplace", "TSearchAction", Factory<TSearchReplace>());
  RegisterProperties<TSearchFindFirst>("TSearchFindFirst", "TSearchFind", Factory<TSearchFindFirst>());
  RegisterProperties<TSearchFindNext>("TSearchFindNext", "TCustomAction", Factory<TSearchFindNext>())
      .Component<TSearchFind>("SearchFind", &TSearchFindNext::SearchFind, &TSearchFindNext::SetSearchFind);
}
