// TQvRichEdit: a multi-line edit inside the bordered edits' frame (normal, flat or ultra-flat
// with hot and focused colours), whose scroll bars can be the common controls' flat or Encarta
// ones, mirroring the edit's own bars. The platform's rich edit holds plain text: OnChange, the
// key, wheel and selection events fire; OnProtectChange, OnResizeRequest and OnSaveClipboard are
// kept for layouts and never fire (plain text has nothing that raises them).
#pragma once

#include <functional>

#include "controls/TCustomQvFramedEdit.h"
#include "platform/forms/TRichEdit.h"

enum TQvScrollBarStyle { sbsNormalScrollBar, sbsFlatScrollBar, sbsEncartaScrollBar };

using TMouseWheelEvent =
    std::function<void(TObject* sender, TShiftState shift, int wheelDelta, TPoint mousePos, bool& handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(TObject* sender, TShiftState shift, TPoint mousePos, bool& handled)>;

// The inner edit: borderless, no tab stop of its own; keeps the flat bars in step with its own.
class TQvCustomInplaceRichEdit : public TCustomRichEdit {
 public:
  explicit TQvCustomInplaceRichEdit(TComponent* owner);
  TQvScrollBarStyle ScrollBarStyle() const { return scrollBarStyle_; }
  void fSetScrollBarStyle(TQvScrollBarStyle value);
  void Dispatch(void* message) override;

  TNotifyEvent OnInnerMouseEnter, OnInnerMouseLeave;
  // A wheel turn: true when a handler took it.
  std::function<bool(TShiftState shift, int delta, TPoint at)> OnInnerWheel;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWnd() override;

 private:
  void StartFlatBars();
  // Copies the edit's own bars to the flat ones; with `enable` first shows and enables each flat
  // bar as its own bar is active (visible with HideScrollBars, scrollable without), doing no
  // more when neither changed unless `force`.
  void fProcessScrollBar(bool enable, bool force = false);

  bool mouseInside_ = false;
  bool guard_ = false;
  bool hEnabled_ = false, vEnabled_ = false;
  TQvScrollBarStyle scrollBarStyle_ = sbsNormalScrollBar;
};

class TCustomQvRichEdit : public TCustomQvFramedEdit {
 public:
  explicit TCustomQvRichEdit(TComponent* owner);

  TQvCustomInplaceRichEdit* InplaceRichEdit() { return edit_; }
  TQvScrollBarStyle ScrollBarStyle() const { return edit_->ScrollBarStyle(); }
  void SetScrollBarStyle(TQvScrollBarStyle value) {
    edit_->fSetScrollBarStyle(value);
    Invalidate();
  }
  TStrings* Lines() const { return edit_->Lines(); }

  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown, OnMouseWheelUp;
  TNotifyEvent OnSelectionChange;
  TRichEditProtectChange OnProtectChange;
  TRichEditResizeEvent OnResizeRequest;
  TRichEditSaveClipboard OnSaveClipboard;

 protected:
  int FrameWidth(TQvEditBorderStyle style) const override;
  bool ThirdRing() const override { return false; }

 private:
  bool Wheel(TShiftState shift, int delta, TPoint at);
  TQvCustomInplaceRichEdit* edit_ = nullptr;
};

class TQvRichEdit : public TCustomQvRichEdit {
 public:
  using TCustomQvRichEdit::TCustomQvRichEdit;
};

// Registers the class and its properties for form layouts.
void RegisterQvRichEdit();
