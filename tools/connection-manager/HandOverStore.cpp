// Storing and journaling hand-overs. Every file is written through the platform's replacing
// write, so a stand-in killed halfway leaves whole files or none.
#include "HandOverStore.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
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

constexpr std::size_t kMaxMessageBytes = std::size_t{64} << 20;

// Whether a path names its file without going up a folder: ".." would let a record reach past
// the folder it names.
bool ClimbsFolders(const std::string& path) {
  std::size_t start = 0;
  while (start <= path.size()) {
    const std::size_t end = std::min(path.find('/', start), path.size());
    if (path.compare(start, end - start, "..") == 0) return true;
    start = end + 1;
  }
  return false;
}

// Reads the message file a record names: an absolute path without "..", the file itself (a link
// is not followed) and a regular file the user owns. `problem` says why not.
bool ReadMessageFile(const std::string& path, std::string* contents, std::string* problem) {
  if (path.empty() || path[0] != '/' || ClimbsFolders(path)) {
    *problem = "message file not named by an absolute path without ..";
    return false;
  }
  const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) {
    *problem = errno == ELOOP ? "message file is a link" : "message file cannot be read";
    return false;
  }
  std::unique_ptr<int, void (*)(int*)> closer(new int(fd), [](int* f) {
    close(*f);
    delete f;
  });
  struct stat st {};
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    *problem = "message file is not a regular file";
    return false;
  }
  if (st.st_uid != getuid()) {
    *problem = "message file belongs to another user";
    return false;
  }
  if (std::uint64_t(st.st_size) > kMaxMessageBytes) {
    *problem = "message file too large";
    return false;
  }
  contents->clear();
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      *problem = "message file cannot be read";
      return false;
    }
    if (n == 0) break;
    if (contents->size() + std::size_t(n) > kMaxMessageBytes) {
      *problem = "message file too large";
      return false;
    }
    contents->append(buffer, std::size_t(n));
  }
  return true;
}

// Whether the bytes decode completely as a message with the product's reader: the header fields,
// a multipart body whose every declared entry is whole, and its SMIL part. `problem` says why not.
bool DecodesAsMessage(const std::string& contents, std::string* problem) {
  if (contents.size() > std::size_t(INT32_MAX)) {
    *problem = "message file too large";
    return false;
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(contents.data());
  std::unique_ptr<tMMS_RetrieveConf, void (*)(tMMS_RetrieveConf*)> record(
      MmsDecodeHeaders(bytes, int(contents.size())),
      [](tMMS_RetrieveConf* r) { MmsPduFree(r, MMS_PDU_RETRIEVE_CONF); });
  if (!record) {
    *problem = "message file does not decode: no message header";
    return false;
  }
  if (record->Body.empty()) {
    *problem = "message file does not decode: no body";
    return false;
  }
  std::unique_ptr<tMMS_Body, void (*)(tMMS_Body*)> body(
      MmsDecodeMultipart(record->Body.data(), int(record->Body.size())), MmsFreeDecodedBody);
  if (!body) {
    *problem = "message file does not decode: no multipart body";
    return false;
  }
  if (body->Incomplete || body->EntriesDecoded != body->EntriesDeclared) {
    *problem = "message file does not decode completely: " + std::to_string(body->EntriesDecoded) + " of " +
               std::to_string(body->EntriesDeclared) + " parts";
    return false;
  }
  if (!body->Smil) {
    *problem = "message file does not decode: no SMIL part";
    return false;
  }
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
  // A record is 528 bytes: a longer one is kept only that far (what follows is no record's).
  if (!platform::WriteFileReplacing(PathOf(n, ".rec"), bytes,
                                    bytes ? std::min(size, HandOverRecord::kSize) : 0)) {
    problems.push_back("record cannot be kept");
  }
  HandOverRecord record;
  for (std::string& p : ReadHandOverRecord(dataKind, bytes, size, &record)) problems.push_back(std::move(p));

  std::string stored;
  long long messageSize = -1;
  if (problems.empty()) {
    std::string contents, problem;
    if (!ReadMessageFile(platform::FsPath(record.fileName.c_str()), &contents, &problem) ||
        !DecodesAsMessage(contents, &problem)) {
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
