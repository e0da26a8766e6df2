#include "platform/forms/TForm.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <map>

#include "platform/forms/CanvasHandleScope.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TCustomActionList.h"
#include "platform/forms/TMainMenu.h"
#include "platform/forms/TScreen.h"

void ApplicationHandleException(TObject* sender);
#include "platform/forms/TReader.h"
#include "platform/gdi/Bitmap.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/rtl/Program.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/win/Backend.h"
#include "platform/win/LayeredWindows.h"

TMenuShortCutHook FormMenuShortCut;

namespace {
// Counts focus changes, so a change made by a CM_ENTER or CM_EXIT handler ends the one that
// sent it.
int g_focusCount = 0;

std::map<std::string, std::string>& Layouts() {
  static std::map<std::string, std::string> layouts;
  return layouts;
}

BOOL CollectTaskWindow(HWND hwnd, LPARAM param) {
  auto* state = reinterpret_cast<std::pair<TTaskWindowList*, HWND>*>(param);
  if (hwnd != state->second && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd))
    state->first->windows.push_back(hwnd);
  return TRUE;
}

// The rows of a surface as rectangles of the pixels that differ from `key` (0x00RRGGBB); rows
// with the same runs share one band.
std::vector<RECT> NonKeyRects(const platform::gdi::Bitmap& surface, int width, int height, uint32_t key) {
  std::vector<RECT> out;
  std::vector<std::pair<int, int>> band, row;
  int bandTop = 0;
  auto flush = [&](int bottom) {
    for (auto [left, right] : band) out.push_back(RECT{left, bandTop, right, bottom});
  };
  const bool wide = surface.bpp() == 32;  // window surfaces: read the row's words directly
  for (int y = 0; y < height; ++y) {
    row.clear();
    if (wide) {
      const uint8_t* bytes = surface.Row(y);
      auto at = [bytes](int x) {
        uint32_t v;
        std::memcpy(&v, bytes + size_t(x) * 4, 4);
        return v & 0xFFFFFF;
      };
      for (int x = 0; x < width;) {
        while (x < width && at(x) == key) ++x;
        if (x == width) break;
        const int start = x;
        while (x < width && at(x) != key) ++x;
        row.emplace_back(start, x);
      }
    } else {
      for (int x = 0; x < width;) {
        if ((surface.GetRaw(x, y) & 0xFFFFFF) == key) {
          ++x;
          continue;
        }
        int start = x;
        while (x < width && (surface.GetRaw(x, y) & 0xFFFFFF) != key) ++x;
        row.emplace_back(start, x);
      }
    }
    if (y == 0 || row != band) {
      flush(y);
      band = row;
      bandTop = y;
    }
  }
  flush(height);
  return out;
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

TTaskWindowList* DisableTaskWindows(HWND activeWindow) {
  auto* list = new TTaskWindowList;
  std::pair<TTaskWindowList*, HWND> state{list, activeWindow};
  EnumWindows(&CollectTaskWindow, reinterpret_cast<LPARAM>(&state));
  for (HWND h : list->windows) EnableWindow(h, FALSE);
  return list;
}

void EnableTaskWindows(TTaskWindowList* list) {
  if (!list) return;
  for (HWND h : list->windows)
    if (IsWindow(h)) EnableWindow(h, TRUE);
  delete list;
}

TCustomForm::TCustomForm(TComponent* owner) : TWinControl(owner), canvas_(this) {
  InitVisible(false);
  ControlStyle |= csAcceptsControls;
  SetColor(clBtnFace);
  left_ = 0;
  top_ = 0;
  width_ = 320;
  height_ = 240;
  if (Screen) Screen->AddForm(this);
}

TCustomForm::TCustomForm(TComponent* owner, int) : TCustomForm(owner) { createdNew_ = true; }

TCustomForm::~TCustomForm() {
  try {
    if (OnDestroy) OnDestroy(this);
  } catch (...) {
    ApplicationHandleException(this);
  }
  if (Application && Application->MainForm == this) Application->MainForm = nullptr;
  if (Screen) Screen->RemoveForm(this);
  // The form's components go while it is still a form, each knowing that everything goes.
  Destroying();
  DestroyComponents();
  canvas_.FreeHandle();
}

void TCustomForm::AfterConstruction() {
  formState_ |= fsCreating;
  {
    platform::ScopeExit restore([&] { formState_ &= ~fsCreating; });
    if (!createdNew_) ReadFormLayout();
  }
  DoCreate();
  if (formState_ & fsActivated) {
    formState_ &= ~fsActivated;
    Activate();
  }
}

void TCustomForm::ReadFormLayout() {
  if (const std::string* layout = FindFormLayout(ClassName())) ReadComponentText(this, *layout);
}

void TCustomForm::DoCreate() {
  try {
    if (OnCreate) OnCreate(this);
  } catch (...) {
    ApplicationHandleException(this);
  }
}

void TCustomForm::SetBorderStyle(TFormBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  if (!Parent()) RecreateWnd();
}

void TCustomForm::SetFormStyle(TFormStyle value) {
  if (formStyle_ == value) return;
  TFormStyle old = formStyle_;
  formStyle_ = value;
  if (!HandleAllocated() || Parent()) return;
  if (value == fsMDIChild || old == fsMDIChild) {
    RecreateWnd();
    return;
  }
  SetWindowPos(Handle(), value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TCustomForm::SetTransparentColor(bool value) {
  if (transparentColor_ == value) return;
  transparentColor_ = value;
  if (!HandleAllocated() || Parent()) return;
  if (value)
    Invalidate();  // the next paint computes the shape
  else
    SetWindowRgn(Handle(), nullptr, TRUE);
}

void TCustomForm::SetTransparentColorValue(TColor value) {
  if (transparentColorValue_ == value) return;
  transparentColorValue_ = value;
  if (transparentColor_ && HandleAllocated() && !Parent()) Invalidate();
}

void TCustomForm::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  if (Parent()) return;  // docked: a child window of its host
  p.Style &= ~(WS_CHILD | WS_VISIBLE);
  p.Style |= WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
  switch (borderStyle_) {
    case bsNone:
      p.Style |= WS_POPUP;
      break;
    case bsSingle:
      p.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
      break;
    case bsSizeable:
      p.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
      break;
    case bsDialog:
      p.Style |= WS_CAPTION | WS_SYSMENU;
      p.ExStyle |= WS_EX_DLGMODALFRAME;
      break;
    case bsToolWindow:
      p.Style |= WS_CAPTION | WS_SYSMENU;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
    case bsSizeToolWin:
      p.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
      p.ExStyle |= WS_EX_TOOLWINDOW;
      break;
  }
  if (formStyle_ == fsStayOnTop) p.ExStyle |= WS_EX_TOPMOST;
  if (alphaBlend_) p.ExStyle |= WS_EX_LAYERED;
  // Owned by its owner form, else by the main form, else by the application window.
  auto* ownerForm = dynamic_cast<TCustomForm*>(Owner());
  if (ownerForm && ownerForm != this && ownerForm->HandleAllocated() && !ownerForm->Parent())
    p.WndParent = ownerForm->Handle();
  else if (Application && Application->MainForm && Application->MainForm != this &&
           Application->MainForm->HandleAllocated() && !Application->MainForm->Parent())
    p.WndParent = Application->MainForm->Handle();
  else
    p.WndParent = Application ? Application->Handle() : nullptr;
}

void TCustomForm::CreateWnd() {
  if (formStyle_ == fsMDIChild)
    throw EInvalidOperation("Cannot create form. No MDI forms are currently active");
  TWinControl::CreateWnd();
  if (menu_) menu_->SetWindowHandle(Handle());
  if (alphaBlend_ && !Parent()) UpdateLayered();
}

void TCustomForm::SetAlphaBlend(bool value) {
  if (alphaBlend_ == value) return;
  alphaBlend_ = value;
  UpdateLayered();
}

void TCustomForm::SetAlphaBlendValue(BYTE value) {
  if (alphaBlendValue_ == value) return;
  alphaBlendValue_ = value;
  if (alphaBlend_) UpdateLayered();
}

void TCustomForm::UpdateLayered() {
  if (!HandleAllocated() || Parent()) return;
  const LONG exStyle = GetWindowLongW(Handle(), GWL_EXSTYLE);
  if (!alphaBlend_) {
    if (exStyle & WS_EX_LAYERED) SetWindowLongW(Handle(), GWL_EXSTYLE, exStyle & ~LONG(WS_EX_LAYERED));
    return;
  }
  if (!(exStyle & WS_EX_LAYERED)) SetWindowLongW(Handle(), GWL_EXSTYLE, exStyle | LONG(WS_EX_LAYERED));
  SetLayeredWindowAttributes(Handle(), 0, alphaBlendValue_, LWA_ALPHA);
}

void TCustomForm::SetMenu(TMainMenu* value) {
  if (menu_ == value) return;
  if (menu_) {
    menu_->SetWindowHandle(nullptr);
    menu_->RemoveFreeNotification(this);
  }
  menu_ = value;
  if (!menu_) return;
  menu_->FreeNotification(this);
  if (HandleAllocated()) menu_->SetWindowHandle(Handle());
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == menu_) menu_ = nullptr;
}

void TCustomForm::DestroyWindowHandle() {
  canvas_.FreeHandle();
  if (menu_) menu_->SetWindowHandle(nullptr);
  TWinControl::DestroyWindowHandle();
}

void TCustomForm::SetParent(TWinControl* parent) {
  if (Parent() == parent) return;
  // A top-level window does not become a child window or back: it is made again.
  if (HandleAllocated()) DestroyHandle();
  TWinControl::SetParent(parent);
  if (!parent && Visible() && !(ComponentState() & csDestroying)) {
    HandleNeeded();
    ShowWindow(Handle(), SW_SHOW);
  }
}

void TCustomForm::PaintWindow(HDC dc) {
  canvas_.FreeHandle();
  CanvasHandleScope drawing(canvas_, dc);
  canvas_.Font()->Assign(Font());
  canvas_.Brush()->SetColor(Color());
  Paint();
}

void TCustomForm::Paint() {
  if (OnPaint) OnPaint(this);
}

void TCustomForm::PlaceOnFirstShow() {
  if (placed_ || Parent()) return;
  placed_ = true;
  int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
  TCustomForm* mainForm = Application ? Application->MainForm : nullptr;
  if (mainForm == this || (mainForm && mainForm->Parent())) mainForm = nullptr;
  TCustomForm* center = nullptr;
  switch (Position) {
    case poScreenCenter:
    case poDesktopCenter:
      break;
    case poMainFormCenter:
      center = mainForm;
      break;
    case poOwnerFormCenter:
      center = dynamic_cast<TCustomForm*>(Owner());
      if (center == this || (center && center->Parent())) center = nullptr;
      if (!center) center = mainForm;
      break;
    default:
      return;  // poDesigned keeps Left and Top; the others leave them to the desktop
  }
  int x = (sw - Width()) / 2, y = (sh - Height()) / 2;
  if (center) {
    x = center->Left() + (center->Width() - Width()) / 2;
    y = center->Top() + (center->Height() - Height()) / 2;
  }
  SetBounds(std::max(x, 0), std::max(y, 0), Width(), Height());
}

void TCustomForm::Show() {
  SetVisible(true);
  if (HandleAllocated() && !Parent()) SetWindowPos(Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TCustomForm::DoShow() {
  if (OnShow) OnShow(this);
}
void TCustomForm::DoHide() {
  if (OnHide) OnHide(this);
}
void TCustomForm::DoClose(TCloseAction& action) {
  if (OnClose) OnClose(this, action);
}
void TCustomForm::Activate() {
  if (OnActivate) OnActivate(this);
}
void TCustomForm::Deactivate() {
  if (OnDeactivate) OnDeactivate(this);
}

bool TCustomForm::CloseQuery() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  return canClose;
}

void TCustomForm::Close() {
  if (formState_ & fsModal) {
    ModalResult = mrCancel;
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  if (action == caNone) return;
  if (Application && Application->MainForm == this) {
    Application->Terminate();
  } else if (action == caHide) {
    Hide();
  } else if (action == caMinimize) {
    if (HandleAllocated() && !Parent()) ShowWindow(Handle(), SW_MINIMIZE);
  } else {
    Release();
  }
}

void TCustomForm::Release() { PostMessageA(Handle(), CM_RELEASE, 0, 0); }

void TCustomForm::CloseModal() {
  try {
    TCloseAction action = caNone;
    if (CloseQuery()) {
      action = caHide;
      DoClose(action);
    }
    if (action == caNone)
      ModalResult = mrNone;
    else if (action == caFree)
      Release();
  } catch (...) {
    ModalResult = mrNone;
    ApplicationHandleException(this);
  }
}

TModalResult TCustomForm::ShowModal() {
  if (Visible() || !Enabled() || (formState_ & fsModal) || formStyle_ == fsMDIChild || Parent())
    throw EInvalidOperation("A visible form cannot be shown modally");
  if (HWND capture = GetCapture()) SendMessageA(capture, WM_CANCELMODE, 0, 0);
  ReleaseCapture();
  if (Application) Application->CancelHint();
  formState_ |= fsModal;
  HWND activeBefore = GetActiveWindow();
  TTaskWindowList* disabled = DisableTaskWindows(nullptr);
  auto restore = [&] {
    formState_ &= ~fsModal;
    EnableTaskWindows(disabled);
    if (activeBefore && IsWindow(activeBefore) && IsWindowVisible(activeBefore))
      SetActiveWindow(activeBefore);
  };
  {
    platform::ScopeExit undo([&] { restore(); });
    Show();
    platform::ScopeExit hide([&] { Hide(); });
    ModalResult = mrNone;
    platform::win::ModalInfo info;
    info.kind = platform::win::ModalInfo::Kind::Form;
    info.hwnd = Handle();
    info.className = WideString(ClassName()).ToU16();
    info.caption = WideString(Caption()).ToU16();
    DescribeModal(info);
    std::optional<platform::win::ModalAnswer> answer = platform::win::AskModal(info);
    if (answer && answer->type == platform::win::ModalAnswer::Type::Result) ModalResult = answer->result;
    if (answer && answer->type == platform::win::ModalAnswer::Type::Cancel) ModalResult = mrCancel;
    if (answer && answer->type == platform::win::ModalAnswer::Type::Drive && answer->drive) answer->drive();
    if (ModalResult != mrNone) CloseModal();
    while (ModalResult == mrNone) {
      if (!Application || Application->Terminated()) {
        ModalResult = mrCancel;
        break;
      }
      Application->HandleMessage();
      if (Application->Terminated())
        ModalResult = mrCancel;
      else if (ModalResult != mrNone)
        CloseModal();
    }
  }
  return ModalResult;
}

bool TCustomForm::KeyDown(WORD& key, TShiftState shift) { return TWinControl::KeyDown(key, shift); }

void TCustomForm::SetActive(bool value) {
  bool changed = active_ != value;
  active_ = value;
  if (value && !Parent()) {
    // The focus goes back to the active control, or to the first one that takes it.
    if (!activeControl_) activeControl_ = FindNextControl(nullptr, true, true, false);
    SetWindowFocus();
  }
  if (changed) Perform(value ? CM_ACTIVATE : CM_DEACTIVATE, 0, 0);
}

void TCustomForm::UpdateShape() {
  if (!HandleAllocated() || Parent()) return;
  auto surface = platform::win::WindowSurface(Handle());
  if (!surface) return;
  COLORREF key = ColorToRGB(transparentColorValue_);
  uint32_t rawKey = (uint32_t(GetRValue(key)) << 16) | (uint32_t(GetGValue(key)) << 8) | GetBValue(key);
  RECT client = ClientRect();
  int width = std::min<int>(client.right, surface->width()),
      height = std::min<int>(client.bottom, surface->height());
  std::vector<RECT> rects = NonKeyRects(*surface, std::max(width, 0), std::max(height, 0), rawKey);
  std::vector<char> data(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
  RGNDATAHEADER header{sizeof(RGNDATAHEADER), RDH_RECTANGLES, static_cast<DWORD>(rects.size()),
                       static_cast<DWORD>(rects.size() * sizeof(RECT)), RECT{0, 0, width, height}};
  std::memcpy(data.data(), &header, sizeof header);
  if (!rects.empty()) std::memcpy(data.data() + sizeof header, rects.data(), rects.size() * sizeof(RECT));
  OwnedGdiObject<HRGN> shape(ExtCreateRegion(nullptr, static_cast<DWORD>(data.size()),
                                             reinterpret_cast<const RGNDATA*>(data.data())));
  if (!shape) return;
  OwnedGdiObject<HRGN> current(CreateRectRgn(0, 0, 0, 0));
  if (GetWindowRgn(Handle(), current) != ERROR && EqualRgn(current, shape)) return;
  SetWindowRgn(Handle(), shape.Release(), FALSE);  // the window owns it now
}

void TCustomForm::PaintForm(TMessage& m) {
  // Painting is clipped to the shape, so an area that is to turn from the key colour into
  // something else could never show: a paint reaching outside the shape starts without one.
  {
    OwnedGdiObject<HRGN> update(CreateRectRgn(0, 0, 0, 0)), shape(CreateRectRgn(0, 0, 0, 0));
    if (GetUpdateRgn(Handle(), update, FALSE) > NULLREGION && GetWindowRgn(Handle(), shape) != ERROR) {
      OwnedGdiObject<HRGN> outside(CreateRectRgn(0, 0, 0, 0));
      if (CombineRgn(outside, update, shape, RGN_DIFF) != NULLREGION) SetWindowRgn(Handle(), nullptr, FALSE);
    }
  }
  TWinControl::Dispatch(&m);
  // Child windows paint after their parent: bring them up to date so the shape sees them.
  RedrawWindow(Handle(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  UpdateShape();
}

// ---- focus

void TCustomForm::SetActiveControl(TWinControl* control) {
  if (control == activeControl_) return;
  bool loading = (ComponentState() & csLoading) != 0;
  if (control && (control == this || GetParentForm(control) != this || (!loading && !control->CanFocus())))
    throw EInvalidOperation("Cannot focus a disabled or invisible control");
  activeControl_ = control;
  if (!loading && active_) SetWindowFocus();
}

void TCustomForm::SetActiveControlInPlace(TWinControl* control) {
  if (control && control != this && GetParentForm(control) == this) activeControl_ = control;
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
  {
    platform::ScopeExit restore([&] { control->ControlState &= ~csFocusing; });
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
  }
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
    if (auto* list = dynamic_cast<TCustomActionList*>(Components(i)); list && list->IsShortCut(message))
      return true;
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
    case CM_VISIBLECHANGED: {
      formState_ |= fsShowing;
      {
        platform::ScopeExit restore([&] { formState_ &= ~fsShowing; });
        if (Visible()) {
          formState_ |= fsVisible;
          try {
            DoShow();
          } catch (...) {
            ApplicationHandleException(this);
          }
          PlaceOnFirstShow();
          if (!Parent()) {
            HandleNeeded();
            ShowWindow(Handle(), SW_SHOW);
          }
        } else {
          try {
            DoHide();
          } catch (...) {
            ApplicationHandleException(this);
          }
          formState_ &= ~fsVisible;
          if (!Parent() && HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
        }
      }
      if (!Parent()) return;
      break;  // docked: shown and hidden as a child window
    }
    case WM_ACTIVATE:
      SetActive(m.WParamLo() != WA_INACTIVE);
      break;
    case CM_ACTIVATE:
      if (ComponentState() & csReading)
        formState_ |= fsActivated;  // activated while its layout is read: told afterwards
      else
        Activate();
      return;
    case CM_DEACTIVATE:
      Deactivate();
      return;
    case WM_PAINT:
      if (transparentColor_ && !m.WParam && HandleAllocated() && !Parent()) {
        PaintForm(m);
        return;
      }
      break;
    case WM_CLOSE:
      Close();
      return;
    case CM_ACTIONEXECUTE:
    case CM_ACTIONUPDATE: {
      // A target action looks for its target: the active control, the form, then its visible
      // controls.
      auto* action = reinterpret_cast<TBasicAction*>(m.LParam);
      if (!action || !Showing()) return;
      const bool execute = m.Msg == CM_ACTIONEXECUTE;
      auto offer = [&](TComponent* c) {
        return c && (execute ? c->ExecuteAction(action) : c->UpdateAction(action));
      };
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
            activeControl_->Parent()->SelectNext(activeControl_, m.WParam == VK_RIGHT || m.WParam == VK_DOWN,
                                                 false);
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
