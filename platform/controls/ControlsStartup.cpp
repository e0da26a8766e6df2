// Start-up of the controls layer: the system classes and the layer's own windows.
#include "platform/controls/ButtonControl.h"
#include "platform/controls/ComboBoxControl.h"
#include "platform/controls/Controls.h"
#include "platform/controls/EditControl.h"
#include "platform/controls/ListBoxControl.h"
#include "platform/controls/Menus.h"
#include "platform/controls/MessageBoxWindow.h"
#include "platform/controls/ScrollBarControl.h"
#include "platform/win/SystemClassRegistry.h"

namespace platform::controls {

void Startup() {
  using win::RegisterSystemClass;
  const HCURSOR arrow = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
  const HCURSOR ibeam = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_IBEAM));
  RegisterSystemClass({u"EDIT", EditWindowProc(), CS_DBLCLKS, 0, ibeam, nullptr});
  RegisterSystemClass(
      {u"BUTTON", ButtonWindowProc(), CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW, 0, arrow, nullptr});
  RegisterSystemClass(
      {u"SCROLLBAR", ScrollBarWindowProc(), CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW, 0, arrow, nullptr});
  RegisterSystemClass({u"STATIC", StaticWindowProc(), 0, 0, arrow, nullptr});
  RegisterSystemClass({u"LISTBOX", ListBoxWindowProc(), CS_DBLCLKS, 0, arrow, nullptr});
  RegisterSystemClass(
      {u"COMBOBOX", ComboBoxWindowProc(), CS_DBLCLKS | CS_VREDRAW | CS_HREDRAW, 0, arrow, nullptr});
  RegisterSystemClass({kComboListClass, ListBoxWindowProc(), CS_DBLCLKS | CS_SAVEBITS, 0, arrow, nullptr});
  RegisterSystemClass({kComboDropDownClass, ComboDropDownWindowProc(), CS_SAVEBITS, 0, arrow, nullptr});
  RegisterSystemClass({kMenuClass, MenuWindowProc(), CS_DROPSHADOW, 0, arrow, nullptr});
  RegisterSystemClass({kMessageBoxClass, MessageBoxWindowProc(), 0, 0, arrow, nullptr});
  InstallWindowScrollBars();
}

}  // namespace platform::controls
