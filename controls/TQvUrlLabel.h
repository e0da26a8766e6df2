// TQvUrlLabel: a label that looks and acts like a link: underlined, a hand cursor, another
// colour under the mouse, and its URLString opened by the desktop when clicked.
#pragma once

#include "platform/forms/TCustomLabel.h"

class TQvCustomUrlLabel : public TCustomLabel {
 public:
  explicit TQvCustomUrlLabel(TComponent* owner);

  const AnsiString& URLString() const { return url_; }
  void SetURLString(const AnsiString& value) { url_ = value; }
  TColor TextColor() const { return textColor_; }
  void SetTextColor(TColor value);
  TColor HotTextColor() const { return hotTextColor_; }
  void SetHotTextColor(TColor value) { hotTextColor_ = value; }

  // Opens URLString (when there is one), then OnClick.
  void Click() override;
  void Dispatch(void* message) override;

 private:
  AnsiString url_;
  TColor textColor_ = clBlue;
  TColor hotTextColor_ = clRed;
};

class TQvUrlLabel : public TQvCustomUrlLabel {
 public:
  using TQvCustomUrlLabel::TQvCustomUrlLabel;
};

void RegisterUrlLabel();
