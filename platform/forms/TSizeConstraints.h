// TSizeConstraints: the smallest and largest size a control may take (0 = no limit). The
// control applies them in SetBounds, so alignment, anchors and AutoSize all honour them.
#pragma once

#include "platform/rtl/Object.h"

class TSizeConstraints : public TPersistent {
 public:
  int MinWidth() const { return minWidth_; }
  int MinHeight() const { return minHeight_; }
  int MaxWidth() const { return maxWidth_; }
  int MaxHeight() const { return maxHeight_; }
  void SetMinWidth(int value);
  void SetMinHeight(int value);
  void SetMaxWidth(int value);
  void SetMaxHeight(int value);
  // Limits a proposed size; a maximum below the minimum gives way to the minimum.
  void Apply(int& width, int& height) const;
  void Assign(TPersistent* source) override;

  TNotifyEvent OnChange;

 private:
  void Changed();
  int minWidth_ = 0, minHeight_ = 0, maxWidth_ = 0, maxHeight_ = 0;
};
