// TSkMenuController: owner-draws the menus of its owner form. Once loaded (or told to by
// TakeOverMenus) it takes over every menu item of the owner that has no advanced-draw handler of
// its own, measuring and painting it in gradient colours (of the common colour sets, or its own
// with gcsCustom); an item that goes away, or the controller going, hands the items back.
#pragma once

#include <vector>

#include "controls/XPColors.h"
#include "platform/forms/TMenuItem.h"

class TSkMenuController : public TComponent {
 public:
  explicit TSkMenuController(TComponent* owner);
  ~TSkMenuController() override;

  TSkGradientColorStyle GradientColorStyle() const { return style_; }
  void SetGradientColorStyle(TSkGradientColorStyle value) { style_ = value; }
  TColor SelectionColorStart = clBtnFace, SelectionColorStop = clBtnShadow,
         SelectionFrameColor = cl3DDkShadow;
  TColor IconBarColorStart = static_cast<TColor>(0xFFFFFF), IconBarColorStop = clBtnFace;
  TColor MenuColor = clWindow, MenuFontColor = clWindowText;

  // Takes over the owner's menu items (a loaded controller does this by itself).
  void TakeOverMenus();
  int ItemCount() const { return static_cast<int>(items_.size()); }
  void Loaded() override;
  void DefineProperties(TFiler* filer) override;

  // The size of an item: height 3 for a separator, else 22; popup items get 31 more pixels.
  void MeasureItem(TMenuItem* item, TCanvas* canvas, int& width, int& height);
  void DrawItem(TMenuItem* item, TCanvas* canvas, RECT rect, TOwnerDrawState state);

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void TakeOver(TMenuItem* item);
  void HandBack(TMenuItem* item);
  TSkGradientColorStyle style_ = gcsSystem;
  std::vector<TMenuItem*> items_;
};

// Registers the class and its properties for form layouts.
void RegisterSkMenuController();
