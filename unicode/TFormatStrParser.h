// Checking the form library's format strings: each specifier has the shape
// %[index:][-][width][.precision]type, where index, width and precision may be "*". A format can
// be rewritten so that every specifier names its argument (GetCanonicalFormatStr), have its
// floating-point specifiers formatted ahead of the UTF-16 formatter
// (ReplaceFloatingArgumentsInFormatString), and be checked against another format, such as a
// message and its translation, for taking the same arguments (CompareFormatStrings).
#pragma once

#include <string>

#include "platform/rtl/Format.h"
#include "platform/rtl/Object.h"
#include "platform/rtl/WideString.h"
#include "unicode/TBufferedString.h"
#include "unicode/WideException.h"

class EFormatSpecError : public EUcGeneralError {
 public:
  using EUcGeneralError::EUcGeneralError;
};

class TFormatStrParser : public TObject {
 public:
  explicit TFormatStrParser(const WideString& format) : format_(format) {}

  bool AtEnd() const { return pos_ >= format_.Length(); }
  char16_t Peek() const { return format_.c_str()[pos_]; }
  // Copies the unit at the read position to the parsed output.
  void AcceptChar();
  // Copies the text up to the next "%" (or the end) to the parsed output.
  void AcceptText();
  // Parses the "%" at the read position and what follows into the parsed output, every
  // specifier with an explicit index. False when it was no specifier ("%%", "% ", a final "%"),
  // which is copied as text. Raises EFormatSpecError "Invalid Format Specifier: %s" for too
  // many digits in a row or a missing or unknown type letter.
  bool ParseFormatSpecifier();

  // Zero units in the format are text like any other and stay in the output.
  WideString ParsedOutput() const { return WideString(std::u16string(output_.Written())); }
  std::u16string_view Written() const { return output_.Written(); }
  void ClearParsedOutput() { output_.Clear(); }
  WideString Rest() const { return format_.SubString(pos_ + 1, format_.Length() - pos_); }
  int LastIndex() const { return lastIndex_; }
  int ExplicitCount() const { return explicitCount_; }
  int ImplicitCount() const { return implicitCount_; }

 private:
  // The number of digits in a row from `at`; seven or more raise.
  int CountDigits(int at) const;
  void AcceptDigits();
  void NextIndex();
  [[noreturn]] void InvalidSpecifier() const;

  WideString format_;
  TBufferedWideString output_;
  int pos_ = 0;  // 0-based
  int lastIndex_ = -1;
  int explicitCount_ = 0;
  int implicitCount_ = 0;
};

// The category of a specifier by its type letter: 0 integer (d u x), 1 floating point
// (e f g m n), 2 pointer (p), 3 string (s). Another letter raises EUcInternalError.
int FormatSpecifierCategory(const WideString& specifier);

// The format with an explicit index in every specifier; a format whose specifiers are all
// explicit, or that has a single implicit one, is returned as it is.
WideString GetCanonicalFormatStr(const WideString& format);
// The format with each floating-point specifier replaced by its text, formatted by the 8-bit
// formatter over `args` (`high`: the last index) and widened; the other specifiers are left
// with an explicit index.
WideString ReplaceFloatingArgumentsInFormatString(const WideString& format, const TVarRec* args, int high);
// Raises EFormatSpecError when the two formats do not take the same arguments: "Number of
// format specifiers do not match." with both formats, or "Argument types for index %d do not
// match. (%s <> %s)".
void CompareFormatStrings(const WideString& formatA, const WideString& formatB);
// The same as a boolean; errors in either format itself still raise.
bool FormatStringsAreCompatible(const WideString& formatA, const WideString& formatB);
