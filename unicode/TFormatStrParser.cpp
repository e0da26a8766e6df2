#include "unicode/TFormatStrParser.h"

#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "platform/rtl/StringRoutines.h"
#include "unicode/UcNarrowText.h"

namespace {

constexpr int kMaxDigits = 6;

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

char16_t Lower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

bool IsTypeLetter(char16_t c) {
  switch (Lower(c)) {
    case u'd':
    case u'e':
    case u'f':
    case u'g':
    case u'm':
    case u'n':
    case u'p':
    case u's':
    case u'u':
    case u'x':
      return true;
    default:
      return false;
  }
}

AnsiString Narrow(const WideString& s) { return UcNarrow(std::u16string_view(s.data(), size_t(s.Length()))); }

}  // namespace

void TFormatStrParser::AcceptChar() {
  output_.AddChar(format_.c_str()[pos_]);
  ++pos_;
}

void TFormatStrParser::AcceptText() {
  while (!AtEnd() && Peek() != u'%') AcceptChar();
}

void TFormatStrParser::InvalidSpecifier() const {
  throw EFormatSpecError("Invalid Format Specifier: %s", {TVarRec(ParsedOutput() + Rest())});
}

int TFormatStrParser::CountDigits(int at) const {
  int n = 0;
  while (at + n < format_.Length() && IsDigit(format_.c_str()[at + n])) {
    if (++n > kMaxDigits) InvalidSpecifier();
  }
  return n;
}

void TFormatStrParser::AcceptDigits() {
  for (int n = CountDigits(pos_); n > 0; --n) AcceptChar();
}

// A "*" or an implicit specifier takes the next argument.
void TFormatStrParser::NextIndex() {
  ++implicitCount_;
  ++lastIndex_;
}

bool TFormatStrParser::ParseFormatSpecifier() {
  AcceptChar();  // '%'
  if (AtEnd()) return false;
  if (Peek() == u' ' || Peek() == u'%') {
    AcceptChar();
    return false;
  }
  // An explicit index: the next implicit specifier takes the argument after it, as the
  // formatter does.
  const int digits = CountDigits(pos_);
  if (digits > 0 && pos_ + digits < format_.Length() && format_.c_str()[pos_ + digits] == u':') {
    ++explicitCount_;
    lastIndex_ = StrToInt(Narrow(format_.SubString(pos_ + 1, digits)));
  } else {
    NextIndex();
    output_.AddString(WideString(lastIndex_) + u":");
  }
  if (!AtEnd() && Peek() == u'*') {
    AcceptChar();
    NextIndex();
    if (!AtEnd() && Peek() == u':') AcceptChar();
  } else {
    AcceptDigits();
    if (!AtEnd() && Peek() == u':') AcceptChar();
  }
  if (!AtEnd() && Peek() == u'-') AcceptChar();
  if (!AtEnd() && Peek() == u'*') {
    AcceptChar();
    NextIndex();
  } else {
    AcceptDigits();
  }
  if (!AtEnd() && Peek() == u'.') {
    AcceptChar();
    // A "*" precision takes an argument from the formatter like a "*" width.
    if (!AtEnd() && Peek() == u'*') {
      AcceptChar();
      NextIndex();
    } else {
      AcceptDigits();
    }
  }
  if (AtEnd() || !IsTypeLetter(Peek())) InvalidSpecifier();
  AcceptChar();
  return true;
}

int FormatSpecifierCategory(const WideString& specifier) {
  const char16_t type = specifier.IsEmpty() ? u'\0' : Lower(specifier.c_str()[specifier.Length() - 1]);
  switch (type) {
    case u'd':
    case u'u':
    case u'x':
      return 0;
    case u'e':
    case u'f':
    case u'g':
    case u'm':
    case u'n':
      return 1;
    case u'p':
      return 2;
    case u's':
      return 3;
    default:
      throw EUcInternalError("Internal Error: Unexpected format type (%s)", {TVarRec(WideString(type))});
  }
}

WideString GetCanonicalFormatStr(const WideString& format) {
  TFormatStrParser parser(format);
  while (!parser.AtEnd()) {
    parser.AcceptText();
    if (!parser.AtEnd()) parser.ParseFormatSpecifier();
  }
  const int explicitCount = parser.ExplicitCount(), implicitCount = parser.ImplicitCount();
  if ((explicitCount == 0 && implicitCount == 1) || (explicitCount > 0 && implicitCount == 0)) return format;
  return parser.ParsedOutput();
}

