#include "platform/forms/LayoutText.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Utf8.h"

namespace {

// Nesting deeper than this is not a layout anyone wrote; it would only exhaust the stack.
constexpr int kMaxDepth = 64;

class Cursor {
 public:
  explicit Cursor(std::string_view text) : p_(text.data()), end_(text.data() + text.size()) {}

  [[noreturn]] void Fail(const char* what) const {
    throw EReadError("Line %d: %s", {line_, AnsiString(what)});
  }
  int Line() const { return line_; }

  // Skips blanks, line breaks and `//` comments.
  void SkipSpace() {
    while (p_ < end_) {
      char c = *p_;
      if (c == '\n') {
        ++line_;
        ++p_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++p_;
      } else if (c == '/' && end_ - p_ >= 2 && p_[1] == '/') {
        while (p_ < end_ && *p_ != '\n') ++p_;
      } else {
        break;
      }
    }
  }
  bool AtEnd() {
    SkipSpace();
    return p_ >= end_;
  }
  char Peek() {
    SkipSpace();
    return p_ < end_ ? *p_ : '\0';
  }
  void Expect(char c) {
    if (Peek() != c) {
      char msg[32] = "'x' expected";
      msg[1] = c;
      Fail(msg);
    }
    ++p_;
  }
  static bool IdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
  static bool IdentChar(char c) { return IdentStart(c) || (c >= '0' && c <= '9'); }

  // An identifier, with dots when `dotted` ("Font.Name").
  std::string Ident(bool dotted) {
    SkipSpace();
    if (p_ >= end_ || !IdentStart(*p_)) Fail("identifier expected");
    const char* start = p_;
    while (p_ < end_ && (IdentChar(*p_) || (dotted && *p_ == '.' && end_ - p_ >= 2 && IdentStart(p_[1]))))
      ++p_;
    return std::string(start, p_);
  }
  bool PeekWord(std::string_view word) {
    SkipSpace();
    if (end_ - p_ < static_cast<std::ptrdiff_t>(word.size())) return false;
    for (std::size_t i = 0; i < word.size(); ++i)
      if ((p_[i] | 0x20) != word[i]) return false;
    const char* after = p_ + word.size();
    return after >= end_ || !IdentChar(*after);
  }
  void Word(std::string_view word) {
    if (!PeekWord(word)) Fail("keyword expected");
    p_ += word.size();
  }

  TLayoutValue Value(int depth) {
    if (depth > kMaxDepth) Fail("values nested too deeply");
    char c = Peek();
    if (c == '\'' || c == '#') return StringValue();
    if (c == '-' || c == '+' || c == '$' || (c >= '0' && c <= '9')) return Number();
    if (c == '[') return SetValue();
    if (c == '{') return BinaryValue();
    if (c == '(') return ListValue(depth);
    if (c == '<') return CollectionValue(depth);
    if (IdentStart(c)) return TLayoutValue::OfIdent(Ident(true));
    Fail("value expected");
  }

 private:
  TLayoutValue StringValue() {
    std::u16string out;
    // Pieces join when they touch ('a'#13#10'b') or across a "+"; a blank between two strings
    // ends the first (the items of a list of strings).
    bool first = true, afterPlus = false;
    for (;;) {
      const char* before = p_;
      char c = Peek();
      if (!first && !afterPlus && p_ != before && c != '+') break;
      first = false;
      afterPlus = false;
      if (c == '\'') {
        ++p_;
        const char* start = p_;
        std::string piece;
        for (;;) {
          if (p_ >= end_ || *p_ == '\n') Fail("unterminated string");
          if (*p_ == '\'') {
            if (end_ - p_ >= 2 && p_[1] == '\'') {
              piece.append(start, p_ + 1);
              p_ += 2;
              start = p_;
              continue;
            }
            piece.append(start, p_);
            ++p_;
            break;
          }
          ++p_;
        }
        out += platform::Utf8ToUtf16(piece);
      } else if (c == '#') {
        ++p_;
        std::int64_t unit = 0;
        const char* start = p_;
        while (p_ < end_ && *p_ >= '0' && *p_ <= '9' && p_ - start < 6) unit = unit * 10 + (*p_++ - '0');
        if (p_ == start || unit > 0xFFFF) Fail("bad character code");
        out += static_cast<char16_t>(unit);
      } else if (c == '+') {
        // A long text continues on the next line after "+".
        ++p_;
        char next = Peek();
        if (next != '\'' && next != '#') Fail("string expected after '+'");
        afterPlus = true;
      } else {
        break;
      }
    }
    return TLayoutValue::OfString(std::move(out));
  }

