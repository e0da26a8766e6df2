// TObject, the root of the form library's classes, TPersistent, and TNotifyEvent, the plain
// event type.
// They live here, at the bottom, because the run-time library's own classes (string lists,
// threads) hold objects and raise events.
#pragma once

#include <functional>
#include <typeinfo>

#include "platform/rtl/AnsiString.h"

class TObject;
using TClass = const std::type_info*;
// An event handler bound to its object: `[this](TObject* sender) { ... }`.
using TNotifyEvent = std::function<void(TObject* Sender)>;

class TObject {
 public:
  TObject() = default;
  virtual ~TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;

  // The class's own name, without namespaces ("TStringList").
  AnsiString ClassName() const;
  // Exact identity: ClassType() == &typeid(TStringList) only for that class itself.
  TClass ClassType() const { return &typeid(*this); }
  template <typename T>
  bool InheritsFrom() const {
    return dynamic_cast<const T*>(this) != nullptr;
  }
  // Message dispatch by the first 32-bit field of `message`; the base hands it on.
  virtual void Dispatch(void* message) { DefaultHandler(message); }
  virtual void DefaultHandler(void* /*message*/) {}
  virtual void AfterConstruction() {}
  virtual void BeforeDestruction() {}
  // Deletes the object (use FreeAndNil where the pointer may be null).
  void Free() {
    BeforeDestruction();
    delete this;
  }
};

class TFiler;  // the form library's property streaming

// An object that can copy another: Assign(source) copies when it knows the source's class,
// else asks source->AssignTo(this); the base AssignTo raises EConvertError.
class TPersistent : public TObject {
 public:
  virtual void Assign(TPersistent* source);
  virtual void DefineProperties(TFiler* /*filer*/) {}

 protected:
  virtual void AssignTo(TPersistent* dest);
  // Raises EConvertError "A <source class> cannot be assigned to a <dest class>".
  [[noreturn]] void AssignError(TPersistent* source);
};

template <typename T>
void FreeAndNil(T*& object) {
  T* doomed = object;
  object = nullptr;
  if (doomed) doomed->Free();
}
