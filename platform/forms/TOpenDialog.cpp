#include "platform/forms/TOpenDialog.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The dialog flag of each option, in option order; ofOldStyleDialog is the absence of
// OFN_EXPLORER and has none.
constexpr DWORD kOptionFlags[] = {OFN_READONLY,
                                  OFN_OVERWRITEPROMPT,
                                  OFN_HIDEREADONLY,
                                  OFN_NOCHANGEDIR,
                                  0x10 /* show help */,
                                  0x100 /* no validate */,
                                  OFN_ALLOWMULTISELECT,
                                  OFN_EXTENSIONDIFFERENT,
                                  OFN_PATHMUSTEXIST,
                                  OFN_FILEMUSTEXIST,
                                  OFN_CREATEPROMPT,
                                  0x4000 /* share aware */,
                                  OFN_NOREADONLYRETURN,
                                  0x10000 /* no test file create */,
                                  0x20000 /* no network button */,
                                  0x40000 /* no long names */,
                                  0,
                                  0x100000 /* no dereference links */,
                                  0x400000 /* include notify */,
                                  OFN_ENABLESIZING};
static_assert(sizeof kOptionFlags / sizeof kOptionFlags[0] == ofEnableSizing + 1);

// Room for many names chosen at once; a single long path fits too.
constexpr std::size_t kFileBufferSize = 0xFFFF - 16;

bool IsAbsolute(const std::string& name) { return !name.empty() && (name[0] == '/' || name[0] == '\\'); }

}  // namespace

TOpenDialog::TOpenDialog(TComponent* owner) : TCommonDialog(owner), files_(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

bool TOpenDialog::Execute() { return DoExecute(&GetOpenFileNameA); }

void TOpenDialog::WndProc(TMessage& message) {
  message.Result = 0;
  if (message.Msg == WM_NOTIFY && message.LParam) {
    const auto* note = reinterpret_cast<const OFNOTIFYA*>(message.LParam);
    if (note->hdr.code == CDN_FILEOK && note->lpOFN) {
      GetFileNames(*note->lpOFN);
      if (!DoCanClose()) {
        message.Result = 1;
        SetWindowLongPtrA(Handle(), DWLP_MSGRESULT, message.Result);
      }
      return;
    }
  }
  TCommonDialog::WndProc(message);
}

bool TOpenDialog::DoCanClose() {
  bool canClose = true;
  if (OnCanClose) OnCanClose(this, canClose);
  return canClose;
}

void TOpenDialog::GetFileNames(const OPENFILENAMEA& record) {
  files_->Clear();
  const char* buffer = record.lpstrFile;
  const std::size_t capacity = record.nMaxFile;
  const bool multi = options_ & OpenOption(ofAllowMultiSelect);
  std::vector<std::string> parts;
  if (multi && (options_ & OpenOption(ofOldStyleDialog))) {
    // The old style gives one line: the folder, then the names, separated by blanks.
    const std::string line(buffer, strnlen(buffer, capacity));
    std::size_t i = 0;
    while (i < line.size()) {
      const std::size_t j = std::min(line.find(' ', i), line.size());
      if (j > i) parts.push_back(line.substr(i, j - i));
      i = j + 1;
    }
  } else {
    // Zero-separated pieces up to the empty one that ends them (or the buffer's end).
    std::size_t i = 0;
    while (i < capacity && buffer[i]) {
      const std::size_t n = strnlen(buffer + i, capacity - i);
      parts.emplace_back(buffer + i, n);
      if (!multi) break;
      i += n + 1;
    }
  }
  if (parts.empty()) {
    fileName_ = AnsiString();
    return;
  }
  if (!multi || parts.size() == 1) {
    fileName_ = AnsiString(parts[0]);
    files_->Add(fileName_);
    return;
  }
  // A folder followed by the names chosen in it.
  std::string folder = parts[0];
  if (folder.empty() || (folder.back() != '/' && folder.back() != '\\')) folder += '/';
  for (std::size_t k = 1; k < parts.size(); ++k)
    files_->Add(AnsiString(IsAbsolute(parts[k]) ? parts[k] : folder + parts[k]));
  fileName_ = files_->Strings(0);
}

bool TOpenDialog::DoExecute(TOpenDialogFunction dialog) {
  // "text|pattern|..." becomes "text\0pattern\0...\0\0".
  std::string filter;
  if (!filter_.IsEmpty()) {
    filter = filter_.ToStd();
    for (char& c : filter)
      if (c == '|') c = '\0';
    filter.append(2, '\0');
  }
  std::vector<char> file(kFileBufferSize + 2, '\0');
  std::memcpy(file.data(), fileName_.c_str(), std::min<std::size_t>(fileName_.Length(), kFileBufferSize));

  DWORD flags = 0;
  for (int option = ofReadOnly; option <= ofEnableSizing; ++option)
    if (options_ & (1u << option)) flags |= kOptionFlags[option];
  if (!(options_ & OpenOption(ofOldStyleDialog))) flags |= OFN_EXPLORER;

  OPENFILENAMEA record{};
  record.lStructSize = sizeof record;
  record.hwndOwner = GetModalParentWnd();
  record.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  record.nFilterIndex = static_cast<DWORD>(filterIndex_);
  record.lpstrFile = file.data();
  record.nMaxFile = static_cast<DWORD>(kFileBufferSize);
  record.lpstrInitialDir = initialDir_.IsEmpty() ? nullptr : initialDir_.c_str();
  record.lpstrTitle = title_.IsEmpty() ? nullptr : title_.c_str();
  record.Flags = flags;
  record.lpstrDefExt = defaultExt_.IsEmpty() ? nullptr : defaultExt_.c_str();
  record.lpTemplateName = Template;
  record.Flags |= OFN_ENABLEHOOK;
  record.lpfnHook = &TCommonDialog::DialogHook;
  if (!TaskModalDialog(dialog, &record)) return false;
  GetFileNames(record);
  options_ &= ~(OpenOption(ofExtensionDifferent) | OpenOption(ofReadOnly));
  if (record.Flags & OFN_EXTENSIONDIFFERENT) options_ |= OpenOption(ofExtensionDifferent);
  if (record.Flags & OFN_READONLY) options_ |= OpenOption(ofReadOnly);
  filterIndex_ = static_cast<int>(record.nFilterIndex);
  return true;
}
