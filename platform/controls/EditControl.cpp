// The EDIT class: single- and multi-line text entry over EditBuffer. 8-bit windows count bytes
// of the system code page in positions and lengths; the store is UTF-16 either way.
#include "platform/controls/EditControl.h"

#include <algorithm>
#include <vector>

#include "platform/controls/ControlSupport.h"
#include "platform/controls/EditBuffer.h"
#include "platform/gdi/SelectedObject.h"
#include "platform/rtl/CodePage.h"
#include "platform/rtl/GlobalBlock.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/Utf8.h"
#include "platform/win/PaintDC.h"
#include "platform/win/WindowDC.h"

namespace platform::controls {

namespace {

constexpr int kMargin = 2;

struct VisualLine {
  size_t start = 0, end = 0;  // units, end without the line break
};

struct EditWindow {
  EditBuffer buffer;
  HFONT font = nullptr;
  char16_t passwordChar = 0;
  bool modified = false;
  bool focused = false;
  bool selecting = false;
  char16_t pendingHigh = 0;
  platform::Utf8Collector pendingBytes;  // an incomplete UTF-8 character typed into an 8-bit window
  size_t firstLine = 0;                  // first visual line shown
  int xOffset = 0;                       // pixels scrolled to the left (single-line)
  bool vertical = false;                 // a multi-line edit with a vertical scroll bar
  bool horizontal = false;               // ... with a horizontal one
  int widest = 0;                        // pixels of the widest visual line, for the horizontal bar
};

WindowStates<EditWindow>& States() {
  static WindowStates<EditWindow> states;
  return states;
}

DWORD Style(HWND hwnd) { return DWORD(GetWindowLongW(hwnd, GWL_STYLE)); }
bool Multi(HWND hwnd) { return Style(hwnd) & ES_MULTILINE; }

// ---- positions of 8-bit windows

size_t BytesOf(const std::u16string& text, size_t units) {
  return Utf16ToMultiByte(std::u16string_view(text).substr(0, std::min(units, text.size())), CP_ACP).size();
}

size_t UnitsOf(const std::u16string& text, size_t bytes) {
  size_t units = 0, used = 0;
  while (units < text.size() && used < bytes) {
    size_t n = 1;
    if (text[units] >= 0xD800 && text[units] <= 0xDBFF && units + 1 < text.size()) n = 2;
    used += Utf16ToMultiByte(std::u16string_view(text).substr(units, n), CP_ACP).size();
    units += n;
  }
  return units;
}

size_t PosIn(HWND hwnd, const EditWindow& e, LPARAM pos) {
  return IsAnsi(hwnd) ? UnitsOf(e.buffer.Text(), size_t(pos)) : size_t(pos);
}
LRESULT PosOut(HWND hwnd, const EditWindow& e, size_t units) {
  return IsAnsi(hwnd) ? LRESULT(BytesOf(e.buffer.Text(), units)) : LRESULT(units);
}

// ---- layout

int LineHeightOf(HDC dc) {
  TEXTMETRICW tm{};
  return GetTextMetricsW(dc, &tm) ? std::max<int>(1, tm.tmHeight) : 13;
}

// The edit's font selected into a DC (put back on every way out), and a line's height in it.
struct EditFont {
  EditFont(HDC dc, const EditWindow& e) : selected(dc, ControlFont(e.font)), lineHeight(LineHeightOf(dc)) {}
  const SelectedObject selected;
  const int lineHeight;
};

// The window's DC with the edit's font, for measuring outside painting.
struct MeasuringDC {
  MeasuringDC(HWND hwnd, const EditWindow& e) : dc(hwnd), font(dc, e) {}
  operator HDC() const { return dc; }
  const WindowDC dc;
  const EditFont font;
};

int LineHeight(HWND hwnd, const EditWindow& e) { return MeasuringDC(hwnd, e).font.lineHeight; }

// What the window shows for a range: the text, or one password character per cluster.
std::u16string Shown(const EditWindow& e, size_t from, size_t to) {
  const std::u16string& t = e.buffer.Text();
  if (!e.passwordChar) return t.substr(from, to - from);
  const auto& stops = e.buffer.Stops();
  size_t n = 0;
  for (size_t s : stops)
    if (s > from && s <= to) ++n;
  return std::u16string(n, e.passwordChar);
}

int Width(HDC dc, const std::u16string& s) {
  if (s.empty()) return 0;
  SIZE size{};
  GetTextExtentPoint32W(dc, s.c_str(), int(s.size()), &size);
  return size.cx;
}

int XOf(const EditWindow& e, HDC dc, const VisualLine& line, size_t pos) {
  return Width(dc, Shown(e, line.start, std::clamp(pos, line.start, line.end)));
}

std::vector<VisualLine> Layout(HWND hwnd, EditWindow& e, HDC dc) {
  const EditBuffer& b = e.buffer;
  const auto& starts = b.LineStarts();
  std::vector<VisualLine> lines;
  if (!Multi(hwnd)) {
    lines.push_back({0, b.Text().size()});
    return lines;
  }
  RECT client;
  GetClientRect(hwnd, &client);
  const int width = int(client.right) - 2 * kMargin;
  const bool wrap = !(Style(hwnd) & ES_AUTOHSCROLL) && width > 0;
  const std::u16string& text = b.Text();
  for (size_t i = 0; i < starts.size(); ++i) {
    const size_t start = starts[i], end = start + b.LineLength(i);
    if (!wrap) {
      lines.push_back({start, end});
      continue;
    }
    size_t from = start;
    while (true) {
      if (Width(dc, text.substr(from, end - from)) <= width) {
        lines.push_back({from, end});
        break;
      }
      // The longest run of whole clusters that fits, broken after a space when there is one.
      size_t fit = from, lastSpace = 0;
      for (size_t p = b.NextStop(from); p <= end && p > from; p = b.NextStop(p)) {
        if (Width(dc, text.substr(from, p - from)) > width) break;
        fit = p;
        if (text[p - 1] == u' ') lastSpace = p;
        if (p == end) break;
      }
      size_t cut = lastSpace > from ? lastSpace : fit;
      if (cut == from) cut = std::min(end, b.NextStop(from));  // one cluster wider than the line
      lines.push_back({from, cut});
      from = cut;
      if (from >= end) break;
    }
  }
  return lines;
}

size_t LineOfPos(const std::vector<VisualLine>& lines, size_t pos) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const bool last = i + 1 == lines.size();
    if (pos < lines[i].end || (pos == lines[i].end && (last || lines[i + 1].start > pos))) return i;
    if (!last && pos < lines[i + 1].start) return i;
  }
  return lines.empty() ? 0 : lines.size() - 1;
}

