// Storing and journaling hand-overs. Every file is written through the platform's replacing
// write, so a stand-in killed halfway leaves whole files or none.
#include "HandOverStore.h"

#include <dirent.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>

#include "mms/MmsDecoder.h"
#include "platform/rtl/SysUtils.h"
#include "tools/JsonText.h"

namespace {

// The highest n of the <n>.rec files in a folder (0 when none).
int HighestRecord(const std::string& folder) {
  int highest = 0;
  std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
  if (!dir) return 0;
  while (const dirent* entry = readdir(dir.get())) {
    char* end = nullptr;
    const long n = std::strtol(entry->d_name, &end, 10);
    if (end != entry->d_name && std::string(end) == ".rec" && n > highest && n < 1000000) highest = int(n);
  }
  return highest;
}

// Whether the file decodes as a message; `problem` says why not.
bool DecodesAsMessage(const std::string& path, std::string* contents, std::string* problem) {
  if (!platform::ReadWholeFile(path, *contents, std::size_t{64} << 20)) {
    *problem = "message file cannot be read";
    return false;
  }
  tMMS_RetrieveConf* record =
      MmsDecodeHeaders(reinterpret_cast<const uint8_t*>(contents->data()), int(contents->size()));
  if (!record) {
    *problem = "message file does not decode";
    return false;
  }
  MmsPduFree(record, MMS_PDU_RETRIEVE_CONF);
  return true;
}

}  // namespace

HandOverStore::HandOverStore(std::string folder) : folder_(std::move(folder)) {
  next_ = HighestRecord(folder_) + 1;
}

std::string HandOverStore::PathOf(int n, const char* extension) const {
  return folder_ + "/" + std::to_string(n) + extension;
}

void HandOverStore::Journal(const std::string& line) {
  const int fd = open((folder_ + "/journal.jsonl").c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
  if (fd < 0) return;
  const std::string text = line + "\n";
  // One write of a line under PIPE_BUF-sized lines keeps concurrent readers from seeing half.
  [[maybe_unused]] const ssize_t written = write(fd, text.data(), text.size());
  close(fd);
}

bool HandOverStore::Receive(uint32_t dataKind, const uint8_t* bytes, std::size_t size) {
  const int n = next_++;
  ++received_;
  std::vector<std::string> problems;
  if (!platform::WriteFileReplacing(PathOf(n, ".rec"), bytes, bytes ? size : 0)) {
    problems.push_back("record cannot be kept");
  }
  HandOverRecord record;
  for (std::string& p : ReadHandOverRecord(dataKind, bytes, size, &record)) problems.push_back(std::move(p));

  std::string stored;
  long long messageSize = -1;
  if (problems.empty()) {
    std::string contents, problem;
    if (!DecodesAsMessage(platform::FsPath(record.fileName.c_str()), &contents, &problem)) {
      problems.push_back(problem);
    } else if (!platform::WriteFileReplacing(PathOf(n, ".mms"), contents.data(), contents.size())) {
      problems.push_back("copy cannot be stored");
    } else {
      stored = std::to_string(n) + ".mms";
      messageSize = (long long)contents.size();
    }
  }

  std::string line = "{\"n\": " + std::to_string(n) + ", \"mode\": " + std::to_string(record.mode) +
                     ", \"subject\": " + JsonQuote(record.subject) +
                     ", \"file\": " + JsonQuote(record.fileName) +
                     ", \"stored\": " + (stored.empty() ? std::string("null") : JsonQuote(stored)) +
                     ", \"size\": " + std::to_string(messageSize) + ", \"problems\": [";
  for (std::size_t i = 0; i < problems.size(); ++i) line += (i ? ", " : "") + JsonQuote(problems[i]);
  Journal(line + "]}");

  const char* mode = record.mode == 0 ? "send" : record.mode == 2 ? "drafts" : "?";
  lines_.push_back(std::to_string(n) + " " + mode + " \"" + record.subject + "\" " +
                   (problems.empty() ? "stored" : "refused: " + problems.front()));
  return problems.empty();
}
