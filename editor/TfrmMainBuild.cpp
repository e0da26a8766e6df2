// Building and measuring the message. The editor never keeps an encoded message: whenever it
// needs the bytes it hands the whole document to the codec's composer page by page and lets the
// codec encode it. Measuring shows the size in KB and the total time, and the size limit refuses
// a change that takes the message to 299 KB or more.
#include <cstdlib>
#include <cstring>
#include <string>

#include "editor/MediaTypes.h"
#include "editor/TMsgBox.h"
#include "editor/TfrmMain.h"
#include "mms/MmsAlloc.h"
#include "mms/MmsComposer.h"
#include "mms/MmsEncoder.h"
#include "mms/SlideTextFile.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/TLabel.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"

namespace {

// A content-type field of the composer's records: 256 zeroed bytes holding the type.
char* TypeBuffer(const std::string& type) {
  char* buffer = static_cast<char*>(MmsAlloc(256));
  if (!buffer) return nullptr;
  std::memset(buffer, 0, 256);
  std::memcpy(buffer, type.data(), std::min<size_t>(type.size(), 255));
  return buffer;
}

// A whole media file in a buffer of the codec's allocator; false when it cannot be read.
bool ReadMedia(const std::string& path, unsigned char** data, int* size) {
  std::string bytes;
  if (path.empty() || !platform::ReadWholeFile(platform::FsPath(path.c_str()), bytes, 0x7FFFFFFF))
    return false;
  *size = int(bytes.size());
  *data = static_cast<unsigned char*>(MmsAlloc(bytes.size() ? bytes.size() : 1));
  if (!*data) return false;
  std::memcpy(*data, bytes.data(), bytes.size());
  return true;
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

int TfrmMain::BuildMms() {
  MmsComposerReset();
  if (MmsComposerCreate() != MMS_COMPOSER_OK) ShowMsgBox("CreateMMS");
  const int pages = mms ? mms->Body->GetFrameCount() : 0;
  for (int i = 1; i < pages; ++i) {
    if (MmsComposerAddSlide() != MMS_COMPOSER_OK) ShowMsgBox("AddSlide");
  }
  for (int i = 0; i < pages; ++i) {
    MmsComposerSelectSlide(unsigned(i));
    MmsComposerSetSlideDur(unsigned(i), mms->Body->GetFrameDur(i));
    if (!AddFrameToMms()) return 0;
  }
  return 1;
}

int TfrmMain::AddFrameToMms() {
  const int index = int(MmsComposerGetCurSlide());
  if (!IsPage(index)) return 0;
  const TMmsFrame* frame = mms->Body->GetFrame(index);

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
      info.Left = mms->GetRegionLeft("Text");
      info.Top = mms->GetRegionTop("Text");
      info.Width = mms->GetRegionWidth("Text");
      info.Height = mms->GetRegionHeight("Text");
      if (MmsComposerSetText(&info) != MMS_COMPOSER_OK) {
        std::free(info.Text);
        return 0;
      }
    }
  }

  if (const TMediaItem* item = frame->GetItem(TMediaItem::kImage)) {
    tMMS_ImageInfo info{};
    if (!ReadMedia(item->Path, &info.Data, &info.Size)) return 0;
    // An empty picture is refused before the composer sees it: once it takes a record it owns
    // the buffers, and freeing them here would free them twice.
    if (info.Size == 0 || !(info.Type = TypeBuffer(PictureContentType(item->Path)))) {
      std::free(info.Data);
      return 0;
    }
    info.Begin = item->Begin;
    info.End = item->End;
    info.Left = mms->GetRegionLeft("Img");
    info.Top = mms->GetRegionTop("Img");
    info.Width = mms->GetRegionWidth("Img");
    info.Height = mms->GetRegionHeight("Img");
    if (MmsComposerSetImage(&info) != MMS_COMPOSER_OK) {
      std::free(info.Data);
      std::free(info.Type);
      return 0;
    }
  }

  if (const TMediaItem* item = frame->GetItem(TMediaItem::kAudio)) {
    tMMS_AudioInfo info{};
    if (!ReadMedia(item->Path, &info.Data, &info.Size)) return 0;
    if (!(info.Type = TypeBuffer(SoundContentType(item->Path)))) {
      std::free(info.Data);
      return 0;
    }
    info.Begin = item->Begin;
    info.End = item->End;
    if (MmsComposerSetAudio(&info) != MMS_COMPOSER_OK) {
      std::free(info.Data);
      std::free(info.Type);
      return 0;
    }
  }
  return 1;
}

void TfrmMain::GetPduSize(TObject*) {
  BuildMms();
  int count = 0;
  if (unsigned char* bytes = MmsEncodeMessage(&count)) std::free(bytes);
  const int kb = count < 1024 ? 1 : count / 1024;

  savedSizeText = Label_Size->Caption();
  savedSizeKB = StrToIntDef(savedSizeText, 0);
  Label_Size->SetCaption(IntToStr(kb));

  long long totalMs = 0;
  const int pages = mms ? mms->Body->GetFrameCount() : 0;
  for (int i = 0; i < pages; ++i) totalMs += mms->Body->GetFrameDur(i);
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
