// The error-text helpers of the exception classes.
#include "platform/rtl/Exceptions.h"

#include <cerrno>
#include <cstring>

#include "platform/rtl/Format.h"
#include "platform/rtl/LastError.h"
#include "platform/rtl/Resources.h"
#include "platform/rtl/RtlHooks.h"

Exception::Exception(const AnsiString& format, std::initializer_list<TVarRec> args)
    : Message(Format(format, args)) {}
Exception::Exception(const AnsiString& format, std::initializer_list<TVarRec> args, int helpContext)
    : Message(Format(format, args)), HelpContext(helpContext) {}
Exception::Exception(const AnsiString& format, const TVarRec* args, int high)
    : Message(Format(format, args, high)) {}
Exception::Exception(const AnsiString& format, const TVarRec* args, int high, int helpContext)
    : Message(Format(format, args, high)), HelpContext(helpContext) {}

Exception::Exception(int ident) : Message(LoadStr(ident)) {}
Exception::Exception(const TResStringRec* record) : Message(LoadResString(record)) {}
Exception::Exception(int ident, std::initializer_list<TVarRec> args)
    : Message(Format(LoadStr(ident), args)) {}
Exception::Exception(const TResStringRec* record, std::initializer_list<TVarRec> args)
    : Message(Format(LoadResString(record), args)) {}
Exception::Exception(int ident, int helpContext) : Message(LoadStr(ident)), HelpContext(helpContext) {}
Exception::Exception(const TResStringRec* record, int helpContext)
    : Message(LoadResString(record)), HelpContext(helpContext) {}
Exception::Exception(int ident, std::initializer_list<TVarRec> args, int helpContext)
    : Message(Format(LoadStr(ident), args)), HelpContext(helpContext) {}
Exception::Exception(const TResStringRec* record, std::initializer_list<TVarRec> args, int helpContext)
    : Message(Format(LoadResString(record), args)), HelpContext(helpContext) {}

namespace {

// The errno a classic code stands for, so that strerror_r can give its text.
int ErrnoFromError(DWORD code) {
  if (code & 0x20000000u) return static_cast<int>(code & ~0x20000000u);
  switch (code) {
    case ERROR_SUCCESS:
      return 0;
    case ERROR_FILE_NOT_FOUND:
      return ENOENT;
    case ERROR_PATH_NOT_FOUND:
      return ENOTDIR;
    case ERROR_ACCESS_DENIED:
      return EACCES;
    case ERROR_INVALID_HANDLE:
      return EBADF;
    case ERROR_NOT_ENOUGH_MEMORY:
      return ENOMEM;
    case ERROR_ALREADY_EXISTS:
    case ERROR_FILE_EXISTS:
      return EEXIST;
    case ERROR_DIR_NOT_EMPTY:
      return ENOTEMPTY;
    case ERROR_INVALID_PARAMETER:
      return EINVAL;
    case ERROR_NOT_SUPPORTED:
      return ENOTSUP;
    case ERROR_TIMEOUT:
      return ETIMEDOUT;
    case ERROR_INSUFFICIENT_BUFFER:
      return ERANGE;
    default:
      return -1;
  }
}

}  // namespace

AnsiString SysErrorMessage(DWORD code) {
  int err = ErrnoFromError(code);
  if (err < 0) return AnsiString("Error ") + AnsiString(static_cast<unsigned>(code));
  if (err == 0) return AnsiString("Success");
  char buffer[256];
  // The GNU strerror_r returns the text, which may or may not live in the buffer.
  const char* text = strerror_r(err, buffer, sizeof buffer);
  return AnsiString(text ? text : "");
}

void RaiseLastOSError() { RaiseLastOSError(GetLastError()); }

void RaiseLastOSError(DWORD code) {
  if (auto hook = platform::GetRtlHooks().RaiseLastOSError) hook(code);
  platform::OwnRaiseLastOSError(code);
}

void platform::OwnRaiseLastOSError(DWORD code) {
  AnsiString message;
  if (code != 0)
    message.sprintf("System error %u: %s", static_cast<unsigned>(code), SysErrorMessage(code).c_str());
  else
    message = "A call to an OS function failed";
  EOSError e(message);
  e.ErrorCode = code;
  throw e;
}

void Abort() { throw EAbort("Operation aborted"); }
