#include "unicode/WideTextRoutines.h"

#include <string>

#include "unicode/UcTextWrappers.h"
#include "unicode/WideCharClasses.h"

namespace {

constexpr char16_t kLineSeparator = 0x2028;

const char16_t* BreakText(TUcTextLineBreakStyle style) {
  switch (style) {
    case tlbsLF:
      return u"\n";
    case tlbsCR:
      return u"\r";
    default:
      return u"\r\n";
  }
}

// Calls `onBreak` for every line break and `onUnit` for every other unit.
template <typename Break, typename Unit>
void WalkLineBreaks(const std::u16string& s, Break onBreak, Unit onUnit) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    char16_t c = s[i];
    if (c == u'\r') {
      if (i + 1 < s.size() && s[i + 1] == u'\n') ++i;
      onBreak();
    } else if (c == u'\n' || c == kLineSeparator) {
      onBreak();
    } else {
      onUnit(c);
    }
  }
}

bool IsBreakChar(std::string_view breakChars, char16_t c) {
  return c < 256 && breakChars.find(static_cast<char>(c)) != std::string_view::npos;
}

bool IsQuote(char16_t c) { return c == u'\'' || c == u'"'; }

bool IsWordEdge(char16_t c) { return c == 0 || IsWideCharSpace(c) || IsWideCharPunct(c); }

}  // namespace

WideString Uc_WideUpperCase(const WideString& s) {
  std::u16string copy = s.ToU16();
  if (!copy.empty()) Uc_CharUpperBuffW(copy.data(), static_cast<DWORD>(copy.size()));
  return WideString(std::move(copy));
}

WideString Uc_WideLowerCase(const WideString& s) {
  std::u16string copy = s.ToU16();
  if (!copy.empty()) Uc_CharLowerBuffW(copy.data(), static_cast<DWORD>(copy.size()));
  return WideString(std::move(copy));
}

int WideTextPos(const WideString& sub, const WideString& s) {
  if (sub.IsEmpty()) return 0;
  std::size_t at = Uc_WideUpperCase(s).ToU16().find(Uc_WideUpperCase(sub).ToU16());
  return at == std::u16string::npos ? 0 : static_cast<int>(at) + 1;
}

bool IsRTF(const WideString& s) {
  WideString head = Uc_WideUpperCase(s.SubString(1, 5));
  return head == u"{\\RTF" || head == u"{URTF";
}

char16_t UcWideLastChar(const WideString& s) { return s.IsEmpty() ? 0 : s[s.Length()]; }

WideString Uc_WideStringReplace(const WideString& s, const WideString& oldPattern,
                                const WideString& newPattern, TReplaceFlags flags, bool wholeWord) {
  const std::u16string& text = s.ToU16();
  if (oldPattern.IsEmpty()) return s;
  // Case mapping goes unit by unit, so positions in the mapped text are positions in the text.
  const bool ignoreCase = flags.Contains(rfIgnoreCase);
  const std::u16string search = ignoreCase ? Uc_WideUpperCase(s).ToU16() : text;
  const std::u16string pattern = ignoreCase ? Uc_WideUpperCase(oldPattern).ToU16() : oldPattern.ToU16();
  std::u16string result;
  std::size_t from = 0;
  for (;;) {
    const std::size_t at = search.find(pattern, from);
    if (at == std::u16string::npos) break;
    const std::size_t end = at + pattern.size();
    if (wholeWord) {
      const char16_t before = at > from ? text[at - 1] : (result.empty() ? char16_t{0} : result.back());
      const char16_t after = end < text.size() ? text[end] : char16_t{0};
      if (!IsWordEdge(before) || !IsWordEdge(after)) {
        result.append(text, from, end - from);
        from = end;
        continue;
      }
    }
    result.append(text, from, at - from);
    result += newPattern.ToU16();
    from = end;
    if (!flags.Contains(rfReplaceAll)) break;
  }
  result.append(text, from, std::u16string::npos);
  return WideString(std::move(result));
}

int UcAdjustLineBreaksLength(const WideString& s, TUcTextLineBreakStyle style) {
  const int breakLength = style == tlbsCRLF ? 2 : 1;
  int length = 0;
  WalkLineBreaks(
      s.ToU16(), [&] { length += breakLength; }, [&](char16_t) { ++length; });
  return length;
}

WideString UcAdjustLineBreaks(const WideString& s, TUcTextLineBreakStyle style) {
  std::u16string out;
  out.reserve(static_cast<std::size_t>(UcAdjustLineBreaksLength(s, style)));
  const char16_t* breakText = BreakText(style);
  WalkLineBreaks(
      s.ToU16(), [&] { out += breakText; }, [&](char16_t c) { out += c; });
  return WideString(std::move(out));
}

WideString WideWrapText(const WideString& line, const WideString& breakStr, std::string_view breakChars,
                        int maxCol) {
  const std::u16string& s = line.ToU16();
  const std::u16string& brk = breakStr.ToU16();
  const std::size_t length = s.size();
  std::u16string result;
  std::size_t pos = 0, linePos = 0;
  std::size_t breakPos = 0;  // 1-based; 0 none yet
  int col = 1;
  char16_t quote = 0;
  bool existingBreak = false;
  while (pos < length) {
    char16_t c = s[pos];
    if (!brk.empty() && c == brk[0]) {
      if (!quote) {
        existingBreak =
            Uc_WideUpperCase(line.SubString(static_cast<int>(pos) + 1, static_cast<int>(brk.size()))) ==
            Uc_WideUpperCase(breakStr);
        if (existingBreak) {
          pos += brk.size() - 1;
          breakPos = pos + 1;
        }
      }
    } else if (IsBreakChar(breakChars, c)) {
      if (!quote) breakPos = pos + 1;
    } else if (IsQuote(c)) {
      if (c == quote)
        quote = 0;
      else if (!quote)
        quote = c;
    }
    ++pos;
    ++col;
    if (!quote && (existingBreak || (col > maxCol && breakPos > linePos + 1))) {
      col = static_cast<int>(pos + 1 - breakPos);
      result.append(s, linePos, breakPos - linePos);
      if (!IsQuote(c))
        while (pos < length && (IsBreakChar(breakChars, s[pos]) || s[pos] == u'\r' || s[pos] == u'\n')) ++pos;
      // A break goes in whenever anything follows it, even a single unit.
      if (!existingBreak && pos < length) result += brk;
      linePos = breakPos;
      existingBreak = false;
    }
  }
  if (linePos < length) result.append(s, linePos, std::u16string::npos);
  return WideString(std::move(result));
}

WideString WideWrapText(const WideString& line, int maxCol) {
  return WideWrapText(line, u"\r\n", "\t -", maxCol);
}
