// When the system's settings last changed, as the layer knows it: the tick count at which the
// Unicode application object started or last saw WM_SETTINGCHANGE (0 before it exists). Code
// that caches a system setting compares its own time with this one.
#pragma once

#include "platform/rtl/Types.h"

extern DWORD _SettingChangeTime;
