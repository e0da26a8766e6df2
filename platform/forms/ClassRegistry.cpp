#include "platform/forms/ClassRegistry.h"

#include <memory>

#include "platform/forms/TColor.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/StringRoutines.h"

namespace {

struct Registry {
  std::vector<std::unique_ptr<TClassInfo>> classes;
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

std::string LowerAscii(std::string s) {
  for (char& c : s)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return s;
}

int IndexOfName(const std::vector<std::string>& names, const std::string& name) {
  for (std::size_t i = 0; i < names.size(); ++i)
    if (LowerAscii(names[i]) == LowerAscii(name)) return static_cast<int>(i);
  return -1;
}

}  // namespace

void InvalidPropertyValue() { throw EReadError("Invalid property value"); }

bool TClassInfo::InheritsFrom(const TClassInfo* other) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (c == other) return true;
  return false;
}

TClassInfo* RegisterClassInfo(const AnsiString& name, TClass type, const AnsiString& parentName) {
  Registry& r = TheRegistry();
  const TClassInfo* parent = parentName.IsEmpty() ? nullptr : GetClass(parentName);
  if (!parentName.IsEmpty() && !parent)
    throw EClassNotFound("Class %s is not registered", {TVarRec(parentName)});
  for (auto& c : r.classes)
    if (SameText(c->Name, name)) {
      // Registering again replaces the description (a test or a later layer may refine it).
      c->Type = type;
      c->Parent = parent;
      c->Props.clear();
      return c.get();
    }
  auto info = std::make_unique<TClassInfo>();
  info->Name = name;
  info->Type = type;
  info->Parent = parent;
  r.classes.push_back(std::move(info));
  return r.classes.back().get();
}

const TClassInfo* GetClass(const AnsiString& name) {
  for (auto& c : TheRegistry().classes)
    if (SameText(c->Name, name)) return c.get();
  return nullptr;
}

const TClassInfo* FindClass(const AnsiString& name) {
  const TClassInfo* info = GetClass(name);
  if (!info) throw EClassNotFound("Class %s is not registered", {TVarRec(name)});
  return info;
}

const TClassInfo* GetClassInfo(TClass type) {
  if (!type) return nullptr;
  for (auto& c : TheRegistry().classes)
    if (c->Type && *c->Type == *type) return c.get();
  return nullptr;
}

const TClassInfo* ClassInfoOf(const TObject* object) {
  if (!object) return nullptr;
  if (const TClassInfo* info = GetClassInfo(object->ClassType())) return info;
  return GetClass(object->ClassName());
}

const TPropInfo* GetPropInfo(const TClassInfo* info, const AnsiString& name) {
  for (const TClassInfo* c = info; c; c = c->Parent)
    for (const TPropInfo& p : c->Props)
      if (SameText(p.Name, name)) return &p;
  return nullptr;
}

std::vector<const TPropInfo*> GetPropInfos(const TClassInfo* info) {
  std::vector<const TClassInfo*> chain;
  for (const TClassInfo* c = info; c; c = c->Parent) chain.insert(chain.begin(), c);
  std::vector<const TPropInfo*> out;
  for (const TClassInfo* c : chain)
    for (const TPropInfo& p : c->Props) {
      // A class that declares a property again (a new default) replaces the base's entry.
      bool replaced = false;
      for (auto& existing : out)
        if (SameText(existing->Name, p.Name)) {
          existing = &p;
          replaced = true;
        }
      if (!replaced) out.push_back(&p);
    }
  return out;
}

std::int64_t GetOrdProp(TPersistent* object, const AnsiString& name) {
  const TPropInfo* p = GetPropInfo(ClassInfoOf(object), name);
  if (!p || !p->GetOrd) throw EReadError("Unknown property %s", {TVarRec(name)});
  return p->GetOrd(object);
}

