#include "platform/forms/TControl.h"

#include <algorithm>
#include <cstring>

#include "platform/forms/TControlActionLink.h"
#include "platform/forms/TCustomAction.h"
#include "platform/forms/THintWindow.h"
#include "platform/forms/TPopupMenu.h"
#include "platform/forms/TWinControl.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/win/Win.h"

// The application's bookkeeping of the mouse and of controls (TApplication.cpp).
void ApplicationMouseMessage(TControl* control, TMessage& message);
void ApplicationControlDestroyed(TControl* control);

namespace {
// The control that holds the mouse, windowed or not (a windowless one through its parent).
TControl* g_captureControl = nullptr;
}  // namespace

TShiftState MouseShiftState(WPARAM keys) {
  TShiftState s = 0;
  if (keys & MK_SHIFT) s |= ssShift;
  if (keys & MK_CONTROL) s |= ssCtrl;
  if (keys & MK_LBUTTON) s |= ssLeft;
  if (keys & MK_RBUTTON) s |= ssRight;
  if (keys & MK_MBUTTON) s |= ssMiddle;
  if (GetKeyState(VK_MENU) < 0) s |= ssAlt;
  return s;
}

TControl::TControl(TComponent* owner) : TComponent(owner) {
  WindowProc = TWndMethodValue::Of<TControl, &TControl::WndProc>(this);
  font_.OnChange = [this](TObject*) { Perform(CM_FONTCHANGED, 0, 0); };
  constraints_.OnChange = [this](TObject*) { SetBounds(left_, top_, width_, height_); };
}

TControl::~TControl() {
  if (g_captureControl == this) g_captureControl = nullptr;
  ApplicationControlDestroyed(this);
  action_.DeleteLink();
  SetParent(nullptr);
}

void TControl::SetParent(TWinControl* parent) {
  if (parent_ == parent) return;
  if (parent == this) throw EInvalidOperation("A control cannot be its own parent");
  if (parent_) parent_->RemoveControl(this);
  if (parent) parent->InsertControl(this);
}

TComponent* TControl::GetParentComponent() const { return parent_; }

void TControl::SetParentComponent(TComponent* value) {
  if (auto* w = dynamic_cast<TWinControl*>(value)) SetParent(w);
}

void TControl::Notification(TComponent* component, TOperation operation) {
  TComponent::Notification(component, operation);
  if (operation == opRemove && component == popupMenu_) popupMenu_ = nullptr;
  // A link whose action is gone has already been cut loose by the action.
  if (action_.LosesAction(component, operation)) SetAction(nullptr);
}

void TControl::SetPopupMenu(TPopupMenu* value) {
  if (popupMenu_ == value) return;
  if (popupMenu_) popupMenu_->RemoveFreeNotification(this);
  popupMenu_ = value;
  if (value) value->FreeNotification(this);
}

void TControl::DoContextPopup(POINT mousePos, bool& handled) {
  if (OnContextPopup) OnContextPopup(this, mousePos, handled);
}

void TControl::ContextMenu(TMessage& m) {
  POINT screen{GET_X_LPARAM(m.LParam), GET_Y_LPARAM(m.LParam)};
  // (-1, -1): asked from the keyboard, so the menu shows at the control's corner.
  const bool byKeyboard = screen.x == -1 && screen.y == -1;
  bool handled = false;
  DoContextPopup(byKeyboard ? screen : ScreenToClient(screen), handled);
  if (handled) {
    m.Result = 1;
    return;
  }
  TPopupMenu* menu = GetPopupMenu();
  if (menu && menu->AutoPopup()) {
    if (byKeyboard) screen = ClientToScreen(POINT{0, 0});
    menu->SetPopupComponent(this);
    menu->Popup(screen.x, screen.y);
    m.Result = 1;
    return;
  }
  // A windowed control's window passes it on to its parent's.
  TObject::Dispatch(&m);
}

