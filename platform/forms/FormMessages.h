// The form library's own messages: CM_* notifications between controls and CN_* reflections of
// the window system's notifications back to the control they concern.
#pragma once

#include "platform/win/WinTypes.h"

constexpr UINT CM_BASE = 0xB000, CN_BASE = 0xBC00;
constexpr UINT CM_ACTIVATE = 0xB000, CM_DEACTIVATE = 0xB001, CM_DIALOGKEY = 0xB005, CM_DIALOGCHAR = 0xB006,
               CM_FOCUSCHANGED = 0xB007, CM_PARENTFONTCHANGED = 0xB008, CM_PARENTCOLORCHANGED = 0xB009,
               CM_HITTEST = 0xB00A, CM_VISIBLECHANGED = 0xB00B, CM_ENABLEDCHANGED = 0xB00C,
               CM_COLORCHANGED = 0xB00D, CM_FONTCHANGED = 0xB00E, CM_CURSORCHANGED = 0xB00F,
               CM_TEXTCHANGED = 0xB012, CM_MOUSEENTER = 0xB013, CM_MOUSELEAVE = 0xB014,
               CM_MENUCHANGED = 0xB015, CM_ENTER = 0xB01A, CM_EXIT = 0xB01B, CM_DESIGNHITTEST = 0xB01C,
               CM_WANTSPECIALKEY = 0xB01E, CM_RELEASE = 0xB021, CM_SHOWHINTCHANGED = 0xB022,
               CM_PARENTSHOWHINTCHANGED = 0xB023, CM_SYSCOLORCHANGE = 0xB024, CM_CHILDKEY = 0xB02E,
               CM_HINTSHOW = 0xB030, CM_RECREATEWND = 0xB033, CM_INVALIDATE = 0xB034,
               CM_BIDIMODECHANGED = 0xB03C, CM_PARENTBIDIMODECHANGED = 0xB03D, CM_ACTIONUPDATE = 0xB03F,
               CM_ACTIONEXECUTE = 0xB040, CM_HINTSHOWPAUSE = 0xB041, CM_MOUSEWHEEL = 0xB043;
constexpr UINT CN_DRAWITEM = 0xBC2B, CN_MEASUREITEM = 0xBC2C, CN_DELETEITEM = 0xBC2D, CN_VKEYTOITEM = 0xBC2E,
               CN_CHARTOITEM = 0xBC2F, CN_COMPAREITEM = 0xBC39, CN_NOTIFY = 0xBC4E, CN_KEYDOWN = 0xBD00,
               CN_KEYUP = 0xBD01, CN_CHAR = 0xBD02, CN_SYSKEYDOWN = 0xBD04, CN_SYSCHAR = 0xBD06,
               CN_COMMAND = 0xBD11, CN_HSCROLL = 0xBD14, CN_VSCROLL = 0xBD15, CN_CTLCOLORMSGBOX = 0xBD32,
               CN_CTLCOLOREDIT = 0xBD33, CN_CTLCOLORLISTBOX = 0xBD34, CN_CTLCOLORBTN = 0xBD35,
               CN_CTLCOLORDLG = 0xBD36, CN_CTLCOLORSCROLLBAR = 0xBD37, CN_CTLCOLORSTATIC = 0xBD38,
               CN_PARENTNOTIFY = 0xBE10;

// A replaceable, comparable message method: an object and one of its methods. Code that
// subclasses a control saves WindowProc, installs its own, and restores the saved one only
// while WindowProc is still its own.
class TWndMethodValue {
 public:
  TWndMethodValue() = default;
  template <class C, void (C::*M)(TMessage&)>
  static TWndMethodValue Of(C* object) {
    TWndMethodValue v;
    v.object_ = object;
    v.thunk_ = [](void* o, TMessage& m) { (static_cast<C*>(o)->*M)(m); };
    return v;
  }
  void operator()(TMessage& message) const {
    if (thunk_) thunk_(object_, message);
  }
  explicit operator bool() const { return thunk_ != nullptr; }
  bool operator==(const TWndMethodValue&) const = default;

 private:
  void* object_ = nullptr;
  void (*thunk_)(void*, TMessage&) = nullptr;
};