size_t PosAtX(const EditWindow& e, HDC dc, const VisualLine& line, int x) {
  size_t best = line.start;
  int bestDistance = std::abs(x);
  for (size_t p = e.buffer.NextStop(line.start); p <= line.end && p > line.start; p = e.buffer.NextStop(p)) {
    const int d = std::abs(XOf(e, dc, line, p) - x);
    if (d < bestDistance) best = p, bestDistance = d;
    if (p == line.end) break;
  }
  return best;
}

int VisibleLines(HWND hwnd, int lineHeight) {
  RECT c;
  GetClientRect(hwnd, &c);
  return std::max(1, int(c.bottom - 2 * kMargin) / lineHeight);
}

// The vertical bar follows the visual lines: one position per line, a page per screenful. It
// stays (disabled) when everything fits.
void UpdateScrollBar(HWND hwnd, const EditWindow& e, size_t lineCount, int visible) {
  if (e.vertical) {
    SCROLLINFO si{sizeof(SCROLLINFO),
                  SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                  0,
                  int(std::max<size_t>(lineCount, 1) - 1),
                  UINT(visible),
                  int(e.firstLine),
                  0};
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
  }
  if (e.horizontal) {
    // One position per pixel; a page is the width the text is shown in.
    RECT c;
    GetClientRect(hwnd, &c);
    SCROLLINFO si{sizeof(SCROLLINFO),
                  SIF_RANGE | SIF_PAGE | SIF_POS | SIF_DISABLENOSCROLL,
                  0,
                  std::max(0, e.widest),
                  UINT(std::max(1, int(c.right) - 2 * kMargin)),
                  e.xOffset,
                  0};
    SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
  }
}

// Scrolls the first shown line to `line`, kept inside the text (or, for the scroll bar, so
// that the last page stays full).
void ScrollToLine(HWND hwnd, EditWindow& e, long line, bool keepPageFull = false);

// The visual lines and the lines a page shows, for the scroll bars.
struct Extent {
  size_t lines;
  int visible;
};

// Scrolls so that the caret is in view (unless the view was just scrolled away on purpose) and
// places the system caret.
Extent PlaceCaret(HWND hwnd, EditWindow& e, bool scrollToCaret) {
  const MeasuringDC dc(hwnd, e);
  const auto lines = Layout(hwnd, e, dc);
  const size_t caret = e.buffer.Caret();
  const size_t li = LineOfPos(lines, caret);
  const int visible = VisibleLines(hwnd, dc.font.lineHeight);
  if (scrollToCaret && li < e.firstLine) e.firstLine = li;
  if (scrollToCaret && li >= e.firstLine + size_t(visible)) e.firstLine = li - size_t(visible) + 1;
  RECT c;
  GetClientRect(hwnd, &c);
  int x = XOf(e, dc, lines[li], caret);
  if (!Multi(hwnd) || (Style(hwnd) & ES_AUTOHSCROLL)) {
    const int width = std::max(1, int(c.right) - 2 * kMargin);
    if (scrollToCaret && x - e.xOffset > width) e.xOffset = x - width;
    if (scrollToCaret && x - e.xOffset < 0) e.xOffset = std::max(0, x - width / 3);
  } else {
    e.xOffset = 0;
  }
  if (e.horizontal) {
    e.widest = 0;
    for (const VisualLine& line : lines) e.widest = std::max(e.widest, XOf(e, dc, line, line.end));
  }
  if (e.focused) {
    SetCaretPos(kMargin + x - e.xOffset, kMargin + (int(li) - int(e.firstLine)) * dc.font.lineHeight);
  }
  return {lines.size(), visible};
}