void TControl::Loaded() {
  TComponent::Loaded();
  if (TBasicAction* action = Action()) ActionChange(action, true);
}

TBasicAction* TControl::Action() const { return action_.Action(); }

TActionLinkClass TControl::GetActionLinkClass() const { return ActionLinkClassOf<TControlActionLink>(); }

void TControl::SetAction(TBasicAction* value) {
  if (!value) {
    action_.Drop();
    ControlStyle &= ~csActionClient;
    return;
  }
  action_.MakeLink(GetActionLinkClass());
  ControlStyle |= csActionClient;
  action_.Follow(value, [this](TObject* sender, bool checkDefaults) { ActionChange(sender, checkDefaults); });
}

void TControl::ActionChange(TObject* sender, bool checkDefaults) {
  auto* action = dynamic_cast<TCustomAction*>(sender);
  if (!action) return;
  if (!checkDefaults || Caption().IsEmpty() || Caption() == Name()) SetCaption(action->Caption());
  if (!checkDefaults || Enabled()) SetEnabled(action->Enabled());
  if (!checkDefaults || Hint().IsEmpty()) SetHint(action->Hint());
  if (!checkDefaults || Visible()) SetVisible(action->Visible());
}

void TControl::InitiateAction() { action_.Update(); }

void TControl::AssignTo(TPersistent* dest) {
  auto* action = dynamic_cast<TCustomAction*>(dest);
  if (!action) {
    TComponent::AssignTo(dest);
    return;
  }
  action->SetEnabled(Enabled());
  action->SetHint(Hint());
  action->SetCaption(Caption());
  action->SetVisible(Visible());
  action->OnExecute = OnClick;
}

void TControl::SetBounds(int left, int top, int width, int height) {
  ConstrainSize(width, height);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  Invalidate();
  bool resized = width != width_ || height != height_;
  left_ = left;
  top_ = top;
  width_ = std::max(width, 0);
  height_ = std::max(height, 0);
  Invalidate();
  if (parent_) parent_->Realign();
  if (resized) Resize();
}

void TControl::Resize() {
  if (OnResize) OnResize(this);
}

POINT TControl::ClientToScreen(POINT p) const {
  POINT r{p.x + left_, p.y + top_};
  if (parent_) return parent_->ClientToScreen(r);
  return r;
}

POINT TControl::ScreenToClient(POINT p) const {
  POINT origin = ClientToScreen(POINT{0, 0});
  return POINT{p.x - origin.x, p.y - origin.y};
}

void TControl::SetAlign(TAlign value) {
  if (align_ == value) return;
  align_ = value;
  if (parent_) parent_->Realign();
}

bool TControl::Showing() const {
  if (!visible_) return false;
  return parent_ ? parent_->Showing() : true;
}

void TControl::SetVisible(bool value) {
  // Setting the current value changes and invalidates nothing.
  if (visible_ == value) return;
  VisibleChanging();
  if (!value) Invalidate();
  visible_ = value;
  Perform(CM_VISIBLECHANGED, value ? 1 : 0, 0);
  if (value) Invalidate();
  if (parent_) parent_->Realign();
}

void TControl::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  Perform(CM_ENABLEDCHANGED, 0, 0);
}

void TControl::SetShowHint(bool value) {
  if (showHint_ == value) return;
  showHint_ = value;
  parentShowHint_ = false;
  Perform(CM_SHOWHINTCHANGED, 0, 0);
}

void TControl::SetParentShowHint(bool value) {
  if (parentShowHint_ == value) return;
  parentShowHint_ = value;
  if (parent_) Perform(CM_PARENTSHOWHINTCHANGED, 0, 0);
}

void TControl::SetColor(TColor value) {
  parentColor_ = false;
  if (color_ == value) return;
  color_ = value;
  Perform(CM_COLORCHANGED, 0, 0);
}

