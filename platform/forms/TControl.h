// TControl: the base of everything shown in a form. It keeps bounds, visibility, text, colour,
// font, hint and cursor, and receives messages through the replaceable WindowProc (by default
// WndProc, then Dispatch by message number, then DefaultHandler). Windowless controls get
// their messages from their parent; TWinControl adds a window.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/forms/ActionClient.h"
#include "platform/forms/FormMessages.h"
#include "platform/forms/TBasicAction.h"
#include "platform/forms/TColor.h"
#include "platform/forms/TComponent.h"
#include "platform/forms/TFont.h"
#include "platform/forms/TSizeConstraints.h"

class TWinControl;
class TPopupMenu;
class TControlActionLink;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TTextLayout { tlTop, tlCenter, tlBottom };
enum TAnchorKind { akLeft, akTop, akRight, akBottom };
// A set of TAnchorKind, one bit (1 << kind) each.
using TAnchors = unsigned;
constexpr TAnchors AnchorBit(TAnchorKind kind) { return 1u << kind; }
constexpr TAnchors akLeftTop = AnchorBit(akLeft) | AnchorBit(akTop);
enum TMouseButton { mbLeft, mbRight, mbMiddle };
enum TShiftStateFlag : unsigned {
  ssShift = 1u << 0,
  ssAlt = 1u << 1,
  ssCtrl = 1u << 2,
  ssLeft = 1u << 3,
  ssRight = 1u << 4,
  ssMiddle = 1u << 5,
  ssDouble = 1u << 6
};
using TShiftState = unsigned;
using TCursor = int;
constexpr TCursor crDefault = 0, crNone = -1, crArrow = -2, crCross = -3, crIBeam = -4, crSizeNESW = -6,
                  crSizeNS = -7, crSizeNWSE = -8, crSizeWE = -9, crUpArrow = -10, crHourGlass = -11,
                  crDrag = -12, crNoDrop = -13, crHSplit = -14, crVSplit = -15, crMultiDrag = -16, crNo = -18,
                  crAppStart = -19, crHelp = -20, crHandPoint = -21, crSizeAll = -22;
enum TBiDiMode { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };

enum TControlStyleFlag : unsigned {
  csAcceptsControls = 1u << 0,
  csCaptureMouse = 1u << 1,
  csClickEvents = 1u << 3,
  csSetCaption = 1u << 5,
  csOpaque = 1u << 6,
  csDoubleClicks = 1u << 7,
  csReplicatable = 1u << 11,
  csNoStdEvents = 1u << 12,
  csActionClient = 1u << 15
};
using TControlStyle = unsigned;
enum TControlStateFlag : unsigned {
  csLButtonDown = 1u << 0,
  csClicked = 1u << 1,
  csFocusing = 1u << 5,
  csCreating = 1u << 7,
  // While DestroyWindowHandle runs.
  csDestroyingHandle = 1u << 12
};
using TControlState = unsigned;

using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;
// `mousePos` in client coordinates, (-1, -1) when the keyboard asked; `handled` stops the popup.
using TContextPopupEvent = std::function<void(TObject* sender, POINT mousePos, bool& handled)>;