void SetOrdProp(TPersistent* object, const AnsiString& name, std::int64_t value) {
  const TPropInfo* p = GetPropInfo(ClassInfoOf(object), name);
  if (!p || !p->SetOrd) throw EReadError("Unknown property %s", {TVarRec(name)});
  p->SetOrd(object, value);
}

bool IsStoredProp(TPersistent* object, const TPropInfo* prop) {
  return !prop || !prop->Stored || prop->Stored(object);
}

WideString GetWideStrProp(TPersistent* object, const TPropInfo* prop) {
  if (!prop || !prop->GetWide)
    throw EReadError("Unknown property %s", {TVarRec(prop ? prop->Name : AnsiString())});
  return prop->GetWide(object);
}

void SetWideStrProp(TPersistent* object, const TPropInfo* prop, const WideString& value) {
  if (!prop || !prop->SetWide)
    throw EReadError("Unknown property %s", {TVarRec(prop ? prop->Name : AnsiString())});
  prop->SetWide(object, value);
}

const THandlerBinder* FindHandler(TComponent* root, const std::string& name) {
  std::string key = LowerAscii(name);
  for (const TClassInfo* c = ClassInfoOf(root); c; c = c->Parent) {
    auto it = c->Handlers.find(key);
    if (it != c->Handlers.end()) return &it->second;
  }
  return nullptr;
}

TReadContext& CurrentReadContext() {
  static thread_local TReadContext context;
  return context;
}

TOrdinalCodec OrdinalCodec(TTypeKind kind, const std::vector<std::string>* names) {
  TOrdinalCodec codec;
  if (kind == tkSet) {
    codec.From = [names](const TLayoutValue& v) -> std::int64_t {
      if (v.Kind != TLayoutValue::Set || !names) InvalidPropertyValue();
      std::int64_t bits = 0;
      for (const std::string& n : v.Names) {
        int i = IndexOfName(*names, n);
        if (i < 0 || i >= 63) InvalidPropertyValue();
        bits |= std::int64_t(1) << i;
      }
      return bits;
    };
    codec.To = [names](std::int64_t bits) {
      TLayoutValue v;
      v.Kind = TLayoutValue::Set;
      for (std::size_t i = 0; i < names->size() && i < 63; ++i)
        if (bits & (std::int64_t(1) << i)) v.Names.push_back((*names)[i]);
      return v;
    };
  } else if (kind == tkEnumeration) {
    codec.From = [names](const TLayoutValue& v) -> std::int64_t {
      if (v.Kind != TLayoutValue::Ident || !names) InvalidPropertyValue();
      int i = IndexOfName(*names, v.Name);
      if (i < 0) InvalidPropertyValue();
      return i;
    };
    codec.To = [names](std::int64_t i) {
      if (i < 0 || i >= static_cast<std::int64_t>(names->size())) return TLayoutValue::OfInt(i);
      return TLayoutValue::OfIdent((*names)[static_cast<std::size_t>(i)]);
    };
  } else {
    codec.From = [](const TLayoutValue& v) -> std::int64_t {
      if (v.Kind != TLayoutValue::Integer) InvalidPropertyValue();
      return v.Int;
    };
    codec.To = [](std::int64_t i) { return TLayoutValue::OfInt(i); };
  }
  return codec;
}

TOrdinalCodec ColorCodec() {
  TOrdinalCodec codec;
  codec.From = [](const TLayoutValue& v) -> std::int64_t {
    if (v.Kind == TLayoutValue::Integer) return static_cast<TColor>(v.Int);
    TColor color = 0;
    if (v.Kind != TLayoutValue::Ident || !IdentToColor(v.Name, color)) InvalidPropertyValue();
    return color;
  };
  codec.To = [](std::int64_t value) {
    std::string name;
    if (ColorToIdent(static_cast<TColor>(value), name)) return TLayoutValue::OfIdent(name);
    return TLayoutValue::OfInt(static_cast<TColor>(value));
  };
  return codec;
}

void UnknownHandler(const std::string& name) {
  throw EReadError("Handler %s is not registered", {AnsiString(name)});
}