void TControl::SetParentColor(bool value) {
  if (parentColor_ == value) return;
  parentColor_ = value;
  Perform(CM_PARENTCOLORCHANGED, 0, 0);
}

void TControl::SetAutoSize(bool value) {
  if (autoSize_ == value) return;
  autoSize_ = value;
  if (value) AdjustSize();
}

void TControl::SetCursor(TCursor value) {
  if (cursor_ == value) return;
  cursor_ = value;
  Perform(CM_CURSORCHANGED, 0, 0);
}

AnsiString TControl::GetText() const {
  auto* self = const_cast<TControl*>(this);
  LRESULT length = self->Perform(WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) return AnsiString();
  std::string buffer(static_cast<std::size_t>(length) + 1, '\0');
  LRESULT got =
      self->Perform(WM_GETTEXT, static_cast<WPARAM>(buffer.size()), reinterpret_cast<LPARAM>(buffer.data()));
  buffer.resize(static_cast<std::size_t>(std::clamp<LRESULT>(got, 0, length)));
  return AnsiString(std::move(buffer));
}

void TControl::SetText(const AnsiString& value) {
  if (GetText() == value) return;
  Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
  Perform(CM_TEXTCHANGED, 0, 0);
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  TMessage m{msg, wParam, lParam, 0};
  WindowProc(m);
  return m.Result;
}

void TControl::WndProc(TMessage& message) {
  // The application follows the mouse (enter, leave, hints) and ends a hint on a press or key.
  UINT msg = message.Msg;
  if ((msg >= WM_MOUSEMOVE && msg <= WM_MBUTTONDBLCLK) || msg == WM_MOUSELEAVE || msg == WM_KEYDOWN ||
      msg == WM_SYSKEYDOWN)
    ApplicationMouseMessage(this, message);
  Dispatch(&message);
}

void TControl::HandleMouse(TMessage& m) {
  int x = static_cast<SHORT>(m.LParamLo()), y = static_cast<SHORT>(m.LParamHi());
  TShiftState shift = MouseShiftState(m.WParam);
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
      if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
      if (ControlStyle & csClickEvents) ControlState |= csClicked;
      ControlState |= csLButtonDown;
      MouseDown(mbLeft, shift, x, y);
      break;
    case WM_LBUTTONDBLCLK:
      if (ControlStyle & csCaptureMouse) SetMouseCapture(true);
      ControlState |= csLButtonDown;
      if (ControlStyle & csDoubleClicks) DblClick();
      MouseDown(mbLeft, shift | ssDouble, x, y);
      break;
    case WM_LBUTTONUP: {
      if (ControlStyle & csCaptureMouse) SetMouseCapture(false);
      bool clicked = ControlState & csClicked;
      ControlState &= ~(csClicked | csLButtonDown);
      if (clicked && x >= 0 && y >= 0 && x < width_ && y < height_) Click();
      MouseUp(mbLeft, shift, x, y);
      break;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
      MouseDown(mbRight, shift | (m.Msg == WM_RBUTTONDBLCLK ? TShiftState(ssDouble) : TShiftState(0)), x, y);
      break;
    case WM_RBUTTONUP:
      MouseUp(mbRight, shift, x, y);
      break;
    case WM_MBUTTONDOWN:
      MouseDown(mbMiddle, shift, x, y);
      break;
    case WM_MBUTTONUP:
      MouseUp(mbMiddle, shift, x, y);
      break;
    case WM_MOUSEMOVE:
      MouseMove(shift, x, y);
      break;
  }
}

