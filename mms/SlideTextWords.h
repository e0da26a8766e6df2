// Splitting a slide's 8-bit text (system code page) into the words its wrapping works on: runs of
// blanks, runs of other single-byte characters, line breaks, and multi-byte characters, each of
// which is a word of its own so that a line never ends inside one.
#pragma once

#include <string>
#include <vector>

struct _K3VN_MMS_Text_Word {
  static constexpr unsigned char kBlanks = 0;
  static constexpr unsigned char kSingleBytes = 1;
  static constexpr unsigned char kBreak = 2;
  static constexpr unsigned char kMultiByte = 3;

  unsigned char Kind = kSingleBytes;
  int Count = 0;     // bytes in the word; 0 for a line break
  std::string Text;  // the word's bytes; a line break holds its CR or LF
};

// Status codes of SplitTextWords.
constexpr int kSplitStrayTrailByte = -7;   // a word would start with a trail byte
constexpr int kSplitBrokenCharacter = -8;  // a lead byte is followed by a byte that is no trail byte

// Appends the words of the text to the list and answers 0. When the text cannot be split (-7, -8)
// the list is emptied. CR LF, CR alone and LF alone are each one break. The end of the text ends
// the split whatever state it is in: a character cut short there is a word of the bytes it has.
int SplitTextWords(const std::string& text, std::vector<_K3VN_MMS_Text_Word>& words);
