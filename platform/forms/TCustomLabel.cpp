#include "platform/forms/TCustomLabel.h"

#include "platform/forms/CanvasHandleScope.h"
#include "platform/forms/TWinControl.h"
#include "platform/gdi/Gdi.h"
#include "platform/win/Win.h"
#include "platform/win/WindowDC.h"

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
  ControlStyle |= csOpaque | csReplicatable;
  SetBounds(0, 0, 65, 17);
  InitAutoSize(true);
  SetParentColor(true);
}

void TCustomLabel::SetAlignment(TAlignment value) {
  if (alignment_ == value) return;
  alignment_ = value;
  Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
  if (layout_ == value) return;
  layout_ = value;
  Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
  if (wordWrap_ == value) return;
  wordWrap_ = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
  if (Transparent() == value) return;
  // The parent's erase shows through only when the label says it is not opaque.
  Invalidate();
  if (value)
    ControlStyle &= ~csOpaque;
  else
    ControlStyle |= csOpaque;
  Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
  if (showAccelChar_ == value) return;
  showAccelChar_ = value;
  AdjustBounds();
  Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
  if (focusControl_ == value) return;
  if (focusControl_) focusControl_->RemoveFreeNotification(this);
  focusControl_ = value;
  if (value) value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
  TGraphicControl::Notification(component, operation);
  if (operation == opRemove && component == focusControl_) focusControl_ = nullptr;
}

void TCustomLabel::SetAutoSize(bool value) {
  if (AutoSize() == value) return;
  TGraphicControl::SetAutoSize(value);
}

AnsiString TCustomLabel::GetLabelText() { return Caption(); }

void TCustomLabel::DoDrawText(RECT& rect, UINT flags) {
  AnsiString text = GetLabelText();
  if ((flags & DT_CALCRECT) && (text.IsEmpty() || (showAccelChar_ && text == "&"))) text = text + " ";
  if (!showAccelChar_) flags |= DT_NOPREFIX;
  TCanvas* canvas = Canvas();
  canvas->Font()->Assign(Font());
  HDC dc = canvas->Handle();
  if (Enabled() || (flags & DT_CALCRECT)) {
    DrawTextA(dc, text.c_str(), text.Length(), &rect, flags);
    return;
  }
  // Disabled: embossed, a highlight copy one pixel down and right under the shadow-coloured text.
  OffsetRect(&rect, 1, 1);
  canvas->Font()->SetColor(clBtnHighlight);
  DrawTextA(dc, text.c_str(), text.Length(), &rect, flags);
  OffsetRect(&rect, -1, -1);
  canvas->Font()->SetColor(clBtnShadow);
  DrawTextA(dc, text.c_str(), text.Length(), &rect, flags);
}

void TCustomLabel::Paint() {
  TCanvas* canvas = Canvas();
  RECT client = ClientRect();
  if (!Transparent()) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(client);
  }
  canvas->Brush()->SetStyle(bsClear);
  static const UINT alignments[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  UINT style = DT_EXPANDTABS | (wordWrap_ ? DT_WORDBREAK : 0) | alignments[alignment_];
  RECT r = client;
  if (layout_ != tlTop) {
    RECT calc = r;
    DoDrawText(calc, style | DT_CALCRECT);
    int dy = layout_ == tlBottom ? Height() - calc.bottom : (Height() - calc.bottom) / 2;
    OffsetRect(&r, 0, dy);
  }
  DoDrawText(r, style);
}

void TCustomLabel::AdjustBounds() {
  if (!AutoSize() || (ComponentState() & (csReading | csLoading))) return;
  RECT r = ClientRect();
  // Measured on a screen DC: the label may have no parent window yet.
  {
    const WindowDC dc(nullptr);
    CanvasHandleScope measuring(*Canvas(), dc);
    DoDrawText(r, DT_EXPANDTABS | DT_CALCRECT | (wordWrap_ ? DT_WORDBREAK : 0));
  }
  int x = Left();
  if (alignment_ == taRightJustify) x += Width() - r.right;
  SetBounds(x, Top(), r.right, r.bottom);
}

void TCustomLabel::Loaded() {
  TGraphicControl::Loaded();
  AdjustBounds();
}

void TCustomLabel::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case CM_TEXTCHANGED:
      Invalidate();
      AdjustBounds();
      return;
    case CM_FONTCHANGED:
      TGraphicControl::Dispatch(message);
      AdjustBounds();
      return;
    case CM_DIALOGCHAR:
      if (focusControl_ && Enabled() && showAccelChar_ &&
          IsAccel(static_cast<unsigned>(m.WParam), Caption()) && focusControl_->CanFocus()) {
        focusControl_->SetFocus();
        m.Result = 1;
      }
      return;
    default:
      TGraphicControl::Dispatch(message);
  }
}
