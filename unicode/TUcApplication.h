// The companion of the form library's application object: a UTF-16 hint and title beside the
// 8-bit ones, wide message boxes and exception messages, the hint action carrying the wide
// hint, and a get-message hook that dispatches typed characters wide to Unicode windows
// before the form library's 8-bit loop sees them.
#pragma once

#include "platform/forms/TApplication.h"
#include "platform/forms/TControl.h"
#include "platform/rtl/WideString.h"

class TUcAppIdleEventControl;

class TUcApplication : public TComponent {
 public:
  explicit TUcApplication(TComponent* owner);
  ~TUcApplication() override;

  WideString Hint();
  void SetHint(const WideString& hint);
  WideString Title();
  void SetTitle(const WideString& title);
  WideString ExeName() const;
  // The long hint of the control under the mouse.
  WideString ApplicationMouseControlHint();
  // Idle time: the wide hint follows the form library's when it took the mouse control's.
  void DoIdle();
  bool IsDlgMsg(MSG& msg);
  // True when the message was dispatched here (the hook then empties it).
  bool ProcessMessage(MSG& msg);
  bool WndProc(TMessage& message);
  int MessageBox(const WideString& text, const WideString& caption, UINT flags);
  void ShowException(Exception* e);
  // Around a loop that removes messages itself: the hook leaves them alone meanwhile.
  void EnableManualPeekMessageWithRemove();
  void DisableManualPeekMessageWithRemove();
  unsigned SettingChangeTime() const { return settingChangeTime_; }

 private:
  friend class TUcAppIdleEventControl;
  bool mainFormSeen_ = false;
  WideString wideHint_;
  TUcAppIdleEventControl* idleEventControl_ = nullptr;
  unsigned settingChangeTime_ = 0;
  WideString wideTitle_;
};

// A zero-sized control on the main form that carries an action, so the form library's idle
// updates reach TUcApplication::DoIdle.
class TUcAppIdleEventControl : public TControl {
 public:
  explicit TUcAppIdleEventControl(TComponent* owner);
  ~TUcAppIdleEventControl() override;
};

extern TUcApplication* UcApplication;

namespace unicode {
// Makes UcApplication and installs the hook of the interface thread; the reverse.
void ApplicationStartup();
void ApplicationShutdown();
}  // namespace unicode

// The classic environment set-up, offered for programs that want it (this one does not call
// it): every system update of the layer installed, the form library's default font set to the
// face the classic dialog font stands for, and the layer's hint window made the application's.
void InitUcEnvironment();
