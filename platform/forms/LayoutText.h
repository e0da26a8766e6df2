// The text form of a component layout: nested `object Name: TClass ... end` blocks with
// `Property = value` lines. ParseLayout reads it into a tree through one bounded cursor (a
// layout that is cut short, too deep or malformed raises EReadError with its line);
// PrintLayout writes the tree back in the same form. TReader and TWriter work on the tree.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct TLayoutValue;
using TLayoutItem = std::vector<std::pair<std::string, TLayoutValue>>;

struct TLayoutValue {
  enum TKind { Integer, Float, String, Ident, Set, Binary, List, Collection };
  TKind Kind = Integer;
  std::int64_t Int = 0;
  double Real = 0;
  std::u16string Str;                // String
  std::string Name;                  // Ident
  std::vector<std::string> Names;    // Set
  std::vector<std::uint8_t> Bytes;   // Binary
  std::vector<TLayoutValue> Items;   // List
  std::vector<TLayoutItem> Entries;  // Collection

  static TLayoutValue OfInt(std::int64_t v);
  static TLayoutValue OfString(std::u16string v);
  static TLayoutValue OfIdent(std::string v);
};

struct TLayoutProperty {
  std::string Name;  // may be dotted: "Font.Name"
  TLayoutValue Value;
  int Line = 0;
};

struct TLayoutObject {
  std::string Name;
  std::string ClassName;
  // Written "inherited": the object an ancestor's layout made, changed by this one.
  bool Inherited = false;
  int Line = 0;
  std::vector<TLayoutProperty> Props;
  std::vector<TLayoutObject> Children;
};

// One root object; text after its final `end` other than blanks is an error.
TLayoutObject ParseLayout(std::string_view text);
std::string PrintLayout(const TLayoutObject& root);
