#include "mms/SlideTextWords.h"

#include "platform/rtl/AnsiString.h"
#include "platform/rtl/CodePage.h"

namespace {

// The class of the byte at `start + offset`, judged in a text that begins at `start`. The split
// only ever asks from the start of a character, so this gives what the whole text would give
// without classifying the text from its beginning for every byte (the windows are a few bytes).
TMbcsByteType ByteClass(const std::string& text, size_t start, size_t offset) {
  const AnsiString window(text.substr(start, offset + 1));
  return ByteType(window, static_cast<int>(offset) + 1);
}

// How many trail bytes a lead byte takes: one in the double-byte pages, and under UTF-8 as many as
// the lead byte announces, so that every character is one word.
size_t TrailBytesOf(unsigned char lead) {
  if (GetACP() != CP_UTF8) return 1;
  if (lead >= 0xF0) return 3;
  if (lead >= 0xE0) return 2;
  return 1;
}

}  // namespace

int SplitTextWords(const std::string& text, std::vector<_K3VN_MMS_Text_Word>& words) {
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    const unsigned char first = static_cast<unsigned char>(text[i]);
    const TMbcsByteType firstClass = ByteClass(text, i, 0);
    _K3VN_MMS_Text_Word word;
    size_t end = i + 1;
    if (firstClass == mbTrailByte) {
      // A trail byte as the very last byte is left out; anywhere else the text is broken.
      if (end == n) return 0;
      words.clear();
      return kSplitStrayTrailByte;
    }
    if (firstClass == mbLeadByte) {
      word.Kind = _K3VN_MMS_Text_Word::kMultiByte;
      const size_t trails = TrailBytesOf(first);
      while (end < n && end - i <= trails) {
        if (ByteClass(text, i, end - i) != mbTrailByte) {
          words.clear();
          return kSplitBrokenCharacter;
        }
        ++end;
      }
    } else if (first == ' ') {
      word.Kind = _K3VN_MMS_Text_Word::kBlanks;
      while (end < n && text[end] == ' ') ++end;
    } else if (first == '\r' || first == '\n') {
      word.Kind = _K3VN_MMS_Text_Word::kBreak;
      if (first == '\r' && end < n && text[end] == '\n') ++end;
    } else {
      word.Kind = _K3VN_MMS_Text_Word::kSingleBytes;
      while (end < n) {
        const char c = text[end];
        if (c == ' ' || c == '\r' || c == '\n' || ByteClass(text, end, 0) != mbSingleByte) break;
        ++end;
      }
    }
    if (word.Kind == _K3VN_MMS_Text_Word::kBreak) {
      word.Count = 0;
      word.Text = std::string(1, static_cast<char>(first));
    } else {
      word.Count = static_cast<int>(end - i);
      word.Text = text.substr(i, end - i);
    }
    words.push_back(std::move(word));
    i = end;
  }
  return 0;
}
