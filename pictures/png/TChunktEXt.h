// TChunktEXt: a keyword and a text, the chunk's own bytes. Data too short to hold both is kept
// and written back until a field is set.
#pragma once

#include "pictures/png/TChunk.h"

class TChunktEXt : public TChunk {
 public:
  static constexpr const char* kChunkName = "tEXt";
  explicit TChunktEXt(TPNGObject* owner) : TChunktEXt(owner, kChunkName) {}
  const char* GetName() const override { return kChunkName; }

  bool LoadFromStream(TStream* stream, const TChunkName& name, std::uint32_t size) override;
  bool SaveToStream(TStream* stream) override;
  void Assign(TChunk* source) override;

  const AnsiString& Keyword() const { return keyword_; }
  const AnsiString& Text() const { return text_; }
  void SetKeyword(const AnsiString& value) { keyword_ = value, fieldsSet_ = true; }
  void SetText(const AnsiString& value) { text_ = value, fieldsSet_ = true; }

 protected:
  TChunktEXt(TPNGObject* owner, const char* name) : TChunk(owner, name) {}
  // The bytes before the first zero byte (all of them when there is none); the index of that
  // zero byte, or the data length.
  std::uint32_t ReadKeyword();

  AnsiString keyword_;
  AnsiString text_;
  bool fieldsSet_ = true;
};
