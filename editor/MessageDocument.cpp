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
