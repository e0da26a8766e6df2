// Building and measuring the message. The editor never keeps an encoded message: whenever it
// needs the bytes it hands the whole document to the codec's composer page by page and lets the
// codec encode it. Measuring shows the size in KB and the total time, and the size limit refuses
// a change that takes the message to 299 KB or more. A page whose media cannot be read ends the
// build of a message to save or send, and is passed over by the measurement.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "editor/EncodedMessage.h"
#include "editor/MediaTypes.h"
#include "editor/TMsgBox.h"
#include "editor/TfrmMain.h"
#include "mms/MmsAlloc.h"
#include "mms/MmsComposer.h"
#include "mms/SlideTextFile.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"

namespace {

// A whole media file and its content type, shared with the composer as read (the composer holds
// it for as long as it needs the bytes); nullptr when it cannot be read.
MmsMediaRef ReadMedia(const std::string& path, const std::string& type) {
  if (path.empty()) return nullptr;
  try {
    auto media = std::make_shared<tMMS_Media>();
    if (!platform::ReadWholeFile(platform::FsPath(path.c_str()), media->Bytes, 0x7FFFFFFF)) return nullptr;
    media->Type = type.substr(0, 255);
    return media;
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

// A text that says nothing: no units, or only byte-order marks (a text erased in the editor).
bool IsBlankText(const char16_t* text, int length) {
  for (int i = 0; i < length; ++i) {
    if (text[i] != 0xFEFF) return false;
  }
  return true;
}

int TextLength(const char16_t* text) {
  int length = 0;
  while (text[length]) ++length;
  return length;
}

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

int TfrmMain::BuildMms() { return ComposePages(false); }

int TfrmMain::BuildReadablePages() { return ComposePages(true); }

int TfrmMain::ComposePages(bool passRefusedPages) {
  MmsComposerReset();
  if (MmsComposerCreate() != MMS_COMPOSER_OK) ShowMsgBox("CreateMMS");
  const int pages = Mms() ? Mms()->Body->GetFrameCount() : 0;
  for (int i = 1; i < pages; ++i) {
    if (MmsComposerAddSlide() != MMS_COMPOSER_OK) ShowMsgBox("AddSlide");
  }
  int taken = 1;
  for (int i = 0; i < pages; ++i) {
    MmsComposerSelectSlide(unsigned(i));
    MmsComposerSetSlideDur(unsigned(i), Mms()->Body->GetFrameDur(i));
    if (AddFrameToMms()) continue;
    if (!passRefusedPages) return 0;
    taken = 0;
  }
  return taken;
}

int TfrmMain::AddFrameToMms() {
  const int index = int(MmsComposerGetCurSlide());
  if (!IsPage(index)) return 0;
  const TMmsFrame* frame = Mms()->Body->GetFrame(index);

  if (const TMediaItem* item = frame->GetItem(TMediaItem::kText)) {
    std::unique_ptr<char16_t[]> text = ReadFrameText(frame);
    const int length = text ? TextLength(text.get()) : 0;
    // An empty text, or one holding only a byte-order mark, travels as no text at all: the
    // composer would take it and then refuse to encode the whole message.
    if (!IsBlankText(text.get(), length)) {
      tMMS_TextInfo info{};
      info.Text = static_cast<char16_t*>(MmsAlloc(size_t(length + 1) * sizeof(char16_t)));
      if (!info.Text) return 0;
      std::memcpy(info.Text, text.get(), size_t(length + 1) * sizeof(char16_t));
      info.Len = length;
      info.Begin = item->Begin;
      info.End = item->End;
      info.Left = Mms()->GetRegionLeft("Text");
      info.Top = Mms()->GetRegionTop("Text");
      info.Width = Mms()->GetRegionWidth("Text");
      info.Height = Mms()->GetRegionHeight("Text");
      if (MmsComposerSetText(&info) != MMS_COMPOSER_OK) {
        std::free(info.Text);
        return 0;
      }
    }
  }

  if (const TMediaItem* item = frame->GetItem(TMediaItem::kImage)) {
    MmsMediaRef media = ReadMedia(item->Path, PictureContentType(item->Path));
    // An empty picture is refused before the composer sees it: it would take it and then refuse
    // to encode the whole message.
    if (!media || media->Bytes.empty()) return 0;
    tMMS_ImageInfo info{};
    info.Begin = item->Begin;
    info.End = item->End;
    info.Left = Mms()->GetRegionLeft("Img");
    info.Top = Mms()->GetRegionTop("Img");
    info.Width = Mms()->GetRegionWidth("Img");
    info.Height = Mms()->GetRegionHeight("Img");
    if (MmsComposerShareImage(&info, std::move(media)) != MMS_COMPOSER_OK) return 0;
  }

  if (const TMediaItem* item = frame->GetItem(TMediaItem::kAudio)) {
    MmsMediaRef media = ReadMedia(item->Path, SoundContentType(item->Path));
    if (!media) return 0;
    tMMS_AudioInfo info{};
    info.Begin = item->Begin;
    info.End = item->End;
    if (MmsComposerShareAudio(&info, std::move(media)) != MMS_COMPOSER_OK) return 0;
  }
  return 1;
}

void TfrmMain::GetPduSize(TObject*) {
  // Every page that can be read counts: a page whose media is gone does not hide the pages after
  // it from the size, nor from the limit that judges it.
  const size_t count = EncodedMessage(*this, EncodedMessage::Pages::kReadable).Size();
  const int kb = count < 1024 ? 1 : int(count / 1024);

  savedSizeText = Label_Size->Caption();
  savedSizeKB = StrToIntDef(savedSizeText, 0);
  Label_Size->SetCaption(IntToStr(kb));

  long long totalMs = 0;
  const int pages = Mms() ? Mms()->Body->GetFrameCount() : 0;
  for (int i = 0; i < pages; ++i) totalMs += Mms()->Body->GetFrameDur(i);
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
