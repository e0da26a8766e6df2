#include "platform/forms/TForm.h"

#include <map>

#include "platform/forms/TApplication.h"

void ApplicationHandleException(TObject* sender);
#include "platform/forms/TReader.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/win/Backend.h"

namespace {
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
        bool running = platform::win::RunModalLoop(Handle(), [this] { return ModalResult != mrNone; });
        if (!running && ModalResult == mrNone) ModalResult = mrCancel;
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
