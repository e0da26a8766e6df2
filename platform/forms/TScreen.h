// TScreen and the global Screen: the desktop as the program sees it. It lists the forms, tells
// which form and control are active, keeps the cursor table (the built-in shapes under their
// negative ids, the program's own under positive ones) and the screen-wide cursor that overrides
// every window while it is not crDefault, and answers the fixed desktop questions: 96 pixels per
// inch, one monitor, a work area equal to the screen.
#pragma once

#include <map>
#include <memory>
#include <vector>

#include "platform/forms/TControl.h"
#include "platform/forms/TFont.h"
#include "platform/rtl/TStringList.h"

class TCustomForm;
class TWinControl;

// The one monitor.
class TMonitor : public TObject {
 public:
  int MonitorNum() const { return 0; }
  bool Primary() const { return true; }
  RECT BoundsRect() const;
  RECT WorkareaRect() const { return BoundsRect(); }
  int Left() const { return 0; }
  int Top() const { return 0; }
  int Width() const { return BoundsRect().right; }
  int Height() const { return BoundsRect().bottom; }
};

class TScreen : public TComponent {
 public:
  explicit TScreen(TComponent* owner);
  ~TScreen() override;

  int FormCount() const { return static_cast<int>(forms_.size()); }
  TCustomForm* Forms(int index) const { return forms_.at(static_cast<std::size_t>(index)); }
  // The form whose window is active, or null.
  TCustomForm* ActiveForm() const;
  // The control holding the input focus, or null.
  TWinControl* ActiveControl() const;

  // crDefault lets each window show its control's cursor; anything else shows everywhere.
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor value);
  // The shape of a cursor id; an id nobody set gives the default arrow.
  HCURSOR Cursors(TCursor index) const;
  // Adds or replaces a cursor (0 removes a program cursor); setting crDefault changes the
  // default arrow.
  void SetCursors(TCursor index, HCURSOR handle);

  int Width() const;
  int Height() const;
  int PixelsPerInch() const { return 96; }
  TFont* HintFont() { return &hintFont_; }
  TFont* IconFont() { return &iconFont_; }
  TFont* MenuFont() { return &menuFont_; }
  // The font families the program may name: the default font.
  TStrings* Fonts();
  int MonitorCount() const { return 1; }
  TMonitor* Monitors(int index);
  RECT DesktopRect() const { return RECT{0, 0, Width(), Height()}; }
  RECT WorkAreaRect() const { return DesktopRect(); }

  // Forms register themselves while they exist.
  void AddForm(TCustomForm* form);
  void RemoveForm(TCustomForm* form);

 private:
  std::vector<TCustomForm*> forms_;
  TCursor cursor_ = crDefault;
  HCURSOR defaultCursor_ = nullptr;
  std::map<TCursor, HCURSOR> cursors_;
  TFont hintFont_, iconFont_, menuFont_;
  std::unique_ptr<TStringList> fonts_;
  TMonitor monitor_;
};

extern TScreen* Screen;
