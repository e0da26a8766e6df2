#include "platform/forms/TReader.h"

#include <algorithm>
#include <functional>
#include <limits>
#include <memory>
#include <utility>

#include "platform/forms/ClassRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/Format.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/TMemoryStream.h"

namespace {

std::string ReadAll(TStream* stream) {
  std::string text;
  char buf[4096];
  for (;;) {
    int n = stream->Read(buf, sizeof buf);
    if (n <= 0) break;
    text.append(buf, static_cast<std::size_t>(n));
  }
  return text;
}

// Restores the thread's read context when a read ends, however it ends.
class ContextScope {
 public:
  explicit ContextScope(TReadContext next) : saved_(std::move(CurrentReadContext())) {
    CurrentReadContext() = std::move(next);
  }
  ~ContextScope() { CurrentReadContext() = std::move(saved_); }

 private:
  TReadContext saved_;
};

}  // namespace

TReader::TReader(TStream* stream) : tree_(ParseLayout(ReadAll(stream))) {}
TReader::TReader(std::string_view text) : tree_(ParseLayout(text)) {}

void ReadComponentText(TComponent* root, std::string_view text) {
  TReader reader(text);
  reader.ReadRootComponent(root);
}

void TReader::ReadRootComponent(TComponent* root) {
  root_ = root;
  owner_ = root;
  parent_ = root;
  loaded_.clear();
  struct Fixup {
    std::string name;
    std::function<void(TComponent*)> assign;
  };
  std::vector<Fixup> fixups;
  TReadContext context;
  context.Root = root;
  context.AddFixup = [&fixups](std::string name, std::function<void(TComponent*)> assign) {
    fixups.push_back({std::move(name), std::move(assign)});
  };
  ContextScope scope(std::move(context));

  root->SetComponentState(csLoading | csReading);
  loaded_.push_back(root);
  {
    // A read that fails leaves nothing it touched loading.
    platform::ScopeExit abandon([&] {
      for (TComponent* c : loaded_) c->ClearComponentState(csLoading | csReading);
    });
    if (!tree_.Name.empty()) root->SetName(tree_.Name);
    ApplyProperties(root, tree_.Props);
    for (const TLayoutObject& child : tree_.Children) ReadChild(child, root);
    for (const Fixup& f : fixups) {
      TComponent* found = SameText(root->Name(), f.name) ? root : root->FindComponent(f.name);
      if (!found) throw EReadError("Invalid property value");
      f.assign(found);
    }
    abandon.Release();
  }
  for (TComponent* c : loaded_) c->ClearComponentState(csReading);
  // Loaded may free or create components; the list is the creation order as read.
  std::vector<TComponent*> loaded = std::move(loaded_);
  for (TComponent* c : loaded) c->Loaded();
}

TComponent* TReader::ReadChild(const TLayoutObject& obj, TComponent* parent) {
  // An inherited object an ancestor's layout already made takes this layout's changes.
  if (obj.Inherited && !obj.Name.empty())
    if (TComponent* existing = root_->FindComponent(AnsiString(obj.Name.c_str()))) {
      existing->SetComponentState(csLoading | csReading);
      if (std::find(loaded_.begin(), loaded_.end(), existing) == loaded_.end()) loaded_.push_back(existing);
      TComponent* savedParent = parent_;
      parent_ = existing;
      ApplyProperties(existing, obj.Props);
      for (const TLayoutObject& child : obj.Children) ReadChild(child, existing);
      parent_ = savedParent;
      return existing;
    }
  const TClassInfo* info = FindClass(obj.ClassName);
  if (!info->Create) throw EClassNotFound("Class %s is not registered", {AnsiString(obj.ClassName)});
  std::unique_ptr<TComponent> component(info->Create(root_));
  component->SetComponentState(csLoading | csReading);
  // A half-read component leaves the loaded list and the parent chain, then goes; what it already
  // contains goes with it.
  platform::ScopeExit abandon([&] {
    std::erase(loaded_, component.get());
    parent_ = parent;
  });
  if (!obj.Name.empty()) component->SetName(obj.Name);
  component->SetParentComponent(parent);
  TComponent* savedParent = parent_;
  parent_ = component.get();
  loaded_.push_back(component.get());
  ApplyProperties(component.get(), obj.Props);
  for (const TLayoutObject& child : obj.Children) ReadChild(child, component.get());
  parent_ = savedParent;
  abandon.Release();
  return component.release();
}

void TReader::ApplyProperties(TPersistent* target, const std::vector<TLayoutProperty>& props) {
  for (const TLayoutProperty& prop : props) ApplyProperty(target, prop);
}

void TReader::ApplyProperty(TPersistent* target, const TLayoutProperty& prop) {
  TPersistent* object = target;
  std::string_view rest = prop.Name;
  for (;;) {
    std::size_t dot = rest.find('.');
    if (dot == std::string_view::npos) break;
    AnsiString head(rest.substr(0, dot));
    const TPropInfo* p = GetPropInfo(ClassInfoOf(object), head);
    if (!p || !p->Object) throw EReadError("Unknown property %s", {AnsiString(prop.Name)});
    object = p->Object(object);
    if (!object) throw EReadError("Invalid property value");
    rest.remove_prefix(dot + 1);
  }
  AnsiString name(rest);
  const TPropInfo* p = GetPropInfo(ClassInfoOf(object), name);
  if (p && p->Set) {
    p->Set(object, prop.Value, *this);
    return;
  }
  single_.assign(1, prop.Value);
  pending_ = name;
  claimed_ = false;
  object->DefineProperties(this);
  bool claimed = claimed_;
  pending_ = AnsiString();
  frames_.clear();
  single_.clear();
  if (!claimed) throw EReadError("Unknown property %s", {AnsiString(prop.Name)});
}

