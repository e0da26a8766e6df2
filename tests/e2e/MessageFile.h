// What a message file holds, read back with the project's own reader: its presentation and its
// parts by name and type.
#pragma once

#include <string>
#include <vector>

class TfrmMain;

namespace e2e {

struct MessagePart {
  std::string name, type, bytes;
};

struct MessageFile {
  bool read = false;
  std::string smil;
  std::vector<MessagePart> parts;
  // The content type of the part of this name, "" when there is none.
  std::string TypeOf(const std::string& name) const;
  const MessagePart* Part(const std::string& name) const;
};

MessageFile ReadMessageFile(const std::string& path);
// The message of the main window as its commands encode it: its byte count.
int EncodedSize(TfrmMain* main);

}  // namespace e2e
