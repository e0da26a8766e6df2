// Exceptions of the Unicode layer. WideException carries its message as UTF-16 and keeps the
// inherited 8-bit message as that text's conversion through the system code page, so handlers
// that only know Exception still show something. EWideOSError adds the OS error code.
#pragma once

#include <initializer_list>

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/WideString.h"

class WideException : public Exception {
 public:
  // A single format argument is written {TVarRec(x)}: a bare {x} also fits the help form.
  explicit WideException(const WideString& message);
  WideException(const WideString& format, std::initializer_list<TVarRec> args);
  explicit WideException(int ident);
  explicit WideException(PResStringRec record);
  WideException(int ident, std::initializer_list<TVarRec> args);
  WideException(PResStringRec record, std::initializer_list<TVarRec> args);
  WideException(const WideString& message, int helpContext);
  WideException(const WideString& format, std::initializer_list<TVarRec> args, int helpContext);
  WideException(int ident, int helpContext);
  WideException(PResStringRec record, int helpContext);
  WideException(int ident, std::initializer_list<TVarRec> args, int helpContext);
  WideException(PResStringRec record, std::initializer_list<TVarRec> args, int helpContext);

  const WideString& WideMessage() const { return wideMessage_; }
  // Replaces both messages.
  void SetMessage(const WideString& message);

 private:
  WideString wideMessage_;
};

class EWideOSError : public WideException {
 public:
  using WideException::WideException;
  DWORD ErrorCode = 0;
};

class EUcUserError : public Exception {
 public:
  using Exception::Exception;
};
class EUcGeneralError : public Exception {
 public:
  using Exception::Exception;
};
class EUcInternalError : public Exception {
 public:
  using Exception::Exception;
};

// Raises EWideOSError for the last OS error, with its text (or "A call to an OS function failed"
// when the last error is 0).
[[noreturn]] void WideRaiseLastOSError();

// Return the handle (or pointer) when it is valid, else raise the form library's last-OS-error
// exception. WinCheckFileH treats -1 (INVALID_HANDLE_VALUE) as the failure.
HANDLE WinCheckH(HANDLE handle);
HANDLE WinCheckFileH(HANDLE handle);
void* WinCheckP(void* pointer);
