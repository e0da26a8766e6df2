// Small helpers the system classes share: the per-window state table, text of the caller's set,
// notifications to the parent, colours asked of the parent, and drawing of the classic 3-D
// edges.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/controls/Controls.h"

namespace platform::controls {

// State of each window of one class, created at WM_NCCREATE and dropped at WM_NCDESTROY.
template <typename T>
class WindowStates {
 public:
  T* Get(HWND hwnd) {
    auto it = states_.find(hwnd);
    return it == states_.end() ? nullptr : it->second.get();
  }
  T& Create(HWND hwnd) { return *(states_[hwnd] = std::make_unique<T>()); }
  void Drop(HWND hwnd) { states_.erase(hwnd); }

 private:
  std::map<HWND, std::unique_ptr<T>> states_;
};

// Whether the message being handled came in the 8-bit form: the procedure of a dual class gets
// each message in the set it was installed with (a subclass of the other set reaches it through
// a translating stand-in).
bool IsAnsi(HWND hwnd);
// A string parameter in the caller's set, as UTF-16.
std::u16string TextParam(HWND hwnd, LPARAM l);
// The caption of a creation record in the caller's set.
std::u16string CreationCaption(HWND hwnd, LPARAM createStruct);
// Copies UTF-16 text out as WM_GETTEXT does: capacity in the caller's units, terminator always
// written, never half a character; returns the units copied.
LRESULT CopyTextOut(HWND hwnd, const std::u16string& text, WPARAM capacity, LPARAM buffer);
// Length in the caller's units.
LRESULT TextLengthFor(HWND hwnd, const std::u16string& text);

// WM_COMMAND to the parent with the control's id and a notification code.
void NotifyParent(HWND hwnd, WORD code);
// Asks the parent for colours (WM_CTLCOLOR*) and returns the brush to fill with.
HBRUSH ParentColors(HWND hwnd, HDC dc, UINT ctlColorMessage);
// The font a control draws with: the one WM_SETFONT gave, else the default interface font.
HFONT ControlFont(HFONT font);
// The height of a line of text in that font (at least 1), measured on the window's DC.
int FontHeight(HWND hwnd, HFONT font);
// Classic raised (pushed = sunken) 3-D frame of a button or scroll-bar box.
void DrawButtonFrame(HDC dc, RECT r, bool pushed);
void FillSolid(HDC dc, const RECT& r, COLORREF color);
// A scroll-bar arrow button (also a combo box's drop-down button): pointing up or left, or
// (forward) down or right.
void DrawArrowButton(HDC dc, RECT r, bool vertical, bool forward, bool pushed);
// The classic two-pixel sunken edge around a field.
void DrawSunkenEdge(HDC dc, RECT r);

}  // namespace platform::controls
