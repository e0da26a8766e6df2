// WideString: UTF-16 text over std::u16string with the classic 1-based positions. Converting to
// or from 8-bit text goes through the system code page. A surrogate pair counts two units.
#pragma once

#include <string>
#include <string_view>

class AnsiString;

class WideString {
 public:
  WideString() = default;
  WideString(const char16_t* s) : s_(s ? s : u"") {}
  WideString(const char16_t* s, int length)
      : s_(s && length > 0 ? std::u16string(s, static_cast<std::size_t>(length)) : std::u16string()) {}
  WideString(const std::u16string& s) : s_(s) {}
  WideString(std::u16string&& s) : s_(std::move(s)) {}
  WideString(std::u16string_view s) : s_(s) {}
  explicit WideString(char16_t c) : s_(1, c) {}
  explicit WideString(int v);
  // Through the system code page.
  WideString(const AnsiString& a);
  WideString(const char* a);

  // Never null: an empty string gives u"".
  const char16_t* c_bstr() const { return s_.c_str(); }
  const char16_t* c_str() const { return s_.c_str(); }
  const char16_t* data() const { return s_.data(); }
  int Length() const { return static_cast<int>(s_.size()); }
  bool IsEmpty() const { return s_.empty(); }
  void SetLength(int n) { s_.resize(n > 0 ? static_cast<std::size_t>(n) : 0); }

  // 1-based; an index outside 1..Length raises ERangeError.
  char16_t& operator[](int index);
  char16_t operator[](int index) const;

  WideString SubString(int start, int count) const;
  int Pos(const WideString& sub) const;
  WideString& Insert(const WideString& str, int index);
  WideString& Delete(int index, int count);

  WideString UpperCase() const;
  WideString LowerCase() const;
  WideString Trim() const;
  WideString TrimLeft() const;
  WideString TrimRight() const;
  int ToInt() const;
  int ToIntDef(int defaultValue) const;

  WideString& operator+=(const WideString& o) {
    s_ += o.s_;
    return *this;
  }
  WideString& operator+=(char16_t c) {
    s_ += c;
    return *this;
  }
  friend WideString operator+(const WideString& a, const WideString& b) { return WideString(a.s_ + b.s_); }
  friend WideString operator+(const WideString& a, const char16_t* b) {
    return WideString(a.s_ + (b ? b : u""));
  }
  friend WideString operator+(const char16_t* a, const WideString& b) {
    return WideString((a ? a : u"") + b.s_);
  }

  friend bool operator==(const WideString& a, const WideString& b) { return a.s_ == b.s_; }
  friend bool operator==(const WideString& a, const char16_t* b) { return a.s_ == (b ? b : u""); }
  friend auto operator<=>(const WideString& a, const WideString& b) { return a.s_ <=> b.s_; }

  const std::u16string& ToU16() const { return s_; }
  std::u16string& U16() { return s_; }

 private:
  std::u16string s_;
};
