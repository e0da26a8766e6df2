// A read-only stream over a resource found by UTF-16 name or by number.
#pragma once

#include "platform/rtl/Resources.h"
#include "platform/rtl/TMemoryStream.h"

class TUcResourceStream : public TCustomMemoryStream {
 public:
  // Raise EResNotFound "Resource %s not found" (the name, or "#" and the number).
  TUcResourceStream(HINSTANCE instance, const WideString& name, LPCWSTR type);
  TUcResourceStream(HINSTANCE instance, int id, LPCWSTR type);
  // Raises EStreamError "Can't write to a read-only resource stream".
  int Write(const void* buffer, int count) override;
  // Replaces the file safely with the resource's bytes.
  void SaveToFile(const WideString& fileName);

 private:
  void Initialize(HINSTANCE instance, LPCWSTR name, LPCWSTR type, const WideString& shownName);
};
