// Hostile bytes through the double-byte code pages 932, 936, 949 and 950. The first byte picks the
// page. Sizing and filling agree; a full buffer one unit short fails without writing past it;
// every byte yields at most one unit; the strict mode fails exactly when a replacement appears;
// and what was decoded encodes to bytes that decode to the same units, each U+FFFD as "?".
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/rtl/CodePage.h"
#include "platform/rtl/LastError.h"

namespace {

std::u16string Decode(UINT page, DWORD flags, const std::string& bytes) {
  int n = MultiByteToWideChar(page, flags, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  if (n <= 0) return {};
  std::u16string out(static_cast<std::size_t>(n), u'\0');
  if (MultiByteToWideChar(page, flags, bytes.data(), static_cast<int>(bytes.size()), out.data(), n) != n)
    std::abort();
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  static constexpr UINT kPages[] = {932, 936, 949, 950};
  const UINT page = kPages[data[0] % 4];
  const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  std::u16string text = Decode(page, 0, bytes);
  if (text.empty() || text.size() > bytes.size()) std::abort();

  // One unit short: an error, and nothing written past the buffer (the sanitizers watch it).
  std::u16string shortBuffer(text.size() - 1, u'\0');
  SetLastError(0);
  if (MultiByteToWideChar(page, 0, bytes.data(), static_cast<int>(bytes.size()),
                          shortBuffer.empty() ? nullptr : shortBuffer.data(),
                          static_cast<int>(shortBuffer.size())) !=
      (shortBuffer.empty() ? static_cast<int>(text.size()) : 0))
    std::abort();

  const bool damaged = text.find(u'\uFFFD') != std::u16string::npos;
  SetLastError(0);
  std::u16string strict = Decode(page, MB_ERR_INVALID_CHARS, bytes);
  if (damaged != strict.empty()) std::abort();
  if (damaged && GetLastError() != ERROR_NO_UNICODE_TRANSLATION) std::abort();
  if (!damaged && strict != text) std::abort();

  int n =
      WideCharToMultiByte(page, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  if (n <= 0) std::abort();
  std::string again(static_cast<std::size_t>(n), '\0');
  BOOL usedDefault = FALSE;
  if (WideCharToMultiByte(page, 0, text.data(), static_cast<int>(text.size()), again.data(), n, nullptr,
                          &usedDefault) != n)
    std::abort();
  std::u16string expected = text;
  for (char16_t& u : expected)
    if (u == u'\uFFFD') u = u'?';
  if (Decode(page, 0, again) != expected) std::abort();
  if (usedDefault != (damaged ? TRUE : FALSE)) std::abort();
  return 0;
}
