// The system's icons: LoadIconA/W of a null instance with IDI_HAND, IDI_QUESTION,
// IDI_EXCLAMATION or IDI_ASTERISK gives a 32 x 32 icon compiled into the program (drawn by
// tools/gen-dialog-icons); any other name gives none (ERROR_RESOURCE_NAME_NOT_FOUND).
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/win/WinTypes.h"

constexpr std::uintptr_t IDI_HAND = 0x7F01, IDI_QUESTION = 0x7F02, IDI_EXCLAMATION = 0x7F03,
                         IDI_ASTERISK = 0x7F04;
constexpr std::uintptr_t IDI_ERROR = IDI_HAND, IDI_WARNING = IDI_EXCLAMATION, IDI_INFORMATION = IDI_ASTERISK;

HICON LoadIconA(HINSTANCE instance, LPCSTR name);
HICON LoadIconW(HINSTANCE instance, LPCWSTR name);

namespace platform::controls {
// The icon file behind an icon LoadIcon gave; false for any other handle.
bool IconFileOf(HICON icon, const std::uint8_t*& data, std::size_t& size);
}  // namespace platform::controls
