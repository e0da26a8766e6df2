// TReader: builds components from a text layout. It creates each object by its registered class
// with the root as owner and the enclosing component as parent, applies the properties in the
// order written (unknown names are offered to DefineProperties; a name nobody claims raises
// EReadError "Unknown property %s"), then resolves references by name and calls Loaded for each
// component in creation order. Defined properties read their value through the Read* calls.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/forms/LayoutText.h"
#include "platform/forms/TFiler.h"
#include "platform/rtl/WideString.h"

// Value types of the classic binary filer format; NextValue reports the text's values in them.
enum TValueType {
  vaNull,
  vaList,
  vaInt8,
  vaInt16,
  vaInt32,
  vaExtended,
  vaString,
  vaIdent,
  vaFalse,
  vaTrue,
  vaBinary,
  vaSet,
  vaLString,
  vaNil,
  vaCollection,
  vaSingle,
  vaCurrency,
  vaDate,
  vaWString,
  vaInt64,
  vaUTF8String
};

class TReader : public TFiler {
 public:
  // The whole layout is parsed at once; a malformed text raises EReadError here.
  explicit TReader(TStream* stream);
  explicit TReader(std::string_view text);

  // Reads the layout into `root` (an existing component, usually a form) and its children.
  void ReadRootComponent(TComponent* root);

  TComponent* Owner() const { return owner_; }
  TComponent* Parent() const { return parent_; }

  // The value cursor of a defined property.
  TValueType NextValue();
  TValueType ReadValue();
  bool ReadBoolean();
  int ReadInteger();
  std::int64_t ReadInt64();
  double ReadFloat();
  AnsiString ReadString();
  WideString ReadWideString();
  // The next string value as bytes, each unit below 0x100 one byte (legacy 8-bit data stored in
  // a UTF-16 text); a unit above raises EReadError "Invalid property value".
  std::string ReadByteString();
  AnsiString ReadIdent();
  void ReadListBegin();
  void ReadListEnd();
  bool EndOfList();

  void DefineProperty(const AnsiString& name, TReaderProc readData, TWriterProc writeData,
                      bool hasData) override;
  void DefineBinaryProperty(const AnsiString& name, TStreamProc readData, TStreamProc writeData,
                            bool hasData) override;

 private:
  struct Frame {
    const std::vector<TLayoutValue>* items;
    std::size_t index;
  };

  TComponent* ReadChild(const TLayoutObject& obj, TComponent* parent);
  void ApplyProperties(TPersistent* target, const std::vector<TLayoutProperty>& props);
  void ApplyProperty(TPersistent* target, const TLayoutProperty& prop);
  const TLayoutValue& Current();
  const TLayoutValue& Take();
  void CheckConsumed();

  TLayoutObject tree_;
  TComponent* owner_ = nullptr;
  TComponent* parent_ = nullptr;
  std::vector<TComponent*> loaded_;
  std::vector<Frame> frames_;
  std::vector<TLayoutValue> single_;
  AnsiString pending_;
  bool claimed_ = false;
};

// Reads a layout text into `root`.
void ReadComponentText(TComponent* root, std::string_view text);