void TControl::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_RBUTTONUP:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MOUSEMOVE:
      HandleMouse(m);
      // The window's own behaviour for the message still follows.
      TObject::Dispatch(message);
      return;
    case CM_MOUSEENTER:
      if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) {
        if (OnMouseEnter) OnMouseEnter(this);
      }
      if (parent_) parent_->Perform(CM_MOUSEENTER, 0, m.LParam ? m.LParam : reinterpret_cast<LPARAM>(this));
      return;
    case CM_MOUSELEAVE:
      if (m.LParam == 0 || m.LParam == reinterpret_cast<LPARAM>(this)) {
        if (OnMouseLeave) OnMouseLeave(this);
      }
      if (parent_) parent_->Perform(CM_MOUSELEAVE, 0, m.LParam ? m.LParam : reinterpret_cast<LPARAM>(this));
      return;
    case CM_HINTSHOW:
      // The action may change the hint (and name its shortcut) or refuse it.
      if (ActionLink() && !ActionLink()->DoShowHint(reinterpret_cast<THintInfo*>(m.LParam)->HintStr))
        m.Result = 1;
      return;
    case CM_PARENTSHOWHINTCHANGED:
      if (parentShowHint_ && parent_) {
        SetShowHint(parent_->ShowHint());
        parentShowHint_ = true;
      }
      return;
    case CM_PARENTCOLORCHANGED:
      if (parentColor_ && parent_ && color_ != parent_->Color()) {
        color_ = parent_->Color();
        Perform(CM_COLORCHANGED, 0, 0);
      }
      return;
    case WM_CONTEXTMENU:
      ContextMenu(m);
      return;
    case CM_VISIBLECHANGED:
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
    case CM_TEXTCHANGED:
      Invalidate();
      return;
    default:
      TObject::Dispatch(message);
  }
}

void TControl::DefaultHandler(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case WM_GETTEXTLENGTH:
      m.Result = text_.Length();
      break;
    case WM_GETTEXT: {
      if (m.WParam == 0 || !m.LParam) {
        m.Result = 0;
        break;
      }
      std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(text_.Length()), m.WParam - 1);
      auto* out = reinterpret_cast<char*>(m.LParam);
      std::memcpy(out, text_.c_str(), n);
      out[n] = '\0';
      m.Result = static_cast<LRESULT>(n);
      break;
    }
    case WM_SETTEXT:
      text_ = AnsiString(reinterpret_cast<const char*>(m.LParam));
      m.Result = 1;
      break;
    default:
      break;
  }
}

void TControl::Click() {
  // A control's own click handler wins; without one the click executes its action, whose
  // OnExecute sees the action as sender and the control as ActionComponent.
  if (OnClick)
    OnClick(this);
  else
    action_.Execute();
}
void TControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}
void TControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}
void TControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}
void TControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TControl::Invalidate() {
  if (!parent_ || !parent_->HandleAllocated() || width_ <= 0 || height_ <= 0) return;
  RECT r = BoundsRect();
  InvalidateRect(parent_->Handle(), &r, (ControlStyle & csOpaque) ? FALSE : TRUE);
}

void TControl::Update() {
  if (parent_) parent_->Update();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::BringToFront() {
  if (parent_) parent_->SetChildOrder(this, true);
}
void TControl::SendToBack() {
  if (parent_) parent_->SetChildOrder(this, false);
}

bool TControl::MouseCapture() const { return g_captureControl == this; }

TControl* GetCaptureControl() { return g_captureControl; }

void CaptureLeftWindow(HWND holder, HWND newCapture) {
  if (!g_captureControl || newCapture == holder) return;
  auto* self = dynamic_cast<TWinControl*>(g_captureControl);
  TWinControl* held = self ? self : g_captureControl->Parent();
  if (held && held->HandleAllocated() && held->Handle() == holder) g_captureControl = nullptr;
}

void TControl::SetMouseCapture(bool value) {
  if (value) {
    g_captureControl = this;
    auto* self = dynamic_cast<TWinControl*>(this);
    TWinControl* holder = self ? self : parent_;
    if (holder && holder->HandleAllocated()) ::SetCapture(holder->Handle());
  } else if (g_captureControl == this) {
    g_captureControl = nullptr;
    ReleaseCapture();
  }
}
