// Inserting pictures, sounds and texts into a page. Every inserted file is tested and copied
// into the working folder first, so the document refers only to files of its own; a text is
// written by the text editor window straight into the TXT folder. An insertion that takes the
// message over the size limit is taken back, and the page gets exactly what it had before.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>
#include <string>

#include "editor/MediaTypes.h"
#include "editor/TMsgBox.h"
#include "editor/TResStringManager.h"
#include "editor/TfrmMain.h"
#include "editor/TfrmTextEditor.h"
#include "mms/SlideTextFile.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "mms/TMmsFrame.h"
#include "platform/forms/TImage.h"
#include "platform/forms/TLabel.h"
#include "platform/forms/TOpenDialog.h"
#include "platform/forms/TPicture.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/ScopeExit.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"

namespace {

constexpr int kPictureHeadBytes = 128;

// What a page had in one slot before an insertion, so that a refused one can be taken back.
struct SlotBefore {
  bool had = false;
  std::string path;
  bool textRead = false;  // a text's bytes were read (its file existed)
  std::string textBytes;
};

std::string ItemPath(const TMmsFrame* frame, int type) {
  const TMediaItem* item = frame->GetItem(type);
  return item ? item->Path : std::string();
}

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

bool IsAcceptedSoundExtension(const AnsiString& ext) {
  for (const char* accepted : {"mid", "wav", "mp3", "MID", "WAV", "MP3"}) {
    if (ext == accepted) return true;
  }
  return false;
}

}  // namespace

// The extension of the file-name part only: a dotted folder gives none.
AnsiString TfrmMain::GetFileExt(const AnsiString& path) { return TfrmTextEditor::GetFileExt(path); }

int TfrmMain::IsFileUsed(const AnsiString& path) const { return document.IsFileUsed(path.c_str()) ? 1 : 0; }

