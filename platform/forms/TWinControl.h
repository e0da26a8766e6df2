// TWinControl: a control with a window of its own. The window is made on demand (parents
// first) from CreateParams; its class procedure is InitWndProc, which on the window's first
// message installs the control's object instance (MainWndProc, the exception boundary) and
// the two window properties FindControl reads. It contains other controls, paints the
// windowless ones in its own WM_PAINT, passes them their mouse messages, and reflects child
// windows' notifications back to their controls as CN_* messages.
#pragma once

#include <memory>
#include <vector>

#include "platform/forms/TControl.h"
#include "platform/forms/TWMKey.h"
#include "platform/win/Win.h"

struct TCreateParams {
  const char* Caption = "";
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASSA WindowClass{};
  char WinClassName[64] = {0};
};

using TKeyEvent = std::function<void(TObject* sender, WORD& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;

class TWinControlAccess;
class TControlColorBrush;

class TWinControl : public TControl {
 public:
  // The control whose window CreateWnd is creating now (its class procedure's first message
  // takes it); null otherwise. A layer that creates windows of its own sets it the same way.
  static TWinControl* CreationControl();
  static void SetCreationControl(TWinControl* control);
  // The class procedure of the library's windows: on the first message it installs the
  // creation control's object instance and the two properties below. Callable by a layer that
  // registers classes of its own.
  static LRESULT InitWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  // The names of the window properties that map a window to its control and to its object
  // instance; they carry the process id.
  static const char* ControlPropertyName();
  static const char* InstancePropertyName();
  // Shows or hides the window as the control and its parents are showing.
  void UpdateControlState();

  explicit TWinControl(TComponent* owner);
  ~TWinControl() override;

  HWND Handle();
  bool HandleAllocated() const { return handle_ != nullptr; }
  void HandleNeeded() { Handle(); }
  void DestroyHandle();
  void RecreateWnd();
  // The procedure the control's unhandled messages go to (a class's or a system class's).
  WNDPROC DefWndProc;
  // For top-level windows: the owner window (a form's is the application's).
  HWND ParentWindow = nullptr;

  int ControlCount() const { return static_cast<int>(controls_.size()); }
  TControl* Controls(int index) const { return controls_.at(static_cast<std::size_t>(index)); }
  void InsertControl(TControl* control);
  void RemoveControl(TControl* control);
  // The visible, enabled child under a client point, windowless ones first in z-order.
  TControl* ControlAtPos(POINT p, bool allowDisabled, bool allowWinControls = false) const;
  void Realign();
  void SetChildOrder(TControl* control, bool front);
  void Broadcast(TMessage& message);

  bool Focused() const;
  // Visible and enabled up to its form (the form itself may still be hidden).
  virtual bool CanFocus() const;
  // Makes the control its form's active control; raises EInvalidOperation "Cannot focus a
  // disabled or invisible control" when it cannot take the focus.
  virtual void SetFocus();
  bool TabStop = false;
  // Position among the parent's windowed children for Tab; -1 without a parent.
  int TabOrder() const;
  void SetTabOrder(int value);
  // The windowed controls inside this one in Tab order, depth first.
  void GetTabOrderList(std::vector<TWinControl*>& list) const;
  // The control after (or before) `current` that can take the focus; with checkTabStop only
  // TabStop ones, with checkParent only direct children. Null when there is none.
  TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop,
                               bool checkParent) const;
  void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);
  // Gives the focus to the first control in Tab order (a TabStop one if any).
  void SelectFirst();
  // This control or one inside it.
  bool ContainsControl(const TControl* control) const;
  bool DoubleBuffered = false;

  void MainWndProc(TMessage& message);
  void WndProc(TMessage& message) override;
  void Dispatch(void* message) override;
  void DefaultHandler(void* message) override;
  void SetBounds(int left, int top, int width, int height) override;
  void Invalidate() override;
  void Update() override;
  // Paints the windowless children meeting the DC's clip area, in z-order.
  void PaintControls(HDC dc);
  // Aligns the children once the layout has been read.
  void Loaded() override;

  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

 protected:
  TActionLinkClass GetActionLinkClass() const override;
  virtual void CreateParams(TCreateParams& params);
  // Takes a system class's record (EDIT, BUTTON ...); its procedure becomes DefWndProc.
  void CreateSubClass(TCreateParams& params, const char* className);
  virtual void CreateHandle();
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void PaintWindow(HDC dc);
  virtual void AlignControls(RECT& rect);
  // The part of the client area children are aligned in (a panel leaves its bevels out).
  virtual void AdjustClientRect(RECT& rect) { (void)rect; }
  // Sizes the control to hold its visible children (AutoSize).
  void AdjustSize() override;
  virtual bool KeyDown(WORD& key, TShiftState shift);
  virtual bool KeyPress(char& key);
  virtual void KeyUp(WORD& key, TShiftState shift);
  // The form's handlers first when it previews keys, then the control's; true when the key
  // was eaten (set to 0).
  bool DoKeyDown(TWMKey& message);
  bool DoKeyPress(TWMKey& message);
  bool DoKeyUp(TWMKey& message);
  virtual void DoEnter();
  virtual void DoExit();
  // The shortcut step of a key: the popup menus of the control and its parents, its form
  // (OnShortCut, menu bar, action lists), then the application's.
  virtual bool IsMenuKey(TWMKey& message);
  void PaintHandler(TMessage& message);
  // The end of the message switch of a control over a system class that draws text: answers
  // the reflected colour question (CN_CTLCOLOR*) with the control's font colour and Color and a
  // brush of that colour the control keeps; false for any other message.
  bool AnswerColorQuestion(TMessage& message);

  HWND handle_ = nullptr;

 private:
  friend class TWinControlAccess;
  bool ForwardMouse(TMessage& message);
  // The handlers of Dispatch. Those answering bool are done with the message when true; false
  // passes it on to TControl.
  void WMEraseBkgnd(TMessage& message);
  void CNKeyDown(TMessage& message);
  void CNChar(TMessage& message);
  void CNSysChar(TMessage& message);
  bool WMContextMenu(TMessage& message);
  bool WMKeyDown(TMessage& message);
  bool WMKeyUp(TMessage& message);
  bool WMChar(TMessage& message);
  // Takes the window's new size and aligns the children and the siblings to it.
  void WMSize();
  void WMNCDestroy(TMessage& message);
  void CMVisibleChanged();
  void CMEnabledChanged();
  // Passes a child window's notification to its control as the CN_ message; false when the
  // window is no child control's.
  bool ReflectToChild(TMessage& message, TWinControl* child);
  // WM_SETCURSOR: the screen's cursor, else the control's under the pointer, else this one's.
  bool SetCursorFor(TMessage& message);
  // Tab, arrows, Enter and Esc the focused control does not want go to the form as
  // CM_DIALOGKEY; true when the form took the key.
  bool DialogKey(TMessage& message);
  void RemoveFocus(bool removing);
  void FixupTabList();

  WNDPROC objectInstance_;
  std::unique_ptr<TControlColorBrush> colorBrush_;  // made for the first colour question
  std::vector<TControl*> controls_;
  std::vector<TControl*> tabList_;  // the windowed children, in Tab order
  int tabOrderWanted_ = -1;         // read from a layout, applied once the parent is loaded
  // Moves and stretches anchored children by the change of the client size since the last
  // alignment.
  void AnchorControls(const RECT& client);

  bool aligning_ = false;
  bool classPaints_ = false;  // a system class (EDIT, BUTTON ...) paints the window
  SIZE alignedClient_{-1, -1};
  bool autoSizing_ = false;
};

// A door for a layer that makes the control's window itself: it sets and clears the handle
// field and reads the object instance that calls MainWndProc.
class TWinControlAccess {
 public:
  static void SetHandle(TWinControl* control, HWND handle) { control->handle_ = handle; }
  static WNDPROC ObjectInstance(const TWinControl* control) { return control->objectInstance_; }
  static void CreateParams(TWinControl* control, TCreateParams& params) { control->CreateParams(params); }
  // Forgets the 8-bit text buffer (the window holds the text).
  static void ClearTextBuffer(TWinControl* control) { control->text_ = AnsiString(); }
  static void AdjustSize(TWinControl* control) { control->AdjustSize(); }
};

// The control of a window made by the form library, or null.
TWinControl* FindControl(HWND hwnd);
// The windowless or windowed control holding the mouse, or null.
TControl* GetCaptureControl();
// The window `holder` lost the mouse capture (to `newCapture`, or to none): a control that held
// the mouse through it holds it no longer, so the next press goes to the control under it.
void CaptureLeftWindow(HWND holder, HWND newCapture);
