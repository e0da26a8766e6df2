#include "unicode/TUcOpenDialog.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/rtl/ScopeExit.h"
#include "unicode/CodePageConversion.h"
#include "unicode/StringArrays.h"
#include "unicode/TUcStringList.h"
#include "unicode/UcPersistent.h"
#include "unicode/UcPlatformFlags.h"
#include "unicode/UcSyncedWideString.h"
#include "unicode/WideFileNames.h"

namespace {

// The dialog whose 8-bit record the form library is preparing.
thread_local TUcOpenDialog* proxiedDialog = nullptr;

// The capacity of the first CDM_GETFILEPATH question, in characters.
constexpr std::size_t kFilePathCapacity = 261;

bool IsDelimiter(char16_t c) { return c == u'/' || c == u'\\'; }

// A part of a multiple choice that is a full path of its own: "/...", "\..." or "X:\...".
bool IsFullPath(const WideString& part) {
  const std::u16string& s = part.ToU16();
  if (!s.empty() && IsDelimiter(s[0])) return true;
  return s.size() >= 4 && s[1] == u':' && s[2] == u'\\';
}

}  // namespace

// The dialog function the form library's DoExecute runs while a UTF-16 dialog is prepared: it
// keeps the record and shows nothing.
BOOL KeepProxiedRecord(OPENFILENAMEA* record) {
  if (proxiedDialog && record) std::memcpy(&proxiedDialog->proxiedRecord_, record, sizeof(OPENFILENAMEA));
  return FALSE;
}

TUcOpenDialog::TUcOpenDialog(TComponent* owner)
    : TOpenDialog(owner), files_(std::make_unique<TUcStringList>()) {}

TUcOpenDialog::~TUcOpenDialog() = default;

void TUcOpenDialog::DefineProperties(TFiler* filer) {
  TOpenDialog::DefineProperties(filer);
  UcPersistent_AfterInherited_DefineProperties(filer, this);
}

WideString TUcOpenDialog::DefaultExt() { return GetSyncedWideString(defaultExt_, TOpenDialog::DefaultExt()); }
void TUcOpenDialog::SetDefaultExt(const WideString& value) {
  SetSyncedWideString(value, defaultExt_, TOpenDialog::DefaultExt(),
                      [this](const AnsiString& a) { TOpenDialog::SetDefaultExt(a); });
}

WideString TUcOpenDialog::Filter() { return GetSyncedWideString(filter_, TOpenDialog::Filter()); }
void TUcOpenDialog::SetFilter(const WideString& value) {
  SetSyncedWideString(value, filter_, TOpenDialog::Filter(),
                      [this](const AnsiString& a) { TOpenDialog::SetFilter(a); });
}

WideString TUcOpenDialog::Title() { return GetSyncedWideString(title_, TOpenDialog::Title()); }
void TUcOpenDialog::SetTitle(const WideString& value) {
  SetSyncedWideString(value, title_, TOpenDialog::Title(),
                      [this](const AnsiString& a) { TOpenDialog::SetTitle(a); });
}

WideString TUcOpenDialog::InitialDir() { return GetSyncedWideString(initialDir_, TOpenDialog::InitialDir()); }
void TUcOpenDialog::SetInitialDir(const WideString& value) {
  std::u16string dir = value.ToU16();
  if (dir.size() > 1 && IsDelimiter(dir.back()) && dir[dir.size() - 2] != u':') dir.pop_back();
  SetSyncedWideString(WideString(dir), initialDir_, TOpenDialog::InitialDir(),
                      [this](const AnsiString& a) { TOpenDialog::SetInitialDir(a); });
}

WideString TUcOpenDialog::FileName() {
  const HWND hook = Handle();
  if (Win32PlatformIsUnicode() && hook && IsWindow(hook) && !(Options() & OpenOption(ofOldStyleDialog))) {
    // The path the dialog shows now, asked again with the room it says it needs.
    const HWND dialog = GetParent(hook);
    std::u16string buffer(kFilePathCapacity, u'\0');
    for (int attempt = 0; attempt < 3; ++attempt) {
      const LRESULT needed =
          SendMessageW(dialog, CDM_GETFILEPATH, WPARAM(buffer.size()), LPARAM(buffer.data()));
      if (needed <= 0) return WideString();
      if (std::size_t(needed) > buffer.size()) {
        buffer.assign(std::size_t(needed), u'\0');
        continue;
      }
      return WideString(std::u16string(buffer.begin(), std::find(buffer.begin(), buffer.end(), u'\0')));
    }
    return WideString();
  }
  return GetSyncedWideString(fileName_, TOpenDialog::FileName());
}

