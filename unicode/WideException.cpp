#include "unicode/WideException.h"

#include "platform/rtl/KernelHandles.h"
#include "platform/rtl/LastError.h"
#include "unicode/WideErrorMessages.h"
#include "unicode/WideResStrings.h"

WideException::WideException(const WideString& message)
    : Exception(AnsiString(message)), wideMessage_(message) {}

WideException::WideException(const WideString& format, std::initializer_list<TVarRec> args)
    : WideException(WideFormat(format, args)) {}

WideException::WideException(int ident) : WideException(WideLoadStr(ident)) {}

WideException::WideException(PResStringRec record) : WideException(WideLoadResString(record)) {}

WideException::WideException(int ident, std::initializer_list<TVarRec> args)
    : WideException(WideFormat(WideLoadStr(ident), args)) {}

WideException::WideException(PResStringRec record, std::initializer_list<TVarRec> args)
    : WideException(WideFormat(WideLoadResString(record), args)) {}

WideException::WideException(const WideString& message, int helpContext) : WideException(message) {
  HelpContext = helpContext;
}

WideException::WideException(const WideString& format, std::initializer_list<TVarRec> args, int helpContext)
    : WideException(format, args) {
  HelpContext = helpContext;
}

WideException::WideException(int ident, int helpContext) : WideException(ident) { HelpContext = helpContext; }

WideException::WideException(PResStringRec record, int helpContext) : WideException(record) {
  HelpContext = helpContext;
}

WideException::WideException(int ident, std::initializer_list<TVarRec> args, int helpContext)
    : WideException(ident, args) {
  HelpContext = helpContext;
}

WideException::WideException(PResStringRec record, std::initializer_list<TVarRec> args, int helpContext)
    : WideException(record, args) {
  HelpContext = helpContext;
}

void WideException::SetMessage(const WideString& message) {
  wideMessage_ = message;
  Message = AnsiString(message);
}

void WideRaiseLastOSError() {
  DWORD code = GetLastError();
  EWideOSError error(code != 0 ? WideSysErrorMessage(code) : WideString(u"A call to an OS function failed"));
  error.ErrorCode = code;
  throw error;
}

HANDLE WinCheckH(HANDLE handle) {
  if (!handle) RaiseLastOSError();
  return handle;
}

HANDLE WinCheckFileH(HANDLE handle) {
  if (handle == INVALID_HANDLE_VALUE) RaiseLastOSError();
  return handle;
}

void* WinCheckP(void* pointer) {
  if (!pointer) RaiseLastOSError();
  return pointer;
}