void ShowCaretPos(HWND hwnd, EditWindow& e, bool scrollToCaret = true) {
  const Extent extent = PlaceCaret(hwnd, e, scrollToCaret);
  UpdateScrollBar(hwnd, e, extent.lines, extent.visible);
}

Extent Measure(HWND hwnd, EditWindow& e) {
  const MeasuringDC dc(hwnd, e);
  return {Layout(hwnd, e, dc).size(), VisibleLines(hwnd, dc.font.lineHeight)};
}

void ScrollToLine(HWND hwnd, EditWindow& e, long line, bool keepPageFull) {
  const Extent extent = Measure(hwnd, e);
  const long count = long(extent.lines);
  const int visible = extent.visible;
  e.firstLine = size_t(std::clamp(line, 0L, std::max(0L, keepPageFull ? count - visible : count - 1)));
  UpdateScrollBar(hwnd, e, size_t(count), visible);
  InvalidateRect(hwnd, nullptr, TRUE);
  ShowCaretPos(hwnd, e, false);
}

int PageLines(HWND hwnd, EditWindow& e) { return VisibleLines(hwnd, LineHeight(hwnd, e)); }

void OnHScroll(HWND hwnd, EditWindow& e, WORD code) {
  RECT c;
  GetClientRect(hwnd, &c);
  const int width = std::max(1, int(c.right) - 2 * kMargin);
  int x = e.xOffset;
  switch (code) {
    case SB_LINELEFT:
      x -= 8;
      break;
    case SB_LINERIGHT:
      x += 8;
      break;
    case SB_PAGELEFT:
      x -= width;
      break;
    case SB_PAGERIGHT:
      x += width;
      break;
    case SB_LEFT:
      x = 0;
      break;
    case SB_RIGHT:
      x = e.widest;
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(hwnd, SB_HORZ, &si);
      x = si.nTrackPos;
      break;
    }
    default:
      return;
  }
  e.xOffset = std::clamp(x, 0, std::max(0, e.widest - width));
  InvalidateRect(hwnd, nullptr, TRUE);
  ShowCaretPos(hwnd, e, false);
}

void OnVScroll(HWND hwnd, EditWindow& e, WORD code) {
  const long first = long(e.firstLine);
  switch (code) {
    case SB_LINEUP:
      ScrollToLine(hwnd, e, first - 1, true);
      break;
    case SB_LINEDOWN:
      ScrollToLine(hwnd, e, first + 1, true);
      break;
    case SB_PAGEUP:
      ScrollToLine(hwnd, e, first - PageLines(hwnd, e), true);
      break;
    case SB_PAGEDOWN:
      ScrollToLine(hwnd, e, first + PageLines(hwnd, e), true);
      break;
    case SB_TOP:
      ScrollToLine(hwnd, e, 0, true);
      break;
    case SB_BOTTOM:
      ScrollToLine(hwnd, e, 1L << 30, true);
      break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: {
      SCROLLINFO si{sizeof(SCROLLINFO), SIF_TRACKPOS, 0, 0, 0, 0, 0};
      GetScrollInfo(hwnd, SB_VERT, &si);
      ScrollToLine(hwnd, e, si.nTrackPos, true);
      break;
    }
    default:
      return;
  }
}

void Refresh(HWND hwnd, EditWindow& e) {
  ShowCaretPos(hwnd, e);
  InvalidateRect(hwnd, nullptr, TRUE);
}

// A change of the text is shown, then reported.
void AfterChange(HWND hwnd, EditWindow& e) {
  e.modified = true;
  Refresh(hwnd, e);
  NotifyParent(hwnd, EN_CHANGE);
}

bool ReadOnly(HWND hwnd) { return Style(hwnd) & ES_READONLY; }

// ---- clipboard

void Copy(HWND hwnd, EditWindow& e) {
  if (e.passwordChar || !e.buffer.HasSelection()) return;
  const std::u16string s = e.buffer.SelectedText();
  if (!OpenClipboard(hwnd)) return;
  const platform::ScopeExit close([] { CloseClipboard(); });
  EmptyClipboard();
  OwnedGlobal block(GlobalAlloc(GMEM_MOVEABLE, (s.size() + 1) * sizeof(char16_t)));
  if (!block) return;
  {
    const LockedGlobal locked(block.Get());
    auto* p = locked.As<char16_t>();
    std::copy(s.begin(), s.end(), p);
    p[s.size()] = 0;
  }
  if (SetClipboardData(CF_UNICODETEXT, block.Get())) block.Release();  // the clipboard's now
}

