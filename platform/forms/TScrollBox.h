// TScrollBox: a bordered container that scrolls its children with its window scroll bars.
#pragma once

#include "platform/forms/ControlTypes.h"
#include "platform/forms/TScrollingWinControl.h"

class TScrollBox : public TScrollingWinControl {
 public:
  explicit TScrollBox(TComponent* owner);
  TBorderStyle BorderStyle() const { return borderStyle_; }
  // bsSingle: a sunken client edge drawn by the window system.
  void SetBorderStyle(TBorderStyle value);

 protected:
  void CreateParams(TCreateParams& params) override;
  int BorderEdge() const override { return borderStyle_ == bsSingle ? 2 : 0; }

 private:
  TBorderStyle borderStyle_ = bsSingle;
};
