// Whether a component class is registered on this system with a server file that exists.
#pragma once

#include "platform/rtl/ComObjects.h"

// False whenever the system cannot name the class's program identifier; this system keeps no
// component registry, so the answer is always false.
bool ClassIsRegistered(REFCLSID clsid);
