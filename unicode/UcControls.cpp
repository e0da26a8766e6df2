#include "unicode/UcControls.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "platform/forms/TActionLink.h"
#include "platform/forms/TControlActionLink.h"
#include "platform/forms/TCustomListControl.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/ScopeExit.h"
#include "unicode/TUcCustomHintWindow.h"
#include "unicode/TWinControlTrap.h"
#include "unicode/UcNarrowText.h"
#include "unicode/UcPlatformFlags.h"
#include "unicode/UcSyncedWideString.h"
#include "unicode/UcTextWrappers.h"
#include "unicode/WideException.h"

namespace {

struct LayerState {
  UINT destroyMessage = 0;
  std::unique_ptr<TComponentList> helpers;   // owns the helpers
  std::unique_ptr<TComponentList> detached;  // traps waiting for a window; not owned
  TWinControl* windowBeingCreated = nullptr;
  ATOM processAtom = 0;
  ATOM threadAtom = 0;
  bool finalized = false;
  const void* markedHintInfo = nullptr;
};

LayerState& State() {
  static LayerState state;
  return state;
}

// The lists come with the first use, so a control made before the layer started still works.
TComponentList* Helpers() {
  LayerState& s = State();
  if (!s.helpers && !s.finalized) s.helpers = std::make_unique<TComponentList>(true);
  return s.helpers.get();
}

TComponentList* DetachedTraps() {
  LayerState& s = State();
  if (!s.detached && !s.finalized) s.detached = std::make_unique<TComponentList>(false);
  return s.detached.get();
}

AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }

// Case 1 of the text routines: the 8-bit text is the whole truth.
bool TextIsNarrow(TControl* control) {
  if (!Win32PlatformIsUnicode()) return true;
  auto* win = dynamic_cast<TWinControl*>(control);
  return win && win->HandleAllocated() && !IsWindowUnicode(win->Handle());
}

bool Utf8System() { return GetACP() == CP_UTF8; }

}  // namespace

UINT UC_WM_DESTROY() {
  LayerState& s = State();
  if (!s.destroyMessage) s.destroyMessage = RegisterWindowMessageA("UcUnicodeLayer.DestroyWindow");
  return s.destroyMessage;
}

// ---- texts and hints

TWideControlHelper* UcControl_GetWideHelper(TControl* control, bool create) {
  TComponentList* list = Helpers();
  if (!list) return nullptr;
  auto* helper = static_cast<TWideControlHelper*>(FindWideComponentHelper(list, control));
  if (!helper && create) helper = new TWideControlHelper(control, list);
  return helper;
}

bool UcControl_IsCaptionStored(TControl* control) {
  TControlActionLink* link = control->ActionLink();
  return !(link && link->IsCaptionLinked());
}

bool UcControl_IsHintStored(TControl* control) {
  TControlActionLink* link = control->ActionLink();
  return !(link && link->IsHintLinked());
}

WideString UcControl_GetStoredText(TControl* control, const WideString& defaultText) {
  TWideControlHelper* helper = UcControl_GetWideHelper(control, false);
  return helper ? helper->WideCaption : defaultText;
}

void UcControl_SetStoredText(TControl* control, const WideString& text) {
  if (TWideControlHelper* helper = UcControl_GetWideHelper(control, true)) helper->WideCaption = text;
  control->SetTextProp(Narrow(text));
}

WideString UcControl_GetText(TControl* control) {
  if (TextIsNarrow(control)) return UcWiden(control->Text());
  auto* win = dynamic_cast<TWinControl*>(control);
  if (!win) {
    TWideControlHelper* helper = UcControl_GetWideHelper(control, false);
    return helper ? GetSyncedWideString(helper->WideCaption, control->Text()) : UcWiden(control->Text());
  }
  if (win->HandleAllocated()) {
    const int length = GetWindowTextLengthW(win->Handle());
    std::u16string buffer(size_t(length) + 1, u'\0');
    const int got = GetWindowTextW(win->Handle(), buffer.data(), length + 1);
    buffer.resize(size_t(std::max(0, std::min(got, length))));
    return WideString(std::move(buffer));
  }
  return UcControl_GetStoredText(control, UcWiden(control->Text()));
}