  TLayoutValue Number() {
    SkipSpace();
    const char* start = p_;
    bool negative = false;
    if (*p_ == '-' || *p_ == '+') negative = *p_++ == '-';
    if (p_ < end_ && *p_ == '$') {
      ++p_;
      std::uint64_t v = 0;
      const char* digits = p_;
      while (p_ < end_ && std::isxdigit(static_cast<unsigned char>(*p_))) {
        if (p_ - digits >= 16) Fail("number too large");
        char d = *p_++;
        v = v * 16 + static_cast<std::uint64_t>(d <= '9' ? d - '0' : (d | 0x20) - 'a' + 10);
      }
      if (p_ == digits) Fail("hexadecimal digits expected");
      std::int64_t s = static_cast<std::int64_t>(v);
      return TLayoutValue::OfInt(negative ? -s : s);
    }
    const char* digits = p_;
    while (p_ < end_ && *p_ >= '0' && *p_ <= '9') ++p_;
    if (p_ == digits) Fail("digits expected");
    bool real = false;
    if (p_ < end_ && *p_ == '.' && end_ - p_ >= 2 && p_[1] >= '0' && p_[1] <= '9') {
      real = true;
      ++p_;
      while (p_ < end_ && *p_ >= '0' && *p_ <= '9') ++p_;
    }
    std::string text(start, p_);
    if (real) {
      TLayoutValue v;
      v.Kind = TLayoutValue::Float;
      v.Real = std::strtod(text.c_str(), nullptr);
      v.Name = text;  // printed back as written
      return v;
    }
    errno = 0;
    long long n = std::strtoll(text.c_str(), nullptr, 10);
    if (errno == ERANGE) Fail("number too large");
    return TLayoutValue::OfInt(n);
  }

  TLayoutValue SetValue() {
    Expect('[');
    TLayoutValue v;
    v.Kind = TLayoutValue::Set;
    if (Peek() == ']') {
      ++p_;
      return v;
    }
    for (;;) {
      v.Names.push_back(Ident(false));
      char c = Peek();
      if (c == ']') break;
      Expect(',');
    }
    ++p_;
    return v;
  }

  TLayoutValue BinaryValue() {
    Expect('{');
    TLayoutValue v;
    v.Kind = TLayoutValue::Binary;
    int high = -1;
    for (;;) {
      char c = Peek();
      if (c == '}') break;
      if (!std::isxdigit(static_cast<unsigned char>(c))) Fail("hexadecimal digits expected");
      ++p_;
      int d = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
      if (high < 0) {
        high = d;
      } else {
        v.Bytes.push_back(static_cast<std::uint8_t>(high * 16 + d));
        high = -1;
      }
    }
    if (high >= 0) Fail("odd number of hexadecimal digits");
    ++p_;
    return v;
  }

  TLayoutValue ListValue(int depth) {
    Expect('(');
    TLayoutValue v;
    v.Kind = TLayoutValue::List;
    while (Peek() != ')') {
      if (p_ >= end_) Fail("')' expected");
      v.Items.push_back(Value(depth + 1));
    }
    ++p_;
    return v;
  }

  TLayoutValue CollectionValue(int depth) {
    Expect('<');
    TLayoutValue v;
    v.Kind = TLayoutValue::Collection;
    while (Peek() != '>') {
      if (p_ >= end_) Fail("'>' expected");
      Word("item");
      TLayoutItem item;
      while (!PeekWord("end")) {
        if (AtEnd()) Fail("'end' expected");
        std::string name = Ident(true);
        Expect('=');
        item.emplace_back(std::move(name), Value(depth + 1));
      }
      Word("end");
      v.Entries.push_back(std::move(item));
    }
    ++p_;
    return v;
  }

