#include "unicode/TUcResourceStream.h"

#include "platform/rtl/Exceptions.h"
#include "unicode/TUcFileStream.h"

TUcResourceStream::TUcResourceStream(HINSTANCE instance, const WideString& name, LPCWSTR type) {
  Initialize(instance, name.c_str(), type, name);
}

TUcResourceStream::TUcResourceStream(HINSTANCE instance, int id, LPCWSTR type) {
  Initialize(instance, MAKEINTRESOURCEW(static_cast<WORD>(id)), type, WideString(u"#") + WideString(id));
}

void TUcResourceStream::Initialize(HINSTANCE instance, LPCWSTR name, LPCWSTR type,
                                   const WideString& shownName) {
  HRSRC resource = FindResourceW(instance, name, type);
  HGLOBAL loaded = resource ? LoadResource(instance, resource) : nullptr;
  if (!loaded) throw EResNotFound("Resource " + AnsiString(shownName) + " not found");
  SetPointer(LockResource(loaded), SizeofResource(instance, resource));
}

int TUcResourceStream::Write(const void*, int) {
  throw EStreamError("Can't write to a read-only resource stream");
}

void TUcResourceStream::SaveToFile(const WideString& fileName) {
  UcWriteFileReplacing(fileName, Memory(), static_cast<std::size_t>(Size()));
}
