// Unicode windows for the form library's controls: a control's window can be a UTF-16 window
// whose messages still reach the form library's handlers, and every control of the layer has a
// UTF-16 text and hint that live on while it has no window. On an 8-bit system every routine
// does what the form library does with 8-bit strings.
#pragma once

#include "platform/forms/THintWindow.h"
#include "platform/forms/TWinControl.h"
#include "platform/rtl/WideString.h"
#include "unicode/TWideControlHelper.h"

class TWinControlTrap;

// The message that makes a control's trap let go of its window.
UINT UC_WM_DESTROY();

// ---- texts and hints
TWideControlHelper* UcControl_GetWideHelper(TControl* control, bool create);
bool UcControl_IsCaptionStored(TControl* control);
bool UcControl_IsHintStored(TControl* control);
WideString UcControl_GetStoredText(TControl* control, const WideString& defaultText);
void UcControl_SetStoredText(TControl* control, const WideString& text);
WideString UcControl_GetText(TControl* control);
void UcControl_SetText(TControl* control, const WideString& text);
WideString UcControl_GetHint(TControl* control);
void UcControl_SetHint(TControl* control, const WideString& text);
// The first non-empty hint from the control up through its parents.
WideString WideGetHint(TControl* control);
WideString WideGetShortHint(const WideString& hint);
WideString WideGetLongHint(const WideString& hint);

// A list control that takes wide items.
class IWideCustomListControl {
 public:
  virtual ~IWideCustomListControl() = default;
  virtual void AddItem(const WideString& item, TObject* object) = 0;
};
class TCustomListControl;
// The wide AddItem of a list control that has one, else the 8-bit one with the item converted.
void WideListControl_AddItem(TCustomListControl* listControl, const WideString& item, TObject* object);

// ---- WM_CHAR records whose wide code 8-bit handlers must not see
bool IsTextMessage(UINT msg);
// Codes an 8-bit handler cannot take (above 255, or from 0x80 on under UTF-8, where one byte is
// no character) move to the high half of wParam; the low half holds the placeholder 255.
void MakeWMCharMsgSafeForAnsi(TMessage& message);
void RestoreWMCharMsg(TMessage& message);
WideChar GetWideCharFromWMCharMsg(const TMessage& message);
void SetWideCharForWMCharMsg(TMessage& message, WideChar ch);

// ---- windows
// Registers once the UTF-16 class "<class>.UnicodeClass" of a form-library class.
void RegisterUnicodeClass(const TCreateParams& params, WideString& wideClassName, bool hostWindow);
// Makes the control's window (a UTF-16 one on a Unicode system); subClass names the system
// class whose procedure the control extends ("EDIT") or is empty.
void CreateUnicodeHandle(TWinControl* control, const TCreateParams& params, const WideString& subClass,
                         bool hostWindow);
void ReCreateUnicodeWnd(TWinControl* control, const WideString& subClass, bool hostWindow);
void SubClassUnicodeControl(TWinControl* control, const char* caption, bool hostWindow);
// The class procedure of the layer's windows (see TWinControl::InitWndProc).
LRESULT UnicodeInitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
// CM_HINTSHOW for a control of the layer: the wide hint window takes the hint, and the hint
// info is marked as the layer's.
void ProcessCMHintShowMsg(TMessage& message);
// Whether `data` is a hint info ProcessCMHintShowMsg marked (compared, never read).
bool UcIsMarkedHintInfo(const void* data);

// ---- the layer's state (UcLayer starts and ends it)
namespace unicode {
void ControlsStartup();
void ControlsShutdown();
bool ControlsFinalized();
// Traps waiting for their control's next window; the control whose window is being made.
void AddDetachedTrap(TWinControlTrap* trap);
TWinControlTrap* TakeOrCreateTrap(TWinControl* control);
TWinControl* WindowBeingCreated();
}  // namespace unicode
