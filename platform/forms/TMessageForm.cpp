#include "platform/forms/TMessageForm.h"

#include "platform/forms/TApplication.h"
#include "platform/forms/TButton.h"
#include "platform/gdi/OwnedGdiObject.h"
#include "platform/rtl/WideString.h"
#include "platform/win/Backend.h"

namespace {

struct ButtonInfo {
  const char* name;
  const char* caption;
  TModalResult result;
};

constexpr ButtonInfo kButtons[] = {{"Yes", "&Yes", mrYes},
                                   {"No", "&No", mrNo},
                                   {"OK", "OK", mrOk},
                                   {"Cancel", "Cancel", mrCancel},
                                   {"Abort", "&Abort", mrAbort},
                                   {"Retry", "&Retry", mrRetry},
                                   {"Ignore", "&Ignore", mrIgnore},
                                   {"All", "&All", mrAll},
                                   {"NoToAll", "N&o to All", mrNoToAll},
                                   {"YesToAll", "Yes to &All", mrYesToAll},
                                   {"Help", "&Help", mrNone}};
static_assert(sizeof kButtons / sizeof kButtons[0] == mbHelp + 1);

const ButtonInfo& InfoOf(TMsgDlgBtn button) {
  if (button < mbYes || button > mbHelp) throw EInvalidOperation("Unexpected message dialog button");
  return kButtons[button];
}

}  // namespace

AnsiString MessageDialogCaption(TMsgDlgType type) {
  switch (type) {
    case mtWarning:
      return "Warning";
    case mtError:
      return "Error";
    case mtInformation:
      return "Information";
    case mtConfirmation:
      return "Confirm";
    case mtCustom:
      return Application ? Application->Title() : AnsiString();
  }
  throw EInvalidOperation("Unexpected message dialog type");
}

const char* MessageDialogButtonCaption(TMsgDlgBtn button) { return InfoOf(button).caption; }
const char* MessageDialogButtonName(TMsgDlgBtn button) { return InfoOf(button).name; }
TModalResult MessageDialogButtonResult(TMsgDlgBtn button) { return InfoOf(button).result; }

TMessageForm::TMessageForm(TComponent* owner) : TForm(owner) {
  SetBorderStyle(bsDialog);
  Position = poScreenCenter;
}

void TMessageForm::Dispatch(void* message) {
  TForm::Dispatch(message);
  auto& m = *static_cast<TMessage*>(message);
  // The default button has the focus when the dialog comes up.
  if (m.Msg == CM_VISIBLECHANGED && Visible() && defaultButton_ && defaultButton_->CanFocus())
    defaultButton_->SetFocus();
}

void TMessageForm::PaintWindow(HDC dc) {
  if (type_ != mtCustom) {
    static const struct {
      COLORREF color;
      const char* mark;
    } kIcons[] = {
        {RGB(230, 190, 0), "!"}, {RGB(200, 0, 0), "X"}, {RGB(0, 0, 200), "i"}, {RGB(0, 0, 200), "?"}};
    const auto& icon = kIcons[type_];
    {
      const OwnedGdiObject<HBRUSH> brush(CreateSolidBrush(icon.color));
      ::FillRect(dc, &iconRect_, brush);
    }
    SetTextColor(dc, RGB(255, 255, 255));
    SetBkMode(dc, TRANSPARENT);
    RECT r = iconRect_;
    DrawTextA(dc, icon.mark, 1, &r, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
  }
  HGDIOBJ old = SelectObject(dc, Font()->Handle());
  SetTextColor(dc, ColorToRGB(Font()->Color()));
  SetBkMode(dc, TRANSPARENT);
  RECT r = textRect_;
  DrawTextA(dc, message_.c_str(), message_.Length(), &r, DT_WORDBREAK | DT_EXPANDTABS | DT_NOPREFIX);
  SelectObject(dc, old);
}

void TMessageForm::DescribeModal(platform::win::ModalInfo& info) {
  info.kind = platform::win::ModalInfo::Kind::MessageBox;
  info.texts.clear();
  info.texts.push_back(WideString(message_).ToU16());
  for (TButton* button : buttons_) info.texts.push_back(WideString(button->Caption()).ToU16());
}
