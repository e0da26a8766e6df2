#include "editor/EncodedMessage.h"

#include "editor/MessageDocument.h"
#include "mms/MmsComposer.h"
#include "mms/MmsEncoder.h"

EncodedMessage::ComposerEmptied::~ComposerEmptied() { MmsComposerReset(); }

EncodedMessage::EncodedMessage(const MessageDocument& document, Pages pages) {
  built_ = (pages == Pages::kAll ? document.BuildMms() : document.BuildReadablePages()) != 0;
  // A measurement encodes what the composer took; a save or a hand-over only a whole message.
  if (!built_ && pages == Pages::kAll) return;
  int count = 0;
  bytes_.reset(MmsEncodeMessage(&count));
  count_ = count > 0 ? std::size_t(count) : 0;
}
