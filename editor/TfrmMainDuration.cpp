// The current page's duration (whole seconds 1..60 in Edit_Cur, stepped by the spin buttons,
// which repeat while held) and the message subject (at most 40 characters, counted in UTF-16
// units, with its counter).
#include <algorithm>

#include "controls/TImButton.h"
#include "editor/TfrmMain.h"
#include "mms/TK3VNMms.h"
#include "mms/TMmsBody.h"
#include "platform/forms/TEdit.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TTimer.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr int kMaxSeconds = MessageDocument::kMaxSeconds;

// The number the edit's leading digits spell, 0 without any; past 60 it stops counting.
int LeadingNumber(const AnsiString& text) {
  int n = 0;
  for (const char* p = text.c_str(); *p >= '0' && *p <= '9'; ++p) {
    n = n * 10 + (*p - '0');
    if (n > 1000) break;
  }
  return n;
}

}  // namespace

int TfrmMain::IsDurationKey(char key) {
  if (key >= '0' && key <= '9') return 1;
  switch (key) {
    case 3:
    case 8:
    case 22:
    case 24:
    case 26:
      return 1;
    default:
      return 0;
  }
}

void TfrmMain::FrameDurPress(TObject*, char& key) {
  if (!IsDurationKey(key)) key = 0;
}

void TfrmMain::ShowDuration(int ms) {
  const bool outer = durationByCode;
  durationByCode = true;
  platform::ScopeExit restore([&] { durationByCode = outer; });
  Edit_Cur->SetTextProp(IntToStr(std::max(ms, 0) / 1000));
}

void TfrmMain::ShowCurrentDuration() {
  if (!document.IsPage(document.CurrentPage()) || !Edit_Cur) return;
  const int ms = document.CurrentDuration();
  // The same number shown differently ("" for a page of 0 ms, "07") is left as the user typed it.
  if (LeadingNumber(Edit_Cur->Text()) != std::max(ms, 0) / 1000) ShowDuration(ms);
}

void TfrmMain::durChange(TObject*) {
  // Showing a page's duration is not an edit: the page keeps its exact milliseconds.
  if (durationByCode || !Edit_Cur) return;  // also while the layout is read
  const int seconds = LeadingNumber(Edit_Cur->Text());
  if (seconds > kMaxSeconds) {
    Edit_Cur->SetTextProp(IntToStr(kMaxSeconds));  // runs this handler again with 60
    return;
  }
  if (document.SetCurrentDuration(seconds * 1000)) GetPduSize();
}

void TfrmMain::Edit_CurExit(TObject*) {
  if (LeadingNumber(Edit_Cur->Text()) == 0) Edit_Cur->SetTextProp("1");
}

namespace {

void StepDuration(TEdit* edit, int delta) {
  const int n = LeadingNumber(edit->Text());
  const int next = delta > 0 ? std::min(n + 1, kMaxSeconds) : (n >= 2 ? n - 1 : 1);
  edit->SetTextProp(IntToStr(next));
}

}  // namespace

void TfrmMain::upbtnCllick(TObject*) {
  StepDuration(Edit_Cur, +1);
  document.SetModified(true);
}

void TfrmMain::DownbtnCllick(TObject*) {
  StepDuration(Edit_Cur, -1);
  document.SetModified(true);
}

void TfrmMain::UpBtnMouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  Timer1->SetEnabled(true);
  document.SetModified(true);
}

void TfrmMain::UP_OnMouseUp(TObject*, TMouseButton, TShiftState, int, int) { Timer1->SetEnabled(false); }

void TfrmMain::Down_MouseDown(TObject*, TMouseButton, TShiftState, int, int) {
  Timer2->SetEnabled(true);
  document.SetModified(true);
}

void TfrmMain::own_MouseUP(TObject*, TMouseButton, TShiftState, int, int) { Timer2->SetEnabled(false); }

void TfrmMain::TimerBegin(TObject*) { StepDuration(Edit_Cur, +1); }

void TfrmMain::Timer2Begin(TObject*) { StepDuration(Edit_Cur, -1); }

void TfrmMain::memo_titleKeyPress(TObject*, char& key) {
  const std::u16string text = memo_title->Text().ToU16();
  if (int(text.size()) != kSubjectLimit || memo_title->SelLength() != 0) return;
  if (key == 8 || key == 26 || key == 3 || key == 24) return;
  key = 0;
}

void TfrmMain::memo_titleChange(TObject*) {
  if (!memo_title || !subject_size) return;  // the layout is still being read
  // The program setting the subject (opening a message, the command line) is not an edit.
  if (!subjectByCode) document.SetModified(true);
  // Counted in UTF-16 units of the subject's wide text.
  const std::u16string text = memo_title->Text().ToU16();
  const int count = int(text.size());
  if (count > kSubjectLimit) {
    subjectCut = true;
    memo_title->SetText(WideString(MessageDocument::SubjectWithinLimit(text)));  // runs this again
    memo_title->SetSelStart(int(memo_title->Text().Length()));
    return;
  }
  document.SetSubject(text);
  subject_size->Font()->SetColor(count == kSubjectLimit ? TColor(255) : clBlack);
  subject_size->SetCaption(Format("(%d/%d)", {TVarRec(count), TVarRec(kSubjectLimit)}));
  if (subjectCut) {
    memo_title->SetSelStart(int(memo_title->Text().Length()));
    subjectCut = false;
  }
}
