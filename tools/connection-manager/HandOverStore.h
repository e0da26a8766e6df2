// What the stand-in connection manager does with each hand-over: keeps the raw record as
// <n>.rec (its 528 bytes at most), checks it and the message file it names, stores a copy of a
// sound message as <n>.mms, and appends one JSON line per hand-over to journal.jsonl. A message
// file is taken only when it is named by an absolute path without "..", is a regular file of the
// user's (not reached through a link) and decodes completely with the product's reader. Numbering goes on
// after the highest record already in the folder, so a restarted stand-in overwrites nothing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "HandOverRecord.h"

class HandOverStore {
 public:
  explicit HandOverStore(std::string folder);

  // One hand-over: true when the record and its message were sound and the copy is stored.
  bool Receive(uint32_t dataKind, const uint8_t* bytes, std::size_t size);

  int Count() const { return received_; }
  // One line per hand-over for a window to show ("1 send "subject" stored").
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  std::string PathOf(int n, const char* extension) const;
  void Journal(const std::string& line);

  std::string folder_;
  int next_ = 1;
  int received_ = 0;
  std::vector<std::string> lines_;
};
