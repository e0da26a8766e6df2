// Opening a message file: the file is decoded, its body parsed and its first slide found before
// anything is written; only a file that holds a message gives a new one. Each slide becomes a page
// whose picture, text and sound are unpacked into the working folders under names of the page's
// index, and each page gets its slide's duration with its items re-timed. The decoded record, the
// parsed view and the decoded body are released on every path.
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "editor/MediaTypes.h"
#include "editor/MessageDocument.h"
#include "mms/MmsDecoder.h"
#include "mms/SmilParser.h"
#include "mms/SmilView.h"
#include "mms/TK3VNMms.h"
#include "mms/TMediaItem.h"
#include "mms/TMmsBody.h"
#include "platform/rtl/StringRoutines.h"
#include "platform/rtl/SysUtils.h"

namespace {

// A decoded message: the header record and the parsed view, both released when it goes.
class ParsedMessage {
 public:
  ParsedMessage(const uint8_t* bytes, int count) {
    record_ = MmsDecodeHeaders(bytes, count);
    if (!record_ || record_->Body.empty()) return;
    if (MmsParseBody(record_->Body.data(), int(record_->Body.size())) != 1) return;
    first_ = SmilGetFirstPar();
  }
  ~ParsedMessage() {
    MmsFreeParsedBody();
    if (record_) MmsPduFree(record_, MMS_PDU_RETRIEVE_CONF);
  }
  ParsedMessage(const ParsedMessage&) = delete;
  ParsedMessage& operator=(const ParsedMessage&) = delete;

  // Whether the file holds a message with at least one slide.
  bool Usable() const { return first_ != nullptr; }
  const tMMS_RetrieveConf* Record() const { return record_; }
  const tSMIL_Par* FirstSlide() const { return first_; }

 private:
  tMMS_RetrieveConf* record_ = nullptr;
  const tSMIL_Par* first_ = nullptr;
};

// Writes one unpacked part into the working folder, which the open has just emptied: a plain
// write without a flush (the folder is scratch space, cleared at every start), never through a
// link; a file that could not be written whole is removed, so no part is kept half.
bool WriteBytes(const AnsiString& path, const void* data, size_t size) {
  const std::string target = platform::FsPath(path);
  const int fd = ::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0666);
  if (fd < 0) return false;
  const char* p = static_cast<const char*>(data);
  bool whole = true;
  while (size > 0) {
    const ssize_t n = ::write(fd, p, size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      whole = false;
      break;
    }
    p += n;
    size -= size_t(n);
  }
  if (::close(fd) != 0) whole = false;
  if (!whole) ::unlink(target.c_str());
  return whole;
}

std::string Lower(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return char(std::tolower(c)); });
  return text;
}

// The parts of an opened message the editor does not keep, counted by kind: "2 AMR, 1 PNG".
class LeftOutParts {
 public:
  // A part of content type `type`, named by `ext` (its kind as the editor names files) when
  // known.
  void Add(const AnsiString& ext, const std::string& type) {
    std::string kind = ext.IsEmpty() || ext == "Invalid" ? type : Upper(ext.c_str());
    if (kind.empty()) kind.push_back('?');
    for (auto& entry : counts_) {
      if (entry.first == kind) {
        ++entry.second;
        return;
      }
    }
    counts_.emplace_back(kind, 1);
  }
  void AddSlide(const tSMIL_Par& slide) {
    for (const tSMIL_Img* p = slide.Images; p; p = p->Next) AddPicture(*p);
    for (const tSMIL_Text* t = slide.Texts; t; t = t->Next) Add("txt", "");
    for (const tSMIL_Audio* a = slide.Audios; a; a = a->Next) Add(ContentTypeToExt(a->Type), a->Type);
    for (const tSMIL_Video* v = slide.Videos; v; v = v->Next) Add(ContentTypeToExt(v->Type), v->Type);
  }
  void AddPicture(const tSMIL_Img& picture) {
    const AnsiString ext = GetImageType(picture.Data, size_t(std::max(0, picture.Size)));
    Add(ext == "Invalid" ? ContentTypeToExt(picture.Type) : ext, picture.Type);
  }
  std::string Summary() const {
    std::string out;
    for (const auto& [kind, count] : counts_) {
      if (!out.empty()) out += ", ";
      out += std::to_string(count) + " " + kind;
    }
    return out;
  }

 private:
  static std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::toupper(c)); });
    return text;
  }
  std::vector<std::pair<std::string, int>> counts_;
};

// The largest End of the slide's items, or 0 when it has none.
int LastItemEnd(const tSMIL_Par& slide) {
  int end = 0;
  for (const tSMIL_Img* p = slide.Images; p; p = p->Next) end = std::max(end, p->End);
  for (const tSMIL_Text* t = slide.Texts; t; t = t->Next) end = std::max(end, t->End);
  for (const tSMIL_Audio* a = slide.Audios; a; a = a->Next) end = std::max(end, a->End);
  return end;
}

}  // namespace

