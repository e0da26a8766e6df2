// Command line and program path.
#include "platform/rtl/Program.h"

#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

#include "platform/rtl/LastError.h"
#include "platform/rtl/Utf8.h"

const HINSTANCE HInstance = reinterpret_cast<HINSTANCE>(std::uintptr_t{0x00400000});
HINSTANCE MainInstance() { return HInstance; }
const int Win32Platform = VER_PLATFORM_WIN32_NT;

namespace {
std::atomic<bool> gNarrowSystemForTesting{false};
}  // namespace

void platform::SetNarrowSystemForTesting(bool narrow) { gNarrowSystemForTesting = narrow; }
bool platform::NarrowSystemForTesting() { return gNarrowSystemForTesting.load(); }
const int Win32MajorVersion = 6;
const int Win32MinorVersion = 1;
const TSysLocale SysLocale{};

namespace {

struct CommandLine {
  std::mutex mutex;
  std::vector<std::string> args;  // without argv[0]
  std::u16string wide;            // GetCommandLineW's text, kept alive for callers
};

CommandLine& TheCommandLine() {
  static CommandLine* line = new CommandLine;
  return *line;
}

std::u16string Quote(const std::u16string& arg) {
  if (!arg.empty() && arg.find_first_of(u" \t\"") == std::u16string::npos) return arg;
  std::u16string out = u"\"";
  for (char16_t c : arg) {
    if (c == u'"') out += u'\\';
    out += c;
  }
  return out + u"\"";
}

void RebuildWide(CommandLine& line) {
  line.wide = Quote(platform::Utf8ToUtf16(platform::ExecutablePath().ToStd()));
  for (const std::string& a : line.args) line.wide += u" " + Quote(platform::Utf8ToUtf16(a));
}

template <typename C>
DWORD CopyPath(HMODULE module, C* buffer, DWORD size, const std::basic_string<C>& path) {
  if (module != nullptr && module != HInstance) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!buffer || size == 0) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  if (path.size() < size) {
    std::copy(path.begin(), path.end(), buffer);
    buffer[path.size()] = 0;
    SetLastError(ERROR_SUCCESS);
    return static_cast<DWORD>(path.size());
  }
  std::copy(path.begin(), path.begin() + (size - 1), buffer);
  buffer[size - 1] = 0;
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return size;
}

}  // namespace

namespace platform {

void SetCommandLine(int argc, const char* const* argv) {
  CommandLine& line = TheCommandLine();
  std::lock_guard<std::mutex> guard(line.mutex);
  line.args.clear();
  for (int i = 1; i < argc; ++i) line.args.emplace_back(argv[i] ? argv[i] : "");
  RebuildWide(line);
}

AnsiString ExecutablePath() {
  std::vector<char> buffer(4096);
  for (;;) {
    ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return AnsiString();
    if (static_cast<std::size_t>(n) < buffer.size())
      return AnsiString(std::string(buffer.data(), static_cast<std::size_t>(n)));
    buffer.resize(buffer.size() * 2);
  }
}

AnsiString ApplicationFolder() {
  std::string path = ExecutablePath().ToStd();
  return AnsiString(path.substr(0, path.find_last_of('/') + 1));
}

}  // namespace platform

AnsiString ParamStr(int index) {
  if (index == 0) return platform::ExecutablePath();
  CommandLine& line = TheCommandLine();
  std::lock_guard<std::mutex> guard(line.mutex);
  if (index < 0 || index > static_cast<int>(line.args.size())) return AnsiString();
  return AnsiString(line.args[static_cast<std::size_t>(index - 1)]);
}

int ParamCount() {
  CommandLine& line = TheCommandLine();
  std::lock_guard<std::mutex> guard(line.mutex);
  return static_cast<int>(line.args.size());
}

WideString WideParamStr(int index) { return WideString(platform::Utf8ToUtf16(ParamStr(index).ToStd())); }
int WideParamCount() { return ParamCount(); }

LPCWSTR GetCommandLineW() {
  CommandLine& line = TheCommandLine();
  std::lock_guard<std::mutex> guard(line.mutex);
  if (line.wide.empty()) RebuildWide(line);
  return line.wide.c_str();
}

DWORD GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  return CopyPath(module, buffer, size, platform::ExecutablePath().ToStd());
}

DWORD GetModuleFileNameW(HMODULE module, LPWSTR buffer, DWORD size) {
  return CopyPath(module, buffer, size, platform::Utf8ToUtf16(platform::ExecutablePath().ToStd()));
}

BOOL GetVersionExA(OSVERSIONINFOA* info) {
  if (!info || info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  info->dwMajorVersion = 6;
  info->dwMinorVersion = 1;
  info->dwBuildNumber = 7601;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
  return TRUE;
}

void ExitProcess(UINT exitCode) { std::exit(static_cast<int>(exitCode)); }
