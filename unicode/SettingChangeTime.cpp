#include "unicode/SettingChangeTime.h"

DWORD _SettingChangeTime = 0;
