// The class and property registry the layout reader and writer work from: each class that a
// layout may name is registered by name with a factory and its base class, and lists its
// published properties in declaration order (name, kind, how to set and get it, its default)
// and, for forms, its event handlers by name. RegisterProperties<C>(...) is the way in:
//
//   RegisterProperties<TLabel>("TLabel", "TGraphicControl", Factory<TLabel>())
//       .Int("Tag", &TLabel::GetTag, &TLabel::SetTag, 0)
//       .Event("OnClick", &TLabel::OnClick);
#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/forms/LayoutText.h"
#include "platform/forms/TComponent.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/WideString.h"

class TReader;

enum TTypeKind {
  tkUnknown,
  tkInteger,
  tkChar,
  tkEnumeration,
  tkFloat,
  tkString,
  tkSet,
  tkClass,
  tkMethod,
  tkWChar,
  tkLString,
  tkWString,
  tkVariant,
  tkArray,
  tkRecord,
  tkInterface,
  tkInt64,
  tkDynArray
};

struct TPropInfo {
  AnsiString Name;
  TTypeKind Kind = tkUnknown;
  // Applies a layout value; raises EReadError "Invalid property value" when it does not fit.
  std::function<void(TPersistent* object, const TLayoutValue& value, TReader& reader)> Set;
  // The value to write, or nothing when it equals the default or is not stored.
  std::function<std::optional<TLayoutValue>(TPersistent* object)> Get;
  // tkClass properties that own a persistent sub-object (Font, Picture): dotted names go in.
  std::function<TPersistent*(TPersistent* object)> Object;
  // Ordinal access for the classic-style routines.
  std::function<std::int64_t(TPersistent* object)> GetOrd;
  std::function<void(TPersistent* object, std::int64_t value)> SetOrd;
  // UTF-16 string access (tkWString).
  std::function<WideString(TPersistent* object)> GetWide;
  std::function<void(TPersistent* object, const WideString& value)> SetWide;
  // The stored test; null: always stored.
  std::function<bool(TPersistent* object)> Stored;
  // The declared default of an ordinal property; kNoDefault when it has none.
  static constexpr std::int64_t kNoDefault = 0x80000000;
  std::int64_t Default = kNoDefault;
};

using THandlerBinder = std::function<std::any(TComponent* root)>;

struct TClassInfo {
  AnsiString Name;
  TClass Type = nullptr;
  const TClassInfo* Parent = nullptr;
  std::function<TComponent*(TComponent* owner)> Create;  // null for abstract classes
  std::vector<TPropInfo> Props;                          // this class's own, in order
  std::map<std::string, THandlerBinder> Handlers;        // lower-cased handler name

  bool InheritsFrom(const TClassInfo* other) const;
};

// Registered classes by name (case-insensitive) and by exact type.
TClassInfo* RegisterClassInfo(const AnsiString& name, TClass type, const AnsiString& parentName);
// Raises EClassNotFound "Class %s is not registered".
const TClassInfo* FindClass(const AnsiString& name);
const TClassInfo* GetClass(const AnsiString& name);  // null when absent
const TClassInfo* GetClassInfo(TClass type);         // the exact class, null when absent
// The nearest registered class of an object (walks nothing: exact type, then its name).
const TClassInfo* ClassInfoOf(const TObject* object);
// Searches the class and its bases; null when absent.
const TPropInfo* GetPropInfo(const TClassInfo* info, const AnsiString& name);
// Every property, bases first, in declaration order.
std::vector<const TPropInfo*> GetPropInfos(const TClassInfo* info);
std::int64_t GetOrdProp(TPersistent* object, const AnsiString& name);
void SetOrdProp(TPersistent* object, const AnsiString& name, std::int64_t value);
// The property's stored test (true when it has none).
bool IsStoredProp(TPersistent* object, const TPropInfo* prop);
// A UTF-16 string property's value; raise EReadError "Unknown property %s" for another kind.
WideString GetWideStrProp(TPersistent* object, const TPropInfo* prop);
void SetWideStrProp(TPersistent* object, const TPropInfo* prop, const WideString& value);
// Finds a form's handler by name, searching the root's class and its bases.
const THandlerBinder* FindHandler(TComponent* root, const std::string& name);

