#include "platform/forms/TForm.h"

#include <algorithm>
#include <functional>
#include <map>

#include "platform/forms/TApplication.h"
#include "platform/forms/TCustomActionList.h"

void ApplicationHandleException(TObject* sender);
#include "platform/forms/TReader.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/win/Backend.h"

TMenuShortCutHook FormMenuShortCut;

namespace {
// Counts focus changes, so a change made by a CM_ENTER or CM_EXIT handler ends the one that
// sent it.
int g_focusCount = 0;

std::map<std::string, std::string>& Layouts() {
  static std::map<std::string, std::string> layouts;
  return layouts;
}
}  // namespace

void RegisterFormLayout(const AnsiString& className, std::string layoutText) {
  Layouts()[LowerCase(className).ToStd()] = std::move(layoutText);
}

const std::string* FindFormLayout(const AnsiString& className) {
  const std::string key = LowerCase(className).ToStd();
  auto it = Layouts().find(key);
  if (it != Layouts().end()) return &it->second;
  // A layout compiled into the program: RCDATA named after the class.
  HRSRC found = FindResourceA(HInstance, className.c_str(), RT_RCDATA);
  if (!found) return nullptr;
  const void* bytes = LockResource(LoadResource(HInstance, found));
  if (!bytes) return nullptr;
  return &(Layouts()[key] = std::string(static_cast<const char*>(bytes), SizeofResource(HInstance, found)));
}

TCustomForm* GetParentForm(TControl* control) {
  while (control && control->Parent()) control = control->Parent();
  return dynamic_cast<TCustomForm*>(control);
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner) {
  InitVisible(false);
  ControlStyle |= csAcceptsControls;
  SetColor(clBtnFace);
  left_ = 0;
  top_ = 0;
  width_ = 320;
  height_ = 240;
}

TCustomForm::~TCustomForm() {
  try {
    if (OnDestroy) OnDestroy(this);
  } catch (...) {
    ApplicationHandleException(this);
  }
  if (Application && Application->MainForm == this) Application->MainForm = nullptr;
  // The form's components go while it is still a form, each knowing that everything goes.
  Destroying();
  DestroyComponents();
}

void TCustomForm::AfterConstruction() {
  if (const std::string* layout = FindFormLayout(ClassName())) ReadComponentText(this, *layout);
  try {
    if (OnCreate) OnCreate(this);
  } catch (...) {
    ApplicationHandleException(this);
  }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  if (Parent()) return;  // docked: a child window of its host
  p.Style &= ~(WS_CHILD | WS_VISIBLE);
  p.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  if (borderStyle_ == bsNone)
    p.Style |= WS_POPUP;
  else
    p.Style |= WS_CAPTION | WS_SYSMENU | (borderStyle_ == bsSizeable ? WS_THICKFRAME : 0);
  if (borderStyle_ == bsDialog) p.ExStyle |= WS_EX_DLGMODALFRAME;
  p.WndParent = Application && Application->MainForm != this && Application->MainForm &&
                        Application->MainForm->HandleAllocated()
                    ? Application->MainForm->Handle()
                    : (Application ? Application->Handle() : nullptr);
}

void TCustomForm::PlaceOnFirstShow() {
  if (placed_ || Parent()) return;
  placed_ = true;
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  TCustomForm* center = nullptr;
  if (Position == poMainFormCenter || Position == poOwnerFormCenter) {
    center = dynamic_cast<TCustomForm*>(Owner());
    if (!center && Application) center = Application->MainForm;
    if (center == this) center = nullptr;
  }
  if (center) {
    SetBounds(center->Left() + (center->Width() - Width()) / 2, center->Top() + (center->Height() - Height()) / 2,
              Width(), Height());
  } else if (Position == poScreenCenter || Position == poDesktopCenter || Position == poMainFormCenter ||
             Position == poOwnerFormCenter) {
    SetBounds((sw - Width()) / 2, (sh - Height()) / 2, Width(), Height());
  }
}