void TReader::DefineProperty(const AnsiString& name, TReaderProc readData, TWriterProc, bool) {
  if (claimed_ || !readData || !SameText(name, pending_)) return;
  claimed_ = true;
  frames_.assign(1, Frame{&single_, 0});
  readData(this);
  CheckConsumed();
}

void TReader::DefineBinaryProperty(const AnsiString& name, TStreamProc readData, TStreamProc, bool) {
  if (claimed_ || !readData || !SameText(name, pending_)) return;
  claimed_ = true;
  const TLayoutValue& v = single_.front();
  if (v.Kind != TLayoutValue::Binary) InvalidPropertyValue();
  if (v.Bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) InvalidPropertyValue();
  TMemoryStream stream;
  if (!v.Bytes.empty()) stream.WriteBuffer(v.Bytes.data(), static_cast<int>(v.Bytes.size()));
  stream.SetPosition(0);
  readData(&stream);
}

void TReader::CheckConsumed() {
  if (frames_.size() != 1 || frames_.back().index != frames_.back().items->size())
    throw EReadError("Invalid property value");
}

const TLayoutValue& TReader::Current() {
  if (frames_.empty() || frames_.back().index >= frames_.back().items->size())
    throw EReadError("Could not read from the stream");
  return (*frames_.back().items)[frames_.back().index];
}

const TLayoutValue& TReader::Take() {
  const TLayoutValue& v = Current();
  ++frames_.back().index;
  return v;
}

TValueType TReader::NextValue() {
  if (frames_.empty() || frames_.back().index >= frames_.back().items->size()) return vaNull;
  const TLayoutValue& v = Current();
  switch (v.Kind) {
    case TLayoutValue::Integer:
      if (v.Int >= -128 && v.Int <= 127) return vaInt8;
      if (v.Int >= -32768 && v.Int <= 32767) return vaInt16;
      if (v.Int >= std::numeric_limits<int>::min() && v.Int <= std::numeric_limits<int>::max())
        return vaInt32;
      return vaInt64;
    case TLayoutValue::Float:
      return vaExtended;
    case TLayoutValue::String:
      return vaWString;
    case TLayoutValue::Ident:
      if (SameText(AnsiString(v.Name), "False")) return vaFalse;
      if (SameText(AnsiString(v.Name), "True")) return vaTrue;
      if (SameText(AnsiString(v.Name), "nil")) return vaNil;
      return vaIdent;
    case TLayoutValue::Set:
      return vaSet;
    case TLayoutValue::Binary:
      return vaBinary;
    case TLayoutValue::List:
      return vaList;
    case TLayoutValue::Collection:
      return vaCollection;
  }
  return vaNull;
}

TValueType TReader::ReadValue() {
  TValueType type = NextValue();
  if (type == vaList) {
    ReadListBegin();
  } else if (type != vaNull) {
    Take();
  } else if (!frames_.empty() && frames_.size() > 1) {
    ReadListEnd();
  }
  return type;
}

bool TReader::ReadBoolean() {
  TValueType type = NextValue();
  if (type != vaFalse && type != vaTrue) InvalidPropertyValue();
  Take();
  return type == vaTrue;
}

std::int64_t TReader::ReadInt64() {
  const TLayoutValue& v = Current();
  if (v.Kind != TLayoutValue::Integer) InvalidPropertyValue();
  Take();
  return v.Int;
}

int TReader::ReadInteger() {
  const TLayoutValue& v = Current();
  if (v.Kind != TLayoutValue::Integer || v.Int < std::numeric_limits<int>::min() ||
      v.Int > std::numeric_limits<int>::max())
    InvalidPropertyValue();
  Take();
  return static_cast<int>(v.Int);
}

double TReader::ReadFloat() {
  const TLayoutValue& v = Current();
  if (v.Kind == TLayoutValue::Integer) return static_cast<double>(Take().Int);
  if (v.Kind != TLayoutValue::Float) InvalidPropertyValue();
  return Take().Real;
}

WideString TReader::ReadWideString() {
  const TLayoutValue& v = Current();
  if (v.Kind != TLayoutValue::String) InvalidPropertyValue();
  return WideString(Take().Str);
}

AnsiString TReader::ReadString() { return AnsiString(ReadWideString()); }

std::string TReader::ReadByteString() {
  const TLayoutValue& v = Current();
  if (v.Kind != TLayoutValue::String) InvalidPropertyValue();
  for (char16_t u : v.Str)
    if (u > 0xFF) InvalidPropertyValue();
  const TLayoutValue& taken = Take();
  return std::string(taken.Str.begin(), taken.Str.end());
}

AnsiString TReader::ReadIdent() {
  const TLayoutValue& v = Current();
  if (v.Kind != TLayoutValue::Ident) InvalidPropertyValue();
  return AnsiString(Take().Name);
}

void TReader::ReadListBegin() {
  const TLayoutValue& v = Current();
  if (v.Kind != TLayoutValue::List) InvalidPropertyValue();
  Take();
  frames_.push_back(Frame{&v.Items, 0});
}

bool TReader::EndOfList() { return frames_.empty() || frames_.back().index >= frames_.back().items->size(); }

void TReader::ReadListEnd() {
  if (frames_.size() < 2 || !EndOfList()) InvalidPropertyValue();
  frames_.pop_back();
}