void TUcOpenDialog::SetFileName(const WideString& value) {
  fileName_ = value;
  TOpenDialog::SetFileName(WideStringToStringEx(value, DefaultSystemCodePage()));
}

TUcStrings* TUcOpenDialog::Files() {
  if (!Win32PlatformIsUnicode()) {
    files_->Clear();
    TStrings* narrow = TOpenDialog::Files();
    for (int i = 0; i < narrow->Count(); ++i)
      files_->Add(StringToWideStringEx(narrow->Strings(i), DefaultSystemCodePage()));
  }
  return files_.get();
}

bool TUcOpenDialog::Execute() {
  if (Win32PlatformIsUnicode()) return DoExecuteW(&GetOpenFileNameW, GetModalParentWnd());
  return DoExecute(&GetOpenFileNameA);
}

bool TUcOpenDialog::DoCanClose() { return allowDoCanClose_ ? TOpenDialog::DoCanClose() : true; }

void TUcOpenDialog::DoIncludeItem(const OFNOTIFYEXW& notify, bool& include) {
  if (Win32PlatformIsUnicode() && OnIncludeItem) OnIncludeItem(this, notify, include);
}

// The form library's preparation of the record is no showing of the dialog.
void TUcOpenDialog::DoShow() {
  if (!proxying_) TOpenDialog::DoShow();
}
void TUcOpenDialog::DoClose() {
  if (!proxying_) TOpenDialog::DoClose();
}

void TUcOpenDialog::WndProc(TMessage& message) {
  message.Result = 0;
  if (message.Msg == WM_INITDIALOG && !(Options() & OpenOption(ofOldStyleDialog))) return;
  if (message.Msg == WM_NOTIFY && message.LParam &&
      reinterpret_cast<const NMHDR*>(message.LParam)->code == CDN_FILEOK) {
    if (Win32PlatformIsUnicode()) {
      // The record is the UTF-16 one: the 8-bit handling must not read it.
      const auto* note = reinterpret_cast<const OFNOTIFYW*>(message.LParam);
      if (note->lpOFN && !CanCloseW(*note->lpOFN)) {
        message.Result = 1;
        SetWindowLongA(Handle(), DWLP_MSGRESULT, LONG(message.Result));
      }
      return;
    }
    // The 8-bit dialog: the form library's check, with OnCanClose asked.
    allowDoCanClose_ = true;
    const platform::ScopeExit allowed([this] { allowDoCanClose_ = false; });
    TOpenDialog::WndProc(message);
    return;
  }
  TOpenDialog::WndProc(message);
}

bool TUcOpenDialog::CanCloseW(const OPENFILENAMEW& record) {
  GetFileNamesW(record);
  bool canClose;
  {
    allowDoCanClose_ = true;
    const platform::ScopeExit allowed([this] { allowDoCanClose_ = false; });
    canClose = DoCanClose();
  }
  files_->Clear();
  TOpenDialog::Files()->Clear();
  return canClose;
}

void TUcOpenDialog::GetFileNamesW(const OPENFILENAMEW& record) {
  files_->Clear();
  const bool multi = Options() & OpenOption(ofAllowMultiSelect);
  const char16_t separator = multi && (Options() & OpenOption(ofOldStyleDialog)) ? u' ' : u'\0';
  if (multi) {
    const std::vector<WideString> parts = ExtractStringsFromStringArray(record.lpstrFile, separator);
    if (parts.empty()) {
      files_->Add(WideString());
    } else if (parts.size() == 1) {
      files_->Add(parts[0]);
    } else {
      std::u16string folder = parts[0].ToU16();
      if (folder.empty() || !IsDelimiter(folder.back())) folder += u'/';
      for (std::size_t i = 1; i < parts.size(); ++i)
        files_->Add(IsFullPath(parts[i]) ? parts[i] : WideString(folder + parts[i].ToU16()));
    }
    SetFileName(files_->Strings(0));
  } else {
    const char16_t* p = record.lpstrFile;
    SetFileName(p ? ExtractStringFromStringArray(p, separator) : WideString());
    files_->Add(fileName_);
  }
  TStrings* narrow = TOpenDialog::Files();
  narrow->Clear();
  for (int i = 0; i < files_->Count(); ++i)
    narrow->Add(WideStringToStringEx(files_->Strings(i), DefaultSystemCodePage()));
}

