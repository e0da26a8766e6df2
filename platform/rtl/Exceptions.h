// Exception, the root of everything the form library raises, and its descendants. The message
// is 8-bit text in the system code page; what() gives the same bytes.
#pragma once

#include <exception>
#include <initializer_list>

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/Types.h"

class TVarRec;  // platform/rtl/Format.h, which callers of the Fmt forms include
struct TResStringRec;

class Exception : public std::exception {
 public:
  // Create, CreateHelp.
  explicit Exception(const AnsiString& message) : Message(message) {}
  Exception(const AnsiString& message, int helpContext) : Message(message), HelpContext(helpContext) {}
  // CreateFmt, CreateFmtHelp: the message is Format(format, args). A single argument is
  // written {TVarRec(x)}: a bare {x} also fits the help-context form, and clang warns.
  Exception(const AnsiString& format, std::initializer_list<TVarRec> args);
  Exception(const AnsiString& format, std::initializer_list<TVarRec> args, int helpContext);
  Exception(const AnsiString& format, const TVarRec* args, int high);
  Exception(const AnsiString& format, const TVarRec* args, int high, int helpContext);
  // CreateRes, CreateResFmt, CreateResHelp, CreateResFmtHelp: the message comes from the
  // string table, by id or by resource-string record.
  explicit Exception(int ident);
  explicit Exception(const TResStringRec* record);
  Exception(int ident, std::initializer_list<TVarRec> args);
  Exception(const TResStringRec* record, std::initializer_list<TVarRec> args);
  Exception(int ident, int helpContext);
  Exception(const TResStringRec* record, int helpContext);
  Exception(int ident, std::initializer_list<TVarRec> args, int helpContext);
  Exception(const TResStringRec* record, std::initializer_list<TVarRec> args, int helpContext);
  const char* what() const noexcept override { return Message.c_str(); }

  AnsiString Message;
  int HelpContext = 0;
};

#define MMS_RTL_DECLARE_EXCEPTION(Name, Base) \
  class Name : public Base {                  \
   public:                                    \
    using Base::Base;                         \
  };

// Silent: the application's handler swallows it.
MMS_RTL_DECLARE_EXCEPTION(EAbort, Exception)
MMS_RTL_DECLARE_EXCEPTION(EOutOfMemory, Exception)
MMS_RTL_DECLARE_EXCEPTION(EConvertError, Exception)
MMS_RTL_DECLARE_EXCEPTION(ERangeError, Exception)
MMS_RTL_DECLARE_EXCEPTION(EAssertionFailed, Exception)
MMS_RTL_DECLARE_EXCEPTION(EAbstractError, Exception)
MMS_RTL_DECLARE_EXCEPTION(EStreamError, Exception)
MMS_RTL_DECLARE_EXCEPTION(EFCreateError, EStreamError)
MMS_RTL_DECLARE_EXCEPTION(EFOpenError, EStreamError)
MMS_RTL_DECLARE_EXCEPTION(EFilerError, EStreamError)
MMS_RTL_DECLARE_EXCEPTION(EReadError, EFilerError)
MMS_RTL_DECLARE_EXCEPTION(EWriteError, EFilerError)
MMS_RTL_DECLARE_EXCEPTION(EClassNotFound, EFilerError)
MMS_RTL_DECLARE_EXCEPTION(EResNotFound, Exception)
MMS_RTL_DECLARE_EXCEPTION(EListError, Exception)
MMS_RTL_DECLARE_EXCEPTION(EStringListError, Exception)
MMS_RTL_DECLARE_EXCEPTION(EComponentError, Exception)
MMS_RTL_DECLARE_EXCEPTION(EOutOfResources, Exception)
MMS_RTL_DECLARE_EXCEPTION(EInvalidOperation, Exception)
MMS_RTL_DECLARE_EXCEPTION(EInvalidGraphic, Exception)
MMS_RTL_DECLARE_EXCEPTION(EInvalidGraphicOperation, Exception)
MMS_RTL_DECLARE_EXCEPTION(EThread, Exception)
MMS_RTL_DECLARE_EXCEPTION(EMCIDeviceError, Exception)
MMS_RTL_DECLARE_EXCEPTION(EJPEG, Exception)
MMS_RTL_DECLARE_EXCEPTION(EMenuError, Exception)
MMS_RTL_DECLARE_EXCEPTION(EInvalidCast, Exception)

#undef MMS_RTL_DECLARE_EXCEPTION

// An operating-system failure with its classic error code.
class EOSError : public Exception {
 public:
  using Exception::Exception;
  DWORD ErrorCode = 0;
};

// The text of an error code (a classic code or one made from errno), from strerror_r.
AnsiString SysErrorMessage(DWORD code);
// Raises EOSError for GetLastError() (or `code`) with the message "System error %d: %s"
// ("A call to an OS function failed" for code 0).
[[noreturn]] void RaiseLastOSError();
[[noreturn]] void RaiseLastOSError(DWORD code);
// Raises the silent EAbort.
[[noreturn]] void Abort();
