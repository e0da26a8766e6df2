// Every test program runs with a runtime folder of its own, so that its windows, endpoint and
// locks meet only the processes it starts (which inherit it), never another test program's or a
// running editor's: made before main unless the environment already names one, and removed with
// its contents when the program ends. The platform itself follows its one rule for the folder.
#pragma once

#include <string>

namespace testsupport {

// The folder this program runs with (the one the environment named, else its own).
const std::string& PrivateRuntimeFolder();
// Points PLATFORM_RUNTIME_DIR back at it: what a test that named another folder does at its end.
void RestoreRuntimeFolder();

}  // namespace testsupport
