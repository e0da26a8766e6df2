// Taking pictures, sounds and texts into a page. Every inserted file is tested and copied into
// the working folder first, so the document refers only to files of its own; a text is written
// by the text editor straight into the TXT folder. An insertion the caller refuses afterwards is
// taken back, and the page gets exactly what it had before.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "editor/MediaTypes.h"
#include "editor/MessageDocument.h"
#include "mms/SlideTextFile.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr int kPictureHeadBytes = 128;

// The device and inode of a file; false when it is not there.
bool Identity(const AnsiString& path, dev_t* device, ino_t* inode) {
  struct stat st {};
  if (::stat(platform::FsPath(path).c_str(), &st) != 0) return false;
  *device = st.st_dev;
  *inode = st.st_ino;
  return true;
}

bool SameFile(const AnsiString& a, const AnsiString& b) {
  if (platform::FsPath(a) == platform::FsPath(b)) return true;
  dev_t da, db;
  ino_t ia, ib;
  return Identity(a, &da, &ia) && Identity(b, &db, &ib) && da == db && ia == ib;
}

bool SameBytes(const AnsiString& a, const AnsiString& b) {
  std::string x, y;
  return platform::ReadWholeFile(platform::FsPath(a), x) && platform::ReadWholeFile(platform::FsPath(b), y) &&
         x == y;
}

// The size of a regular file that opens for reading; -1 when it does not.
long long ReadableSize(const AnsiString& path) {
  const int fd = ::open(platform::FsPath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat st {};
  const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
  ::close(fd);
  return regular ? (long long)st.st_size : -1;
}

// The file's name without its folder ("\" and "/" both end a folder).
AnsiString NameOf(const AnsiString& path) {
  const std::string p = path.c_str();
  const size_t slash = p.find_last_of("/\\");
  return slash == std::string::npos ? path : AnsiString(p.substr(slash + 1));
}

// name.ext -> name_<n>.ext
AnsiString Numbered(const AnsiString& name, int n) {
  const std::string s = name.c_str();
  const size_t dot = s.rfind('.');
  const std::string stem = dot == std::string::npos ? s : s.substr(0, dot);
  const std::string ext = dot == std::string::npos ? "" : s.substr(dot);
  return AnsiString(stem + "_" + std::to_string(n) + ext);
}

// The extension of the file-name part only, without its dot: a dotted folder gives none.
AnsiString NameExt(const AnsiString& path) {
  const std::string name = NameOf(path).c_str();
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? AnsiString() : AnsiString(name.substr(dot + 1));
}

bool IsAcceptedSoundExtension(const AnsiString& ext) {
  for (const char* accepted : {"mid", "wav", "mp3", "MID", "WAV", "MP3"}) {
    if (ext == accepted) return true;
  }
  return false;
}

// What a page had in one slot before an insertion, so that a refused one can be taken back.
struct SlotBefore {
  bool had = false;
  std::string path;
  bool textRead = false;  // a text's bytes were read (its file existed)
  std::string textBytes;
};

SlotBefore Remember(const TMmsFrame* frame, int type) {
  SlotBefore before;
  const TMediaItem* item = frame->GetItem(type);
  before.path = item ? item->Path : std::string();
  before.had = item != nullptr;
  if (type == TMediaItem::kText && before.had) {
    before.textRead = platform::ReadWholeFile(platform::FsPath(before.path.c_str()), before.textBytes);
  }
  return before;
}

}  // namespace

