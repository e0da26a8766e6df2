// Virtual keys, scan codes, characters and key names of the US English keyboard layout.
#include <cstring>

#include "platform/win/Win.h"

namespace {

struct KeyRow {
  UINT vk;
  UINT scan;
  bool extended;
  const char* name;
};

// The keys the layout names; scan codes of the PC/AT set 1.
constexpr KeyRow kKeys[] = {
    {0x08, 0x0E, false, "Backspace"}, {0x09, 0x0F, false, "Tab"},         {0x0D, 0x1C, false, "Enter"},
    {0x10, 0x2A, false, "Shift"},     {0x11, 0x1D, false, "Ctrl"},        {0x12, 0x38, false, "Alt"},
    {0x13, 0x45, false, "Pause"},     {0x14, 0x3A, false, "Caps Lock"},   {0x1B, 0x01, false, "Esc"},
    {0x20, 0x39, false, "Space"},     {0x21, 0x49, true, "Page Up"},      {0x22, 0x51, true, "Page Down"},
    {0x23, 0x4F, true, "End"},        {0x24, 0x47, true, "Home"},         {0x25, 0x4B, true, "Left"},
    {0x26, 0x48, true, "Up"},         {0x27, 0x4D, true, "Right"},        {0x28, 0x50, true, "Down"},
    {0x2C, 0x37, true, "Prnt Scrn"},  {0x2D, 0x52, true, "Insert"},       {0x2E, 0x53, true, "Delete"},
    {0x30, 0x0B, false, "0"},         {0x31, 0x02, false, "1"},           {0x32, 0x03, false, "2"},
    {0x33, 0x04, false, "3"},         {0x34, 0x05, false, "4"},           {0x35, 0x06, false, "5"},
    {0x36, 0x07, false, "6"},         {0x37, 0x08, false, "7"},           {0x38, 0x09, false, "8"},
    {0x39, 0x0A, false, "9"},         {0x41, 0x1E, false, "A"},           {0x42, 0x30, false, "B"},
    {0x43, 0x2E, false, "C"},         {0x44, 0x20, false, "D"},           {0x45, 0x12, false, "E"},
    {0x46, 0x21, false, "F"},         {0x47, 0x22, false, "G"},           {0x48, 0x23, false, "H"},
    {0x49, 0x17, false, "I"},         {0x4A, 0x24, false, "J"},           {0x4B, 0x25, false, "K"},
    {0x4C, 0x26, false, "L"},         {0x4D, 0x32, false, "M"},           {0x4E, 0x31, false, "N"},
    {0x4F, 0x18, false, "O"},         {0x50, 0x19, false, "P"},           {0x51, 0x10, false, "Q"},
    {0x52, 0x13, false, "R"},         {0x53, 0x1F, false, "S"},           {0x54, 0x14, false, "T"},
    {0x55, 0x16, false, "U"},         {0x56, 0x2F, false, "V"},           {0x57, 0x11, false, "W"},
    {0x58, 0x2D, false, "X"},         {0x59, 0x15, false, "Y"},           {0x5A, 0x2C, false, "Z"},
    {0x60, 0x52, false, "Num 0"},     {0x61, 0x4F, false, "Num 1"},       {0x62, 0x50, false, "Num 2"},
    {0x63, 0x51, false, "Num 3"},     {0x64, 0x4B, false, "Num 4"},       {0x65, 0x4C, false, "Num 5"},
    {0x66, 0x4D, false, "Num 6"},     {0x67, 0x47, false, "Num 7"},       {0x68, 0x48, false, "Num 8"},
    {0x69, 0x49, false, "Num 9"},     {0x6A, 0x37, false, "Num *"},       {0x6B, 0x4E, false, "Num +"},
    {0x6D, 0x4A, false, "Num -"},     {0x6E, 0x53, false, "Num Del"},     {0x6F, 0x35, true, "Num /"},
    {0x70, 0x3B, false, "F1"},        {0x71, 0x3C, false, "F2"},          {0x72, 0x3D, false, "F3"},
    {0x73, 0x3E, false, "F4"},        {0x74, 0x3F, false, "F5"},          {0x75, 0x40, false, "F6"},
    {0x76, 0x41, false, "F7"},        {0x77, 0x42, false, "F8"},          {0x78, 0x43, false, "F9"},
    {0x79, 0x44, false, "F10"},       {0x7A, 0x57, false, "F11"},         {0x7B, 0x58, false, "F12"},
    {0x90, 0x45, true, "Num Lock"},   {0x91, 0x46, false, "Scroll Lock"}, {0xBA, 0x27, false, ";"},
    {0xBB, 0x0D, false, "="},         {0xBC, 0x33, false, ","},           {0xBD, 0x0C, false, "-"},
    {0xBE, 0x34, false, "."},         {0xBF, 0x35, false, "/"},           {0xC0, 0x29, false, "`"},
    {0xDB, 0x1A, false, "["},         {0xDC, 0x2B, false, "\\"},          {0xDD, 0x1B, false, "]"},
    {0xDE, 0x28, false, "'"},
};

const KeyRow* ByVk(UINT vk) {
  for (const KeyRow& k : kKeys)
    if (k.vk == vk) return &k;
  return nullptr;
}

// The unshifted character of a key; 0 for keys that type none.
WCHAR CharOf(UINT vk) {
  if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return WCHAR(vk);
  if (vk >= 0x60 && vk <= 0x69) return WCHAR('0' + vk - 0x60);
  switch (vk) {
    case 0x08:
      return 8;
    case 0x09:
      return 9;
    case 0x0D:
      return 13;
    case 0x1B:
      return 27;
    case 0x20:
      return u' ';
    case 0x6A:
      return u'*';
    case 0x6B:
      return u'+';
    case 0x6D:
      return u'-';
    case 0x6E:
      return u'.';
    case 0x6F:
      return u'/';
    default:
      break;
  }
  const KeyRow* k = ByVk(vk);
  if (k && vk >= 0xBA && k->name[1] == 0) return WCHAR(k->name[0]);
  return 0;
}

}  // namespace

