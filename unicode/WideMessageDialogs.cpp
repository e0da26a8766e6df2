#include "unicode/WideMessageDialogs.h"

#include <algorithm>
#include <memory>

#include "platform/controls/SystemIcons.h"
#include "platform/forms/TApplication.h"
#include "platform/forms/TIcon.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/win/WindowDC.h"
#include "unicode/CodePageConversion.h"
#include "unicode/TUcApplication.h"
#include "unicode/TUcButton.h"
#include "unicode/TUcImage.h"
#include "unicode/TUcLabel.h"
#include "unicode/UcWideFormat.h"
#include "unicode/WideDialogUnits.h"
#include "unicode/WideException.h"

namespace {

struct ButtonEntry {
  const char16_t* name;
  const char16_t* caption;
  TModalResult result;
};

// In the order of TMsgDlgBtn.
constexpr ButtonEntry kButtons[] = {{u"Yes", u"&Yes", mrYes},
                                    {u"No", u"&No", mrNo},
                                    {u"OK", u"OK", mrOk},
                                    {u"Cancel", u"Cancel", mrCancel},
                                    {u"Abort", u"&Abort", mrAbort},
                                    {u"Retry", u"&Retry", mrRetry},
                                    {u"Ignore", u"&Ignore", mrIgnore},
                                    {u"All", u"&All", mrAll},
                                    {u"NoToAll", u"N&o to All", mrNoToAll},
                                    {u"YesToAll", u"Yes to &All", mrYesToAll},
                                    {u"Help", u"&Help", mrNone}};
static_assert(sizeof kButtons / sizeof kButtons[0] == mbHelp + 1);

const ButtonEntry& ButtonOf(TMsgDlgBtn button) {
  if (button < mbYes || button > mbHelp) throw EUcInternalError("Unexpected MsgDlgBtn in GetButtonCaption.");
  return kButtons[button];
}

// The system icon of a dialog type (0: none).
std::uintptr_t IconOf(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return IDI_EXCLAMATION;
    case mtError:
      return IDI_HAND;
    case mtInformation:
      return IDI_ASTERISK;
    case mtConfirmation:
      return IDI_QUESTION;
    default:
      return 0;
  }
}

// A text's extent in the DC's font: single line, or wrapped within `width`.
SIZE Measure(HDC dc, const WideString& text, UINT flags, int width = 0) {
  RECT r{0, 0, width, 0};
  DrawTextW(dc, text.c_str(), text.Length(), &r, flags | DT_CALCRECT);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

}  // namespace

WideString GetMessageCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return u"Warning";
    case mtError:
      return u"Error";
    case mtInformation:
      return u"Information";
    case mtConfirmation:
      return u"Confirm";
    case mtCustom:
      return UcApplication ? UcApplication->Title() : WideString();
  }
  throw EUcInternalError("Unexpected MsgType in GetMessageCaption.");
}

WideString GetButtonCaption(TMsgDlgBtn button) { return ButtonOf(button).caption; }

