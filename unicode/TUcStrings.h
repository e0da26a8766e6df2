// TUcStrings: the wide string list that reads text files and streams in whatever form they come
// (UTF-16 in either byte order, UTF-8 or 8-bit text, told apart by their byte-order mark) and
// always writes UTF-16 little-endian with the mark FF FE.
#pragma once

#include <memory>

#include "unicode/TWideStrings.h"
#include "unicode/WideTextRoutines.h"

enum TUcStreamCharSet { csAnsi, csUnicode, csUnicodeSwapped, csUtf8 };

// The character set of the stream's text by its byte-order mark. The stream is left after a
// recognised mark, otherwise where it was.
TUcStreamCharSet AutoDetectCharacterSet(TStream* stream);

class TAnsiStringsForWideStringsAdapter;
class TAnsiStrings;

class TUcStrings : public TWideStrings {
 public:
  TUcStrings();
  ~TUcStrings() override;
  TUcStrings(const TUcStrings&) = delete;
  TUcStrings& operator=(const TUcStrings&) = delete;

  // This list as 8-bit strings in the system code page.
  TAnsiStrings* AnsiStrings();
  void SetAnsiStrings(TStrings* strings);
  void LoadFromFile(const WideString& fileName) override;
  void LoadFromStream(TStream* stream) override { LoadFromStream_BOM(stream, true); }
  // Without the mark flag the stream is UTF-16 little-endian from its position, any mark kept.
  virtual void LoadFromStream_BOM(TStream* stream, bool withBom);
  // Replaces the file safely: the previous file stays whole when the save fails.
  void SaveToFile(const WideString& fileName) override;
  void SaveToStream(TStream* stream) override { SaveToStream_BOM(stream, true); }
  virtual void SaveToStream_BOM(TStream* stream, bool withBom);

  // The character set of the last file loaded (csUnicode before any).
  TUcStreamCharSet LastFileCharSet() const { return lastFileCharSet_; }
  // The line breaks the edit controls' lines write (CR LF unless set).
  TUcTextLineBreakStyle LineBreakStyle() const { return lineBreakStyle_; }
  void SetLineBreakStyle(TUcTextLineBreakStyle style) { lineBreakStyle_ = style; }

  // "Strings", then the legacy stores: "WideStrings" (read like "Strings"), "WideStringsW"
  // (UTF-8, read only) and "WideStrings_UTF7" (written when a line is not plain ASCII).
  void DefineProperties(TFiler* filer) override;

 private:
  void ReadLegacyList(TReader* reader, bool utf7);
  void WriteUtf7List(TWriter* writer);

  std::unique_ptr<TAnsiStringsForWideStringsAdapter> ansiStrings_;
  TUcStreamCharSet lastFileCharSet_ = csUnicode;
  TUcTextLineBreakStyle lineBreakStyle_ = tlbsCRLF;
};