bool TUcOpenDialog::DoExecuteW(BOOL (*dialog)(OPENFILENAMEW*), HWND parent) {
  files_->Clear();
  // The form library prepares its 8-bit record; this dialog keeps a copy of it.
  proxiedRecord_ = OPENFILENAMEA{};
  TUcOpenDialog* const outer = proxiedDialog;
  {
    proxiedDialog = this;
    proxying_ = true;
    const platform::ScopeExit proxied([this, outer] {
      proxiedDialog = outer;
      proxying_ = false;
    });
    DoExecute(&KeepProxiedRecord);
  }
  if (proxiedRecord_.lStructSize == 0) return false;

  // The UTF-16 record has the same layout; its texts come from the wide properties.
  OPENFILENAMEW record;
  static_assert(sizeof record == sizeof proxiedRecord_);
  std::memcpy(&record, &proxiedRecord_, sizeof record);
  if (!IsWindow(record.hwndOwner)) record.hwndOwner = parent;

  std::u16string filter = Filter().ToU16();
  if (!filter.empty()) {
    std::replace(filter.begin(), filter.end(), u'|', u'\0');
    filter.append(2, u'\0');
  }
  record.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  record.lpstrCustomFilter = nullptr;
  record.nMaxCustFilter = 0;

  std::vector<char16_t> file(std::size_t(record.nMaxFile) + 2, u'\0');
  const std::u16string name = GetSyncedWideString(fileName_, TOpenDialog::FileName()).ToU16();
  std::copy_n(name.begin(), std::min<std::size_t>(name.size(), record.nMaxFile), file.begin());
  record.lpstrFile = file.data();
  record.lpstrFileTitle = nullptr;
  record.nMaxFileTitle = 0;

  const std::u16string initialDir = InitialDir().ToU16();
  record.lpstrInitialDir = initialDir.empty() ? nullptr : initialDir.c_str();
  const std::u16string title = Title().ToU16();
  record.lpstrTitle = title.empty() ? nullptr : title.c_str();
  std::u16string defaultExt = DefaultExt().ToU16();
  if (defaultExt.empty() && !(record.Flags & OFN_EXPLORER)) {
    defaultExt = WideExtractFileExt(WideString(name)).ToU16();
    if (!defaultExt.empty() && defaultExt[0] == u'.') defaultExt.erase(0, 1);
  }
  record.lpstrDefExt = defaultExt.empty() ? nullptr : defaultExt.c_str();

  // A template named by number is passed on as it is.
  std::u16string templateName;
  const auto templateValue = reinterpret_cast<uintptr_t>(proxiedRecord_.lpTemplateName);
  if (templateValue != 0 && templateValue <= 0xFFFF) {
    record.lpTemplateName = reinterpret_cast<LPCWSTR>(templateValue);
  } else if (templateValue != 0) {
    templateName =
        StringToWideStringEx(AnsiString(proxiedRecord_.lpTemplateName), DefaultSystemCodePage()).ToU16();
    record.lpTemplateName = templateName.c_str();
  }

  if (!TaskModalDialog(dialog, &record)) return false;
  GetFileNamesW(record);
  TOpenOptions options = Options() & ~(OpenOption(ofExtensionDifferent) | OpenOption(ofReadOnly));
  if (record.Flags & OFN_EXTENSIONDIFFERENT) options |= OpenOption(ofExtensionDifferent);
  if (record.Flags & OFN_READONLY) options |= OpenOption(ofReadOnly);
  SetOptions(options);
  SetFilterIndex(int(record.nFilterIndex));
  return true;
}
