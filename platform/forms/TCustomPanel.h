// TCustomPanel: a windowed container drawn as an outer bevel, a border in the panel's colour,
// an inner bevel, the face and the caption on one line, centred vertically. Children align
// inside the bevels and the border. Skinned and Unicode panels replace Paint.
#pragma once

#include "platform/forms/ControlTypes.h"
#include "platform/forms/TCustomControl.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };
using TPanelBevel = TBevelCut;

class TCustomPanel : public TCustomControl {
 public:
  explicit TCustomPanel(TComponent* owner);

  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment value);
  TPanelBevel BevelInner() const { return bevelInner_; }
  void SetBevelInner(TPanelBevel value);
  TPanelBevel BevelOuter() const { return bevelOuter_; }
  void SetBevelOuter(TPanelBevel value);
  int BevelWidth() const { return bevelWidth_; }
  void SetBevelWidth(int value);
  int BorderWidth() const { return borderWidth_; }
  void SetBorderWidth(int value);
  // bsSingle: a sunken client edge drawn by the window system.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);

  RECT ClientRect() const override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void AdjustClientRect(RECT& rect) override;
  void Paint() override;

 private:
  void BordersChanged();
  TAlignment alignment_ = taCenter;
  TPanelBevel bevelInner_ = bvNone;
  TPanelBevel bevelOuter_ = bvRaised;
  int bevelWidth_ = 1;
  int borderWidth_ = 0;
  TBorderStyle borderStyle_ = bsNone;
};
