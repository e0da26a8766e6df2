#include "unicode/UcLayer.h"

#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TPopupList.h"
#include "unicode/TUcApplication.h"
#include "unicode/TUcClipboard.h"
#include "unicode/TUcPopupMenu.h"
#include "unicode/UcClasses.h"
#include "unicode/UcControls.h"
#include "unicode/UcDateCurrency.h"
#include "unicode/UcShellWrappers.h"
#include "unicode/UcSystemUpdates.h"
#include "unicode/UcSystemWrappers.h"

namespace unicode {

void LayerStartup() {
  RegisterUcClasses();
  ControlsStartup();
  if (!UcPopupList) UcPopupList = new TUcPopupList(PopupList);
  ApplicationStartup();
}

void LayerShutdown() {
  ApplicationShutdown();
  delete UcPopupList;
  UcPopupList = nullptr;
  ControlsShutdown();
  // The run-time library's own routines come back; what the wrappers hold is released.
  UninstallUcSystemUpdates();
  UcReleaseShellBinding();
  UcReleaseVersionStrings();
  UcReleaseCurrencyFormatStrings();
  FreeUcClipboard();
}

void RegisterLayer() { platform::AddLayer("unicode", &LayerStartup, &LayerShutdown); }

}  // namespace unicode