TUcMessageForm* WideCreateMessageDialog(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons,
                                        TMsgDlgBtn defaultButton) {
  const WideString caption = GetMessageCaption(type);  // an unknown type raises before anything is made
  auto form = std::make_unique<TUcMessageForm>(Application);
  form->SetBorderStyle(bsDialog);
  form->KeyPreview = true;
  form->Position = poDesigned;
  form->OnKeyDown = [f = form.get()](TObject* sender, WORD& key, TShiftState shift) {
    f->CustomKeyDown(sender, key, shift);
  };

  // Dialog units of the form's font, and the buttons' and the message's extents in it.
  WideDialogUnits units;
  int buttonWidth = 0;
  int buttonCount = 0;
  SIZE text{};
  {
    const WindowDC dc(nullptr);
    const SelectedObject font(dc, form->Font()->Handle());
    units = MeasureWideDialogUnits(dc);
    buttonWidth = MulDiv(50, units.cx, 4);
    for (int b = mbYes; b <= mbHelp; ++b)
      if (buttons & (1u << b)) {
        ++buttonCount;
        const SIZE size = Measure(dc, GetButtonCaption(TMsgDlgBtn(b)), DT_LEFT | DT_SINGLELINE);
        buttonWidth = std::max<int>(buttonWidth, size.cx + 8);
      }
    // The message's own length: its terminator is no text to measure.
    text = Measure(dc, message, DT_EXPANDTABS | DT_WORDBREAK | form->DrawTextBiDiModeFlagsReadingOnly(),
                   GetSystemMetrics(SM_CXSCREEN) / 2);
  }
  const int cx = units.cx, cy = units.cy;
  const int horzMargin = MulDiv(8, cx, 4), vertMargin = MulDiv(8, cy, 8);
  const int horzSpacing = MulDiv(10, cx, 4), vertSpacing = MulDiv(10, cy, 8);
  const int buttonHeight = MulDiv(14, cy, 8), buttonSpacing = MulDiv(4, cx, 4);

  const std::uintptr_t icon = IconOf(type);
  int iconTextWidth = text.cx, iconTextHeight = text.cy;
  if (icon) {
    iconTextWidth += 32 + horzSpacing;
    iconTextHeight = std::max(iconTextHeight, 32);
  }
  const int groupWidth = buttonCount ? buttonCount * buttonWidth + (buttonCount - 1) * buttonSpacing : 0;
  const int clientWidth = std::max(iconTextWidth, groupWidth) + 2 * horzMargin;
  const int clientHeight = iconTextHeight + buttonHeight + vertSpacing + 2 * vertMargin;
  form->SetBounds(GetSystemMetrics(SM_CXSCREEN) / 2 - clientWidth / 2,
                  GetSystemMetrics(SM_CYSCREEN) / 2 - clientHeight / 2, clientWidth, clientHeight);
  form->SetCaption(caption);

  if (icon) {
    auto* image = new TUcImage(form.get());
    image->SetName("Image");
    image->SetParent(form.get());
    TIcon picture;
    picture.SetHandle(LoadIconA(nullptr, reinterpret_cast<LPCSTR>(icon)));
    image->Picture()->SetGraphic(&picture);
    image->SetBounds(horzMargin, vertMargin, 32, 32);
  }
  auto* label = new TUcLabel(form.get());
  label->SetName("Message");
  label->SetParent(form.get());
  label->SetWordWrap(true);
  label->SetCaption(message);
  int left = iconTextWidth - text.cx + horzMargin;
  if (label->UseRightToLeftAlignment()) left = clientWidth - left - text.cx;
  label->SetBounds(left, vertMargin, text.cx, text.cy);
  form->Message = label;

  const TMsgDlgBtn cancelButton = (buttons & MsgDlgButton(mbCancel)) ? mbCancel
                                  : (buttons & MsgDlgButton(mbNo))   ? mbNo
                                                                     : mbOK;
  int x = (clientWidth - groupWidth) / 2;
  for (int b = mbYes; b <= mbHelp; ++b) {
    if (!(buttons & (1u << b))) continue;
    const auto kind = TMsgDlgBtn(b);
    auto* button = new TUcButton(form.get());
    button->SetName(WideStringToStringEx(ButtonOf(kind).name, CP_ACP));
    button->SetParent(form.get());
    button->SetCaption(ButtonOf(kind).caption);
    button->SetModalResult(ButtonOf(kind).result);
    if (kind == defaultButton) {
      button->SetDefault(true);
      form->SetActiveControl(button);
    }
    if (kind == cancelButton) button->SetCancel(true);
    button->SetBounds(x, iconTextHeight + vertMargin + vertSpacing, buttonWidth, buttonHeight);
    if (kind == mbHelp) button->OnClick = [f = form.get()](TObject* sender) { f->HelpButtonClick(sender); };
    x += buttonWidth + buttonSpacing;
  }
  return form.release();
}

TUcMessageForm* WideCreateMessageDialog(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons) {
  const TMsgDlgBtn defaultButton = (buttons & MsgDlgButton(mbOK))    ? mbOK
                                   : (buttons & MsgDlgButton(mbYes)) ? mbYes
                                                                     : mbRetry;
  return WideCreateMessageDialog(message, type, buttons, defaultButton);
}

namespace {

int ShowDialog(TUcMessageForm* created, int helpContext, int x, int y, const AnsiString& helpFileName) {
  std::unique_ptr<TUcMessageForm> form(created);
  form->HelpContext = helpContext;
  form->HelpFile = helpFileName;
  if (x >= 0) form->SetBounds(x, form->Top(), form->Width(), form->Height());
  if (y >= 0) form->SetBounds(form->Left(), y, form->Width(), form->Height());
  if (x < 0 && y < 0) form->Position = poScreenCenter;
  return form->ShowModal();
}

}  // namespace

int WideMessageDlgPosHelp(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons,
                          int helpContext, int x, int y, const AnsiString& helpFileName) {
  return ShowDialog(WideCreateMessageDialog(message, type, buttons), helpContext, x, y, helpFileName);
}

int WideMessageDlgPosHelp(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons,
                          int helpContext, int x, int y, const AnsiString& helpFileName,
                          TMsgDlgBtn defaultButton) {
  return ShowDialog(WideCreateMessageDialog(message, type, buttons, defaultButton), helpContext, x, y,
                    helpFileName);
}

int WideMessageDlgPos(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext,
                      int x, int y) {
  return WideMessageDlgPosHelp(message, type, buttons, helpContext, x, y, AnsiString());
}

int WideMessageDlgPos(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext,
                      int x, int y, TMsgDlgBtn defaultButton) {
  return WideMessageDlgPosHelp(message, type, buttons, helpContext, x, y, AnsiString(), defaultButton);
}

int WideMessageDlg(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext) {
  return WideMessageDlgPosHelp(message, type, buttons, helpContext, -1, -1, AnsiString());
}

int WideMessageDlg(const WideString& message, TMsgDlgType type, TMsgDlgButtons buttons, int helpContext,
                   TMsgDlgBtn defaultButton) {
  return WideMessageDlgPosHelp(message, type, buttons, helpContext, -1, -1, AnsiString(), defaultButton);
}

void WideShowMessagePos(const WideString& message, int x, int y) {
  WideMessageDlgPos(message, mtCustom, MsgDlgButton(mbOK), 0, x, y);
}

void WideShowMessage(const WideString& message) { WideShowMessagePos(message, -1, -1); }

void WideShowMessageFmt(const WideString& format, std::initializer_list<TVarRec> args) {
  WideShowMessage(Uc_WideFormat(format, args));
}