// A clipboard block's text, up to its terminator or the block's end.
template <typename Char>
std::basic_string<Char> BlockText(HANDLE h) {
  const LockedGlobal block(h);
  const Char* p = block.As<const Char>();
  if (!p) return {};
  return std::basic_string<Char>(p, std::find(p, p + block.Size() / sizeof(Char), Char(0)));
}

std::u16string ClipboardText(HWND hwnd) {
  if (!OpenClipboard(hwnd)) return {};
  const platform::ScopeExit close([] { CloseClipboard(); });
  if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) return BlockText<char16_t>(h);
  if (HANDLE a = GetClipboardData(CF_TEXT)) return MultiByteToUtf16(BlockText<char>(a), CP_ACP);
  return {};
}

// Replaces the selection as the person using the window does: refused when read-only, limited,
// reported.
bool UserReplace(HWND hwnd, EditWindow& e, const std::u16string& s, bool typing) {
  if (ReadOnly(hwnd)) return false;
  bool cut = false;
  const bool changed = e.buffer.ReplaceSelection(s, typing, &cut);
  if (changed) AfterChange(hwnd, e);
  if (cut) NotifyParent(hwnd, EN_MAXTEXT);
  return changed;
}

void Paste(HWND hwnd, EditWindow& e) {
  std::u16string s = ClipboardText(hwnd);
  if (!Multi(hwnd)) {
    const size_t br = s.find_first_of(u"\r\n");
    if (br != std::u16string::npos) s.resize(br);
  }
  if (!s.empty()) UserReplace(hwnd, e, s, false);
}

void Cut(HWND hwnd, EditWindow& e) {
  if (e.passwordChar || ReadOnly(hwnd) || !e.buffer.HasSelection()) return;
  Copy(hwnd, e);
  UserReplace(hwnd, e, u"", false);
}

void Clear(HWND hwnd, EditWindow& e) {
  if (!e.buffer.HasSelection()) return;
  UserReplace(hwnd, e, u"", false);
}

void Undo(HWND hwnd, EditWindow& e) {
  if (ReadOnly(hwnd) || !e.buffer.Undo()) return;
  AfterChange(hwnd, e);
}

// ---- typing and keys

void TypeUnit(HWND hwnd, EditWindow& e, char16_t c) {
  if (c >= 0xD800 && c <= 0xDBFF) {
    e.pendingHigh = c;
    return;
  }
  if (c >= 0xDC00 && c <= 0xDFFF) {
    if (!e.pendingHigh) return;  // a lone low surrogate is dropped
    const char16_t pair[2] = {e.pendingHigh, c};
    e.pendingHigh = 0;
    UserReplace(hwnd, e, std::u16string(pair, 2), true);
    return;
  }
  e.pendingHigh = 0;
  switch (c) {
    case 8:
      if (!ReadOnly(hwnd) && e.buffer.Backspace()) AfterChange(hwnd, e);
      return;
    case 3:
      Copy(hwnd, e);
      return;
    case 22:
      Paste(hwnd, e);
      return;
    case 24:
      Cut(hwnd, e);
      return;
    case 26:
      Undo(hwnd, e);
      return;
    case 13:
      if (Multi(hwnd)) UserReplace(hwnd, e, u"\r\n", true);
      return;
    case 9:
      if (Multi(hwnd)) UserReplace(hwnd, e, u"\t", true);
      return;
    default:
      break;
  }
  if (c < 32 || c == 127) return;
  if (ReadOnly(hwnd)) return;
  bool cut = false;
  if (e.buffer.ReplaceSelection(std::u16string(1, c), true, &cut) && !cut) {
    AfterChange(hwnd, e);
    return;
  }
  if (cut) NotifyParent(hwnd, EN_MAXTEXT);
}

void OnChar(HWND hwnd, EditWindow& e, WPARAM w) {
  if (!IsAnsi(hwnd)) {
    TypeUnit(hwnd, e, char16_t(w));
    return;
  }
  const uint8_t byte = uint8_t(w);
  if (GetACP() != CP_UTF8) {
    const char c = char(byte);
    for (char16_t u : MultiByteToUtf16(std::string_view(&c, 1), CP_ACP)) TypeUnit(hwnd, e, u);
    return;
  }
  for (char16_t u : e.pendingBytes.Add(char(byte))) TypeUnit(hwnd, e, u);
}

void MoveCaret(HWND hwnd, EditWindow& e, size_t to, bool extend) {
  e.buffer.Select(extend ? e.buffer.Anchor() : to, to);
  Refresh(hwnd, e);
}

// Where Home, End, the arrows up and down and the page keys take the caret, by visual lines.
size_t LineKeyTarget(HWND hwnd, EditWindow& e, int vk, bool ctrl) {
  const MeasuringDC dc(hwnd, e);
  const auto lines = Layout(hwnd, e, dc);
  const size_t caret = e.buffer.Caret();
  const size_t li = LineOfPos(lines, caret);
  if (vk == VK_HOME) return ctrl ? 0 : lines[li].start;
  if (vk == VK_END) return ctrl ? e.buffer.Text().size() : lines[li].end;
  const long step = (vk == VK_UP || vk == VK_DOWN) ? 1 : VisibleLines(hwnd, dc.font.lineHeight);
  const long dir = (vk == VK_UP || vk == VK_PRIOR) ? -1 : 1;
  const long target = std::clamp(long(li) + dir * step, 0L, long(lines.size()) - 1);
  return PosAtX(e, dc, lines[size_t(target)], XOf(e, dc, lines[li], caret));
}

