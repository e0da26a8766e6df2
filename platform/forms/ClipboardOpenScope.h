// The clipboard object held open for one scope: Open on entry and Close on every way out, so a
// format that cannot be read or put leaves the clipboard closed. Scopes nest as Open and Close do.
#pragma once

#include "platform/forms/TClipboard.h"
#include "platform/rtl/ScopeExit.h"

class ClipboardOpenScope {
 public:
  explicit ClipboardOpenScope(TClipboard& clipboard) : clipboard_(clipboard) { clipboard_.Open(); }
  ~ClipboardOpenScope() noexcept(false) {
    auto close = [this] { clipboard_.Close(); };
    platform::RunUndo(close, uncaught_);
  }
  ClipboardOpenScope(const ClipboardOpenScope&) = delete;
  ClipboardOpenScope& operator=(const ClipboardOpenScope&) = delete;

 private:
  TClipboard& clipboard_;
  int uncaught_ = std::uncaught_exceptions();
};
