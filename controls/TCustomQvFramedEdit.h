// TCustomQvFramedEdit: what the bordered edits share: an outer control that draws a frame of
// its own (normal, flat or ultra-flat with hot and focused colours) round a borderless inner
// edit, forwards the text messages to it, announces the mouse entering and leaving once for
// frame and edit together, and hands the inner edit's mouse, key and focus events on as its own.
#pragma once

#include <memory>

#include "controls/TValidateEditColors.h"
#include "platform/forms/TCustomControl.h"
#include "platform/forms/TEdit.h"

enum TQvEditBorderStyle { ebsNone, ebsNormal, ebsFlat, ebsUltraFlat };
enum TImeMode {
  imDisable,
  imClose,
  imOpen,
  imDontCare,
  imSAlpha,
  imAlpha,
  imHira,
  imSKata,
  imKata,
  imChinese,
  imSHanguel,
  imHanguel
};

// c + (target - c) / parts for each of red, green and blue of the two colours as RGB, truncated
// toward zero.
TColor TowardColor(TColor base, TColor target, int parts);

class TCustomQvFramedEdit : public TCustomControl {
 public:
  explicit TCustomQvFramedEdit(TComponent* owner);
  ~TCustomQvFramedEdit() override;

  TQvEditBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TQvEditBorderStyle value);
  TValidateEditColors* Colors() { return colors_.get(); }
  void SetColors(TValidateEditColors* value) { colors_->Assign(value); }
  bool IsFocused() const { return focused_; }
  // 1 over the inner edit, 0x8000 over the frame.
  unsigned MouseIn() const { return mouseBits_; }
  // Kept for layouts; this desktop's input methods follow the focused window on their own.
  TImeMode ImeMode() const { return imeMode_; }
  void SetImeMode(TImeMode value) { imeMode_ = value; }
  AnsiString ImeName() const { return imeName_; }
  void SetImeName(const AnsiString& value) { imeName_ = value; }
  AnsiString Text() const;
  void SetText(const AnsiString& value) override;
  void Click() override;
  void Dispatch(void* message) override;
  // The inner edit took the focus: the form counts this control as its active one.
  void InnerFocused();

  TNotifyEvent OnChange;

 protected:
  // Takes `inner` as the edit inside the frame: places it and routes its events here.
  void AttachInner(TCustomEdit* inner);
  TCustomEdit* Inner() const { return inner_; }
  // The frame's width for a border style.
  virtual int FrameWidth(TQvEditBorderStyle style) const;
  // Whether the ultra-flat frame has a third ring inside the second.
  virtual bool ThirdRing() const { return true; }
  // The inner edit's mouse visits (bit 1).
  void InnerMouse(bool inside) { MouseState(kOverEdit, inside); }
  void Paint() override;
  void Resize() override;
  void Loaded() override;
  void EdgeWidthAdj();

 private:
  static constexpr unsigned kOverEdit = 1, kOverFrame = 0x8000;
  void MouseState(unsigned bit, bool inside);

  TCustomEdit* inner_ = nullptr;
  TQvEditBorderStyle borderStyle_ = ebsNormal;
  bool focused_ = false;
  unsigned mouseBits_ = 0, announced_ = 0;
  std::unique_ptr<TValidateEditColors> colors_;
  TImeMode imeMode_ = imDontCare;
  AnsiString imeName_;
};
