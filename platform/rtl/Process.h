// Process services: the per-user runtime folder, the named mutex of the single-instance test
// (an exclusive flock on a file there), and starting other programs without waiting
// (posix_spawnp with an argument vector, never a shell; documents and URLs go to xdg-open).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/ShowCommands.h"
#include "platform/rtl/Types.h"

struct SECURITY_ATTRIBUTES;
using LPSECURITY_ATTRIBUTES = SECURITY_ATTRIBUTES*;
struct HWND__;

// A named mutex is an exclusive flock on <runtime>/mutex-<name>.lock (bytes outside
// [A-Za-z0-9._-] escaped %XX). A handle is returned even when another process (or another
// handle) holds it; the last error is then ERROR_ALREADY_EXISTS, else 0. The lock lasts until
// CloseHandle or the end of the process. An unnamed mutex is a plain process-local handle.
HANDLE CreateMutexA(LPSECURITY_ATTRIBUTES security, BOOL initialOwner, LPCSTR name);

constexpr UINT ERROR_BAD_FORMAT = 11;
constexpr int SE_ERR_FNF = 2;
constexpr int SE_ERR_PNF = 3;
constexpr int SE_ERR_ACCESSDENIED = 5;
constexpr int SE_ERR_NOASSOC = 31;

// Starts the command line's program without waiting; > 31 on success. A command line naming
// the help viewer ("hh", "hh.exe") opens the rest of the line, a help file, with xdg-open.
UINT WinExec(LPCSTR commandLine, UINT show);
// "open" (or no verb) on a URL or a document opens it with xdg-open; on a program, starts it
// with the parameters split at blanks (double quotes group). > 32 on success, else an SE_ERR_
// code; nothing is shown or raised.
HINSTANCE ShellExecuteA(HWND__* hwnd, LPCSTR verb, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                        int show);
HINSTANCE ShellExecuteW(HWND__* hwnd, LPCWSTR verb, LPCWSTR file, LPCWSTR parameters, LPCWSTR directory,
                        int show);

struct STARTUPINFOA {
  DWORD cb;
  LPSTR lpReserved;
  LPSTR lpDesktop;
  LPSTR lpTitle;
  DWORD dwX, dwY, dwXSize, dwYSize, dwXCountChars, dwYCountChars, dwFillAttribute, dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  BYTE* lpReserved2;
  HANDLE hStdInput, hStdOutput, hStdError;
};
struct STARTUPINFOW {
  DWORD cb;
  LPWSTR lpReserved;
  LPWSTR lpDesktop;
  LPWSTR lpTitle;
  DWORD dwX, dwY, dwXSize, dwYSize, dwXCountChars, dwYCountChars, dwFillAttribute, dwFlags;
  WORD wShowWindow;
  WORD cbReserved2;
  BYTE* lpReserved2;
  HANDLE hStdInput, hStdOutput, hStdError;
};
struct PROCESS_INFORMATION {
  HANDLE hProcess;
  HANDLE hThread;
  DWORD dwProcessId;
  DWORD dwThreadId;
};
constexpr DWORD STILL_ACTIVE = 259;

// Starts a program (posix_spawn, never a shell): `application` when given (searched in PATH when
// it names no folder), else the first argument of `commandLine`; the arguments are the command
// line split at blanks with double quotes grouping (an empty pair is an empty argument). The
// process handle answers WaitForSingleObject and GetExitCodeProcess and is closed by
// CloseHandle; there is no thread handle (null). Environment blocks, inheritance and creation
// flags are accepted and ignored. FALSE with the last error when the program cannot start.
BOOL CreateProcessA(LPCSTR application, LPSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPCSTR currentDirectory, STARTUPINFOA* startupInfo,
                    PROCESS_INFORMATION* processInformation);
BOOL CreateProcessW(LPCWSTR application, LPWSTR commandLine, LPSECURITY_ATTRIBUTES processAttributes,
                    LPSECURITY_ATTRIBUTES threadAttributes, BOOL inheritHandles, DWORD creationFlags,
                    LPVOID environment, LPCWSTR currentDirectory, STARTUPINFOW* startupInfo,
                    PROCESS_INFORMATION* processInformation);
// STILL_ACTIVE while the process runs, then its exit status (128 + the signal when killed).
BOOL GetExitCodeProcess(HANDLE process, LPDWORD exitCode);

namespace platform {

// WaitForSingleObject on a process handle.
DWORD WaitForProcess(HANDLE process, DWORD ms);

// The runtime folder: $PLATFORM_RUNTIME_DIR, else $XDG_RUNTIME_DIR/mmsplatform, else
// /tmp/mmsplatform-<uid>; created with mode 0700 and refused unless it is a folder owned by
// the user with mode 0700. False (last error set) when it cannot be had.
bool RuntimeFolder(std::string& folder);

// Starts argv[0] (searched in PATH) with the arguments, in `directory` when not empty, not
// waiting; returns 0 or the errno of the failure. The headless backend installs a starter that
// only records the start; null restores the real one.
using ProgramStarter = std::function<int(const std::vector<std::string>& argv, const std::string& directory)>;
void SetProgramStarter(ProgramStarter starter);
int StartProgram(const std::vector<std::string>& argv, const std::string& directory);
// Splits a command line at blanks; double quotes group and are removed.
std::vector<std::string> SplitCommandLine(const std::string& commandLine);

}  // namespace platform
