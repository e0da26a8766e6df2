// Reading a component from the layouts of its class and of the classes it derives from: a
// derived form class can have a layout of its own that changes ("inherited" objects) and adds
// to what its ancestor's layout made.
#pragma once

#include "platform/forms/TComponent.h"

// Reads into `instance` the layout of its class and of each ancestor class up to, not
// including, the class named `rootAncestor`, the most distant ancestor's first. True when at
// least one layout was found (and read).
bool InitInheritedComponent(TComponent* instance, const AnsiString& rootAncestor);
