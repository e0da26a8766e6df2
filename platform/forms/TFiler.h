// TFiler, the base of the layout reader and writer: what a persistent object's
// DefineProperties uses to claim properties of its own by name, read and written by its own
// procedures (values through the reader and writer, or raw bytes through a stream).
#pragma once

#include <functional>

#include "platform/rtl/Object.h"
#include "platform/rtl/TStream.h"

class TComponent;
class TReader;
class TWriter;

using TReaderProc = std::function<void(TReader* reader)>;
using TWriterProc = std::function<void(TWriter* writer)>;
using TStreamProc = std::function<void(TStream* stream)>;

class TFiler : public TObject {
 public:
  // `hasData` false: the writer leaves the property out.
  virtual void DefineProperty(const AnsiString& name, TReaderProc readData, TWriterProc writeData,
                              bool hasData) = 0;
  virtual void DefineBinaryProperty(const AnsiString& name, TStreamProc readData, TStreamProc writeData,
                                    bool hasData) = 0;

  // Inheritance of layouts is not used: there is never an ancestor.
  TPersistent* Ancestor = nullptr;
  TComponent* Root() const { return root_; }
  TComponent* LookupRoot() const { return root_; }

 protected:
  TComponent* root_ = nullptr;
};
