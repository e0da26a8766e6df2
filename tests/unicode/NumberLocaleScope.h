// Selects the number locale (currency and number conventions) for one test and goes back to
// the user's afterwards.
#pragma once

#include <string>

#include "platform/rtl/Locale.h"

class NumberLocaleScope {
 public:
  explicit NumberLocaleScope(const std::string& name) : selected(platform::SelectNumberLocale(name)) {}
  ~NumberLocaleScope() { platform::SelectNumberLocale(""); }
  NumberLocaleScope(const NumberLocaleScope&) = delete;
  NumberLocaleScope& operator=(const NumberLocaleScope&) = delete;
  const bool selected;
};