int TfrmMain::CopyMediaFile(const AnsiString& destination, const AnsiString& source) {
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

int TfrmMain::CopyIntoFolder(const AnsiString& folder, const AnsiString& source, AnsiString* copy) {
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

int TfrmMain::PageForInsert() {
  document.SetModified(true);
  if (document.CurrentPage() < 0) {
    if (NewFrame() != 0) return -1;  // the page limit: nothing to insert into
    document.SetCurrentPage(Mms()->Body->GetFrameCount() - 1);
  }
  return IsPage(document.CurrentPage()) ? document.CurrentPage() : -1;
}

AnsiString TfrmMain::NewTextFileName(int index) const {
  auto taken = [this](const AnsiString& path) { return FileExists(path) || IsFileUsed(path); };
  const AnsiString first = document.txtDir + "/txt" + IntToStr(index) + ".txt";
  if (!taken(first)) return first;
  for (int n = index + 100;; ++n) {
    const AnsiString next = document.txtDir + "/txt" + IntToStr(n) + ".txt";
    if (!taken(next)) return next;
  }
}

int TfrmMain::InsertPicture(const AnsiString& path) {
  const int page = PageForInsert();
  if (page < 0) return 0;
  if (!FileExists(path)) return kNoSuchFile;
  if (ReadableSize(path) <= 0) return kRefused;

  uint8_t head[kPictureHeadBytes];
  const int fd = ::open(platform::FsPath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return kRefused;
  size_t got = 0;
  while (got < sizeof head) {
    const ssize_t n = ::read(fd, head + got, sizeof head - got);
    if (n <= 0) break;
    got += size_t(n);
  }
  ::close(fd);
  if (got < sizeof head) return kRefused;  // too short to be a picture: refused without a word

  const AnsiString type = GetImageType(head, got);
  const AnsiString ext = UpperCase(ExtractFileExt(path));
  if (ext != ".JPG" && ext != ".BMP" && ext != ".GIF") {
    ShowMsgBox("STR_Main_Error_AddImgError1");
    return kRefused;
  }
  if (ext != "." + type) {
    ShowMsgBox("STR_Main_Error_AddImgError2");
    return kRefused;
  }
  try {
    std::unique_ptr<TPicture> probe(new TPicture());
    probe->LoadFromFile(path);
  } catch (const EOutOfMemory&) {
    throw;
  } catch (const Exception&) {
    // A picture its class cannot read is refused without a word. Running out of memory, and
    // whatever is not the form library's own failure, goes on to the application's handler.
    return kRefused;
  }
  AnsiString copy;
  if (CopyIntoFolder(document.imageDir, path, &copy) != 0) return kRefused;

  TMmsFrame* frame = Mms()->Body->GetFrame(page);
  if (TMediaItem* item = frame->GetItem(TMediaItem::kImage)) {
    item->SetPath(copy.c_str());
  } else {
    Mms()->SetFrameItemFromFile(page, TMediaItem::kImage, copy.c_str());
  }
  dlgOpen->SetFileName("");
  return 0;
}

int TfrmMain::InsertAudio() {
  const int page = PageForInsert();
  if (page < 0) return 0;
  dlgOpen->SetTitle(AnsiString(ResStringManager.GetString("STR_Main_DialogTitle_Audio")));
  dlgOpen->SetFilter(AnsiString(ResStringManager.GetString("STR_Main_DialogFilter_Audio")));
  if (!dlgOpen->Execute()) return 0;
  const AnsiString path = dlgOpen->FileName();
  if (!FileExists(path)) return kNoSuchFile;
  if (!IsAcceptedSoundExtension(GetFileExt(path))) {
    ShowMsgBox("STR_Main_Text_Error");
    return kRefused;
  }
  if (ReadableSize(path) <= 0) return kRefused;
  AnsiString copy;
  if (CopyIntoFolder(document.audioDir, path, &copy) != 0) return kRefused;
  TMmsFrame* frame = Mms()->Body->GetFrame(page);
  if (TMediaItem* item = frame->GetItem(TMediaItem::kAudio)) {
    item->SetPath(copy.c_str());
  } else {
    Mms()->SetFrameItemFromFile(page, TMediaItem::kAudio, copy.c_str());
  }
  dlgOpen->SetFileName("");
  return 0;
}

int TfrmMain::InsertText() {
  const int page = PageForInsert();
  if (page < 0) return 0;
  TMmsFrame* frame = Mms()->Body->GetFrame(page);
  const std::string own = ItemPath(frame, TMediaItem::kText);
  AnsiString path = own.empty() ? NewTextFileName(page) : AnsiString(own);
  path = runTextEditor ? runTextEditor(this, path) : RunTextEditor(this, path);

  if (TMediaItem* item = frame->GetItem(TMediaItem::kText)) {
    item->SetPath(path.c_str());
  } else {
    Mms()->SetFrameItemFromFile(page, TMediaItem::kText, path.c_str());
  }
  // A text that says nothing (no file, an empty one, or only a byte-order mark) is no text.
  std::unique_ptr<char16_t[]> text = ReadFrameText(frame);
  bool blank = !text;
  if (text) {
    blank = true;
    for (const char16_t* c = text.get(); *c; ++c) blank = blank && *c == 0xFEFF;
  }
  if (blank) {
    frame->DeleteItem(TMediaItem::kText);
    if (FileExists(path)) DeleteFile(path);
  }
  return 0;
}

// --- Taking an insertion back ---

namespace {

SlotBefore Remember(const TMmsFrame* frame, int type) {
  SlotBefore before;
  before.path = ItemPath(frame, type);
  before.had = !before.path.empty() || frame->GetItem(type) != nullptr;
  if (type == TMediaItem::kText && before.had) {
    before.textRead = platform::ReadWholeFile(platform::FsPath(before.path.c_str()), before.textBytes);
  }
  return before;
}

}  // namespace

int TfrmMain::InsertKeepingLimit(int type, const std::function<int()>& insert) {
  const int page = document.CurrentPage();
  const bool known = IsPage(page);
  const SlotBefore before = known ? Remember(Mms()->Body->GetFrame(page), type) : SlotBefore{};
  madeCopy = AnsiString();
  const int result = insert();
  // A copy this insertion made goes again with it, unless a page uses it after all.
  AnsiString copy = madeCopy;
  madeCopy = AnsiString();
  platform::ScopeExit dropCopy([this, &copy, type] {
    if (copy.IsEmpty() || IsFileUsed(copy)) return;
    if (type == TMediaItem::kImage) DropCachedPicture(copy.c_str());
    DeleteFile(copy);
  });
  if (result != 0) return result;
  GetPduSize();
  if (!CheckMmsSize()) {
    copy = AnsiString();  // kept: the page holds it
    return 0;
  }

  // Refused: the page gets back exactly what it had in the slot.
  const int now = known ? page : document.CurrentPage();
  if (IsPage(now)) {
    TMmsFrame* frame = Mms()->Body->GetFrame(now);
    const std::string inserted = ItemPath(frame, type);
    if (!before.had) {
      if (type == TMediaItem::kImage) {
        DeleteImageItem(now);
      } else {
        frame->DeleteItem(type);
        if (type == TMediaItem::kText) DeleteOwnTextFile(inserted);
      }
    } else {
      if (TMediaItem* item = frame->GetItem(type)) item->SetPath(before.path);
      if (type == TMediaItem::kText && before.textRead) {
        platform::WriteFileReplacing(platform::FsPath(before.path.c_str()), before.textBytes.data(),
                                     before.textBytes.size());
      }
      if (type == TMediaItem::kImage && inserted != before.path) DropCachedPicture(inserted);
    }
  }
  RestoreMeasure();
  return kRefused;
}

void TfrmMain::actInsertPictureExecute(const AnsiString& path) {
  if (CheckMmsSize()) return;
  if (InsertPicture(path) == kRefused) return;
  RefreshFrameList();
  GetPduSize();
}

void TfrmMain::actInsertAudioExecute(TObject*) {
  if (CheckMmsSize()) return;
  InsertKeepingLimit(TMediaItem::kAudio, [this] { return InsertAudio(); });
  RefreshFrameList();
}

void TfrmMain::actInsertTextExecute(TObject*) {
  if (CheckMmsSize()) return;
  InsertKeepingLimit(TMediaItem::kText, [this] { return InsertText(); });
  RefreshFrameList();
  selection = StripSelection::kText;
}

void TfrmMain::actTextEditExecute(TObject* sender) { actInsertTextExecute(sender); }

void TfrmMain::TextEditClick(TObject* sender) { actInsertTextExecute(sender); }

void TfrmMain::imgFrameListDblClick(TObject* sender) {
  if (selection == StripSelection::kPage) {
    btnNewFrameClick(sender);
    return;
  }
  if (document.CurrentPage() < 0) return;
  switch (selection) {
    case StripSelection::kText:
      InsertKeepingLimit(TMediaItem::kText, [this] { return InsertText(); });
      break;
    case StripSelection::kPicture: {
      dlgOpen->SetTitle(AnsiString(ResStringManager.GetString("STR_Main_DialogTitle_Pic")));
      dlgOpen->SetFilter(AnsiString(ResStringManager.GetString("STR_Main_DialogFilter_Pic")));
      if (!dlgOpen->Execute()) return;
      const AnsiString path = dlgOpen->FileName();
      if (!FileExists(path)) return;
      InsertKeepingLimit(TMediaItem::kImage, [this, path] { return InsertPicture(path); });
      break;
    }
    case StripSelection::kSound:
      InsertKeepingLimit(TMediaItem::kAudio, [this] { return InsertAudio(); });
      break;
    default:
      break;
  }
}

void TfrmMain::insert_popClick(TObject* sender) {
  imgFrameListDblClick(sender);
  RefreshFrameList();
}
