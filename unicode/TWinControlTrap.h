// The trap between a control's UTF-16 window, the form library and the control: the window's
// messages pass its RawWindowProc, the control's WindowProc is its MessageProc and the control's
// DefWndProc its DefaultWindowProc. One trap serves a control from its first Unicode window
// until the control is freed, waiting between windows with the control's text stored.
#pragma once

#include "platform/forms/TComponent.h"
#include "platform/forms/TWinControl.h"

class TWinControlTrap : public TComponent {
 public:
  explicit TWinControlTrap(TWinControl* control);
  ~TWinControlTrap() override;

  TWinControl* Control() const { return control_; }
  HWND Handle() const { return handle_; }
  // The stub that calls the control's MainWndProc (the window's procedure under the trap).
  WNDPROC ControlProcStub() const { return controlProc_; }
  void Attach(HWND window, const WideString& caption);
  void Detach();
  void SetHostWindow(bool value) { hostWindow_ = value; }

 protected:
  void Notification(TComponent* component, TOperation operation) override;

 private:
  void RawWindowProc(TMessage& message);
  void MessageProc(TMessage& message);
  void DefaultWindowProc(TMessage& message);
  void HookMessageProc();
  bool IsMessageProcInChain();
  TWndMethodValue OwnMessageProc() {
    return TWndMethodValue::Of<TWinControlTrap, &TWinControlTrap::MessageProc>(this);
  }

  WNDPROC controlProc_;
  WNDPROC rawProc_;
  WNDPROC defaultProc_;
  TWinControl* control_;
  HWND handle_ = nullptr;
  WNDPROC previousWndProc_;
  WNDPROC previousDefProc_;
  TWndMethodValue previousMessageProc_;
  UINT lastRawMessage_ = 0;
  int nesting_ = 0;
  bool hostWindow_ = false;
  bool destroyPending_ = false;
  bool nullProbe_ = false;
  bool nullSeen_ = false;
};
