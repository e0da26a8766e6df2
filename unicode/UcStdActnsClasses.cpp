// The wide-aware standard actions in the class registry, with the properties of their
// form-library bases, so layouts can hold them in action lists.
#include "platform/forms/ClassRegistry.h"
#include "unicode/TUcCommonDialogAction.h"
#include "unicode/TUcEditAction.h"
#include "unicode/TUcFileAction.h"
#include "unicode/TUcHelpAction.h"
#include "unicode/TUcHintAction.h"
#include "unicode/TUcSearchAction.h"
#include "unicode/TUcWindowAction.h"
#include "unicode/UcClasses.h"

namespace unicode {

namespace {

template <class C>
void Register(const char* name, const char* base) {
  RegisterProperties<C>(name, base, Factory<C>());
}

}  // namespace

void RegisterUcStdActnClasses() {
  Register<TUcHintAction>("TUcHintAction", "THintAction");
  Register<TUcEditAction>("TUcEditAction", "TEditAction");
  Register<TUcEditCut>("TUcEditCut", "TEditCut");
  Register<TUcEditCopy>("TUcEditCopy", "TEditCopy");
  Register<TUcEditPaste>("TUcEditPaste", "TEditPaste");
  Register<TUcEditSelectAll>("TUcEditSelectAll", "TEditSelectAll");
  Register<TUcEditUndo>("TUcEditUndo", "TEditUndo");
  Register<TUcEditDelete>("TUcEditDelete", "TEditDelete");
  Register<TUcWindowAction>("TUcWindowAction", "TWindowAction");
  Register<TUcWindowClose>("TUcWindowClose", "TWindowClose");
  Register<TUcWindowCascade>("TUcWindowCascade", "TWindowCascade");
  Register<TUcWindowTileHorizontal>("TUcWindowTileHorizontal", "TWindowTileHorizontal");
  Register<TUcWindowTileVertical>("TUcWindowTileVertical", "TWindowTileVertical");
  Register<TUcWindowMinimizeAll>("TUcWindowMinimizeAll", "TWindowMinimizeAll");
  Register<TUcWindowArrange>("TUcWindowArrange", "TWindowArrange");
  Register<TUcHelpAction>("TUcHelpAction", "THelpAction");
  Register<TUcHelpContents>("TUcHelpContents", "THelpContents");
  Register<TUcHelpTopicSearch>("TUcHelpTopicSearch", "THelpTopicSearch");
  Register<TUcHelpOnHelp>("TUcHelpOnHelp", "THelpOnHelp");
  Register<TUcHelpContextAction>("TUcHelpContextAction", "THelpContextAction");
  Register<TUcCommonDialogAction>("TUcCommonDialogAction", "TCommonDialogAction");
  Register<TUcFileAction>("TUcFileAction", "TFileAction");
  Register<TUcFileOpen>("TUcFileOpen", "TFileOpen");
  Register<TUcFileOpenWith>("TUcFileOpenWith", "TFileOpenWith");
  Register<TUcFileSaveAs>("TUcFileSaveAs", "TFileSaveAs");
  Register<TUcFilePrintSetup>("TUcFilePrintSetup", "TFilePrintSetup");
  Register<TUcFileExit>("TUcFileExit", "TFileExit");
  Register<TUcSearchAction>("TUcSearchAction", "TSearchAction");
  Register<TUcSearchFind>("TUcSearchFind", "TSearchFind");
  Register<TUcSearchReplace>("TUcSearchReplace", "TSearchReplace");
  Register<TUcSearchFindFirst>("TUcSearchFindFirst", "TSearchFindFirst");
  Register<TUcSearchFindNext>("TUcSearchFindNext", "TSearchFindNext");
  Register<TUcFontEdit>("TUcFontEdit", "TFontEdit");
  Register<TUcColorSelect>("TUcColorSelect", "TColorSelect");
  Register<TUcPrintDlg>("TUcPrintDlg", "TPrintDlg");
}

}  // namespace unicode