void TCustomForm::Show() {
  PlaceOnFirstShow();
  SetVisible(true);
  if (HandleAllocated() && !Parent()) SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (modal_) {
    ModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  if (OnClose) OnClose(this, action);
  if (action == caNone) return;
  if (Application && Application->MainForm == this) {
    Application->Terminate();
  } else if (action == caHide || action == caMinimize) {
    Hide();
  } else if (action == caFree) {
    Release();
  }
}

void TCustomForm::Release() {
  if (HandleAllocated()) PostMessageA(Handle(), CM_RELEASE, 0, 0);
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || modal_) throw EInvalidOperation("A visible form cannot be shown modally");
  ModalResult = mrNone;
  modal_ = true;
  Show();
  platform::win::ModalInfo info;
  info.kind = platform::win::ModalInfo::Kind::Form;
  info.hwnd = Handle();
  info.className = WideString(ClassName()).ToU16();
  info.caption = WideString(Caption()).ToU16();
  DescribeModal(info);
  try {
    std::optional<platform::win::ModalAnswer> answer = platform::win::AskModal(info);
    if (answer && answer->type == platform::win::ModalAnswer::Type::Result) ModalResult = answer->result;
    if (answer && answer->type == platform::win::ModalAnswer::Type::Cancel) ModalResult = mrCancel;
    if (answer && answer->type == platform::win::ModalAnswer::Type::Drive && answer->drive) answer->drive();
    for (;;) {
      if (ModalResult == mrNone) {
        // The application's own loop runs inside, so keys get their shortcut step and idle
        // time updates the actions of the forms still enabled.
        std::function<bool()> pump;
        if (Application)
          pump = [] {
            Application->HandleMessage();
            return !Application->Terminated();
          };
        bool running = platform::win::RunModalLoop(
            Handle(), [this] { return ModalResult != mrNone || (Application && Application->Terminated()); }, pump);
        if (!running && ModalResult == mrNone) ModalResult = mrCancel;
      }
      // A program that is ending asks no questions.
      if (Application && Application->Terminated()) {
        if (ModalResult == mrNone) ModalResult = mrCancel;
        break;
      }
      // A form that refuses to close keeps running.
      if (!CloseQuery()) {
        ModalResult = mrNone;
        continue;
      }
      TCloseAction action = caHide;
      if (OnClose) OnClose(this, action);
      if (action == caNone) {
        ModalResult = mrNone;
        continue;
      }
      break;
    }
  } catch (...) {
    modal_ = false;
    Hide();
    throw;
  }
  modal_ = false;
  Hide();
  return ModalResult;
}

bool TCustomForm::KeyDown(WORD& key, TShiftState shift) { return TWinControl::KeyDown(key, shift); }

