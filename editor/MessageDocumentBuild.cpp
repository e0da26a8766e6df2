// Building the message: the document handed to the codec's composer page by page, for the
// encoder to make the message's bytes from. A page whose media cannot be read ends the build of
// a message to save or send, and is passed over by a measurement.
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>

#include "editor/MediaTypes.h"
#include "editor/MessageDocument.h"
#include "mms/MmsAlloc.h"
#include "mms/MmsComposer.h"
#include "mms/SlideTextFile.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
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

}  // namespace

int MessageDocument::BuildMms() const { return ComposePages(false); }

int MessageDocument::BuildReadablePages() const { return ComposePages(true); }

int MessageDocument::ComposePages(bool passRefusedPages) const {
  MmsComposerReset();
  if (MmsComposerCreate() != MMS_COMPOSER_OK) Warn("CreateMMS");
  const int pages = PageCount();
  for (int i = 1; i < pages; ++i) {
    if (MmsComposerAddSlide() != MMS_COMPOSER_OK) Warn("AddSlide");
  }
  int taken = 1;
  for (int i = 0; i < pages; ++i) {
    MmsComposerSelectSlide(unsigned(i));
    MmsComposerSetSlideDur(unsigned(i), message->Body->GetFrameDur(i));
    if (AddFrameToMms()) continue;
    if (!passRefusedPages) return 0;
    taken = 0;
  }
  return taken;
}

int MessageDocument::AddFrameToMms() const {
  const int index = int(MmsComposerGetCurSlide());
  if (index < 0 || index >= PageCount()) return 0;
  const TMmsFrame* frame = message->Body->GetFrame(index);

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
      info.Left = message->GetRegionLeft("Text");
      info.Top = message->GetRegionTop("Text");
      info.Width = message->GetRegionWidth("Text");
      info.Height = message->GetRegionHeight("Text");
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
    info.Left = message->GetRegionLeft("Img");
    info.Top = message->GetRegionTop("Img");
    info.Width = message->GetRegionWidth("Img");
    info.Height = message->GetRegionHeight("Img");
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
