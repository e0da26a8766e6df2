// The stand-in connection manager as a second process for the hand-over tests: started headless
// with a store folder, found by its window's title, its journal read back.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

#include "platform/win/WinTypes.h"

namespace editortest {

// Starts the stand-in on the headless backend with `--store store` and `extra`; its process id
// in `pid`, and its window once it shows (null when it did not within 10 s).
HWND StartStandIn(const std::string& store, const std::vector<std::string>& extra, pid_t* pid,
                  const char* title = "MMS_manageRas");
// The lines of the stand-in's journal in `store`.
std::vector<std::string> StandInJournal(const std::string& store);

}  // namespace editortest
