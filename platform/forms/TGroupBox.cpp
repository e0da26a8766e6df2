#include "platform/forms/TGroupBox.h"

#include "platform/win/Win.h"
#include "platform/win/WindowDC.h"

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
  ControlStyle =
      csAcceptsControls | csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks | csReplicatable;
  SetColor(clBtnFace);
  SetBounds(0, 0, 185, 105);
}

int TCustomGroupBox::CaptionHeight() {
  const WindowDC dc(nullptr);
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  SIZE size{};
  GetTextExtentPoint32A(dc, "0", 1, &size);
  SelectObject(dc, old);
  return size.cy;
}

void TCustomGroupBox::AlignControls(RECT& r) {
  // Aligned children fill the inside of the frame, below the caption line.
  r.top += CaptionHeight();
  InflateRect(&r, -2, -2);
  TCustomControl::AlignControls(r);
}

void TCustomGroupBox::Paint() {
  TCanvas* canvas = Canvas();
  const int h = canvas->TextHeight("0");
  RECT r{0, h / 2 - 1, Width(), Height()};
  // The etched frame: a light line one pixel below and right of a shadow line.
  OffsetRect(&r, 1, 1);
  canvas->Brush()->SetColor(clBtnHighlight);
  canvas->FrameRect(r);
  OffsetRect(&r, -1, -1);
  canvas->Brush()->SetColor(clBtnShadow);
  canvas->FrameRect(r);
  const AnsiString text = Caption();
  if (text.IsEmpty()) return;
  RECT t{8, 0, 0, h};
  HDC dc = canvas->Handle();
  DrawTextA(dc, text.c_str(), text.Length(), &t, DT_SINGLELINE | DT_CALCRECT);
  canvas->Brush()->SetColor(Color());
  canvas->FillRect(t);
  dc = canvas->Handle();
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  DrawTextA(dc, text.c_str(), text.Length(), &t, DT_SINGLELINE);
}

void TCustomGroupBox::SelectFirst() {
  for (int i = 0; i < ControlCount(); ++i) {
    auto* w = dynamic_cast<TWinControl*>(Controls(i));
    if (w && w->TabStop && w->CanFocus()) {
      w->SetFocus();
      return;
    }
  }
}

void TCustomGroupBox::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  switch (m.Msg) {
    case CM_DIALOGCHAR:
      if (IsAccel(static_cast<unsigned>(m.WParam), Caption()) && CanFocus()) {
        SelectFirst();
        m.Result = 1;
        return;
      }
      break;
    case CM_TEXTCHANGED:
      Invalidate();
      break;
    case CM_FONTCHANGED:
      TCustomControl::Dispatch(message);
      Realign();
      return;
    default:
      break;
  }
  TCustomControl::Dispatch(message);
}
