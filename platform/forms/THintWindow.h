// THintWindow: the small top-level window a hint shows in, above every other window, never
// taking focus or activation. THintInfo is the record the application fills before showing a
// hint and hands the control (CM_HINTSHOW) to change; HintWindowClass names the class the
// application makes its hint window of, so another layer can put its own in. GetShortHint and
// GetLongHint split a hint at its first "|".
#pragma once

#include <type_traits>
#include <typeinfo>

#include "platform/forms/TCustomControl.h"

class THintWindow;

// A class reference to THintWindow or a class derived from it. Two references are equal when
// they name the same class.
class THintWindowClass {
 public:
  THintWindowClass() = default;
  template <class T>
  static THintWindowClass Of() {
    static_assert(std::is_base_of_v<THintWindow, T>, "a hint window class derives from THintWindow");
    THintWindowClass c;
    c.type_ = &typeid(T);
    c.create_ = [](TComponent* owner) -> THintWindow* { return new T(owner); };
    // A thrown T* is caught by a handler of any public base's pointer type: that answers
    // "derives from" for a class known only by this reference.
    c.probe_ = [] { throw static_cast<T*>(nullptr); };
    return c;
  }
  THintWindow* Create(TComponent* owner) const { return create_ ? create_(owner) : nullptr; }
  TClass ClassType() const { return type_; }
  template <class B>
  bool InheritsFrom() const {
    if (!probe_) return false;
    try {
      probe_();
    } catch (B*) {
      return true;
    } catch (...) {
    }
    return false;
  }
  explicit operator bool() const { return type_ != nullptr; }
  bool operator==(const THintWindowClass& other) const {
    if (!type_ || !other.type_) return type_ == other.type_;
    return *type_ == *other.type_;
  }

 private:
  TClass type_ = nullptr;
  THintWindow* (*create_)(TComponent*) = nullptr;
  void (*probe_)() = nullptr;
};

struct THintInfo {
  TControl* HintControl = nullptr;
  THintWindowClass HintWindowClass;
  POINT HintPos{0, 0};  // screen
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  RECT CursorRect{0, 0, 0, 0};  // the hint control's client coordinates
  POINT CursorPos{0, 0};        // the hint control's client coordinates
  int ReshowTimeout = 0;
  int HideTimeout = 0;
  AnsiString HintStr;
  void* HintData = nullptr;
};

class THintWindow : public TCustomControl {
 public:
  explicit THintWindow(TComponent* owner);

  // Shows `hint` in `rect` (screen; kept on screen), top-most and without activating.
  virtual void ActivateHint(RECT rect, const AnsiString& hint);
  virtual void ActivateHintData(RECT rect, const AnsiString& hint, void* data);
  // The rectangle (at 0, 0) the hint needs when lines wrap at `maxWidth`.
  virtual RECT CalcHintRect(int maxWidth, const AnsiString& hint, void* data);
  // True for the messages that end a hint: keys, presses, commands, activation.
  virtual bool IsHintMsg(const MSG& msg);
  void ReleaseHandle() { DestroyHandle(); }

  void Dispatch(void* message) override;

 protected:
  void CreateParams(TCreateParams& params) override;
  void Paint() override;
  // Set while ActivateHint runs, so the caption change does not resize the window.
  bool activating_ = false;
};

extern THintWindowClass HintWindowClass;

// The text before the first "|", or the whole hint without one.
AnsiString GetShortHint(const AnsiString& hint);
// The text after the first "|", or the whole hint without one.
AnsiString GetLongHint(const AnsiString& hint);
// The first non-empty hint from the control up through its parents.
AnsiString GetHint(TControl* control);