// ---- focus

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  bool loading = (ComponentState() & csLoading) != 0;
  if (control && (control == this || GetParentForm(control) != this || (!loading && !control->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible control");
  activeControl_ = control;
  if (!loading && active_) SetWindowFocus();
}

void TCustomForm::SetWindowFocus() {
  if (ComponentState() & csDestroying) return;
  HWND target = activeControl_ ? activeControl_->Handle() : Handle();
  if (target) ::SetFocus(target);
}

void TCustomForm::SetFocus() {
  if (active_) return;
  if (!Visible() || !Enabled()) throw EInvalidOperation("Cannot focus a disabled or invisible control");
  SetWindowFocus();
}

void TCustomForm::FocusControl(TWinControl* control) {
  bool wasActive = active_;
  SetActiveControl(control);
  if (!wasActive) SetFocus();
}

bool TCustomForm::SetFocusedControl(TWinControl* control) {
  int count = ++g_focusCount;
  activeControl_ = control != this ? control : nullptr;
  if (control->ControlState & csFocusing) return false;
  control->ControlState |= csFocusing;
  auto send = [count](TWinControl* to, UINT msg) {
    to->Perform(msg, 0, 0);
    return g_focusCount == count;
  };
  bool completed = true;
  try {
    if (!focusedControl_) focusedControl_ = this;
    // Out of the controls the focus left, innermost first, then into the new ones, outermost
    // first.
    while (completed && focusedControl_ && !focusedControl_->ContainsControl(control)) {
      TWinControl* leaving = focusedControl_;
      focusedControl_ = focusedControl_->Parent();
      completed = send(leaving, CM_EXIT);
    }
    while (completed && focusedControl_ && focusedControl_ != control) {
      TWinControl* entering = control;
      while (entering->Parent() != focusedControl_) entering = entering->Parent();
      focusedControl_ = entering;
      completed = send(entering, CM_ENTER);
    }
    if (completed) Perform(CM_FOCUSCHANGED, 0, reinterpret_cast<LPARAM>(control));
  } catch (...) {
    control->ControlState &= ~csFocusing;
    throw;
  }
  control->ControlState &= ~csFocusing;
  return completed;
}

void TCustomForm::DefocusControl(TControl* control, bool removing) {
  auto contains = [control](const TControl* c) {
    for (; c; c = c->Parent())
      if (c == control) return true;
    return false;
  };
  if (removing && contains(focusedControl_)) focusedControl_ = control->Parent();
  if (contains(activeControl_)) {
    activeControl_ = nullptr;
    if (active_) SetWindowFocus();
  }
}

// ---- keys and actions

bool TCustomForm::IsShortCut(TWMKey& message) {
  bool handled = false;
  if (OnShortCut) OnShortCut(message, handled);
  if (handled) return true;
  if (FormMenuShortCut && FormMenuShortCut(this, message)) return true;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* list = dynamic_cast<TCustomActionList*>(Components(i)); list && list->IsShortCut(message)) return true;
  return false;
}

void TCustomForm::UpdateActions() {
  if (!Showing() || (ComponentState() & (csLoading | csDestroying))) return;
  std::vector<TBasicAction*> done;
  for (int i = 0; i < ComponentCount(); ++i)
    if (auto* list = dynamic_cast<TCustomActionList*>(Components(i))) {
      for (int a = 0; a < list->ActionCount(); ++a) done.push_back(list->Actions(a));
      list->UpdateActions();
    }
  // Controls of the form follow actions that need not sit in one of its lists.
  auto update = [&done](TControl* c) {
    TBasicAction* action = c->Action();
    if (!action || std::find(done.begin(), done.end(), action) != done.end()) return;
    done.push_back(action);
    c->InitiateAction();
  };
  update(this);
  std::function<void(TWinControl*)> traverse = [&](TWinControl* container) {
    if (!container->Showing()) return;
    for (int i = 0; i < container->ControlCount(); ++i) {
      TControl* c = container->Controls(i);
      if ((c->ControlStyle & csActionClient) && c->Visible()) update(c);
      if (auto* w = dynamic_cast<TWinControl*>(c); w && w->ControlCount() > 0) traverse(w);
    }
  };
  traverse(this);
}

void TCustomForm::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case CM_VISIBLECHANGED:
      if (!Parent()) {
        if (Visible()) {
          HandleNeeded();
          ShowWindow(Handle(), SW_SHOW);
          if (OnShow) OnShow(this);
        } else {
          if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
          if (OnHide) OnHide(this);
        }
        return;
      }
      break;
    case WM_CLOSE:
      Close();
      return;
    case WM_ACTIVATE:
      active_ = m.WParamLo() != WA_INACTIVE;
      if (active_ && !Parent()) {
        // The focus goes back to the active control, or to the first one that takes it.
        if (!activeControl_) activeControl_ = FindNextControl(nullptr, true, true, false);
        SetWindowFocus();
      }
      break;
    case CM_ACTIONEXECUTE:
    case CM_ACTIONUPDATE: {
      // A target action looks for its target: the active control, the form, then its visible
      // controls.
      auto* action = reinterpret_cast<TBasicAction*>(m.LParam);
      if (!action || !Showing()) return;
      const bool execute = m.Msg == CM_ACTIONEXECUTE;
      auto offer = [&](TComponent* c) { return c && (execute ? c->ExecuteAction(action) : c->UpdateAction(action)); };
      std::function<bool(TWinControl*)> traverse = [&](TWinControl* container) {
        if (!container->Showing()) return false;
        for (int i = 0; i < container->ControlCount(); ++i) {
          TControl* c = container->Controls(i);
          if (c->Visible() && offer(c)) return true;
          if (auto* w = dynamic_cast<TWinControl*>(c); w && traverse(w)) return true;
        }
        return false;
      };
      if (offer(activeControl_) || offer(this) || traverse(this)) m.Result = 1;
      return;
    }
    case CM_DIALOGKEY:
      if (GetKeyState(VK_MENU) >= 0) {
        if (m.WParam == VK_TAB && GetKeyState(VK_CONTROL) >= 0) {
          SelectNext(activeControl_, GetKeyState(VK_SHIFT) >= 0, true);
          m.Result = 1;
          return;
        }
        if (m.WParam == VK_LEFT || m.WParam == VK_RIGHT || m.WParam == VK_UP || m.WParam == VK_DOWN) {
          // Arrows move within the active control's group (its parent).
          if (activeControl_ && activeControl_->Parent()) {
            activeControl_->Parent()->SelectNext(activeControl_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN, false);
            m.Result = 1;
          }
          return;
        }
      }
      break;
    case CM_RELEASE:
      // Freed by the application once this message's handling is over, not from inside it.
      Hide();
      if (Application) Application->ReleaseLater(this);
      return;
    default:
      break;
  }
  TWinControl::Dispatch(message);
}
