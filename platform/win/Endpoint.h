// Cross-process endpoints: this process's slot in the per-user runtime folder, a Unix-domain
// socket other processes connect to, and the client side that sends, posts and finds windows
// in other processes. Timeouts are in real time, so a dead or hung peer never hangs a sender.
//
// What crosses: below WM_USER only messages that carry plain numbers (see CrossesProcesses);
// WM_COPYDATA, sent only, with its data copied (at most kMaxCopyDataBytes); registered messages
// by name and WM_USER-and-above messages with their numbers, as the receiver's own protocol,
// except the form library's private range 0xB000-0xBFFF. Those from WM_USER up reach only a
// window that declared them (ChangeWindowMessageFilterEx); a registered name the receiver never
// registered is no message of its own. Anything else is refused on both sides: the send answers
// 0 with ERROR_ACCESS_DENIED.
// Requests are read off the interface thread (EndpointReader.h); only whole ones are served, by
// ServeEndpoint and every retrieval of the interface thread.
// A send answers 0 with ERROR_INVALID_WINDOW_HANDLE when the window or its process is gone and
// with ERROR_TIMEOUT when no answer comes within 5 s (more for large data: WireTimeoutMs); a
// delivered send leaves the last error.
// FindWindow asks every other process at once: at most 5 s, and 500 ms once one has answered.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win/WinTypes.h"

namespace platform::win {

// The largest WM_COPYDATA that crosses to another process; a larger one fails with
// ERROR_INVALID_PARAMETER.
constexpr uint32_t kMaxCopyDataBytes = 16u << 20;

// The runtime folder: PLATFORM_RUNTIME_DIR, else $XDG_RUNTIME_DIR/mmsplatform, else
// /tmp/mmsplatform-<uid>; created with mode 0700. Empty (with `error` set) when the folder is
// not owned by the user or not 0700: the platform refuses to use it.
std::string RuntimeFolder(std::string* error = nullptr);

// Claims the lowest free slot and listens; false leaves the process without an endpoint (`error`
// says why).
bool StartEndpoint(std::string* error = nullptr);
void StopEndpoint();
uint32_t EndpointSlot();  // 0 without an endpoint
int EndpointFd();         // readable while whole requests wait, for a backend's wait (-1 without)
// Serves the whole requests that wait, waiting up to `timeoutMs` of real time for the first.
bool ServeEndpoint(int timeoutMs);

inline uint32_t SlotOf(HWND h) { return uint32_t((reinterpret_cast<uintptr_t>(h) >> 20) & 0xFFF); }
bool IsForeign(HWND h);
LRESULT RemoteSend(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
bool RemotePost(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
HWND RemoteFind(const std::u16string* className, const std::u16string* title);
bool RemoteAlive(HWND hwnd);

// Messages whose parameters point at data the layer would have to translate or copy; they are
// never posted.
bool CarriesPointer(UINT msg);
// Whether a message may be sent or posted to, and is taken from, another process.
bool CrossesProcesses(UINT msg);

}  // namespace platform::win
