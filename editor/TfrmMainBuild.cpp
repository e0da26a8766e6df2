// Building and measuring the message. The editor never keeps an encoded message: whenever it
// needs the bytes the document builds itself in the codec's composer and the codec encodes it.
// Measuring shows the size in KB and the total time, and the size limit refuses a change that
// takes the message to 299 KB or more.
#include <cstdlib>
#include <string>

#include "editor/EncodedMessage.h"
#include "editor/TMsgBox.h"
#include "editor/TfrmMain.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Seconds from milliseconds in the shortest decimal text: "3", "2.5", "0.7".
AnsiString SecondsText(long long ms) {
  AnsiString text = IntToStr(int64_t(ms / 1000));
  int fraction = int(ms % 1000);
  if (fraction == 0) return text;
  char digits[4] = {char('0' + fraction / 100), char('0' + fraction / 10 % 10), char('0' + fraction % 10), 0};
  std::string f = digits;
  while (!f.empty() && f.back() == '0') f.pop_back();
  return text + "." + f.c_str();
}

}  // namespace

int TfrmMain::BuildMms() { return document.BuildMms(); }

int TfrmMain::BuildReadablePages() { return document.BuildReadablePages(); }

int TfrmMain::ComposePages(bool passRefusedPages) { return document.ComposePages(passRefusedPages); }

int TfrmMain::AddFrameToMms() { return document.AddFrameToMms(); }

void TfrmMain::GetPduSize(TObject*) {
  // Every page that can be read counts: a page whose media is gone does not hide the pages after
  // it from the size, nor from the limit that judges it.
  const size_t count = EncodedMessage(document, EncodedMessage::Pages::kReadable).Size();
  const int kb = count < 1024 ? 1 : int(count / 1024);

  savedSizeText = Label_Size->Caption();
  savedSizeKB = StrToIntDef(savedSizeText, 0);
  Label_Size->SetCaption(IntToStr(kb));

  const long long totalMs = document.TotalDurationMs();
  savedTimeText = Label_Time->Caption();
  savedTimeSec = StrToIntDef(savedTimeText, 0);
  if (savedTimeSec == 0) savedTimeSec = int(std::strtod(savedTimeText.c_str(), nullptr));
  Label_Time->SetCaption(SecondsText(totalMs));
}

int TfrmMain::CheckMmsSize() {
  if (StrToIntDef(Label_Size->Caption(), 0) < kRefusedSizeKB) return 0;
  Label_Size->SetCaption("300");
  ShowMsgBox("SizeHint");
  return 1;
}

void TfrmMain::RestoreMeasure() {
  Label_Size->SetCaption(savedSizeText);
  Label_Time->SetCaption(savedTimeText);
}
