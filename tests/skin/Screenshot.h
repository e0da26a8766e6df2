// Saves a window's picture under the build folder's screenshots/skin for a person to look at.
#pragma once

#include <filesystem>
#include <string>

#include "platform/backend/HeadlessDriver.h"

namespace skintest {

inline bool SaveScreenshot(HWND hwnd, const std::string& name) {
  std::filesystem::create_directories(MMS_SCREENSHOT_DIR);
  return platform::headless::Driver().SavePng(hwnd, std::string(MMS_SCREENSHOT_DIR) + "/" + name);
}

}  // namespace skintest
