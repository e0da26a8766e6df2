// TCustomImButton: the skinned push button of every window of the editor. An owner-drawn system
// button whose face is a frame cut from a picture strip (disabled 1, pushed 2, hot 3, else 0),
// or a plain face in one of several looks, optionally captioned by the button itself, then handed
// to OnOwnerDraw in which the window draws its own language text. It tracks the mouse itself
// (hot state, a hover timer that notices leaving and animates a second strip), and can take its
// window's shape from a mask picture. TImButton publishes it.
#pragma once

#include <functional>
#include <memory>

#include "controls/TImButtonColors.h"
#include "platform/forms/TButton.h"
#include "platform/forms/TPicture.h"
#include "platform/forms/TTimer.h"

struct DRAWITEMSTRUCT;

enum TImBtnKind { ibkNormal, ibkFlat, ibkBevelFlat, ibkUltraFlat, ibkFullPicture, ibkWindowsXP };
// Scoped: the form library's alignment uses the same names.
enum class TalignType { alTop, alCenter, alBottom, alRight, alLeft };

// The state bits handed to OnOwnerDraw.
constexpr int ibsPushed = 1, ibsFocused = 2, ibsHot = 4, ibsAnimated = 8, ibsDisabled = 16, ibsDefault = 32;

using TImOwnerDrawEvent =
    std::function<void(TObject* Sender, TCanvas* lpCanvas, const RECT& lpRect, int iStatus, int& iCounter)>;

class TCustomImButton : public TButton {
 public:
  explicit TCustomImButton(TComponent* owner);
  ~TCustomImButton() override;

  TImBtnKind Looks() const { return looks_; }
  void SetLooks(TImBtnKind value);
  TImButtonColors* Colors() { return colors_.get(); }
  void SetColors(TImButtonColors* value) { colors_->Assign(value); }
  TColor HotTextColor() const { return hotTextColor_; }
  void SetHotTextColor(TColor value) { Store(hotTextColor_, value); }
  TColor DisableCapColor() const { return disableCapColor_; }
  void SetDisableCapColor(TColor value) { Store(disableCapColor_, value); }
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool value) { Store(transparent_, value); }
  bool ShowFullPicCaption() const { return showFullPicCaption_; }
  void SetShowFullPicCaption(bool value) { Store(showFullPicCaption_, value); }
  bool DefaultDraw() const { return defaultDraw_; }
  void SetDefaultDraw(bool value) { Store(defaultDraw_, value); }
  bool FocusRect() const { return focusRect_; }
  void SetFocusRect(bool value) { Store(focusRect_, value); }
  bool Animated() const { return animated_; }
  void SetAnimated(bool value) { Store(animated_, value); }
  int AnimateSpeed() const { return static_cast<int>(hoverTimer_->Interval()); }
  void SetAnimateSpeed(int value) { hoverTimer_->SetInterval(static_cast<unsigned>(value)); }
  int AnimatedCount() const { return animatedCount_; }
  void SetAnimatedCount(int value) { Store(animatedCount_, value); }
  int PictureCount() const { return pictureCount_; }
  void SetPictureCount(int value) { Store(pictureCount_, value); }
  int Spacing() const { return spacing_; }
  void SetSpacing(int value) { Store(spacing_, value); }
  TalignType FontAlign() const { return fontAlign_; }
  void SetFontAlign(TalignType value);
  TPicture* Picture() { return picture_.get(); }
  void SetPicture(TPicture* value) { picture_->Assign(value); }
  TPicture* AnimatePicture() { return animatePicture_.get(); }
  void SetAnimatePicture(TPicture* value) { animatePicture_->Assign(value); }
  TPicture* MaskPicture() { return maskPicture_.get(); }
  void SetMaskPicture(TPicture* value) { maskPicture_->Assign(value); }

  bool Hot() const { return hot_; }
  bool Pushed() const { return pushed_; }
  int AnimationCounter() const { return counter_; }

  void SetButtonStyle(bool isDefault) override;
  void Dispatch(void* message) override;

  TImOwnerDrawEvent OnOwnerDraw;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;
  void WndProc(TMessage& message) override;

 private:
  template <class T>
  void Store(T& field, T value) {
    field = value;
    Invalidate();
  }
  struct Frame {
    TPicture* picture = nullptr;
    int index = 0;
    int count = 0;
  };
  void HotStart();
  void HotEnd(bool notify);
  void HoverTick();
  void DrawItem(const DRAWITEMSTRUCT& item);
  Frame ChooseFrame(int state);
  void DrawFullPicture(TCanvas* canvas, const RECT& rect, int state);
  void DrawPlainFace(TCanvas* canvas, const RECT& rect, int state, bool withGlyph = true);
  void DrawFrameRect(TCanvas* canvas, const RECT& rect, int state);
  void DrawWindowsXPFace(TCanvas* canvas, const RECT& rect, int state);
  void DrawCaption(TCanvas* canvas, const RECT& focus, const RECT& text, int state);
  void DrawGlyph(TCanvas* canvas, const Frame& frame, const RECT& glyph, int frameWidth, int state);
  TColor ButtonColor(int state) const;
  TColor FrameColor(int state) const;
  void MaskPictureChanged();
  void ApplyCornerRegion();

  TImBtnKind looks_ = ibkNormal;
  std::unique_ptr<TImButtonColors> colors_;
  TColor hotTextColor_ = clBlue;
  TColor disableCapColor_ = clBtnShadow;
  bool transparent_ = false;
  bool drawing_ = false;
  bool showFullPicCaption_ = false;
  bool defaultDraw_ = true;
  bool focusRect_ = true;
  bool hot_ = false;
  bool down_ = false;
  bool pushed_ = false;
  bool animated_ = false;
  bool isDefault_ = false;
  std::unique_ptr<TTimer> hoverTimer_;
  int counter_ = 0;
  int spacing_ = 2;
  int pictureCount_ = 0;
  int animatedCount_ = 0;
  std::unique_ptr<TPicture> animatePicture_, picture_, maskPicture_;
  TalignType fontAlign_ = TalignType::alCenter;
  UINT captionFormat_ = 0x25;
};