void OnKeyDown(HWND hwnd, EditWindow& e, int vk) {
  const bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
  EditBuffer& b = e.buffer;
  const size_t caret = b.Caret();
  switch (vk) {
    case VK_LEFT:
      if (!shift && b.HasSelection()) return MoveCaret(hwnd, e, b.SelStart(), false);
      return MoveCaret(hwnd, e, ctrl ? b.PrevWord(caret) : b.PrevStop(caret), shift);
    case VK_RIGHT:
      if (!shift && b.HasSelection()) return MoveCaret(hwnd, e, b.SelEnd(), false);
      return MoveCaret(hwnd, e, ctrl ? b.NextWord(caret) : b.NextStop(caret), shift);
    case VK_HOME:
    case VK_END:
    case VK_UP:
    case VK_DOWN:
    case VK_PRIOR:
    case VK_NEXT:
      return MoveCaret(hwnd, e, LineKeyTarget(hwnd, e, vk, ctrl), shift);
    case VK_DELETE:
      if (shift) return Cut(hwnd, e);
      if (!ReadOnly(hwnd) && b.DeleteForward()) AfterChange(hwnd, e);
      return;
    case VK_INSERT:
      if (ctrl) return Copy(hwnd, e);
      if (shift) return Paste(hwnd, e);
      return;
    default:
      return;
  }
}

// ---- painting

void Paint(HWND hwnd, EditWindow& e) {
  const PaintDC dc(hwnd);
  const bool grey = ReadOnly(hwnd) || !IsWindowEnabled(hwnd);
  HBRUSH brush = ParentColors(hwnd, dc, grey ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, brush);
  const EditFont font(dc, e);
  if (!IsWindowEnabled(hwnd)) SetTextColor(dc, GetSysColor(COLOR_GRAYTEXT));
  SetBkMode(dc, TRANSPARENT);
  const auto lines = Layout(hwnd, e, dc);
  const bool showSelection = e.focused || (Style(hwnd) & ES_NOHIDESEL);
  const size_t s0 = e.buffer.SelStart(), s1 = e.buffer.SelEnd();
  IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
  const DWORD align = Style(hwnd) & (ES_CENTER | ES_RIGHT);
  for (size_t i = e.firstLine; i < lines.size(); ++i) {
    const int y = kMargin + int(i - e.firstLine) * font.lineHeight;
    if (y >= client.bottom) break;
    const VisualLine& line = lines[i];
    const std::u16string shown = Shown(e, line.start, line.end);
    int x0 = kMargin - e.xOffset;
    const int lineWidth = Width(dc, shown);
    if (align == ES_RIGHT) x0 = std::max(kMargin, int(client.right) - kMargin - lineWidth);
    if (align == ES_CENTER) x0 = std::max(kMargin, (int(client.right) - lineWidth) / 2);
    TextOutW(dc, x0, y, shown.c_str(), int(shown.size()));
    if (showSelection && s0 < s1 && s0 <= line.end && s1 >= line.start) {
      const size_t a = std::max(s0, line.start), z = std::min(s1, line.end);
      const int xa = x0 + XOf(e, dc, line, a), xz = x0 + XOf(e, dc, line, z);
      RECT r{xa, y, xz + (s1 > line.end && i + 1 < lines.size() ? 4 : 0), y + font.lineHeight};
      FillSolid(dc, r, GetSysColor(COLOR_HIGHLIGHT));
      const COLORREF oldText = SetTextColor(dc, GetSysColor(COLOR_HIGHLIGHTTEXT));
      const std::u16string part = Shown(e, a, z);
      TextOutW(dc, xa, y, part.c_str(), int(part.size()));
      SetTextColor(dc, oldText);
    }
  }
}

// ---- mouse

size_t PosFromPoint(HWND hwnd, EditWindow& e, int x, int y) {
  const MeasuringDC dc(hwnd, e);
  const auto lines = Layout(hwnd, e, dc);
  long li = long(e.firstLine) + (y - kMargin) / dc.font.lineHeight;
  if (y < kMargin) li = long(e.firstLine) - 1;
  li = std::clamp(li, 0L, long(lines.size()) - 1);
  return PosAtX(e, dc, lines[size_t(li)], x - kMargin + e.xOffset);
}

void SelectWordAt(HWND hwnd, EditWindow& e, size_t pos) {
  const EditBuffer& b = e.buffer;
  size_t start = b.PrevWord(std::min(b.Text().size(), pos + 1));
  size_t end = b.NextWord(start);
  const auto& t = b.Text();
  while (end > start && (t[end - 1] == u' ' || t[end - 1] == u'\r' || t[end - 1] == u'\n')) --end;
  e.buffer.Select(start, end);
  Refresh(hwnd, e);
}

