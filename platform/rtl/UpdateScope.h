// An update scope: BeginUpdate on entry and EndUpdate on every way out, for anything with the
// pair (strings, lists, menus), so that an exception in the middle leaves no update pending.
#pragma once

#include "platform/rtl/ScopeExit.h"

namespace platform {

template <typename T>
class UpdateScope {
 public:
  explicit UpdateScope(T& target) : target_(target) { target_.BeginUpdate(); }
  ~UpdateScope() noexcept(false) {
    auto end = [this] { target_.EndUpdate(); };
    RunUndo(end, uncaught_);
  }
  UpdateScope(const UpdateScope&) = delete;
  UpdateScope& operator=(const UpdateScope&) = delete;

 private:
  T& target_;
  int uncaught_ = std::uncaught_exceptions();
};

}  // namespace platform
