#include "platform/forms/TWriter.h"

#include <limits>
#include <utility>

#include "platform/forms/ClassRegistry.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/TMemoryStream.h"

std::string WriteComponentText(TComponent* root) {
  TMemoryStream stream;
  TWriter writer(&stream);
  writer.WriteRootComponent(root);
  return std::string(static_cast<const char*>(stream.Memory()), static_cast<std::size_t>(stream.Size()));
}

void TWriter::WriteRootComponent(TComponent* root) {
  root_ = root;
  TLayoutObject tree;
  WriteComponent(root, tree);
  std::string text = PrintLayout(tree);
  if (text.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
    throw EWriteError("Could not write to the stream");
  stream_->WriteBuffer(text.data(), static_cast<int>(text.size()));
}

void TWriter::WriteComponent(TComponent* component, TLayoutObject& out) {
  const TClassInfo* info = ClassInfoOf(component);
  out.Name = component->Name().ToStd();
  out.ClassName = info ? info->Name.ToStd() : component->ClassName().ToStd();
  component->SetComponentState(csWriting);
  platform::ScopeExit restore([&] { component->ClearComponentState(csWriting); });
  std::vector<TLayoutProperty> events;
  WriteProperties(component, std::string(), out.Props, events);
  for (TLayoutProperty& e : events) out.Props.push_back(std::move(e));
  component->GetChildren(
      [&](TComponent* child) {
        out.Children.emplace_back();
        WriteComponent(child, out.Children.back());
      },
      root_);
}

void TWriter::WriteProperties(TPersistent* object, const std::string& prefix,
                              std::vector<TLayoutProperty>& values, std::vector<TLayoutProperty>& events) {
  for (const TPropInfo* p : GetPropInfos(ClassInfoOf(object))) {
    std::string name = prefix + p->Name.ToStd();
    if (p->Object) {
      if (TPersistent* sub = p->Object(object)) WriteProperties(sub, name + ".", values, events);
      continue;
    }
    if (!p->Get || !IsStoredProp(object, p)) continue;
    std::optional<TLayoutValue> v = p->Get(object);
    if (!v) continue;
    TLayoutProperty prop;
    prop.Name = std::move(name);
    prop.Value = std::move(*v);
    (p->Kind == tkMethod ? events : values).push_back(std::move(prop));
  }
  std::string savedPrefix = std::move(prefix_);
  auto* savedDefined = defined_;
  prefix_ = prefix;
  defined_ = &values;
  object->DefineProperties(this);
  prefix_ = std::move(savedPrefix);
  defined_ = savedDefined;
}

void TWriter::DefineProperty(const AnsiString& name, TReaderProc, TWriterProc writeData, bool hasData) {
  if (!hasData || !writeData || !defined_) return;
  open_.assign(1, {});
  writeData(this);
  if (open_.size() != 1 || open_.front().size() != 1) {
    open_.clear();
    throw EWriteError("Could not write to the stream");
  }
  TLayoutProperty prop;
  prop.Name = prefix_ + name.ToStd();
  prop.Value = std::move(open_.front().front());
  open_.clear();
  defined_->push_back(std::move(prop));
}

void TWriter::DefineBinaryProperty(const AnsiString& name, TStreamProc, TStreamProc writeData, bool hasData) {
  if (!hasData || !writeData || !defined_) return;
  TMemoryStream stream;
  writeData(&stream);
  TLayoutProperty prop;
  prop.Name = prefix_ + name.ToStd();
  prop.Value.Kind = TLayoutValue::Binary;
  const auto* bytes = static_cast<const std::uint8_t*>(stream.Memory());
  prop.Value.Bytes.assign(bytes, bytes + stream.Size());
  defined_->push_back(std::move(prop));
}

void TWriter::Put(TLayoutValue value) {
  if (open_.empty()) throw EWriteError("Could not write to the stream");
  open_.back().push_back(std::move(value));
}

void TWriter::WriteBoolean(bool value) { Put(TLayoutValue::OfIdent(value ? "True" : "False")); }
void TWriter::WriteInteger(std::int64_t value) { Put(TLayoutValue::OfInt(value)); }
void TWriter::WriteFloat(double value) {
  TLayoutValue v;
  v.Kind = TLayoutValue::Float;
  v.Real = value;
  Put(std::move(v));
}
void TWriter::WriteWideString(const WideString& value) { Put(TLayoutValue::OfString(value.ToU16())); }
void TWriter::WriteString(const AnsiString& value) { WriteWideString(WideString(value)); }
void TWriter::WriteIdent(const AnsiString& ident) { Put(TLayoutValue::OfIdent(ident.ToStd())); }

void TWriter::WriteValue(TValueType value) {
  switch (value) {
    case vaFalse:
      WriteBoolean(false);
      break;
    case vaTrue:
      WriteBoolean(true);
      break;
    case vaNil:
      Put(TLayoutValue::OfIdent("nil"));
      break;
    case vaNull:
      WriteListEnd();
      break;
    case vaList:
      WriteListBegin();
      break;
    default:
      throw EWriteError("Could not write to the stream");
  }
}

void TWriter::WriteListBegin() {
  if (open_.empty()) throw EWriteError("Could not write to the stream");
  open_.emplace_back();
}

void TWriter::WriteListEnd() {
  if (open_.size() < 2) throw EWriteError("Could not write to the stream");
  TLayoutValue list;
  list.Kind = TLayoutValue::List;
  list.Items = std::move(open_.back());
  open_.pop_back();
  Put(std::move(list));
}

void TWriter::Write(const void* buffer, int count) {
  if (count <= 0) return;
  if (open_.empty()) throw EWriteError("Could not write to the stream");
  auto& current = open_.back();
  if (current.empty() || current.back().Kind != TLayoutValue::Binary) {
    TLayoutValue v;
    v.Kind = TLayoutValue::Binary;
    current.push_back(std::move(v));
  }
  const auto* bytes = static_cast<const std::uint8_t*>(buffer);
  current.back().Bytes.insert(current.back().Bytes.end(), bytes, bytes + count);
}