[[noreturn]] void InvalidPropertyValue();
// Raises EReadError "Handler %s is not registered".
[[noreturn]] void UnknownHandler(const std::string& name);

// Set while a reader applies properties; event and component properties use it.
struct TReadContext {
  TComponent* Root = nullptr;
  // A component-reference property: resolved by name after the whole layout is read.
  std::function<void(std::string name, std::function<void(TComponent*)> assign)> AddFixup;
};
TReadContext& CurrentReadContext();

// How an ordinal property's value is written: a number, an enumeration name, a set of names
// or a colour name.
struct TOrdinalCodec {
  std::function<std::int64_t(const TLayoutValue&)> From;  // raises EReadError when it does not fit
  std::function<TLayoutValue(std::int64_t)> To;
};
TOrdinalCodec OrdinalCodec(TTypeKind kind, const std::vector<std::string>* names);
TOrdinalCodec ColorCodec();

template <class C>
std::function<TComponent*(TComponent*)> Factory() {
  return [](TComponent* owner) -> TComponent* { return new C(owner); };
}

template <class C>
class RegisterProperties {
 public:
  RegisterProperties(const AnsiString& name, const AnsiString& parentName,
                     std::function<TComponent*(TComponent*)> create = nullptr)
      : info_(RegisterClassInfo(name, &typeid(C), parentName)) {
    info_->Create = std::move(create);
  }

