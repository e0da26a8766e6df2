#include "platform/forms/MessageDialogs.h"

#include <algorithm>
#include <memory>

#include "platform/forms/TApplication.h"
#include "platform/forms/TButton.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/win/WindowDC.h"

namespace {

SIZE TextSize(HDC dc, const char* text, int length, UINT flags, int maxWidth = 0) {
  RECT r{0, 0, maxWidth, 0};
  DrawTextA(dc, text, length, &r, flags | DT_CALCRECT);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

// What the dialog's layout is made from, measured in its font: the dialog units (an average
// character's half width and the line height), the widest button and the message's extent.
struct DialogMeasures {
  int cx, cy, buttonWidth;
  SIZE text;
};

DialogMeasures MeasureDialog(TFont* font, const AnsiString& message, TMsgDlgButtons buttons) {
  WindowDC dc(nullptr);
  SelectedObject selected(dc, font->Handle());
  const char* letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  const int cx = (TextSize(dc, letters, 52, DT_SINGLELINE).cx / 26 + 1) / 2;
  TEXTMETRICA metrics{};
  GetTextMetricsA(dc, &metrics);
  const int cy = std::max<int>(metrics.tmHeight, 1);
  int buttonWidth = 50 * cx / 4;
  for (int b = mbYes; b <= mbHelp; ++b)
    if (buttons & (1u << b)) {
      const char* caption = MessageDialogButtonCaption(static_cast<TMsgDlgBtn>(b));
      const int width =
          TextSize(dc, caption, int(std::char_traits<char>::length(caption)), DT_LEFT | DT_SINGLELINE).cx;
      buttonWidth = std::max(buttonWidth, width + 8);
    }
  const SIZE text = TextSize(dc, message.c_str(), message.Length(),
                             DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX, GetSystemMetrics(SM_CXSCREEN) / 2);
  return {cx, cy, buttonWidth, text};
}

}  // namespace

TMessageForm* CreateMessageDialog(const AnsiString& message, TMsgDlgType type, TMsgDlgButtons buttons) {
  auto form = std::make_unique<TMessageForm>(Application);
  form->message_ = message;
  form->type_ = type;
  form->SetCaption(MessageDialogCaption(type));

  const DialogMeasures measures = MeasureDialog(form->Font(), message, buttons);
  const int cx = measures.cx, cy = measures.cy, buttonWidth = measures.buttonWidth;
  const SIZE text = measures.text;
  const int hMargin = 8 * cx / 4, vMargin = 8 * cy / 8, hSpacing = 10 * cx / 4, vSpacing = 10 * cy / 8;
  const int buttonHeight = 14 * cy / 8, buttonSpacing = 4 * cx / 4;

  const bool hasIcon = type != mtCustom;
  int iconTextWidth = text.cx, iconTextHeight = text.cy;
  if (hasIcon) {
    iconTextWidth += 32 + hSpacing;
    iconTextHeight = std::max(iconTextHeight, 32);
  }
  int count = 0;
  for (int b = mbYes; b <= mbHelp; ++b) count += (buttons >> b) & 1;
  const int groupWidth = count ? count * buttonWidth + (count - 1) * buttonSpacing : 0;
  const int clientWidth = std::max(iconTextWidth, groupWidth) + 2 * hMargin;
  const int clientHeight = iconTextHeight + buttonHeight + vSpacing + 2 * vMargin;
  form->SetBounds((GetSystemMetrics(SM_CXSCREEN) - clientWidth) / 2,
                  (GetSystemMetrics(SM_CYSCREEN) - clientHeight) / 2, clientWidth, clientHeight);
  if (hasIcon) form->iconRect_ = RECT{hMargin, vMargin, hMargin + 32, vMargin + 32};
  const int textLeft = iconTextWidth - text.cx + hMargin;
  form->textRect_ = RECT{textLeft, vMargin, textLeft + text.cx, vMargin + text.cy};

  const TMsgDlgBtn defaultButton = (buttons & MsgDlgButton(mbOK))    ? mbOK
                                   : (buttons & MsgDlgButton(mbYes)) ? mbYes
                                                                     : mbRetry;
  const TMsgDlgBtn cancelButton = (buttons & MsgDlgButton(mbCancel)) ? mbCancel
                                  : (buttons & MsgDlgButton(mbNo))   ? mbNo
                                                                     : mbOK;
  int x = (clientWidth - groupWidth) / 2;
  for (int b = mbYes; b <= mbHelp; ++b) {
    if (!(buttons & (1u << b))) continue;
    const auto kind = static_cast<TMsgDlgBtn>(b);
    auto* button = new TButton(form.get());
    button->SetName(MessageDialogButtonName(kind));
    button->SetParent(form.get());
    button->SetCaption(MessageDialogButtonCaption(kind));
    button->SetModalResult(MessageDialogButtonResult(kind));
    button->SetBounds(x, iconTextHeight + vMargin + vSpacing, buttonWidth, buttonHeight);
    if (kind == defaultButton) {
      button->SetDefault(true);
      form->defaultButton_ = button;
    }
    if (kind == cancelButton) {
      button->SetCancel(true);
      form->cancelButton_ = button;
    }
    form->buttons_.push_back(button);
    x += buttonWidth + buttonSpacing;
  }
  return form.release();
}

int MessageDlgPos(const AnsiString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext, int x,
                  int y) {
  std::unique_ptr<TMessageForm> form(CreateMessageDialog(message, type, buttons));
  form->HelpContext = helpContext;
  if (x >= 0 || y >= 0) {
    form->Position = poDesigned;
    form->SetBounds(x >= 0 ? x : form->Left(), y >= 0 ? y : form->Top(), form->Width(), form->Height());
  }
  return form->ShowModal();
}

int MessageDlg(const AnsiString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
  return MessageDlgPos(message, type, buttons, helpContext, -1, -1);
}

void ShowMessagePos(const AnsiString& message, int x, int y) {
  MessageDlgPos(message, mtCustom, MsgDlgButton(mbOK), 0, x, y);
}

void ShowMessage(const AnsiString& message) { ShowMessagePos(message, -1, -1); }
