// The message being edited, its edit state and its working folders' paths.
#include "editor/MessageDocument.h"

#include <utility>

#include "mms/TK3VNMms.h"
#include "mms/TMmsBody.h"

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
