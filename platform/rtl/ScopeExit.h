// Undoing a temporary change on every way out of a scope: ScopeExit runs a function when the
// scope ends, by return or by an exception, in place of a catch block that undoes and rethrows.
// The undo may itself raise on a normal exit, and the exception reaches the caller as it would
// from a plain call; while an exception is already passing, one raised by the undo is dropped so
// that the first failure is the one reported.
#pragma once

#include <exception>
#include <utility>

namespace platform {

// Runs `undo`, letting its exception out unless the scope is being left by another one.
template <typename F>
void RunUndo(F& undo, int uncaughtAtStart) {
  if (std::uncaught_exceptions() > uncaughtAtStart) {
    try {
      undo();
    } catch (...) {
    }
  } else {
    undo();
  }
}

template <typename F>
class ScopeExit {
 public:
  explicit ScopeExit(F undo) : undo_(std::move(undo)) {}
  ~ScopeExit() noexcept(false) {
    if (armed_) RunUndo(undo_, uncaught_);
  }
  ScopeExit(const ScopeExit&) = delete;
  ScopeExit& operator=(const ScopeExit&) = delete;

  // The change is to stay: nothing runs at the end of the scope.
  void Release() { armed_ = false; }

 private:
  F undo_;
  int uncaught_ = std::uncaught_exceptions();
  bool armed_ = true;
};

}  // namespace platform
