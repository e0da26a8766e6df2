// Sets the system code page (and, optionally, the 8-bit system switch of the Unicode layer) for
// one test and puts both back afterwards.
#pragma once

#include "platform/rtl/CodePage.h"
#include "platform/rtl/Program.h"
#include "unicode/UcPlatformFlags.h"

class CodePageScope {
 public:
  explicit CodePageScope(UINT codePage, bool narrow = false) : saved_(GetACP()) {
    SetSystemCodePage(codePage);
    platform::SetNarrowSystemForTesting(narrow);
  }
  ~CodePageScope() {
    SetSystemCodePage(saved_);
    platform::SetNarrowSystemForTesting(false);
  }
  CodePageScope(const CodePageScope&) = delete;
  CodePageScope& operator=(const CodePageScope&) = delete;

 private:
  UINT saved_;
};

// The layer's 8-bit paths under the system's current code page.
class NarrowScope {
 public:
  NarrowScope() { platform::SetNarrowSystemForTesting(true); }
  ~NarrowScope() { platform::SetNarrowSystemForTesting(false); }
  NarrowScope(const NarrowScope&) = delete;
  NarrowScope& operator=(const NarrowScope&) = delete;
};