UINT MapVirtualKeyW(UINT code, UINT mapType) {
  switch (mapType) {
    case 0: {
      const KeyRow* k = ByVk(code);
      return k ? k->scan : 0;
    }
    case 1:
      for (const KeyRow& k : kKeys)
        if (k.scan == code && !k.extended) return k.vk;
      return 0;
    case 2:
      return CharOf(code);
    default:
      return 0;
  }
}

SHORT VkKeyScanW(WCHAR ch) {
  if (ch >= u'a' && ch <= u'z') return SHORT(ch - u'a' + 'A');
  if (ch >= u'A' && ch <= u'Z') return SHORT(0x100 | ch);
  if (ch >= u'0' && ch <= u'9') return SHORT(ch);
  static const char shiftedDigits[] = ")!@#$%^&*(";
  for (int i = 0; i < 10; ++i)
    if (ch == WCHAR(shiftedDigits[i])) return SHORT(0x100 | ('0' + i));
  if (ch == u' ') return 0x20;
  if (ch == 8 || ch == 9 || ch == 13 || ch == 27)
    return SHORT(ch == 8 ? 0x08 : ch == 9 ? 0x09 : ch == 13 ? 0x0D : 0x1B);
  for (const KeyRow& k : kKeys)
    if (k.vk >= 0xBA && WCHAR(k.name[0]) == ch && k.name[1] == 0) return SHORT(k.vk);
  return -1;
}

int GetKeyNameTextW(LONG lParam, LPWSTR buffer, int size) {
  if (!buffer || size <= 0) return 0;
  const UINT scan = (UINT(lParam) >> 16) & 0xFF;
  const bool extended = (lParam >> 24) & 1;
  const char* name = nullptr;
  for (const KeyRow& k : kKeys)
    if (k.scan == scan && k.extended == extended) {
      name = k.name;
      break;
    }
  // Without the extended bit the navigation keys answer with their keypad names' keys.
  if (!name)
    for (const KeyRow& k : kKeys)
      if (k.scan == scan) {
        name = k.name;
        break;
      }
  if (!name) {
    buffer[0] = 0;
    return 0;
  }
  int n = 0;
  for (; name[n] && n < size - 1; ++n) buffer[n] = WCHAR(name[n]);
  buffer[n] = 0;
  return n;
}