// The shift state of a mouse message's wParam.
TShiftState MouseShiftState(WPARAM keys);

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* owner);
  ~TControl() override;

  TWinControl* Parent() const { return parent_; }
  virtual void SetParent(TWinControl* parent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* value) override;

  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int v) { SetBounds(v, top_, width_, height_); }
  void SetTop(int v) { SetBounds(left_, v, width_, height_); }
  void SetWidth(int v) { SetBounds(left_, top_, v, height_); }
  void SetHeight(int v) { SetBounds(left_, top_, width_, v); }
  virtual void SetBounds(int left, int top, int width, int height);
  RECT BoundsRect() const { return RECT{left_, top_, left_ + width_, top_ + height_}; }
  virtual RECT ClientRect() const { return RECT{0, 0, width_, height_}; }
  int ClientWidth() const { return ClientRect().right; }
  int ClientHeight() const { return ClientRect().bottom; }
  POINT ClientToScreen(POINT p) const;
  POINT ScreenToClient(POINT p) const;
  TAlign Align() const { return align_; }
  void SetAlign(TAlign value);
  // Edges kept at their distance from the parent's edges when the parent is resized.
  TAnchors Anchors() const { return anchors_; }
  void SetAnchors(TAnchors value) { anchors_ = value; }
  TSizeConstraints* Constraints() { return &constraints_; }
  bool AutoSize() const { return autoSize_; }
  virtual void SetAutoSize(bool value);

  bool Visible() const { return visible_; }
  void SetVisible(bool value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible here and in every parent.
  bool Showing() const;
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);

  AnsiString Caption() const { return GetText(); }
  void SetCaption(const AnsiString& value) { SetText(value); }
  AnsiString Text() const { return GetText(); }
  void SetTextProp(const AnsiString& value) { SetText(value); }
  const AnsiString& Hint() const { return hint_; }
  void SetHint(const AnsiString& value) { hint_ = value; }
  bool ShowHint() const { return showHint_; }
  void SetShowHint(bool value);
  // While set, ShowHint follows the parent's.
  bool ParentShowHint() const { return parentShowHint_; }
  void SetParentShowHint(bool value);
  TColor Color() const { return color_; }
  void SetColor(TColor value);
  // Takes the parent's colour, and follows it, while set; setting Color clears it.
  bool ParentColor() const { return parentColor_; }
  void SetParentColor(bool value);
  TFont* Font() { return &font_; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  // Shown at the pointer by a right click (WM_CONTEXTMENU) when its AutoPopup is on.
  TPopupMenu* PopupMenu() const { return popupMenu_; }
  void SetPopupMenu(TPopupMenu* value);

  // The action the control follows (caption, hint, enabled, visible; a click executes it), or
  // null. Setting one makes the link GetActionLinkClass names.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* value);
  TControlActionLink* ActionLink() const { return action_.ActionLink(); }
  // Right-to-left layout and reading are not offered: both answer false, and the text flags
  // come back unchanged.
  bool UseRightToLeftAlignment() const { return false; }
  bool UseRightToLeftReading() const { return false; }
  UINT DrawTextBiDiModeFlags(UINT flags) const { return flags; }
  UINT DrawTextBiDiModeFlagsReadingOnly() const { return 0; }
  // Updates the control's action (idle time).
  virtual void InitiateAction();

  TControlStyle ControlStyle = csCaptureMouse | csClickEvents | csSetCaption | csDoubleClicks;
  TControlState ControlState = 0;

  TWndMethodValue WindowProc;
  // Calls WindowProc directly: no window system, no translation, no hook; works without a window.
  LRESULT Perform(UINT msg, WPARAM wParam, LPARAM lParam);
  virtual void WndProc(TMessage& message);
  void Dispatch(void* message) override;
  // A windowless control answers the text messages from its own text buffer.
  void DefaultHandler(void* message) override;

  virtual void Invalidate();
  virtual void Update();
  void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();
  bool MouseCapture() const;
  void SetMouseCapture(bool value);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnResize;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TContextPopupEvent OnContextPopup;

 protected:
  virtual AnsiString GetText() const;
  virtual void SetText(const AnsiString& value);
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y);
  virtual void MouseMove(TShiftState shift, int x, int y);
  virtual void Resize();
  virtual void VisibleChanging() {}
  virtual void Changed() {}
  // Fits the control to its content when AutoSize is on; the base has no content to fit.
  virtual void AdjustSize() {}
  // Limits a proposed size by the constraints.
  void ConstrainSize(int& width, int& height) const { constraints_.Apply(width, height); }
  virtual TPopupMenu* GetPopupMenu() const { return popupMenu_; }
  virtual void DoContextPopup(POINT mousePos, bool& handled);
  void Notification(TComponent* component, TOperation operation) override;
  void Loaded() override;
  // Copies caption, hint, enabled, visible and the click handler into an action.
  void AssignTo(TPersistent* dest) override;
  virtual TActionLinkClass GetActionLinkClass() const;
  // Takes the action's values; with checkDefaults only where the control still has its own
  // defaults (an empty caption or its name, enabled, no hint, visible).
  virtual void ActionChange(TObject* sender, bool checkDefaults);

  // Forms start hidden; other controls visible.
  void InitVisible(bool value) { visible_ = value; }
  // Sets AutoSize at construction without fitting anything yet.
  void InitAutoSize(bool value) { autoSize_ = value; }
  AnsiString text_;  // the 8-bit text buffer (windowed controls: while they have no window)
  int left_ = 0, top_ = 0, width_ = 0, height_ = 0;

 private:
  friend class TWinControl;
  void HandleMouse(TMessage& message);
  void ContextMenu(TMessage& message);

  TWinControl* parent_ = nullptr;
  TActionClient<TControlActionLink> action_{this, "The action link class of %s is not a control's link"};
  TAlign align_ = alNone;
  TAnchors anchors_ = akLeftTop;
  TSizeConstraints constraints_;
  bool autoSize_ = false;
  bool parentColor_ = false;
  bool visible_ = true;
  bool enabled_ = true;
  bool showHint_ = false;
  bool parentShowHint_ = true;
  AnsiString hint_;
  TColor color_ = clWindow;
  TFont font_;
  TCursor cursor_ = crDefault;
  TPopupMenu* popupMenu_ = nullptr;
};
