// Keys into characters: TranslateMessage on the fixed US layout, and the state of keys.
#include "platform/win/WindowSystem.h"

namespace {

using namespace platform::win;

// The character a key gives on the fixed US layout (0: none).
char16_t KeyChar(int vk, bool shift, bool caps, bool ctrl) {
  if (vk >= 'A' && vk <= 'Z') {
    if (ctrl) return char16_t(vk - 'A' + 1);
    return (shift != caps) ? char16_t(vk) : char16_t(vk + 32);
  }
  if (ctrl) {
    if (vk == VK_OEM_4) return 27;
    if (vk == VK_BACK) return 127;
    if (vk == VK_RETURN) return 10;
    return 0;
  }
  if (vk >= '0' && vk <= '9') return shift ? u")!@#$%^&*("[vk - '0'] : char16_t(vk);
  if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9) return char16_t('0' + vk - VK_NUMPAD0);
  switch (vk) {
    case VK_SPACE:
      return ' ';
    case VK_RETURN:
      return 13;
    case VK_BACK:
      return 8;
    case VK_TAB:
      return 9;
    case VK_ESCAPE:
      return 27;
    case VK_MULTIPLY:
      return '*';
    case VK_ADD:
      return '+';
    case VK_SUBTRACT:
      return '-';
    case VK_DECIMAL:
      return '.';
    case VK_DIVIDE:
      return '/';
    case VK_OEM_1:
      return shift ? ':' : ';';
    case VK_OEM_PLUS:
      return shift ? '+' : '=';
    case VK_OEM_COMMA:
      return shift ? '<' : ',';
    case VK_OEM_MINUS:
      return shift ? '_' : '-';
    case VK_OEM_PERIOD:
      return shift ? '>' : '.';
    case VK_OEM_2:
      return shift ? '?' : '/';
    case VK_OEM_3:
      return shift ? '~' : '`';
    case VK_OEM_4:
      return shift ? '{' : '[';
    case VK_OEM_5:
      return shift ? '|' : '\\';
    case VK_OEM_6:
      return shift ? '}' : ']';
    case VK_OEM_7:
      return shift ? '"' : '\'';
    default:
      return 0;
  }
}

}  // namespace

using namespace platform::win;

BOOL TranslateMessage(const MSG* msg) {
  if (!msg || (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN)) return FALSE;
  State& s = S();
  const bool shift = s.keys[VK_SHIFT] & 0x80, caps = s.keys[VK_CAPITAL] & 0x01,
             ctrl = s.keys[VK_CONTROL] & 0x80;
  const char16_t c = KeyChar(int(msg->wParam), shift, caps, ctrl);
  if (!c) return FALSE;
  s.translated.push_back(MSG{msg->hwnd, msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR, WPARAM(c),
                             msg->lParam, msg->time, msg->pt});
  return TRUE;
}

short GetKeyState(int vk) {
  const uint8_t k = S().keys[vk & 0xFF];
  return short(((k & 0x80) ? 0x8000 : 0) | (k & 0x01));
}

HKL GetKeyboardLayout(DWORD) { return reinterpret_cast<HKL>(uintptr_t(0x04090409)); }