void UcControl_SetText(TControl* control, const WideString& text) {
  if (TextIsNarrow(control)) {
    control->SetTextProp(Narrow(text));
    return;
  }
  auto* win = dynamic_cast<TWinControl*>(control);
  if (!win) {
    TWideControlHelper* helper = UcControl_GetWideHelper(control, true);
    if (!helper) {
      control->SetTextProp(Narrow(text));
      return;
    }
    SetSyncedWideString(text, helper->WideCaption, control->Text(),
                        [control](const AnsiString& value) { control->SetTextProp(value); });
    return;
  }
  if (win->HandleAllocated()) {
    if (UcControl_GetText(control) == text) return;
    Uc_SetWindowTextW(win->Handle(), text.c_str());
    control->Perform(CM_TEXTCHANGED, 0, 0);
    return;
  }
  UcControl_SetStoredText(control, text);
}

WideString UcControl_GetHint(TControl* control) {
  TWideControlHelper* helper = Win32PlatformIsUnicode() ? UcControl_GetWideHelper(control, false) : nullptr;
  return helper ? GetSyncedWideString(helper->WideHint, control->Hint()) : UcWiden(control->Hint());
}

void UcControl_SetHint(TControl* control, const WideString& text) {
  TWideControlHelper* helper = Win32PlatformIsUnicode() ? UcControl_GetWideHelper(control, true) : nullptr;
  if (!helper) {
    control->SetHint(Narrow(text));
    return;
  }
  SetSyncedWideString(text, helper->WideHint, control->Hint(),
                      [control](const AnsiString& value) { control->SetHint(value); });
}

WideString WideGetHint(TControl* control) {
  for (TControl* c = control; c; c = c->Parent()) {
    WideString hint = UcControl_GetHint(c);
    if (!hint.IsEmpty()) return hint;
  }
  return WideString();
}

WideString WideGetShortHint(const WideString& hint) {
  const int bar = hint.Pos(u"|");
  return bar == 0 ? hint : hint.SubString(1, bar - 1);
}

WideString WideGetLongHint(const WideString& hint) {
  const int bar = hint.Pos(u"|");
  return bar == 0 ? hint : hint.SubString(bar + 1, hint.Length() - bar);
}

void WideListControl_AddItem(TCustomListControl* listControl, const WideString& item, TObject* object) {
  if (auto* wide = dynamic_cast<IWideCustomListControl*>(listControl))
    wide->AddItem(item, object);
  else
    listControl->AddItem(Narrow(item), object);
}

// ---- WM_CHAR

bool IsTextMessage(UINT msg) { return msg == WM_SETTEXT || msg == WM_GETTEXT || msg == WM_GETTEXTLENGTH; }

void MakeWMCharMsgSafeForAnsi(TMessage& m) {
  if (m.Msg != WM_CHAR || m.WParamHi() != 0) return;
  const WORD code = m.WParamLo();
  if (code > 255 || (code >= 0x80 && Utf8System())) m.WParam = (WPARAM(code) << 16) | 0xFF;
}

void RestoreWMCharMsg(TMessage& m) {
  if (m.Msg != WM_CHAR) return;
  if (m.WParamHi() != 0 && m.WParamLo() == 0xFF)
    m.WParam = m.WParamHi();
  else
    m.WParam = m.WParamLo();
}

WideChar GetWideCharFromWMCharMsg(const TMessage& m) {
  return m.WParamLo() == 0xFF && m.WParamHi() != 0 ? WideChar(m.WParamHi()) : WideChar(m.WParamLo());
}

void SetWideCharForWMCharMsg(TMessage& m, WideChar ch) {
  m.WParam = ch;
  MakeWMCharMsgSafeForAnsi(m);
}

// ---- windows

