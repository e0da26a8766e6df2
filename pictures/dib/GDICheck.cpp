#include "pictures/dib/GDICheck.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/LastError.h"

void GDIError() {
  DWORD code = GetLastError();
  if (code != 0) throw EOutOfResources(SysErrorMessage(code));
  throw EOutOfResources("Out of system resources");
}