// ---- the procedure's handlers

void OnNcCreate(HWND hwnd, LPARAM l) {
  EditWindow& e = States().Create(hwnd);
  const DWORD style = Style(hwnd);
  if (style & ES_PASSWORD) e.passwordChar = u'*';
  e.vertical = (style & ES_MULTILINE) && (style & WS_VSCROLL);
  e.horizontal = (style & ES_MULTILINE) && (style & WS_HSCROLL);
  e.buffer.SetText(CreationCaption(hwnd, l));
}

LRESULT OnSetText(HWND hwnd, EditWindow& e, LPARAM l) {
  e.buffer.SetText(TextParam(hwnd, l));
  e.modified = false;
  e.firstLine = 0;
  e.xOffset = 0;
  Refresh(hwnd, e);
  NotifyParent(hwnd, EN_CHANGE);
  return TRUE;
}

void OnSetFocus(HWND hwnd, EditWindow& e) {
  e.focused = true;
  CreateCaret(hwnd, nullptr, 1, LineHeight(hwnd, e));
  ShowCaretPos(hwnd, e);
  ShowCaret(hwnd);
  InvalidateRect(hwnd, nullptr, FALSE);
  NotifyParent(hwnd, EN_SETFOCUS);
}

void OnKillFocus(HWND hwnd, EditWindow& e) {
  e.focused = false;
  DestroyCaret();
  InvalidateRect(hwnd, nullptr, FALSE);
  NotifyParent(hwnd, EN_KILLFOCUS);
}

LRESULT OnUndo(HWND hwnd, EditWindow& e) {
  const bool could = e.buffer.CanUndo();
  Undo(hwnd, e);
  return could;
}

LRESULT OnGetSel(HWND hwnd, const EditWindow& e, WPARAM w, LPARAM l) {
  const LRESULT s = PosOut(hwnd, e, e.buffer.SelStart()), t = PosOut(hwnd, e, e.buffer.SelEnd());
  if (w) *reinterpret_cast<DWORD*>(w) = DWORD(s);
  if (l) *reinterpret_cast<DWORD*>(l) = DWORD(t);
  return MAKELONG(WORD(std::min<LRESULT>(s, 0xFFFF)), WORD(std::min<LRESULT>(t, 0xFFFF)));
}

void OnSetSel(HWND hwnd, EditWindow& e, WPARAM w, LPARAM l) {
  EditBuffer& b = e.buffer;
  const long start = long(int(w)), end = long(int(l));
  if (start < 0) {  // no selection, the caret stays
    b.Select(b.Caret(), b.Caret());
  } else {
    const size_t size = b.Text().size();
    size_t s = std::min(PosIn(hwnd, e, LPARAM(start)), size);
    size_t t = end < 0 ? size : std::min(PosIn(hwnd, e, LPARAM(end)), size);
    if (s > t) std::swap(s, t);
    b.Select(s, t);
  }
  Refresh(hwnd, e);
}

void OnReplaceSel(HWND hwnd, EditWindow& e, WPARAM w, LPARAM l) {
  bool cut = false;
  const bool changed = e.buffer.ReplaceSelection(TextParam(hwnd, l), false, &cut);
  if (!w) e.buffer.EmptyUndo();
  if (changed) AfterChange(hwnd, e);
  if (cut) NotifyParent(hwnd, EN_MAXTEXT);
}

LRESULT OnLineIndex(HWND hwnd, const EditWindow& e, WPARAM w) {
  const EditBuffer& b = e.buffer;
  const long n = long(int(w));
  const size_t line = n < 0 ? b.LineFromChar(b.Caret()) : size_t(n);
  if (line >= b.LineCount()) return -1;
  return PosOut(hwnd, e, b.LineStarts()[line]);
}

LRESULT OnLineLength(HWND hwnd, const EditWindow& e, WPARAM w) {
  const EditBuffer& b = e.buffer;
  const long pos = long(int(w));
  const size_t line = pos < 0 ? b.LineFromChar(b.Caret()) : b.LineFromChar(PosIn(hwnd, e, pos));
  const size_t start = b.LineStarts()[line], len = b.LineLength(line);
  return IsAnsi(hwnd) ? LRESULT(BytesOf(b.Text(), start + len) - BytesOf(b.Text(), start)) : LRESULT(len);
}

LRESULT OnLineFromChar(HWND hwnd, const EditWindow& e, WPARAM w) {
  const long pos = long(int(w));
  return LRESULT(e.buffer.LineFromChar(pos < 0 ? e.buffer.Caret() : PosIn(hwnd, e, pos)));
}

