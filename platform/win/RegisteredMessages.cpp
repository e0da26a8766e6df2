// Registered messages: a name gives the same number to every caller, in this process and the
// others (the number is the name's atom).
#include "platform/win/WindowSystem.h"

using namespace platform::win;

UINT RegisterWindowMessageW(LPCWSTR name) { return name ? AddAtom(name) : 0; }
UINT RegisterWindowMessageA(LPCSTR name) { return name ? AddAtom(ToWide(name)) : 0; }
