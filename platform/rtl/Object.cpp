// TObject::ClassName from the type's run-time name.
#include "platform/rtl/Object.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "platform/rtl/Exceptions.h"

AnsiString TObject::ClassName() const {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(
      abi::__cxa_demangle(typeid(*this).name(), nullptr, nullptr, &status), std::free);
  std::string full = (status == 0 && name) ? name.get() : typeid(*this).name();
  std::size_t colon = full.rfind("::");
  return AnsiString(colon == std::string::npos ? full : full.substr(colon + 2));
}

void TPersistent::Assign(TPersistent* source) {
  if (source) {
    source->AssignTo(this);
  } else {
    AssignError(nullptr);
  }
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* source) {
  AnsiString sourceName = source ? source->ClassName() : AnsiString("nil");
  throw EConvertError("A " + sourceName + " cannot be assigned to a " + ClassName());
}
