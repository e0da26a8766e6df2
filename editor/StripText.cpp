#include "editor/StripText.h"

#include <algorithm>

#include "platform/controls/GraphemeClusters.h"
#include "platform/rtl/CodePage.h"

namespace {

// The largest character boundary of the system code page at or before `n` bytes.
size_t CharBoundary(const std::string& s, size_t n) {
  n = std::min(n, s.size());
  if (GetACP() == CP_UTF8) {
    while (n > 0 && n < s.size() && (static_cast<unsigned char>(s[n]) & 0xC0) == 0x80) --n;
    return n;
  }
  size_t at = 0;
  while (at < n) {
    const size_t step = IsDBCSLeadByteEx(GetACP(), static_cast<BYTE>(s[at])) ? 2 : 1;
    if (at + step > n) break;
    at += step;
  }
  return at;
}

}  // namespace

std::u16string FitCellText(const std::u16string& text, int w,
                           const std::function<int(const std::u16string&)>& width) {
  const int full = width(text);
  if (full <= w) return text;
  const long long length = static_cast<long long>(text.size());
  long long n = full > 0 ? (w - 4) * length / full - 6 : 0;
  n = std::clamp<long long>(n, 0, length);
  size_t cut = 0;
  for (size_t stop : platform::controls::ClusterStops(text)) {
    if (static_cast<long long>(stop) <= n) cut = stop;
  }
  return text.substr(0, cut) + u"...";
}

std::string FitSoundName(std::string name, int w, const std::function<int(const std::string&)>& width) {
  int measured = width(name);
  if (measured <= w - 2) return name;
  std::string shown = name;
  while (measured > w - 2 && !name.empty()) {
    long long n = measured > 0 ? static_cast<long long>(name.size()) * (w - 2) / measured : 0;
    n = std::clamp<long long>(n, 0, static_cast<long long>(name.size()) - 1);
    name.resize(CharBoundary(name, static_cast<size_t>(n)));
    shown = name + "...";
    measured = width(shown);
  }
  return shown;
}