void RegisterUnicodeClass(const TCreateParams& params, WideString& wideClassName, bool hostWindow) {
  wideClassName = UcWiden(AnsiString(params.WinClassName)) + u".UnicodeClass";
  const WNDPROC proc = hostWindow ? WNDPROC(&TWinControl::InitWndProc) : WNDPROC(&UnicodeInitWndProc);
  WNDCLASSW existing{};
  if (GetClassInfoW(HInstance, wideClassName.c_str(), &existing)) {
    if (existing.lpfnWndProc == proc) return;
    if (!UnregisterClassW(wideClassName.c_str(), HInstance)) RaiseLastOSError();
  }
  const WNDCLASSA& a = params.WindowClass;
  WideString menuName;
  WNDCLASSW wc{};
  wc.style = a.style;
  wc.lpfnWndProc = proc;
  wc.cbClsExtra = a.cbClsExtra;
  wc.cbWndExtra = a.cbWndExtra;
  wc.hInstance = HInstance;
  wc.hIcon = a.hIcon;
  wc.hCursor = a.hCursor;
  wc.hbrBackground = a.hbrBackground;
  if (a.lpszMenuName && Uc_Is_IntResource(a.lpszMenuName)) {
    wc.lpszMenuName = reinterpret_cast<LPCWSTR>(a.lpszMenuName);
  } else if (a.lpszMenuName) {
    menuName = UcWiden(AnsiString(a.lpszMenuName));
    wc.lpszMenuName = menuName.c_str();
  }
  wc.lpszClassName = wideClassName.c_str();
  if (!RegisterClassW(&wc)) RaiseLastOSError();
}

void CreateUnicodeHandle(TWinControl* control, const TCreateParams& p, const WideString& subClass,
                         bool hostWindow) {
  if (!Win32PlatformIsUnicode()) {
    HWND h = CreateWindowExA(p.ExStyle, p.WinClassName, p.Caption, p.Style, p.X, p.Y, p.Width, p.Height,
                             p.WndParent, nullptr, p.WindowClass.hInstance, p.Param);
    if (h) TWinControlAccess::SetHandle(control, h);
    return;
  }
  WNDCLASSW system{};
  if (!subClass.IsEmpty() && (GetClassInfoW(p.WindowClass.hInstance, subClass.c_str(), &system) ||
                              GetClassInfoW(nullptr, subClass.c_str(), &system)))
    control->DefWndProc = system.lpfnWndProc;
  else
    control->DefWndProc = WNDPROC(&DefWindowProcW);
  WideString wideClassName;
  RegisterUnicodeClass(p, wideClassName, hostWindow);
  HWND h = nullptr;
  {
    State().windowBeingCreated = control;
    const platform::ScopeExit created([] { State().windowBeingCreated = nullptr; });
    h = CreateWindowExW(p.ExStyle, wideClassName.c_str(), nullptr, p.Style, p.X, p.Y, p.Width, p.Height,
                        p.WndParent, nullptr, HInstance, p.Param);
  }
  if (!h) RaiseLastOSError();
  TWinControlAccess::SetHandle(control, h);
  if (hostWindow) SetWindowLongPtrW(h, GWL_WNDPROC, GetWindowLongPtrA(h, GWL_WNDPROC));
  SubClassUnicodeControl(control, p.Caption, hostWindow);
}

LRESULT UnicodeInitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* control = TWinControl::CreationControl();
  if (!control) return DefWindowProcW(hwnd, msg, wParam, lParam);
  TWinControlAccess::SetHandle(control, hwnd);
  TWinControlTrap* trap = unicode::TakeOrCreateTrap(control);
  unicode::AddDetachedTrap(trap);
  SetWindowLongPtrW(hwnd, GWL_WNDPROC, static_cast<LONG_PTR>(trap->ControlProcStub()));
  if ((GetWindowLongW(hwnd, GWL_STYLE) & WS_CHILD) && GetWindowLongW(hwnd, GWL_ID) == 0)
    SetWindowLongPtrW(hwnd, GWL_ID, reinterpret_cast<LONG_PTR>(hwnd));
  SetPropA(hwnd, TWinControl::ControlPropertyName(), reinterpret_cast<HANDLE>(control));
  SetPropA(hwnd, TWinControl::InstancePropertyName(),
           reinterpret_cast<HANDLE>(TWinControlAccess::ObjectInstance(control).value()));
  TWinControl::SetCreationControl(nullptr);
  return CallWindowProcW(trap->ControlProcStub(), hwnd, msg, wParam, lParam);
}

