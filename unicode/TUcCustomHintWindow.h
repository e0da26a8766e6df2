// A hint window with a UTF-16 window and caption. The form library hands a hint window only
// an 8-bit string; for a hint the layer marked (see ProcessCMHintShowMsg) the wide text is
// found again from the control under the mouse.
#pragma once

#include "platform/forms/THintWindow.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/WideString.h"

class TUcCustomHintWindow : public THintWindow {
 public:
  explicit TUcCustomHintWindow(TComponent* owner) : THintWindow(owner) {}
  ~TUcCustomHintWindow() override;
  WideString Caption();
  void SetCaption(const WideString& value);
  void ActivateHint(RECT rect, const AnsiString& hint) override;
  void ActivateHintData(RECT rect, const AnsiString& hint, void* data) override;
  RECT CalcHintRect(int maxWidth, const AnsiString& hint, void* data) override;
  void Dispatch(void* message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void CreateWindowHandle(const TCreateParams& params) override;
  void Paint() override;
  // The rectangle `hint` needs at most `maxWidth` wide, with the window's margins.
  RECT WideHintRect(int maxWidth, const WideString& hint);
  // Marks an activation for one scope, with `blockPaint` holding the painting back as well: the
  // flags are as they were again on every way out.
  [[nodiscard]] auto ActivationScope(bool blockPaint) {
    const bool savedActivating = activating_, savedBlock = blockPaint_;
    activating_ = true;
    if (blockPaint) blockPaint_ = true;
    return platform::ScopeExit([this, blockPaint, savedActivating, savedBlock] {
      if (blockPaint) blockPaint_ = savedBlock;
      activating_ = savedActivating;
    });
  }

  bool blockPaint_ = false;
};

// The wide text of a hint the layer marked, or null when `data` is no such hint.
bool UcWideHintText(void* data, WideString& text);
