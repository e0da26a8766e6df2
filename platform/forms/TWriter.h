// TWriter: writes a component and what it contains as a text layout. Properties are written in
// the class's declaration order (bases first) when they differ from their default, then what
// DefineProperties writers ask for, then the events, so that no handler can run while a layout
// is applied; nested components follow. Defined properties write their value through Write*.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/forms/LayoutText.h"
#include "platform/forms/TFiler.h"
#include "platform/forms/TReader.h"
#include "platform/rtl/WideString.h"

class TWriter : public TFiler {
 public:
  // The text goes to `stream` when the root has been written.
  explicit TWriter(TStream* stream) : stream_(stream) {}

  void WriteRootComponent(TComponent* root);
  TComponent* RootAncestor = nullptr;  // never set: layouts do not inherit

  void WriteBoolean(bool value);
  void WriteInteger(std::int64_t value);
  void WriteFloat(double value);
  void WriteString(const AnsiString& value);
  void WriteWideString(const WideString& value);
  void WriteIdent(const AnsiString& ident);
  // vaFalse, vaTrue, vaNil and vaNull (the end of a list); other types have their own Write*.
  void WriteValue(TValueType value);
  void WriteListBegin();
  void WriteListEnd();
  // Raw bytes, written as one binary value (consecutive calls join).
  void Write(const void* buffer, int count);

  void DefineProperty(const AnsiString& name, TReaderProc readData, TWriterProc writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const AnsiString& name, TStreamProc readData, TStreamProc writeData,
                            bool hasData) override;

 private:
  void WriteComponent(TComponent* component, TLayoutObject& out);
  void WriteProperties(TPersistent* object, const std::string& prefix, std::vector<TLayoutProperty>& values,
                       std::vector<TLayoutProperty>& events);
  void Put(TLayoutValue value);

  TStream* stream_;
  std::string prefix_;
  std::vector<TLayoutProperty>* defined_ = nullptr;
  // The values being collected for a defined property: the outer list and any open lists.
  std::vector<std::vector<TLayoutValue>> open_;
};

// The layout text of `root` and its contents.
std::string WriteComponentText(TComponent* root);
