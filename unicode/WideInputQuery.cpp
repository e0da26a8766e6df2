#include "unicode/WideInputQuery.h"

#include <algorithm>
#include <memory>

#include "platform/forms/TApplication.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/win/WindowDC.h"
#include "unicode/TUcButton.h"
#include "unicode/TUcEdit.h"
#include "unicode/TUcForm.h"
#include "unicode/TUcLabel.h"
#include "unicode/WideDialogUnits.h"

bool WideInputQuery(const WideString& caption, const WideString& prompt, WideString& value) {
  std::unique_ptr<TUcForm> form(new TUcForm(Application, 0));
  form->SetBorderStyle(bsDialog);
  form->SetCaption(caption);

  // Dialog units of the form's font, and the prompt's extent: one line, or wrapped within
  // the widest it may be.
  WideDialogUnits units;
  RECT promptRect{};
  {
    const WindowDC dc(nullptr);
    const SelectedObject font(dc, form->Font()->Handle());
    units = MeasureWideDialogUnits(dc);
    promptRect = RECT{0, 0, MulDiv(164, units.cx, 4), 0};
    DrawTextW(dc, prompt.c_str(), prompt.Length(), &promptRect, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
  }
  const int cx = units.cx, cy = units.cy;
  const int promptMaxWidth = MulDiv(164, cx, 4);

  const int clientWidth = MulDiv(180, cx, 4);
  auto* label = new TUcLabel(form.get());
  label->SetParent(form.get());
  label->SetWordWrap(true);
  label->SetCaption(prompt);
  label->SetBounds(MulDiv(8, cx, 4), MulDiv(8, cy, 8), std::min<int>(promptRect.right, promptMaxWidth),
                   promptRect.bottom);

  auto* edit = new TUcEdit(form.get());
  edit->SetParent(form.get());
  edit->SetBounds(label->Left(), label->Top() + label->Height() + 5, MulDiv(164, cx, 4), edit->Height());
  edit->SetMaxLength(255);
  edit->SetText(value);
  edit->SelectAll();

  const int buttonTop = edit->Top() + edit->Height() + 15;
  const int buttonWidth = MulDiv(50, cx, 4), buttonHeight = MulDiv(14, cy, 8);
  auto* ok = new TUcButton(form.get());
  ok->SetParent(form.get());
  ok->SetCaption(u"OK");
  ok->SetModalResult(mrOk);
  ok->SetDefault(true);
  ok->SetBounds(MulDiv(38, cx, 4), buttonTop, buttonWidth, buttonHeight);
  auto* cancel = new TUcButton(form.get());
  cancel->SetParent(form.get());
  cancel->SetCaption(u"Cancel");
  cancel->SetModalResult(mrCancel);
  cancel->SetCancel(true);
  cancel->SetBounds(MulDiv(92, cx, 4), buttonTop, buttonWidth, buttonHeight);

  const int clientHeight = ok->Top() + ok->Height() + 13;
  form->SetBounds((GetSystemMetrics(SM_CXSCREEN) - clientWidth) / 2,
                  (GetSystemMetrics(SM_CYSCREEN) - clientHeight) / 2, clientWidth, clientHeight);
  form->Position = poScreenCenter;
  form->SetActiveControl(edit);
  if (form->ShowModal() != mrOk) return false;
  value = edit->Text();
  return true;
}

WideString WideInputBox(const WideString& caption, const WideString& prompt, const WideString& defaultValue) {
  WideString value = defaultValue;
  WideInputQuery(caption, prompt, value);
  return value;
}