  template <class G, class S>
  RegisterProperties& Int(const char* name, G get, S set, std::optional<std::int64_t> def = std::nullopt) {
    return Ordinal(name, tkInteger, get, set, def, OrdinalCodec(tkInteger, nullptr));
  }
  template <class G, class S>
  RegisterProperties& Bool(const char* name, G get, S set, std::optional<bool> def = std::nullopt) {
    static const std::vector<std::string> names{"False", "True"};
    std::optional<std::int64_t> d;
    if (def) d = *def ? 1 : 0;
    return Ordinal(name, tkEnumeration, get, set, d, OrdinalCodec(tkEnumeration, &names));
  }
  // `names` must live as long as the registry (a static table).
  template <class G, class S>
  RegisterProperties& Enum(const char* name, G get, S set, std::optional<std::int64_t> def,
                           const std::vector<std::string>* names) {
    return Ordinal(name, tkEnumeration, get, set, def, OrdinalCodec(tkEnumeration, names));
  }
  // A set stored as bits (1 << ordinal of each name).
  template <class G, class S>
  RegisterProperties& Set(const char* name, G get, S set, std::optional<std::int64_t> def,
                          const std::vector<std::string>* names) {
    return Ordinal(name, tkSet, get, set, def, OrdinalCodec(tkSet, names));
  }
  // A colour: an integer, or a colour constant's name ("clRed", "clBtnFace").
  template <class G, class S>
  RegisterProperties& Color(const char* name, G get, S set, std::optional<std::int64_t> def = std::nullopt) {
    return Ordinal(name, tkInteger, get, set, def, ColorCodec());
  }
  template <class G, class S>
  RegisterProperties& Str(const char* name, G get, S set, std::optional<AnsiString> def = AnsiString()) {
    TPropInfo p;
    p.Name = name;
    p.Kind = tkLString;
    p.Set = [set](TPersistent* o, const TLayoutValue& v, TReader&) {
      if (v.Kind != TLayoutValue::String) InvalidPropertyValue();
      std::invoke(set, *static_cast<C*>(o), AnsiString(WideString(v.Str)));
    };
    p.Get = [get, def](TPersistent* o) -> std::optional<TLayoutValue> {
      AnsiString value = std::invoke(get, *static_cast<C*>(o));
      if (def && value == *def) return std::nullopt;
      return TLayoutValue::OfString(WideString(value).ToU16());
    };
    return Add(std::move(p));
  }
  template <class G, class S>
  RegisterProperties& WStr(const char* name, G get, S set) {
    TPropInfo p;
    p.Name = name;
    p.Kind = tkWString;
    p.Set = [set](TPersistent* o, const TLayoutValue& v, TReader&) {
      if (v.Kind != TLayoutValue::String) InvalidPropertyValue();
      std::invoke(set, *static_cast<C*>(o), WideString(v.Str));
    };
    p.Get = [get](TPersistent* o) -> std::optional<TLayoutValue> {
      WideString value = std::invoke(get, *static_cast<C*>(o));
      if (value.IsEmpty()) return std::nullopt;
      return TLayoutValue::OfString(value.ToU16());
    };
    p.GetWide = [get](TPersistent* o) { return WideString(std::invoke(get, *static_cast<C*>(o))); };
    p.SetWide = [set](TPersistent* o, const WideString& v) { std::invoke(set, *static_cast<C*>(o), v); };
    return Add(std::move(p));
  }
  // One UTF-16 unit, written as a one-character string; an empty string reads as 0.
  template <class G, class S>
  RegisterProperties& WChar(const char* name, G get, S set, std::optional<char16_t> def = std::nullopt) {
    TPropInfo p;
    p.Name = name;
    p.Kind = tkWChar;
    if (def) p.Default = *def;
    p.GetOrd = [get](TPersistent* o) {
      return static_cast<std::int64_t>(std::invoke(get, *static_cast<C*>(o)));
    };
    p.SetOrd = [set](TPersistent* o, std::int64_t v) {
      std::invoke(set, *static_cast<C*>(o), static_cast<char16_t>(v));
    };
    p.Set = [set](TPersistent* o, const TLayoutValue& v, TReader&) {
      if (v.Kind == TLayoutValue::Integer && v.Int >= 0 && v.Int <= 0xFFFF) {
        std::invoke(set, *static_cast<C*>(o), static_cast<char16_t>(v.Int));
        return;
      }
      if (v.Kind != TLayoutValue::String || v.Str.size() > 1) InvalidPropertyValue();
      std::invoke(set, *static_cast<C*>(o), v.Str.empty() ? char16_t{0} : v.Str[0]);
    };
    p.Get = [get, def](TPersistent* o) -> std::optional<TLayoutValue> {
      char16_t value = std::invoke(get, *static_cast<C*>(o));
      if (def && value == *def) return std::nullopt;
      return TLayoutValue::OfString(std::u16string(1, value));
    };
    return Add(std::move(p));
  }
  // The stored test of the property registered last.
  template <class F>
  RegisterProperties& StoredIf(F stored) {
    info_->Props.back().Stored = [stored](TPersistent* o) {
      return std::invoke(stored, *static_cast<C*>(o));
    };
    return *this;
  }
  // An owned sub-object whose own properties are written as "Name.Property".
  template <class G>
  RegisterProperties& Object(const char* name, G get) {
    TPropInfo p;
    p.Name = name;
    p.Kind = tkClass;
    p.Object = [get](TPersistent* o) -> TPersistent* { return std::invoke(get, *static_cast<C*>(o)); };
    return Add(std::move(p));
  }
  // A reference to another component of the layout, by name; resolved after reading.
  template <class T, class G, class S>
  RegisterProperties& Component(const char* name, G get, S set) {
    TPropInfo p;
    p.Name = name;
    p.Kind = tkClass;
    p.Set = [set](TPersistent* o, const TLayoutValue& v, TReader&) {
      if (v.Kind != TLayoutValue::Ident) InvalidPropertyValue();
      C* target = static_cast<C*>(o);
      if (v.Name == "nil") {
        std::invoke(set, *target, static_cast<T*>(nullptr));
        return;
      }
      CurrentReadContext().AddFixup(v.Name, [set, target](TComponent* found) {
        T* typed = dynamic_cast<T*>(found);
        if (!typed) InvalidPropertyValue();
        std::invoke(set, *target, typed);
      });
    };
    p.Get = [get](TPersistent* o) -> std::optional<TLayoutValue> {
      T* value = std::invoke(get, *static_cast<C*>(o));
      if (!value) return std::nullopt;
      return TLayoutValue::OfIdent(value->Name().ToStd());
    };
    return Add(std::move(p));
  }
  // An event: `member` is a std::function data member; the layout names a form handler.
  template <class E>
  RegisterProperties& Event(const char* name, E C::*member) {
    TPropInfo p;
    p.Name = name;
    p.Kind = tkMethod;
    std::string event = name;
    p.Set = [member, event](TPersistent* o, const TLayoutValue& v, TReader&) {
      if (v.Kind != TLayoutValue::Ident) InvalidPropertyValue();
      C* target = static_cast<C*>(o);
      if (v.Name == "nil") {
        target->*member = nullptr;
        return;
      }
      TComponent* root = CurrentReadContext().Root;
      const THandlerBinder* binder = FindHandler(root, v.Name);
      if (!binder) UnknownHandler(v.Name);
      std::any bound = (*binder)(root);
      E* handler = std::any_cast<E>(&bound);
      if (!handler) InvalidPropertyValue();
      target->*member = *handler;
      target->SetHandlerName(event, v.Name);
    };
    p.Get = [member, event](TPersistent* o) -> std::optional<TLayoutValue> {
      C* target = static_cast<C*>(o);
      if (!(target->*member)) return std::nullopt;
      std::string handler = target->HandlerName(event);
      if (handler.empty()) return std::nullopt;
      return TLayoutValue::OfIdent(handler);
    };
    return Add(std::move(p));
  }
  // A form's handler `method(args...)`, bound to the form being read.
  template <class... Args>
  RegisterProperties& Handler(const char* name, void (C::*method)(Args...)) {
    std::string key = Lower(name);
    info_->Handlers[key] = [method](TComponent* root) -> std::any {
      C* form = dynamic_cast<C*>(root);
      if (!form) return {};
      return std::any(
          std::function<void(Args...)>([form, method](Args... args) { (form->*method)(args...); }));
    };
    return *this;
  }

