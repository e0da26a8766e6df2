#include "unicode/TUcStaticText.h"

#include "platform/gdi/SelectedObject.h"
#include "platform/win/WindowDC.h"
#include "unicode/UcTextWrappers.h"

void TUcCustomStaticText::CreateWindowHandle(const TCreateParams& params) {
  CreateUnicodeHandle(this, params, u"STATIC", false);
}

void TUcCustomStaticText::SetCaption(const WideString& text) {
  const bool windowed = HandleAllocated();
  TUcCaptionedMembers::SetCaption(text);
  // With a window the text change message sizes it; the stored text has no such message.
  if (!windowed) AdjustBounds();
}

void TUcCustomStaticText::AdjustBounds() {
  if ((ComponentState() & (csLoading | csReading)) || !AutoSize()) return;
  const WideString text = Caption();
  SIZE size{};
  {
    const WindowDC dc(nullptr);
    const SelectedObject font(dc, Font()->Handle());
    GetTextExtentPoint32W(dc, text.c_str(), text.Length(), &size);
  }
  SetBounds(Left(), Top(), size.cx + GetSystemMetrics(SM_CXBORDER) * 4,
            size.cy + GetSystemMetrics(SM_CYBORDER) * 4);
}

void TUcCustomStaticText::Dispatch(void* message) {
  auto& m = *static_cast<TMessage*>(message);
  if (m.Msg == CM_DIALOGCHAR) {
    // The static text only hands the focus on; it never asks children.
    TWinControl* target = FocusControl();
    m.Result = 0;
    if (target && Enabled() && ShowAccelChar() && UcIsAccelMessage(m, Caption()) && target->CanFocus()) {
      target->SetFocus();
      m.Result = 1;
    }
    return;
  }
  TCustomStaticText::Dispatch(message);
}
