#include "platform/forms/TSizeConstraints.h"

#include <algorithm>

namespace {
// Negative limits mean nothing; they are stored as "no limit".
int Limit(int value) { return std::max(value, 0); }
}  // namespace

void TSizeConstraints::SetMinWidth(int value) {
  if (minWidth_ == Limit(value)) return;
  minWidth_ = Limit(value);
  Changed();
}
void TSizeConstraints::SetMinHeight(int value) {
  if (minHeight_ == Limit(value)) return;
  minHeight_ = Limit(value);
  Changed();
}
void TSizeConstraints::SetMaxWidth(int value) {
  if (maxWidth_ == Limit(value)) return;
  maxWidth_ = Limit(value);
  Changed();
}
void TSizeConstraints::SetMaxHeight(int value) {
  if (maxHeight_ == Limit(value)) return;
  maxHeight_ = Limit(value);
  Changed();
}

void TSizeConstraints::Apply(int& width, int& height) const {
  if (maxWidth_ > 0) width = std::min(width, maxWidth_);
  if (maxHeight_ > 0) height = std::min(height, maxHeight_);
  width = std::max(width, minWidth_);
  height = std::max(height, minHeight_);
}

void TSizeConstraints::Assign(TPersistent* source) {
  if (auto* other = dynamic_cast<TSizeConstraints*>(source)) {
    minWidth_ = other->minWidth_;
    minHeight_ = other->minHeight_;
    maxWidth_ = other->maxWidth_;
    maxHeight_ = other->maxHeight_;
    Changed();
    return;
  }
  TPersistent::Assign(source);
}

void TSizeConstraints::Changed() {
  if (OnChange) OnChange(this);
}
