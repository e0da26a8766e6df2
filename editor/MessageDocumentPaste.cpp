// Pasted pages and items: a page goes before a page, an item into a page's slot (a page appended
// for it past the last one), within the page limit. Each paste records exactly what it changed, so
// one that takes the message over the size limit is taken back. A pasted text is written to a file
// of its own under a running number, so two pages never share one text file and a paste never
// overwrites a file.
#include <algorithm>
#include <memory>
#include <string>
#include <utility>

#include "editor/MessageDocument.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"

namespace {

std::string TextFileBytes(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t c : text) {
    bytes.push_back(char(c & 0xFF));
    bytes.push_back(char(c >> 8));
  }
  return bytes;
}

}  // namespace

TPasteRecord::TPasteRecord() = default;

TPasteRecord::~TPasteRecord() = default;

AnsiString MessageDocument::NewPasteFileName(const AnsiString& folder, const char* stem, const char* ext) {
  // A name an earlier document or paste left is skipped: a paste never overwrites a file.
  for (;;) {
    const AnsiString path = folder + "/" + stem + IntToStr(pasteCounter++) + ext;
    if (!FileExists(path) && !DirectoryExists(path)) return path;
  }
}

AnsiString MessageDocument::WritePastedText(const std::u16string& text) {
  const AnsiString path = NewPasteFileName(txtDir, "Text", ".txt");
  const std::string bytes = TextFileBytes(text);
  if (!platform::WriteFileReplacing(platform::FsPath(path), bytes.data(), bytes.size())) return AnsiString();
  return path;
}

int MessageDocument::PastePage(int index, std::unique_ptr<TMmsFrame> page, TPasteRecord* record) {
  TPasteRecord scratch;
  TPasteRecord& done = record ? *record : scratch;
  done.curFrameBefore = curFrame;
  if (index < 0 || !page) return kNoSuchPage;
  if (!HasRoomForPage()) return kTooManyPages;
  const int pages = PageCount();
  done.insertedPage = EnsureMessage().InsertFrame(std::min(index, pages), std::move(page));
  return 0;
}

int MessageDocument::PasteItem(int index, int type, std::unique_ptr<TMediaItem> item, TPasteRecord* record) {
  TPasteRecord scratch;
  TPasteRecord& done = record ? *record : scratch;
  done.curFrameBefore = curFrame;
  if (index < 0 || !item) return kNoSuchPage;
  int target = index;
  if (index >= PageCount()) {
    target = AppendPage();
    if (target < 0) return kTooManyPages;
    done.appended = true;
  }
  done.page = target;
  done.slot = type;
  done.replaced = message->Body->GetFrame(target)->CloneItem(type);
  message->SetFrameItem(target, type, std::move(item));
  return 0;
}

void MessageDocument::UndoPaste(TPasteRecord& record) {
  if (!message) return;
  if (record.insertedPage >= 0 && IsPage(record.insertedPage)) {
    const std::string picture = ItemPath(record.insertedPage, TMediaItem::kImage),
                      text = ItemPath(record.insertedPage, TMediaItem::kText);
    message->Body->DeleteFrame(record.insertedPage);
    DropPicture(picture);
    DeleteOwnTextFile(text);
  } else if (record.page >= 0 && IsPage(record.page)) {
    TMmsFrame* frame = message->Body->GetFrame(record.page);
    const std::string pasted = ItemPath(record.page, record.slot);
    if (record.replaced) {
      frame->SetItem(std::move(record.replaced), record.slot);
    } else {
      frame->DeleteItem(record.slot);
    }
    const std::string now = ItemPath(record.page, record.slot);
    if (record.slot == TMediaItem::kImage && pasted != now) DropPicture(pasted);
    if (record.slot == TMediaItem::kText && pasted != now) DeleteOwnTextFile(pasted);
    if (record.appended) message->Body->DeleteFrame(record.page);
  }
  curFrame = record.curFrameBefore;
  if (curFrame >= PageCount()) curFrame = PageCount() - 1;
}
