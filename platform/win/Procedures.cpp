// Procedure values, stand-ins for a procedure of the other character set, calling a procedure
// with translation between 8-bit and UTF-16 messages, CallWindowProc and DefWindowProc.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/rtl/Utf8.h"
#include "platform/win/ControlMessages.h"
#include "platform/win/SystemClassRegistry.h"
#include "platform/win/WindowSystem.h"

namespace platform::win {

namespace {

constexpr uintptr_t kProcBase = 0x7F000000;

ProcEntry* Entry(uintptr_t value) {
  State& s = S();
  if (value < kProcBase || value - kProcBase >= s.procs.size()) return nullptr;
  return &s.procs[value - kProcBase];
}

uintptr_t AddEntry(ProcEntry e) {
  State& s = S();
  s.procs.push_back(std::move(e));
  return kProcBase + s.procs.size() - 1;
}

LRESULT Invoke(uintptr_t value, HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  ProcEntry* e = Entry(value);
  if (!e || e->freed) return 0;
  if (e->kind == ProcEntry::Kind::Function) return e->function(hwnd, msg, w, l);
  if (e->kind == ProcEntry::Kind::Method) {
    auto method = e->method;  // the table may grow during the call
    return method(hwnd, msg, w, l);
  }
  return 0;
}

// The set of the message the running procedure was given, innermost call last.
thread_local std::vector<bool> callSets;
struct CallSetScope {
  explicit CallSetScope(bool unicode) { callSets.push_back(unicode); }
  ~CallSetScope() { callSets.pop_back(); }
  CallSetScope(const CallSetScope&) = delete;
  CallSetScope& operator=(const CallSetScope&) = delete;
};

// Per-thread state of characters split across messages.
thread_local platform::Utf8Collector partialUtf8;  // an incomplete UTF-8 sequence
thread_local char16_t pendingHigh = 0;             // a high surrogate waiting for its low one

// Decodes one complete character once `partialUtf8` holds one; returns units or empty.
std::u16string TakeUtf8Char(uint8_t byte) {
  if (!SystemPageIsUtf8()) {
    const char c = char(byte);
    return ToWide(&c, 1);
  }
  return partialUtf8.Add(char(byte));
}

// Bytes for one UTF-16 unit sent to an 8-bit procedure (empty while a high surrogate waits).
std::string UnitToBytes(char16_t unit) {
  if (unit >= 0xD800 && unit <= 0xDBFF) {
    pendingHigh = unit;
    return {};
  }
  char16_t pair[2];
  size_t n = 0;
  if (unit >= 0xDC00 && unit <= 0xDFFF) {
    if (!pendingHigh) return SystemPageIsUtf8() ? "\xEF\xBF\xBD" : "?";
    pair[n++] = pendingHigh;
  } else if (pendingHigh) {
    pendingHigh = 0;
    std::string lone = SystemPageIsUtf8() ? "\xEF\xBF\xBD" : "?";
    return lone + ToAnsi(&unit, 1);
  }
  pendingHigh = 0;
  pair[n++] = unit;
  return ToAnsi(pair, n);
}

// Cuts UTF-16 to at most `max` units without splitting a pair.
size_t CutUnits(const std::u16string& s, size_t max) {
  if (s.size() <= max) return s.size();
  size_t n = max;
  if (n > 0 && s[n - 1] >= 0xD800 && s[n - 1] <= 0xDBFF) --n;
  return n;
}

// Cuts UTF-8 to at most `max` bytes without splitting a character.
size_t CutBytes(const std::string& s, size_t max) {
  if (s.size() <= max) return s.size();
  size_t n = max;
  while (SystemPageIsUtf8() && n > 0 && (uint8_t(s[n]) & 0xC0) == 0x80) --n;
  return n;
}

LRESULT CallAnsiFromWide(uintptr_t target, HWND hwnd, UINT msg, WPARAM w, LPARAM l);
LRESULT CallWideFromAnsi(uintptr_t target, HWND hwnd, UINT msg, WPARAM w, LPARAM l);

// The target's text in its own form, read through its procedure.
std::u16string TextOfWide(uintptr_t target, HWND hwnd) {
  const LRESULT n = Invoke(target, hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::u16string t(size_t(std::max<LRESULT>(n, 0)) + 1, u'\0');
  const LRESULT got = Invoke(target, hwnd, WM_GETTEXT, WPARAM(t.size()), LPARAM(t.data()));
  t.resize(size_t(std::max<LRESULT>(got, 0)));
  return t;
}
std::string TextOfAnsi(uintptr_t target, HWND hwnd) {
  const LRESULT n = Invoke(target, hwnd, WM_GETTEXTLENGTH, 0, 0);
  std::string t(size_t(std::max<LRESULT>(n, 0)) + 1, '\0');
  const LRESULT got = Invoke(target, hwnd, WM_GETTEXT, WPARAM(t.size()), LPARAM(t.data()));
  t.resize(size_t(std::max<LRESULT>(got, 0)));
  return t;
}
// Unit position -> byte position in the same text, and back (-1 stays -1; beyond the end clamps).
LONG_PTR UnitsToBytes(const std::u16string& text, LONG_PTR units) {
  if (units < 0) return units;
  return LONG_PTR(ToAnsi(text.data(), std::min<size_t>(size_t(units), text.size())).size());
}
LONG_PTR BytesToUnits(const std::string& text, LONG_PTR bytes) {
  if (bytes < 0) return bytes;
  return LONG_PTR(ToWide(text.data(), std::min<size_t>(size_t(bytes), text.size())).size());
}

bool IsIntAtom(const void* p) { return (reinterpret_cast<uintptr_t>(p) >> 16) == 0; }

bool IsItemStringIn(UINT msg) {
  switch (msg) {
    case LB_ADDSTRING:
    case LB_INSERTSTRING:
    case LB_SELECTSTRING:
    case LB_FINDSTRING:
    case LB_FINDSTRINGEXACT:
    case CB_ADDSTRING:
    case CB_INSERTSTRING:
    case CB_FINDSTRING:
    case CB_SELECTSTRING:
    case CB_FINDSTRINGEXACT:
      return true;
    default:
      return false;
  }
}
bool IsItemTextOut(UINT msg) { return msg == LB_GETTEXT || msg == CB_GETLBTEXT; }
bool IsItemTextLength(UINT msg) { return msg == LB_GETTEXTLEN || msg == CB_GETLBTEXTLEN; }

// Whether the items of the list or combo box are strings: an owner-drawn box without
// LBS_/CBS_HASSTRINGS (or a no-data list) keeps only the values it is given, which pass
// untouched.
bool ItemsAreStrings(HWND hwnd, UINT msg) {
  const Window* w = Find(hwnd);
  if (!w) return false;
  if (msg >= LB_ADDSTRING) {
    if (w->style & LBS_NODATA) return false;
    return !(w->style & (LBS_OWNERDRAWFIXED | LBS_OWNERDRAWVARIABLE)) || (w->style & LBS_HASSTRINGS);
  }
  return !(w->style & (CBS_OWNERDRAWFIXED | CBS_OWNERDRAWVARIABLE)) || (w->style & CBS_HASSTRINGS);
}

// An item's text read through the target in its own form (the message pair of list or combo
// box); empty with the error answer when the index is bad.
template <typename Char>
std::basic_string<Char> ItemTextOf(uintptr_t target, HWND hwnd, UINT msg, WPARAM index, LRESULT& error) {
  const UINT lengthMsg = msg == LB_GETTEXT || msg == LB_GETTEXTLEN ? LB_GETTEXTLEN : CB_GETLBTEXTLEN;
  const UINT textMsg = lengthMsg == LB_GETTEXTLEN ? LB_GETTEXT : CB_GETLBTEXT;
  error = 0;
  const LRESULT n = Invoke(target, hwnd, lengthMsg, index, 0);
  if (n < 0) {
    error = n;
    return {};
  }
  std::basic_string<Char> text(size_t(n) + 1, Char(0));
  const LRESULT got = Invoke(target, hwnd, textMsg, index, LPARAM(text.data()));
  if (got < 0) {
    error = got;
    return {};
  }
  text.resize(std::min(size_t(got), size_t(n)));
  return text;
}

// The caller speaks UTF-16, the procedure 8-bit.
LRESULT CallAnsiFromWide(uintptr_t target, HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_SETTEXT:
    case EM_REPLACESEL: {
      if (!l) return Invoke(target, hwnd, msg, w, l);
      const std::string text = ToAnsi(reinterpret_cast<const char16_t*>(l));
      return Invoke(target, hwnd, msg, w, LPARAM(text.c_str()));
    }
    case WM_GETTEXT: {
      auto* out = reinterpret_cast<char16_t*>(l);
      if (w == 0 || !out) return Invoke(target, hwnd, msg, 0, LPARAM(nullptr)) * 0;
      std::string buffer(size_t(w) * 3 + 1, '\0');
      const LRESULT got = Invoke(target, hwnd, msg, WPARAM(buffer.size()), LPARAM(buffer.data()));
      buffer.resize(size_t(got > 0 ? got : 0));
      const std::u16string wide = ToWide(buffer.data(), buffer.size());
      const size_t n = CutUnits(wide, size_t(w) - 1);
      std::memcpy(out, wide.data(), n * sizeof(char16_t));
      out[n] = 0;
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH: {
      const LRESULT bytes = Invoke(target, hwnd, WM_GETTEXTLENGTH, 0, 0);
      if (bytes <= 0) return 0;
      std::string buffer(size_t(bytes) + 1, '\0');
      const LRESULT got = Invoke(target, hwnd, WM_GETTEXT, WPARAM(buffer.size()), LPARAM(buffer.data()));
      return LRESULT(ToWide(buffer.data(), size_t(got > 0 ? got : 0)).size());
    }
    case WM_NCCREATE:
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(l);
      if (!cs) return Invoke(target, hwnd, msg, w, l);
      CREATESTRUCTA a;
      std::memcpy(&a, cs, sizeof a);
      std::string name, cls;
      if (cs->lpszName && !IsIntAtom(cs->lpszName)) {
        name = ToAnsi(cs->lpszName);
        a.lpszName = name.c_str();
      }
      if (cs->lpszClass && !IsIntAtom(cs->lpszClass)) {
        cls = ToAnsi(cs->lpszClass);
        a.lpszClass = cls.c_str();
      }
      return Invoke(target, hwnd, msg, w, LPARAM(&a));
    }
    case EM_GETSEL:
    case EM_SETSEL:
    case EM_LINEINDEX:
    case EM_LINEFROMCHAR:
    case EM_LINELENGTH:
    case EM_GETLINE:
    case EM_SETPASSWORDCHAR: {
      // Under a single-byte page positions agree; a line and a password character still convert.
      if (!SystemPageIsUtf8() && msg != EM_SETPASSWORDCHAR && msg != EM_GETLINE)
        return Invoke(target, hwnd, msg, w, l);
      const std::string text = TextOfAnsi(target, hwnd);
      const std::u16string wide = ToWide(text.data(), text.size());
      auto toBytes = [&](LONG_PTR u) { return UnitsToBytes(wide, u); };
      auto toUnits = [&](LONG_PTR b) { return BytesToUnits(text, b); };
      switch (msg) {
        case EM_GETSEL: {
          DWORD start = 0, end = 0;
          const LRESULT r = Invoke(target, hwnd, msg, WPARAM(&start), LPARAM(&end));
          if (!start && !end) {  // a procedure that only answers the packed form
            start = LOWORD(uint64_t(r));
            end = HIWORD(uint64_t(r));
          }
          start = DWORD(toUnits(start));
          end = DWORD(toUnits(end));
          if (w) *reinterpret_cast<DWORD*>(w) = start;
          if (l) *reinterpret_cast<DWORD*>(l) = end;
          return MAKELONG(WORD(std::min<DWORD>(start, 0xFFFF)), WORD(std::min<DWORD>(end, 0xFFFF)));
        }
        case EM_SETSEL:
          return Invoke(target, hwnd, msg, WPARAM(toBytes(LONG_PTR(int32_t(w)))),
                        LPARAM(toBytes(LONG_PTR(int32_t(l)))));
        case EM_LINEINDEX:
          return toUnits(Invoke(target, hwnd, msg, w, l));
        case EM_LINEFROMCHAR:
          return Invoke(target, hwnd, msg, WPARAM(toBytes(LONG_PTR(int64_t(w)))), l);
        case EM_LINELENGTH: {
          const LONG_PTR at = toBytes(LONG_PTR(int64_t(w)));
          const LRESULT bytes = Invoke(target, hwnd, msg, WPARAM(at), l);
          const LRESULT line = Invoke(target, hwnd, EM_LINEFROMCHAR, WPARAM(at), 0);
          const LRESULT start = Invoke(target, hwnd, EM_LINEINDEX, WPARAM(line), 0);
          if (start < 0 || bytes < 0) return bytes;
          return toUnits(start + bytes) - toUnits(start);
        }
        case EM_GETLINE: {
          auto* out = reinterpret_cast<char16_t*>(l);
          if (!out) return 0;
          const size_t capacity = out[0];
          std::string buffer(std::max<size_t>(capacity * 3, 2), '\0');
          const WORD bytesCapacity = WORD(std::min<size_t>(buffer.size(), 0xFFFF));
          std::memcpy(buffer.data(), &bytesCapacity, 2);
          const LRESULT got = Invoke(target, hwnd, msg, w, LPARAM(buffer.data()));
          const std::u16string line = ToWide(buffer.data(), size_t(std::max<LRESULT>(got, 0)));
          const size_t n = CutUnits(line, capacity);
          std::memcpy(out, line.data(), n * sizeof(char16_t));  // no terminator
          return LRESULT(n);
        }
        default: {  // EM_SETPASSWORDCHAR: one character
          const std::string b = w ? ToAnsi(reinterpret_cast<const char16_t*>(&w), 1) : std::string(1, '\0');
          return Invoke(target, hwnd, msg, WPARAM(b.size() == 1 ? uint8_t(b[0]) : uint8_t('?')), l);
        }
      }
    }
    case CB_GETEDITSEL:
    case CB_SETEDITSEL: {
      if (!SystemPageIsUtf8()) return Invoke(target, hwnd, msg, w, l);
      const std::string text = TextOfAnsi(target, hwnd);
      const std::u16string wide = ToWide(text.data(), text.size());
      if (msg == CB_SETEDITSEL) {
        const LONG_PTR start = UnitsToBytes(wide, int16_t(LOWORD(uint64_t(l))));
        const LONG_PTR end = UnitsToBytes(wide, int16_t(HIWORD(uint64_t(l))));
        return Invoke(target, hwnd, msg, w, MAKELPARAM(WORD(start), WORD(end)));
      }
      DWORD start = 0, end = 0;
      const LRESULT r = Invoke(target, hwnd, msg, WPARAM(&start), LPARAM(&end));
      if (r < 0) return r;
      start = DWORD(BytesToUnits(text, start));
      end = DWORD(BytesToUnits(text, end));
      if (w) *reinterpret_cast<DWORD*>(w) = start;
      if (l) *reinterpret_cast<DWORD*>(l) = end;
      return MAKELONG(WORD(std::min<DWORD>(start, 0xFFFF)), WORD(std::min<DWORD>(end, 0xFFFF)));
    }
    case WM_CHAR:
    case WM_SYSCHAR: {
      const std::string bytes = UnitToBytes(char16_t(w));
      LRESULT result = 0;
      for (char b : bytes) result = Invoke(target, hwnd, msg, WPARAM(uint8_t(b)), l);
      return result;
    }
    default:
      if (IsItemStringIn(msg) && l && ItemsAreStrings(hwnd, msg)) {
        const std::string text = ToAnsi(reinterpret_cast<const char16_t*>(l));
        return Invoke(target, hwnd, msg, w, LPARAM(text.c_str()));
      }
      if ((IsItemTextOut(msg) || IsItemTextLength(msg)) && ItemsAreStrings(hwnd, msg)) {
        LRESULT error = 0;
        const std::string bytes = ItemTextOf<char>(target, hwnd, msg, w, error);
        if (error < 0) return error;
        const std::u16string wide = ToWide(bytes.data(), bytes.size());
        if (IsItemTextLength(msg)) return LRESULT(wide.size());
        // The caller sized its buffer by the length it was given: the item and its zero.
        if (!l) return LRESULT(-1);
        std::memcpy(reinterpret_cast<char16_t*>(l), wide.c_str(), (wide.size() + 1) * sizeof(char16_t));
        return LRESULT(wide.size());
      }
      return Invoke(target, hwnd, msg, w, l);
  }
}

// The caller speaks 8-bit, the procedure UTF-16.
LRESULT CallWideFromAnsi(uintptr_t target, HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  switch (msg) {
    case WM_SETTEXT:
    case EM_REPLACESEL: {
      if (!l) return Invoke(target, hwnd, msg, w, l);
      const std::u16string text = ToWide(reinterpret_cast<const char*>(l));
      return Invoke(target, hwnd, msg, w, LPARAM(text.c_str()));
    }
    case WM_GETTEXT: {
      auto* out = reinterpret_cast<char*>(l);
      if (w == 0 || !out) return Invoke(target, hwnd, msg, 0, LPARAM(nullptr)) * 0;
      std::u16string buffer(size_t(w) + 1, u'\0');
      const LRESULT got = Invoke(target, hwnd, msg, WPARAM(buffer.size()), LPARAM(buffer.data()));
      buffer.resize(size_t(got > 0 ? got : 0));
      const std::string narrow = ToAnsi(buffer.data(), buffer.size());
      const size_t n = CutBytes(narrow, size_t(w) - 1);
      std::memcpy(out, narrow.data(), n);
      out[n] = 0;
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH: {
      const LRESULT units = Invoke(target, hwnd, WM_GETTEXTLENGTH, 0, 0);
      if (units <= 0) return 0;
      std::u16string buffer(size_t(units) + 1, u'\0');
      const LRESULT got = Invoke(target, hwnd, WM_GETTEXT, WPARAM(buffer.size()), LPARAM(buffer.data()));
      return LRESULT(ToAnsi(buffer.data(), size_t(got > 0 ? got : 0)).size());
    }
    case WM_NCCREATE:
    case WM_CREATE: {
      auto* cs = reinterpret_cast<CREATESTRUCTA*>(l);
      if (!cs) return Invoke(target, hwnd, msg, w, l);
      CREATESTRUCTW wide;
      std::memcpy(&wide, cs, sizeof wide);
      std::u16string name, cls;
      if (cs->lpszName && !IsIntAtom(cs->lpszName)) {
        name = ToWide(cs->lpszName);
        wide.lpszName = name.c_str();
      }
      if (cs->lpszClass && !IsIntAtom(cs->lpszClass)) {
        cls = ToWide(cs->lpszClass);
        wide.lpszClass = cls.c_str();
      }
      return Invoke(target, hwnd, msg, w, LPARAM(&wide));
    }
    case EM_GETSEL:
    case EM_SETSEL:
    case EM_LINEINDEX:
    case EM_LINEFROMCHAR:
    case EM_LINELENGTH:
    case EM_GETLINE:
    case EM_SETPASSWORDCHAR: {
      // Under a single-byte page positions agree; a line and a password character still convert.
      if (!SystemPageIsUtf8() && msg != EM_SETPASSWORDCHAR && msg != EM_GETLINE)
        return Invoke(target, hwnd, msg, w, l);
      const std::u16string wide = TextOfWide(target, hwnd);
      const std::string text = ToAnsi(wide.data(), wide.size());
      auto toBytes = [&](LONG_PTR u) { return UnitsToBytes(wide, u); };
      auto toUnits = [&](LONG_PTR b) { return BytesToUnits(text, b); };
      switch (msg) {
        case EM_GETSEL: {
          DWORD start = 0, end = 0;
          Invoke(target, hwnd, msg, WPARAM(&start), LPARAM(&end));
          start = DWORD(toBytes(start));
          end = DWORD(toBytes(end));
          if (w) *reinterpret_cast<DWORD*>(w) = start;
          if (l) *reinterpret_cast<DWORD*>(l) = end;
          return MAKELONG(WORD(std::min<DWORD>(start, 0xFFFF)), WORD(std::min<DWORD>(end, 0xFFFF)));
        }
        case EM_SETSEL:
          return Invoke(target, hwnd, msg, WPARAM(toUnits(LONG_PTR(int32_t(w)))),
                        LPARAM(toUnits(LONG_PTR(int32_t(l)))));
        case EM_LINEINDEX:
          return toBytes(Invoke(target, hwnd, msg, w, l));
        case EM_LINEFROMCHAR:
          return Invoke(target, hwnd, msg, WPARAM(toUnits(LONG_PTR(int64_t(w)))), l);
        case EM_LINELENGTH: {
          const LONG_PTR at = toUnits(LONG_PTR(int64_t(w)));
          const LRESULT units = Invoke(target, hwnd, msg, WPARAM(at), l);
          const LRESULT line = Invoke(target, hwnd, EM_LINEFROMCHAR, WPARAM(at), 0);
          const LRESULT start = Invoke(target, hwnd, EM_LINEINDEX, WPARAM(line), 0);
          if (start < 0 || units < 0) return units;
          return toBytes(start + units) - toBytes(start);
        }
        case EM_GETLINE: {
          auto* out = reinterpret_cast<char*>(l);
          if (!out) return 0;
          WORD capacity;
          std::memcpy(&capacity, out, 2);
          std::u16string buffer(std::max<size_t>(capacity, 1), u'\0');
          buffer[0] = char16_t(capacity);
          const LRESULT got = Invoke(target, hwnd, msg, w, LPARAM(buffer.data()));
          const std::string line = ToAnsi(buffer.data(), size_t(std::max<LRESULT>(got, 0)));
          const size_t n = CutBytes(line, capacity);
          std::memcpy(out, line.data(), n);  // no terminator
          return LRESULT(n);
        }
        default: {  // EM_SETPASSWORDCHAR: one character
          const char c = char(w);
          const std::u16string u = w ? ToWide(&c, 1) : std::u16string(1, u'\0');
          return Invoke(target, hwnd, msg, WPARAM(u.empty() ? u'?' : u[0]), l);
        }
      }
    }
    case CB_GETEDITSEL:
    case CB_SETEDITSEL: {
      if (!SystemPageIsUtf8()) return Invoke(target, hwnd, msg, w, l);
      const std::u16string wide = TextOfWide(target, hwnd);
      const std::string text = ToAnsi(wide.data(), wide.size());
      if (msg == CB_SETEDITSEL) {
        const LONG_PTR start = BytesToUnits(text, int16_t(LOWORD(uint64_t(l))));
        const LONG_PTR end = BytesToUnits(text, int16_t(HIWORD(uint64_t(l))));
        return Invoke(target, hwnd, msg, w, MAKELPARAM(WORD(start), WORD(end)));
      }
      DWORD start = 0, end = 0;
      const LRESULT r = Invoke(target, hwnd, msg, WPARAM(&start), LPARAM(&end));
      if (r < 0) return r;
      start = DWORD(UnitsToBytes(wide, start));
      end = DWORD(UnitsToBytes(wide, end));
      if (w) *reinterpret_cast<DWORD*>(w) = start;
      if (l) *reinterpret_cast<DWORD*>(l) = end;
      return MAKELONG(WORD(std::min<DWORD>(start, 0xFFFF)), WORD(std::min<DWORD>(end, 0xFFFF)));
    }
    case WM_CHAR:
    case WM_SYSCHAR: {
      const std::u16string units = TakeUtf8Char(uint8_t(w));
      LRESULT result = 0;
      for (char16_t u : units) result = Invoke(target, hwnd, msg, WPARAM(u), l);
      return result;
    }
    default:
      if (IsItemStringIn(msg) && l && ItemsAreStrings(hwnd, msg)) {
        const std::u16string text = ToWide(reinterpret_cast<const char*>(l));
        return Invoke(target, hwnd, msg, w, LPARAM(text.c_str()));
      }
      if ((IsItemTextOut(msg) || IsItemTextLength(msg)) && ItemsAreStrings(hwnd, msg)) {
        LRESULT error = 0;
        const std::u16string wide = ItemTextOf<char16_t>(target, hwnd, msg, w, error);
        if (error < 0) return error;
        const std::string bytes = ToAnsi(wide.data(), wide.size());
        if (IsItemTextLength(msg)) return LRESULT(bytes.size());
        // The caller sized its buffer by the length it was given: the item and its zero.
        if (!l) return LRESULT(-1);
        std::memcpy(reinterpret_cast<char*>(l), bytes.c_str(), bytes.size() + 1);
        return LRESULT(bytes.size());
      }
      return Invoke(target, hwnd, msg, w, l);
  }
}

}  // namespace

LRESULT CallProc(WNDPROC proc, bool installedUnicode, bool callerUnicode, HWND hwnd, UINT msg, WPARAM w,
                 LPARAM l) {
  uintptr_t target = proc.value();
  bool targetUnicode = installedUnicode;
  if (ProcEntry* e = Entry(target); e && e->kind == ProcEntry::Kind::StandIn) {
    targetUnicode = e->realUnicode;
    target = e->real;
  }
  if (!Entry(target)) return 0;
  const CallSetScope scope(targetUnicode);
  if (callerUnicode == targetUnicode) return Invoke(target, hwnd, msg, w, l);
  return callerUnicode ? CallAnsiFromWide(target, hwnd, msg, w, l)
                       : CallWideFromAnsi(target, hwnd, msg, w, l);
}

int CurrentCallSet() { return callSets.empty() ? -1 : callSets.back() ? 1 : 0; }

WNDPROC ProcForVariant(WNDPROC proc, bool installedUnicode, bool variantUnicode) {
  if (!proc || installedUnicode == variantUnicode) return proc;
  if (ProcEntry* e = Entry(proc.value()); e && e->kind == ProcEntry::Kind::StandIn) return proc;
  State& s = S();
  const auto key = std::make_pair(proc.value(), installedUnicode);
  auto it = s.standIns.find(key);
  if (it != s.standIns.end()) return WNDPROC(LONG_PTR(it->second));
  ProcEntry e;
  e.kind = ProcEntry::Kind::StandIn;
  e.real = proc.value();
  e.realUnicode = installedUnicode;
  const uintptr_t v = AddEntry(std::move(e));
  s.standIns[key] = v;
  return WNDPROC(LONG_PTR(v));
}

bool ResolveInstall(WNDPROC value, bool variantUnicode, WNDPROC& proc, bool& unicode) {
  ProcEntry* e = Entry(value.value());
  if (!e || e->freed) return false;
  if (e->kind == ProcEntry::Kind::StandIn) {
    proc = WNDPROC(LONG_PTR(e->real));
    unicode = e->realUnicode;
  } else {
    proc = value;
    unicode = variantUnicode;
  }
  return true;
}

LRESULT SendTo(HWND hwnd, UINT msg, WPARAM w, LPARAM l, bool unicode) {
  Window* win = Find(hwnd);
  if (!win) return 0;
  return CallProc(win->proc, win->unicode, unicode, hwnd, msg, w, l);
}

}  // namespace platform::win

using namespace platform::win;

WNDPROC::WNDPROC(WndProcFunction function) {
  if (!function) return;
  State& s = S();
  auto it = s.procByFunction.find(function);
  if (it != s.procByFunction.end()) {
    value_ = it->second;
    return;
  }
  ProcEntry e;
  e.function = function;
  s.procs.push_back(e);
  value_ = 0x7F000000 + s.procs.size() - 1;
  s.procByFunction[function] = value_;
}

WNDPROC MakeObjectInstance(TWndMethod method) {
  State& s = S();
  ProcEntry e;
  e.kind = ProcEntry::Kind::Method;
  e.method = [method = std::move(method)](HWND, UINT msg, WPARAM w, LPARAM l) {
    TMessage m{msg, w, l, 0};
    method(m);
    return m.Result;
  };
  s.procs.push_back(std::move(e));
  return WNDPROC(LONG_PTR(0x7F000000 + s.procs.size() - 1));
}

void FreeObjectInstance(WNDPROC instance) {
  State& s = S();
  const uintptr_t v = instance.value();
  if (v < 0x7F000000 || v - 0x7F000000 >= s.procs.size()) return;
  for (auto& [h, w] : s.windows) {
    if (w->proc == instance) {
      // Freeing a procedure a window still uses is a programming error; keep it callable.
      std::fprintf(stderr, "FreeObjectInstance: procedure still installed in window %#lx\n",
                   (unsigned long)h);
      return;
    }
  }
  s.procs[v - 0x7F000000].freed = true;
  s.procs[v - 0x7F000000].method = nullptr;
}

LRESULT CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  return CallProc(proc, false, false, hwnd, msg, w, l);
}

LRESULT CallWindowProcW(WNDPROC proc, HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
  return CallProc(proc, true, true, hwnd, msg, w, l);
}
