#include "unicode/UcLayer.h"

#include "platform/forms/PlatformStartup.h"
#include "platform/forms/TPopupList.h"
#include "unicode/TUcApplication.h"
#include "unicode/TUcPopupMenu.h"
#include "unicode/UcClasses.h"
#include "unicode/UcControls.h"

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
}

void RegisterLayer() { platform::AddLayer("unicode", &LayerStartup, &LayerShutdown); }

}  // namespace unicode