  TClassInfo* Info() const { return info_; }

 private:
  static std::string Lower(std::string s) {
    for (char& c : s)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
    return s;
  }

  template <class G, class S>
  RegisterProperties& Ordinal(const char* name, TTypeKind kind, G get, S set, std::optional<std::int64_t> def,
                              TOrdinalCodec codec) {
    using V = std::decay_t<std::invoke_result_t<G, C&>>;
    TPropInfo p;
    p.Name = name;
    p.Kind = kind;
    p.SetOrd = [set](TPersistent* o, std::int64_t v) {
      std::invoke(set, *static_cast<C*>(o), static_cast<V>(v));
    };
    p.GetOrd = [get](TPersistent* o) {
      return static_cast<std::int64_t>(std::invoke(get, *static_cast<C*>(o)));
    };
    auto setOrd = p.SetOrd;
    auto getOrd = p.GetOrd;
    p.Set = [setOrd, codec](TPersistent* o, const TLayoutValue& v, TReader&) { setOrd(o, codec.From(v)); };
    p.Get = [getOrd, codec, def](TPersistent* o) -> std::optional<TLayoutValue> {
      std::int64_t v = getOrd(o);
      if (def && v == *def) return std::nullopt;
      return codec.To(v);
    };
    return Add(std::move(p));
  }

  RegisterProperties& Add(TPropInfo p) {
    info_->Props.push_back(std::move(p));
    return *this;
  }

  TClassInfo* info_;
};