MessageDocument::FileCheck MessageDocument::CheckPicture(const AnsiString& path) {
  if (!FileExists(path)) return FileCheck::kNoSuchFile;
  if (ReadableSize(path) <= 0) return FileCheck::kRefused;

  uint8_t head[kPictureHeadBytes];
  const int fd = ::open(platform::FsPath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return FileCheck::kRefused;
  size_t got = 0;
  while (got < sizeof head) {
    const ssize_t n = ::read(fd, head + got, sizeof head - got);
    if (n <= 0) break;
    got += size_t(n);
  }
  ::close(fd);
  if (got < sizeof head) return FileCheck::kRefused;  // too short to be a picture

  const AnsiString type = GetImageType(head, got);
  const AnsiString ext = UpperCase(ExtractFileExt(path));
  if (ext != ".JPG" && ext != ".BMP" && ext != ".GIF") return FileCheck::kNotAPictureKind;
  if (ext != "." + type) return FileCheck::kNotItsKind;
  try {
    std::unique_ptr<TPicture> probe(new TPicture());
    probe->LoadFromFile(path);
  } catch (const EOutOfMemory&) {
    throw;
  } catch (const Exception&) {
    // A picture its class cannot read is refused. Running out of memory, and whatever is not
    // the form library's own failure, goes on to the caller.
    return FileCheck::kRefused;
  }
  return FileCheck::kTaken;
}

MessageDocument::FileCheck MessageDocument::CheckSound(const AnsiString& path) {
  if (!FileExists(path)) return FileCheck::kNoSuchFile;
  if (!IsAcceptedSoundExtension(NameExt(path))) return FileCheck::kNotASoundKind;
  if (ReadableSize(path) <= 0) return FileCheck::kRefused;
  return FileCheck::kTaken;
}

int MessageDocument::PageForInsert() {
  modified = true;
  if (curFrame < 0 && AppendPage() < 0) return -1;  // the page limit: nothing to insert into
  return IsPage(curFrame) ? curFrame : -1;
}

int MessageDocument::CopyMediaFile(const AnsiString& destination, const AnsiString& source) {
  if (SameFile(destination, source)) return kRefused;
  const int in = ::open(platform::FsPath(source).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (in < 0) return kCannotOpen;
  // The copy goes to a temporary beside the destination and is renamed into place only when
  // whole; the rename never replaces a file, so a name taken meanwhile fails cleanly.
  const std::string target = platform::FsPath(destination);
  const std::string temporary = target + ".part" + std::to_string(::getpid());
  const int out = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  bool whole = out >= 0;
  char buffer[65536];
  while (whole) {
    const ssize_t n = ::read(in, buffer, sizeof buffer);
    if (n == 0) break;
    whole = n > 0 && ::write(out, buffer, size_t(n)) == n;
  }
  ::close(in);
  if (out >= 0) {
    whole = whole && ::fsync(out) == 0;
    whole = ::close(out) == 0 && whole;
  }
  if (whole && RenameFile(temporary.c_str(), destination)) return 0;
  if (out >= 0) ::unlink(temporary.c_str());
  return kRefused;
}

int MessageDocument::CopyIntoFolder(const AnsiString& folder, const AnsiString& source, AnsiString* copy) {
  const AnsiString name = NameOf(source);
  for (int n = 0; n < 10000; ++n) {
    const AnsiString candidate = folder + "/" + (n == 0 ? name : Numbered(name, n));
    if (SameFile(candidate, source)) return kRefused;  // the file is the working copy itself
    if (!FileExists(candidate)) {
      const int result = CopyMediaFile(candidate, source);
      if (result == 0) *copy = madeCopy = candidate;
      return result;
    }
    if (SameBytes(candidate, source)) {  // the same picture or sound again: one copy serves
      *copy = candidate;
      return 0;
    }
  }
  return kRefused;
}

int MessageDocument::InsertFile(int page, int type, const AnsiString& source) {
  if (!IsPage(page) || (type != TMediaItem::kImage && type != TMediaItem::kAudio)) return kRefused;
  AnsiString copy;
  if (CopyIntoFolder(type == TMediaItem::kImage ? imageDir : audioDir, source, &copy) != 0) return kRefused;
  if (TMediaItem* item = message->Body->GetFrame(page)->GetItem(type)) {
    item->SetPath(copy.c_str());
  } else {
    message->SetFrameItemFromFile(page, type, copy.c_str());
  }
  return 0;
}

AnsiString MessageDocument::NewTextFileName(int index) const {
  auto taken = [this](const AnsiString& path) { return FileExists(path) || IsFileUsed(path.c_str()); };
  const AnsiString first = txtDir + "/txt" + IntToStr(index) + ".txt";
  if (!taken(first)) return first;
  for (int n = index + 100;; ++n) {
    const AnsiString next = txtDir + "/txt" + IntToStr(n) + ".txt";
    if (!taken(next)) return next;
  }
}

AnsiString MessageDocument::TextFileFor(int page) const {
  const std::string own = ItemPath(page, TMediaItem::kText);
  return own.empty() ? NewTextFileName(page) : AnsiString(own);
}

bool MessageDocument::TakeText(int page, const AnsiString& path) {
  if (!IsPage(page)) return false;
  TMmsFrame* frame = message->Body->GetFrame(page);
  if (TMediaItem* item = frame->GetItem(TMediaItem::kText)) {
    item->SetPath(path.c_str());
  } else {
    message->SetFrameItemFromFile(page, TMediaItem::kText, path.c_str());
  }
  // A text that says nothing (no file, an empty one, or only a byte-order mark) is no text.
  std::unique_ptr<char16_t[]> text = ReadFrameText(frame);
  bool blank = !text;
  if (text) {
    blank = true;
    for (const char16_t* c = text.get(); *c; ++c) blank = blank && *c == 0xFEFF;
  }
  if (!blank) return true;
  frame->DeleteItem(TMediaItem::kText);
  if (FileExists(path)) DeleteFile(path);
  return false;
}

int MessageDocument::InsertKeepingLimit(int type, const std::function<int()>& insert,
                                        const std::function<bool()>& overLimit) {
  const int page = curFrame;
  const bool known = IsPage(page);
  const SlotBefore before = known ? Remember(message->Body->GetFrame(page), type) : SlotBefore{};
  madeCopy = AnsiString();
  const int result = insert();
  // A copy this insertion made goes again with it, unless a page uses it after all.
  AnsiString copy = madeCopy;
  madeCopy = AnsiString();
  platform::ScopeExit dropCopy([this, &copy, type] {
    if (copy.IsEmpty() || IsFileUsed(copy.c_str())) return;
    if (type == TMediaItem::kImage) DropPicture(copy.c_str());
    DeleteFile(copy);
  });
  if (result != 0) return result;
  if (!overLimit()) {
    copy = AnsiString();  // kept: the page holds it
    return 0;
  }

  // Refused: the page gets back exactly what it had in the slot.
  const int now = known ? page : curFrame;
  if (!IsPage(now)) return kRefused;
  TMmsFrame* frame = message->Body->GetFrame(now);
  const TMediaItem* item = frame->GetItem(type);
  const std::string inserted = item ? item->Path : std::string();
  if (!before.had) {
    RemoveItem(now, type);  // a text file of its own goes with it
  } else {
    if (TMediaItem* restored = frame->GetItem(type)) restored->SetPath(before.path);
    if (type == TMediaItem::kText && before.textRead) {
      platform::WriteFileReplacing(platform::FsPath(before.path.c_str()), before.textBytes.data(),
                                   before.textBytes.size());
    }
  }
  if (type == TMediaItem::kImage && inserted != before.path) DropPicture(inserted);
  return kRefused;
}

void MessageDocument::DropPicture(const std::string& path) const {
  if (pictureDropped && !path.empty() && !IsFileUsed(path)) pictureDropped(path);
}
