#include "editor/EncodedMessage.h"

#include "editor/TfrmMain.h"
#include "mms/MmsComposer.h"
#include "mms/MmsEncoder.h"

EncodedMessage::ComposerEmptied::~ComposerEmptied() { MmsComposerReset(); }

EncodedMessage::EncodedMessage(TfrmMain& main) {
  built_ = main.BuildMms() != 0;
  if (!built_) return;
  int count = 0;
  bytes_.reset(MmsEncodeMessage(&count));
  count_ = count > 0 ? std::size_t(count) : 0;
}
