// Basic types of the platform layer: the classic fixed-width integer names, handles, points and
// rectangles, the form library's aliases and its small sets. Kept tiny: every header includes it.
#pragma once

#include <cstddef>
#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = std::uint32_t;
using INT = std::int32_t;
using LONG = std::int32_t;
using ULONG = std::uint32_t;
using SHORT = std::int16_t;
using USHORT = std::uint16_t;
using LONGLONG = std::int64_t;
using ULONGLONG = std::uint64_t;
using BOOL = int;
using HRESULT = std::int32_t;  // S_OK is 0; failures are negative
#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

using WPARAM = std::uint64_t;
using LPARAM = std::int64_t;
using LRESULT = std::int64_t;
using ULONG_PTR = std::uint64_t;
using UINT_PTR = std::uint64_t;
using INT_PTR = std::int64_t;
using LONG_PTR = std::int64_t;
using DWORD_PTR = std::uint64_t;
using SIZE_T = std::size_t;

using WCHAR = char16_t;
using LPWSTR = char16_t*;
using LPCWSTR = const char16_t*;
using CHAR = char;
using LPSTR = char*;
using LPCSTR = const char*;
using LPVOID = void*;
using LPCVOID = const void*;
using LPBOOL = BOOL*;
using LPDWORD = DWORD*;
using PBYTE = BYTE*;
using LPBYTE = BYTE*;

// Handles are opaque pointer-sized values; their meaning belongs to the layer that issues them.
using HANDLE = void*;
struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
using HGLOBAL = HANDLE;

using ATOM = std::uint16_t;
using LANGID = std::uint16_t;
using LCID = std::uint32_t;
using COLORREF = std::uint32_t;

// Form-library aliases.
using Char = char;
using WideChar = char16_t;
using PChar = char*;
using PWideChar = char16_t*;
using Integer = std::int32_t;
using Cardinal = std::uint32_t;
using Int64 = std::int64_t;
using Word = std::uint16_t;
using Byte = std::uint8_t;
using Boolean = bool;
using Extended = double;
// Days since 1899-12-30; the fraction is the time of day.
using TDateTime = double;

struct POINT {
  LONG x;
  LONG y;
};
struct SIZE {
  LONG cx;
  LONG cy;
};
struct RECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
};
using LPPOINT = POINT*;
using LPRECT = RECT*;
using LPCRECT = const RECT*;

struct TPoint : POINT {
  TPoint() : POINT{0, 0} {}
  TPoint(int ax, int ay) : POINT{ax, ay} {}
  TPoint(const POINT& p) : POINT(p) {}
  bool operator==(const TPoint& o) const { return x == o.x && y == o.y; }
  bool operator!=(const TPoint& o) const { return !(*this == o); }
};

struct TSize : SIZE {
  TSize() : SIZE{0, 0} {}
  TSize(int w, int h) : SIZE{w, h} {}
  TSize(const SIZE& s) : SIZE(s) {}
  bool operator==(const TSize& o) const { return cx == o.cx && cy == o.cy; }
  bool operator!=(const TSize& o) const { return !(*this == o); }
};

// The form library's rectangle: the same 16 bytes as RECT, with capitalised field names.
struct TRect {
  LONG Left = 0;
  LONG Top = 0;
  LONG Right = 0;
  LONG Bottom = 0;
  TRect() = default;
  TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
  TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}
  operator RECT() const { return RECT{Left, Top, Right, Bottom}; }
  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  TPoint TopLeft() const { return TPoint(Left, Top); }
  TPoint BottomRight() const { return TPoint(Right, Bottom); }
  bool operator==(const TRect& o) const {
    return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
  }
  bool operator!=(const TRect& o) const { return !(*this == o); }
};
static_assert(sizeof(TRect) == 16 && sizeof(RECT) == 16 && sizeof(TPoint) == 8 && sizeof(TSize) == 8);

inline TRect Rect(int l, int t, int r, int b) { return TRect(l, t, r, b); }
inline TPoint Point(int x, int y) { return TPoint(x, y); }
inline TRect Bounds(int l, int t, int w, int h) { return TRect(l, t, l + w, t + h); }

// The form library's small sets over an enumeration (TShiftState and others): `<<` adds, `>>`
// removes, Contains tests. Values lie in [lo, hi], at most 64 of them.
template <typename T, int lo, int hi>
class Set {
  static_assert(hi >= lo && hi - lo < 64, "a set holds at most 64 values");

 public:
  Set() = default;
  Set& operator<<(T v) {
    bits_ |= bit(v);
    return *this;
  }
  Set& operator>>(T v) {
    bits_ &= ~bit(v);
    return *this;
  }
  bool Contains(T v) const { return (bits_ & bit(v)) != 0; }
  bool Empty() const { return bits_ == 0; }
  void Clear() { bits_ = 0; }
  Set operator+(const Set& o) const { return fromBits(bits_ | o.bits_); }
  Set operator-(const Set& o) const { return fromBits(bits_ & ~o.bits_); }
  Set operator*(const Set& o) const { return fromBits(bits_ & o.bits_); }
  bool operator==(const Set& o) const { return bits_ == o.bits_; }
  bool operator!=(const Set& o) const { return bits_ != o.bits_; }
  std::uint64_t ToBits() const { return bits_; }
  static Set fromBits(std::uint64_t b) {
    Set s;
    s.bits_ = b;
    return s;
  }

 private:
  static std::uint64_t bit(T v) {
    int i = static_cast<int>(v);
    return (i < lo || i > hi) ? 0 : (std::uint64_t{1} << (i - lo));
  }
  std::uint64_t bits_ = 0;
};