void SubClassUnicodeControl(TWinControl* control, const char* caption, bool hostWindow) {
  if (!IsWindowUnicode(control->Handle()))
    throw EUcInternalError("Internal Error: SubClassUnicodeControl.Control is not Unicode.");
  TWinControlTrap* trap = unicode::TakeOrCreateTrap(control);
  trap->Attach(control->Handle(), UcWiden(AnsiString(caption ? caption : "")));
  trap->SetHostWindow(hostWindow);
}

void ReCreateUnicodeWnd(TWinControl* control, const WideString& subClass, bool hostWindow) {
  const bool wasFocused = control->Focused();
  control->DestroyHandle();
  TCreateParams params;
  TWinControlAccess::CreateParams(control, params);
  {
    TWinControl::SetCreationControl(control);
    const platform::ScopeExit created([] { TWinControl::SetCreationControl(nullptr); });
    CreateUnicodeHandle(control, params, subClass, hostWindow);
  }
  TWinControlAccess::ClearTextBuffer(control);
  control->Perform(WM_SETFONT, reinterpret_cast<WPARAM>(control->Font()->Handle()), 1);
  if (control->AutoSize()) TWinControlAccess::AdjustSize(control);
  control->UpdateControlState();
  if (wasFocused && control->HandleAllocated()) ::SetFocus(control->Handle());
}

void ProcessCMHintShowMsg(TMessage& m) {
  if (!Win32PlatformIsUnicode() || !m.LParam) return;
  auto* info = reinterpret_cast<THintInfo*>(m.LParam);
  const bool plain = info->HintWindowClass == THintWindowClass::Of<THintWindow>();
  if (!plain && !info->HintWindowClass.InheritsFrom<TUcCustomHintWindow>()) return;
  if (plain) info->HintWindowClass = THintWindowClass::Of<TUcCustomHintWindow>();
  info->HintData = info;
  State().markedHintInfo = info;
  info->HintStr = Narrow(WideGetShortHint(WideGetHint(info->HintControl)));
}

bool UcIsMarkedHintInfo(const void* data) { return data && data == State().markedHintInfo; }

// ---- state

namespace unicode {

void ControlsStartup() {
  LayerState& s = State();
  s.finalized = false;
  UC_WM_DESTROY();
  Helpers();
  DetachedTraps();
  s.processAtom = GlobalAddAtomA(TWinControl::InstancePropertyName());
  s.threadAtom = GlobalAddAtomA(TWinControl::ControlPropertyName());
  if (!s.processAtom || !s.threadAtom) RaiseLastOSError();
}

void ControlsShutdown() {
  LayerState& s = State();
  if (s.processAtom) GlobalDeleteAtom(s.processAtom);
  if (s.threadAtom) GlobalDeleteAtom(s.threadAtom);
  s.processAtom = s.threadAtom = 0;
  s.detached.reset();
  s.helpers.reset();
  s.finalized = true;
  s.markedHintInfo = nullptr;
}

bool ControlsFinalized() { return State().finalized; }

void AddDetachedTrap(TWinControlTrap* trap) {
  if (TComponentList* list = DetachedTraps()) list->Add(trap);
}

TWinControlTrap* TakeOrCreateTrap(TWinControl* control) {
  if (TComponentList* list = DetachedTraps()) {
    for (int i = list->Count() - 1; i >= 0; --i) {
      auto* trap = static_cast<TWinControlTrap*>(list->Items(i));
      if (trap->Control() == control) {
        list->Delete(i);
        return trap;
      }
    }
  }
  return new TWinControlTrap(control);
}

TWinControl* WindowBeingCreated() { return State().windowBeingCreated; }

}  // namespace unicode
