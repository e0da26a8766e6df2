// Cross-process endpoints: this process's slot in the per-user runtime folder, a Unix-domain
// socket other processes connect to, and the client side that sends, posts and finds windows
// in other processes. Timeouts are in real time, so a dead or hung peer never hangs a sender.
#pragma once

#include <cstdint>
#include <string>

#include "platform/win/WinTypes.h"

namespace platform::win {

// The runtime folder: PLATFORM_RUNTIME_DIR, else $XDG_RUNTIME_DIR/mmsplatform, else
// /tmp/mmsplatform-<uid>; created with mode 0700. Empty (with `error` set) when the folder is
// not owned by the user or not 0700: the platform refuses to use it.
std::string RuntimeFolder(std::string* error = nullptr);

// Claims the lowest free slot and listens; false leaves the process without an endpoint.
bool StartEndpoint();
void StopEndpoint();
uint32_t EndpointSlot();  // 0 without an endpoint
int EndpointFd();         // the listening socket, for a backend's wait (-1 without)
// Serves incoming requests, waiting up to `timeoutMs` of real time for the first one.
bool ServeEndpoint(int timeoutMs);

inline uint32_t SlotOf(HWND h) { return uint32_t((reinterpret_cast<uintptr_t>(h) >> 20) & 0xFFF); }
bool IsForeign(HWND h);
LRESULT RemoteSend(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
bool RemotePost(HWND hwnd, UINT msg, WPARAM w, LPARAM l);
HWND RemoteFind(const std::u16string* className, const std::u16string* title);
bool RemoteAlive(HWND hwnd);

// Messages whose parameters point at data the layer would have to translate or copy; they are
// never posted, and never accepted from another process (only WM_COPYDATA carries data).
bool CarriesPointer(UINT msg);

}  // namespace platform::win
