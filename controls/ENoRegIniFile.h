// ENoRegIniFile: a component asked to load or save its settings without a settings store.
#pragma once

#include "platform/rtl/Exceptions.h"

class ENoRegIniFile : public Exception {
 public:
  using Exception::Exception;
};