  const char* p_;
  const char* end_;
  int line_ = 1;
};

TLayoutObject ParseObject(Cursor& in, int depth) {
  if (depth > kMaxDepth) in.Fail("objects nested too deeply");
  TLayoutObject obj;
  if (in.PeekWord("inherited")) {
    in.Word("inherited");
    obj.Inherited = true;
  } else
    in.Word("object");
  obj.Line = in.Line();
  std::string first = in.Ident(false);
  if (in.Peek() == ':') {
    in.Expect(':');
    obj.Name = std::move(first);
    obj.ClassName = in.Ident(false);
  } else {
    obj.ClassName = std::move(first);
  }
  for (;;) {
    if (in.AtEnd()) in.Fail("'end' expected");
    if (in.PeekWord("end")) {
      in.Word("end");
      break;
    }
    if (in.PeekWord("object") || in.PeekWord("inherited")) {
      obj.Children.push_back(ParseObject(in, depth + 1));
      continue;
    }
    TLayoutProperty prop;
    prop.Line = in.Line();
    prop.Name = in.Ident(true);
    in.Expect('=');
    prop.Value = in.Value(0);
    obj.Props.push_back(std::move(prop));
  }
  return obj;
}

// ---- printing

void Indent(std::string& out, int depth) { out.append(static_cast<std::size_t>(depth) * 2, ' '); }

void PrintString(std::string& out, const std::u16string& s) {
  if (s.empty()) {
    out += "''";
    return;
  }
  bool open = false;
  std::u16string run;
  auto flush = [&] {
    if (!run.empty()) {
      std::string bytes = platform::Utf16ToUtf8(run);
      for (char c : bytes) {
        if (c == '\'') out += '\'';
        out += c;
      }
      run.clear();
    }
  };
  for (std::size_t i = 0; i < s.size(); ++i) {
    char16_t u = s[i];
    // Control characters and lone surrogates are written as #n so the text stays on one line
    // and reads back unit for unit; a proper pair is plain text.
    bool pair = u >= 0xD800 && u <= 0xDBFF && i + 1 < s.size() && s[i + 1] >= 0xDC00 && s[i + 1] <= 0xDFFF;
    bool plain = pair || (u >= 0x20 && !(u >= 0xD800 && u <= 0xDFFF));
    if (plain) {
      if (!open) {
        out += '\'';
        open = true;
      }
      run += u;
      if (pair) run += s[++i];
    } else {
      flush();
      if (open) {
        out += '\'';
        open = false;
      }
      out += '#';
      out += std::to_string(static_cast<unsigned>(u));
    }
  }
  flush();
  if (open) out += '\'';
}

void PrintValue(std::string& out, const TLayoutValue& v, int depth) {
  switch (v.Kind) {
    case TLayoutValue::Integer:
      out += std::to_string(v.Int);
      break;
    case TLayoutValue::Float: {
      if (!v.Name.empty()) {
        out += v.Name;
        break;
      }
      // The layout has no exponents: a plain decimal that reads back to the same value.
      std::string s = "0.0";
      if (std::isfinite(v.Real)) {
        char buf[400];
        std::snprintf(buf, sizeof buf, "%.17g", v.Real);
        s = buf;
        if (s.find_first_of("eE") != std::string::npos) {
          std::snprintf(buf, sizeof buf, "%.17f", v.Real);
          s = buf;
        }
        if (s.find('.') == std::string::npos) s += ".0";
      }
      out += s;
      break;
    }
    case TLayoutValue::String:
      PrintString(out, v.Str);
      break;
    case TLayoutValue::Ident:
      out += v.Name;
      break;
    case TLayoutValue::Set:
      out += '[';
      for (std::size_t i = 0; i < v.Names.size(); ++i) {
        if (i) out += ", ";
        out += v.Names[i];
      }
      out += ']';
      break;
    case TLayoutValue::Binary: {
      static const char hex[] = "0123456789ABCDEF";
      out += '{';
      for (std::size_t i = 0; i < v.Bytes.size(); ++i) {
        if (i % 32 == 0 && v.Bytes.size() > 32) {
          out += '\n';
          Indent(out, depth + 1);
        }
        out += hex[v.Bytes[i] >> 4];
        out += hex[v.Bytes[i] & 15];
      }
      out += '}';
      break;
    }
    case TLayoutValue::List:
      out += '(';
      for (const TLayoutValue& item : v.Items) {
        out += '\n';
        Indent(out, depth + 1);
        PrintValue(out, item, depth + 1);
      }
      out += ')';
      break;
    case TLayoutValue::Collection:
      out += '<';
      for (const TLayoutItem& item : v.Entries) {
        out += '\n';
        Indent(out, depth + 1);
        out += "item";
        for (const auto& [name, value] : item) {
          out += '\n';
          Indent(out, depth + 2);
          out += name + " = ";
          PrintValue(out, value, depth + 2);
        }
        out += '\n';
        Indent(out, depth + 1);
        out += "end";
      }
      out += '>';
      break;
  }
}

void PrintObject(std::string& out, const TLayoutObject& obj, int depth) {
  Indent(out, depth);
  out += "object ";
  if (!obj.Name.empty()) out += obj.Name + ": ";
  out += obj.ClassName + "\n";
  for (const TLayoutProperty& p : obj.Props) {
    Indent(out, depth + 1);
    out += p.Name + " = ";
    PrintValue(out, p.Value, depth + 1);
    out += '\n';
  }
  for (const TLayoutObject& child : obj.Children) PrintObject(out, child, depth + 1);
  Indent(out, depth);
  out += "end\n";
}

}  // namespace

TLayoutValue TLayoutValue::OfInt(std::int64_t v) {
  TLayoutValue r;
  r.Int = v;
  return r;
}
TLayoutValue TLayoutValue::OfString(std::u16string v) {
  TLayoutValue r;
  r.Kind = String;
  r.Str = std::move(v);
  return r;
}
TLayoutValue TLayoutValue::OfIdent(std::string v) {
  TLayoutValue r;
  r.Kind = Ident;
  r.Name = std::move(v);
  return r;
}

TLayoutObject ParseLayout(std::string_view text) {
  // A UTF-8 byte-order mark is allowed at the start.
  if (text.size() >= 3 && static_cast<unsigned char>(text[0]) == 0xEF &&
      static_cast<unsigned char>(text[1]) == 0xBB && static_cast<unsigned char>(text[2]) == 0xBF)
    text.remove_prefix(3);
  Cursor in(text);
  TLayoutObject root = ParseObject(in, 0);
  if (!in.AtEnd()) in.Fail("text after the last 'end'");
  return root;
}

std::string PrintLayout(const TLayoutObject& root) {
  std::string out;
  PrintObject(out, root, 0);
  return out;
}
