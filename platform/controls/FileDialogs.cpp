// The file dialogs ask the backend's modal answer (a test's script headless, the person at a
// desktop) and fill the classic record: full path or "folder\0name\0name\0\0" for several
// files, the default extension added on save, the overwrite and must-exist checks, and the
// buffer size checked before anything is written.
#include "platform/controls/FileDialogs.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/controls/FileDialogWindow.h"
#include "platform/rtl/CodePage.h"
#include "platform/win/Backend.h"

namespace {

thread_local DWORD lastDialogError = 0;

bool Exists(const std::u16string& path) {
  struct stat st {};
  return ::stat(platform::Utf16ToMultiByte(path, CP_UTF8).c_str(), &st) == 0;
}

bool FolderExists(const std::u16string& path) {
  const size_t slash = path.find_last_of(u"/\\");
  if (slash == std::u16string::npos) return true;
  struct stat st {};
  const std::u16string folder = slash == 0 ? u"/" : path.substr(0, slash);
  return ::stat(platform::Utf16ToMultiByte(folder, CP_UTF8).c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

size_t NameStart(const std::u16string& path) {
  const size_t slash = path.find_last_of(u"/\\");
  return slash == std::u16string::npos ? 0 : slash + 1;
}

// "name\0pattern\0...\0\0" as "name|pattern|...".
std::u16string FilterText(const std::vector<std::u16string>& parts) {
  std::u16string out;
  for (size_t i = 0; i < parts.size(); ++i) out += (i ? u"|" : u"") + parts[i];
  return out;
}

// The record in UTF-16 form, whatever the caller's set.
struct Request {
  bool save = false;
  DWORD size = 0, flags = 0;
  HWND owner = nullptr;
  std::vector<std::u16string> filter;
  std::u16string initialDir, title, defExt;
  std::u16string fileName;  // what the result buffer held: the name the dialog starts with
  size_t capacity = 0;
};

enum class Outcome { Chosen, Cancelled, Failed };
// What taking a checked answer into the caller's record came to.
enum class Taken { Yes, Refused, Failed };

// Asks until the answer passes the checks the flags ask for and `take` keeps it (or is
// cancelled); a refusal of `take` asks again.
Outcome Ask(const Request& r, std::vector<std::u16string>& files,
            const std::function<Taken(const std::vector<std::u16string>&)>& take) {
  platform::win::ModalInfo info;
  info.kind =
      r.save ? platform::win::ModalInfo::Kind::SaveDialog : platform::win::ModalInfo::Kind::OpenDialog;
  info.className = u"#32770";
  info.caption = r.title.empty() ? (r.save ? u"Save As" : u"Open") : r.title;
  info.title = r.title;
  info.filter = FilterText(r.filter);
  info.defaultExt = r.defExt;
  info.initialDir = r.initialDir;
  info.fileName = r.fileName;
  info.flags = r.flags;
  for (int attempt = 0; attempt < 16; ++attempt) {
    auto answer = platform::win::AskModal(info);
    if (!answer || answer->type != platform::win::ModalAnswer::Type::Files || answer->files.empty())
      return Outcome::Cancelled;
    files = answer->files;
    if (files.size() > 1 && !(r.flags & OFN_ALLOWMULTISELECT)) files.resize(1);
    for (auto& f : files) {
      if (r.save && !r.defExt.empty() && f.find(u'.', NameStart(f)) == std::u16string::npos)
        f += u"." + r.defExt;
    }
    bool ok = true;
    for (const auto& f : files) {
      if (((r.flags & OFN_FILEMUSTEXIST) && !Exists(f)) ||
          ((r.flags & OFN_PATHMUSTEXIST) && !FolderExists(f))) {
        MessageBoxW(r.owner, (f + u"\nFile not found.\nCheck the file name and try again.").c_str(),
                    info.caption.c_str(), MB_OK | MB_ICONWARNING);
        ok = false;
        break;
      }
      if (r.save && (r.flags & OFN_OVERWRITEPROMPT) && Exists(f) &&
          MessageBoxW(r.owner, (f + u" already exists.\nDo you want to replace it?").c_str(),
                      info.caption.c_str(), MB_YESNO | MB_ICONWARNING) != IDYES) {
        ok = false;
        break;
      }
    }
    if (!ok) continue;
    switch (take(files)) {
      case Taken::Yes:
        return Outcome::Chosen;
      case Taken::Failed:
        return Outcome::Failed;
      case Taken::Refused:
        break;
    }
  }
  return Outcome::Cancelled;
}

// The result buffer's content: one full path, or the folder followed by the names.
std::u16string ResultBuffer(const std::vector<std::u16string>& files, bool multi, WORD& offset,
                            WORD& extension) {
  std::u16string out;
  if (files.size() == 1 || !multi) {
    out = files[0];
    out.push_back(0);
    offset = WORD(NameStart(files[0]));
    const size_t dot = files[0].find_last_of(u'.');
    extension = dot != std::u16string::npos && dot >= offset ? WORD(dot + 1) : WORD(0);
  } else {
    const std::u16string folder = files[0].substr(0, NameStart(files[0]) ? NameStart(files[0]) - 1 : 0);
    out = folder;
    out.push_back(0);
    offset = WORD(out.size());
    extension = 0;
    for (const auto& f : files) {
      out += f.substr(NameStart(f));
      out.push_back(0);
    }
  }
  out.push_back(0);
  return out;
}

template <typename Char>
std::vector<std::u16string> SplitFilter(const Char* filter, bool ansi) {
  std::vector<std::u16string> parts;
  if (!filter) return parts;
  for (const Char* p = filter; *p;) {
    size_t n = 0;
    while (p[n]) ++n;
    if (ansi)
      parts.push_back(
          platform::MultiByteToUtf16(std::string_view(reinterpret_cast<const char*>(p), n), CP_ACP));
    else
      parts.emplace_back(reinterpret_cast<const char16_t*>(p), n);
    p += n + 1;
  }
  return parts;
}

// The text a caller left in the result buffer, up to its terminator and never past the buffer.
template <typename Char>
std::basic_string<Char> InitialName(const Char* buffer, DWORD capacity) {
  size_t n = 0;
  while (n < capacity && buffer[n]) ++n;
  return std::basic_string<Char>(buffer, n);
}

// OFN_EXTENSIONDIFFERENT tells the caller that the chosen file's extension is not the default
// one (compared without regard to letter case).
DWORD ExtensionFlag(const std::u16string& file, const std::u16string& defExt) {
  if (defExt.empty()) return 0;
  const size_t dot = file.find_last_of(u'.');
  const std::u16string ext =
      dot != std::u16string::npos && dot >= NameStart(file) ? file.substr(dot + 1) : u"";
  auto lower = [](std::u16string s) {
    for (char16_t& c : s)
      if (c >= u'A' && c <= u'Z') c = char16_t(c + 32);
    return s;
  };
  return lower(ext) == lower(defExt) ? 0 : OFN_EXTENSIONDIFFERENT;
}

// The hooked dialog's window for the time the dialog is open (none without a hook).
template <class OpenFileName>
std::unique_ptr<platform::controls::FileDialogWindow> OpenWindow(OpenFileName* ofn, const Request& r,
                                                                 bool ansi) {
  if (!(ofn->Flags & OFN_ENABLEHOOK) || !ofn->lpfnHook) return nullptr;
  const std::u16string caption = r.title.empty() ? (r.save ? u"Save As" : u"Open") : r.title;
  return std::make_unique<platform::controls::FileDialogWindow>(ofn->hwndOwner, caption, ofn->lpfnHook,
                                                                (ofn->Flags & OFN_EXPLORER) != 0, ofn, ansi);
}

bool SizeAccepted(DWORD size) { return size == sizeof(OPENFILENAMEW) || size == 88 || size == 76; }

// The checks and fields the 8-bit and UTF-16 records share; false (with the dialog error set)
// when the record cannot be used.
template <class OpenFileName>
bool BeginRequest(OpenFileName* ofn, bool save, Request& r) {
  lastDialogError = 0;
  if (!ofn || !SizeAccepted(ofn->lStructSize)) {
    lastDialogError = CDERR_STRUCTSIZE;
    return false;
  }
  if (!ofn->lpstrFile || ofn->nMaxFile == 0) {
    lastDialogError = CDERR_INITIALIZATION;
    return false;
  }
  r.save = save;
  r.flags = ofn->Flags;
  r.owner = ofn->hwndOwner;
  return true;
}

// Writes the choice into the caller's UTF-16 record; false (FNERR_BUFFERTOOSMALL) when it
// does not fit.
bool FillW(OPENFILENAMEW* ofn, const std::vector<std::u16string>& files, const Request& r) {
  WORD offset = 0, extension = 0;
  const std::u16string out = ResultBuffer(files, ofn->Flags & OFN_ALLOWMULTISELECT, offset, extension);
  const size_t needed = out.size() - (files.size() == 1 ? 1 : 0);
  if (needed > ofn->nMaxFile) {
    ofn->lpstrFile[0] = char16_t(std::min<size_t>(needed, 0xFFFF));
    lastDialogError = FNERR_BUFFERTOOSMALL;
    return false;
  }
  std::copy(out.begin(), out.begin() + long(needed), ofn->lpstrFile);
  ofn->nFileOffset = offset;
  ofn->nFileExtension = extension;
  ofn->Flags = (ofn->Flags & ~OFN_EXTENSIONDIFFERENT) | ExtensionFlag(files[0], r.defExt);
  if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
    const std::u16string name = files[0].substr(NameStart(files[0]));
    const size_t n = std::min<size_t>(name.size(), ofn->nMaxFileTitle - 1);
    std::copy(name.begin(), name.begin() + long(n), ofn->lpstrFileTitle);
    ofn->lpstrFileTitle[n] = 0;
  }
  return true;
}

BOOL RunW(OPENFILENAMEW* ofn, bool save) {
  Request r;
  if (!BeginRequest(ofn, save, r)) return FALSE;
  r.filter = SplitFilter(ofn->lpstrFilter, false);
  if (ofn->lpstrInitialDir) r.initialDir = ofn->lpstrInitialDir;
  r.fileName = InitialName(ofn->lpstrFile, ofn->nMaxFile);
  if (ofn->lpstrTitle) r.title = ofn->lpstrTitle;
  if (ofn->lStructSize == sizeof(OPENFILENAMEW) && ofn->lpstrDefExt) r.defExt = ofn->lpstrDefExt;
  const auto window = OpenWindow(ofn, r, false);
  std::vector<std::u16string> files;
  const Outcome outcome = Ask(r, files, [&](const std::vector<std::u16string>& chosen) {
    if (!FillW(ofn, chosen, r)) return Taken::Failed;
    return !window || window->FileOk(chosen[0]) ? Taken::Yes : Taken::Refused;
  });
  return outcome == Outcome::Chosen;
}

// Writes the choice into the caller's 8-bit record, each piece converted and the offsets
// counted in bytes; false (FNERR_BUFFERTOOSMALL) when it does not fit.
bool FillA(OPENFILENAMEA* ofn, const std::vector<std::u16string>& files, const Request& r) {
  std::string out;
  WORD offset = 0, extension = 0;
  const bool multi = (ofn->Flags & OFN_ALLOWMULTISELECT) && files.size() > 1;
  if (!multi) {
    out = platform::Utf16ToMultiByte(files[0], CP_ACP);
    offset = WORD(platform::Utf16ToMultiByte(files[0].substr(0, NameStart(files[0])), CP_ACP).size());
    const size_t dot = out.find_last_of('.');
    extension = dot != std::string::npos && dot >= offset ? WORD(dot + 1) : WORD(0);
    out.push_back(0);
  } else {
    out = platform::Utf16ToMultiByte(files[0].substr(0, NameStart(files[0]) ? NameStart(files[0]) - 1 : 0),
                                     CP_ACP);
    out.push_back(0);
    offset = WORD(out.size());
    for (const auto& f : files) {
      out += platform::Utf16ToMultiByte(f.substr(NameStart(f)), CP_ACP);
      out.push_back(0);
    }
    out.push_back(0);
  }
  if (out.size() > ofn->nMaxFile) {
    const WORD needed = WORD(std::min<size_t>(out.size(), 0xFFFF));
    if (ofn->nMaxFile >= 2)
      std::memcpy(ofn->lpstrFile, &needed, 2);
    else
      ofn->lpstrFile[0] = char(needed & 0xFF);
    lastDialogError = FNERR_BUFFERTOOSMALL;
    return false;
  }
  std::memcpy(ofn->lpstrFile, out.data(), out.size());
  ofn->nFileOffset = offset;
  ofn->nFileExtension = extension;
  ofn->Flags = (ofn->Flags & ~OFN_EXTENSIONDIFFERENT) | ExtensionFlag(files[0], r.defExt);
  if (ofn->lpstrFileTitle && ofn->nMaxFileTitle > 0) {
    std::string name = platform::Utf16ToMultiByte(files[0].substr(NameStart(files[0])), CP_ACP);
    name.resize(std::min<size_t>(name.size(), ofn->nMaxFileTitle - 1));
    std::memcpy(ofn->lpstrFileTitle, name.c_str(), name.size() + 1);
  }
  return true;
}

BOOL RunA(OPENFILENAMEA* ofn, bool save) {
  Request r;
  if (!BeginRequest(ofn, save, r)) return FALSE;
  r.filter = SplitFilter(ofn->lpstrFilter, true);
  using platform::MultiByteToUtf16;
  if (ofn->lpstrInitialDir) r.initialDir = MultiByteToUtf16(ofn->lpstrInitialDir, CP_ACP);
  r.fileName = MultiByteToUtf16(InitialName(ofn->lpstrFile, ofn->nMaxFile), CP_ACP);
  if (ofn->lpstrTitle) r.title = MultiByteToUtf16(ofn->lpstrTitle, CP_ACP);
  if (ofn->lStructSize == sizeof(OPENFILENAMEA) && ofn->lpstrDefExt)
    r.defExt = MultiByteToUtf16(ofn->lpstrDefExt, CP_ACP);
  const auto window = OpenWindow(ofn, r, true);
  std::vector<std::u16string> files;
  const Outcome outcome = Ask(r, files, [&](const std::vector<std::u16string>& chosen) {
    if (!FillA(ofn, chosen, r)) return Taken::Failed;
    return !window || window->FileOk(chosen[0]) ? Taken::Yes : Taken::Refused;
  });
  return outcome == Outcome::Chosen;
}

}  // namespace

BOOL GetOpenFileNameW(OPENFILENAMEW* ofn) { return RunW(ofn, false); }
BOOL GetSaveFileNameW(OPENFILENAMEW* ofn) { return RunW(ofn, true); }
BOOL GetOpenFileNameA(OPENFILENAMEA* ofn) { return RunA(ofn, false); }
BOOL GetSaveFileNameA(OPENFILENAMEA* ofn) { return RunA(ofn, true); }
DWORD CommDlgExtendedError() { return lastDialogError; }