// Copies a line out: at most the capacity the buffer's first WORD gives, never half a character,
// no terminator.
LRESULT OnGetLine(HWND hwnd, const EditWindow& e, WPARAM w, LPARAM l) {
  const EditBuffer& b = e.buffer;
  if (!l) return 0;
  const size_t line = size_t(w);
  if (line >= b.LineCount()) return 0;
  const std::u16string text = b.Text().substr(b.LineStarts()[line], b.LineLength(line));
  if (IsAnsi(hwnd)) {
    const size_t capacity = *reinterpret_cast<const WORD*>(l);
    std::string bytes = Utf16ToMultiByte(text, CP_ACP);
    size_t n = std::min(bytes.size(), capacity);
    if (GetACP() == CP_UTF8)
      while (n > 0 && n < bytes.size() && (uint8_t(bytes[n]) & 0xC0) == 0x80) --n;
    std::copy(bytes.begin(), bytes.begin() + long(n), reinterpret_cast<char*>(l));
    return LRESULT(n);
  }
  const size_t capacity = *reinterpret_cast<const char16_t*>(l);
  size_t n = std::min(text.size(), capacity);
  if (n > 0 && n < text.size() && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;
  std::copy(text.begin(), text.begin() + long(n), reinterpret_cast<char16_t*>(l));
  return LRESULT(n);
}

void OnLimitText(HWND hwnd, EditWindow& e, WPARAM w) {
  e.buffer.SetLimit(size_t(w));
  e.buffer.SetLimitInBytes(IsAnsi(hwnd));  // counted as the window's other positions are
}

void OnSetPasswordChar(HWND hwnd, EditWindow& e, WPARAM w) {
  char16_t c = char16_t(w);
  if (IsAnsi(hwnd) && w) {
    const char byte = char(w);
    const std::u16string u = MultiByteToUtf16(std::string_view(&byte, 1), CP_ACP);
    c = u.empty() ? u'*' : u[0];
  }
  e.passwordChar = c;
  Refresh(hwnd, e);
}

LRESULT OnGetPasswordChar(HWND hwnd, const EditWindow& e) {
  if (IsAnsi(hwnd) && e.passwordChar) {
    const std::string bytes = Utf16ToMultiByte(std::u16string(1, e.passwordChar), CP_ACP);
    return bytes.size() == 1 ? LRESULT(uint8_t(bytes[0])) : LRESULT('*');
  }
  return e.passwordChar;
}

void OnSetReadOnly(HWND hwnd, WPARAM w) {
  const DWORD style = Style(hwnd);
  SetWindowLongW(hwnd, GWL_STYLE, LONG(w ? (style | ES_READONLY) : (style & ~ES_READONLY)));
  InvalidateRect(hwnd, nullptr, TRUE);
}

void OnGetRect(HWND hwnd, LPARAM l) {
  if (!l) return;
  RECT* r = reinterpret_cast<RECT*>(l);
  GetClientRect(hwnd, r);
  InflateRect(r, -kMargin, -kMargin);
}

LRESULT OnPosFromChar(HWND hwnd, EditWindow& e, WPARAM w) {
  const MeasuringDC dc(hwnd, e);
  const auto lines = Layout(hwnd, e, dc);
  const size_t pos = std::min(PosIn(hwnd, e, LPARAM(w)), e.buffer.Text().size());
  const size_t li = LineOfPos(lines, pos);
  const int x = kMargin + XOf(e, dc, lines[li], pos) - e.xOffset;
  const int y = kMargin + (int(li) - int(e.firstLine)) * dc.font.lineHeight;
  return MAKELONG(WORD(x), WORD(y));
}

LRESULT OnCharFromPos(HWND hwnd, EditWindow& e, LPARAM l) {
  const size_t pos = PosFromPoint(hwnd, e, GET_X_LPARAM(l), GET_Y_LPARAM(l));
  return MAKELONG(WORD(PosOut(hwnd, e, pos)), WORD(e.buffer.LineFromChar(pos)));
}

void OnButtonDown(HWND hwnd, EditWindow& e, WPARAM w, LPARAM l) {
  if (GetFocus() != hwnd) SetFocus(hwnd);
  const size_t pos = PosFromPoint(hwnd, e, GET_X_LPARAM(l), GET_Y_LPARAM(l));
  MoveCaret(hwnd, e, pos, (w & MK_SHIFT) != 0);
  e.selecting = true;
  SetCapture(hwnd);
}

void OnButtonUp(HWND hwnd, EditWindow& e) {
  if (!e.selecting) return;
  e.selecting = false;
  if (GetCapture() == hwnd) ReleaseCapture();
}

// ---- the procedure

LRESULT EditProc(HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  auto def = [&] { return IsAnsi(hwnd) ? DefWindowProcA(hwnd, msg, w, l) : DefWindowProcW(hwnd, msg, w, l); };
  if (msg == WM_NCCREATE) {
    OnNcCreate(hwnd, l);
    return def();
  }
  EditWindow* ep = States().Get(hwnd);
  if (!ep) return def();
  EditWindow& e = *ep;
  EditBuffer& b = e.buffer;
  switch (msg) {
    case WM_NCDESTROY:
      States().Drop(hwnd);
      return def();
    case WM_SETTEXT:
      return OnSetText(hwnd, e, l);
    case WM_GETTEXT:
      return CopyTextOut(hwnd, b.Text(), w, l);
    case WM_GETTEXTLENGTH:
      return TextLengthFor(hwnd, b.Text());
    case WM_SETFONT:
      e.font = reinterpret_cast<HFONT>(w);
      if (LOWORD(uint64_t(l))) Refresh(hwnd, e);
      return 0;
    case WM_GETFONT:
      return LRESULT(e.font);
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS | (Multi(hwnd) ? DLGC_WANTALLKEYS : 0);
    case WM_SETFOCUS:
      OnSetFocus(hwnd, e);
      return 0;
    case WM_KILLFOCUS:
      OnKillFocus(hwnd, e);
      return 0;
    case WM_SIZE:
      Refresh(hwnd, e);
      return 0;
    case WM_PAINT:
      Paint(hwnd, e);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // painting fills the whole client area
    case WM_CHAR:
      OnChar(hwnd, e, w);
      return 0;
    case WM_KEYDOWN:
      OnKeyDown(hwnd, e, int(w));
      return 0;
    case WM_COPY:
      Copy(hwnd, e);
      return 0;
    case WM_CUT:
      Cut(hwnd, e);
      return 0;
    case WM_PASTE:
      Paste(hwnd, e);
      return 0;
    case WM_CLEAR:
      Clear(hwnd, e);
      return 0;
    case WM_UNDO:
    case EM_UNDO:
      return OnUndo(hwnd, e);
    case EM_CANUNDO:
      return b.CanUndo();
    case EM_EMPTYUNDOBUFFER:
      b.EmptyUndo();
      return 0;
    case EM_GETSEL:
      return OnGetSel(hwnd, e, w, l);
    case EM_SETSEL:
      OnSetSel(hwnd, e, w, l);
      return 0;
    case EM_REPLACESEL:
      OnReplaceSel(hwnd, e, w, l);
      return 0;
    case EM_SCROLLCARET:
      ShowCaretPos(hwnd, e);
      InvalidateRect(hwnd, nullptr, FALSE);
      return TRUE;
    case EM_GETMODIFY:
      return e.modified;
    case EM_SETMODIFY:
      e.modified = w != 0;
      return 0;
    case EM_GETLINECOUNT:
      return LRESULT(b.LineCount());
    case EM_LINEINDEX:
      return OnLineIndex(hwnd, e, w);
    case EM_LINELENGTH:
      return OnLineLength(hwnd, e, w);
    case EM_LINEFROMCHAR:
      return OnLineFromChar(hwnd, e, w);
    case EM_GETLINE:
      return OnGetLine(hwnd, e, w, l);
    case EM_LIMITTEXT:
      OnLimitText(hwnd, e, w);
      return 0;
    case EM_GETLIMITTEXT:
      return LRESULT(b.Limit());
    case EM_SETPASSWORDCHAR:
      OnSetPasswordChar(hwnd, e, w);
      return 0;
    case EM_GETPASSWORDCHAR:
      return OnGetPasswordChar(hwnd, e);
    case EM_SETREADONLY:
      OnSetReadOnly(hwnd, w);
      return TRUE;
    case EM_GETFIRSTVISIBLELINE:
      return LRESULT(e.firstLine);
    case EM_GETRECT:
      OnGetRect(hwnd, l);
      return 0;
    case EM_POSFROMCHAR:
      return OnPosFromChar(hwnd, e, w);
    case EM_CHARFROMPOS:
      return OnCharFromPos(hwnd, e, l);
    case EM_LINESCROLL:
      ScrollToLine(hwnd, e, long(e.firstLine) + long(int(l)));
      return TRUE;
    case WM_VSCROLL:
      if (Multi(hwnd)) OnVScroll(hwnd, e, LOWORD(w));
      return 0;
    case WM_HSCROLL:
      if (e.horizontal && (Style(hwnd) & ES_AUTOHSCROLL)) OnHScroll(hwnd, e, LOWORD(w));
      return 0;
    case WM_MOUSEWHEEL:
      if (Multi(hwnd)) ScrollToLine(hwnd, e, long(e.firstLine) - 3 * (int(int16_t(HIWORD(w))) / 120));
      return 0;
    case WM_LBUTTONDOWN:
      OnButtonDown(hwnd, e, w, l);
      return 0;
    case WM_MOUSEMOVE:
      if (e.selecting && GetCapture() == hwnd)
        MoveCaret(hwnd, e, PosFromPoint(hwnd, e, GET_X_LPARAM(l), GET_Y_LPARAM(l)), true);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(hwnd, e);
      return 0;
    case WM_LBUTTONDBLCLK:
      SelectWordAt(hwnd, e, PosFromPoint(hwnd, e, GET_X_LPARAM(l), GET_Y_LPARAM(l)));
      return 0;
    case WM_CAPTURECHANGED:
      e.selecting = false;
      return 0;
    default:
      return def();
  }
}

}  // namespace

WndProcFunction EditWindowProc() { return &EditProc; }

}  // namespace platform::controls
