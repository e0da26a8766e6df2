// The message being edited, its edit state and its working folders' paths.
#include "editor/MessageDocument.h"

#include <utility>

#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/rtl/SysUtils.h"

namespace {

// Whether a path names a file in the folder itself, not in one below it.
bool LiesIn(const std::string& path, const AnsiString& folder) {
  const std::string p = platform::FsPath(path.c_str()), dir = platform::FsPath(folder) + "/";
  return p.size() > dir.size() && p.compare(0, dir.size(), dir) == 0 &&
         p.find('/', dir.size()) == std::string::npos;
}

}  // namespace

MessageDocument::MessageDocument() = default;

MessageDocument::~MessageDocument() = default;

TK3VNMms& MessageDocument::EnsureMessage() {
  if (!message) message = std::make_unique<TK3VNMms>();
  return *message;
}

std::unique_ptr<TK3VNMms> MessageDocument::ReplaceMessage(std::unique_ptr<TK3VNMms> replacement) {
  std::swap(message, replacement);
  return replacement;
}

int MessageDocument::PageCount() const { return message ? message->Body->GetFrameCount() : 0; }

bool MessageDocument::IsPage(int index) const { return index >= 0 && index < PageCount(); }

int MessageDocument::AppendPage() {
  EnsureMessage();
  if (PageCount() >= kMaxPages) return -1;
  curFrame = message->AppendNewFrame();
  return curFrame;
}

bool MessageDocument::RemovePage(int index) {
  if (!IsPage(index)) return false;
  message->Body->DeleteFrame(index);
  if (curFrame >= PageCount()) curFrame = PageCount() - 1;
  return true;
}

std::string MessageDocument::RemoveItem(int page, int type) {
  if (!IsPage(page)) return std::string();
  const std::string path = ItemPath(page, type);
  message->Body->GetFrame(page)->DeleteItem(type);
  if (type == TMediaItem::kText) DeleteOwnTextFile(path);
  return path;
}

std::string MessageDocument::ItemPath(int page, int type) const {
  if (!IsPage(page)) return std::string();
  const TMediaItem* item = message->Body->GetFrame(page)->GetItem(type);
  return item ? item->Path : std::string();
}

bool MessageDocument::IsFileUsed(const std::string& path) const {
  for (int i = 0; i < PageCount(); ++i)
    for (int type : {TMediaItem::kText, TMediaItem::kImage, TMediaItem::kAudio})
      if (const TMediaItem* item = message->Body->GetFrame(i)->GetItem(type); item && item->Path == path)
        return true;
  return false;
}

void MessageDocument::DeleteOwnTextFile(const std::string& path) const {
  if (!path.empty() && !IsFileUsed(path) && LiesIn(path, txtDir)) DeleteFile(path.c_str());
}

int MessageDocument::CurrentDuration() const {
  return IsPage(curFrame) ? message->Body->GetFrameDur(curFrame) : 0;
}

bool MessageDocument::SetCurrentDuration(int ms) {
  if (!IsPage(curFrame)) return false;
  message->Body->SetFrameDur(curFrame, ms);
  modified = true;
  return true;
}

std::u16string MessageDocument::SubjectWithinLimit(std::u16string subject) {
  if (subject.size() <= size_t(kSubjectLimit)) return subject;
  size_t cut = kSubjectLimit;
  const char16_t last = subject[cut - 1];
  if (last >= 0xD800 && last <= 0xDBFF) --cut;  // a high surrogate stays with its pair
  subject.resize(cut);
  return subject;
}

long long MessageDocument::TotalDurationMs() const {
  long long total = 0;
  for (int i = 0; i < PageCount(); ++i) total += message->Body->GetFrameDur(i);
  return total;
}

void MessageDocument::SetFolders() {
  const AnsiString root = exeDir + "tmp/";
  txtDir = root + kTxtFolder;
  imageDir = root + kImageFolder;
  videoDir = root + kVideoFolder;
  audioDir = root + kAudioFolder;
  sendDir = root + kSendFolder;
  previewDir = root + kPreviewFolder;
  sizeTempDir = root + kSizeTempFolder;
}
