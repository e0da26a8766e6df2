// TPaintBox: a windowless area its owner draws in OnPaint, on the canvas the parent lends it.
#pragma once

#include "platform/forms/TGraphicControl.h"

class TPaintBox : public TGraphicControl {
 public:
  explicit TPaintBox(TComponent* owner);
  TNotifyEvent OnPaint;

 protected:
  void Paint() override;
};
