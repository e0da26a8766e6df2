// AnsiString: 8-bit text in the system code page over std::string, with the classic 1-based
// positions (operator[], SubString, Pos with 0 = not found). Converting to or from WideString
// goes through the system code page.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

class WideString;

class AnsiString {
 public:
  AnsiString() = default;
  AnsiString(const char* s) : s_(s ? s : "") {}
  AnsiString(const char* s, int length)
      : s_(s && length > 0 ? std::string(s, static_cast<std::size_t>(length)) : std::string()) {}
  AnsiString(const std::string& s) : s_(s) {}
  AnsiString(std::string&& s) : s_(std::move(s)) {}
  AnsiString(std::string_view s) : s_(s) {}
  explicit AnsiString(char c) : s_(1, c) {}
  // Numbers become their decimal text, as the classic constructors do.
  AnsiString(int v);
  AnsiString(unsigned v);
  AnsiString(long v);
  AnsiString(unsigned long v);
  AnsiString(long long v);
  AnsiString(unsigned long long v);
  // Through the system code page.
  AnsiString(const WideString& w);
  AnsiString(const char16_t* w);

  // Never null: an empty string gives "".
  const char* c_str() const { return s_.c_str(); }
  const char* data() const { return s_.data(); }
  int Length() const { return static_cast<int>(s_.size()); }
  bool IsEmpty() const { return s_.empty(); }
  void SetLength(int n) { s_.resize(n > 0 ? static_cast<std::size_t>(n) : 0); }

  // 1-based; an index outside 1..Length raises ERangeError.
  char& operator[](int index);
  char operator[](int index) const;

  // Classic Copy semantics: a start below 1 counts from 1, the count is clipped to the text.
  AnsiString SubString(int start, int count) const;
  // 1-based position of the first occurrence, 0 when absent or when `sub` is empty.
  int Pos(const AnsiString& sub) const;
  AnsiString& Insert(const AnsiString& str, int index);
  AnsiString& Delete(int index, int count);
  // 1-based position of the last byte that is one of `delimiters`, 0 when none.
  int LastDelimiter(const AnsiString& delimiters) const;

  // Through the system code page and the Unicode case tables (AnsiUpperCase, AnsiLowerCase).
  AnsiString UpperCase() const;
  AnsiString LowerCase() const;
  AnsiString Trim() const;
  AnsiString TrimLeft() const;
  AnsiString TrimRight() const;
  // Raises EConvertError for text that is not a whole decimal (or $/0x hexadecimal) integer.
  int ToInt() const;
  int ToIntDef(int defaultValue) const;
  // printf-style formatting into this string; returns *this.
  AnsiString& sprintf(const char* format, ...) __attribute__((format(printf, 2, 3)));
  AnsiString& cat_sprintf(const char* format, ...) __attribute__((format(printf, 2, 3)));

  AnsiString& operator+=(const AnsiString& o) {
    s_ += o.s_;
    return *this;
  }
  AnsiString& operator+=(const char* o) {
    if (o) s_ += o;
    return *this;
  }
  AnsiString& operator+=(char c) {
    s_ += c;
    return *this;
  }
  friend AnsiString operator+(const AnsiString& a, const AnsiString& b) { return AnsiString(a.s_ + b.s_); }
  friend AnsiString operator+(const AnsiString& a, const char* b) { return AnsiString(a.s_ + (b ? b : "")); }
  friend AnsiString operator+(const char* a, const AnsiString& b) { return AnsiString((a ? a : "") + b.s_); }
  friend AnsiString operator+(const AnsiString& a, char b) { return AnsiString(a.s_ + b); }

  friend bool operator==(const AnsiString& a, const AnsiString& b) { return a.s_ == b.s_; }
  friend bool operator==(const AnsiString& a, const char* b) { return a.s_ == (b ? b : ""); }
  friend auto operator<=>(const AnsiString& a, const AnsiString& b) { return a.s_ <=> b.s_; }

  const std::string& ToStd() const { return s_; }
  std::string& Std() { return s_; }

 private:
  std::string s_;
};

using String = AnsiString;