namespace {

// A specifier is ASCII: its 8-bit form needs no code page.
AnsiString SpecifierBytes(std::u16string_view piece) {
  std::string bytes(piece.size(), '\0');
  for (std::size_t i = 0; i < piece.size(); ++i) bytes[i] = char(piece[i]);
  return AnsiString(bytes);
}

// A formatted number is ASCII unless a separator or the currency text is not.
void AppendWidened(std::u16string& out, const AnsiString& text) {
  const std::string& bytes = text.ToStd();
  if (std::all_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    out.append(bytes.begin(), bytes.end());
    return;
  }
  out += UcWiden(text).ToU16();
}

}  // namespace

WideString ReplaceFloatingArgumentsInFormatString(const WideString& format, const TVarRec* args, int high) {
  TFormatStrParser parser(format);
  std::u16string result;
  result.reserve(size_t(format.Length()) + 16);
  while (!parser.AtEnd()) {
    parser.ClearParsedOutput();
    parser.AcceptText();
    result += parser.Written();
    if (parser.AtEnd()) break;
    parser.ClearParsedOutput();
    const bool specifier = parser.ParseFormatSpecifier();
    const std::u16string_view piece = parser.Written();
    const char16_t type = piece.empty() ? u'\0' : Lower(piece.back());
    const bool floating = type == u'e' || type == u'f' || type == u'g' || type == u'm' || type == u'n';
    if (specifier && floating)
      AppendWidened(result, Format(SpecifierBytes(piece), args, high));
    else
      result += piece;
  }
  return WideString(std::move(result));
}

namespace {

struct TArgumentSlot {
  WideString specifier;
  int category = 0;
};

// The specifiers of a format by the argument each takes.
std::vector<TArgumentSlot> ArgumentTable(const WideString& format) {
  TFormatStrParser parser(format);
  std::vector<TArgumentSlot> table;
  std::vector<bool> used;
  while (!parser.AtEnd()) {
    parser.AcceptText();
    if (parser.AtEnd()) break;
    parser.ClearParsedOutput();
    if (!parser.ParseFormatSpecifier()) continue;
    const WideString specifier = parser.ParsedOutput();
    const int colon = specifier.Pos(u":");
    const int index = StrToInt(Narrow(specifier.SubString(2, colon - 2)));
    const int category = FormatSpecifierCategory(specifier);
    if (index >= int(table.size())) {
      table.resize(size_t(index) + 1);
      used.resize(size_t(index) + 1, false);
    }
    TArgumentSlot& slot = table[size_t(index)];
    if (used[size_t(index)]) {
      if (slot.category != category)
        throw EFormatSpecError("Argument types for index %d do not match. (%s <> %s)",
                               {TVarRec(index), TVarRec(slot.specifier), TVarRec(specifier)});
      continue;
    }
    used[size_t(index)] = true;
    slot.specifier = specifier;
    slot.category = category;
  }
  return table;
}

// The first difference of two formats, or an empty text.
WideString Difference(const WideString& formatA, const WideString& formatB) {
  const std::vector<TArgumentSlot> a = ArgumentTable(formatA), b = ArgumentTable(formatB);
  if (a.size() != b.size())
    return WideString(u"Number of format specifiers do not match.\r\n\r\n> ") + formatA + u"\r\n> " + formatB;
  for (size_t i = 0; i < a.size(); ++i)
    if (a[i].category != b[i].category)
      return WideFormat(u"Argument types for index %d do not match. (%s <> %s)",
                        {TVarRec(int(i)), TVarRec(a[i].specifier), TVarRec(b[i].specifier)});
  return WideString();
}

}  // namespace

void CompareFormatStrings(const WideString& formatA, const WideString& formatB) {
  const WideString difference = Difference(formatA, formatB);
  if (!difference.IsEmpty()) throw EFormatSpecError(Narrow(difference));
}

bool FormatStringsAreCompatible(const WideString& formatA, const WideString& formatB) {
  return Difference(formatA, formatB).IsEmpty();
}
