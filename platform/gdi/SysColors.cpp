// The fixed classic table of system colours, their stock brushes, and MulDiv.
#include <cmath>
#include <cstdint>
#include <mutex>

#include "platform/gdi/Gdi.h"
#include "platform/gdi/GdiObjects.h"

using namespace platform::gdi;

namespace {

constexpr int kColorCount = 31;
constexpr COLORREF kColors[kColorCount] = {
    RGB(212, 208, 200), RGB(58, 110, 165),  RGB(10, 36, 106),   RGB(128, 128, 128), RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(0, 0, 0),       RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(212, 208, 200), RGB(128, 128, 128), RGB(10, 36, 106),   RGB(255, 255, 255),
    RGB(212, 208, 200), RGB(128, 128, 128), RGB(128, 128, 128), RGB(0, 0, 0),       RGB(212, 208, 200),
    RGB(255, 255, 255), RGB(64, 64, 64),    RGB(212, 208, 200), RGB(0, 0, 0),       RGB(255, 255, 225),
    RGB(0, 0, 0),       RGB(0, 0, 128),     RGB(166, 202, 240), RGB(192, 192, 192), RGB(10, 36, 106),
    RGB(212, 208, 200)};

}  // namespace

DWORD GetSysColor(int index) {
  if (index < 0 || index >= kColorCount) return 0;
  return kColors[index];
}

HBRUSH GetSysColorBrush(int index) {
  static std::once_flag once;
  static uintptr_t brushes[kColorCount] = {};
  std::call_once(once, [] {
    for (int i = 0; i < kColorCount; ++i) {
      auto b = std::make_shared<BrushObject>();
      b->color = kColors[i];
      b->stock = true;
      brushes[i] = InsertObject(b);
    }
  });
  if (index < 0 || index >= kColorCount) return nullptr;
  return reinterpret_cast<HBRUSH>(brushes[index]);
}

BOOL SetSysColors(int, const int*, const COLORREF*) { return TRUE; }

int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  const int64_t product = int64_t(a) * int64_t(b);
  // Round half away from zero.
  int64_t q = product / c;
  const int64_t r = product % c;
  if (2 * std::llabs(r) >= std::llabs(int64_t(c))) q += ((product < 0) != (c < 0)) ? -1 : 1;
  if (q > INT32_MAX || q < INT32_MIN) return -1;
  return int(q);
}
