#include "platform/forms/TStaticText.h"

#include "platform/win/WindowDC.h"

TCustomStaticText::TCustomStaticText(TComponent* owner) : TWinControl(owner) {
  ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csReplicatable | csDoubleClicks;
  SetColor(clBtnFace);
  SetBounds(0, 0, 65, 17);
}

void TCustomStaticText::CreateParams(TCreateParams& p) {
  TWinControl::CreateParams(p);
  CreateSubClass(p, "STATIC");
  p.Style |= SS_NOTIFY;
  if (alignment_ == taRightJustify) p.Style |= SS_RIGHT;
  if (alignment_ == taCenter) p.Style |= SS_CENTER;
  if (borderStyle_ == sbsSingle) p.Style |= WS_BORDER;
  if (borderStyle_ == sbsSunken) p.Style |= SS_SUNKEN;
  if (!showAccelChar_) p.Style |= SS_NOPREFIX;
}

void TCustomStaticText::CreateWnd() {
  TWinControl::CreateWnd();
  AdjustBounds();
}

void TCustomStaticText::Loaded() {
  TWinControl::Loaded();
  AdjustBounds();
}

void TCustomStaticText::AdjustBounds() {
  if ((ComponentState() & (csLoading | csReading)) || !autoSize_) return;
  const AnsiString text = Caption();
  SIZE size{};
  {
    const WindowDC dc(nullptr);
    HGDIOBJ old = SelectObject(dc, Font()->Handle());
    GetTextExtentPoint32A(dc, text.c_str(), text.Length(), &size);
    SelectObject(dc, old);
  }
  SetBounds(Left(), Top(), size.cx + GetSystemMetrics(SM_CXBORDER) * 4,
            size.cy + GetSystemMetrics(SM_CYBORDER) * 4);
}

void TCustomStaticText::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  RecreateWnd();
}

void TCustomStaticText::SetAutoSize(bool value) {
  if (autoSize_ == value) return;
  autoSize_ = value;
  if (value) AdjustBounds();
}

void TCustomStaticText::SetBorderStyle(TStaticBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TCustomStaticText::SetShowAccelChar(bool value) {
  if (showAccelChar_ == value) return;
  showAccelChar_ = value;
  RecreateWnd();
}

void TCustomStaticText::SetFocusControl(TWinControl* value) {
  if (focusControl_ == value) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = value;
  if (value) value->FreeNotification(this);
}

void TCustomStaticText::Notification(TComponent* component, TOperation operation) {
  TWinControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomStaticText::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case CM_DIALOGCHAR:
      if (focusControl_ && Enabled() && showAccelChar_ &&
          IsAccel(static_cast<unsigned>(m.WParam), Caption()) && focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
      TWinControl::Dispatch(message);
      AdjustBounds();
      return;
    default:
      if (AnswerColorQuestion(m)) return;
      break;
  }
  TWinControl::Dispatch(message);
}