std::unique_ptr<TK3VNMms> MessageDocument::Unpack(const uint8_t* bytes, int count, std::u16string* subject,
                                                  std::string* leftOutParts) const {
  const ParsedMessage parsed(bytes, count);
  if (!parsed.Usable()) return nullptr;

  auto opened = std::make_unique<TK3VNMms>();
  if (subject) *subject = parsed.Record()->Subject ? *parsed.Record()->Subject : std::u16string();
  int index = 0;
  // What a page cannot hold is counted, so the user learns what a save would lose.
  LeftOutParts leftOut;
  const tSMIL_Par* slide = parsed.FirstSlide();
  for (; slide && index < kMaxPages; slide = slide->Next, ++index) {
    if (opened->AppendNewFrame() != index) break;
    const AnsiString number = IntToStr(index);
    const tSMIL_Img* keptPicture = nullptr;
    for (const tSMIL_Img* picture = slide->Images; picture; picture = picture->Next) {
      AnsiString ext = GetImageType(picture->Data, size_t(std::max(0, picture->Size)));
      if (ext == "Invalid") ext = ContentTypeToExt(picture->Type);
      // Only the picture kinds the editor shows, builds and sends again are kept.
      const std::string kind = Lower(ext.c_str());
      if (kind != "bmp" && kind != "gif" && kind != "jpg") break;
      const AnsiString path = imageDir + "/img_" + number + "." + ext;
      if (WriteBytes(path, picture->Data, size_t(picture->Size))) {
        opened->SetFrameItemFromFile(index, TMediaItem::kImage, path.c_str());
        keptPicture = picture;
      }
    }
    for (const tSMIL_Img* picture = slide->Images; picture; picture = picture->Next)
      if (picture != keptPicture) leftOut.AddPicture(*picture);
    const tSMIL_Text* keptText = nullptr;
    for (const tSMIL_Text* text = slide->Texts; text; text = text->Next) {
      const std::u16string& units = text->Content;
      const size_t length = std::min(units.size(), units.find(u'\0'));
      std::string data(length * 2, '\0');
      for (size_t i = 0; i < length; ++i) {
        data[2 * i] = char(units[i] & 0xFF);
        data[2 * i + 1] = char(units[i] >> 8);
      }
      const AnsiString path = txtDir + "/txt_" + number + ".txt";
      if (WriteBytes(path, data.data(), data.size())) {
        opened->SetFrameItemFromFile(index, TMediaItem::kText, path.c_str());
        keptText = text;
      }
    }
    for (const tSMIL_Text* text = slide->Texts; text; text = text->Next)
      if (text != keptText) leftOut.Add("txt", "");
    const tSMIL_Audio* keptSound = nullptr;
    for (const tSMIL_Audio* sound = slide->Audios; sound; sound = sound->Next) {
      const AnsiString ext = ContentTypeToExt(sound->Type);
      if (ext.IsEmpty() || ext == "amr") break;
      const AnsiString path = audioDir + "/Audio_" + number + "." + ext;
      if (WriteBytes(path, sound->Data, size_t(sound->Size))) {
        opened->SetFrameItemFromFile(index, TMediaItem::kAudio, path.c_str());
        keptSound = sound;
      }
    }
    for (const tSMIL_Audio* sound = slide->Audios; sound; sound = sound->Next)
      if (sound != keptSound) leftOut.Add(ContentTypeToExt(sound->Type), sound->Type);
    for (const tSMIL_Video* video = slide->Videos; video; video = video->Next)
      leftOut.Add(ContentTypeToExt(video->Type), video->Type);
    // A slide without a duration lasts as long as its longest item, else one second; the
    // page's items follow its duration.
    int dur = slide->Dur > 0 ? slide->Dur : LastItemEnd(*slide);
    if (dur <= 0) dur = 1000;
    opened->Body->SetFrameDur(index, dur);
  }
  // Slides past the last page, and parts no slide shows, are not kept either.
  for (; slide; slide = slide->Next) leftOut.AddSlide(*slide);
  for (const tSMIL_Attachment* part = SmilGetView().Attachments; part; part = part->Next)
    leftOut.Add(ContentTypeToExt(part->Type), part->Type);
  if (leftOutParts) *leftOutParts = leftOut.Summary();
  return opened;
}

void MessageDocument::TakeOpened(std::unique_ptr<TK3VNMms> opened) {
  ReplaceMessage(std::move(opened));
  curFrame = PageCount() > 0 ? 0 : -1;
}
